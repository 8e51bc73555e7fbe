// The page parser on sample pages and hostile input: the quotes it hands to the saving
// step, its notes, and that it stays bounded on any bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "download/page_parser.h"
#include "download/qcf.h"
#include "support/download_fixture.h"

using namespace quova;
using quova::test::downloadData;
using quova::test::QcfRun;

namespace {

struct Collect : ParseHooks {
  std::vector<QuoteData> quotes;
  std::vector<std::string> texts;
  bool SaveQuoteLine(QuoteData* q, long& saved, int, long) override {
    quotes.push_back(*q);
    ++saved;
    return true;
  }
  void sessionText(std::string_view t) override { texts.emplace_back(t); }
};

struct ParseRun : QcfRun {
  Collect hooks;
  std::string notes;
  long saved = 0;
  void parse(const std::string& page, ParseSwitches sw = {}) {
    dir.write("page.htm", page);
    PageParser p(s, hooks, sw);
    p.parsed = [this](std::string_view t) { notes += t; };
    saved = p.ParseQuotesQCF("page.htm");
    if (sw.JustShowPQuotes) {  // nothing is saved with the notes on: parse again to save
      sw.JustShowPQuotes = false;
      PageParser again(s, hooks, sw);
      saved = again.ParseQuotesQCF("page.htm");
    }
  }
};

const char* kLineQcf =
    "Page=x\nby_page\nStartTrigger=None\nTriggerString=None\n1\nNoDate\nNoTime\n"
    "Last Close  Vol Volume\n";

}  // namespace

TEST(PageParser, HtmlTableRowsBecomeQuotes) {
  ParseRun r;
  r.qcf(downloadData("table.qcf"));
  r.parse(downloadData("table.htm"), ParseSwitches{false, true, false});
  ASSERT_EQ(r.hooks.quotes.size(), 3u) << r.notes;  // "1e999" and "--5" are no prices
  const QuoteData& a = r.hooks.quotes[0];
  EXPECT_STREQ(a.Symbol, "IBM");
  EXPECT_STREQ(a.Co_name, "Intl Business Mach");
  EXPECT_STREQ(a.Close, "93 1/2");
  EXPECT_STREQ(a.Volume, "1234500");
  EXPECT_STREQ(a.Time, "4:00");
  EXPECT_STREQ(a.Date, "12/08/2026");  // the market date
  EXPECT_STREQ(r.hooks.quotes[1].Co_name, "Microsoft a Co");  // the entity rule
  EXPECT_STREQ(r.hooks.quotes[1].Volume, "0");                // N/A
  EXPECT_STREQ(r.hooks.quotes[2].Symbol, "GE");
  EXPECT_EQ(r.saved, 3);
}

TEST(PageParser, QuotesOverThreeLines) {
  const std::string qcf =
      "Page=x\nby_page\nGroupTrigger=Quote summary\nTriggerString=Sym:\n%d\nNoDate\nNoTime\n"
      "Sym: Symbol  Last Close  Vol Volume\n";
  const std::string page = "Quote summary\nSym: IBM\nLast 45 3/8\nVol 1,234,500\nSym: GE\nLast 12 1/2\nVol 100\n";
  ParseRun three;
  char buf[400];
  std::snprintf(buf, sizeof buf, qcf.c_str(), 3);
  three.qcf(buf);
  three.parse(page);
  ASSERT_EQ(three.hooks.quotes.size(), 2u);
  EXPECT_STREQ(three.hooks.quotes[0].Close, "45 3/8");
  EXPECT_STREQ(three.hooks.quotes[1].Volume, "100");

  ParseRun two;
  std::snprintf(buf, sizeof buf, qcf.c_str(), 2);
  two.qcf(buf);
  two.parse(page, ParseSwitches{false, true, false});
  EXPECT_TRUE(two.hooks.quotes.empty());
  EXPECT_NE(two.notes.find("  ** Short Quote FAIL\n"), std::string::npos);
}

