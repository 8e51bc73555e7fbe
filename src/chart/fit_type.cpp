// The stored fit's 1594-byte image and the x87 extended-value conversion it needs.
#include "chart/fit_type.h"

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>

namespace quova {

namespace {

constexpr int kBias = 16383;

void putU32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::uint32_t getU32(const std::uint8_t* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

void putI32(std::uint8_t* p, std::int32_t v) { putU32(p, static_cast<std::uint32_t>(v)); }
std::int32_t getI32(const std::uint8_t* p) { return static_cast<std::int32_t>(getU32(p)); }

void putX87(std::uint8_t* p, std::uint64_t significand, unsigned exponent, bool negative) {
  for (int i = 0; i < 8; ++i) p[i] = static_cast<std::uint8_t>(significand >> (8 * i));
  const unsigned top = (exponent & 0x7FFF) | (negative ? 0x8000 : 0);
  p[8] = static_cast<std::uint8_t>(top);
  p[9] = static_cast<std::uint8_t>(top >> 8);
}

bool finite(long double v) { return std::isfinite(v); }

}  // namespace

void toX87(long double v, std::uint8_t out[kX87Size]) {
  const bool negative = std::signbit(v);
  if (std::isnan(v)) return putX87(out, 0xC000000000000000ull, 0x7FFF, negative);
  if (std::isinf(v)) return putX87(out, 0x8000000000000000ull, 0x7FFF, negative);
  const long double a = std::fabs(v);
  if (a == 0) return putX87(out, 0, 0, negative);
  int e = 0;
  const long double m = std::frexp(a, &e);  // a = m * 2^e, m in [0.5, 1)
  int biased = e - 1 + kBias;
  if (biased >= 0x7FFF) return putX87(out, 0x8000000000000000ull, 0x7FFF, negative);
  long double scaled;
  if (biased <= 0) {
    // Denormal: exponent field 0, value = significand * 2^(1 - bias - 63).
    scaled = std::nearbyint(std::ldexp(a, kBias - 1 + 63));
    biased = 0;
  } else {
    scaled = std::nearbyint(std::ldexp(m, 64));
  }
  // Rounding a wider significand can carry into bit 64.
  if (scaled >= 18446744073709551616.0L) {
    scaled /= 2;
    ++biased;
    if (biased >= 0x7FFF) return putX87(out, 0x8000000000000000ull, 0x7FFF, negative);
  }
  auto significand = static_cast<std::uint64_t>(scaled);
  // A denormal that rounded up to the smallest normal carries its integer bit.
  if (biased == 0 && (significand >> 63)) biased = 1;
  putX87(out, significand, static_cast<unsigned>(biased), negative);
}

long double fromX87(const std::uint8_t in[kX87Size]) {
  std::uint64_t significand = 0;
  for (int i = 7; i >= 0; --i) significand = significand << 8 | in[i];
  const unsigned top = in[8] | in[9] << 8;
  const bool negative = top & 0x8000;
  const int exponent = static_cast<int>(top & 0x7FFF);
  long double v;
  if (exponent == 0x7FFF) {
    v = (significand << 1) == 0 ? std::numeric_limits<long double>::infinity()
                                : std::numeric_limits<long double>::quiet_NaN();
  } else {
    const int e = exponent == 0 ? 1 - kBias - 63 : exponent - kBias - 63;
    v = std::ldexp(static_cast<long double>(significand), e);
  }
  return negative ? -v : v;
}

bool Fit_Type::usable() const {
  if (valid != 1) return false;
  if (poly_order < 0 || poly_order > n_poly_max || four_order < 0 || four_order > n_four_max)
    return false;
  if (!finite(t_min) || !finite(t_max) || !finite(t_mid) || !finite(mean) || !finite(omega))
    return false;
  for (long double c : poly_coef)
    if (!finite(c)) return false;
  for (long double c : four_coef)
    if (!finite(c)) return false;
  return true;
}

FitTypeImage fitTypeImage(const Fit_Type& f) {
  FitTypeImage b{};
  std::uint8_t* p = b.data();
  putI32(p + fitoffset::valid, f.valid);
  toX87(f.t_min, p + fitoffset::t_min);
  toX87(f.t_max, p + fitoffset::t_max);
  toX87(f.t_mid, p + fitoffset::t_mid);
  toX87(f.mean, p + fitoffset::mean);
  putI32(p + fitoffset::poly_order, f.poly_order);
  for (std::size_t i = 0; i < f.poly_coef.size(); ++i)
    toX87(f.poly_coef[i], p + fitoffset::poly_coef + i * kX87Size);
  putI32(p + fitoffset::poly_enabled, f.poly_enabled);
  putI32(p + fitoffset::four_order, f.four_order);
  for (std::size_t i = 0; i < f.four_coef.size(); ++i)
    toX87(f.four_coef[i], p + fitoffset::four_coef + i * kX87Size);
  toX87(f.omega, p + fitoffset::omega);
  putI32(p + fitoffset::four_enabled, f.four_enabled);
  putI32(p + fitoffset::n_bisects, f.n_bisects);
  return b;
}

Fit_Type readFitType(std::span<const std::uint8_t> bytes) {
  Fit_Type f;
  if (bytes.size() < kFitTypeSize) return f;
  const std::uint8_t* p = bytes.data();
  f.valid = getI32(p + fitoffset::valid);
  f.t_min = fromX87(p + fitoffset::t_min);
  f.t_max = fromX87(p + fitoffset::t_max);
  f.t_mid = fromX87(p + fitoffset::t_mid);
  f.mean = fromX87(p + fitoffset::mean);
  f.poly_order = getI32(p + fitoffset::poly_order);
  for (std::size_t i = 0; i < f.poly_coef.size(); ++i)
    f.poly_coef[i] = fromX87(p + fitoffset::poly_coef + i * kX87Size);
  f.poly_enabled = getI32(p + fitoffset::poly_enabled);
  f.four_order = getI32(p + fitoffset::four_order);
  for (std::size_t i = 0; i < f.four_coef.size(); ++i)
    f.four_coef[i] = fromX87(p + fitoffset::four_coef + i * kX87Size);
  f.omega = fromX87(p + fitoffset::omega);
  f.four_enabled = getI32(p + fitoffset::four_enabled);
  f.n_bisects = getI32(p + fitoffset::n_bisects);
  return f;
}

static_assert(fitoffset::n_bisects + 4 == kFitTypeSize);
static_assert(fitoffset::four_coef + 101 * kX87Size == fitoffset::omega);
static_assert(fitoffset::poly_coef + 51 * kX87Size == fitoffset::poly_enabled);

}  // namespace quova
