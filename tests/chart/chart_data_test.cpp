// Loading a quote file into the chart arrays: headers, rejected lines and the user's
// choice, the 30000 limit, progress texts, and the extremes and window after a load.
#include "chart/chart_data.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "base/run_flags.h"
#include "chart/chart_settings.h"
#include "quotes/quote_format.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

namespace quova {
namespace {

// "date high low close volume", the date a plain day number; anything else is rejected,
// with the date kept when the first word reads.
bool simpleParse(const char* line, ChartQuote& q) {
  int date;
  float h, l, c, v;
  char extra;
  if (std::sscanf(line, "%d", &date) == 1) q.date = date;
  if (std::sscanf(line, "%d %f %f %f %f %c", &date, &h, &l, &c, &v, &extra) != 5) return false;
  q = {date, h, l, c, v};
  return true;
}

ParseContext context() {
  ParseContext ctx;
  ctx.parse = simpleParse;
  ctx.quoteFilePath = "QUOTES.DAY\\IBM.DAY";
  return ctx;
}

TEST(ChartLoad, HeadersSkippedThenQuotes) {
  test::ScopedHost h;
  std::istringstream in("SYMBOL: IBM\r\nCOMPANY NAME: Intl\r\nsome note\r\n100 2 1 1.5 10\r\n101 3 2 2.5 0\r\n\x1a");
  ChartData d;
  ParseContext ctx = context();
  EXPECT_EQ(Parse(in, d, ctx), 2);
  EXPECT_TRUE(h.host.boxes.empty());
  EXPECT_EQ(d.q_date[1], 101);
  EXPECT_EQ(d.q_close[0], 1.5f);
  find_min_max_scales(d);
  EXPECT_EQ(d.price_min, 1);
  EXPECT_EQ(d.price_max, 3);
  EXPECT_EQ(d.volume_min, 10);
  ChartSettings s;
  initquotes(d, s);
  EXPECT_EQ(s.t_start, 99);
  EXPECT_EQ(s.t_end, 131);
}

TEST(ChartLoad, RejectedLineAnswers) {
  const char* file = "100 2 1 1.5 10\n100 bad\nxx bad\n102 3 2 2.5 5\n";
  struct Case {
    int answer;
    int result;
    const char* suffix;
  };
  for (const Case c : {Case{IDNO, 2, nullptr}, Case{IDCANCEL, 1, " -- duplicate date...use Mendora??"},
                       Case{IDYES, -2, " -- duplicate date...use Mendora??"}}) {
    test::ScopedHost h;
    h.host.answers = {c.answer, c.answer};
    std::istringstream in(file);
    ChartData d;
    ParseContext ctx = context();
    bool repair = false;
    ctx.requestRepair = [&] { repair = true; };
    runFlags().QuovaPath = "/root/q/";
    runFlags().FileToFixPath.clear();
    EXPECT_EQ(Parse(in, d, ctx), c.result);
    ASSERT_FALSE(h.host.boxes.empty());
    EXPECT_EQ(h.host.boxes[0].caption, "Quote Processing ERRORS");
    EXPECT_EQ(h.host.boxes[0].flags & mb::TYPEMASK, mb::YESNOCANCEL);
    if (c.answer == IDNO) {
      ASSERT_EQ(h.host.boxes.size(), 2u);
      EXPECT_EQ(h.host.boxes[0].text, "100 bad -- duplicate date...use Mendora??");
      EXPECT_EQ(h.host.boxes[1].text, "xx bad -- corrupted Quote Date...use Mendora??");
    }
    EXPECT_EQ(repair, c.answer == IDYES);
    if (c.answer == IDYES) EXPECT_EQ(runFlags().FileToFixPath, "..\\QUOTES.DAY\\IBM.DAY");
  }
  runFlags().QuovaPath.clear();
}

TEST(ChartLoad, LinesAsTheParserSeesThem) {
  // A line far past the first block of the reader, and one across its end.
  std::string big, across = std::string(300, 'y');
  std::vector<std::string> bigLines;
  while (big.size() < (1u << 20) - 100) big += "12345678\n", bigLines.push_back("12345678");
  big += across + "\nz";
  bigLines.push_back(across.substr(0, 180));
  bigLines.push_back("z");
  struct Case {
    std::string text;
    std::vector<std::string> lines;
  } cases[] = {
      {"a\r\nb\n\nc", {"a", "b", "", "c"}},
      {std::string(200, 'x') + "\nz\n", {std::string(180, 'x'), "z"}},  // the rest of a long line is skipped
      {std::string("ab\0cd\nz", 7), {"ab", "z"}},
      {"a\n\x1a\nb\n", {"a", "\x1a", "b"}},  // only a final Ctrl-Z ends the file
      {"a\n\x1a\r\n", {"a"}},
      {big, bigLines},
  };
  for (const Case& c : cases) {
    std::vector<std::string> seen;
    ParseContext ctx = context();
    ctx.parse = [&seen](const char* line, ChartQuote&) {
      seen.push_back(line);
      return false;
    };
    std::istringstream in(c.text);
    ChartData d;
    EXPECT_EQ(Parse(in, d, ctx), 0);
    EXPECT_EQ(seen, c.lines) << c.text.substr(0, 20);
  }
}

TEST(ChartLoad, RepairPathKeepsTheSubfolder) {
  runFlags().QuovaPath = "/home/u/quova/";
  EXPECT_EQ(chartRepairPath("/home/u/quova/quotes.day/funds/funds_VFINX.day"),
            "..\\quotes.day\\funds\\funds_VFINX.day");
  EXPECT_EQ(chartRepairPath("/tmp/x.day"), "/tmp/x.day");
  runFlags().QuovaPath.clear();
}

TEST(ChartLoad, LimitOf30000) {
  for (int n : {30000, 30001}) {
    test::ScopedHost h;
    std::string text = "SYMBOL: X\n";
    for (int i = 0; i < n; ++i) text += std::to_string(1000 + i) + " 2 1 1.5 10\n";
    text += "garbage line\n";
    std::istringstream in(text);
    ChartData d;
    ParseContext ctx = context();
    EXPECT_EQ(Parse(in, d, ctx), 30000);
    ASSERT_EQ(h.host.boxes.size(), 1u) << n;
    EXPECT_EQ(h.host.boxes[0].text, "Maximum (30000) number of quotes exceeded");
    EXPECT_EQ(d.q_date.back(), 1000 + 29999);
    // Progress: once at the start, then every 21st data line.
    EXPECT_EQ(h.host.statusTexts.front(), "Loading Quotes data arrays...0");
    EXPECT_EQ(h.host.statusTexts[1], "Loading Quotes data arrays...20");
  }
}

TEST(ChartLoad, LoadDataFromAFile) {
  test::ScopedHost h;
  test::TempDir dir;
  dir.write("ONLY.DAY", "SYMBOL: X\nCOMPANY NAME: Y\n");
  dir.write("GOOD.DAY", "SYMBOL: X\n01/02/1999   10.5   9.5   10   1000\n");
  ChartData d;
  ChartSettings s;
  ParseContext ctx = context();
  EXPECT_EQ(LoadData(dir.file("ONLY.DAY"), d, s, ctx), LoadResult::NoQuotes);
  EXPECT_TRUE(h.host.sawBox("No valid quotes found...\n\nThis Window will close", "Quote Processing ERRORS"));
  EXPECT_EQ(LoadData(dir.file("NONE.DAY"), d, s, ctx), LoadResult::CannotOpen);
  const OFtype fmt = DefaultFormat();
  ctx.parse = chartLineParser(fmt);
  ASSERT_EQ(LoadData(dir.file("GOOD.DAY"), d, s, ctx), LoadResult::Loaded);
  EXPECT_TRUE(d.loaded);
  EXPECT_EQ(d.num_quotes, 1);
  EXPECT_EQ(d.q_close[0], 10.0f);
  EXPECT_EQ(s.t_start, d.q_date[0] - 1);
}

TEST(ChartLoad, WindowClampedIntoTheData) {
  ChartData d;
  d.append(1000, 2, 1, 1.5f, 1);
  d.append(1100, 2, 1, 1.5f, 1);
  find_min_max_scales(d);
  ChartSettings s;
  s.t_start = 5000;  // above the data
  s.t_end = 6000;
  initquotes(d, s);
  EXPECT_EQ(s.t_start, 999);
  EXPECT_EQ(s.t_end, 1130);
}

}  // namespace
}  // namespace quova
