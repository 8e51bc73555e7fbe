// Fuzz target: the quote list line readers (the file line reader, request fields, two-blank fields, alarm
// fields and the alarm test, the derived names) on any bytes.
#include <cstdint>
#include <cstdio>
#include <string>

#include "quotes/alarms.h"
#include "quotes/quote_names.h"
#include "quotes/quotelist.h"
#include "quotes/text_lines.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quova;
  std::string line(reinterpret_cast<const char*>(data), size);
  RequestFields f = splitRequestLine(line);
  twoBlankFields(f.rest);
  requestFileName(f.symbol, f.fileName);
  AlarmRecord rec;
  GetAlarmsData(line, &rec);
  rec.alarmsOn = size % 2;
  std::string rebuilt = SetAlarmsData(line, rec);
  AlarmLimitsExceeded(line);
  AlarmLimitsExceeded(rebuilt);
  weight(f.fileName);
  // The same bytes as a file, read line by line with a small cap.
  if (std::FILE* out = std::fopen("fuzz-lines.qtl", "wb")) {
    std::fwrite(data, 1, size, out);
    std::fclose(out);
    TextLineReader in("fuzz-lines.qtl");
    std::string l;
    while (in.next(l, 64)) splitRequestLine(l);
  }
  return 0;
}
