// The figures of the historical statistics dialog for a period and for all data.
#include "chart/hist_stats.h"

#include <cmath>
#include <cstdio>

#include "chart/chart_data.h"
#include "chart/chart_scales.h"
#include "chart/chart_settings.h"
#include "chart/fits.h"
#include "chart/polynomial.h"
#include "util/dates.h"

namespace quova {

namespace {

std::string cut(std::string t) {
  if (t.size() > kHistStatWidth - 1) t.resize(kHistStatWidth - 1);
  return t;
}

std::string num(const char* fmt, double v) {
  char t[64];
  std::snprintf(t, sizeof t, fmt, v);
  return cut(t);
}

std::string dateText(double day, int dateFormat) {
  char buf[32] = {};
  if (!(day >= 1 && day <= kMaxDayNumber) || show_date(static_cast<float>(day), buf, dateFormat, 4) != 0)
    return "";
  return cut(buf);
}

// One row of seven fields for quote i.
void quoteRow(const ChartData& d, int i, int dateFormat, std::string* f) {
  if (i < 0 || i >= d.num_quotes) return;
  f[histfield::Date] = dateText(d.q_date[i], dateFormat);
  f[histfield::Hi] = num("%10.3f", d.q_high[i]);
  f[histfield::Lo] = num("%10.3f", d.q_low[i]);
  f[histfield::Close] = num("%10.3f", d.q_close[i]);
  f[histfield::Volume] = num("%10.0f", d.q_vol[i]);
  if (i > 0) {
    const double prev = d.q_close[i - 1], change = d.q_close[i] - prev;
    f[histfield::Change] = num("%10.3f", change);
    if (prev != 0) f[histfield::Percent] = num("%6.2f", 100 * change / prev);
  }
}

void period(const ChartData& d, const ChartSettings& s, double t1, double t2, double from,
            double to, int dateFormat, std::string* f) {
  f[histfield::From] = dateText(from, dateFormat);
  f[histfield::To] = dateText(to, dateFormat);
  const HiLow h = find_hi_low(d, t1, t2);
  quoteRow(d, h.last, dateFormat, f + histfield::Last);
  quoteRow(d, h.hiClose, dateFormat, f + histfield::High);
  quoteRow(d, h.lowClose, dateFormat, f + histfield::Low);
  if (h.first >= 0 && h.last >= 0) {
    const double c0 = d.q_close[h.first], change = d.q_close[h.last] - c0;
    f[histfield::EndToEnd] = num("%10.3f", change);
    if (c0 != 0) f[histfield::EndToEnd + 1] = num("%6.2f", 100 * change / c0);
  }
  LinearTrend t;
  if (LinearLSF(d, t1, t2, s.poly_enabled != 0, t)) {
    f[histfield::BestFit] = num("%10.3f", static_cast<double>(t.change));
    f[histfield::BestFit + 1] = num("%6.2f", static_cast<double>(t.percent));
  } else {
    // Decided by the period's own count of quotes.
    f[histfield::BestFit] = countFitPoints(d, t1, t2) < 2 ? "too few" : "too many";
    f[histfield::BestFit + 1] = "quotes";
  }
}

}  // namespace

sHistStatData ShowHistStats(const ChartData& d, const ChartSettings& s, int dateFormat) {
  sHistStatData r;
  period(d, s, s.t_start, s.t_end, s.t_start, s.t_end, dateFormat, r.field.data());
  if (d.num_quotes > 0) {
    const double first = d.q_date[0], last = d.q_date[d.num_quotes - 1];
    std::string* f = r.field.data() + histfield::AllData;
    period(d, s, first, last, first, last, dateFormat, f);
    // The file's last quote, whatever the all-dates window found.
    for (int k = 0; k < 7; ++k) f[histfield::Last + k].clear();
    quoteRow(d, d.num_quotes - 1, dateFormat, f + histfield::Last);
  }
  return r;
}

double mean_value(int n, const float* values) {
  if (n < 1) return 0;
  double sum = 0;
  for (int i = 0; i < n; ++i) sum += values[i];
  return sum / n;
}

double sigma(int n, const float* values) {
  if (n < 1) return 0;
  double sq = 0;
  for (int i = 0; i < n; ++i) sq += static_cast<double>(values[i]) * values[i];
  const double m = mean_value(n, values), v = sq / n - m * m;
  return v > 0 ? std::sqrt(v) : 0.0;
}

int imod(int a, int b) { return b == 0 ? 0 : a % b; }

std::string histStatsTitle(std::string_view path) {
  return "Historical Statistics for Quotefile - " + std::string(path);
}

}  // namespace quova
