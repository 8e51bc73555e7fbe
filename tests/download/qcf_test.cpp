// The QCF readers: tokens, positional items, groups and specifiers, option blocks, the
// errors that reject a script, and the download options file.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "download/qcf.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"
#include "util/clock.h"

using namespace quova;
using quova::test::ScopedHost;
using quova::test::TempDir;

namespace {

struct QcfRun {
  TempDir dir{true};
  ScopedHost host;
  FixedClock clock{LocalTime{2026, 12, 8, 14, 30, 0, 0, 2}};
  std::vector<std::string> errors;
  DownloadSettings s;
  QcfInput in;
  QcfRun() {
    setClock(&clock);
    in.configError = [this](std::string_view t) { errors.emplace_back(t); };
  }
  ~QcfRun() { setClock(nullptr); }
  QcfResult run(const std::string& text) {
    dir.write("t.qcf", text);
    return ReadSessionQCF("t.qcf", in, &s);
  }
};

const char* kTable =
    "// a table page\n"
    "OutputDelimeter=columns\n"
    "Page=http://quotes.example/q?s=\n"
    "BrowserLink=http://quotes.example/\n"
    "SymSearch=http://quotes.example/lookup\n"
    "by_symbol\n"
    "NumQuotesPerPage=5\n"
    "+\n"
    "GroupTrigger=Last Trade\n"
    "CorrelateBy=Symbol\n"
    "TriggerString=None\n"
    "Pass=1\n"
    "1\n"
    "AutoDate\n"
    "NoTime\n"
    "Symbol  Co_name  Last Close  Vol Volume\n"
    "Close/100\n";

}  // namespace

TEST(QcfReader, TableScriptFillsEveryItem) {
  QcfRun r;
  ASSERT_EQ(r.run(kTable), QcfResult::Ready) << (r.errors.empty() ? "" : r.errors[0]);
  EXPECT_EQ(r.s.pageAddress, "http://quotes.example/q?s=");
  EXPECT_EQ(r.s.requestMode, BY_SYMBOL);
  EXPECT_EQ(r.s.quotesPerPage, 5);
  EXPECT_EQ(r.s.separator, "+");
  ASSERT_EQ(r.s.groups.size(), 1u);
  const QcfGroup& g = r.s.groups[0];
  EXPECT_EQ(g.groupTrigger, "Last Trade");  // single blanks belong to the token
  ASSERT_TRUE(g.triggerString.has_value());
  EXPECT_EQ(*g.triggerString, "");
  EXPECT_EQ(g.pass, 0);
  EXPECT_EQ(g.linesPerQuote, 1);
  EXPECT_EQ(g.dateMode, 1);
  ASSERT_EQ(g.specifiers.size(), 4u);
  EXPECT_EQ(g.specifiers[0].code, 101);
  EXPECT_EQ(g.specifiers[2].code, 6);
  EXPECT_EQ(*g.specifiers[2].start, "Last ");
  EXPECT_FALSE(g.specifiers[2].end.has_value());
  EXPECT_EQ(g.specifiers[3].code, 9);
  EXPECT_EQ(*g.specifiers[3].start, "Vol ");
  EXPECT_EQ(g.modifiers[6].mode, 2);
  EXPECT_DOUBLE_EQ(g.modifiers[6].factor, 100.0);
  EXPECT_EQ(r.s.marketDate, "12/08/2026");
}

TEST(QcfReader, GroupsTriggerStringsSpaceCountsAndPasses) {
  QcfRun r;
  ASSERT_EQ(r.run("Page=x\nby_page\nGroupTrigger=Most Actives\nCorrelateBy=Order\n"
                  "TriggerString=Last\nTriggerStringStart=Anywhere\nExitCriteria=</table>\n"
                  "2\nNoDate\nNoTime\nSymbol  2  Close<  Volume\n"
                  "GroupTrigger=Options\nQuoteType=AddOn\nNoTrigger\nPass=2\n3\nHi\n"),
            QcfResult::Ready);
  ASSERT_EQ(r.s.groups.size(), 2u);
  const QcfGroup& a = r.s.groups[0];
  EXPECT_EQ(a.correlateBy, CB_ORDER);
  EXPECT_EQ(*a.triggerString, "Last");  // the TriggerString= prefix is removed
  EXPECT_EQ(*a.exitCriteria, "</table>");
  ASSERT_EQ(a.specifiers.size(), 4u);
  EXPECT_EQ(a.specifiers[0].spaces, 2);  // a lone digit sets the blank run of the one before
  EXPECT_EQ(a.specifiers[1].code, 0);
  EXPECT_EQ(*a.specifiers[2].end, "<");
  const QcfGroup& b = r.s.groups[1];
  EXPECT_EQ(b.groupTrigger, "Options");
  EXPECT_EQ(b.quoteType, QT_ADDON);
  EXPECT_EQ(b.pass, 1);
  EXPECT_EQ(b.linesPerQuote, 3);
}

