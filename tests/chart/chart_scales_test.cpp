// The axes: mapping, panel layouts, increment tables, label formats, value ticks, the
// window extremes and the calendar tick rules.
#include "chart/chart_scales.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "chart/chart_data.h"
#include "util/dates.h"

namespace quova {
namespace {

TEST(ChartScales, ScaleClampsAndTruncates) {
  EXPECT_EQ(scale(5, 0, 10, 0, 100), 50);
  EXPECT_EQ(scale(-3, 0, 10, 0, 100), 0);
  EXPECT_EQ(scale(99, 0, 10, 0, 100), 100);
  EXPECT_EQ(scale(0.5, 0, 10, 200, 100), 195);  // value axis: bottom pixel first
  EXPECT_EQ(scale(3, 3, 3, 0, 100), 0);          // zero span counts as 10
}

TEST(ChartScales, ScaleManyGivesScalesPixels) {
  const double inf = HUGE_VAL, nan = std::nan("");
  const std::vector<double> xs = {5, -3, 99, 0.5, 3, 0, 10, 9.999999999, 1e-300, -0.0, nan, inf, -inf, 7.25};
  struct Axis {
    double lo, hi;
    int p0, p1;
  };
  for (const Axis& a : {Axis{0, 10, 0, 100}, Axis{0, 10, 200, 100}, Axis{3, 3, 0, 100},
                        Axis{-inf, 10, 0, 100}, Axis{0, 1e-310, 7, 900}, Axis{-1e9, 1e9, 5, 1205}})
    for (std::size_t n = 0; n <= xs.size(); ++n) {
      std::vector<int> out(n, -1);
      scaleMany(xs.data(), n, a.lo, a.hi, a.p0, a.p1, out.data());
      for (std::size_t i = 0; i < n; ++i)
        EXPECT_EQ(out[i], scale(xs[i], a.lo, a.hi, a.p0, a.p1)) << a.lo << " " << a.hi << " x " << xs[i];
    }
}

TEST(ChartScales, PanelLayoutsForEveryCombination) {
  struct Case {
    bool st, vt, vo;
    int priceBottom, stT, stB, vtT, vtB, voT, voB;
  };
  const Case cases[] = {
      {false, false, false, 600, -1, -1, -1, -1, -1, -1},
      {true, false, false, 400, 400, 600, -1, -1, -1, -1},
      {false, true, false, 400, -1, -1, 400, 600, -1, -1},
      {false, false, true, 400, -1, -1, -1, -1, 400, 600},
      {true, true, false, 300, 300, 450, 450, 600, -1, -1},
      {true, false, true, 300, 300, 450, -1, -1, 450, 600},
      {false, true, true, 300, -1, -1, 300, 450, 450, 600},
      {true, true, true, 240, 240, 360, 360, 480, 480, 600},
  };
  for (const Case& c : cases) {
    const PanelBorders b = layoutPanels(0, 600, c.st, c.vt, c.vo);
    EXPECT_EQ(b.priceTop, 0);
    EXPECT_EQ(b.priceBottom, c.priceBottom);
    EXPECT_EQ(b.stochTop, c.stT);
    EXPECT_EQ(b.stochBottom, c.stB);
    EXPECT_EQ(b.volatTop, c.vtT);
    EXPECT_EQ(b.volatBottom, c.vtB);
    EXPECT_EQ(b.volumeTop, c.voT);
    EXPECT_EQ(b.volumeBottom, c.voB) << c.st << c.vt << c.vo;
  }
}

TEST(ChartScales, IncrementTablesWorkedRows) {
  struct Case {
    double r;
    float fine, coarse;
    const char *width, *precision;
  };
  const Case price[] = {
      {37, 2, 10, "4", "0"},        {3, 0.2f, 1, "4", "1"},      {0.3, 0.02f, 0.1f, "4", "2"},
      {10, 1, 5, "4", "0"},         {0.005, 0.0005f, 0.002f, "4", "4"},
      {5e9, 1e8f, 5e8f, "10", "0"}, {1e5, 1e4f, 5e4f, "6", "0"},
  };
  for (const Case& c : price) {
    const Increments inc = get_quote_scale_increments(c.r);
    EXPECT_FLOAT_EQ(inc.fine, c.fine) << c.r;
    EXPECT_FLOAT_EQ(inc.coarse, c.coarse) << c.r;
    EXPECT_EQ(inc.width, c.width) << c.r;
    EXPECT_EQ(inc.precision, c.precision) << c.r;
  }
  EXPECT_EQ(priceLabelFormat(0.3), "%4.2f");
  EXPECT_FLOAT_EQ(get_volume_scale_increments(0.5).fine, 0.05f);
  EXPECT_FLOAT_EQ(get_volume_scale_increments(0.5).coarse, 0.2f);
  EXPECT_FLOAT_EQ(get_volume_scale_increments(2e9).coarse, 5e8f);
  EXPECT_FLOAT_EQ(get_volatility_scale_increments(1.0).fine, 0.1f);
  EXPECT_FLOAT_EQ(get_volatility_scale_increments(1.0).coarse, 0.5f);
  EXPECT_FLOAT_EQ(get_volatility_scale_increments(37).coarse, 10);
  EXPECT_FLOAT_EQ(get_volatility_scale_increments(5000).fine, 100);
}

TEST(ChartScales, LabelFormats) {
  EXPECT_EQ(volumeLabel(1234567, 5e6), " 1,234,567");  // "%8.0f" pads
  EXPECT_EQ(volumeLabel(950, 999), " 950");
  EXPECT_EQ(volumeLabel(5000, 9000), " 5,000");
  EXPECT_EQ(volumeLabel(2.5, 5), "2.50");
  EXPECT_EQ(volumeLabel(3000000000.0, 4e9), "3,000,000,000");  // a billion and more
  EXPECT_EQ(percentLabel(12.25), "12.2");
  EXPECT_EQ(priceLabel(37.5, 37), "  38");
}

TEST(ChartScales, ValueTicksStartBelowTheBottomAndNeverStall) {
  const auto t = valueTicks(33, 71, 10);
  EXPECT_EQ(t, (std::vector<double>{40, 50, 60, 70}));
  const auto f = valueTicks(0.35, 0.42, 0.02);
  ASSERT_EQ(f.size(), 4u);
  EXPECT_NEAR(f.front(), 0.36, 1e-12);
  EXPECT_NEAR(f.back(), 0.42, 1e-12);
  // A high price with a fine increment: a float accumulator would never advance.
  const auto h = valueTicks(700000.0, 700000.1, 0.02);
  EXPECT_EQ(h.size(), 6u);
  EXPECT_TRUE(valueTicks(0, 1e12, 1e-6, 1000).size() <= 1000u);
  EXPECT_TRUE(valueTicks(5, 1, 1).empty());
}

ChartData sample() {
  ChartData d;
  d.append(100, 10, 8, 9, 1000);
  d.append(101, 12, 9, 11, 0);
  d.append(102, -1, -1, 7, 500);
  d.append(103, 15, 14, 14.5f, 2000);
  return d;
}

TEST(ChartScales, WindowExtremesAndHiLow) {
  const ChartData d = sample();
  WindowExtremes e = find_min_max_quotes(d, 101, 102);
  EXPECT_EQ(e.price_min, 7);
  EXPECT_EQ(e.price_max, 12);
  EXPECT_EQ(e.volume_max, 500);
  e = find_min_max_quotes(d, 200, 300);
  EXPECT_FALSE(e.anyPrice());
  EXPECT_FALSE(e.anyVolume());
  ChartData big;
  big.append(1, 1500000, 1200000, 1400000, 1);  // above the old 999999 sentinel
  EXPECT_EQ(find_min_max_quotes(big, 0, 5).price_min, 1200000);
  const HiLow h = find_hi_low(d, 100, 103);
  EXPECT_EQ(h.hiClose, 3);
  EXPECT_EQ(h.lowClose, 2);
  EXPECT_EQ(h.hiVolume, 3);
  EXPECT_EQ(h.lowVolume, 2);
  EXPECT_EQ(h.first, 0);
  EXPECT_EQ(h.last, 3);
  std::string s = "01/15/1999";
  remove_day(s);
  EXPECT_EQ(s, "01/1999");
}

TEST(ChartScales, FindMinTimeGivesWeekTicks) {
  for (double t : {100.0, 28855.0, 36000.5, 45999.0, 20.0}) {
    const double m = find_min_time(t);
    EXPECT_LE(m, t + 7) << t;
    EXPECT_GT(m, t - 30) << t;
    EXPECT_EQ(static_cast<long long>(m + 1) % 7, 0) << t;
  }
  EXPECT_EQ(find_min_time(-1e16), -1);
  EXPECT_EQ(find_min_time(1e16), find_min_time(1e16));  // bounded
}

TEST(ChartScales, TicLevelsBySpan) {
  struct Case {
    double days;
    std::vector<int> enabled;
    int label;
  };
  const Case cases[] = {
      {10, {0, 1, 2}, 0},   {50, {1, 2, 3}, 2},    {3 * 365.25, {3, 4, 6}, 5},
      {40 * 365.25, {5, 6, 8}, 7}, {80 * 365.25, {6, 8, 9}, 8},
  };
  for (const Case& c : cases) {
    TicTime t;
    const double years = c.days / 365.25;
    GetTicIntervals(c.days, c.days / 7, years * 12, years, years / 10, t);
    std::vector<int> on;
    for (int i = 0; i < 10; ++i)
      if (t.level[i].enabled) on.push_back(i);
    EXPECT_EQ(on, c.enabled) << c.days;
    EXPECT_EQ(t.labelLevel, c.label);
    EXPECT_EQ(t.level[c.enabled[0]].length, 6);
    EXPECT_EQ(t.level[c.enabled[1]].length, 10);
    EXPECT_EQ(t.level[c.enabled[2]].penWidth, 2);
  }
  // 40 years: January of years divisible by 5 are labelled, other Januaries are year ticks.
  TicTime t;
  GetTicIntervals(40 * 365.25, 2087, 480, 40, 4, t);
  EXPECT_TRUE(CheckTicTime(1, 1995, t));
  EXPECT_EQ(t.current, 8);
  EXPECT_FALSE(CheckTicTime(1, 1996, t));
  EXPECT_EQ(t.current, 6);
  EXPECT_FALSE(CheckTicTime(3, 1996, t));
  EXPECT_EQ(t.current, -1);
  // Up to two years: quarters are labelled.
  GetTicIntervals(600, 600 / 7.0, 19.7, 1.64, 0.164, t);
  EXPECT_TRUE(CheckTicTime(4, 1999, t));
  EXPECT_FALSE(CheckTicTime(5, 1999, t));
  EXPECT_EQ(t.current, 3);
}

TEST(ChartScales, MonthWalkAndLabels) {
  const int jan15 = DayCount(1, 15, 1999);
  const auto m = monthStarts(jan15, DayCount(4, 1, 1999));
  ASSERT_EQ(m.size(), 3u);
  EXPECT_EQ(m[0], DayCount(2, 1, 1999));
  EXPECT_EQ(m[2], DayCount(4, 1, 1999));
  EXPECT_EQ(monthStarts(DayCount(3, 1, 2000) - 0.5, DayCount(3, 2, 2000))[0], DayCount(3, 1, 2000));
  EXPECT_EQ(monthLabel(2, 1999, 1021), "02/1999");
  EXPECT_EQ(monthLabel(2, 1999, 1022), "1999/02");
  EXPECT_TRUE(monthStarts(-1e16, -5).empty());
}

}  // namespace
}  // namespace quova
