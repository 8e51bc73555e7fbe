// Plain decimal numbers: the grammar is checked by hand and the value taken with
// std::from_chars, which never looks at the locale.
#include "quotes/number_text.h"

#include <charconv>
#include <cfloat>
#include <cmath>

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

}  // namespace

std::size_t decimalPrefix(std::string_view s, double* value) {
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
