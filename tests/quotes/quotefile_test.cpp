// The historical quote file: names, creation from the header template, the append rule,
// the record completion, the time stamp and the refusal of names that leave quotes.day.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <string>

#include "quote_test_support.h"
#include "quotes/list_operations.h"
#include "quotes/quote_names.h"
#include "quotes/quotefile.h"
#include "util/filetimes.h"
#include "util/paths.h"

using namespace quova;
using namespace quova::test;

namespace {

const char kHeader[] = "QUOTE HISTORY\nSYMBOL:\nCOMPANY NAME:\nDATE  HIGH  LOW  CLOSE\n";

struct QuoteFileTest : ::testing::Test {
  TestRoot root;
  RecordingSession session;
  void SetUp() override {
    root.write("Header.day", kHeader);
    std::filesystem::create_directories(root.file("quotes.day/funds"));
  }
  bool update(QuoteData q) { return Update_Quotefile(&q, 0, session); }
  int lines(const std::string& name) {
    std::string s = root.read(name);
    return static_cast<int>(std::count(s.begin(), s.end(), '\n'));
  }
};

}  // namespace

TEST_F(QuoteFileTest, NameRulesOfWriterAndListAgree) {
  struct Case {
    const char* symbol;
    const char* file;
    const char* written;
  } cases[] = {
      {"BRK.A", "*", "quotes.day/BRKA.day"},
      {"VFINX", "funds\\VFINX", "quotes.day/funds/funds_VFINX.day"},
      {"AUX", "AUX", "quotes.day/_AUX.day"},
      {"AUX", "*", "quotes.day/_AUX.day"},
      {"X", "aux", "quotes.day/_AUX.day"},  // any case; the folder is matched regardless of case
      {"X", "my fund:a.b", "quotes.day/my_fund_ab.day"},
  };
  session.forced = true;  // AUX is written twice on one day
  for (const Case& c : cases) {
    ASSERT_TRUE(update(makeQuote(c.symbol, c.file, "12/07/2026", "2", "1", "1.5"))) << c.file;
    EXPECT_TRUE(std::filesystem::exists(root.file(c.written))) << c.written;
    // The list side finds the same file.
    std::optional<std::string> name = requestFileName(c.symbol, c.file);
    ASSERT_TRUE(name) << c.file;
    EXPECT_TRUE(fileExists(listQuotePath(*name))) << c.file;
  }
}

TEST_F(QuoteFileTest, NewFileGetsHeaderWithSubstitutionsThenTheRecord) {
  ASSERT_TRUE(update(makeQuote("IBM", "*", "01/04/1999", "93.5", "91 1/8", "92 3/4", "1234567", "4:00")));
  std::string s = root.read("quotes.day/IBM.day");
  EXPECT_EQ(s.substr(0, 62), "QUOTE HISTORY\nSYMBOL: IBM\nCOMPANY NAME: Test Company\nDATE  HIG");
  EXPECT_NE(s.find("HIGH  LOW  CLOSE\n01/04/1999     93.5"), std::string::npos);
  ASSERT_EQ(session.saved.size(), 1u);
  EXPECT_EQ(session.texts.back(), "IBM         \t-\t" + session.saved[0]);
  // None.day for "Header=none"; a template without a final line end still gives a line.
  root.write("None.day", "NO HEADER");
  std::strcpy(session.fmt.headerTemplate, "None.day");
  ASSERT_TRUE(update(makeQuote("MSFT", "*", "12/07/2026", "2", "1", "1.5")));
  EXPECT_EQ(root.read("quotes.day/MSFT.day").substr(0, 20), "NO HEADER\n12/07/2026");
}

TEST_F(QuoteFileTest, MissingTemplateStillStoresTheRecord) {
  std::strcpy(session.fmt.headerTemplate, "Missing.day");
  ASSERT_TRUE(update(makeQuote("IBM", "*", "12/07/2026", "2", "1", "1.5")));
  ASSERT_EQ(session.errors.size(), 1u);
  EXPECT_NE(session.errors[0].find("Cannot open Source -- "), std::string::npos);
  EXPECT_EQ(root.read("quotes.day/IBM.day").substr(0, 10), "12/07/2026");
}

TEST_F(QuoteFileTest, AppendRuleWithStampForcedAppendsAndBackdating) {
  QuoteData q = makeQuote("IBM", "*", "12/04/2026", "2", "1", "1.5");
  ASSERT_TRUE(update(q));
  EXPECT_FALSE(update(q));  // same day: not newer than the stamp
  EXPECT_EQ(lines("quotes.day/IBM.day"), 5);
  QSET(q, Date, "12/03/2026");
  EXPECT_FALSE(update(q));  // older
  QSET(q, Date, "12/07/2026");
  EXPECT_TRUE(update(q));  // newer
  EXPECT_EQ(fileStampDay(root.file("quotes.day/IBM.day")), DayCount(12, 7, 2026));
  EXPECT_FALSE(update(q));
  session.forced = true;
  EXPECT_TRUE(update(q));
  session.forced = false;
  EXPECT_EQ(BackDateFile(root.file("quotes.day/IBM.day")), 0);
  EXPECT_EQ(fileStampDay(root.file("quotes.day/IBM.day")), DayCount(1, 1, 1981));
  EXPECT_TRUE(update(q));
  EXPECT_EQ(lines("quotes.day/IBM.day"), 8);
  EXPECT_EQ(BackDateFile(root.file("quotes.day/NONE.day")), -1);
}

