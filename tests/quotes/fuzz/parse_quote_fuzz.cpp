// Fuzz target: ParseQuote on any bytes, under the default descriptor and under descriptors
// built from the input's first bytes (codes, prefixes, delimiter, date pattern).
#include <cstdint>
#include <cstring>
#include <string>

#include "quotes/quote_format.h"
#include "quotes/quote_line.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quova;
  std::string line(reinterpret_cast<const char*>(data), size);
  quotetype q;
  ParseQuote(line.c_str(), &q, DefaultFormat());
  if (size < 8) return 0;
  OFtype f = DefaultFormat();
  static const int codes[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 101, 102, 103, 104, 105, 0};
  f.nFields = static_cast<std::int16_t>(data[0] % 12);
  for (int i = 0; i < f.nFields; ++i) f.fieldCode[i] = static_cast<std::int16_t>(codes[data[1 + i % 6] % 22]);
  f.delimiter = data[7] % 4;
  if (data[6] & 1) std::strcpy(f.prefixText[1], "H:");
  if (data[6] & 2) std::strcpy(f.outDateFormat, "yyyymmdd");
  if (data[6] & 4) std::strcpy(f.outDateFormat, "day-mon-year");
  ParseQuote(line.c_str() + 8, &q, f);
  // Composing from what was read must stay in bounds too.
  QuoteData d;
  QuoteDataClear(&d);
  std::strncpy(d.Date, line.c_str() + 8, sizeof d.Date - 1);
  std::strncpy(d.Co_name, line.c_str(), sizeof d.Co_name - 1);
  char out[kQuoteLineSize];
  MakeQuoteString(out, sizeof out, &d, f, true);
  return 0;
}
