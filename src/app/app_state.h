// The application shell's start-up state: the command line, the version and the one-shot
// titles of the next document window. The roots and run flags live in base/run_flags.h.
#pragma once

#include <string>

namespace quova {

struct AppState {
  int argFlag = 0;  // 0 none, 1 daily download, 2 forced download, 9 a file to open
  std::string argFileName;
  long waittime = 0;
  bool Waiting = false;  // a timed wait is in progress

  std::string Version;      // "version " + FileVersion + " Release"
  std::string FileVersion;  // e.g. "1.2r"
  int version = 0;
  char revision_level = 0;

  std::string tdate;  // mm/dd/yyyy

  std::string DocumentTitle;  // the title of the next quote file window (used once)
  std::string WindowTitle;    // a one-shot title for the next document window ...
  bool docTitleFlag = false;  // ... when this is set
  // The date of the file named at start, as numbers (month, day, two-digit year).
  struct FileDate {
    int month = 0, day = 0, year = 0;
  } DailyFileDate;
};

AppState& app();

}  // namespace quova
