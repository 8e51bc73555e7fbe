// Fuzz target: the daily command file (daily.dcf) read line by line with the first token
// of every line, as the daily run reads it.
#include <cstdint>
#include <string>

#include "download/daily_run.h"
#include "support/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quova;
  DcfReader dcf;
  if (!dcf.open(fuzz::inputFile("daily.dcf", data, size))) __builtin_trap();
  std::string line;
  std::size_t lines = 0;
  for (DcfReader::Result r; (r = dcf.next(line)) != DcfReader::Result::End;) {
    if (r == DcfReader::Result::Line && line.size() > static_cast<std::size_t>(kDcfLineMax)) __builtin_trap();
    dcfToken(line);
    if (++lines > size + 1) __builtin_trap();  // every line consumes input
  }
  return 0;
}