TEST_F(QuoteFileTest, RecordCompletion) {
  QuoteData a = makeQuote("A", "*", "12/07/2026", "", "", "10", "", "");
  QSET(a, Ask, "11");
  QSET(a, Bid, "9");
  ASSERT_TRUE(update(a));
  EXPECT_EQ(session.saved.back(), "12/07/2026     11            9           10           0\n");
  QuoteData b = makeQuote("B", "*", "12/07/2026", "", "", "10", "", "");
  ASSERT_TRUE(update(b));  // no high, no ask, no bid: the close, and volume 0
  EXPECT_EQ(session.saved.back(), "12/07/2026     10            10          10           0\n");
}

TEST_F(QuoteFileTest, RefusedUpdatesAndTheirTexts) {
  EXPECT_FALSE(update(makeQuote("", "*", "12/07/2026", "2", "1", "1.5")));
  EXPECT_EQ(session.texts.back(), "*** Error -- Attempted Update with bad symbol ***");
  EXPECT_FALSE(update(makeQuote("IBM", "", "12/07/2026", "2", "1", "1.5")));
  EXPECT_EQ(session.texts.back(), "IBM aborted -- Attempted Update with no file name  ***");
  EXPECT_FALSE(update(makeQuote("IBM", "*", "12/07/2026", "2", "1", "")));
  EXPECT_EQ(session.texts.back(), "IBM aborted -- Attempted Update with no closing quote ***");
  EXPECT_FALSE(std::filesystem::exists(root.file("quotes.day/IBM.day")));
  session.needClose = false;  // NoCloseRequired
  ASSERT_TRUE(update(makeQuote("IBM", "*", "12/07/2026", "2", "1", "")));
  EXPECT_NE(session.saved.back().find("0.000"), std::string::npos);
}

TEST_F(QuoteFileTest, BadAndFutureDatesAbortAndNewFilesAreBackdated) {
  EXPECT_FALSE(update(makeQuote("NEW", "*", "13/45/2026", "2", "1", "1.5")));
  EXPECT_EQ(session.texts.back(), "NEW           ** Update Aborted -- Bad Date");
  // The header-only file is stamped `backdate`, so today's quote still goes in.
  EXPECT_EQ(fileStampDay(root.file("quotes.day/NEW.day")), DayCount(1, 1, 1981));
  EXPECT_TRUE(update(makeQuote("NEW", "*", "12/07/2026", "2", "1", "1.5")));

  std::string before = root.read("quotes.day/NEW.day");
  EXPECT_TRUE(update(makeQuote("NEW", "*", "12/08/2026", "2", "1", "1.5")));  // the next day is fine
  before = root.read("quotes.day/NEW.day");
  EXPECT_FALSE(update(makeQuote("NEW", "*", "12/31/2031", "2", "1", "1.5")));  // a misread year
  EXPECT_EQ(session.texts.back(), "NEW           ** Update Aborted -- Bad Date");
  EXPECT_EQ(root.read("quotes.day/NEW.day"), before);
  EXPECT_EQ(fileStampDay(root.file("quotes.day/NEW.day")), DayCount(12, 8, 2026));
}

TEST_F(QuoteFileTest, StampTimeOfDay) {
  struct Case {
    const char* tradeTime;
    const char* time;
    int hour, minute;
  } cases[] = {
      {"16:30", "", 16, 30}, {"*9:05*", "", 9, 5}, {"12/07", "", 16, 0}, {"25:70", "", 0, 0},
      {"23:60", "", 0, 0},   {"", "4:00", 4, 0},   {"", "4:00 PM", 16, 0}, {"", "", 0, 0},
  };
  for (const Case& c : cases) {
    QuoteData q = makeQuote("IBM", "*", "12/07/2026", "2", "1", "1.5");
    QSET(q, TradeTime, c.tradeTime);
    QSET(q, Time, c.time);
    LocalTime t = quoteStamp(q);
    EXPECT_EQ(t.year, 2026);
    EXPECT_EQ(t.month, 12);
    EXPECT_EQ(t.day, 7);
    EXPECT_EQ(t.hour, c.hour) << c.tradeTime << "|" << c.time;
    EXPECT_EQ(t.minute, c.minute) << c.tradeTime << "|" << c.time;
  }
  ASSERT_TRUE(update(makeQuote("IBM", "*", "12/07/2026", "2", "1", "1.5", "", "")));
  std::optional<LocalTime> t = fileTime(root.file("quotes.day/IBM.day"));
  ASSERT_TRUE(t);
  EXPECT_EQ(t->day, 7);
}

