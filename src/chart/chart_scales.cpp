// The chart's axes: value-to-pixel mapping, panel layout, increment tables, label formats,
// value ticks, window extremes and the calendar tick rules.
#include "chart/chart_scales.h"

#include <cfloat>
#include <cmath>
#include <cstdio>

#if defined(__x86_64__)
#include <emmintrin.h>
#endif

#include "chart/chart_data.h"
#include "util/dates.h"

namespace quova {

// The divisions of the mapping are most of the cost of a curve's points; divpd gives the
// same quotients as divsd, and the clamps and the truncation are those of scale().
void scaleMany(const double* x, std::size_t n, double xmin, double xmax, int pmin, int pmax, int* out) {
  std::size_t i = 0;
#if defined(__x86_64__)
  double span = xmax - xmin;
  if (span == 0) span = 10.0;
  const __m128d lo = _mm_set1_pd(xmin), hi = _mm_set1_pd(xmax), sp = _mm_set1_pd(span),
                range = _mm_set1_pd(pmax - pmin), base = _mm_set1_pd(pmin),
                most = _mm_set1_pd(DBL_MAX), sign = _mm_set1_pd(-0.0);
  const __m128i bottom = _mm_set1_epi32(pmin);
  for (; i + 2 <= n; i += 2) {
    __m128d v = _mm_loadu_pd(x + i);
    const __m128d atLeast = _mm_cmpge_pd(v, lo);  // false for NaN, as in scale()
    v = _mm_or_pd(_mm_and_pd(atLeast, v), _mm_andnot_pd(atLeast, lo));
    const __m128d above = _mm_cmpgt_pd(v, hi);
    v = _mm_or_pd(_mm_and_pd(above, hi), _mm_andnot_pd(above, v));
    v = _mm_add_pd(_mm_div_pd(_mm_mul_pd(_mm_sub_pd(v, lo), range), sp), base);
    const __m128i finite = _mm_castpd_si128(_mm_cmple_pd(_mm_andnot_pd(sign, v), most));
    const __m128i finite32 = _mm_shuffle_epi32(finite, _MM_SHUFFLE(3, 1, 2, 0));
    const __m128i p = _mm_cvttpd_epi32(v);
    const __m128i r = _mm_or_si128(_mm_and_si128(finite32, p), _mm_andnot_si128(finite32, bottom));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + i), r);
  }
#endif
  for (; i < n; ++i) out[i] = scale(x[i], xmin, xmax, pmin, pmax);
}

PanelBorders layoutPanels(int top, int bottom, bool stochastic, bool volatility, bool volume) {
  const long long H = bottom - top;
  // Borders as exact fractions of H from the top: 2/3; 1/2, 3/4; 2/5, 3/5, 4/5.
  static constexpr int num[4][3] = {{0}, {2}, {2, 3}, {2, 3, 4}};
  static constexpr int den[4] = {1, 3, 4, 5};
  const int shown = stochastic + volatility + volume;
  auto at = [&](int k) { return k >= shown ? bottom : top + static_cast<int>(H * num[shown][k] / den[shown]); };
  PanelBorders b;
  b.priceTop = top;
  b.priceBottom = shown == 0 ? bottom : at(0);
  int k = 0;
  auto next = [&](int& t, int& e) {
    t = at(k);
    e = at(++k);
  };
  if (stochastic) next(b.stochTop, b.stochBottom);
  if (volatility) next(b.volatTop, b.volatBottom);
  if (volume) next(b.volumeTop, b.volumeBottom);
  return b;
}

// ---- increments ----

namespace {

// The 1-2-5 sequence: n = 0 is 1, 1 is 2, 2 is 5, 3 is 10, -1 is 0.5, ...
double seq(int n) {
  static constexpr double m[3] = {1, 2, 5};
  int e = n >= 0 ? n / 3 : -((-n + 2) / 3);
  double v = m[n - 3 * e];
  for (; e > 0; --e) v *= 10;
  for (; e < 0; ++e) v /= 10;
  return v;
}

Increments tableIncrements(double value, int smallest, int largest) {
  int n = largest + 1;  // above the largest threshold: as a threshold one step higher
  for (int k = smallest; k <= largest; ++k)
    if (value < seq(k)) {
      n = k;
      break;
    }
  Increments inc;
  inc.fine = static_cast<float>(seq(n - 4));
  inc.coarse = static_cast<float>(seq(n - 2));
  return inc;
}

}  // namespace

