// The download flag and the root's lock file.
#include "download/download_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "base/log.h"
#include "base/root_path.h"
#include "base/run_flags.h"
#include "download/download_state.h"
#include "quotes/quote_names.h"
#include "util/paths.h"

namespace quova {

std::string downloadLockPath() { return nativePath(rootPath("download.lck")); }

bool BeginDownload() {
  RunFlags& a = runFlags();
  if (a.DLReentrant) return false;
  std::string path = downloadLockPath();
  int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) {
    // A root that cannot hold the lock file (read-only) still downloads: nothing else can
    // write there either.
    Log("\nDownload lock %s could not be opened.", path.c_str());
  } else if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    Log("\nDownload lock %s is held by another QUOVA.", path.c_str());
    return false;
  }
  downloadState().lockFd = fd;
  a.DLReentrant = true;
  return true;
}

void EndDownload() {
  runFlags().DLReentrant = false;
  if (downloadState().lockFd >= 0) {
    ::flock(downloadState().lockFd, LOCK_UN);
    ::close(downloadState().lockFd);
    downloadState().lockFd = -1;
  }
}

}  // namespace quova
