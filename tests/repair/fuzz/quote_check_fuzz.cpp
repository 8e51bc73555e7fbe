// Fuzz target: the repair tool's checker, its repair and the comma import on any bytes,
// under the default descriptor and a comma-delimited one.
#include <cstdint>
#include <string_view>

#include "repair/history_import.h"
#include "repair/quote_repair.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quova;
  using namespace quova::repair;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  OFtype fmt = DefaultFormat();
  if (size > 0 && (data[0] & 1)) fmt.delimiter = DELIM_COMMA;
  Scan scan = checkQuoteFile(bytes, fmt, 45000);
  for (Record& r : importHistory(bytes, fmt).rows) scan.records.push_back(std::move(r));
  checkRecords(&scan, fmt, 45000);
  RepairChoices choices;
  choices.importedWins = size > 1 && (data[1] & 1);
  const RepairPlan plan = planRepair(scan, choices, 45000);
  // The repair is a fixed point: checking its output finds no duplicate and no order break.
  const Scan again = checkQuoteFile(plan.content, fmt, 45000);
  for (const Finding& f : again.findings)
    if (f.problem == Problem::DuplicateDate || f.problem == Problem::DuplicateLine || f.problem == Problem::OutOfOrder)
      __builtin_trap();
  return 0;
}