TEST(QcfReader, ErrorsThatRejectOrReport) {
  struct Case {
    const char* body;  // after "Page=x\nby_symbol\n"
    QcfResult result;
    const char* message;
  } cases[] = {
      {"NumQuotesPerPage=11\n+\nT\nS\n1\nClose\n", QcfResult::Rejected, "Quotes per page parameter > 10 (Invalid)"},
      {"NumQuotesPerPage=0\n+\nT\nS\n1\nClose\n", QcfResult::Rejected,
       "Could not convert number of quotes per page parameter."},
      {"NumQuotesPerPage=x\n", QcfResult::Rejected, "Could not convert number of quotes per page parameter."},
      {"+\nT\nS\nPass=0\n1\nClose\n", QcfResult::Rejected, "Error reading Pass #...\n\nPossibly script out of sync."},
      {"+\nT\nS\nPass=500\n1\nClose\n", QcfResult::Rejected, "Error reading Pass #...\n\nPossibly script out of sync."},
      {"+\nT\nS\nlots\n", QcfResult::Rejected, "Error reading # lines per Quote...\n\nPossibly script out of sync."},
      {"+\nT\nS\n1\nNoDate\nNoTime\nnothing here\n", QcfResult::Rejected,
       "nothing here -- Invalid Format Specifier...None Found"},
      {"+\nT\nS\n1\nClose  bogus\n", QcfResult::Rejected, "Close  bogus -- Invalid Format Specifier...None Found"},
      {"+\n", QcfResult::Inadequate, "Inadequate Download Configuration Information Found"},
      {"HistoricalSuffix 1 50 500\n+\nT\nS\n1\nClose\n", QcfResult::Rejected, "HistoricalSuffix 1 50 500 -- Invalid Format"},
      {"HistoricalSuffix  1 0 500\n+\nT\nS\n1\nClose\n", QcfResult::Rejected, "HistoricalSuffix  1 0 500 -- Invalid Format"},
      {"ReplaceAll=\"\" with \"x\"\n+\nT\nS\n1\nClose\n", QcfResult::Ready, "ReplaceAll=\"\" with \"x\" -- Invalid Format"},
  };
  for (const auto& c : cases) {
    QcfRun r;
    EXPECT_EQ(r.run(std::string("Page=x\nby_symbol\n") + c.body), c.result) << c.body;
    ASSERT_FALSE(r.errors.empty()) << c.body;
    EXPECT_EQ(r.errors[0], c.message) << c.body;
  }
}

TEST(QcfReader, SettingsPartDivisorZoneAndOutputFormat) {
  {
    QcfRun r;
    EXPECT_EQ(r.run("CurrencyConversionDivisor=0\nPage=x\n"), QcfResult::Rejected);
    EXPECT_EQ(r.errors.at(0), "Could not convert CurrencyConversionDivisor.");
  }
  QcfRun r;
  r.in.currencyDivisor = 0;  // a global divisor of 0 falls back to 1.0
  ASSERT_EQ(r.run("Timezone=EST\nOutputFormat=Date  \"H\"Hi  2  Close  Symbol\n"
                  "OutputFieldPositions=0,12,30,45\nHeader=none\nOutputDelimeter=comma\n"
                  "Page=x\nby_page\nT\nS\n1\nClose\n"),
            QcfResult::Ready);
  EXPECT_DOUBLE_EQ(r.s.currencyDivisor, 1.0);
  EXPECT_EQ(r.s.timeZone, "R");  // not a zone letter: kept
  const OFtype& f = r.s.outputFormat;
  ASSERT_EQ(f.nFields, 4);
  EXPECT_EQ(f.fieldCode[1], 1);
  EXPECT_STREQ(f.prefixText[1], "H");
  EXPECT_EQ(f.leadBlanks[2], 2);
  EXPECT_EQ(f.fieldCode[3], 101);
  EXPECT_EQ(f.columnPos[1], 12);
  EXPECT_STREQ(f.headerTemplate, "None.day");
  EXPECT_EQ(f.delimiter, DELIM_COMMA);

  QcfRun z;
  ASSERT_EQ(z.run("Timezone=V\nPage=x\nby_page\nT\nS\n1\nClose\n"), QcfResult::Ready);
  EXPECT_EQ(z.s.timeZone, "V");
  EXPECT_FLOAT_EQ(z.s.tzAdjust, 4.0f);  // R (-5) minus V (-9)
}