TEST_F(QuoteFileTest, NamesLeavingTheQuoteFolderAreRefused) {
  const char* names[] = {"../../escape", "/tmp/abs", "funds\\..\\..\\x", "a//b", ".\\x", "..", "a/../../b", "x/"};
  for (const char* n : names) {
    session.errors.clear();
    EXPECT_FALSE(update(makeQuote("EVIL", n, "12/07/2026", "2", "1", "1.5"))) << n;
    ASSERT_EQ(session.errors.size(), 1u) << n;
    EXPECT_EQ(session.errors[0].rfind("Cannot open Quote file for update -- ", 0), 0u) << n;
    EXPECT_FALSE(requestFileName("EVIL", n)) << n;
  }
  EXPECT_FALSE(std::filesystem::exists(root.file("escape.day")));
  EXPECT_FALSE(std::filesystem::exists("/tmp/abs.day"));
  // Legal names keep working: subfolders and futures folders.
  std::filesystem::create_directories(root.file("quotes.day/F$ES"));
  EXPECT_TRUE(update(makeQuote("ESH7", "F$ES\\ESH7", "12/07/2026", "2", "1", "1.5")));
  EXPECT_TRUE(std::filesystem::exists(root.file("quotes.day/F$ES/F$ES_ESH7.day")));
}

TEST_F(QuoteFileTest, OptionSeriesKeepTheirAlternateName) {
  std::filesystem::create_directories(root.file("quotes.day/IBM"));
  QuoteData q = makeQuote("IBMLC", "IBM\\IBM_L26", "12/07/2026", "2", "1", "1.5");
  QSET(q, AltFileName, "IBM\\IBM_");
  ASSERT_TRUE(update(q));
  EXPECT_TRUE(std::filesystem::exists(root.file("quotes.day/IBM/IBM_L26.day")));
}

TEST_F(QuoteFileTest, UnwritableFileIsReportedAndNothingIsSaved) {
  std::filesystem::create_directories(root.file("quotes.day/DIR.day"));
  EXPECT_FALSE(update(makeQuote("DIR", "*", "12/07/2026", "2", "1", "1.5")));
  ASSERT_FALSE(session.errors.empty());
  EXPECT_NE(session.errors.back().find("Cannot open Quote file for update -- "), std::string::npos);
  EXPECT_TRUE(session.saved.empty());
}

TEST_F(QuoteFileTest, RecordAfterALastLineWithoutLineEnd) {
  root.write("quotes.day/OLD.day", "HEADER\n01/02/2026   1   1   1");
  BackDateFile(root.file("quotes.day/OLD.day"));
  ASSERT_TRUE(update(makeQuote("OLD", "*", "12/07/2026", "2", "1", "1.5")));
  EXPECT_EQ(root.read("quotes.day/OLD.day").substr(0, 40), "HEADER\n01/02/2026   1   1   1\n12/07/2026");
}

TEST_F(QuoteFileTest, AnAppendCutShortByAFullDiskLeavesTheFileAndItsStampAsTheyWere) {
  // The file may grow by 5 bytes only: the record's write stops part way.
  root.write("quotes.day/FULL.day", "HEADER\n12/03/2026   1   1   1\n");
  BackDateFile(root.file("quotes.day/FULL.day"));
  const std::string before = root.read("quotes.day/FULL.day");
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  rlimit small = old;
  small.rlim_cur = before.size() + 5;
  auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &small);
  const bool saved = update(makeQuote("FULL", "*", "12/07/2026", "2", "1", "1.5"));
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(saved);
  ASSERT_FALSE(session.errors.empty());
  EXPECT_EQ(root.read("quotes.day/FULL.day"), before);
  // Still due: the retry with space appends the day.
  EXPECT_EQ(fileStampDay(root.file("quotes.day/FULL.day")), DayCount(1, 1, 1981));
  EXPECT_TRUE(update(makeQuote("FULL", "*", "12/07/2026", "2", "1", "1.5")));
}

TEST_F(QuoteFileTest, LinksMayNotLeadTheWriterOutOfTheRoot) {
  namespace fs = std::filesystem;
  TempDir outside;
  root.write("store/IN.day", "HEADER\n");
  BackDateFile(root.file("store/IN.day"));
  fs::create_symlink(root.file("store/IN.day"), root.file("quotes.day/IN.day"));  // inside
  fs::create_symlink(outside.file("OUT.day"), root.file("quotes.day/OUT.day"));   // outside, dangling
  fs::create_directory_symlink(outside.path(), root.file("quotes.day/away"));
  fs::create_directory_symlink(root.file("store"), root.file("quotes.day/near"));
  struct Case {
    const char* name;
    bool stored;
  } cases[] = {{"IN", true}, {"OUT", false}, {"away\\X", false}, {"near\\Y", true}};
  for (const Case& c : cases) {
    session.errors.clear();
    EXPECT_EQ(update(makeQuote("S", c.name, "12/07/2026", "2", "1", "1.5")), c.stored) << c.name;
    EXPECT_EQ(session.errors.empty(), c.stored) << c.name;
  }
  EXPECT_TRUE(fs::is_empty(outside.path()));
  EXPECT_EQ(root.read("store/IN.day").rfind("HEADER\n12/07/2026", 0), 0u);
  EXPECT_TRUE(fs::exists(root.file("store/near_Y.day")));
}
