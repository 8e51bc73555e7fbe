// Sample pages end to end: the QCF read, the page parsed, the quotes saved. Each page is
// parsed twice as a download session does it: with the parse notes on (the .parsed file,
// nothing saved) and for real (the quote files, the update image and the comma images).
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "download/page_parser.h"
#include "download/page_requests.h"
#include "download/quote_save.h"
#include "support/download_fixture.h"
#include "quotes/quotefile.h"
#include "util/dates.h"
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

struct Download : QcfRun {
  Download() {
    std::filesystem::create_directories(dir.file("quotes.day"));
    dir.write("Header.day", "SYMBOL:\nCOMPANY NAME:\n");
  }
  void qcfFile(const std::string& name) { qcf(downloadData(name)); }
  // A quote file with its lines, stamped with the date of its last quote.
  void history(const std::string& name, const std::string& text, LocalTime stamp) {
    dir.write("quotes.day/" + name, text);
    ASSERT_TRUE(setFileTime(dir.file("quotes.day/" + name), stamp));
  }

  // One page under the list "w.qtl", with the switches: the saver writes w.tmp, w.csv,
  // quotes.csv and w.parsed; by symbol the page's requests come from the list.
  long run(const std::string& pageFile, ParseSwitches sw = {}) {
    dir.write("w.htm", downloadData(pageFile));
    QuoteSaver saver(s, "w.qtl", sw);
    EXPECT_TRUE(saver.openOutputs("w.tmp", "w.csv", "quotes.csv", true, false));
    EXPECT_TRUE(saver.openDiagnostics("w.ppl", "w.parsed"));
    PageRequests pages(s, saver);
    if (s.requestMode == BY_SYMBOL) {
      EXPECT_TRUE(pages.open("w.qtl"));
      EXPECT_NE(pages.AddQuotesToPage(0), "");
    }
    PageParser parser(s, saver, sw);
    saver.attach(parser);
    long saved = parser.ParseQuotesQCF("w.htm");
    saver.closeOutputs();
    texts = saver.texts;
    return saved;
  }
  std::string notes(const std::string& pageFile) {
    EXPECT_EQ(run(pageFile, ParseSwitches{false, true, false}), 0);
    return dir.read("w.parsed");
  }
  std::vector<std::string> texts;
};

}  // namespace

TEST(SamplePages, HtmlTableOneQuotePerRow) {
  Download d;
  d.qcfFile("table.qcf");
  d.dir.write("w.qtl", "SYMBOL   FILE   NAME\nNYSE:IBM   *   Intl Business Mach\nGE   ge   General Electric\n");
  EXPECT_EQ(d.notes("table.htm"),
            "\nPass 01\n\n"
            "symbol -- IBM  co_name -- Intl Business Mach  Close -- 93 1/2  volume -- 1234500  Time -- 4:00"
            "    ** Success.\n"
            "symbol -- MSFT  co_name -- Microsoft a Co  Close -- 45.125  volume -- 0  Time -- 4:01    ** Success.\n"
            "Cannot find symbol \"MSFT\" in Quotelist \n"
            "symbol -- BAD  co_name -- Bad Quote  Quote Test Read Fail -- 1e999\n"
            "symbol -- XOM  co_name -- Exxon  Quote Test Read Fail -- --5\n"
            "symbol -- GE  co_name -- General Electric  Close -- 12  volume -- 100  Time -- 4:04    ** Success.\n"
            "  ** Short Quote FAIL\n"
            "  ** Short Quote FAIL\n");
  EXPECT_FALSE(std::filesystem::exists(d.dir.file("quotes.day/ge.day")));  // the notes run saves nothing

  // Pre-processed lines only: tags became blanks, entities are gone, nothing is saved.
  EXPECT_EQ(d.run("table.htm", ParseSwitches{true, false, false}), 0);
  std::string ppl = d.dir.read("w.ppl");
  EXPECT_EQ(ppl.rfind("\nPass 01\n\nSymbol         Name         Last Trade", 0), 0u) << ppl;
  EXPECT_NE(ppl.find("\nMSFT         Microsoft a Co         45.125         N/A         4:01\n"), std::string::npos) << ppl;
  EXPECT_FALSE(std::filesystem::exists(d.dir.file("quotes.day/ge.day")));

  EXPECT_EQ(d.run("table.htm"), 2);
  std::string ibm = columns({"12/08/2026", "93 1/2", "93 1/2", "93 1/2", "1234500", "4:00"});
  std::string ge = columns({"12/08/2026", "12", "12", "12", "100", "4:04"});
  EXPECT_EQ(d.dir.read("quotes.day/NYSE_IBM.day"), "SYMBOL: IBM\nCOMPANY NAME: Intl Business Mach\n" + ibm);
  EXPECT_EQ(d.dir.read("quotes.day/ge.day"), "SYMBOL: GE\nCOMPANY NAME: General Electric\n" + ge);
  EXPECT_EQ(d.dir.read("w.tmp"), "IBM   NYSE:IBM   Intl Business Mach   " + ibm + "GE   ge   General Electric   " + ge);
  EXPECT_EQ(d.dir.read("w.csv"),
            "12/08/2026, 93 1/2, 93 1/2, 93 1/2, 1234500, 4:00\n12/08/2026, 12, 12, 12, 100, 4:04\n");
  EXPECT_EQ(d.dir.read("quotes.csv"), d.dir.read("w.csv"));
  EXPECT_EQ(d.dir.read("w.parsed"), "");  // notes only with the switch
}

