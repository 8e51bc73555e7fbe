// Fuzz target: a .day file through the chart loader (Parse under the default descriptor
// and a comma-delimited one, then LoadData on the file with its extremes and window).
#include <cstdint>
#include <cstring>
#include <sstream>
#include <string>

#include "chart/chart_data.h"
#include "chart/chart_settings.h"
#include "quotes/quote_format.h"
#include "quotes/quotefile.h"
#include "support/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quova;
  static const OFtype plain = DefaultFormat();
  static const OFtype comma = [] {
    OFtype f = DefaultFormat();
    f.delimiter = 1;
    std::strcpy(f.outDateFormat, "yyyymmdd");
    return f;
  }();
  std::string bytes(reinterpret_cast<const char*>(data), size);
  for (const OFtype* f : {&plain, &comma}) {
    std::istringstream in(bytes);
    ChartData d;
    ParseContext ctx;
    ctx.parse = chartLineParser(*f);
    Parse(in, d, ctx);
    if (d.num_quotes != static_cast<std::int32_t>(d.q_date.size())) __builtin_trap();
  }
  std::string path = fuzz::inputFile("fuzz.day", data, size);
  ChartData d;
  ChartSettings s;
  ParseContext ctx;
  ctx.parse = chartLineParser(plain);
  if (LoadData(path, d, s, ctx) == LoadResult::Loaded && !(s.t_start < s.t_end)) __builtin_trap();
  fileStampDay(path);
  return 0;
}
