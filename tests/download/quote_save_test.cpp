// Saving parsed quotes: correlation in the three request modes, the need check, the quote
// files, the update image and the comma images, and names from pages that stay inside
// quotes.day.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "base/run_flags.h"
#include "download/page_parser.h"
#include "download/quote_save.h"
#include "support/download_fixture.h"
#include "util/filetimes.h"

using namespace quova;
using quova::test::downloadData;
using quova::test::QcfRun;

namespace {

// A column record line of the default descriptor.
std::string columns(std::initializer_list<std::string> fields) {
  static const int pos[] = {0, 15, 29, 41, 54, 66};
  std::string line;
  int i = 0;
  for (const auto& f : fields) {
    if (static_cast<int>(line.size()) < pos[i]) line.resize(pos[i], ' ');
    line += f;
    ++i;
  }
  return line + "\n";
}

struct SaveRun : QcfRun {
  SaveRun() {
    std::filesystem::create_directories(dir.file("quotes.day"));
    dir.write("Header.day", "SYMBOL:\nCOMPANY NAME:\n");
  }
  long parse(QuoteSaver& saver, const std::string& page) {
    dir.write("page.htm", page);
    PageParser p(s, saver);
    return p.ParseQuotesQCF("page.htm");
  }
};

}  // namespace

TEST(QuoteSave, BySymbolWritesQuoteFilesAndImages) {
  SaveRun r;
  r.qcf(downloadData("table.qcf"));
  r.dir.write("watch.qtl", "SYMBOL   FILE   NAME\nNYSE:IBM   *   Intl Business Mach\nGE   ge   General Electric\n");
  QuoteSaver saver(r.s, "watch.qtl");
  saver.requests = {{"NYSE:IBM", "IBM", "Intl Business Mach"}, {"GE", "ge", "General Electric"}};
  r.dir.write("quotes.csv", "an earlier list of the run\n");  // kept in new mode too
  ASSERT_TRUE(saver.openOutputs("watch.tmp", "watch.csv", "quotes.csv", true, false));
  EXPECT_EQ(r.parse(saver, downloadData("table.htm")), 2);  // MSFT is not on the list
  saver.closeOutputs();
  std::string ibm = columns({"12/08/2026", "93 1/2", "93 1/2", "93 1/2", "1234500", "4:00"});
  EXPECT_EQ(r.dir.read("quotes.day/IBM.day"), "SYMBOL: IBM\nCOMPANY NAME: Intl Business Mach\n" + ibm);
  std::string ge = columns({"12/08/2026", "12", "12", "12", "100", "4:04"});
  EXPECT_EQ(r.dir.read("watch.tmp"), "IBM   IBM   Intl Business Mach   " + ibm + "GE   ge   General Electric   " + ge);
  EXPECT_EQ(r.dir.read("watch.csv"), "12/08/2026, 93 1/2, 93 1/2, 93 1/2, 1234500, 4:00\n12/08/2026, 12, 12, 12, 100, 4:04\n");
  EXPECT_EQ(r.dir.read("quotes.csv"), "an earlier list of the run\n" + r.dir.read("watch.csv"));

  // Stamped with the market date: no longer needed, and a second parse saves nothing.
  EXPECT_FALSE(saver.CheckQuotefileStatus({"GE", "ge", ""}));
  EXPECT_TRUE(saver.CheckQuotefileStatus({"XOM", "*", ""}));
  EXPECT_EQ(r.parse(saver, downloadData("table.htm")), 0);
}

TEST(QuoteSave, CommaImageRules) {
  EXPECT_EQ(commaLine("01/04/1999     93.5   91 1/8\n"), "01/04/1999, 93.5, 91 1/8\n");
  EXPECT_EQ(commaLine("a      b"), "a, b");
}

TEST(QuoteSave, OrderAndCoNameCorrelation) {
  const char* page = "Most\n10   A Corp\n11   B  Corp\n12   C Corp\n";
  {
    SaveRun r;
    r.qcf("Page=x\nby_symbol\n+\nGroupTrigger=Most\nCorrelateBy=Order\nTriggerString=None\n1\nNoDate\nNoTime\n"
          "Close  Co_name\n");
    QuoteSaver saver(r.s, "none.qtl");
    saver.requests = {{"AAA", "aaa", ""}, {"BBB", "bbb", ""}};  // fewer requests than rows
    EXPECT_EQ(r.parse(saver, page), 2);
    EXPECT_TRUE(std::filesystem::exists(r.dir.file("quotes.day/aaa.day")));
    EXPECT_NE(r.dir.read("quotes.day/bbb.day").find("   11"), std::string::npos);
  }
  {
    SaveRun r;
    r.qcf("Page=x\nby_symbol\n+\nGroupTrigger=Most\nCorrelateBy=Co_name\nTriggerString=None\n1\nNoDate\nNoTime\n"
          "Close  Co_name\n");
    QuoteSaver saver(r.s, "none.qtl");
    saver.requests = {{"CCC", "ccc", "c corp"}, {"BBB", "bbb", "B Corp"}};
    EXPECT_EQ(r.parse(saver, page), 2);
    EXPECT_NE(r.dir.read("quotes.day/bbb.day").find("   11"), std::string::npos);
    EXPECT_NE(r.dir.read("quotes.day/ccc.day").find("   12"), std::string::npos);
  }
}