TEST(SamplePages, SeveralGroupsAndPasses) {
  Download d;
  d.qcfFile("summary.qcf");
  d.dir.write("w.qtl", "SYMBOL   FILE   NAME\nIBM   *   Intl Business Machines\nGE   ge   General Electric\n"
                       "XOM   xom   Exxon Mobil\n^DJI   dji   Dow Industrials\n");
  std::string ge = "SYMBOL: GE\n" + columns({"12/08/2026", "45", "45", "45", "100"});
  d.history("ge.day", ge, {2026, 12, 8, 0, 0, 0});  // has today's quote: not requested
  std::string xom = "SYMBOL: XOM\n" + columns({"12/07/2026", "80", "80", "80", "100"});
  d.history("xom.day", xom, {2026, 12, 7, 0, 0, 0});
  // Pass 1 reads the two tables (the index table above them has no group yet); pass 2 only
  // the rows starting with "^" after "Indexes".
  EXPECT_EQ(d.notes("summary.htm"),
            "\nPass 01\n\n"
            "  ** Short Quote FAIL\n"
            "symbol -- Symbol  Quote Test Read Fail -- Last\n"
            "symbol -- IBM  Close -- 93 1/2  volume -- 1234500    ** Success.\n"
            "symbol -- GE  Close -- 45 3/8  volume -- 987000    ** Success.\n"
            "Cannot find symbol \"GE\" in Quotelist \n"
            "  ** Short Quote FAIL\n"
            "  ** Short Quote FAIL\n"
            "symbol -- XOM  Close -- 81 1/4  volume -- 55000    ** Success.\n"
            "symbol -- ZZZZ  Close -- 2 1/16  volume -- 12500    ** Success.\n"
            "Cannot find symbol \"ZZZZ\" in Quotelist \n"
            "  ** Short Quote FAIL\n"
            "  ** Short Quote FAIL\n"
            "\nPass 02\n\n"
            "symbol -- ^DJI  Close -- 10512.34  volume -- 0    ** Success.\n"
            "symbol -- ^SPX  Close -- 1342.15  volume -- 0    ** Success.\n"
            "Cannot find symbol \"^SPX\" in Quotelist \n");

  EXPECT_EQ(d.run("summary.htm"), 3);
  std::string ibm = columns({"12/08/2026", "93 1/2", "93 1/2", "93 1/2", "1234500", "5:30pm"});
  std::string xomNew = columns({"12/08/2026", "81 1/4", "81 1/4", "81 1/4", "55000", "5:30pm"});
  std::string dji = columns({"12/08/2026", "10512.34", "10512.34", "10512.34", "0", "5:30pm"});
  EXPECT_EQ(d.dir.read("quotes.day/IBM.day"), "SYMBOL: IBM\nCOMPANY NAME: Intl Business Machines\n" + ibm);
  EXPECT_EQ(d.dir.read("quotes.day/xom.day"), xom + xomNew);
  EXPECT_EQ(d.dir.read("quotes.day/dji.day"), "SYMBOL: ^DJI\nCOMPANY NAME: Dow Industrials\n" + dji);
  EXPECT_EQ(d.dir.read("quotes.day/ge.day"), ge);
  EXPECT_EQ(d.dir.read("w.tmp"), "IBM   IBM   Intl Business Machines   " + ibm + "XOM   xom   Exxon Mobil   " + xomNew +
                                     "^DJI   dji   Dow Industrials   " + dji);
  EXPECT_EQ(d.dir.read("w.csv"),
            "12/08/2026, 93 1/2, 93 1/2, 93 1/2, 1234500, 5:30pm\n12/08/2026, 81 1/4, 81 1/4, 81 1/4, 55000, 5:30pm\n"
            "12/08/2026, 10512.34, 10512.34, 10512.34, 0, 5:30pm\n");
}

