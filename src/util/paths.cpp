// Windows-style program paths mapped to the Linux file system.
#include "util/paths.h"

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
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

namespace {

// The path with backslashes as "/".
std::string slashed(std::string_view path) {
  std::string in(path);
  for (char& c : in)
    if (c == '\\') c = '/';
  return in;
}

// The path with its repeated slashes folded: what the walk below makes of a path that exists
// as spelled, since every component up to it exists and the walk keeps each one.
std::string folded(const std::string& in) {
  std::string out;
  out.reserve(in.size());
  for (char c : in)
    if (c != '/' || out.empty() || out.back() != '/') out += c;
  return out;
}

// Each component that does not exist as spelled replaced by an entry of its folder that
// matches it regardless of case.
std::string walk(const std::string& in) {
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

}  // namespace

std::string nativePath(std::string_view path) {
  const std::string in = slashed(path);
  // One lstat instead of one per component when the path exists as spelled: the list update
  // maps a path for each of thousands of requests.
  std::string f = folded(in);
  if (!f.empty() && exists(f)) return f;
  return walk(in);
}

int openNative(std::string_view path, int flags) {
  // A path that opens as spelled is the file nativePath names (it exists as spelled).
  const std::string f = folded(slashed(path));
  if (!f.empty()) {
    const int fd = ::open(f.c_str(), flags);
    if (fd >= 0) return fd;
  }
  return ::open(nativePath(path).c_str(), flags);
}

bool sameFile(const std::string& a, const std::string& b) {
  struct stat sa {}, sb {};
  if (::stat(nativePath(a).c_str(), &sa) != 0 || ::stat(nativePath(b).c_str(), &sb) != 0) return false;
  return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

bool fileExists(std::string_view path) {
  struct stat st {};
  const std::string in = slashed(path);
  // As spelled, the lstat that maps the path answers too, unless it found a link.
  if (const std::string f = folded(in); !f.empty() && ::lstat(f.c_str(), &st) == 0)
    return (S_ISLNK(st.st_mode) ? ::stat(f.c_str(), &st) == 0 : true) && S_ISREG(st.st_mode);
  return ::stat(walk(in).c_str(), &st) == 0 && S_ISREG(st.st_mode);
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
  ReplacementFile out(path);
  return out.isOpen() && out.write(content) && out.commit();
}

ReplacementFile::ReplacementFile(std::string_view path) : target_(nativePath(path)) {
  struct stat st {};
  mode_t mode = 0666;
  if (::lstat(target_.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    // Replace the file the link points to, as writing through the link would.
    if (char* real = ::realpath(target_.c_str(), nullptr)) {
      target_ = real;
      std::free(real);
    }
  }
  bool existed = ::stat(target_.c_str(), &st) == 0;
  if (existed) mode = st.st_mode & 07777;
  tmp_ = target_ + ".tmp~";
  fd_ = ::open(tmp_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
  if (fd_ >= 0 && existed) ::fchmod(fd_, mode);
}

ReplacementFile::~ReplacementFile() { discard(); }

void ReplacementFile::discard() {
  if (fd_ < 0) return;
  ::close(fd_);
  fd_ = -1;
  ::unlink(tmp_.c_str());
}

bool ReplacementFile::write(std::string_view data) {
  if (fd_ < 0 || failed_) return false;
  std::size_t done = 0;
  while (done < data.size()) {
    ssize_t n = ::write(fd_, data.data() + done, data.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      failed_ = true;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

bool ReplacementFile::commit() {
  if (fd_ < 0) return false;
  bool ok = !failed_ && ::fsync(fd_) == 0;
  if (::close(fd_) != 0) ok = false;
  fd_ = -1;
  if (ok && ::rename(tmp_.c_str(), target_.c_str()) != 0) ok = false;
  if (!ok) ::unlink(tmp_.c_str());
  return ok;
}

}  // namespace quova
