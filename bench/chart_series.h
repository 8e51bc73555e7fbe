// The 30000-quote chart the chart benchmarks draw: a series, and settings with every panel
// and overlay shown and a stored fit.
#pragma once

#include <cmath>

#include "chart/chart_data.h"
#include "chart/chart_settings.h"
#include "chart/fit_type.h"

namespace quova::bench {

inline ChartData makeSeries(int n) {
  ChartData d;
  for (int i = 0; i < n; ++i) {
    const float c = 50 + 20 * std::sin(i * 0.01f) + (i % 13) * 0.1f;
    d.append(static_cast<float>(20000 + i), c + 1, c - 1, c, 1000.0f + i % 5000);
  }
  d.loaded = true;
  find_min_max_scales(d);
  return d;
}

inline ChartSettings everyOverlay(const ChartData& d) {
  ChartSettings s;
  s.t_start = d.date_min - 1;
  s.t_end = d.date_max + 30;
  s.sma_display = {1, 1, 1};
  s.vol_display = {1, 1, 1, 1};
  s.stoch_k_display = s.stoch_d_display = 1;
  s.lsf_display = 1;
  s.volume_display = 1;
  // A fit stored over the middle third: backcast, fitted range and forecast are all drawn.
  Fit_Type fit;
  fit.valid = 1;
  fit.t_min = d.date_min + 10000;
  fit.t_max = d.date_min + 20000;
  fit.t_mid = d.date_min + 15000;
  fit.mean = 50;
  fit.poly_enabled = 1;
  fit.poly_order = 3;
  fit.poly_coef = {0, 1e-4L, 1e-9L, 1e-13L};
  fit.four_enabled = 1;
  fit.four_order = 20;
  for (int k = 1; k <= 2 * fit.four_order; ++k) fit.four_coef[k] = 1.0L / k;
  fit.omega = 6.283185307179586L / 10000;
  fit.n_bisects = 10;
  storeFit(s, fit);
  return s;
}

}  // namespace quova::bench