TEST(SamplePages, OptionChainsUnderlyingThenSeries) {
  Download d;
  d.qcfFile("chains.qcf");
  d.dir.write("w.qtl", "SYMBOL   FILE   NAME\nIBM   ibm\\ibm   Intl Business Machines\nGE   ge\\ge   General Electric\n");
  // A row that is no call is tried again as the next underlying.
  EXPECT_EQ(d.notes("chains.htm"),
            "\nPass 01\n\n"
            "  ** Short Quote FAIL\n"
            "symbol -- IBM  co_name -- Intl Business Machines  Close -- 93 1/2    ** Success.\n"
            "ExpChar -- A  ExpYr -- 27  Close -- 5 1/2    ** Success.\n"
            "ExpChar -- B  ExpYr -- 27  Close -- 4 1/4    ** Success.\n"
            "delimeter fail -- GE         General Electric         45 3/8\n"
            "symbol -- GE  co_name -- General Electric  Close -- 45 3/8    ** Success.\n"
            "ExpChar -- M  ExpYr -- 27  Close -- 1 3/4    ** Success.\n"
            "delimeter fail -- ../../x         Unlisted Corp         12\n"
            "symbol -- ../../x  co_name -- Unlisted Corp  Close -- 12    ** Success.\n"
            "ExpChar -- C  ExpYr -- 27  Close -- 1    ** Success.\n"
            "  ** Short Quote FAIL\n  ** Short Quote FAIL\n  ** Short Quote FAIL\n  ** Short Quote FAIL\n");

  d.host.host.boxes.clear();
  EXPECT_EQ(d.run("chains.htm"), 3);
  std::string a = columns({"12/08/2026", "5 1/2", "5 1/2", "5 1/2", "0", "5:30pm"});
  std::string b = columns({"12/08/2026", "4 1/4", "4 1/4", "4 1/4", "0", "5:30pm"});
  std::string m = columns({"12/08/2026", "1 3/4", "1 3/4", "1 3/4", "0", "5:30pm"});
  EXPECT_EQ(d.dir.read("quotes.day/ibm/ibm_A27.day"), "SYMBOL: IBM\nCOMPANY NAME: Intl Business Machines\n" + a);
  EXPECT_EQ(d.dir.read("quotes.day/ibm/ibm_B27.day"), "SYMBOL: IBM\nCOMPANY NAME: Intl Business Machines\n" + b);
  EXPECT_EQ(d.dir.read("quotes.day/ge/ge_M27.day"), "SYMBOL: GE\nCOMPANY NAME: General Electric\n" + m);
  EXPECT_EQ(d.dir.read("w.tmp"), "IBM   ibm\\ibm_A27   Intl Business Machines   " + a +
                                     "IBM   ibm\\ibm_B27   Intl Business Machines   " + b +
                                     "GE   ge\\ge_M27   General Electric   " + m);
  EXPECT_EQ(d.dir.read("w.csv"), "12/08/2026, 5 1/2, 5 1/2, 5 1/2, 0, 5:30pm\n12/08/2026, 4 1/4, 4 1/4, 4 1/4, 0, 5:30pm\n"
                                 "12/08/2026, 1 3/4, 1 3/4, 1 3/4, 0, 5:30pm\n");
  // The unlisted underlying's page symbol "../../x" is refused as a folder, and its call
  // is not saved elsewhere in its place.
  EXPECT_TRUE(d.host.host.sawBox("Cannot open Quote file for update -- ../../x\n\nPlease carefully check QUOVA env "
                                 "variable, if using.\n\nAlso check validity of file name in Quotelist entry.",
                                 "Quote DownLoad ERRORS"));
  EXPECT_FALSE(std::filesystem::exists(d.dir.file("quotes.day/C27.day")));
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(d.dir.path()).parent_path().parent_path() / "x"));
  int files = 0;
  for (auto& e : std::filesystem::recursive_directory_iterator(d.dir.file("quotes.day")))
    files += e.is_regular_file();
  EXPECT_EQ(files, 3);
}

