// The process-wide roots and run flags that every long operation polls, below every
// subsystem so that any file may read them.
#pragma once

#include <string>

namespace quova {

struct RunFlags {
  // Roots (paths end in "/" once set; QUOVAPATH is empty when QUOVA is not set).
  std::string QuovaPath;        // working directory at start
  std::string QUOVAPATH;        // the QUOVA environment variable
  std::string UserFilePath;     // QUOVAPATH + "User.dat"
  std::string IniFilePath;      // QUOVAPATH + "quova.ini"
  std::string WinsIniFilePath;  // QUOVAPATH + "quova.win"
  std::string FIXPATH = "Utilities";

  bool QuitAfterDownload = false;
  bool Quit = false;            // the application is closing
  bool HoldClose = false;       // closing is refused outright
  bool Stop = false;            // Abort Operation: long operations stop
  bool DiagnosticHold = false;  // the download windows hold after each step
  bool DLReentrant = false;     // a download is running

  std::string FileToFixPath;  // the quote file the repair tool is asked to fix
  std::string QuoteFile;      // the quote file the next PlotQuote message opens as a chart
  std::string io;             // the shared status-bar message buffer (180 characters at most)
};

RunFlags& runFlags();

}  // namespace quova
