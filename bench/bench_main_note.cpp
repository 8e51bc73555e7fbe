// The one benchmark program: each subsystem adds its benchmarks in a file of this folder.
#include <benchmark/benchmark.h>

#include "util/clock.h"

// The weekday rule is used on every date the calendar axis walks.
static void BM_GregorianWeekday(benchmark::State& state) {
  int d = 1;
  for (auto _ : state) {
    benchmark::DoNotOptimize(quova::gregorianWeekday(2026, 12, d));
    d = d % 28 + 1;
  }
}
BENCHMARK(BM_GregorianWeekday);
