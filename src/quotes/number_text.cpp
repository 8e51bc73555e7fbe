// Plain decimal numbers: the grammar is checked by hand and the value taken with
// std::from_chars, which never looks at the locale.
#include "quotes/number_text.h"

#include <charconv>
#include <cfloat>
#include <cmath>
#include <cstdint>

namespace quova {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Length of the number at the front of s by the grammar [+-] digits [. digits] [e [+-] digits],
// with at least one digit in the mantissa.
std::size_t numberLength(std::string_view s) {
  std::size_t i = 0, n = s.size();
  if (i < n && (s[i] == '+' || s[i] == '-')) ++i;
  std::size_t mantissa = 0;
  while (i < n && isDigit(s[i])) ++i, ++mantissa;
  if (i < n && s[i] == '.') {
    ++i;
    while (i < n && isDigit(s[i])) ++i, ++mantissa;
  }
  if (mantissa == 0) return 0;
  if (i < n && (s[i] == 'e' || s[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < n && (s[j] == '+' || s[j] == '-')) ++j;
    std::size_t digits = 0;
    while (j < n && isDigit(s[j])) ++j, ++digits;
    if (digits > 0) i = j;
  }
  return i;
}

// The value of a plain decimal of at most 15 digits and no exponent, such as every price and
// volume of a quote file, without from_chars: the digits make an integer below 2^53 and a
// power of ten up to 10^15 is exact in a double, so the one division (or none) is rounded
// once, to the nearest double, which is what from_chars gives. False for other texts.
bool shortDecimal(std::string_view num, double* value) {
  static constexpr double kPow10[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7,
                                      1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  std::size_t i = 0;
  const bool minus = num[0] == '-';
  if (minus || num[0] == '+') ++i;
  std::uint64_t digits = 0;
  int count = 0, fraction = -1;
  for (; i < num.size(); ++i) {
    const char c = num[i];
    if (c == '.') {
      fraction = 0;
      continue;
    }
    if (!isDigit(c) || ++count > 15) return false;
    digits = digits * 10 + static_cast<std::uint64_t>(c - '0');
    if (fraction >= 0) ++fraction;
  }
  double v = static_cast<double>(digits);
  if (fraction > 0) v /= kPow10[fraction];
  *value = minus ? -v : v;
  return true;
}

}  // namespace

std::size_t decimalPrefix(std::string_view s, double* value) {
  std::size_t len = numberLength(s);
  if (len == 0) return 0;
  if (shortDecimal(s.substr(0, len), value)) return len;
  std::string_view num = s.substr(0, len);
  if (num[0] == '+') num.remove_prefix(1);  // from_chars takes no plus sign
  double v = 0;
  auto r = std::from_chars(num.data(), num.data() + num.size(), v, std::chars_format::general);
  // Out of range (overflow or underflow) is no number a quote file can hold.
  if (r.ec != std::errc() || r.ptr != num.data() + num.size()) return 0;
  *value = v;
  return len;
}

bool readDecimal(std::string_view s, double* value) {
  double v = 0;
  if (s.empty() || decimalPrefix(s, &v) != s.size() || !std::isfinite(v)) return false;
  *value = v;
  return true;
}

bool readFloat(std::string_view s, float* value) {
  double v = 0;
  if (!readDecimal(s, &v) || std::fabs(v) > FLT_MAX) return false;
  *value = static_cast<float>(v);
  return true;
}

}  // namespace quova