TEST(SamplePages, HistoricalSeriesOfOneSymbol) {
  Download d;
  d.qcfFile("hist.qcf");
  d.dir.write("w.qtl", "SYMBOL   FILE   NAME\nIBM   *   Intl Business Machines\n");
  std::string old = "SYMBOL: IBM\n" + columns({"11/04/2026", "92 1/4", "91", "92", "1300000"});
  d.history("IBM.day", old, {2026, 11, 4, 0, 0, 0});
  QuoteSaver saver(d.s, "w.qtl");
  ASSERT_TRUE(saver.openOutputs("w.tmp", "w.csv", "quotes.csv", true, false));
  PageRequests pages(d.s, saver);
  ASSERT_TRUE(pages.open("w.qtl"));
  // Pages follow while each saves quotes, up to the end page; quotes up to the file's stamp
  // (11/02 to 11/04, and 11/10 again on the last page) are not appended.
  std::vector<std::string> addresses;
  std::vector<long> saved;
  long last = 0;
  for (std::string a; !(a = pages.AddQuotesToPage(last)).empty() && addresses.size() < 10;) {
    addresses.push_back(a);
    size_t y = a.find("&y=") + 3;
    d.dir.write("w.htm", downloadData("hist" + a.substr(y, a.find("&z") - y) + ".htm"));
    PageParser parser(d.s, saver);
    saved.push_back(last = parser.ParseQuotesQCF("w.htm"));
  }
  saver.closeOutputs();
  EXPECT_EQ(addresses, (std::vector<std::string>{"http://quotes.example/hist?s=IBM&y=1&z",
                                                 "http://quotes.example/hist?s=IBM&y=51&z",
                                                 "http://quotes.example/hist?s=IBM&y=101&z"}));
  EXPECT_EQ(saved, (std::vector<long>{2, 2, 1}));
  std::string lines = columns({"11/05/2026", "93", "91 3/4", "92 1/2", "1400000", "5:30pm"}) +
                      columns({"11/06/2026", "93 1/4", "92", "93", "1500000", "5:30pm"}) +
                      columns({"11/09/2026", "94", "92 1/2", "93 3/4", "1000000", "5:30pm"}) +
                      columns({"11/10/2026", "94 1/2", "93", "94", "900000", "5:30pm"}) +
                      columns({"11/11/2026", "95", "93 1/2", "94 7/8", "800000", "5:30pm"});
  EXPECT_EQ(d.dir.read("quotes.day/IBM.day"), old + lines);
  EXPECT_EQ(fileStampDay(d.dir.file("quotes.day/IBM.day")), GoodDate("11/11/2026", DATE_FMT_US));
  std::string tmp, csv;
  for (size_t at = 0, nl; (nl = lines.find('\n', at)) != std::string::npos; at = nl + 1) {
    tmp += "IBM   IBM   Intl Business Machines   " + lines.substr(at, nl + 1 - at);
    csv += commaLine(lines.substr(at, nl + 1 - at));
  }
  EXPECT_EQ(d.dir.read("w.tmp"), tmp);
  EXPECT_EQ(d.dir.read("w.csv"), csv);
  EXPECT_EQ(d.dir.read("w.csv").substr(0, 52), "11/05/2026, 93, 91 3/4, 92 1/2, 1400000, 5:30pm\n11/0");
}

