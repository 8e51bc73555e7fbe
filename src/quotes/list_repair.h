// The quote list window's repair commands: repair one quote file (36), repair every quote
// file of the list one after another (11864), both through the repair tool Mendora.
#pragma once

#include <functional>
#include <string>

#include "base/host.h"
#include "quotes/quote_format.h"

namespace quova {

// RunMendora: the quote file must exist ("Unable to locate file -- " otherwise, -1); the
// list's descriptor goes to its format file with repairFlag 1, the repair path to
// FileToFixPath, and the tool is started (batch: without asking anyone). Its process or -1.
ProcessId RunMendora(const std::string& quoteFile, const OFtype& listFormat, bool batch);

// CmMendoraQuotelist: asks once, then runs the tool in batch mode on the quote file of
// every list line with a file name, waiting for each run to end before the next, and shows
// "Historical Quotefiles Repaired ...%ld" after each. Stop, quit and a run past boundMs
// (0: none) end it. The count; -1 when the list cannot be read, -2 when not confirmed.
long RepairQuoteList(const std::string& qtlPath, const OFtype& listFormat, const std::function<bool()>& stop,
                     long boundMs);

}  // namespace quova
