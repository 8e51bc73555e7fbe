// The straight-line trend of a period (LinearLSF) for the statistics.
#pragma once

namespace quova {

struct ChartData;

struct LinearTrend {
  long double P1 = 0, P2 = 0, change = 0, percent = 0;
};
// 1 when a trend was computed; 0 below 2 or above 2000 points. Without the polynomial fit
// enabled the trend is flat at the mean.
int LinearLSF(const ChartData& d, double t1, double t2, bool polyEnabled, LinearTrend& out);

}  // namespace quova
