// Fuzz target: a chart settings file (config\<base>.cfg) read over the defaults and
// validated. Its image keeps 1743 bytes, reading that image changes nothing, and the
// stored fit it holds converts to a record and back.
#include <cstdint>
#include <string>

#include "chart/chart_settings.h"
#include "chart/fit_type.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quova;
  ChartSettings s;
  readChartConfigImage(std::string_view(reinterpret_cast<const char*>(data), size), s);
  std::string image = chartConfigImage(s);
  if (image.size() != kChartConfigSize) __builtin_trap();
  ChartSettings again;
  readChartConfigImage(image, again);
  if (chartConfigImage(again) != image) __builtin_trap();
  if (s.fitStored()) storeFit(again, storedFit(s));
  return 0;
}
