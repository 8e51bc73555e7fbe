// Chart benchmarks: loading a 30000-quote file into the arrays, and the plot model of
// 30000 quotes with every panel and overlay shown and a stored fit.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "base/log.h"
#include "chart/chart_data.h"
#include "chart/chart_settings.h"
#include "chart/fit_type.h"
#include "chart/indicators.h"
#include "chart/plot_model.h"
#include "quotes/quote_format.h"
#include "settings/settings.h"
#include "util/dates.h"

namespace {

quova::ChartData makeSeries(int n) {
  quova::ChartData d;
  for (int i = 0; i < n; ++i) {
    const float c = 50 + 20 * std::sin(i * 0.01f) + (i % 13) * 0.1f;
    d.append(static_cast<float>(20000 + i), c + 1, c - 1, c, 1000.0f + i % 5000);
  }
  d.loaded = true;
  quova::find_min_max_scales(d);
  return d;
}

std::string writeQuoteFile(int n) {
  const std::string path = (std::filesystem::temp_directory_path() / "quova_bench_chart.day").string();
  std::ofstream out(path);
  out << "SYMBOL: BENCH\nCOMPANY NAME: Bench Co\n";
  char date[16], line[128];
  for (int i = 0; i < n; ++i) {
    quova::show_date(static_cast<float>(20000 + i), date, quova::DATE_FMT_US, 4);
    std::snprintf(line, sizeof line, "%s   %.3f   %.3f   %.3f   %d\n", date, 51.0 + i % 7, 49.0 + i % 7,
                  50.0 + i % 7, 1000 + i % 5000);
    out << line;
  }
  return path;
}

void BM_LoadChart30000(benchmark::State& state) {
  const std::string path = writeQuoteFile(30000);
  const quova::OFtype fmt = quova::DefaultFormat();
  for (auto _ : state) {
    quova::ChartData d;
    quova::ChartSettings s;
    quova::ParseContext ctx;
    ctx.parse = quova::chartLineParser(fmt);
    if (quova::LoadData(path, d, s, ctx) != quova::LoadResult::Loaded || d.num_quotes != 30000)
      state.SkipWithError("load failed");
    benchmark::DoNotOptimize(d.q_close.data());
  }
  std::filesystem::remove(path);
}
BENCHMARK(BM_LoadChart30000)->Unit(benchmark::kMillisecond);

void BM_PlotModel30000(benchmark::State& state) {
  const quova::ChartData d = makeSeries(30000);
  quova::ChartSettings s;
  s.t_start = d.date_min - 1;
  s.t_end = d.date_max + 30;
  s.sma_display = {1, 1, 1};
  s.vol_display = {1, 1, 1, 1};
  s.stoch_k_display = s.stoch_d_display = 1;
  s.lsf_display = 1;
  s.volume_display = 1;
  // A fit stored over the middle third: backcast, fitted range and forecast are all drawn.
  quova::Fit_Type fit;
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
  quova::storeFit(s, fit);
  // The volatility axis as the view would have it.
  // Each paint logs its analysis checkpoints; keep them out of the working directory.
  quova::logState().QuovaLogFile = (std::filesystem::temp_directory_path() / "quova_bench.log").string();
  quova::PlotFrame f;
  f.volatility = quova::setVolatilityScale(d, s, f.volatility);
  f.width = 1200;
  f.height = 800;
  f.title = "Historical Quote BENCH";
  for (auto _ : state) {
    quova::PlotModel m = quova::buildPlotModel(d, s, quova::quovaPalette(), f);
    quova::writePlotLog(m);  // as a paint does
    if (m.curves.size() < 12) state.SkipWithError("an overlay is missing");
    benchmark::DoNotOptimize(m.bars.data());
  }
}
BENCHMARK(BM_PlotModel30000)->Unit(benchmark::kMillisecond);

}  // namespace
