// Fuzz target: a format file (.fmt) through the image reader and both file readers; a
// descriptor read back from its own image is the same descriptor. An input shorter than an
// image is laid over the default descriptor's image at the offset its first two bytes give,
// so that most inputs reach the fields.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "quotes/format_file.h"
#include "quotes/quote_line.h"
#include "support/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* input, std::size_t inputSize) {
  using namespace quova;
  std::string bytes(reinterpret_cast<const char*>(input), inputSize);
  const std::size_t imageSize = kFormatFileSize;
  if (inputSize > 2 && inputSize < imageSize) {
    FormatImage base = formatToImage(DefaultFormat());
    std::size_t at = (input[0] | input[1] << 8) % imageSize;
    std::size_t n = std::min(inputSize - 2, imageSize - at);
    bytes.assign(reinterpret_cast<const char*>(base.data()), base.size());
    std::memcpy(&bytes[at], input + 2, n);
    if (input[0] & 0x80) bytes.resize(at + n);  // a short file as well
  }
  const std::uint8_t* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
  const std::size_t size = bytes.size();
  OFtype fmt = DefaultFormat();
  if (formatFromImage(data, size, &fmt)) {
    FormatImage image = formatToImage(fmt);
    OFtype again = DefaultFormat();
    if (!formatFromImage(image.data(), image.size(), &again)) __builtin_trap();
    if (formatToImage(again) != image) __builtin_trap();
    // The descriptor read is used at once to read and write records.
    quotetype q;
    ParseQuote("12/07/2026  101.5  99.25  100.75  12000", &q, fmt);
    QuoteData d;
    QuoteDataClear(&d);
    std::strcpy(d.Date, "12/07/2026");
    std::strcpy(d.Close, "100.75");
    char line[kQuoteLineSize];
    MakeQuoteString(line, sizeof line, &d, fmt, true);
  }
  std::string path = fuzz::inputFile("fuzz.fmt", data, size);
  OFtype a = DefaultFormat(), b = DefaultFormat();
  GetFormatInfo(path, &a);
  FormatTrailer trailer;
  RecallFormatInfo(path, &b, &trailer);
  return 0;
}
