// Plain decimal numbers: the grammar is checked by hand and the value taken with
// std::from_chars, which never looks at the locale.
#include "quotes/number_text.h"

#include <charconv>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>

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

// The number at the front of s when it is a plain decimal of at most 15 digits with no
// exponent, such as every price and volume of a quote file, read in one pass without
// from_chars: its length, or 0 for any other text. The digits make an integer below 2^53
// and a power of ten up to 10^15 is exact in a double, so the one division (or none) is
// rounded once, to the nearest double, which is what from_chars gives.
std::size_t shortDecimal(std::string_view s, double* value) {
  static constexpr double kPow10[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7,
                                      1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  std::size_t i = 0, n = s.size();
  const bool minus = n > 0 && s[0] == '-';
  if (n > 0 && (minus || s[0] == '+')) ++i;
  std::uint64_t digits = 0;
  // Past 15 digits the sum may wrap: such a number is refused below all the same.
  auto addDigits = [&] {
    const std::size_t from = i;
    for (unsigned d; i < n && (d = static_cast<unsigned char>(s[i]) - unsigned{'0'}) <= 9; ++i) digits = digits * 10 + d;
    return static_cast<int>(i - from);
  };
  int count = addDigits(), fraction = 0;
  if (i < n && s[i] == '.') {
    ++i;
    fraction = addDigits();
    count += fraction;
  }
  if (count == 0 || count > 15 || (i < n && (s[i] == 'e' || s[i] == 'E'))) return 0;
  double v = static_cast<double>(digits);
  if (fraction > 0) v /= kPow10[fraction];
  *value = minus ? -v : v;
  return i;
}

}  // namespace

std::size_t decimalPrefix(std::string_view s, double* value) {
  if (std::size_t len = shortDecimal(s, value)) return len;
  std::size_t len = numberLength(s);
  if (len == 0) return 0;
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
  // A short decimal is always finite.
  if (!s.empty() && shortDecimal(s, &v) == s.size()) {
    *value = v;
    return true;
  }
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

std::string fixedText(double v, int width, int decimals) {
  const double scale = decimals == 3 ? 1000.0 : 1.0;
  const double t = v * scale;
  if ((decimals != 0 && decimals != 3) || !(std::fabs(t) < 1e15) || std::fma(v, scale, -t) != 0) {
    char buf[512];
    std::snprintf(buf, sizeof buf, "%*.*f", width, decimals, v);
    return buf;
  }
  // t is v * 10^decimals exactly, so printf rounds t to the nearest whole number, ties to
  // even, as nearbyint does; a negative value keeps its sign even when it rounds to 0.
  std::uint64_t u = static_cast<std::uint64_t>(std::fabs(std::nearbyint(t)));
  char digits[32];
  int n = 0;
  for (int k = 0; k < decimals; ++k, u /= 10) digits[n++] = static_cast<char>('0' + u % 10);
  if (decimals) digits[n++] = '.';
  do {
    digits[n++] = static_cast<char>('0' + u % 10);
    u /= 10;
  } while (u);
  if (std::signbit(v)) digits[n++] = '-';
  std::string out(n < width ? static_cast<std::size_t>(width - n) : 0, ' ');
  while (n > 0) out += digits[--n];
  return out;
}

}  // namespace quova
