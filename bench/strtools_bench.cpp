// Field extraction of a 180-character quote line, the parsers' innermost step.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "util/strtools.h"

static void BM_GetNext(benchmark::State& state) {
  std::string line = "IBM   International Business Machines   12/07/2026   4:00PM   170.250   171.500   169.875"
                     "   170.125   -0.375   5123400   169.90   170.30   18.5   4.84   9.2";
  line.resize(180, ' ');
  line.back() = 'x';
  char src[181];
  char field[41];
  int fields = 0;
  for (auto _ : state) {
    std::memcpy(src, line.c_str(), line.size() + 1);
    while (src[0] != 0) {
      quova::getnext(field, src, "  ", 41, 181);
      ++fields;
    }
    benchmark::DoNotOptimize(field);
  }
  state.counters["fields/line"] = static_cast<double>(fields) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_GetNext);