TEST(PageParser, FieldsOfOneLine) {
  struct Case {
    const char* line;
    const char* close;  // nullptr: no quote
    const char* volume;
    const char* note;
  } cases[] = {
      {"Last 45 3/8   Vol 1,234,500", "45 3/8", "1234500", nullptr},
      {"Last 45 3/8   Vol 1,234,500   %", "45 3/8", "1234500", nullptr},  // a "%" is no residue
      {"Last 45 3/8   Vol 1,234,500   extra", nullptr, nullptr, "  ** Residue FAIL -- extra\n"},
      {"Last 45   Vol 7\r", "45", "7", nullptr},                                     // CRLF page
      {"Last 45   Vol 1\xc2\xa0" "000", "45", "1000", nullptr},  // UTF-8 NBSP
      {"Last 1e999   Vol 5", nullptr, nullptr, "Quote Test Read Fail -- 1e999\n"},
      {"Last 5   Vol 1e3x", nullptr, nullptr, "Volume Test Read Fail -- 1e3x\n"},
  };
  for (const auto& c : cases) {
    ParseRun r;
    r.qcf(kLineQcf);
    r.parse(std::string(c.line) + "\n", ParseSwitches{false, true, false});
    if (!c.close) {
      EXPECT_TRUE(r.hooks.quotes.empty()) << c.line;
      EXPECT_NE(r.notes.find(c.note), std::string::npos) << c.line << "\n" << r.notes;
      continue;
    }
    ASSERT_EQ(r.hooks.quotes.size(), 1u) << c.line << "\n" << r.notes;
    EXPECT_STREQ(r.hooks.quotes[0].Close, c.close) << c.line;
    EXPECT_STREQ(r.hooks.quotes[0].Volume, c.volume) << c.line;
  }
}

TEST(PageParser, PricesModifiersAndDivisors) {
  {
    ParseRun r;
    r.qcf("NoFractions\nPage=x\nby_page\nStartTrigger=None\nTriggerString=None\n1\nNoDate\nNoTime\n"
          "Hi  Close\n");
    r.parse("0   12 1/2\n");
    ASSERT_EQ(r.hooks.quotes.size(), 1u);
    EXPECT_STREQ(r.hooks.quotes[0].Close, "12.500");
    EXPECT_STREQ(r.hooks.quotes[0].HiParsed, "");  // a high of 0 is absent
  }
  {
    ParseRun r;
    r.qcf("Page=x\nby_page\nStartTrigger=None\nTriggerString=None\n1\nNoDate\nNoTime\nClose  Volume\n"
          "Close/100\nVolume*2\n");
    r.parse("4512   1,000\n");
    ASSERT_EQ(r.hooks.quotes.size(), 1u);
    EXPECT_STREQ(r.hooks.quotes[0].Close, "45.120");  // pence keep their decimals
    EXPECT_STREQ(r.hooks.quotes[0].Volume, "2000");
  }
  {
    ParseRun r;
    r.qcf("CurrencyConversionDivisor=2\nPage=x\nby_page\nStartTrigger=None\nTriggerString=None\n1\n"
          "NoDate\nNoTime\nClose\n");
    r.parse("45 1/2\n");
    ASSERT_EQ(r.hooks.quotes.size(), 1u);
    EXPECT_STREQ(r.hooks.quotes[0].Close, "22.750");
  }
}

TEST(PageParser, PreProcessingAndTriggers) {
  ParseRun r;
  r.qcf("ReplaceAll=\"a\" with \"aa\"\nPage=x\nby_page\nStartTrigger=None\nTriggerString=None\n1\n"
        "AutoDate\nNoTime\nClose\n");
  PageParser p(r.s, r.hooks);
  QuoteData q;
  QuoteDataClear(&q);
  std::string line = "<b>x</b>  &nbsp;  12/07/26  <unclosed";
  p.PreProcessQuote(line, &q, 0);
  EXPECT_EQ(line, "x      n    <unclosed");  // the date is taken out, "&nbsp;" leaves "n"
  EXPECT_STREQ(q.Date, "12/07/2026");
  std::string grow = "banana";
  p.PreProcessQuote(grow, &q, 0);  // a replacement holding its own text ends
  EXPECT_GT(grow.size(), 6u);

  std::string entities = "AT&T &amp; x";
  p.PreProcessQuote(entities, &q, 0);
  EXPECT_EQ(entities, "ATT x");  // from the first "&" to the first ";"
}

