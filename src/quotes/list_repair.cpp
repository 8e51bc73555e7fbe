// The list window's repair of one quote file and of all of them.
#include "quotes/list_repair.h"

#include "base/run_flags.h"
#include "base/log.h"
#include "quotes/format_file.h"
#include "quotes/quotelist.h"
#include "settings/repair_start.h"
#include "quotes/text_lines.h"
#include "util/paths.h"

namespace quova {

ProcessId RunMendora(const std::string& quoteFile, const OFtype& listFormat, bool batch) {
  if (!fileExists(quoteFile)) {
    MessageBox("Unable to locate file -- " + quoteFile, "Quote File Access Error", mb::ICONEXCLAMATION);
    return -1;
  }
  OFtype fmt = listFormat;
  fmt.repairFlag = 1;
  SaveFormatInfo(quoteFile, fmt);
  runFlags().FileToFixPath = repairArgument(quoteFile);
  return startRepairTool(batch);
}

long RepairQuoteList(const std::string& qtlPath, const OFtype& listFormat, const std::function<bool()>& stop,
                     long boundMs) {
  const std::string ask = "For QuoteList -- " + qtlPath + "\n\n" +
                          "QUOVA will run Mendora on each file in the Quotelist without further prompts.\n\n";
  if (MessageBox(ask, "QUOVA QuoteList window Message", mb::OKCANCEL) != IDOK) return -2;
  TextLineReader in(qtlPath);
  if (!in.isOpen()) {
    MessageBox(formatText(381, "Cannot Open Input Stream for QuoteList -- %s", qtlPath.c_str()),
               "QUOVA QuoteList window Message", mb::ICONEXCLAMATION);
    return -1;
  }
  long count = 0;
  std::string line;
  while (in.next(line)) {
    if (runFlags().Quit || (stop && stop())) break;
    const RequestPaths p = ParseFilePaths(line);
    if (p.quoteFile.empty() || !fileExists(p.quoteFile)) continue;
    const ProcessId id = RunMendora(p.quoteFile, listFormat, true);
    if (id < 0) break;  // the tool cannot be started: the box was shown once
    if (waitForRepairTool(id, boundMs, stop) == RepairWait::Stopped) break;
    ++count;
    MessBar(formatText(181, "Historical Quotefiles Repaired ...%ld", count));
  }
  return count;
}

}  // namespace quova
