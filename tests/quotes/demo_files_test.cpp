// The demo root's files: its histories read as quote files in the default layout, its
// quote lists name those histories and show what the list update writes, and every list
// of its daily.dcf has a configuration file and a sample page for each request.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "quote_test_support.h"
#include "quotes/quote_line.h"
#include "quotes/quotelist.h"
#include "support/recording_host.h"
#include "util/clock.h"
#include "util/paths.h"

using namespace quova;
using namespace quova::test;
namespace fs = std::filesystem;

namespace {

fs::path demoDir() { return fs::path(QUOVA_SOURCE_DIR) / "demo"; }

std::string readFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);) out.push_back(l);
  return out;
}

// The quote lists of the demo's daily.dcf (first token of every line that is not a comment).
std::vector<std::string> dcfLists() {
  std::vector<std::string> out;
  for (const std::string& l : lines(readFile(demoDir() / "daily.dcf")))
    if (!l.empty() && l[0] != '/') out.push_back(l.substr(0, l.find("  ")));
  return out;
}

std::vector<fs::path> histories() {
  std::vector<fs::path> out;
  for (const auto& e : fs::recursive_directory_iterator(demoDir() / "quotes.day"))
    if (e.is_regular_file() && e.path().extension() == ".day") out.push_back(e.path());
  return out;
}

}  // namespace

TEST(DemoFiles, HistoriesAreTradingDaysInTheDefaultLayout) {
  std::vector<fs::path> files = histories();
  ASSERT_GE(files.size(), 3u);
  for (const fs::path& f : files) {
    SCOPED_TRACE(f.string());
    std::string text = readFile(f);
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.back(), '\n');
    EXPECT_EQ(text.find('\r'), std::string::npos);
    std::vector<std::string> ls = lines(text);
    ASSERT_GT(ls.size(), 2u);
    // The header as Header.day gives it; neither line reads as a record.
    EXPECT_EQ(ls[0].rfind("SYMBOL: ", 0), 0u);
    EXPECT_EQ(ls[1].rfind("COMPANY NAME: ", 0), 0u);
    for (int i = 0; i < 2; ++i) {
      quotetype q;
      EXPECT_EQ(ParseQuote(ls[i].c_str(), &q, DefaultFormat()), 1) << ls[i];
    }
    int previous = -1, records = 0;
    for (std::size_t i = 2; i < ls.size(); ++i) {
      const std::string& l = ls[i];
      quotetype q;
      ASSERT_EQ(ParseQuote(l.c_str(), &q, DefaultFormat()), 0) << l;
      EXPECT_LE(l.size(), 180u);
      EXPECT_EQ(l.find_last_not_of(' '), l.size() - 1) << "trailing blanks: " << l;
      EXPECT_GT(q.date, previous) << l;
      previous = q.date;
      int month = 0, day = 0, year = 0;
      ASSERT_EQ(std::sscanf(l.c_str(), "%2d/%2d/%4d", &month, &day, &year), 3) << l;
      int wd = gregorianWeekday(year, month, day);
      EXPECT_TRUE(wd >= 1 && wd <= 5) << "not a weekday: " << l;
      EXPECT_GT(q.low, 0.0f) << l;
      EXPECT_LE(q.low, q.close) << l;
      EXPECT_LE(q.close, q.hi) << l;
      EXPECT_GE(q.volume, 0.0f) << l;
      EXPECT_EQ(q.time, 1600) << l;
      // The writer's columns: high at 15, low at 29, close at 41, volume at 54, time at 66.
      for (std::size_t col : {15u, 29u, 41u, 54u, 66u}) {
        ASSERT_GT(l.size(), col) << l;
        EXPECT_EQ(l[col - 1], ' ') << l;
        EXPECT_NE(l[col], ' ') << l;
      }
      ++records;
    }
    EXPECT_GE(records, 450);  // about two years
  }
}

// Run on a copy of the demo root, the list update finds every request's history and
// writes exactly the lists as committed, so their display columns match the histories.
TEST(DemoFiles, ListsNameTheHistoriesAndShowTheirLastQuotes) {
  TestRoot root;
  ScopedHost host;
  fs::copy(demoDir(), root.dir.path(), fs::copy_options::recursive | fs::copy_options::overwrite_existing);
  std::vector<std::string> lists = dcfLists();
  ASSERT_EQ(lists.size(), 2u);
  for (const std::string& list : lists) {
    SCOPED_TRACE(list);
    std::string committed = readFile(demoDir() / list);
    std::vector<std::string> ls = lines(committed);
    ASSERT_GE(ls.size(), 3u);
    for (std::size_t i = 1; i < ls.size(); ++i) {
      RequestPaths p = ParseFilePaths(ls[i]);
      EXPECT_TRUE(fs::is_regular_file(nativePath(p.quoteFile))) << ls[i];
      EXPECT_EQ(ls[i].find("unavail."), std::string::npos) << ls[i];
      EXPECT_EQ(readFile(nativePath(p.quoteFile)).rfind("SYMBOL: " + p.symbol + "\n", 0), 0u) << p.quoteFile;
    }
    EXPECT_EQ(UDWatch(root.file(list), ListUpdate()), static_cast<long>(ls.size() - 1));
    EXPECT_EQ(root.read(list), committed);
  }
}

// Each list has its configuration file, and the sample pages quote each of its requests.
TEST(DemoFiles, EveryListHasItsConfigurationAndPages) {
  std::string watchPage = readFile(demoDir() / "pages" / "watch.html");
  for (const std::string& list : dcfLists()) {
    SCOPED_TRACE(list);
    std::string base = list.substr(0, list.find('.'));
    fs::path qcf = demoDir() / "QuoteList Configuration Files" / (base + ".qcf");
    std::string script = readFile(qcf);
    ASSERT_FALSE(script.empty()) << qcf;
    EXPECT_NE(script.find("http://127.0.0.1:8765/"), std::string::npos);
    for (const std::string& l : lines(script)) EXPECT_LE(l.size(), 180u) << l;
    std::vector<std::string> ls = lines(readFile(demoDir() / list));
    for (std::size_t i = 1; i < ls.size(); ++i) {
      std::string symbol = splitRequestLine(ls[i]).symbol;
      if (base == "watch")
        EXPECT_NE(watchPage.find("<tr><td>" + symbol + "</td>"), std::string::npos) << symbol;
      else
        EXPECT_NE(readFile(demoDir() / "pages" / "funds" / (symbol + ".html")).find("<p>Fund " + symbol + "   "),
                  std::string::npos)
            << symbol;
    }
  }
}
