// A fresh root: folders, the settings files with their values before loading, and the
// built-in templates. Nothing that exists is ever replaced.
#include "app/root_init.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "app/window_files.h"
#include "settings/settings.h"
#include "util/paths.h"

namespace quova {
namespace {

// The folders the program reads and writes below its root.
constexpr std::string_view kRootFolders[] = {
    "quotes.day", "Config", "config/download", "exports", "QuoteList Configuration Files", "Utilities", "Help",
};

bool existsAnyKind(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

// Creates a file that must not exist yet, with all of its content or not at all.
bool createNewFile(const std::string& path, std::string_view content) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
  if (fd < 0) return false;
  bool ok = true;
  std::size_t done = 0;
  while (ok && done < content.size()) {
    ssize_t n = ::write(fd, content.data() + done, content.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) ok = false;
    else done += static_cast<std::size_t>(n);
  }
  if (ok && ::fsync(fd) != 0) ok = false;
  if (::close(fd) != 0) ok = false;
  if (!ok) ::unlink(path.c_str());
  return ok;
}

class RootBuilder {
 public:
  explicit RootBuilder(std::string base) : base_(std::move(base)) {}

  void folder(std::string_view rel) {
    std::string p = nativePath(base_ + "/" + std::string(rel));
    if (existsAnyKind(p)) return;
    (makeDirectories(p) ? result.created : result.failed).push_back(p);
  }

  void file(std::string_view rel, std::string_view content) {
    std::string relPath(rel);
    std::size_t slash = relPath.rfind('/');
    if (slash != std::string::npos) folder(relPath.substr(0, slash));
    std::string p = nativePath(base_ + "/" + relPath);
    if (existsAnyKind(p)) return;
    (createNewFile(p, content) ? result.created : result.failed).push_back(p);
  }

  // A link to target, unless something that works is there already.
  void link(std::string_view rel, const std::string& target) {
    std::string p = nativePath(base_ + "/" + std::string(rel));
    struct stat st {};
    if (::stat(p.c_str(), &st) == 0) return;
    if (existsAnyKind(p)) ::unlink(p.c_str());  // a link that leads nowhere
    (::symlink(target.c_str(), p.c_str()) == 0 ? result.created : result.failed).push_back(p);
  }

  InitRootResult result;

 private:
  std::string base_;
};

}  // namespace

std::string repairToolBesideProgram() {
  char self[4096];
  const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
  if (n <= 0) return {};
  std::string path(self, static_cast<std::size_t>(n));
  path = path.substr(0, path.find_last_of('/') + 1) + "Mendora";
  return ::access(path.c_str(), X_OK) == 0 ? path : std::string();
}

InitRootResult initRoot(const std::string& dir, const std::string& repairTool) {
  std::string base = dir.empty() ? std::string(".") : dir;
  while (base.size() > 1 && base.back() == '/') base.pop_back();
  RootBuilder b(base);
  if (!directoryExists(base)) {
    if (!makeDirectories(base)) {
      b.result.failed.push_back(base);
      return b.result;
    }
    b.result.created.push_back(nativePath(base));
  }
  for (std::string_view f : kRootFolders) b.folder(f);

  Settings defaults;
  b.file("quova.ini", iniImage(defaults, false));
  b.file("User.dat", userImage(defaults.TPathBuffer));
  b.file("quova.cfg", frameImage(FrameAttributes{}));
  for (const RootTemplate& t : rootTemplates()) b.file(t.path, t.content);
  if (!repairTool.empty()) b.link("Utilities/Mendora", repairTool);
  return b.result;
}

int initRootCommand(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s --init-root DIR\n", argc > 0 ? argv[0] : "quova");
    return 2;
  }
  InitRootResult r = initRoot(argv[2], repairToolBesideProgram());
  for (const std::string& p : r.created) std::printf("created %s\n", p.c_str());
  for (const std::string& p : r.failed) std::fprintf(stderr, "could not create %s\n", p.c_str());
  if (r.created.empty() && r.failed.empty()) std::printf("%s is complete: nothing to create\n", argv[2]);
  return r.failed.empty() ? 0 : 1;
}

}  // namespace quova
