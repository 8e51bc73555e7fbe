// The process-wide download switches.
#include "download/download_flags.h"

namespace quova {

DownloadFlags& dlFlags() {
  static DownloadFlags flags;
  return flags;
}

}  // namespace quova
