// The stored fit's image: x87 values by hand, field offsets, round trips.
#include "chart/fit_type.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

namespace quova {
namespace {

std::vector<std::uint8_t> x87(long double v) {
  std::vector<std::uint8_t> b(kX87Size);
  toX87(v, b.data());
  return b;
}

TEST(X87, KnownEncodings) {
  struct Row {
    long double v;
    std::vector<std::uint8_t> bytes;
  } rows[] = {
      {1.0L, {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}},
      {-2.5L, {0, 0, 0, 0, 0, 0, 0, 0xA0, 0x00, 0xC0}},
      {0.0L, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {-0.0L, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0x80}},
      {std::numeric_limits<long double>::infinity(), {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x7F}},
      {36525.0L, {0, 0, 0, 0, 0, 0, 0xAD, 0x8E, 0x0E, 0x40}},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(x87(r.v), r.bytes) << static_cast<double>(r.v);
    EXPECT_EQ(fromX87(r.bytes.data()), r.v);
    EXPECT_EQ(std::signbit(fromX87(r.bytes.data())), std::signbit(r.v));
  }
  EXPECT_TRUE(std::isnan(fromX87(x87(std::numeric_limits<long double>::quiet_NaN()).data())));
  // The smallest x87 denormal reads as whatever this machine can hold of 2^-16445.
  const std::uint8_t denormal[10] = {1, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(fromX87(denormal), std::ldexp(1.0L, -16445));
}

TEST(X87, MatchesTheHardwareLayoutWhereLongDoubleIsX87) {
  if constexpr (LDBL_MANT_DIG == 64 && LDBL_MAX_EXP == 16384) {
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> mant(-1.0, 1.0);
    std::uniform_int_distribution<int> ex(-16440, 16380);
    for (int i = 0; i < 20000; ++i) {
      long double v = std::ldexp(static_cast<long double>(mant(rng)) +
                                     static_cast<long double>(mant(rng)) * 1e-17L,
                                 ex(rng));
      std::uint8_t mem[16] = {};
      std::memcpy(mem, &v, kX87Size);
      const auto enc = x87(v);
      ASSERT_EQ(0, std::memcmp(mem, enc.data(), kX87Size)) << static_cast<double>(v);
      ASSERT_EQ(fromX87(enc.data()), v);
    }
  } else {
    GTEST_SKIP() << "long double is not the x87 format here";
  }
}

TEST(FitTypeImage, FieldsLieAtTheirOffsets) {
  Fit_Type f;
  f.valid = 1;
  f.t_min = 1.0L;
  f.t_max = -2.5L;
  f.poly_order = 3;
  f.poly_coef[50] = 1.0L;
  f.poly_enabled = 1;
  f.four_order = 50;
  f.four_coef[0] = -2.5L;
  f.four_coef[100] = 1.0L;
  f.omega = 36525.0L;
  f.four_enabled = 1;
  f.n_bisects = 1000;
  const FitTypeImage b = fitTypeImage(f);
  ASSERT_EQ(b.size(), 1594u);
  auto at = [&](std::size_t off, const std::vector<std::uint8_t>& want) {
    return std::vector<std::uint8_t>(b.begin() + off, b.begin() + off + want.size()) == want;
  };
  EXPECT_TRUE(at(0, {1, 0, 0, 0}));
  EXPECT_TRUE(at(4, x87(1.0L)));
  EXPECT_TRUE(at(14, x87(-2.5L)));
  EXPECT_TRUE(at(24, x87(0.0L)));
  EXPECT_TRUE(at(44, {3, 0, 0, 0}));
  EXPECT_TRUE(at(48 + 50 * 10, x87(1.0L)));
  EXPECT_TRUE(at(558, {1, 0, 0, 0}));
  EXPECT_TRUE(at(562, {50, 0, 0, 0}));
  EXPECT_TRUE(at(566, x87(-2.5L)));
  EXPECT_TRUE(at(566 + 100 * 10, x87(1.0L)));
  EXPECT_TRUE(at(1576, x87(36525.0L)));
  EXPECT_TRUE(at(1586, {1, 0, 0, 0}));
  EXPECT_TRUE(at(1590, {0xE8, 0x03, 0, 0}));
}

TEST(FitTypeImage, RoundTripsAndShortImages) {
  Fit_Type f;
  f.valid = 1;
  f.t_min = 36000.25L;
  f.t_max = 36900.0L;
  f.t_mid = (f.t_min + f.t_max) / 2;
  f.mean = 123.456789012345678L;
  f.poly_order = 2;
  f.poly_enabled = 1;
  f.poly_coef = {};
  f.poly_coef[0] = 0.1L;
  f.poly_coef[1] = -1e-7L;
  f.poly_coef[2] = 3e-300L;
  f.four_order = 2;
  f.four_enabled = 1;
  for (int i = 0; i < 5; ++i) f.four_coef[i] = 1.0L / (i + 3);
  f.omega = 2 * 3.14159265358979323846L / 20;
  f.n_bisects = -7;
  const FitTypeImage b = fitTypeImage(f);
  const Fit_Type g = readFitType(b);
  EXPECT_EQ(fitTypeImage(g), b);
  EXPECT_EQ(g.mean, f.mean);
  EXPECT_EQ(g.poly_coef, f.poly_coef);
  EXPECT_EQ(g.four_coef, f.four_coef);
  EXPECT_EQ(g.omega, f.omega);
  EXPECT_EQ(g.n_bisects, -7);
  EXPECT_TRUE(g.usable());

  EXPECT_EQ(readFitType(std::span(b.data(), 1593)).valid, 0);
  Fit_Type bad = g;
  bad.poly_order = 51;
  EXPECT_FALSE(bad.usable());
  bad = g;
  bad.four_coef[7] = std::numeric_limits<long double>::quiet_NaN();
  EXPECT_FALSE(bad.usable());
  bad = g;
  bad.valid = 2;
  EXPECT_FALSE(bad.usable());
}

}  // namespace
}  // namespace quova
