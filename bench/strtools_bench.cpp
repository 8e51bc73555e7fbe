// Field extraction of a 180-character quote line, the parsers' innermost step.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "util/strtools.h"

// Counts the program's heap allocations, so a benchmark can show it makes none per call.
// (GCC takes the malloc/free pair below for a mismatch; it is the replacement itself.)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
static std::atomic<long> heapAllocations{0};
void* operator new(std::size_t n) {
  heapAllocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

static void BM_GetNext(benchmark::State& state) {
  std::string line = "IBM   International Business Machines   12/07/2026   4:00PM   170.250   171.500   169.875"
                     "   170.125   -0.375   5123400   169.90   170.30   18.5   4.84   9.2";
  line.resize(180, ' ');
  line.back() = 'x';
  char src[181];
  char field[41];
  int fields = 0;
  long allocationsBefore = heapAllocations.load();
  for (auto _ : state) {
    std::memcpy(src, line.c_str(), line.size() + 1);
    while (src[0] != 0) {
      quova::getnext(field, src, "  ", 41, 181);
      ++fields;
    }
    benchmark::DoNotOptimize(field);
  }
  state.counters["heap allocs/line"] =
      static_cast<double>(heapAllocations.load() - allocationsBefore) / static_cast<double>(state.iterations());
  state.counters["fields/line"] = static_cast<double>(fields) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_GetNext);
