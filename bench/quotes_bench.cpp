// ParseQuote over a generated quote file, and the list update over 5000 requests whose
// quote files each hold a year of quotes (it reads only each file's tail).
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/run_flags.h"
#include "quotes/quote_format.h"
#include "quotes/quote_line.h"
#include "quotes/quotelist.h"
#include "util/dates.h"

namespace {

// A record line of the default layout for a day.
std::string recordLine(int day, int i) {
  char date[16];
  std::snprintf(date, sizeof date, "%s", quova::charDate(static_cast<float>(day), quova::DATE_FMT_US, 4));
  char line[200];
  std::snprintf(line, sizeof line, "%-15s%-14s%-12s%-13s%-12d%s", date, "93.5", "91 1/8", "92.75",
                1000000 + i, "4:00");
  return line;
}

void BM_ParseQuote(benchmark::State& state) {
  std::vector<std::string> lines;
  int start = quova::DayCount(1, 2, 1990);
  for (int i = 0; i < 30000; ++i) lines.push_back(recordLine(start + i, i));
  quova::OFtype fmt = quova::DefaultFormat();
  quova::quotetype q;
  long bad = 0;
  for (auto _ : state) {
    for (const std::string& l : lines) bad += quova::ParseQuote(l.c_str(), &q, fmt);
    benchmark::DoNotOptimize(q);
  }
  if (bad) state.SkipWithError("a generated line did not parse");
  state.SetItemsProcessed(state.iterations() * static_cast<long>(lines.size()));
}
BENCHMARK(BM_ParseQuote)->Unit(benchmark::kMillisecond);

void BM_UDWatch5000(benchmark::State& state) {
  namespace fs = std::filesystem;
  fs::path root = fs::temp_directory_path() / ("quova-bench-" + std::to_string(::getpid()));
  fs::create_directories(root / "quotes.day");
  std::string year;
  int start = quova::DayCount(12, 8, 2025);
  for (int d = 0; d < 252; ++d) year += recordLine(start + d, d) + "\n";
  std::string list = "SYMBOL   FILE   NAME\n";
  for (int i = 0; i < 5000; ++i) {
    std::string sym = "S" + std::to_string(i);
    std::ofstream(root / "quotes.day" / (sym + ".day")) << "SYMBOL: " << sym << "\nCOMPANY NAME: x\n" << year;
    list += sym + "   *   Security " + std::to_string(i) + "\n";
  }
  std::string saved = quova::runFlags().QUOVAPATH;
  quova::runFlags().QUOVAPATH = root.string() + "/";
  std::string qtl = (root / "bench.qtl").string();
  long updated = 0;
  for (auto _ : state) {
    state.PauseTiming();
    std::ofstream(qtl) << list;
    state.ResumeTiming();
    updated = quova::UDWatch(qtl, quova::ListUpdate());
  }
  quova::runFlags().QUOVAPATH = saved;
  fs::remove_all(root);
  if (updated != 5000) state.SkipWithError("the update did not write every request");
}
BENCHMARK(BM_UDWatch5000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
