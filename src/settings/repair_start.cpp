// The one way the program starts the repair tool and waits for it.
#include "settings/repair_start.h"

#include <chrono>
#include <vector>

#include "base/run_flags.h"
#include "base/log.h"
#include "util/filecopy.h"
#include "util/paths.h"

namespace quova {

std::string programRoot() {
  const RunFlags& a = runFlags();
  return a.QUOVAPATH.empty() ? a.QuovaPath : a.QUOVAPATH;
}

std::string repairToolProgram() { return nativePath(programRoot() + runFlags().FIXPATH + "/Mendora"); }

std::string repairArgument(const std::string& quoteFile) {
  std::string path = quoteFile, root = programRoot();
  for (char& c : path)
    if (c == '/') c = '\\';
  for (char& c : root)
    if (c == '/') c = '\\';
  if (!root.empty() && path.compare(0, root.size(), root) == 0) path.erase(0, root.size());
  return "..\\" + path;
}

ProcessId startRepairTool(bool batch) {
  const std::string dir = nativePath(programRoot() + runFlags().FIXPATH);
  const std::string program = repairToolProgram();
  Log("\nCreate Process Dir:  %s\n", dir.c_str());
  Log("\nCreate Process Path: %s\n", program.c_str());
  std::vector<std::string> args;
  if (batch) args.push_back("--batch");
  if (!runFlags().FileToFixPath.empty()) args.push_back(runFlags().FileToFixPath);
  const ProcessId id = fileExists(program) ? host().startProcess(program, args, dir) : -1;
  lastRepairProcess() = id;
  if (id < 0) {
    LogBox("Mendora Open Error", "QUOVA main window Error", mb::ICONEXCLAMATION);
    Log("\nMendora Open Error -- tried %s", program.c_str());
  }
  return id;
}

ProcessId& lastRepairProcess() {
  static ProcessId id = -1;
  return id;
}

RepairWait waitForRepairTool(ProcessId id, long boundMs, const std::function<bool()>& stopped) {
  if (id < 0) return RepairWait::Ended;
  const auto start = std::chrono::steady_clock::now();
  while (!host().processExitCode(id)) {
    if ((stopped && stopped()) || runFlags().Quit || !KeepWindowsHappy()) return RepairWait::Stopped;
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    if (boundMs > 0 && ms >= boundMs) {
      host().endProcess(id);
      Log("\nThe repair tool did not end within %ld seconds: it was ended.", boundMs / 1000);
      return RepairWait::Bounded;
    }
    mwait(20);
  }
  return RepairWait::Ended;
}

long repairWaitBound() { return host().interactive() && !runFlags().QuitAfterDownload ? 0 : kRepairWaitBoundMs; }

}  // namespace quova