TEST(QcfReader, AppendDateAndRollover) {
  struct Case {
    const char* pattern;
    int hour;
    int rollover;
    const char* zone;
    const char* want;
  } cases[] = {
      {"yyyymmdd", 14, 0, "R", "20261208"},
      {"mm/dd/yy", 14, 0, "R", "12"},  // a literal separator ends the conversion
      {"yymmdd", 14, 1500, "R", "261207"},
      {"ymmdd", 14, 0, "R", "61208"},
      // 00:30 with the market 4 hours west: 2030 of the market's day, not a negative time.
      {"yyyymmdd", 0, 600, "V", "20261207"},
  };
  for (const auto& c : cases) {
    QcfRun r;
    r.clock.t.hour = c.hour;
    std::string q = std::string("Timezone=") + c.zone + "\nAppendDateRolloverTime=" + std::to_string(c.rollover) +
                    "\nPage=http://h/q?d=\nAppendDate=" + c.pattern + "\nby_page\nT\nS\n1\nClose\n";
    ASSERT_EQ(r.run(q), QcfResult::Ready) << c.pattern;
    EXPECT_EQ(r.s.pageAddress, std::string("http://h/q?d=") + c.want) << c.pattern << " " << c.hour;
  }
}

TEST(QcfReader, OptionBlocksStarCAndOneQuotePerPage) {
  const char* q =
      "Page=http://h/a\n"
      "Begin Group1Option 2  Historical pages\n"
      "Append=&hist=1\n"
      "End Group1Option\n"
      "Begin Group2Option 1\n"
      "Append=&two=1\n"
      "End Group2Option\n"
      "by_symbol\nNumQuotesPerPage=1\n"
      "GroupTrigger=First\n*C  GroupTrigger=Second\n"
      "S\n1\nClose\n";
  QcfRun off;
  ASSERT_EQ(off.run(q), QcfResult::Ready);
  EXPECT_EQ(off.s.pageAddress, "http://h/a");
  EXPECT_EQ(off.s.quotesPerPage, 1);
  EXPECT_EQ(off.s.separator, "");  // 1 skips the separator line
  EXPECT_EQ(off.s.groups[0].groupTrigger, "Second");

  QcfRun on;
  on.in.options[1] = 1;  // group 1, option 2
  on.in.options[6] = 1;  // group 2, option 1
  ASSERT_EQ(on.run(q), QcfResult::Ready);
  EXPECT_EQ(on.s.pageAddress, "http://h/a&hist=1&two=1");
}

TEST(QcfReader, LinesCommentsMacrosAndReplacements) {
  std::string longLine(200, 'x');
  QcfRun r;
  ASSERT_EQ(r.run("Page=x  // the page\r\n" + longLine + "\r\n" +
                  "ReplaceAll=\"&amp;\" with \"&\"\n"
                  "MACRO Co_nameLookup\nMACRO STARTCONAMELOOKUPTABLE\nIBM  Intl Business Machines\n"
                  "MSFT  Microsoft\nMACRO END\n"
                  "EndOfLineString=</tr>\nby_page\nT\nS\n1\nClose"),  // no final line end
            QcfResult::Ready);
  EXPECT_EQ(r.s.pageAddress, "x");
  ASSERT_EQ(r.errors.size(), 1u);
  EXPECT_EQ(r.errors[0].rfind("Line Length Exceeds 180 characters or missing CR.\nLine Ignored.\n\n", 0), 0u);
  ASSERT_EQ(r.s.replacements.size(), 1u);
  EXPECT_EQ(r.s.replacements[0].first, "&amp;");
  EXPECT_TRUE(r.s.coNameLookup);
  ASSERT_EQ(r.s.coNames.size(), 2u);
  EXPECT_EQ(r.s.coNames[0].second, "Intl Business Machi");  // 19 characters
  EXPECT_EQ(r.s.endOfLine, "</tr>");
  ASSERT_EQ(r.s.groups[0].specifiers.size(), 1u);  // the last line without "\n" counts
}

