// SMA, volatility and stochastic values, their curve walks, marks and the volatility axis.
#include "chart/indicators.h"

#include <gtest/gtest.h>

#include <cmath>

#include "chart/chart_data.h"
#include "chart/chart_settings.h"
#include "settings/settings.h"
#include "support/recording_host.h"

namespace quova {
namespace {

ChartData series(std::vector<float> closes) {
  ChartData d;
  for (std::size_t i = 0; i < closes.size(); ++i)
    d.append(1000.0f + i, closes[i] + 1, closes[i] - 1, closes[i], 100);
  d.loaded = true;
  return d;
}

TEST(Indicators, SMAValuesAndTexts) {
  std::vector<float> c;
  for (int i = 1; i <= 22; ++i) c.push_back(static_cast<float>(i));
  ChartData d = series(c);
  EXPECT_FLOAT_EQ(SMA(d, 9, 10), 5.5f);
  EXPECT_FLOAT_EQ(SMA(d, 21, 1), 22.0f);
  EXPECT_EQ(SMA(d, 5, 10), 0.0f);  // not enough quotes before it
  EXPECT_EQ(SMA(d, 5, 0), 0.0f);
  EXPECT_EQ(lastSMAText(d, 21), "    12.000");  // 22 quotes: mean of closes 2..22
  ChartData d21 = series(std::vector<float>(c.begin(), c.begin() + 21));
  EXPECT_EQ(lastSMAText(d21, 21), "NS Data");
  EXPECT_EQ(lastVolatilityText(d21, 20), "NS Data");
}

TEST(Indicators, VolatilityEdges) {
  ChartData d = series({10, 11, 10, 11, 10, 11});
  EXPECT_EQ(Volatility(d, 5, 1), 0.0f);
  // Alternating returns +-r: mean 0-ish, the formula by hand.
  const double r1 = std::log(11.0 / 10.0), r2 = std::log(10.0 / 11.0);
  const double S = 3 * r1 + 2 * r2, Q = 3 * r1 * r1 + 2 * r2 * r2;
  const double want = std::sqrt(Q / 4 - S * S / 20) * 15.8745 * 100;
  EXPECT_NEAR(Volatility(d, 5, 5), want, want * 1e-6);
  ChartData flat = series(std::vector<float>(30, 33.33f));
  EXPECT_EQ(Volatility(flat, 29, 20), 0.0f);  // never NaN on flat prices
  // Equal returns: closes doubling every day, or rising by a quarter (exact in floats). The
  // variance is 0, and rounding leaves the radicand slightly negative (-1.1e-16, -1.4e-17).
  std::vector<float> doubling, quarter;
  for (int i = 0; i < 22; ++i) doubling.push_back(std::ldexp(1.0f, i));
  for (float c = 1; quarter.size() < 5; c *= 1.25f) quarter.push_back(c);
  EXPECT_EQ(Volatility(series(doubling), 21, 21), 0.0f);
  EXPECT_EQ(Volatility(series(quarter), 3, 3), 0.0f);
  ChartData neg = series({10, 11, 0, 11, 12});
  EXPECT_EQ(Volatility(neg, 4, 2), 0.0f);  // the close before the range is 0
  EXPECT_GT(Volatility(neg, 4, 1 + 0), -1.0f);
}

TEST(Indicators, StochasticK) {
  ChartData d;
  for (int i = 0; i < 5; ++i) d.append(100.0f + i, 7, 7, 7, 0);
  EXPECT_EQ(StochasticK(d, 4, 3), 100.0f);  // equal highs and lows
  ChartData e;
  e.append(1, 10, 5, 6, 0);
  e.append(2, 2000000, 1500000, 1999000, 0);  // above the old 999999 sentinel
  EXPECT_NEAR(StochasticK(e, 1, 2), (1999000.0 - 5) * 100 / (2000000.0 - 5), 1e-3);
  EXPECT_NEAR(StochasticK(e, 1, 1), 99.8, 1e-4);
}

PlotModel modelFor(const ChartData& d, ChartSettings& s) {
  PlotFrame f;
  f.width = 600;
  f.height = 400;
  return setupPlot(d, s, quovaPalette(), f);
}

TEST(Indicators, SMACurveStartsAtIndexDays) {
  test::ScopedHost h;
  ChartData d = series({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
  find_min_max_scales(d);
  ChartSettings s;
  initquotes(d, s);
  s.sma_days = {10, 9, 3};
  PlotModel m = modelFor(d, s);
  appendSMA(m, d, s, quovaPalette(), 0);
  EXPECT_TRUE(m.curves.empty());  // 10 quotes, 10 days: no point
  appendSMA(m, d, s, quovaPalette(), 1);
  ASSERT_EQ(m.curves.size(), 1u);
  EXPECT_EQ(m.curves[0].points.size(), 1u);
  appendSMA(m, d, s, quovaPalette(), 2);
  EXPECT_EQ(m.curves[1].points.size(), 7u);
  EXPECT_EQ(m.curves[1].colour, quovaPalette()[plotcolor::SMA1 + 2]);
}

TEST(Indicators, StochasticDSeedsSmoothsAndSignals) {
  test::ScopedHost h;
  // Waves: K turns before D at the tops (S) and the bottoms (B).
  std::vector<float> c;
  for (int i = 0; i < 120; ++i) c.push_back(static_cast<float>(50 + 20 * std::sin(i / 6.0)));
  ChartData d;
  for (std::size_t i = 0; i < c.size(); ++i) d.append(2000.0f + i, c[i] + 0.5f, c[i] - 0.5f, c[i], 0);
  d.loaded = true;
  find_min_max_scales(d);
  ChartSettings s;
  initquotes(d, s);
  s.stoch_k_days = 5;
  s.stoch_d_days = 3;
  PlotModel m = modelFor(d, s);
  TextMetrics tm;
  appendStochastic(m, d, s, quovaPalette(), tm);
  ASSERT_EQ(m.curves.size(), 2u);
  const auto& K = m.curves[0].points;
  const auto& D = m.curves[1].points;
  EXPECT_EQ(K.size(), c.size() - 5);
  EXPECT_EQ(D.size(), K.size() - 2);
  EXPECT_EQ(D[0].x, K[2].x);
  bool sawS = false, sawB = false;
  int last = -1000;
  for (const Mark& mk : m.marks) {
    EXPECT_GE(std::abs(mk.x - last), tm.measure("S"));
    last = mk.x;
    sawS |= mk.letter == 'S' && mk.colour == kRed;
    sawB |= mk.letter == 'B' && mk.colour == kGreen;
  }
  EXPECT_TRUE(sawS);
  EXPECT_TRUE(sawB);

  s.stoch_d_days = 0;
  checkStochasticDays(s);
  PlotModel m2 = modelFor(d, s);
  appendStochastic(m2, d, s, quovaPalette(), tm);
  EXPECT_TRUE(h.host.sawBox("Error ... Cannot Compute %D .... please set correct days in GlobalSetup.",
                            "in PlotStochastic"));
  EXPECT_EQ(s.stoch_d_display, 0);
  EXPECT_EQ(m2.curves.size(), 1u);
  EXPECT_TRUE(m2.marks.empty());
}

TEST(Indicators, VolatilityScale) {
  test::ScopedHost h;
  ChartData d = series({10, 11, 10, 12, 10, 13, 10, 11});
  ChartSettings s;
  s.vol_days = {2, 3, 4, 5};
  s.vol_display = {0, 0, 0, 0};
  const VolatilityRange keep{5, 50};
  VolatilityRange r = setVolatilityScale(d, s, keep);
  EXPECT_EQ(r.bottom, 5);
  EXPECT_EQ(r.top, 50);
  s.vol_display = {1, 0, 0, 0};
  double lo = 1e8, hi = -1e8;
  AutoScaleVolatility(d, s, 2, lo, hi);
  r = setVolatilityScale(d, s, keep);
  EXPECT_DOUBLE_EQ(r.bottom, lo - 0.1 * lo);
  EXPECT_DOUBLE_EQ(r.top, hi + 0.1 * hi);
  s.vol_auto_scale = 0;
  s.vol_scale_min = 1;
  s.vol_scale_max = 9;
  r = setVolatilityScale(d, s, keep);
  EXPECT_EQ(r.bottom, 1);
  EXPECT_EQ(r.top, 9);
  EXPECT_EQ(h.host.statusTexts.back(), "Initializing Volatility Calculations");
}

}  // namespace
}  // namespace quova
