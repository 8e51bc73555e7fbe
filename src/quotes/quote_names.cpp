// The quote file name rule shared by the writer and the quote list side, with the guard
// that keeps every derived name inside quotes.day.
#include "quotes/quote_names.h"

#include <strings.h>

#include <filesystem>

#include "base/root_path.h"
#include "base/run_flags.h"
#include "util/paths.h"

namespace quova {
namespace {

// False for a name that is empty, absolute, or has an empty, "." or ".." component.
bool staysInside(const std::string& name) {
  if (name.empty()) return false;
  std::size_t start = 0;
  while (true) {
    std::size_t sep = name.find_first_of("/\\", start);
    std::string comp = name.substr(start, sep == std::string::npos ? std::string::npos : sep - start);
    if (comp.empty() || comp == "." || comp == "..") return false;
    if (sep == std::string::npos) return true;
    start = sep + 1;
  }
}

}  // namespace

std::string symbolFileName(std::string_view symbol) {
  std::string s(symbol);
  std::size_t dot = s.find('.');
  if (dot != std::string::npos) s.erase(dot, 1);
  return s;
}

std::optional<std::string> quoteFileName(std::string_view fileName, bool subdirRule) {
  std::string name(fileName);
  std::size_t bs = name.find('\\');
  if (subdirRule && bs != std::string::npos) {
    std::string d = name.substr(0, bs);
    name = d + "\\" + d + "_" + name.substr(bs + 1);
  }
  if (::strcasecmp(name.c_str(), "aux") == 0) name = "_" + name;  // a reserved device name
  for (char& c : name)
    if (c == ' ' || c == ':') c = '_';
  std::size_t dot = name.find('.');
  if (dot != std::string::npos) name.erase(dot, 1);
  if (!staysInside(name)) return std::nullopt;
  return name;
}

std::optional<std::string> requestFileName(std::string_view symbol, std::string_view fileName) {
  if (fileName == "*") return quoteFileName(symbolFileName(symbol));
  return quoteFileName(fileName);
}

std::string listQuotePath(const std::string& name, std::string_view ext) {
  return rootPath("QUOTES.DAY\\" + name + std::string(ext));
}

std::string writerQuotePath(const std::string& name) { return rootPath("quotes.day\\" + name + ".day"); }

bool resolvesInsideRoot(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const std::string home = rootPath("");
  const fs::path root = fs::canonical(home.empty() ? "." : home, ec);
  if (ec) return true;  // no root to compare with: the writes fail on their own
  // A link that is the file itself may dangle, so it is followed by hand.
  fs::path p = fs::absolute(nativePath(path), ec);
  for (int hops = 0; hops < 16 && fs::is_symlink(fs::symlink_status(p, ec)); ++hops) {
    fs::path target = fs::read_symlink(p, ec);
    if (ec) return false;
    p = target.is_absolute() ? target : p.parent_path() / target;
  }
  const std::string real = fs::weakly_canonical(p, ec).string();
  const std::string under = root.string() + "/";
  return !ec && real.compare(0, under.size(), under) == 0;
}

}  // namespace quova
