// Request tables, symbols parts and historical paging of by-symbol pages.
#include "download/page_requests.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/run_flags.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"
#include "util/clock.h"
#include "util/filetimes.h"

namespace quova {
namespace {

using quova::test::ScopedHost;
using quova::test::TempDir;

struct Pages {
  TempDir dir{true};
  ScopedHost host;
  FixedClock clock{LocalTime{2026, 12, 8, 17, 30, 0, 0, 2}};
  DownloadSettings s;
  Pages() {
    setClock(&clock);
    runFlags().QUOVAPATH = dir.path() + "/";
    std::filesystem::create_directories(dir.file("quotes.day"));
    s.pageAddress = "http://127.0.0.1/q?s=";
    s.separator = "+";
    s.suffix = "&f=x";
    s.marketDate = "12/08/2026";
  }
  ~Pages() {
    setClock(nullptr);
    runFlags().QUOVAPATH.clear();
  }
};

TEST(PageRequests, RequestLines) {
  PageRequest r;
  ASSERT_TRUE(parseRequestLine("  BRK.B  *  Berkshire  x", &r));
  EXPECT_EQ(r.symbol, "BRK.B");
  EXPECT_EQ(r.fileName, "BRKB");
  EXPECT_EQ(r.coName, "Berkshire");
  ASSERT_TRUE(parseRequestLine("IBM\tibm\tIntl", &r));
  EXPECT_EQ(r.fileName, "ibm");
  EXPECT_FALSE(parseRequestLine("symbol  FILE  NAME", &r));
  EXPECT_FALSE(parseRequestLine("   ", &r));
  EXPECT_FALSE(parseRequestLine(std::string(61, 'A') + "  f", &r));
  EXPECT_TRUE(parseRequestLine(std::string(60, 'A') + "  f", &r));
}

TEST(PageRequests, TenPerPageAtMostAndOnlyThoseInNeed) {
  Pages p;
  std::string list = "SYMBOL  FILE  NAME\n";
  for (int i = 0; i < 23; ++i) list += "S" + std::to_string(i) + "  *  Name\n";
  list += "UPTODATE  *  Done";  // its file is stamped today: not needed
  p.dir.write("w.qtl", list);
  p.dir.write("quotes.day/UPTODATE.day", "x\n");
  setFileTime(p.dir.file("quotes.day/UPTODATE.day"), LocalTime{2026, 12, 8, 17, 0, 0, 0, 2});
  p.s.quotesPerPage = 12;  // the table holds 10
  QuoteSaver saver(p.s, "w.qtl");
  PageRequests pages(p.s, saver);
  ASSERT_TRUE(pages.open("w.qtl"));
  EXPECT_EQ(pages.AddQuotesToPage(0), "http://127.0.0.1/q?s=S0+S1+S2+S3+S4+S5+S6+S7+S8+S9&f=x");
  EXPECT_EQ(saver.requests.size(), 10u);
  EXPECT_EQ(pages.AddQuotesToPage(0), "http://127.0.0.1/q?s=S10+S11+S12+S13+S14+S15+S16+S17+S18+S19&f=x");
  EXPECT_EQ(pages.AddQuotesToPage(0), "http://127.0.0.1/q?s=S20+S21+S22&f=x");
  EXPECT_EQ(pages.AddQuotesToPage(0), "");
}

TEST(PageRequests, HistoricalPagingRunsWhilePagesSaveQuotes) {
  Pages p;
  p.dir.write("w.qtl", "A  *\nB  *\n");
  p.s.quotesPerPage = 1;
  p.s.historical = true;
  p.s.histStart = 1;
  p.s.histStep = 50;
  p.s.histEnd = 151;
  QuoteSaver saver(p.s, "w.qtl");
  PageRequests pages(p.s, saver);
  ASSERT_TRUE(pages.open("w.qtl"));
  EXPECT_EQ(pages.AddQuotesToPage(0), "http://127.0.0.1/q?s=A&y=1&z");
  EXPECT_EQ(pages.AddQuotesToPage(5), "http://127.0.0.1/q?s=A&y=51&z");
  EXPECT_EQ(pages.AddQuotesToPage(5), "http://127.0.0.1/q?s=A&y=101&z");
  EXPECT_EQ(pages.AddQuotesToPage(5), "http://127.0.0.1/q?s=A&y=151&z");
  EXPECT_EQ(pages.AddQuotesToPage(5), "http://127.0.0.1/q?s=B&y=1&z");  // past the end
  EXPECT_EQ(pages.AddQuotesToPage(0), "");  // a page with no quotes ends B, and the list is done
}

TEST(PageRequests, FirstPageByMode) {
  Pages p;
  p.dir.write("w.qtl", "A  *\n");
  QuoteSaver saver(p.s, "w.qtl");
  PageRequests pages(p.s, saver);
  ASSERT_TRUE(pages.open("w.qtl"));
  p.s.requestMode = BY_PAGE;
  PageStart st = StartDownload(pages, p.s);
  EXPECT_EQ(st.kind, PageStart::Open);
  EXPECT_EQ(st.address, "http://127.0.0.1/q?s=&f=x");
  p.s.requestMode = BY_SYMBOL;
  st = StartDownload(pages, p.s);
  EXPECT_EQ(st.address, "http://127.0.0.1/q?s=A&f=x");
  EXPECT_EQ(StartDownload(pages, p.s).kind, PageStart::None);  // no request left
  p.s.localFile = true;
  p.s.pageAddress = "pages/q.htm";
  p.s.suffix.clear();
  st = StartDownload(pages, p.s);
  EXPECT_EQ(st.kind, PageStart::LocalFile);
  EXPECT_EQ(st.address, "pages/q.htm");
}

TEST(PageRequests, MissingListStream) {
  Pages p;
  QuoteSaver saver(p.s, "none.qtl");
  PageRequests pages(p.s, saver);
  EXPECT_FALSE(pages.open("none.qtl"));
  EXPECT_EQ(pages.GetQuoteRequests(), 0);
  EXPECT_TRUE(p.host.host.sawBox("Could Not assign input stream is", "in GetQuoteRequests"));
}

}  // namespace
}  // namespace quova
