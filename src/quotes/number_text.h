// Plain decimal numbers in text, whatever the locale: an optional sign, digits with at most
// one point, and an optional exponent. "inf", "nan" and hexadecimal forms are not numbers.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quova {

// Length of the longest decimal number at the front of s (0 when there is none); *value
// gets it when the length is not 0.
std::size_t decimalPrefix(std::string_view s, double* value);
// True when all of s is one decimal number with a finite value.
bool readDecimal(std::string_view s, double* value);
// readDecimal, and the value fits a 32-bit float.
bool readFloat(std::string_view s, float* value);

// printf's "%<width>.<decimals>f" of v for 0 or 3 decimals, the same text, without printf
// when v * 10^decimals is exact in a double (any float, most differences of two).
std::string fixedText(double v, int width, int decimals);

}  // namespace quova
