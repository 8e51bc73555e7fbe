// Quote lists: request fields, derived paths, the list update and option insertion.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "quote_test_support.h"
#include "quotes/quotelist.h"
#include "quotes/text_lines.h"
#include "support/recording_host.h"
#include "util/paths.h"

using namespace quova;
using namespace quova::test;

namespace {

const char kRecords[] =
    "SYMBOL: IBM\nCOMPANY NAME: Intl Business\n"
    "12/04/2026     93.5          91 1/8      92 3/4       1234567     4:00\n"
    "12/07/2026     95            92          94.25        2000000     4:00\n";

struct ListTest : ::testing::Test {
  TestRoot root;
  ScopedHost host;
  void SetUp() override { std::filesystem::create_directories(root.file("quotes.day/funds")); }
  std::vector<std::string> rows(const std::string& name) {
    std::vector<std::string> r;
    EXPECT_TRUE(LoadQuoteList(root.file(name), r));
    return r;
  }
};

}  // namespace

TEST(RequestLine, FieldsAreCutAtTwoBlanksAndTheNameAtThree) {
  struct Case {
    const char* line;
    const char* symbol;
    const char* file;
    const char* name;
    const char* rest;
  } cases[] = {
      {"IBM   *   Intl  Business   ALARMSON  HA=1.000", "IBM", "*", "Intl  Business", "ALARMSON  HA=1.000"},
      {"IBM\t*\tIntl Business", "IBM", "*", "Intl Business", ""},  // a tab is two blanks
      {"COMMENT", "COMMENT", "", "", ""},
      {"", "", "", "", ""},
  };
  for (const Case& c : cases) {
    RequestFields f = splitRequestLine(c.line);
    EXPECT_EQ(f.symbol, c.symbol) << c.line;
    EXPECT_EQ(f.fileName, c.file) << c.line;
    EXPECT_EQ(f.coName, c.name) << c.line;
    EXPECT_EQ(f.rest, c.rest) << c.line;
  }
}

TEST_F(ListTest, PathsOfARequestAndTheirChecks) {
  root.write("quotes.day/funds/funds_VFINX.day", kRecords);
  RequestPaths p;
  std::string description;
  ASSERT_TRUE(ParseQuoteText("VFINX   funds\\VFINX   Index Fund   note", &p, &description));
  EXPECT_TRUE(sameFile(p.quoteFile, root.file("quotes.day/funds/funds_VFINX.day")));
  EXPECT_EQ(description, "Symbol -- VFINX          Index Fund          note");
  EXPECT_FALSE(ParseQuoteText("BRK.A   *   Berkshire", &p));
  EXPECT_TRUE(host.host.sawBox("Unable to locate file -- " + p.quoteFile, "Quote File Access Error"));
  EXPECT_NE(p.quoteFile.find("QUOTES.DAY\\BRKA.DAY"), std::string::npos);
  EXPECT_FALSE(ParseQuoteTextforRecover("VFINX   funds\\VFINX   Index Fund", &p));
  EXPECT_EQ(ParseFilePaths("EVIL   ..\\..\\x   Bad").quoteFile, "");
  EXPECT_EQ(GetSymPath("BRK.A   *   Berkshire"), "BRKA");
  EXPECT_EQ(GetSymPath("IBM   IBM\\IBM_L26   Calls"), "IBM\\IBM_IBM_L26");
}

TEST_F(ListTest, UpdateWritesTheLastQuoteIntoEveryRequest) {
  root.write("quotes.day/IBM.day", kRecords);
  root.write("quotes.day/ONE.day", "HEADER\n12/07/2026     10            9           9.5          100\n");
  root.write("quotes.day/funds/funds_VFINX.day", kRecords);
  root.write("watch.qtl",
             "MY HEADER  LINE\n"
             "IBM   *   Intl  Business   ALARMSON  HA=120.000  LA=95.500  old  columns\n"
             "ONE   *   Single Record\n"
             "GONE   *   Missing File\n"
             "LONELY\n"
             "VFINX\tfunds\\VFINX\tIndex Fund   ALARMSON  LA=5.000  HA=9.000\n");
  ListUpdate how;
  EXPECT_EQ(UDWatch(root.file("watch.qtl"), how), 4);
  std::vector<std::string> r = rows("watch.qtl");
  ASSERT_EQ(r.size(), 6u);
  EXPECT_EQ(r[0], "MY HEADER  LINE");
  EXPECT_EQ(r[1], "IBM   *   Intl  Business   ALARMSON   HA=120.000   LA=95.500   12/07/2026     95.000     92.000"
                  "     94.250      1.500       2000000   4:00");
  EXPECT_EQ(r[2], "ONE   *   Single Record   12/07/2026     10.000      9.000      9.500   unavail.           100   ");
  EXPECT_EQ(r[3], "GONE   *   Missing File   unavail.   unavail.   unavail.   unavail.   unavail.   unavail.   unavail.");
  EXPECT_EQ(r[4], "LONELY");
  // Alarm fields out of order are dropped; the subfolder file is found.
  EXPECT_EQ(r[5].substr(0, 50), "VFINX   funds\\VFINX   Index Fund   ALARMSON   12/0");
  EXPECT_EQ(host.host.statusTexts.back(), "Quotelist update complete!");
  EXPECT_EQ(root.read("watch.bak").substr(0, 16), "MY HEADER  LINE\n");
  // The international display format.
  how.displayDateFormat = 1022;
  UDWatch(root.file("watch.qtl"), how);
  EXPECT_NE(rows("watch.qtl")[1].find("2026/12/07"), std::string::npos);
}

