// What a download run shares between the daily run, the list sessions, the page fetch and
// the windows that start them, in one place.
#pragma once

#include "download/alarm_summary.h"
#include "download/download_flags.h"

namespace quova {

class DownloadSession;

struct DownloadState {
  DownloadFlags flags;  // the user's stop, import mode and the diagnostic switches
  AlarmSummary alarms;  // the requests in alarm, shown at the end of the download
  // Failed page attempts since the last page that came in whole; the daily run reads it.
  int PageErrCount = 0;
  bool ForceDailyUpdate = false;  // the next daily run backdates before it downloads
  bool SingleDownload = false;    // a list download started from its window, not the daily run
  DownloadSession* session = nullptr;  // the list session that is running, if any
  int lockFd = -1;                     // the root's download lock while it is held
};

DownloadState& downloadState();

}  // namespace quova
