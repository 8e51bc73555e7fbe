// The chart's indicators: simple moving averages of the close, historical volatility and the
// stochastic oscillator (%K, smoothed %D, sell and buy signals), their values and the curves
// and marks they add to a plot model.
#pragma once

#include <vector>

#include "base/colors.h"
#include "chart/plot_model.h"

namespace quova {

struct ChartData;
struct ChartSettings;

// The mean of the n closes i - n + 1 .. i, summed in single precision; 0 when the range
// does not lie in the data or n < 1.
float SMA(const ChartData& d, int i, int n);
// Percent per annum from the n log returns ending at i; 0 when n < 2, when a close of the
// range (or the one before it) is not positive, and where rounding makes the variance < 0.
float Volatility(const ChartData& d, int i, int n);
// %K over the quotes i - n + 1 .. i: 100 when the highest high equals the lowest low.
float StochasticK(const ChartData& d, int i, int n);

// The log returns ln(close[j] / close[j - 1]) of a data set, taken once for all the
// volatility curves of a paint, and a running count of the returns that cannot be taken.
struct LogReturns {
  explicit LogReturns(const ChartData& d);
  // Takes the returns of d, keeping the buffers' capacity.
  void assign(const ChartData& d);
  std::vector<double> r;
  std::vector<int> bad;  // bad[j + 1]: returns 0..j with a close not positive (j = 0 counts)
};
// SMA(d, i, n) for each index of idx, the same values, computed faster.
std::vector<float> smaValues(const ChartData& d, const std::vector<int>& idx, int n);
// Volatility(d, i, n) for each index of idx, the same values, computed faster.
std::vector<float> volatilityValues(const ChartData& d, const LogReturns& returns,
                                    const std::vector<int>& idx, int n);

// Widens [vmin, vmax] with Volatility(i, n) of every quote i >= n inside the window.
void AutoScaleVolatility(const ChartData& d, const ChartSettings& s, int n, double& vmin,
                         double& vmax);
// The volatility axis: the manual scale, or the extremes of the displayed volatilities
// widened by a tenth; with automatic scaling and none displayed, `current` is kept.
VolatilityRange setVolatilityScale(const ChartData& d, const ChartSettings& s,
                                   VolatilityRange current);

// "Last SMA Value" / "Last Volatility": "%10.3f" of the last quote's value, or "NS Data".
std::string lastSMAText(const ChartData& d, int days);
std::string lastVolatilityText(const ChartData& d, int days);

// Curves appended to a model built by setupPlot (its panels and time axis).
void appendSMA(PlotModel& m, const ChartData& d, const ChartSettings& s, const Palette& colors,
               int which);
void appendVolatility(PlotModel& m, const ChartData& d, const ChartSettings& s,
                      const Palette& colors, int which);
void appendVolatility(PlotModel& m, const ChartData& d, const LogReturns& returns,
                      const ChartSettings& s, const Palette& colors, int which);
// %K, %D and the S/B marks; a %D period below 1 draws no %D and no marks.
void appendStochastic(PlotModel& m, const ChartData& d, const ChartSettings& s, const Palette& colors,
                      const TextMetrics& text);
// Where the settings are loaded or changed: a %D period below 1 while %D is shown gets its
// message and switches %D off. False then.
bool checkStochasticDays(ChartSettings& s);

}  // namespace quova
