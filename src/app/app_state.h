// The process-wide start-up state and run flags that every long operation polls.
#pragma once

#include <string>

namespace quova {

struct AppState {
  // Roots (paths end in "/" once set; QUOVAPATH is empty when QUOVA is not set).
  std::string QuovaPath;        // working directory at start
  std::string QUOVAPATH;        // the QUOVA environment variable
  std::string UserFilePath;     // QUOVAPATH + "User.dat"
  std::string IniFilePath;      // QUOVAPATH + "quova.ini"
  std::string WinsIniFilePath;  // QUOVAPATH + "quova.win"
  std::string FIXPATH = "Utilities";

  std::string thisyear;  // four digits
  int tyr = 0;
  int argFlag = 0;  // 0 none, 1 daily download, 2 forced download, 9 a file to open
  std::string argFileName;
  long waittime = 0;
  bool QuitAfterDownload = false;

  bool Quit = false;       // the application is closing
  bool Waiting = false;    // a timed wait is in progress
  bool HoldClose = false;  // closing is refused outright
  bool Stop = false;            // Abort Operation: long operations stop
  bool DiagnosticHold = false;  // the download windows hold after each step

  std::string Version;      // "version " + FileVersion + " Release"
  std::string FileVersion;  // e.g. "1.2r"
  int version = 0;
  char revision_level = 0;

  std::string tdate;       // mm/dd/yyyy
  std::string todaysdate;  // mm/dd/yy
  int IsDownLoad = 0;
  bool DLReentrant = false;

  std::string FileToFixPath;  // the quote file the repair tool is asked to fix
  std::string QuoteFile;      // the quote file the next PlotQuote message opens as a chart
  std::string DocumentTitle;  // the title of the next quote file window (used once)
  std::string WindowTitle;    // a one-shot title for the next document window ...
  bool docTitleFlag = false;  // ... when this is set
  // The date of the file named at start, as numbers (month, day, two-digit year).
  struct FileDate {
    int month = 0, day = 0, year = 0;
  } DailyFileDate;
  std::string io;             // the shared status-bar message buffer (180 characters at most)
};

AppState& app();

}  // namespace quova
