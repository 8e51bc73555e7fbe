// Plain decimals read to the same double std::from_chars gives, for the short forms read
// without it as for the rest; non-numbers refused; fixed-point text as printf writes it.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <utility>

#include "quotes/number_text.h"

namespace quova {
namespace {

TEST(NumberText, EveryDecimalReadsAsFromCharsDoes) {
  std::mt19937_64 rng(16);
  for (int t = 0; t < 200000; ++t) {
    // 1 to 17 digits with a point somewhere (or none) and a sign now and then.
    std::string s = t % 7 == 0 ? "-" : (t % 11 == 0 ? "+" : "");
    const int digits = 1 + static_cast<int>(rng() % 17), point = static_cast<int>(rng() % (digits + 2));
    for (int i = 0; i < digits; ++i) {
      if (i == point) s += '.';
      s += static_cast<char>('0' + rng() % 10);
    }
    double got = 0, want = 0;
    ASSERT_TRUE(readDecimal(s, &got)) << s;
    const char* from = s.c_str() + (s[0] == '+');
    std::from_chars(from, s.c_str() + s.size(), want);
    ASSERT_EQ(std::memcmp(&got, &want, sizeof got), 0) << s;
  }
  double v = 0;
  for (const char* bad : {"inf", "nan", "0x1p3", "1e400", "", "-", ".", "1.2.3", "12a"})
    EXPECT_FALSE(readDecimal(bad, &v)) << bad;
  EXPECT_TRUE(readDecimal("1.5e2", &v));
  EXPECT_EQ(v, 150.0);
}

// The list update's columns: "%8.3f" of floats and of differences of two, "%11.0f" of
// volumes, with exact ties (x.0625, x.5) and negatives that round to zero among them.
TEST(NumberText, FixedTextIsWhatPrintfWrites) {
  std::mt19937 rng(3);
  std::uniform_real_distribution<float> mag(-7, 9);
  auto check = [](double v) {
    char want[512];
    for (auto [width, decimals] : {std::pair{8, 3}, std::pair{11, 0}}) {
      std::snprintf(want, sizeof want, "%*.*f", width, decimals, v);
      ASSERT_EQ(fixedText(v, width, decimals), want) << v;
    }
  };
  for (int t = 0; t < 30000; ++t) {
    const float a = (t % 2 ? -1 : 1) * std::pow(10.0f, mag(rng)), b = std::pow(10.0f, mag(rng));
    check(a);
    check(static_cast<double>(a) - b);
    check(std::floor(a * 16) / 16);  // sixteenths: exact ties at three decimals
    check(std::floor(a) + 0.5);
  }
  for (double v : {0.0, -0.0, -0.0004, 0.0005, 0.0015, 2.5, 3.5, -2.5, 1e15, 3.4e38, 1e300})
    check(v);
}

}  // namespace
}  // namespace quova
