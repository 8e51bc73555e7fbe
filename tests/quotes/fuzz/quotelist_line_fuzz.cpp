// Fuzz target: the quote list line readers (request fields, two-blank fields, alarm
// fields and the alarm test, the derived names) on any bytes.
#include <cstdint>
#include <string>

#include "quotes/alarms.h"
#include "quotes/quote_names.h"
#include "quotes/quotelist.h"

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
  return 0;
}