TEST_F(ListTest, StoppedUpdateLeavesTheListAsItWas) {
  root.write("quotes.day/IBM.day", kRecords);
  std::string list = "HEADER\nIBM   *   Intl\nIBM   *   Intl\n";
  root.write("Watch.QTL", list);
  ListUpdate how;
  int calls = 0;
  how.stop = [&] { return ++calls > 1; };
  EXPECT_EQ(UDWatch(root.file("Watch.QTL"), how), -1);
  EXPECT_EQ(root.read("Watch.QTL"), list);
  // Derived files keep the path's own spelling.
  EXPECT_TRUE(std::filesystem::exists(root.file("Watch.bak")));
  EXPECT_TRUE(std::filesystem::exists(root.file("Watch.qft")));
  EXPECT_EQ(UDWatch(root.file("watch.txt"), ListUpdate()), -1);  // no ".qtl"
}

TEST_F(ListTest, LastTwoLinesOfLongAndOddFiles) {
  std::string big = "HEADER\n";
  for (int i = 0; i < 2000; ++i) big += "12/04/2026     1             1           1            1\n";
  big += "12/07/2026     2             1           1.5          7\r\n\x1A";
  root.write("quotes.day/BIG.day", big);
  root.write("quotes.day/JUNK.day", std::string(5000, 'x'));
  root.write("q.qtl", "H\nBIG   *   Big\nJUNK   *   Junk\n");
  ASSERT_EQ(UDWatch(root.file("q.qtl"), ListUpdate()), 2);
  std::vector<std::string> r = rows("q.qtl");
  EXPECT_NE(r[1].find("12/07/2026      2.000      1.000      1.500      0.500             7"), std::string::npos) << r[1];
  EXPECT_NE(r[2].find("unavail.   unavail."), std::string::npos);
}

TEST_F(ListTest, LoadAndSaveRows) {
  root.write("l.qtl", "HEADER\r\n\nIBM   *   Intl\n" + std::string(70000, 'y') + "\n\x1A");
  std::vector<std::string> r = rows("l.qtl");
  ASSERT_EQ(r.size(), 3u);  // the empty line is dropped, the long line stays one row
  EXPECT_EQ(r[0], "HEADER");
  EXPECT_EQ(r[2].size(), kLineCap);
  ASSERT_TRUE(SaveQuoteList(root.file("l.qtl"), {"HEADER", "IBM   *   Intl"}));
  EXPECT_EQ(root.read("l.qtl"), "HEADER\nIBM   *   Intl\n");
}

TEST(OptionWeight, YearFirstThenCode) {
  EXPECT_EQ(weight("IBM"), -1);
  EXPECT_EQ(weight("IBM_L26"), 2600 + ('L' - '0'));
  EXPECT_LT(weight("IBM_Z25"), weight("IBM_A26"));
}

TEST_F(ListTest, OptionSeriesAreInsertedInOrder) {
  root.write("opt.qtl",
             "HEADER\n"
             "IBM   IBM\\A26   IBM Calls\n"
             "IBM   IBM\\C26   IBM Calls\n"
             "MSFT   MSFT\\A26   MS Calls\n");
  root.write("opt.tmp", "IBM  IBM\\IBM_B26\nIBM  IBM\\IBM_A26\nXYZ  XYZ\\XYZ_A26\nIBM  IBMB26\n");
  EXPECT_EQ(UDOptions(root.file("opt.qtl")), 2);
  std::vector<std::string> r = rows("opt.qtl");
  ASSERT_EQ(r.size(), 6u);
  // B26 goes before C26; IBMB26 (no backslash: written unchanged) weighs as much as B26,
  // so it goes in front of it.
  EXPECT_EQ(r[1], "IBM   IBM\\A26   IBM Calls");
  EXPECT_EQ(r[2], "IBM   IBMB26   IBM Calls");
  EXPECT_EQ(r[3], "IBM   IBM\\B26   IBM Calls");
  EXPECT_EQ(r[4], "IBM   IBM\\C26   IBM Calls");
  EXPECT_EQ(r[5], "MSFT   MSFT\\A26   MS Calls");
  EXPECT_TRUE(host.host.sawBox("Search for and Insert New Options in Quotelist???\n\n(This may take a couple minutes.)",
                               "QUOVA UDOptions Message"));
}
