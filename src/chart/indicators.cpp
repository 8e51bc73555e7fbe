// Moving averages, volatility and the stochastic oscillator, and their curve walks.
#include "chart/indicators.h"

#include <cfloat>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/host.h"
#include "app/log.h"
#include "chart/chart_data.h"
#include "chart/chart_settings.h"

namespace quova {

float SMA(const ChartData& d, int i, int n) {
  if (n < 1 || i < n - 1 || i >= d.num_quotes) return 0.0f;
  float sum = 0.0f;
  for (int j = i - n + 1; j <= i; ++j) sum += d.q_close[j];
  return sum / static_cast<float>(n);
}

float Volatility(const ChartData& d, int i, int n) {
  if (n < 2 || i - n < 0 || i >= d.num_quotes) return 0.0f;
  double S = 0, Q = 0;
  for (int j = i - n + 1; j <= i; ++j) {
    if (d.q_close[j] <= 0 || d.q_close[j - 1] <= 0) return 0.0f;
    const double r = std::log(static_cast<double>(d.q_close[j]) / d.q_close[j - 1]);
    S += r;
    Q += r * r;
  }
  const double var = Q / (n - 1) - S * S / (static_cast<double>(n - 1) * n);
  if (!(var > 0)) return 0.0f;
  return static_cast<float>(std::sqrt(var) * 15.8745 * 100);
}

float StochasticK(const ChartData& d, int i, int n) {
  if (n < 1 || i >= d.num_quotes || i < 0) return 0.0f;
  float L = FLT_MAX, H = -FLT_MAX;
  for (int j = std::max(0, i - n + 1); j <= i; ++j) {
    L = std::min(L, d.q_low[j]);
    H = std::max(H, d.q_high[j]);
  }
  if (H == L) return 100.0f;
  return (d.q_close[i] - L) * 100.0f / (H - L);
}

namespace {

// The quotes a curve visits: from index 0 while the previous date is not after t_end,
// those dated at or after t_start. Calls f(i) for each.
template <class F>
void walkWindow(const ChartData& d, double tStart, double tEnd, F f) {
  for (int i = 0; i < d.num_quotes; ++i) {
    if (i > 0 && d.q_date[i - 1] > tEnd) break;
    if (d.q_date[i] >= tStart) f(i);
  }
}

}  // namespace

void AutoScaleVolatility(const ChartData& d, const ChartSettings& s, int n, double& vmin,
                         double& vmax) {
  walkWindow(d, s.t_start, s.t_end, [&](int i) {
    if (i < n) return;
    const double v = Volatility(d, i, n);
    vmin = std::min(vmin, v);
    vmax = std::max(vmax, v);
  });
}

VolatilityRange setVolatilityScale(const ChartData& d, const ChartSettings& s,
                                   VolatilityRange current) {
  MessBar("Initializing Volatility Calculations");
  if (!s.vol_auto_scale) return {s.vol_scale_min, s.vol_scale_max};
  double vmin = 1e8, vmax = -1e8;
  bool any = false;
  for (int k = 0; k < 4; ++k)
    if (s.vol_display[k]) {
      any = true;
      AutoScaleVolatility(d, s, s.vol_days[k], vmin, vmax);
    }
  if (!any || vmin > vmax) return current;
  return {vmin - 0.1 * vmin, vmax + 0.1 * vmax};
}

std::string lastSMAText(const ChartData& d, int days) {
  if (d.num_quotes - 1 - days < 0) return "NS Data";
  char t[64];
  std::snprintf(t, sizeof t, "%10.3f", SMA(d, d.num_quotes - 1, days));
  return t;
}

std::string lastVolatilityText(const ChartData& d, int days) {
  if (d.num_quotes - 1 - days < 1) return "NS Data";
  char t[64];
  std::snprintf(t, sizeof t, "%10.3f", Volatility(d, d.num_quotes - 1, days));
  return t;
}

namespace {

void appendCurve(PlotModel& m, const ChartData& d, const ValueAxis& axis, int days,
                 Polyline line, float (*value)(const ChartData&, int, int)) {
  walkWindow(d, m.time.tStart, m.time.tEnd, [&](int i) {
    if (i < days) return;
    line.points.push_back({m.time.x(d.q_date[i]), axis.y(value(d, i, days))});
  });
  if (!line.points.empty()) m.curves.push_back(std::move(line));
}

}  // namespace

void appendSMA(PlotModel& m, const ChartData& d, const ChartSettings& s, const Palette& colors,
               int which) {
  const Panel* p = m.panel(PanelKind::Price);
  if (!p || which < 0 || which > 2) return;
  Polyline l;
  l.name = "SMA " + std::to_string(which + 1);
  l.colour = colors[plotcolor::SMA1 + which];
  appendCurve(m, d, p->axis, s.sma_days[which], std::move(l), SMA);
}

void appendVolatility(PlotModel& m, const ChartData& d, const ChartSettings& s,
                      const Palette& colors, int which) {
  const Panel* p = m.panel(PanelKind::Volatility);
  if (!p || which < 0 || which > 3) return;
  Polyline l;
  l.name = "Volatility " + std::to_string(which + 1);
  l.colour = colors[plotcolor::Volatility1 + which];
  appendCurve(m, d, p->axis, s.vol_days[which], std::move(l), Volatility);
}

void appendStochastic(PlotModel& m, const ChartData& d, ChartSettings& s, const Palette& colors,
                      const TextMetrics& text) {
  const Panel* p = m.panel(PanelKind::Stochastic);
  if (!p || d.num_quotes == 0) return;
  const int kdays = s.stoch_k_days, ddays = s.stoch_d_days;
  bool signals = false;
  if (s.stoch_d_display) {
    signals = s.stoch_k_display != 0;
    if (ddays < 1) {
      MessageBox("Error ... Cannot Compute %D .... please set correct days in GlobalSetup.",
                 "in PlotStochastic", mb::ICONSTOP);
      s.stoch_d_display = 0;
      signals = false;
    }
  }
  const bool showK = s.stoch_k_display != 0, showD = s.stoch_d_display != 0;
  const double alpha = showD ? 1.0 / ddays : 0, beta = 1 - alpha;
  Polyline K{"%K", {}, colors[plotcolor::StochasticK], 1, PenStyle::Solid};
  Polyline D{"%D", {}, colors[plotcolor::StochasticD], 1, PenStyle::Solid};
  const ValueAxis& ax = p->axis;
  const int letterWidth = text.measure("S");
  const int yLetter = p->rect.bottom - text.lineHeight;
  bool stopped = false, anyLetter = false;
  int lastLetterX = 0, nK = 0;
  double sum = 0, Dv = 0, prevK = 0, prevD = 0;
  walkWindow(d, m.time.tStart, m.time.tEnd, [&](int i) {
    if (stopped || i < kdays) return;
    const double k = StochasticK(d, i, kdays);
    if (k < -1.0) {
      stopped = true;
      return;
    }
    const int x = m.time.x(d.q_date[i]);
    if (showK) K.points.push_back({x, ax.y(k)});
    if (!showD) return;
    ++nK;
    if (nK < ddays) {
      sum += k;
      prevK = k;
      return;
    }
    if (nK == ddays) {
      sum += k;
      Dv = sum / ddays;
    } else {
      Dv = alpha * k + beta * Dv;
    }
    D.points.push_back({x, ax.y(Dv)});
    if (signals && nK > ddays) {
      char letter = 0;
      if (Dv >= 80 && prevK > prevD && k <= Dv) letter = 'S';
      if (Dv <= 20 && prevK < prevD && k >= Dv) letter = 'B';
      if (letter && (!anyLetter || std::abs(x - lastLetterX) >= letterWidth)) {
        m.marks.push_back({letter, x, yLetter, letter == 'S' ? kRed : kGreen});
        anyLetter = true;
        lastLetterX = x;
      }
    }
    prevK = k;
    prevD = Dv;
  });
  if (!K.points.empty()) m.curves.push_back(std::move(K));
  if (!D.points.empty()) m.curves.push_back(std::move(D));
}

}  // namespace quova