Increments get_quote_scale_increments(double range) {
  Increments inc = tableIncrements(range, -6, 27);  // 0.01 .. 1e9
  static constexpr double widthAt[6] = {2e8, 2e7, 2e6, 2e5, 2e4, 2000};
  int width = 10;
  for (double t : widthAt)
    if (range < t) --width;
  int precision = 0;
  static constexpr double precAt[4] = {10, 1, 0.1, 0.01};
  for (double t : precAt)
    if (range < t) ++precision;
  inc.width = std::to_string(width);
  inc.precision = std::to_string(precision);
  return inc;
}

Increments get_volume_scale_increments(double largestVolume) {
  return tableIncrements(largestVolume, 0, 27);  // 1.0 .. 1e9
}

Increments get_volatility_scale_increments(double range) {
  return tableIncrements(range, 1, 9);  // 2.0 .. 1000
}

std::string priceLabelFormat(double range) {
  const Increments inc = get_quote_scale_increments(range);
  return "%" + inc.width + "." + inc.precision + "f";
}

std::string priceLabel(double value, double range) {
  const std::string fmt = priceLabelFormat(range);
  char buf[64];
  std::snprintf(buf, sizeof buf, fmt.c_str(), value);
  return buf;
}

namespace {

std::string withCommas(std::string s, double value) {
  if (value >= 1000 && s.size() > 3) s.insert(s.size() - 3, ",");
  if (value >= 1e6 && s.size() > 7) s.insert(s.size() - 7, ",");
  return s;
}

std::string everyThreeDigits(double value) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.0f", value);
  std::string digits = buf, out;
  const std::size_t lead = digits[0] == '-' ? 1 : 0;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > lead && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return out;
}

}  // namespace

std::string volumeLabel(double value, double axisTop) {
  // Volumes of a billion and more get a comma every three digits.
  if (axisTop >= 1e9) return everyThreeDigits(value);
  const char* fmt = axisTop < 10      ? "%3.2f"
                    : axisTop < 100   ? "%3.1f"
                    : axisTop < 1000  ? "%4.0f"
                    : axisTop < 1e4   ? "%5.0f"
                    : axisTop < 1e5   ? "%6.0f"
                    : axisTop < 1e6   ? "%7.0f"
                    : axisTop < 1e7   ? "%8.0f"
                    : axisTop < 1e8   ? "%9.0f"
                                      : "%10.0f";
  char buf[64];
  std::snprintf(buf, sizeof buf, fmt, value);
  return withCommas(buf, value);
}

std::string percentLabel(double value) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%3.1f", value);
  return buf;
}

std::vector<double> valueTicks(double bottom, double top, double increment, std::size_t maxTicks) {
  std::vector<double> out;
  if (!(increment > 0) || !std::isfinite(bottom) || !std::isfinite(top) || top < bottom) return out;
  const double q = std::trunc(bottom / increment);
  if (!(std::fabs(q) < 9e15)) return out;
  const double first = std::trunc(q * increment - increment);
  long long k0 = std::llround(std::floor(first / increment));
  // Candidates below the bottom are never drawn: start just below it.
  const long long kb = static_cast<long long>(std::floor(bottom / increment)) - 1;
  if (kb > k0) k0 = kb;
  for (std::size_t i = 0; i < maxTicks + 2; ++i) {
    const double v = static_cast<double>(k0 + static_cast<long long>(i)) * increment;
    if (v > top) break;
    if (v >= bottom) {
      out.push_back(v);
      if (out.size() >= maxTicks) break;
    }
  }
  return out;
}

// ---- window extremes ----

bool WindowExtremes::anyPrice() const { return price_min <= price_max; }
bool WindowExtremes::anyVolume() const { return volume_min <= volume_max; }

WindowExtremes find_min_max_quotes(const ChartData& d, double t1, double t2) {
  WindowExtremes e{FLT_MAX, -FLT_MAX, FLT_MAX, -FLT_MAX};
  for (int i = 0; i < d.num_quotes; ++i) {
    const double t = d.q_date[i];
    if (t < t1 || t > t2) continue;
    for (float p : {d.q_high[i], d.q_low[i], d.q_close[i]})
      if (p > 0) {
        if (p < e.price_min) e.price_min = p;
        if (p > e.price_max) e.price_max = p;
      }
    const float v = d.q_vol[i];
    if (v > 0) {
      if (v < e.volume_min) e.volume_min = v;
      if (v > e.volume_max) e.volume_max = v;
    }
  }
  return e;
}

