// The statistics record: rows, changes, the best-fit texts and their widths.
#include "chart/hist_stats.h"

#include <gtest/gtest.h>

#include <vector>

#include "chart/chart_data.h"
#include "chart/chart_settings.h"
#include "support/recording_host.h"
#include "util/dates.h"

namespace quova {
namespace {

using namespace histfield;

TEST(HistStats, OneQuoteFillsEveryRowWithTheSameQuote) {
  test::ScopedHost h;
  ChartData d;
  d.append(36000, 11, 9, 10, 1234);
  find_min_max_scales(d);
  ChartSettings s;
  initquotes(d, s);
  const sHistStatData r = ShowHistStats(d, s, 1021);
  for (int base : {0, AllData}) {
    for (int row : {Last, High, Low}) {
      EXPECT_EQ(r.field[base + row + Close], "    10.000");
      EXPECT_EQ(r.field[base + row + Volume], "      1234");
      EXPECT_EQ(r.field[base + row + Change], "");
      EXPECT_EQ(r.field[base + row + Percent], "");
    }
    EXPECT_EQ(r.field[base + EndToEnd], "     0.000");
    EXPECT_EQ(r.field[base + BestFit], "too few");
    EXPECT_EQ(r.field[base + BestFit + 1], "quotes");
  }
  char buf[32] = {};
  show_date(36000, buf, 1021, 4);
  EXPECT_EQ(r.field[Last + Date], buf);
  EXPECT_EQ(r.field[AllData + From], buf);
  EXPECT_EQ(histStatsTitle("C:\\Q\\IBM.day"), "Historical Statistics for Quotefile - C:\\Q\\IBM.day");
}

TEST(HistStats, ChangesTrendsAndTooManyQuotes) {
  test::ScopedHost h;
  ChartData d;
  // The first quote has the highest close; then a steady rise from 50.
  d.append(30000, 200, 190, 200, 5);
  for (int i = 1; i < 2500; ++i) d.append(30000.0f + i, 0, 0, 50.0f + i * 0.01f, 7);
  find_min_max_scales(d);
  ChartSettings s;
  initquotes(d, s);
  s.t_start = 30000;
  s.t_end = 31000;
  sHistStatData r = ShowHistStats(d, s, 1021);
  EXPECT_EQ(r.field[High + Close], "   200.000");
  EXPECT_EQ(r.field[High + Change], "");
  EXPECT_EQ(r.field[Low + Change], "  -149.990");
  EXPECT_EQ(r.field[Low + Percent], "-75.00");
  EXPECT_EQ(r.field[EndToEnd + 1], "-70.00");  // 200 to 60
  EXPECT_NE(r.field[BestFit], "too many");  // 1001 points: a trend
  EXPECT_EQ(r.field[AllData + BestFit], "too many");
  EXPECT_EQ(r.field[AllData + BestFit + 1], "quotes");
  s.t_start = 30000;
  s.t_end = 32600;
  r = ShowHistStats(d, s, 1021);
  EXPECT_EQ(r.field[BestFit], "too many");
  EXPECT_EQ(r.field[BestFit + 1], "quotes");
  // A period with one quote inside a large chart says "too few".
  d.append(40000, 0, 0, 60, 0);
  s.t_start = 40000;
  s.t_end = 40000;
  r = ShowHistStats(d, s, 1021);
  EXPECT_EQ(r.field[BestFit], "too few");
  EXPECT_EQ(r.field[AllData + BestFit], "too many");
  ChartData big;
  big.append(1000, 0, 0, 1e9f, 0);
  ChartSettings s2;
  initquotes(big, s2);
  r = ShowHistStats(big, s2, 1021);
  for (const std::string& f : r.field) EXPECT_LE(f.size(), 11u);
}

TEST(HistStats, SmallFigures) {
  const float v[] = {2, 4, 4, 4, 5, 5, 7, 9};
  EXPECT_DOUBLE_EQ(mean_value(8, v), 5.0);
  EXPECT_DOUBLE_EQ(sigma(8, v), 2.0);
  EXPECT_EQ(mean_value(0, v), 0.0);
  // A hundred equal values: rounding leaves sum v^2 / n - mean^2 a hair below 0 for these
  // (-6.7e-16); the deviation is 0, never NaN.
  for (float x : {1.15069997f, 1.16439998f, 33.33f}) {
    const std::vector<float> flat(100, x);
    EXPECT_EQ(sigma(100, flat.data()), 0.0) << x;
  }
  EXPECT_EQ(imod(17, 5), 2);
  EXPECT_EQ(imod(-17, 5), -2);
  EXPECT_EQ(imod(3, 0), 0);
}

}  // namespace
}  // namespace quova