TEST(PageParser, ReportsAtTheEnd) {
  ParseRun r;
  r.qcf("Page=x\nby_page\nGroupTrigger=Most Actives\nTriggerString=None\n1\nNoDate\nNoTime\nClose\n");
  r.parse("nothing here\n");
  ASSERT_FALSE(r.hooks.texts.empty());
  EXPECT_EQ(r.hooks.texts[0], "No trigger phrases found.");

  ParseRun f;
  f.qcf("Page=x\nby_page\nGroupTrigger=Most Actives\nTriggerString=None\n1\nNoDate\nNoTime\nClose  Volume\n");
  f.parse("Most Actives\n12\n");
  ASSERT_FALSE(f.hooks.texts.empty());
  EXPECT_EQ(f.hooks.texts.back(), "Possibly incomplete (or obsolete) quotes found.");
}

TEST(PageParser, HostilePagesStayBounded) {
  ParseRun r;
  r.qcf("EndOfLineString=</tr>\nPage=x\nby_page\nStartTrigger=None\nTriggerString=None\n1\nNoDate\nNoTime\n"
        "Last Close\n");
  std::string page;
  page += std::string(5 * 1024 * 1024, 'x');  // 5 MB without any line end
  page += "</tr>Last 7</tr>";
  page += std::string(2000, 'y') + "</tr>";
  page += std::string("a\0b", 3) + "</tr><td>unclosed</tr>Last 8";  // the text after the last end
  r.parse(page);
  ASSERT_EQ(r.hooks.quotes.size(), 2u);
  EXPECT_STREQ(r.hooks.quotes[0].Close, "7");
  EXPECT_STREQ(r.hooks.quotes[1].Close, "8");
  ASSERT_EQ(r.host.host.boxes.size(), 1u);  // the overflow box once per page
  EXPECT_EQ(r.host.host.boxes[0].caption, "In DownLoadView::getnextline");

  ParseRun l;
  l.qcf(kLineQcf);
  std::string lines(100000, '\n');
  lines += std::string(70, 'z') + "\n" + "Last " + std::string(70, '9') + "\nLast 9   Vol 1\n";
  l.parse(lines, ParseSwitches{false, true, false});
  ASSERT_EQ(l.hooks.quotes.size(), 1u) << l.notes;
  EXPECT_STREQ(l.hooks.quotes[0].Close, "9");
}

TEST(PageParser, ScreenForNumericsSkipsTextAndEnds) {
  ParseRun r;
  r.qcf("ScreenForNumerics\nPage=x\nby_page\nStartTrigger=None\nTriggerString=None\n1\nNoDate\nNoTime\n"
        "Symbol  Close  Vol Volume\n");
  // "n/a" is dropped and Close reads the next field; a missing "Vol " start marker consumes
  // nothing, so that quote fails instead of retrying for ever.
  r.parse("IBM   n/a   45   Vol 100\nGE   12   7\n");
  ASSERT_EQ(r.hooks.quotes.size(), 1u);
  EXPECT_STREQ(r.hooks.quotes[0].Close, "45");
  EXPECT_STREQ(r.hooks.quotes[0].Volume, "100");
}

TEST(PageParser, AGroupTriggerInsideAQuoteChangesTheGroup) {
  ParseRun r;
  r.qcf("Page=x\nby_page\nGroupTrigger=Stocks\nTriggerString=S:\n2\nNoDate\nNoTime\nS: Symbol  Close\n"
        "GroupTrigger=Funds\nTriggerString=F:\n1\nNoDate\nNoTime\nF: Symbol  Close  Volume\n");
  r.parse("Stocks\nS: IBM\nFunds\nF: VFINX   90   0\n");
  ASSERT_EQ(r.hooks.quotes.size(), 1u);
  EXPECT_STREQ(r.hooks.quotes[0].Symbol, "VFINX");
}

