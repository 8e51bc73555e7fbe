// The download options file config\download\download.cfg: 14 bytes, each 0 or 1.
#include <cstdio>

#include "base/root_path.h"
#include "download/qcf.h"
#include "quotes/quote_names.h"
#include "util/paths.h"

namespace quova {

std::string dlOptionsPath() { return rootPath("config\\download\\download.cfg"); }

DLOptions GetDLConfig() {
  DLOptions o{};
  std::FILE* f = std::fopen(nativePath(dlOptionsPath()).c_str(), "rb");
  if (!f) return o;
  size_t n = std::fread(o.data(), 1, o.size(), f);
  std::fclose(f);
  for (size_t i = 0; i < o.size(); ++i) o[i] = i < n && o[i] ? 1 : 0;
  return o;
}

bool SaveDLConfig(const DLOptions& options) {
  std::string bytes(options.size(), '\0');
  for (size_t i = 0; i < options.size(); ++i) bytes[i] = options[i] ? 1 : 0;
  std::string path = dlOptionsPath();
  size_t cut = path.find_last_of("\\/");
  if (cut != std::string::npos) makeDirectories(path.substr(0, cut));
  return replaceFileContent(path, bytes);
}

bool optionOn(const DLOptions& options, int group, int n) {
  int count = group == 3 ? 2 : 6;
  if (group < 1 || group > 3 || n < 1 || n > count) return false;
  return options[(group - 1) * 6 + (n - 1)] != 0;
}

}  // namespace quova
