// The driver of one analysis run over the displayed window.
#include "chart/analysis_run.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "base/log.h"
#include "chart/chart_data.h"
#include "chart/chart_settings.h"
#include "chart/fits.h"
#include "chart/sin_cos.h"

namespace quova {

AnalysisResult Four_Anal(const ChartData& d, const ChartSettings& s, const AnalysisSetup& a,
                         Fit_Type& rec, const std::atomic<bool>* cancel) {
  AnalysisResult out;
  const int n = countFitPoints(d, s.t_start, s.t_end);
  const int order = s.poly_enabled ? std::clamp(s.poly_order, 0, n_poly_max) : 0;
  if (n < 2 || (s.poly_enabled && n <= order)) {
    MessBar("Too few quotes in the window for the analysis");
    return out;
  }
  FITS f(n, n_poly_max, n_four_max, s.n_bisects);
  f.cancel = cancel;
  f.load(d, s.t_start, s.t_end);
  if (s.poly_enabled) f.PolynomialFit(order);
  const int fo = std::clamp(s.four_order, 0, n_four_max);
  if (!s.four_enabled) {
    for (int i = 0; i < f.n; ++i) f.fit[i] = f.poly_val[i];
  } else if (a.fund_preset == 1) {
    long double w = a.fund_omega;
    if (!a.omegaSet) {
      // The displayed window's own fundamental, as the setup window offers it: its whole
      // number of days, of the window as it is shown (not the unclamped +-1e16 defaults).
      const double t1 = std::max<double>(s.t_start, d.t_full_min), t2 = std::min<double>(s.t_end, d.t_full_max);
      const double days = std::floor(t2 - t1);
      w = days >= 1 ? kTwoPi / days : 0;
    }
    long double e = 0;
    f.FourierLSF(fo, w, e);
    f.four_order = fo;
    f.FourFitVector(fo);
  } else {
    f.FourierTrade(fo);
    if (cancel && cancel->load()) return out;
    f.FourierFit();
  }
  if (a.fund_baseline == 1) {
    rec = Fit_Type{};
    rec.t_min = f.t_min;
    rec.t_max = f.t_max;
    rec.t_mid = f.t_mid;
    rec.mean = f.mean;
    rec.poly_enabled = s.poly_enabled;
    rec.poly_order = order;
    if (s.poly_enabled)
      for (int k = 0; k <= order; ++k) rec.poly_coef[k] = f.poly_coef[k];
    rec.four_enabled = s.four_enabled;
    rec.four_order = fo;
    if (s.four_enabled)
      for (int k = 0; k <= 2 * fo; ++k) rec.four_coef[k] = f.four_coef[k];
    rec.omega = f.omega;
    rec.n_bisects = f.n_bisects;
    rec.valid = 1;
  }
  long double sq = 0;
  for (int i = 0; i < f.n; ++i) {
    out.dates.push_back(static_cast<double>(f.x[i] + f.t_mid));
    out.values.push_back(static_cast<double>(f.mean + f.fit[i]));
    sq += (f.y[i] - f.fit[i]) * (f.y[i] - f.fit[i]);
  }
  out.rmsError = f.mean != 0 ? static_cast<double>(std::sqrt(sq / f.n) / f.mean * 100) : 0;
  char t[64];
  std::snprintf(t, sizeof t, "RMS Fit Error -- %6.3f %%", out.rmsError);
  out.rmsText = t;
  out.done = true;
  return out;
}

}  // namespace quova
