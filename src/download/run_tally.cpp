// The summary line of a daily run.
#include "download/run_tally.h"

namespace quova {

std::string runSummaryLine(const RunTally& t, const std::string& logPath) {
  std::string line = "quova: daily download ";
  if (t.refused) line += "refused: another download runs on this root";
  else if (t.noCommandFile) line += "failed: daily.dcf could not be opened";
  else {
    line += t.stopped ? "stopped" : (t.failed() ? "incomplete" : "done");
    line += ": " + std::to_string(t.listsDone) + " list" + (t.listsDone == 1 ? "" : "s") + " done, " +
            std::to_string(t.failedLists.size()) + " failed";
    for (std::size_t i = 0; i < t.failedLists.size(); ++i) line += (i ? ", " : " (") + t.failedLists[i];
    if (!t.failedLists.empty()) line += ")";
    line += ", " + std::to_string(t.newQuotes) + " new quote" + (t.newQuotes == 1 ? "" : "s");
  }
  return line + "; log " + logPath;
}

}  // namespace quova
