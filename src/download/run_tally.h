// What a daily run achieved, for the exit status and the summary line of an unattended run.
#pragma once

#include <string>
#include <vector>

namespace quova {

struct RunTally {
  bool started = false;     // DownLoad was called
  bool refused = false;     // another download held the root
  bool noCommandFile = false;
  bool stopped = false;     // a user stop or a quit ended the run before its end
  int listsDone = 0;
  long newQuotes = 0;
  std::vector<std::string> failedLists;  // lists that ended without their quotes

  // The run did not do all it was asked.
  bool failed() const { return refused || noCommandFile || stopped || !failedLists.empty(); }
};

// The one line for standard error: lists done, lists failed, new quotes, and the log.
std::string runSummaryLine(const RunTally& t, const std::string& logPath);

}  // namespace quova
