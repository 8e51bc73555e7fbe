// The stored fit of a chart (Fit_Type): the polynomial trend and Fourier series of the last
// "Baseline" analysis, kept as the first 1594 bytes of the chart settings file. The bytes are
// little-endian and packed; the long doubles are 10-byte x87 extended values, converted
// field by field so a file reads the same on any processor.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace quova {

inline constexpr int n_poly_max = 50;  // highest polynomial order
inline constexpr int n_four_max = 50;  // highest Fourier order
inline constexpr std::size_t kFitTypeSize = 1594;
inline constexpr std::size_t kX87Size = 10;

struct Fit_Type {
  std::int32_t valid = 0;  // 1 when a fit is stored
  long double t_min = 0, t_max = 0, t_mid = 0, mean = 0;
  std::int32_t poly_order = 0;
  std::array<long double, n_poly_max + 1> poly_coef{};
  std::int32_t poly_enabled = 0;
  std::int32_t four_order = 0;
  std::array<long double, 2 * n_four_max + 1> four_coef{};  // constant, sin 1, cos 1, ...
  long double omega = 0;  // the fundamental, radians per day
  std::int32_t four_enabled = 0;
  std::int32_t n_bisects = 0;

  // A record that may be evaluated: valid, orders 0..50 and every value finite.
  bool usable() const;
};

// Byte offsets of the fields in the image.
namespace fitoffset {
inline constexpr std::size_t valid = 0, t_min = 4, t_max = 14, t_mid = 24, mean = 34,
                             poly_order = 44, poly_coef = 48, poly_enabled = 558,
                             four_order = 562, four_coef = 566, omega = 1576,
                             four_enabled = 1586, n_bisects = 1590;
}

// An x87 extended value (sign, 15-bit exponent, 64-bit significand with its integer bit)
// from and to a long double. Infinities and NaNs keep their kind; values beyond the range
// of this machine's long double become infinities or zeros.
void toX87(long double v, std::uint8_t out[kX87Size]);
long double fromX87(const std::uint8_t in[kX87Size]);

using FitTypeImage = std::array<std::uint8_t, kFitTypeSize>;
FitTypeImage fitTypeImage(const Fit_Type& fit);
// Reads the 1594-byte image; fewer bytes give an empty (invalid) record.
Fit_Type readFitType(std::span<const std::uint8_t> bytes);

}  // namespace quova
