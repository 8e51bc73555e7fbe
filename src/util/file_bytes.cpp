// Bounded reads of the binary settings files.
#include "util/file_bytes.h"

#include <fstream>
#include <vector>

#include "util/paths.h"

namespace quova {

bool readFileBytes(std::string_view path, std::string& out, std::size_t maxBytes) {
  if (!fileExists(path)) return false;  // a folder of that name is no settings file
  std::ifstream in(nativePath(path), std::ios::binary);
  if (!in) return false;
  std::vector<char> buf(maxBytes);
  in.read(buf.data(), static_cast<std::streamsize>(maxBytes));
  out.assign(buf.data(), static_cast<std::size_t>(in.gcount()));
  return true;
}

}  // namespace quova
