// OwlMain and the process-wide start-up steps around the application's run.
#include "app/startup.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "app/app_state.h"
#include "base/host.h"
#include "base/log.h"
#include "base/run_flags.h"
#include "download/daily_need.h"
#include "settings/settings.h"
#include "util/dates.h"
#include "util/markettime.h"
#include "util/paths.h"

namespace quova {

namespace {

std::string currentDirectory() {
  std::string dir(4096, '\0');
  while (::getcwd(dir.data(), dir.size()) == nullptr) {
    if (errno != ERANGE || dir.size() > (1u << 20)) return {};
    dir.resize(dir.size() * 2);
  }
  dir.resize(std::strlen(dir.c_str()));
  return dir;
}

bool isDownloadSwitch(std::string_view a) {
  return a == "/download" || a == "/update" || a == "/forcedownload";
}

}  // namespace

void Initialize() {
  AppState& a = app();
  a.tdate = Today();
  runFlags().DLReentrant = false;
}

bool unattendedStart(int argc, char** argv) {
  if (argc < 2 || !isDownloadSwitch(argv[1])) return false;
  for (int i = 2; i < argc; ++i)
    if (std::string_view(argv[i]) == "/QuitAfterDownload") return true;
  return false;
}

bool ParseArguments(int argc, char** argv) {
  AppState& a = app();
  bool run = true;
  for (int i = 1; i < argc; ++i) {
    // The whole argument is kept: a cut path would name another file, or none.
    const std::string arg = argv[i];
    Log("\nArgument %d -- %s", i, arg.c_str());
    if (i == 1) {
      // On Linux an absolute path begins with "/" too: an existing file is a file name.
      if (!arg.empty() && arg[0] == '/' && (isDownloadSwitch(arg) || !fileExists(arg))) {
        if (arg == "/download") {
          if (Is_DL_Needed()) {
            Log("\nDownload Flag Set.");
            a.argFlag = 1;
          } else {
            Log("\nDownload Not Needed.");
            run = false;
          }
        } else if (arg == "/update") {
          a.argFlag = 1;
        } else if (arg == "/forcedownload") {
          a.argFlag = 2;
        }
      } else {
        a.argFlag = 9;
        a.argFileName = arg;
      }
      continue;
    }
    if (arg == "/wait") {
      if (argc > 3) {
        long w = 0;
        if (std::sscanf(argv[3], "%ld", &w) == 1) a.waittime = w;
      }
    } else if (arg == "/QuitAfterDownload") {
      runFlags().QuitAfterDownload = true;
    }
  }
  return run;
}

void ResolveRoots() {
  RunFlags& a = runFlags();
  const std::string cwd = currentDirectory();
  if (cwd.empty()) {
    Log("\nQuovaPath -- %s", "");
    MessageBox("getcurdir error", "QUOVA OwlMain Error", mb::ICONEXCLAMATION);
  } else {
    Log("\nQuovaPath -- %s", cwd.c_str());
    a.QuovaPath = cwd + "/";
  }
  LogSystemInfo();
  a.FIXPATH = "Utilities";

  const char* env = std::getenv("QUOVA");
  if (env == nullptr) {
    a.QUOVAPATH.clear();
    Log("\nQUOVA env variable set=NULL (not in autoexec.bat)");
  } else {
    a.QUOVAPATH = std::string(env) + "/";
    Log("\nQUOVA env variable set=%s", a.QUOVAPATH.c_str());
    // A relative root is taken from the starting directory, before the change below.
    if (a.QUOVAPATH[0] != '/' && !a.QuovaPath.empty()) a.QUOVAPATH = a.QuovaPath + a.QUOVAPATH;
    if (::chdir(a.QUOVAPATH.c_str()) != 0)
      Log("\nCould not change to the QUOVA root %s", a.QUOVAPATH.c_str());
  }
  a.UserFilePath = a.QUOVAPATH + "User.dat";
  a.IniFilePath = a.QUOVAPATH + "quova.ini";
  a.WinsIniFilePath = a.QUOVAPATH + "quova.win";
}

int OwlMain(int argc, char** argv, const std::function<int()>& runApp) {
  // The log stays in the starting directory even when the root is elsewhere.
  const std::string cwd = currentDirectory();
  if (!cwd.empty() && logState().QuovaLogFile.find('/') == std::string::npos)
    logState().QuovaLogFile = cwd + "/" + logState().QuovaLogFile;
  if (OpenLogFile() != 0) return -1;
  Log("\nQUOVA %s starting...", app().Version.c_str());
  ResolveRoots();
  if (!GetIniFile()) {
    Log("\nNormal Exit.");
    return -1;
  }
  Initialize();
  app().argFlag = 0;
  const bool run = ParseArguments(argc, argv);
  int result = 0;
  if (run) {
    Log("\nStarting TMyApp().Run()...");
    result = runApp ? runApp() : 0;
  }
  SaveIniFile();
  Log("\nNormal Exit.");
  return result;
}

void WinWaitFor(unsigned long msec, bool ignoreQuit) {
  AppState& a = app();
  if (msec == 0) return;
  a.Waiting = true;
  const long start = GetTimeMsec();
  while (true) {
    if (runFlags().Quit && !ignoreQuit) break;
    KeepWindowsHappy();
    long t = GetTimeMsec();
    if (t < start) t += 86400000L;  // midnight passed
    if (static_cast<unsigned long>(t - start) >= msec) break;
    ::usleep(1000);  // a wait, not a spin
  }
  a.Waiting = false;
}

}  // namespace quova
