// The configuration files the program ships read as intended: the demo lists' QCFs fetch
// from the local demo page server and parse its sample pages, and the default QCF reads a
// local quote file.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "download/page_parser.h"
#include "download/qcf.h"
#include "quotes/quote_test_support.h"
#include "quotes/quotefile.h"
#include "quotes/quotelist.h"
#include "util/filetimes.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"
#include "util/clock.h"

using namespace quova;
namespace fs = std::filesystem;

namespace {

fs::path sourceDir() { return fs::path(QUOVA_SOURCE_DIR); }

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);) out.push_back(l);
  return out;
}

struct Collect : ParseHooks {
  std::vector<QuoteData> quotes;
  bool SaveQuoteLine(QuoteData* q, long& saved, int, long) override {
    quotes.push_back(*q);
    ++saved;
    return true;
  }
};

struct Field {
  int code;
  const char* start;  // nullptr: no start marker
};

}  // namespace

TEST(ShippedQcf, ReadsAsIntended) {
  struct Case {
    const char* file;
    const char* page;
    const char* suffix;
    int mode, perPage;
    const char* separator;
    const char* groupTrigger;
    const char* triggerString;
    int lines;
    std::vector<Field> fields;
  } cases[] = {
      {"demo/QuoteList Configuration Files/watch.qcf", "http://127.0.0.1:8765/watch.html?s=", "", BY_SYMBOL, 10,
       "+", "Watch List Quotes", "NoTrigger", 1,
       {{FC_SYMBOL, nullptr}, {FC_CO_NAME, nullptr}, {FC_CLOSE, nullptr}, {FC_TEMP, nullptr}, {FC_TEMP, nullptr},
        {FC_OPEN, nullptr}, {FC_HI, nullptr}, {FC_LOW, nullptr}, {FC_VOLUME, nullptr}, {FC_TIME, nullptr}}},
      {"demo/QuoteList Configuration Files/funds.qcf", "http://127.0.0.1:8765/funds/", ".html", BY_SYMBOL, 1, "",
       "Fund Quote", "<p>Fund", 2,
       {{FC_SYMBOL, "Fund "}, {FC_CO_NAME, nullptr}, {FC_CLOSE, "NAV "}, {FC_TEMP, "Chg "}, {FC_TIME, "As of "}}},
      {"root/QuoteList Configuration Files/default.qcf", "quotes.txt", "", BY_PAGE, 10, "", "", "NoTrigger", 1,
       {{FC_SYMBOL, nullptr}, {FC_CLOSE, nullptr}, {FC_HI, nullptr}, {FC_LOW, nullptr}, {FC_VOLUME, nullptr}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    std::vector<std::string> errors;
    QcfInput in;
    in.configError = [&](std::string_view t) { errors.emplace_back(t); };
    DownloadSettings s;
    ASSERT_EQ(ReadSessionQCF((sourceDir() / c.file).string(), in, &s), QcfResult::Ready);
    EXPECT_TRUE(errors.empty()) << errors.front();
    EXPECT_EQ(s.pageAddress, c.page);
    EXPECT_EQ(s.localFile, s.pageAddress.rfind("http://", 0) != 0);
    EXPECT_EQ(s.suffix, c.suffix);
    EXPECT_EQ(s.requestMode, c.mode);
    EXPECT_EQ(s.quotesPerPage, c.perPage);
    EXPECT_EQ(s.separator, c.separator);
    ASSERT_EQ(s.groups.size(), 1u);
    const QcfGroup& g = s.groups[0];
    EXPECT_EQ(g.groupTrigger, c.groupTrigger);
    EXPECT_EQ(g.correlateBy, CB_SYMBOL);
    EXPECT_EQ(g.triggerString.value_or("(none)"), c.triggerString);
    EXPECT_EQ(g.linesPerQuote, c.lines);
    ASSERT_EQ(g.specifiers.size(), c.fields.size());
    for (std::size_t i = 0; i < c.fields.size(); ++i) {
      EXPECT_EQ(g.specifiers[i].code, c.fields[i].code) << i;
      EXPECT_EQ(g.specifiers[i].start.value_or("(none)"), c.fields[i].start ? c.fields[i].start : "(none)") << i;
      EXPECT_FALSE(g.specifiers[i].end.has_value()) << i;  // fields end at three blanks
    }
    // The quote files keep the default layout.
    EXPECT_STREQ(s.outputFormat.outDateFormat, "mm/dd/yyyy");
    EXPECT_STREQ(s.outputFormat.headerTemplate, "Header.day");
    EXPECT_EQ(s.outputFormat.nFields, 6);
  }
}

// Each demo page gives one complete quote per security, dated with the market date.
TEST(ShippedQcf, DemoPagesParseUnderTheirQcfs) {
  quova::test::ScopedHost host;
  struct TestClock {
    FixedClock clock{LocalTime{2026, 12, 8, 17, 30, 0, 0, 2}};
    TestClock() { setClock(&clock); }
    ~TestClock() { setClock(nullptr); }
  } clock;
  struct Quote {
    const char *symbol, *coName, *close, *hi, *low, *volume;
  };
  struct Case {
    const char* qcf;
    std::vector<const char*> pages;
    std::vector<Quote> quotes;
  } cases[] = {
      {"watch.qcf",
       {"watch.html"},
       {{"KLMX", "Kelmar Industries Inc", "41.61", "41.86", "41.35", "1513700"},
        {"BRVN", "Brevanta Systems Corp", "103.66", "104.21", "102.72", "3189800"}}},
      {"funds.qcf",
       {"funds/QFGIX.html", "funds/QFBDX.html"},
       {{"QFGIX", "Quarry Growth Index Fund", "28.07", "", "", ""},
        {"QFBDX", "Quarry Total Bond Fund", "11.65", "", "", ""}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.qcf);
    DownloadSettings s;
    QcfInput in;
    ASSERT_EQ(ReadSessionQCF((sourceDir() / "demo/QuoteList Configuration Files" / c.qcf).string(), in, &s),
              QcfResult::Ready);
    Collect hooks;
    for (const char* page : c.pages) {
      PageParser p(s, hooks);
      EXPECT_EQ(p.ParseQuotesQCF((sourceDir() / "demo/pages" / page).string()), 1 + (c.pages.size() == 1));
    }
    ASSERT_EQ(hooks.quotes.size(), c.quotes.size());
    for (std::size_t i = 0; i < c.quotes.size(); ++i) {
      const QuoteData& q = hooks.quotes[i];
      const Quote& e = c.quotes[i];
      EXPECT_STREQ(q.Symbol, e.symbol);
      EXPECT_STREQ(q.Co_name, e.coName);
      EXPECT_STREQ(q.Close, e.close);
      EXPECT_STREQ(q.HiParsed, e.hi);
      EXPECT_STREQ(q.LowParsed, e.low);
      EXPECT_STREQ(q.Volume, e.volume);
      EXPECT_STREQ(q.Time, "16:00");
      EXPECT_EQ(std::string(q.Date), s.marketDate);
    }
  }
  // The default QCF on the local file it documents.
  quova::test::TempDir dir;
  dir.write("quotes.txt", "KLMX, 41.61, 41.86, 41.35, 1513700\nBRVN, 103.66, 104.21, 102.72, 3189800\n");
  DownloadSettings s;
  ASSERT_EQ(ReadSessionQCF((sourceDir() / "root/QuoteList Configuration Files/default.qcf").string(), QcfInput(), &s),
            QcfResult::Ready);
  Collect hooks;
  PageParser p(s, hooks);
  EXPECT_EQ(p.ParseQuotesQCF(dir.file("quotes.txt")), 2);
  ASSERT_EQ(hooks.quotes.size(), 2u);
  EXPECT_STREQ(hooks.quotes[1].Symbol, "BRVN");
  EXPECT_STREQ(hooks.quotes[1].Close, "103.66");
  EXPECT_STREQ(hooks.quotes[1].HiParsed, "104.21");
  EXPECT_STREQ(hooks.quotes[1].LowParsed, "102.72");
  EXPECT_STREQ(hooks.quotes[1].Volume, "3189800");
}

// The demo root's chain after the fetch: the watch page's quotes go to the stamped demo
// histories as one new record each, the list shows them, and a second parse adds nothing.
TEST(ShippedQcf, DemoWatchPageAppendsToTheDemoHistories) {
  quova::test::ScopedHost host;
  struct TestClock {
    FixedClock clock{LocalTime{2026, 12, 8, 17, 30, 0, 0, 2}};
    TestClock() { setClock(&clock); }
    ~TestClock() { setClock(nullptr); }
  } clock;
  quova::test::TestRoot root;
  fs::copy(sourceDir() / "demo", root.dir.path(), fs::copy_options::recursive);
  for (const char* f : {"quotes.day/KLMX.day", "quotes.day/BRVN.day"})  // as scripts/run-demo stamps them
    ASSERT_TRUE(setFileTime(root.file(f), LocalTime{2026, 12, 4, 16, 0, 0, 0, 5}));
  DownloadSettings s;
  ASSERT_EQ(ReadSessionQCF(root.file("QuoteList Configuration Files/watch.qcf"), QcfInput(), &s), QcfResult::Ready);
  ASSERT_EQ(s.marketDate, "12/08/2026");
  // Correlation by symbol against the list's requests (both have "*" as file name).
  struct Save : ParseHooks {
    quova::test::RecordingSession session;
    bool SaveQuoteLine(QuoteData* q, long& saved, int group, long) override {
      QSET(*q, FileName, q->Symbol);
      if (!Update_Quotefile(q, group, session)) return false;
      ++saved;
      return true;
    }
  } hooks;
  hooks.session.market = DayCount(12, 8, 2026);
  for (long expected : {2L, 0L}) {
    PageParser p(s, hooks);
    EXPECT_EQ(p.ParseQuotesQCF((sourceDir() / "demo/pages/watch.html").string()), expected);
  }
  EXPECT_TRUE(hooks.session.errors.empty());
  std::vector<std::string> klmx = lines(root.read("quotes.day/KLMX.day"));
  EXPECT_EQ(klmx.back(), "12/08/2026     41.86         41.35       41.61        1513700     16:00");
  EXPECT_EQ(klmx[klmx.size() - 2].substr(0, 10), "12/04/2026");
  ASSERT_EQ(UDWatch(root.file("watch.qtl"), ListUpdate()), 2);
  EXPECT_NE(root.read("watch.qtl").find("BRVN   *   Brevanta Systems Corp   12/08/2026    104.210    102.720    103.660"
                                        "      0.120       3189800   16:00\n"),
            std::string::npos)
      << root.read("watch.qtl");
}
