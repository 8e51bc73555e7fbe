// Exports, backdating a list, copying a list with its configuration, and recovery.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "quote_test_support.h"
#include "quotes/list_operations.h"
#include "quotes/quotefile.h"
#include "support/recording_host.h"

using namespace quova;
using namespace quova::test;

namespace {

struct OpsTest : ::testing::Test {
  TestRoot root;
  ScopedHost host;
};

}  // namespace

TEST_F(OpsTest, ExportHQFKeepsTheHeaderAndCommasTheRecords) {
  root.write("quotes.day/IBM.day",
             "QUOTE HISTORY\nSYMBOL: IBM, Corp\nDATE  HIGH\n"
             "01/04/1999     93.5          91 1/8      92 3/4       1234567     4:00\n"
             "12/07/2026     95            92          94           100\n");
  std::string exported;
  ASSERT_TRUE(ExportHQF(root.file("quotes.day/IBM.day"), &exported));
  EXPECT_EQ(root.read("exports/ibm.csv"),
            "QUOTE HISTORY\nSYMBOL: IBM, Corp\nDATE  HIGH\n"
            "01/04/1999,93.5,91 1/8,92 3/4,1234567,4:00\n12/07/2026,95,92,94,100");
  EXPECT_EQ(exported, root.dir.path() + "/exports\\ibm.csv");
  EXPECT_EQ(host.host.statusTexts.back(), "Historical Quotefile -- exports\\ibm.csv successfully exported.");

  // An existing export: No keeps it, Yes overwrites it.
  root.write("exports/ibm.csv", "old");
  host.host.answers = {IDNO};
  EXPECT_FALSE(ExportHQF(root.file("quotes.day/IBM.day")));
  EXPECT_EQ(root.read("exports/ibm.csv"), "old");
  EXPECT_TRUE(host.host.sawBox("file exports\\ibm.csv already exists!\n\nOK to overwrite?", "ExportHQF Warning Message"));
  host.host.answers = {IDYES};
  EXPECT_TRUE(ExportHQF(root.file("quotes.day/IBM.day")));
  EXPECT_NE(root.read("exports/ibm.csv"), "old");
}

TEST_F(OpsTest, ExportWithOtherDatePatternCopiesUnchangedAndMissingFilesReport) {
  root.write("quotes.day/YMD.day", "H\n19990104   93.5   91\n");
  ASSERT_TRUE(ExportHQF(root.file("quotes.day/YMD.day")));
  EXPECT_EQ(root.read("exports/ymd.csv"), "H\n19990104   93.5   91");
  EXPECT_FALSE(ExportHQF(root.file("quotes.day/NONE.day")));
  EXPECT_TRUE(host.host.sawBox("Cannot open HQF File -- " + root.file("quotes.day/NONE.day"), "Quote List ERRORS"));
  root.write("notes.txt", "x");
  EXPECT_FALSE(ExportHQF(root.file("notes.txt")));  // no ".day": ends silently
}

TEST_F(OpsTest, ExportQLConvertsEveryLineAndDropsTwelveX) {
  root.write("Watch.QTL", "SYMBOL   FILE   NAME\nIBM   *   Intl  Business   12/07/2026   94.000\n"
                          "xxxxxxxxxxxx   separator\nMSFT   *   Microsoft\n");
  ASSERT_TRUE(ExportQL(root.file("Watch.QTL")));
  EXPECT_EQ(root.read("exports/watch.csv"),
            "SYMBOL,FILE,NAME\nIBM,*,Intl,Business,12/07/2026,94.000\nMSFT,*,Microsoft");
  EXPECT_EQ(host.host.statusTexts.back(), "QuoteList -- exports\\watch.csv successfully exported.");
}

