// Plain decimals read to the same double std::from_chars gives, for the short forms read
// without it as for the rest; non-numbers refused.
#include <gtest/gtest.h>

#include <charconv>
#include <cstring>
#include <random>
#include <string>

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

}  // namespace
}  // namespace quova