HiLow find_hi_low(const ChartData& d, double t1, double t2) {
  HiLow h;
  for (int i = 0; i < d.num_quotes; ++i) {
    const double t = d.q_date[i];
    if (t < t1 || t > t2) continue;
    if (h.first < 0) h.first = i;
    h.last = i;
    const float c = d.q_close[i], v = d.q_vol[i];
    if (c > 0) {
      if (h.hiClose < 0 || c > d.q_close[h.hiClose]) h.hiClose = i;
      if (h.lowClose < 0 || c < d.q_close[h.lowClose]) h.lowClose = i;
    }
    if (v > 0) {
      if (h.hiVolume < 0 || v > d.q_vol[h.hiVolume]) h.hiVolume = i;
      if (h.lowVolume < 0 || v < d.q_vol[h.lowVolume]) h.lowVolume = i;
    }
  }
  return h;
}

void remove_day(std::string& text) {
  const auto a = text.find('/');
  if (a == std::string::npos) return;
  const auto b = text.find('/', a + 1);
  if (b == std::string::npos) {
    text.erase(a);
    return;
  }
  text.erase(a, b - a);
}

// ---- time axis ----

void ClearTics(TicTime& t, double s) {
  for (int i = 0; i < 10; ++i) {
    t.level[i].enabled = false;
    t.level[i].penWidth = i == 2 ? 2 : 1;
    t.level[i].length = static_cast<std::int32_t>((i == 0 ? 6 : 10) * s);
  }
  t.labelLevel = 0;
  t.current = -1;
}

void GetTicIntervals(double span, double weeks, double months, double years, double decades,
                     TicTime& t, double s) {
  ClearTics(t, s);
  struct Row {
    int a, b, c, label;
  };
  Row r;
  bool asCleared = false;
  if (weeks <= 2) {
    r = {0, 1, 2, 0};
    asCleared = true;
  } else if (months <= 1) r = {0, 1, 2, 1};
  else if (months <= 8) r = {1, 2, 3, 2};
  else if (years <= 2) r = {2, 3, 4, 3};
  else if (years <= 5) r = {3, 4, 6, 5};
  else if (years <= 10) r = {3, 6, 7, 6};
  else if (years <= 35) r = {4, 6, 8, 7};
  else if (years <= 50) r = {5, 6, 8, 7};
  else r = {6, 8, 9, 8};
  const int lv[3] = {r.a, r.b, r.c};
  for (int k = 0; k < 3; ++k) {
    TicLevel& l = t.level[lv[k]];
    l.enabled = true;
    if (!asCleared) l.penWidth = k == 2 ? 2 : 1;
    l.length = static_cast<std::int32_t>((k == 0 ? 6 : 10) * s);
  }
  t.labelLevel = r.label;
}

bool CheckTicTime(int month, int year, TicTime& t) {
  const bool jan = month == 1;
  const bool tests[7] = {jan && year % 10 == 0, jan && year % 5 == 0, jan && year % 2 == 0, jan,
                         month == 1 || month == 7,
                         month == 1 || month == 4 || month == 7 || month == 10, true};
  t.current = -1;
  for (int k = 0; k < 7; ++k) {
    const int level = 9 - k;
    if (tests[k] && t.level[level].enabled) {
      t.current = level;
      break;
    }
  }
  return t.current >= 0 && t.current == t.labelLevel + 1;
}

double find_min_time(double t_start) {
  double t = 0, step = 1792;
  // Bounded: the last valid day number is reached in a few dozen steps.
  for (int guard = 0; t < t_start - 14 && guard < 100000; ++guard) {
    t += step;
    if (t >= t_start && t > t_start + 7) {
      step /= 2;
      while (t > t_start) t -= step;
    }
  }
  return t - 1;
}

std::vector<int> monthStarts(double t_start, double t_end, std::size_t maxMonths) {
  std::vector<int> out;
  if (!std::isfinite(t_start) || !std::isfinite(t_end)) return out;
  double first = std::floor(t_start);
  if (first < 1) first = 1;
  if (first > kMaxDayNumber) return out;
  int t = static_cast<int>(first);
  char text[16];
  show_date(static_cast<float>(t), text, DATE_FMT_US, 4);
  int parts[3];
  DecodeDate(text, parts);
  if (!(parts[1] == 1 && t > t_start)) t += get_next_month(text);
  while (t <= t_end && t <= kMaxDayNumber && out.size() < maxMonths) {
    out.push_back(t);
    show_date(static_cast<float>(t), text, DATE_FMT_US, 4);
    const int n = get_next_month(text);
    if (n <= 0) break;
    t += n;
  }
  return out;
}

std::string monthLabel(int month, int year, int dateFormat) {
  char buf[32];
  if (dateFormat == DATE_FMT_INTL) std::snprintf(buf, sizeof buf, "%02d/%02d", year, month);
  else std::snprintf(buf, sizeof buf, "%02d/%02d", month, year);
  return buf;
}

}  // namespace quova
