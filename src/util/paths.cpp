// Windows-style program paths mapped to the Linux file system.
#include "util/paths.h"

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

namespace quova {
namespace {

bool exists(const std::string& p) {
  struct stat st {};
  return ::lstat(p.c_str(), &st) == 0;
}

// The entry of dir whose name equals name regardless of case, or "" when none does.
std::string findIgnoringCase(const std::string& dir, const std::string& name) {
  DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
  if (!d) return {};
  std::string found;
  while (dirent* e = ::readdir(d)) {
    if (::strcasecmp(e->d_name, name.c_str()) == 0) {
      found = e->d_name;
      break;
    }
  }
  ::closedir(d);
  return found;
}

}  // namespace

std::string nativePath(std::string_view path) {
  std::string in(path);
  for (char& c : in)
    if (c == '\\') c = '/';
  std::string out;
  std::size_t i = 0;
  if (!in.empty() && in[0] == '/') {
    out = "/";
    i = 1;
  }
  bool matching = true;  // once a component is missing, nothing below it can exist
  while (i <= in.size()) {
    std::size_t slash = in.find('/', i);
    if (slash == std::string::npos) slash = in.size();
    std::string comp = in.substr(i, slash - i);
    bool last = slash == in.size();
    if (!comp.empty()) {
      std::string candidate = out + comp;
      if (matching && comp != "." && comp != ".." && !exists(candidate)) {
        std::string dir = out.empty() ? std::string(".") : out;
        std::string real = findIgnoringCase(dir, comp);
        if (real.empty())
          matching = false;
        else
          candidate = out + real;
      }
      out = candidate;
      if (!last) out += '/';
    } else if (!last && out.empty() == false && out.back() != '/') {
      out += '/';
    }
    i = slash + 1;
  }
  return out;
}

bool sameFile(const std::string& a, const std::string& b) {
  struct stat sa {}, sb {};
  if (::stat(nativePath(a).c_str(), &sa) != 0 || ::stat(nativePath(b).c_str(), &sb) != 0) return false;
  return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

bool fileExists(std::string_view path) {
  struct stat st {};
  return ::stat(nativePath(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool directoryExists(std::string_view path) {
  struct stat st {};
  return ::stat(nativePath(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool makeDirectories(std::string_view path) {
  std::string p = nativePath(path);
  for (std::size_t i = 1; i <= p.size(); ++i) {
    if (i == p.size() || p[i] == '/') {
      std::string part = p.substr(0, i);
      if (::mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) return false;
    }
  }
  return directoryExists(p);
}

bool replaceFileContent(std::string_view path, std::string_view content) {
  std::string target = nativePath(path);
  std::string tmp = target + ".tmp~";
  int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
  if (fd < 0) return false;
  std::size_t done = 0;
  bool ok = true;
  while (done < content.size()) {
    ssize_t n = ::write(fd, content.data() + done, content.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      ok = false;
      break;
    }
    done += static_cast<std::size_t>(n);
  }
  if (ok && ::fsync(fd) != 0) ok = false;
  if (::close(fd) != 0) ok = false;
  if (ok && ::rename(tmp.c_str(), target.c_str()) != 0) ok = false;
  if (!ok) ::unlink(tmp.c_str());
  return ok;
}

}  // namespace quova