namespace {

// Hostile lines of a text page, each followed by a valid quote: what they may leave, and
// that the valid quotes around them are still read.
std::string hostileBlock() {
  std::string b;
  b += "AAA   Last 1|   Vol 1\n";
  b += "<unclosed tag   Last 2|   Vol 2\n";
  static const char withNuls[] = "BBB\0\0\0Last 3|\0\0\0Vol 3\n";  // NUL bytes read as blanks
  b += std::string(withNuls, sizeof withNuls - 1);
  b += std::string(1000, '\n');
  b += "CCC   Last 4|   Vol " + std::string(2000, '4') + "\n";  // too long: skipped
  b += "AT&T   Last 5|   Vol 5\n";                              // "&" without ";"
  b += "DDD   Last 45 " + std::string(60, 'w') + "   Vol 6\n";  // no end marker in 60
  b += "EEE   Last 1e999|   Vol 7\n";
  b += "FFF   Last --5|   Vol 8\n";
  b += "GGG   Last &ab;&ab;&ab;" + std::string(1900, '&') + "9|   Vol 9\n";
  b += "HHH   Last 10|   Vol N/A\n";
  return b;
}

const char* kMarkerQcf =
    "Page=x\nby_page\nStartTrigger=None\nTriggerString=None\n1\nNoDate\nNoTime\nSymbol  Last Close|  Vol Volume\n";

}  // namespace

TEST(PageParser, HostileLinesAmongValidQuotes) {
  ParseRun r;
  r.qcf(kMarkerQcf);
  // The page ends in 5 MB without a line end.
  r.parse(hostileBlock() + "ZZZ   Last 11|   Vol 11\n" + std::string(5 * 1024 * 1024, 'x'));
  std::vector<std::string> symbols;
  for (const auto& q : r.hooks.quotes) symbols.push_back(q.Symbol);
  EXPECT_EQ(symbols, (std::vector<std::string>{"AAA", "<unclosed tag", "BBB", "AT&T", "HHH", "ZZZ"}));
  ASSERT_EQ(r.hooks.quotes.size(), 6u);
  EXPECT_STREQ(r.hooks.quotes[2].Close, "3");
  EXPECT_STREQ(r.hooks.quotes[2].Volume, "3");
  EXPECT_STREQ(r.hooks.quotes[4].Volume, "0");
}

TEST(PageParser, TimeGrowsLinearlyWithThePage) {
  auto seconds = [](int blocks) {
    ParseRun r;
    r.qcf(kMarkerQcf);
    std::string page;
    for (int i = 0; i < blocks; ++i) page += hostileBlock();
    r.dir.write("page.htm", page);
    double best = 1e9;
    for (int round = 0; round < 2; ++round) {
      auto t0 = std::chrono::steady_clock::now();
      PageParser p(r.s, r.hooks);
      p.ParseQuotesQCF("page.htm");
      best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
    EXPECT_EQ(r.hooks.quotes.size(), 2u * 5 * blocks);
    return best;
  };
  double small = seconds(100), large = seconds(400);
  // Four times the page takes about four times as long; allow for a busy machine.
  EXPECT_LT(large, 12 * small + 0.05) << small << " " << large;
}

TEST(PageParser, EndOfLineStringPageWithItsOwnLineEnds) {
  // The table page cut at "</tr>": each piece but the first starts with the page's line end.
  for (const char* ends : {"\n", "\r\n"}) {
    std::string page = downloadData("table.htm"), withEnds;
    for (char c : page) withEnds += c == '\n' ? std::string(ends) : std::string(1, c);
    ParseRun r;
    r.qcf("EndOfLineString=</tr>\n" + downloadData("table.qcf"));
    r.parse(withEnds);
    ASSERT_EQ(r.hooks.quotes.size(), 3u) << ends;
    EXPECT_STREQ(r.hooks.quotes[0].Symbol, "IBM");
    EXPECT_STREQ(r.hooks.quotes[2].Time, "4:04");
  }
}
