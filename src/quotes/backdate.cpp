// Backdating: a quote file stamped `backdate` (01/01/1981 01:01:02) takes the next
// download's quote again, whatever its date.
#include <fcntl.h>
#include <unistd.h>

#include "base/log.h"
#include "quotes/list_operations.h"
#include "util/filetimes.h"
#include "util/paths.h"

namespace quova {

int BackDateFile(const std::string& path) {
  if (!fileExists(path)) return -1;
  int fd = ::open(nativePath(path).c_str(), O_WRONLY | O_APPEND);
  if (fd < 0) return -1;
  ::close(fd);
  if (!fileTime(path)) {
    LogBox(formatText(381, "getftime error for file -- %s", path.c_str()),
           "ERROR in routine \"BackDateFile\"", 0);
    return -1;
  }
  return setFileTime(path, backdateStamp()) ? 0 : -1;
}

}  // namespace quova
