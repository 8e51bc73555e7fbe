// The chart's axes: value-to-pixel mapping, panel layout, the increment tables and label
// formats of the value axes, their tick values, and the calendar tick rules of the time axis.
#pragma once

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quova {

struct ChartData;

// Clamps x into [xmin, xmax] and maps it linearly onto [pmin, pmax] (span 10 when
// xmin == xmax), truncated toward zero.
// Inline: every bar and curve point of a paint goes through it.
inline int scale(double x, double xmin, double xmax, int pmin, int pmax) {
  if (!(x >= xmin)) x = xmin;  // NaN clamps to the bottom as well
  if (x > xmax) x = xmax;
  double span = xmax - xmin;
  if (span == 0) span = 10.0;
  const double v = (x - xmin) * (pmax - pmin) / span + pmin;
  if (!std::isfinite(v)) return pmin;
  return static_cast<int>(v);
}
// scale() of n values into out, the same pixels, two at a time where SSE2 is there.
void scaleMany(const double* x, std::size_t n, double xmin, double xmax, int pmin, int pmax, int* out);

// ---- panels ----

struct PanelBorders {
  // Pixel rows (top, bottom) of each panel; a panel not shown has top == bottom == -1.
  int priceTop = 0, priceBottom = 0;
  int stochTop = -1, stochBottom = -1;
  int volatTop = -1, volatBottom = -1;
  int volumeTop = -1, volumeBottom = -1;
};
PanelBorders layoutPanels(int top, int bottom, bool stochastic, bool volatility, bool volume);

// ---- value axes ----

struct Increments {
  float fine = 0, coarse = 0;
  std::string width = "10", precision = "0";  // price axis label format parts
};
Increments get_quote_scale_increments(double range);
Increments get_volume_scale_increments(double largestVolume);
Increments get_volatility_scale_increments(double range);

// "%<width>.<precision>f" for the price axis.
std::string priceLabelFormat(double range);
std::string priceLabel(double value, double range);
// The volume label of a value on an axis whose top value is axisTop, commas included.
std::string volumeLabel(double value, double axisTop);
// Volatility and stochastic labels: "%3.1f".
std::string percentLabel(double value);

// The tick values of one axis: candidates from truncate(bottom / inc) * inc - inc on, in
// steps of inc, up to top, keeping those not below bottom. Counted in 64-bit steps, so no
// step is lost to rounding, and capped at maxTicks values.
std::vector<double> valueTicks(double bottom, double top, double increment,
                               std::size_t maxTicks = 100000);

// The price and volume extremes inside [t1, t2] (prices > 0, volumes > 0); the sentinels
// +-FLT_MAX remain where no value qualifies.
struct WindowExtremes {
  float price_min = 0, price_max = 0;
  float volume_min = 0, volume_max = 0;
  bool anyPrice() const;
  bool anyVolume() const;
};
WindowExtremes find_min_max_quotes(const ChartData& d, double t1, double t2);

// Indices inside [t1, t2]: highest and lowest close (> 0), highest and lowest volume (> 0),
// first and last quote; -1 where none.
struct HiLow {
  int hiClose = -1, lowClose = -1, hiVolume = -1, lowVolume = -1, first = -1, last = -1;
};
HiLow find_hi_low(const ChartData& d, double t1, double t2);

// Deletes the second "/"-separated field: "01/15/1999" becomes "01/1999".
void remove_day(std::string& text);

// ---- time axis ----

struct TicLevel {
  bool enabled = false;
  std::int32_t penWidth = 1;
  std::int32_t length = 10;
};
// Levels: 0 ninth of a day, 1 day, 2 week, 3 month, 4 quarter, 5 half year, 6 year,
// 7 two years, 8 five years, 9 ten years.
struct TicTime {
  std::array<TicLevel, 10> level{};
  std::int32_t labelLevel = 0;
  // Set by CheckTicTime: the level a date was classified as.
  int current = -1;
};

void ClearTics(TicTime& t, double s);
void GetTicIntervals(double span, double weeks, double months, double years, double decades,
                     TicTime& t, double s = 1.0);
// Classifies a first-of-month date (month 1..12, four-digit year) and keeps the level in
// t.current (-1 when no enabled level matches); true when it is a label date.
bool CheckTicTime(int month, int year, TicTime& t);

// The first regular tick at or before t_start: one less than a multiple of the final step.
double find_min_time(double t_start);

// The first days of the months after t_start up to t_end, as day numbers.
std::vector<int> monthStarts(double t_start, double t_end, std::size_t maxMonths = 12000);
// "%02d/%02d": month and four-digit year, or year and month for the international format.
std::string monthLabel(int month, int year, int dateFormat);

}  // namespace quova
