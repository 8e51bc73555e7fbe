// A quote list session against the loopback page server: pages requested, quotes saved,
// the list rewritten from the work files, the narration, and how the session tells its end
// to the daily run.
#include "download/events/download_session.h"

#include <gtest/gtest.h>
#include <sys/file.h>

#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <filesystem>
#include <fcntl.h>
#include <unistd.h>

#include "base/log.h"
#include "base/run_flags.h"
#include "download/alarm_summary.h"
#include "download/download_lock.h"
#include "download/download_state.h"
#include "settings/settings.h"
#include "support/download_fixture.h"
#include "support/page_server.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

namespace quova {
namespace {

using quova::test::downloadData;
using quova::test::PageServer;
using quova::test::ScopedHost;
using quova::test::TempDir;

bool contains(const std::vector<std::string>& lines, const std::string& text) {
  return std::find(lines.begin(), lines.end(), text) != lines.end();
}

struct SessionRun {
  TempDir dir{true};
  ScopedHost host;
  PageServer server;
  std::vector<std::string> text;
  SessionRun(const std::string& qcfExtra = {}) {
    runFlags().QUOVAPATH = dir.path() + "/";
    runFlags().DLReentrant = false;
    logState() = LogState{};
    OpenLogFile();
    downloadState().PageErrCount = 0;
    std::filesystem::create_directories(dir.file("quotes.day"));
    std::filesystem::create_directories(dir.file("QuoteList Configuration Files"));
    dir.write("Header.day", "SYMBOL:\nCOMPANY NAME:\n");
    dir.write("Blank.qtl", "SYMBOL  FILE\n");
    writeQcf("w", qcfExtra);
    dir.write("w.qtl", "SYMBOL  FILE  NAME\nIBM  *  Intl\nGE  *  General\n");
  }
  ~SessionRun() {
    runFlags().QUOVAPATH.clear();
    EndDownload();
  }
  void writeQcf(const std::string& base, const std::string& extra = {}) {
    std::string qcf = downloadData("table.qcf");
    auto at = qcf.find("http://quotes.example/");
    qcf.replace(at, 22, "http://127.0.0.1:" + std::to_string(server.port()) + "/");
    qcf.insert(qcf.find("Page="), extra);  // settings come before the page line
    dir.write("QuoteList Configuration Files/" + base + ".qcf", qcf);
  }
  SessionEnd run(bool stopAtOnce = false) {
    text.clear();
    DownloadSession s("w.qtl");
    s.setSessionText([this](const std::string& t) { text.push_back(t); });
    SessionEnd how = SessionEnd::Failed;
    bool ended = false;
    QEventLoop loop;
    QObject::connect(&s, &DownloadSession::finished, [&](SessionEnd h) {
      how = h;
      ended = true;
      dailyRun().sessionEnded(h);
      loop.quit();
    });
    QTimer::singleShot(20000, &loop, &QEventLoop::quit);
    s.GetQuotes();
    if (stopAtOnce) s.CmStop();
    loop.exec();
    EXPECT_TRUE(ended);
    return how;
  }
};

TEST(DownloadSession, FetchesSavesAndRewritesTheList) {
  SessionRun r;
  settings().DownloadControls.CurrencyDivisor = 0;  // would write infinite prices
  r.server.setPage("/q?s=IBM+GE", downloadData("table.htm"));
  EXPECT_EQ(r.run(), SessionEnd::Done);
  EXPECT_EQ(r.server.rawRequests(), std::vector<std::string>{"GET /q?s=IBM+GE\n"});
  EXPECT_NE(r.dir.read("quotes.day/IBM.day").find("93 1/2       1234500     4:00\n"), std::string::npos);
  EXPECT_NE(r.dir.read("quotes.day/GE.day").find("12   "), std::string::npos) << r.dir.read("quotes.day/GE.day");
  EXPECT_TRUE(contains(r.text, "Internet Download of QuoteList w.qtl Successfully Completed."));
  EXPECT_TRUE(contains(r.text, "2 New Quotes were downloaded."));
  // The list now shows each request's latest quote, from a completed work file.
  std::string list = r.dir.read("w.qtl");
  EXPECT_NE(list.find("93.500"), std::string::npos) << list;
  EXPECT_TRUE(std::filesystem::exists(r.dir.file("w.bak")));
  EXPECT_EQ(r.dir.read("w.tmp").empty(), false);
  // A single list download gives the download flag and the root's lock back.
  EXPECT_FALSE(runFlags().DLReentrant);
  EXPECT_TRUE(BeginDownload());
  EndDownload();

  // The same page again: nothing newer, and the session says so.
  EXPECT_EQ(r.run(), SessionEnd::Done);
  EXPECT_TRUE(contains(r.text, "Internet Download of QuoteList w.qtl produced NO new Quotes.")) << r.text.size();
  std::string log = r.dir.read("quova.log");
  EXPECT_NE(log.find("\nCurrencyDivisor 0 is not a positive number; 1.0 is used."), std::string::npos);
  settings().DownloadControls.CurrencyDivisor = 1.0;
  EXPECT_NE(log.find("\nIn GetQuotes...docfile   -- w.qtl"), std::string::npos);
  EXPECT_NE(log.find("\nInternet Download of QuoteList w.qtl produced NO new Quotes."), std::string::npos);
}

TEST(DownloadSession, EndsOfASession) {
  {  // nothing listens at the page's port: the page fails, counts, and the list is left alone
    SessionRun r;
    std::string qcf = r.dir.read("QuoteList Configuration Files/w.qcf");
    std::string port = ":" + std::to_string(r.server.port()) + "/";
    qcf.replace(qcf.find(port), port.size(), ":1/");
    r.dir.write("QuoteList Configuration Files/w.qcf", qcf);
    std::string before = r.dir.read("w.qtl");
    EXPECT_EQ(r.run(), SessionEnd::PageErrors);
    EXPECT_GE(downloadState().PageErrCount, 1);
    EXPECT_TRUE(contains(r.text,
        "Internet Download of QuoteList w.qtl aborted due to Network Error or Server Unavailability."));
    EXPECT_EQ(r.dir.read("w.qtl"), before);
  }
  {  // a missing list ends as failed, with its box, so a daily run goes on
    SessionRun r;
    std::filesystem::remove(r.dir.file("w.qtl"));
    EXPECT_EQ(r.run(), SessionEnd::Failed);
    EXPECT_TRUE(contains(r.text, "Internet Download of QuoteList w.qtl NOT Completed"));
    ASSERT_FALSE(r.host.host.boxes.empty());
    EXPECT_EQ(r.host.host.boxes[0].caption, "Download File Access Error");
    EXPECT_FALSE(runFlags().DLReentrant);
  }
  {  // a QCF that cannot be used: no page, the list untouched
    SessionRun r;
    r.dir.write("QuoteList Configuration Files/w.qcf", "Page=http://127.0.0.1:1/q?s=\nCurrencyConversionDivisor=0\n");
    std::string before = r.dir.read("w.qtl");
    EXPECT_EQ(r.run(), SessionEnd::Failed);
    EXPECT_TRUE(r.server.rawRequests().empty());
    EXPECT_EQ(r.dir.read("w.qtl"), before);
  }
  {  // a stop while the page is on its way: nothing rewritten
    SessionRun r;
    r.server.setMode(PageServer::Mode::Hang);
    std::string before = r.dir.read("w.qtl");
    EXPECT_EQ(r.run(true), SessionEnd::UserStop);
    EXPECT_EQ(r.dir.read("w.qtl"), before);
    EXPECT_FALSE(runFlags().DLReentrant);
  }
}

TEST(DownloadSession, RequestsFromThePageKeepTheListedLines) {
  // A whole page of quotes saved under their page symbols.
  SessionRun r("Add_Quote_Requests_to_QuoteList_from_Page=On\n");
  std::string qcf = r.dir.read("QuoteList Configuration Files/w.qcf");
  const std::string bySymbol = "by_symbol\nNumQuotesPerPage=10\n+\n";
  qcf.replace(qcf.find(bySymbol), bySymbol.size(), "by_page\n");
  r.dir.write("QuoteList Configuration Files/w.qcf", qcf);
  r.dir.write("w.qtl", "SYMBOL  FILE  NAME\nIBM  *  Intl   ALARMSON  HA=90.000\nGE  *  General\n");
  r.server.setPage("/q?s=", downloadData("table.htm"));
  ResetDownloadAlarms();
  EXPECT_EQ(r.run(), SessionEnd::Done);
  std::string list = r.dir.read("w.qtl");
  // IBM keeps its alarm; MSFT, a quote of the page nobody asked for, is a new request.
  EXPECT_NE(list.find("\nIBM   *   Intl   ALARMSON   HA=90.000   "), std::string::npos) << list;
  EXPECT_NE(list.find("\nMSFT   "), std::string::npos) << list;
  EXPECT_TRUE(contains(r.text, "Adding Missing Quote Requests"));
  // IBM closed at 93.5, above its limit: it joins the alarm list and the summary.
  EXPECT_TRUE(downloadState().alarms.exceeded);
  EXPECT_NE(downloadState().alarms.message.find("IBM   close 93.500 at or above 90.000"), std::string::npos)
      << downloadState().alarms.message;
  EXPECT_NE(r.dir.read("alarms.qtl").find("IBM"), std::string::npos);
  EXPECT_TRUE(CheckDownloadAlarms());
  EXPECT_EQ(r.host.host.boxes.back().caption, "QUOVA Download Status Message");
  EXPECT_EQ(r.host.host.beeps, 1);
}

TEST(DownloadSession, DailyRunWorksThroughTheCommandFile) {
  SessionRun r;
  r.server.setPage("/q?s=IBM+GE", downloadData("table.htm"));
  r.dir.write("daily.dcf", "w.qtl\n/ comment\nmissing.qtl\n");
  runFlags().QuitAfterDownload = true;
  QObject owner;
  QEventLoop loop;
  int closes = 0;
  std::vector<std::string> titles;
  connectDailyRun(&owner, [&](const std::string& title) {
    titles.push_back(title);
    return SessionText{};
  }, [&] { ++closes; loop.quit(); });
  QTimer::singleShot(30000, &loop, &QEventLoop::quit);
  dailyRun().DownLoad();
  loop.exec();
  EXPECT_EQ(closes, 1);
  EXPECT_FALSE(runFlags().DLReentrant);
  EXPECT_EQ(titles, (std::vector<std::string>{"Quote Download Update from Quotelist: w.qtl",
                                              "Quote Download Update from Quotelist: missing.qtl"}));
  EXPECT_EQ(r.server.rawRequests(), std::vector<std::string>{"GET /q?s=IBM+GE\n"});
  EXPECT_EQ(r.dir.read("daily.dld"), r.dir.read("w.htm"));
  runFlags().QuitAfterDownload = false;
  dailyRun().setHooks({});
}

TEST(DownloadSession, PageLinkForms) {
  struct Case {
    const char* address;
    bool proxy;
    const char* download;
    const char* browser;
  } cases[] = {
      {"http://q.example/q?s=IBM", false, "http://q.example /q?s=IBM", "http://q.example/q?s=IBM"},
      {"q.example:8080/q?s=IBM", false, "http://q.example /q?s=IBM", "http://q.example:8080/q?s=IBM"},
      {"http://q.example/q?s=IBM", true, "proxy.local http://q.example/q?s=IBM", "http://q.example/q?s=IBM"},
  };
  for (const Case& c : cases) {
    PageLink link = pageLinkTexts(c.address, c.proxy, "proxy.local");
    EXPECT_EQ(link.downloadText, c.download) << c.address;
    EXPECT_EQ(link.browserText, c.browser) << c.address;
  }
  // An edited download form: server and path joined again; through a proxy the path is the
  // address asked for.
  EXPECT_EQ(addressFromLinkText("http://q.example /q?s=GE", false), "http://q.example/q?s=GE");
  EXPECT_EQ(addressFromLinkText("proxy.local http://q.example/q?s=GE", true), "http://q.example/q?s=GE");
}

TEST(DownloadSession, AnotherProgramOnTheRootRefusesTheRun) {
  SessionRun r;
  r.dir.write("daily.dcf", "w.qtl\n");
  int fd = ::open(downloadLockPath().c_str(), O_RDWR | O_CREAT, 0644);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
  dailyRun().DownLoad();
  ASSERT_EQ(r.host.host.boxes.size(), 1u);
  EXPECT_EQ(r.host.host.boxes[0].caption, "Download Initiation Warning");
  EXPECT_FALSE(runFlags().DLReentrant);
  // A single list download is refused the same way and touches nothing.
  std::string before = r.dir.read("w.qtl");
  EXPECT_EQ(r.run(), SessionEnd::Failed);
  EXPECT_EQ(r.host.host.boxes.back().caption, "Download Initiation Warning");
  EXPECT_TRUE(r.server.rawRequests().empty());
  EXPECT_EQ(r.dir.read("w.qtl"), before);
  ::close(fd);  // the holder is gone: the lock is free again
  EXPECT_TRUE(BeginDownload());
  EndDownload();
}

}  // namespace
}  // namespace quova
