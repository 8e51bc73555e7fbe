// The one instance of the download state.
#include "download/download_state.h"

namespace quova {

DownloadState& downloadState() {
  static DownloadState state;
  return state;
}

}  // namespace quova