TEST(QuoteSave, ByPageNamesFromThePageStayInside) {
  SaveRun r;
  r.qcf("Page=x\nby_page\nStartTrigger=None\nTriggerString=None\n1\nNoDate\nNoTime\nSymbol  Close\n");
  r.dir.write("p.qtl", "SYMBOL   FILE   NAME\n");
  QuoteSaver saver(r.s, "p.qtl");
  EXPECT_EQ(r.parse(saver, "../../x   5\na/b   6\nOK   7\n"), 1);
  EXPECT_TRUE(std::filesystem::exists(r.dir.file("quotes.day/OK.day")));
  EXPECT_FALSE(std::filesystem::exists(r.dir.file("x.day")));
  EXPECT_FALSE(std::filesystem::exists(r.dir.file("quotes.day/a")));
}

TEST(QuoteSave, ByOptionsUnderlyingThenSeries) {
  SaveRun r;
  r.qcf("Page=x\nby_options\nGroupTrigger=Underlying\nTriggerString=None\n1\nNoDate\nNoTime\nCo_name  Close\n"
        "GroupTrigger=Calls\nTriggerString=None\n1\nNoDate\nNoTime\nExpChar  ExpYr  Close\n");
  r.dir.write("o.qtl", "SYMBOL   FILE   NAME\nIBM   ibm\\ibm   Intl Business Machines\n");
  QuoteSaver saver(r.s, "o.qtl");
  EXPECT_EQ(r.parse(saver, "Underlying\nIntl Business  Machines   93\nA   99   5 1/2\nB   99   4\n"), 2);
  EXPECT_TRUE(std::filesystem::exists(r.dir.file("quotes.day/ibm/ibm_A99.day")));
  EXPECT_TRUE(std::filesystem::exists(r.dir.file("quotes.day/ibm/ibm_B99.day")));
}

TEST(QuoteSave, RepairRunsOneAfterAnother) {
  SaveRun r;
  r.qcf("RunMendora\nPage=x\nby_symbol\n+\nT\nS\n1\nClose\n");
  std::filesystem::create_directories(r.dir.file("Utilities"));
  r.dir.write("Utilities/Mendora", "#!/bin/sh\n");
  r.dir.write("quotes.day/a.day", "x\n");
  r.dir.write("quotes.day/b.day", "x\n");
  runFlags().QuovaPath = r.dir.path() + "/";
  QuoteSaver saver(r.s, "none.qtl");
  saver.requests = {{"A", "a", ""}, {"B", "b", ""}};
  saver.CheckMendoraRequest();
  ASSERT_EQ(r.host.host.processes.size(), 2u);
  EXPECT_EQ(r.host.host.processes[0].args.back(), "..\\quotes.day\\a.day");

  std::filesystem::remove(r.dir.file("Utilities/Mendora"));
  EXPECT_EQ(saver.RunMendora("quotes.day\\a.day", true), -1);
  EXPECT_TRUE(r.host.host.sawBox("Mendora Open Error", "QUOVA main window Error"));
  runFlags().QuovaPath.clear();
}

TEST(QuoteSave, OptionWithoutExpirationIsReportedAndTheNextIsTried) {
  SaveRun r;
  r.qcf("Page=x\nby_options\nGroupTrigger=Underlying\nTriggerString=None\n1\nNoDate\nNoTime\nCo_name  Close\n"
        "GroupTrigger=Calls\nTriggerString=None\n1\nNoDate\nNoTime\nExpChar  ExpYr  Close\n");
  r.dir.write("o.qtl", "SYMBOL   FILE   NAME\nIBM   ibm\\ibm   IBM Corp\n");
  QuoteSaver saver(r.s, "o.qtl");
  QuoteData q;
  QuoteDataClear(&q);
  std::strcpy(q.AltFileName, "ibm\\ibm_");
  std::strcpy(q.Symbol, "IBM");
  std::strcpy(q.Close, "5");
  std::strcpy(q.Date, "12/08/2026");
  long saved = 0;
  EXPECT_FALSE(saver.SaveQuoteLine(&q, saved, 1, 0));
  EXPECT_TRUE(r.host.host.sawBox("Expiration Character not found for ibm\\ibm_", "in SaveQuoteLine"));
  std::strcpy(q.ExpChar, "C");
  std::strcpy(q.ExpYr, "27");
  std::filesystem::create_directories(r.dir.file("quotes.day/ibm"));
  EXPECT_TRUE(saver.SaveQuoteLine(&q, saved, 1, 1));
  EXPECT_TRUE(std::filesystem::exists(r.dir.file("quotes.day/ibm/ibm_C27.day")));
  EXPECT_EQ(saved, 1);
}