TEST_F(OpsTest, BackdatingAListCountsTheExistingFiles) {
  root.write("quotes.day/IBM.day", "x\n");
  root.write("quotes.day/funds/funds_VFINX.day", "x\n");
  root.write("l.qtl", "HEADER\nIBM   *   Intl\nGONE   *   Missing\nVFINX\tfunds\\VFINX\tFund\nCOMMENT\n");
  EXPECT_EQ(BackdateQLfiles(root.file("l.qtl")), 2);
  EXPECT_EQ(fileStampDay(root.file("quotes.day/IBM.day")), DayCount(1, 1, 1981));
  EXPECT_EQ(fileStampDay(root.file("quotes.day/funds/funds_VFINX.day")), DayCount(1, 1, 1981));
  EXPECT_EQ(host.host.statusTexts.back(), "Historical Quotefiles Backdated...2");
  EXPECT_EQ(BackdateQLfiles(root.file("none.qtl")), -1);
  EXPECT_TRUE(host.host.sawBox("Cannot Open Input Stream for QuoteList -- " + root.file("none.qtl"), "Quote List ERRORS"));
}

TEST_F(OpsTest, CopyListAndConfiguration) {
  root.write("WATCH.qtl", "HEADER\n");
  root.write("QuoteList Configuration Files/watch.qcf", "URL=x\n");
  EXPECT_EQ(copySourceBase(root.file("WATCH.qtl")), "WATCH");

  // The same name in other letters is the same file pair: refused, nothing emptied.
  CopyQLResult r = CopyQuoteList("WATCH", "watch", true, true);
  EXPECT_TRUE(r.refused);
  EXPECT_TRUE(host.host.sawBox("From/To base names must be different!", "CmCopyQL Warning Message"));
  EXPECT_EQ(root.read("WATCH.qtl"), "HEADER\n");

  r = CopyQuoteList("WATCH", "NEW", true, true);
  ASSERT_TRUE(r.copied);
  EXPECT_EQ(root.read("NEW.QTL"), "HEADER\n");
  EXPECT_EQ(root.read("QuoteList Configuration Files/NEW.QCF"), "URL=x\n");
  EXPECT_EQ(r.report,
            "Quotelist -- WATCH was copied to -- NEW\n\nConfig File -- WATCH was copied to -- NEW\n\n"
            "You may now open and edit these files to establish new download configurations.\n\n"
            "You may download to this new file pair individually, or add it to the daily download command file.\n\n");
  EXPECT_EQ(host.host.boxes.back().caption, "CmCopyQL Message");

  // An existing target asks first; No stops before anything is copied.
  root.write("NEW.QTL", "mine\n");
  host.host.answers = {IDNO};
  r = CopyQuoteList("WATCH", "NEW", true, false);
  EXPECT_FALSE(r.copied);
  EXPECT_EQ(root.read("NEW.QTL"), "mine\n");
  // Both boxes cleared: an empty report.
  r = CopyQuoteList("WATCH", "OTHER", false, false);
  EXPECT_FALSE(r.copied);
  EXPECT_EQ(host.host.boxes.back().text, "");
}

TEST_F(OpsTest, RecoveryCopiesTheRecFileAfterAsking) {
  root.write("quotes.day/IBM.day", "broken\n");
  root.write("quotes.day/IBM.REC", "good\n");
  host.host.answers = {IDCANCEL};
  EXPECT_FALSE(RecoverQuoteFile(root.file("quotes.day/IBM.day"), root.file("quotes.day/IBM.REC")));
  EXPECT_EQ(root.read("quotes.day/IBM.day"), "broken\n");
  EXPECT_TRUE(RecoverQuoteFile(root.file("quotes.day/IBM.day"), root.file("quotes.day/IBM.REC")));
  EXPECT_EQ(root.read("quotes.day/IBM.day"), "good\n");
  EXPECT_FALSE(RecoverQuoteFile(root.file("quotes.day/X.day"), root.file("quotes.day/X.REC")));
  EXPECT_EQ(host.host.boxes.back().caption, "Quote File Access Error");
}
