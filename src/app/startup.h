// The program's start-up sequence: the log, the roots, quova.ini and User.dat, the
// arguments, the application run, and the saving of the settings at the end.
#pragma once

#include <functional>
#include <string>

namespace quova {

// The start-up command the first paint of the main frame carries out.
enum StartupCommand : int {
  kNoStartupCommand = 0,
  SERVICE_DROPPED_FILE = 2,
  PERFORM_DAILY_DOWNLOAD = 3,
  FORCE_DAILY_DOWNLOAD = 4,
  kStartupCommandDone = 999,
};

// Today's dates and the run flags of the download.
void Initialize();

// Reads the arguments into argFlag, argFileName, waittime and QuitAfterDownload; false
// when "/download" found no download due (the application then does not run).
bool ParseArguments(int argc, char** argv);

// A download switch in first place together with "/QuitAfterDownload": no person is there
// to answer a box, so every box is answered by itself.
bool unattendedStart(int argc, char** argv);

// The roots: QuovaPath (the working directory), QUOVAPATH from QUOVA, and the settings
// file paths. When QUOVA is set the working directory becomes the root, so every name
// relative to the root is found there; the log stays where the program was started.
void ResolveRoots();

// The whole sequence; runApp runs the application's message loop and returns its result.
// Returns -1 when the log cannot be opened or quova.ini is missing.
int OwlMain(int argc, char** argv, const std::function<int()>& runApp);

// Waits msec milliseconds while pumping messages; ends early when Quit is set unless
// ignoreQuit.
void WinWaitFor(unsigned long msec, bool ignoreQuit);

}  // namespace quova
