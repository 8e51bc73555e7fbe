// Analysis benchmarks: the full fundamental search (2000 points, order 50, 1000 steps) and
// an order-50 polynomial fit on 2000 points.
#include <benchmark/benchmark.h>

#include <cmath>

#include "chart/chart_data.h"
#include "chart/fits.h"

namespace {

quova::FITS fitsOf(int n, int bisects) {
  quova::ChartData d;
  for (int i = 0; i < n; ++i) {
    const double c = 100 + 0.01 * i + 5 * std::sin(i * 0.05) + 2 * std::cos(i * 0.31) + 0.5 * std::sin(i * 1.3);
    d.append(30000.0f + i * 1.4f, static_cast<float>(c + 1), static_cast<float>(c - 1),
             static_cast<float>(c), 1000);
  }
  quova::FITS f(n, 50, 50, bisects);
  f.load(d, -1e16, 1e16);
  return f;
}

void BM_FourierSearch(benchmark::State& state) {
  quova::FITS f = fitsOf(2000, 1000);
  f.PolynomialFit(2);
  for (auto _ : state) {
    f.FourierTrade(50);
    benchmark::DoNotOptimize(f.omega);
  }
}
BENCHMARK(BM_FourierSearch)->Unit(benchmark::kMillisecond)->Iterations(2);

// The same search on a given number of threads: how it scales from one core to two.
void BM_FourierSearchThreads(benchmark::State& state) {
  quova::FITS f = fitsOf(2000, 1000);
  f.PolynomialFit(2);
  f.search_threads = static_cast<int>(state.range(0));
  for (auto _ : state) {
    f.FourierTrade(50);
    benchmark::DoNotOptimize(f.omega);
  }
}
BENCHMARK(BM_FourierSearchThreads)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_PolynomialFit50(benchmark::State& state) {
  quova::FITS f = fitsOf(2000, 0);
  for (auto _ : state) {
    f.PolynomialFit(50);
    benchmark::DoNotOptimize(f.poly_coef[0]);
  }
}
BENCHMARK(BM_PolynomialFit50)->Unit(benchmark::kMicrosecond);

void BM_FourierLSF50(benchmark::State& state) {
  quova::FITS f = fitsOf(static_cast<int>(state.range(0)), 0);
  long double e = 0;
  for (auto _ : state) {
    f.FourierLSF(50, 0.05L, e);
    benchmark::DoNotOptimize(e);
  }
}
BENCHMARK(BM_FourierLSF50)->Arg(2000)->Arg(200)->Unit(benchmark::kMicrosecond);

}  // namespace
