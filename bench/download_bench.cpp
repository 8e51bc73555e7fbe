// The page parser over a generated 5 MB HTML quote table of 10000 rows with a typical
// table QCF: page text per second, and no save step, so the parse itself is measured.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "download/page_parser.h"
#include "download/qcf.h"

namespace {

struct Count : quova::ParseHooks {
  long quotes = 0;
  bool SaveQuoteLine(quova::QuoteData*, long& saved, int, long) override {
    ++quotes;
    ++saved;
    return true;
  }
};

std::string writeFile(const std::string& name, const std::string& text) {
  std::string path = (std::filesystem::temp_directory_path() / name).string();
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

}  // namespace

static void BM_ParsePage5MB(benchmark::State& state) {
  std::string qcf = writeFile("bench_table.qcf",
                              "Page=http://quotes.example/q?s=\nby_symbol\nNumQuotesPerPage=10\n+\n"
                              "GroupTrigger=Last Trade\nCorrelateBy=Symbol\nTriggerString=None\n1\nNoDate\nNoTime\n"
                              "Symbol  Co_name  Close  Hi  Low  Volume  Time\n");
  std::string page = "<html><body><table>\n<tr><th>Symbol</th><th>Last Trade</th></tr>\n";
  char row[1024];
  for (int i = 0; page.size() < 5u * 1024 * 1024 || i < 10000; ++i) {
    std::snprintf(row, sizeof row,
                  "<tr class=\"row\"><td class=\"sym\"><a href=\"/q?s=S%05d\">S%05d</a></td>"
                  "<td class=\"name\">Security number %d Holdings Inc</td><td class=\"px\">%d 3/8</td>"
                  "<td class=\"px\">%d.25</td><td class=\"px\">%d.75</td><td class=\"vol\">1,%03d,500</td>"
                  "<td class=\"t\" title=\"%0*d\">4:%02d</td></tr>\n",
                  i, i, i, 10 + i % 90, 11 + i % 90, 9 + i % 90, i % 1000, 300, 0, i % 60);
    page += row;
  }
  page += "</table></body></html>\n";
  std::string pagePath = writeFile("bench_page.htm", page);
  quova::QcfInput in;
  in.configError = [](std::string_view) {};
  quova::DownloadSettings s;
  if (quova::ReadSessionQCF(qcf, in, &s) != quova::QcfResult::Ready) {
    state.SkipWithError("the QCF did not read");
    return;
  }
  long quotes = 0;
  for (auto _ : state) {
    Count hooks;
    quova::PageParser parser(s, hooks);
    benchmark::DoNotOptimize(parser.ParseQuotesQCF(pagePath));
    quotes = hooks.quotes;
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(page.size()));
  state.counters["quotes"] = static_cast<double>(quotes);
  state.counters["page_MB"] = static_cast<double>(page.size()) / (1024.0 * 1024.0);
}
BENCHMARK(BM_ParsePage5MB)->Unit(benchmark::kMillisecond);