TEST(QcfReader, ImportModeTakesSpecifiersFromImportFormat) {
  QcfRun r;
  r.in.importMode = true;
  r.in.importFile = "/tmp/prices.csv";
  ASSERT_EQ(r.run("ImportFormat=Date,  Hi,  Low,  Close,  Volume\nImportDateFormat=yyyy-mm-dd\n"
                  "Page=http://ignored\nby_symbol\nStartTrigger=None\nTriggerString=Date\n1\nAutoDate\n"
                  "Symbol\n"),
            QcfResult::Ready);
  EXPECT_EQ(r.s.pageAddress, "/tmp/prices.csv");
  EXPECT_TRUE(r.s.localFile);
  EXPECT_EQ(r.s.requestMode, BY_PAGE);
  EXPECT_EQ(r.s.dateFormat, "yyyy-mm-dd");
  const QcfGroup& g = r.s.groups[0];
  EXPECT_EQ(*g.triggerString, "");
  EXPECT_EQ(g.dateMode, 0);
  ASSERT_EQ(g.specifiers.size(), 5u);
  EXPECT_EQ(*g.specifiers[0].end, ",");
}

TEST(QcfFiles, MissingQcfGetsDefaultCopyAndOptionsFile) {
  QcfRun r;
  std::filesystem::create_directories(r.dir.file("QuoteList Configuration Files"));
  r.dir.write("QuoteList Configuration Files/default.qcf", "File=quotes.txt\nby_page\nT\nS\n1\nClose\n");
  EXPECT_EQ(ReadListQCFForDownload("lists\\watch.qtl", r.in, &r.s), QcfResult::Ready);
  EXPECT_EQ(r.dir.read("QuoteList Configuration Files/watch.qcf"), "File=quotes.txt\nby_page\nT\nS\n1\nClose\n");
  ASSERT_FALSE(r.errors.empty());
  EXPECT_NE(r.errors[0].find("Could Not Open Quotelist Configuration File -- "), std::string::npos);
  EXPECT_TRUE(r.s.localFile);

  std::remove(r.dir.file("QuoteList Configuration Files/default.qcf").c_str());
  r.errors.clear();
  EXPECT_EQ(ReadListQCFForDownload("other.qtl", r.in, &r.s), QcfResult::NotFound);
  ASSERT_EQ(r.errors.size(), 2u);
  EXPECT_EQ(r.errors[1].rfind("Could Not Open Default Configuration File -- ", 0), 0u);

  DLOptions o = GetDLConfig();
  for (auto b : o) EXPECT_EQ(b, 0);
  o[3] = 1;
  o[13] = 7;
  ASSERT_TRUE(SaveDLConfig(o));
  EXPECT_EQ(r.dir.read("config/download/download.cfg").size(), 14u);
  DLOptions back = GetDLConfig();
  EXPECT_TRUE(optionOn(back, 1, 4));
  EXPECT_TRUE(optionOn(back, 3, 2));
  EXPECT_FALSE(optionOn(back, 2, 1));
  EXPECT_EQ(back[13], 1);
}

TEST(QcfFiles, QuoteListReaderCaptionsLinksAndFormat) {
  QcfRun r;
  r.dir.write("l.qcf",
              "Group1Caption=Page kinds\n"
              "Begin Group1Option 1  Today only\nAppend=&d=1\nEnd Group1Option\n"
              "QtlHeader=SYMBOL   FILE   NAME\n"
              "Page=http://h/q\nBrowserLink=http://h/b\nSymSearch=http://h/s\nby_options\nT\nS\n1\nClose\n"
              "OutputFormat=Date  Close\n");
  ListQcf q;
  ASSERT_TRUE(GetQCF("l.qcf", DLOptions{}, &q));
  EXPECT_EQ(q.groupCaption[0], "Page kinds");
  EXPECT_EQ(q.groupCaption[1], "Group 2 Options");
  EXPECT_EQ(q.optionCaption[0], "Today only");
  EXPECT_EQ(q.optionCaption[1], "Undefined");
  EXPECT_EQ(q.qtlHeader, "SYMBOL   FILE   NAME");
  EXPECT_EQ(q.browserLink, "http://h/b");
  EXPECT_EQ(q.symSearch, "http://h/s");
  EXPECT_TRUE(q.byOptions);
  EXPECT_FALSE(q.localFile);
  EXPECT_EQ(q.outputFormat.nFields, 2);  // recognised after the settings part too
}
