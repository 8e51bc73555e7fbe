// Fuzz target: a .qtl file through the readers: the window's load, the paths and names of
// each request, and the list update (UDWatch, by symbol and by options) that reads the last
// two records of every quote file the list names.
#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "base/run_flags.h"
#include "quotes/quotelist.h"
#include "support/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quova;
  static const bool ready = [] {
    const std::string& dir = fuzz::workDir();
    runFlags().QuovaPath = dir;
    ::mkdir((dir + "quotes.day").c_str(), 0700);
    const char day[] = "SYMBOL: IBM\n12/04/2026  101.5  99.25  100  12000\n12/07/2026  102  100  101.75  9000\n";
    fuzz::inputFile("quotes.day/IBM.day", reinterpret_cast<const std::uint8_t*>(day), sizeof day - 1);
    return true;
  }();
  (void)ready;
  std::string path = fuzz::inputFile("list.qtl", data, size);
  std::vector<std::string> rows;
  LoadQuoteList(path, rows);
  for (const std::string& row : rows) {
    RequestPaths p;
    std::string description;
    ParseQuoteText(row, &p, &description);
    ParseQuoteTextforRecover(row, &p, &description);
    GetSymPath(row);
  }
  ListUpdate how;
  how.byOptions = size > 0 && data[0] == '#';
  UDWatch(path, how);
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) __builtin_trap();  // the update never loses the list
  std::fclose(f);
  return 0;
}
