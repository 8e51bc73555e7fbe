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
#include "chart_series.h"

namespace {

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
  const quova::ChartData d = quova::bench::makeSeries(30000);
  const quova::ChartSettings s = quova::bench::everyOverlay(d);
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