TEST(SamplePages, TextQuotesOverThreeLines) {
  Download d;
  d.qcfFile("threeline.qcf");
  d.dir.write("w.qtl", "SYMBOL   FILE   NAME\nIBM   *   Intl Business Machines\nGE   *   General Electric\n");
  EXPECT_EQ(d.notes("threeline.txt"),
            "\nPass 01\n\n"
            "symbol -- IBM  Close -- 45 3/8  volume -- 1234500    ** Success.\n"
            "symbol -- GE  Close -- 12 1/2  volume -- 100    ** Success.\n"
            "symbol -- BAD  Quote Test Read Fail -- n/a\n");
  EXPECT_EQ(d.run("threeline.txt"), 2);
  std::string ibm = columns({"12/08/2026", "45 3/8", "45 3/8", "45 3/8", "1234500", "5:30pm"});
  std::string ge = columns({"12/08/2026", "12 1/2", "12 1/2", "12 1/2", "100", "5:30pm"});
  EXPECT_EQ(d.dir.read("quotes.day/IBM.day"), "SYMBOL: IBM\nCOMPANY NAME: Intl Business Machines\n" + ibm);
  EXPECT_EQ(d.dir.read("quotes.day/GE.day"), "SYMBOL: GE\nCOMPANY NAME: General Electric\n" + ge);
  EXPECT_EQ(d.dir.read("w.tmp"), "IBM   IBM   Intl Business Machines   " + ibm + "GE   GE   General Electric   " + ge);
  EXPECT_EQ(d.dir.read("w.csv"), "12/08/2026, 45 3/8, 45 3/8, 45 3/8, 1234500, 5:30pm\n"
                                 "12/08/2026, 12 1/2, 12 1/2, 12 1/2, 100, 5:30pm\n");
}

TEST(SamplePages, ImportedCommaFile) {
  Download d;
  d.dir.write("prices.csv", downloadData("prices.csv"));  // CRLF lines
  d.dir.write("t.qcf", downloadData("import.qcf"));
  QcfInput in;
  in.importMode = true;
  in.importFile = "prices.csv";
  in.configError = [](std::string_view t) { ADD_FAILURE() << t; };
  ASSERT_EQ(ReadSessionQCF("t.qcf", in, &d.s), QcfResult::Ready);
  ASSERT_EQ(d.s.requestMode, BY_PAGE);
  d.dir.write("w.qtl", "SYMBOL   FILE   NAME\nIBM   *   Intl Business Machines\n");
  EXPECT_EQ(d.notes("prices.csv"),
            "\nPass 01\n\n"
            "symbol -- Symbol  Date Test Read Fail -- Date\n"
            "symbol -- IBM  Date -- 12/01/2026  Open -- 92  Hi -- 93  Low -- 91 1/2  Close -- 92 1/2  "
            "volume -- 1200300    ** Success.\n"
            "symbol -- IBM  Date -- 12/02/2026  Open -- 92 1/2  Hi -- 94  Low -- 92  Close -- 93 3/4  "
            "volume -- 1100200    ** Success.\n"
            "symbol -- IBM  Date -- 12/03/2026  Open -- 93 3/4  Hi -- 94  Low -- 93  Close -- 93 1/2  "
            "volume -- 900100    ** Success.\n");
  EXPECT_EQ(d.run("prices.csv"), 3);
  std::string l1 = columns({"12/01/2026", "93", "91 1/2", "92 1/2", "1200300", "5:30pm"});
  std::string l2 = columns({"12/02/2026", "94", "92", "93 3/4", "1100200", "5:30pm"});
  std::string l3 = columns({"12/03/2026", "94", "93", "93 1/2", "900100", "5:30pm"});
  EXPECT_EQ(d.dir.read("quotes.day/IBM.day"), "SYMBOL: IBM\nCOMPANY NAME: Intl Business Machines\n" + l1 + l2 + l3);
  // By page, every other row finds the list at its end and is saved under the page symbol.
  EXPECT_EQ(d.dir.read("w.tmp"), "IBM   IBM   Intl Business Machines   " + l1 + "IBM   IBM   IBM   " + l2 +
                                     "IBM   IBM   Intl Business Machines   " + l3);
  EXPECT_EQ(d.dir.read("w.csv"), "12/01/2026, 93, 91 1/2, 92 1/2, 1200300, 5:30pm\n"
                                 "12/02/2026, 94, 92, 93 3/4, 1100200, 5:30pm\n"
                                 "12/03/2026, 94, 93, 93 1/2, 900100, 5:30pm\n");
}
