// Starting the repair tool Mendora and waiting for it: the one rule every start path uses
// (the chart's and the list's repair, repair all, the download's repair after historical
// pages). The tool lies in the root's Utilities folder and runs there.
#pragma once

#include <functional>
#include <string>

#include "base/host.h"

namespace quova {

// The program's root ("/" at the end): QUOVA when set, else the working directory at start.
std::string programRoot();
// root + FIXPATH + "/Mendora", its letter case matched on disk.
std::string repairToolProgram();
// The repair path the tool is given for a quote file: "..\" + the path below the root.
std::string repairArgument(const std::string& quoteFile);

// Starts the tool on FileToFixPath (empty: a plain start), with --batch when no person is
// to be asked. Fails with the box "Mendora Open Error" and a log line naming the path tried.
ProcessId startRepairTool(bool batch);

// The process of the last start (-1 when it failed); a caller that wants to follow the
// start it asks for sets it to -1 first.
ProcessId& lastRepairProcess();

enum class RepairWait { Ended, Stopped, Bounded };
// Waits for a started repair process with the window messages running. Ends when the
// process ends, when stopped() says so or the program quits, and, with boundMs > 0, after
// boundMs: the process is then ended and the log says so. No process (-1): Ended at once.
RepairWait waitForRepairTool(ProcessId id, long boundMs, const std::function<bool()>& stopped);

// The bound of a repair wait in runs no person watches (headless, unattended): 10 minutes.
inline constexpr long kRepairWaitBoundMs = 600000;
// 0 (no bound) when a person can stop the wait, else kRepairWaitBoundMs.
long repairWaitBound();

}  // namespace quova
