// A quote list session against the loopback page server: pages requested, quotes saved,
// and how the session tells its end.
#include "download/events/download_session.h"

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/app_state.h"
#include "app/log.h"
#include "download/web_address.h"
#include "support/page_server.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

namespace quova {
namespace {

using quova::test::PageServer;
using quova::test::ScopedHost;
using quova::test::TempDir;

std::string dataFile(const std::string& name) {
  std::string here = __FILE__;
  here = here.substr(0, here.find_last_of('/'));
  std::ifstream in(here.substr(0, here.find_last_of('/')) + "/data/" + name, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

struct SessionRun {
  TempDir dir{true};
  ScopedHost host;
  PageServer server;
  std::vector<std::string> text;
  SessionRun() {
    app().QUOVAPATH = dir.path() + "/";
    logState() = LogState{};
    OpenLogFile();
    fetchState().PageErrCount = 0;
    std::filesystem::create_directories(dir.file("quotes.day"));
    dir.write("Header.day", "SYMBOL:\nCOMPANY NAME:\n");
    std::string qcf = dataFile("table.qcf");
    auto at = qcf.find("http://quotes.example/");
    qcf.replace(at, 22, "http://127.0.0.1:" + std::to_string(server.port()) + "/");
    dir.write("w.qcf", qcf);
    dir.write("w.qtl", "SYMBOL  FILE  NAME\nIBM  *  Intl\nGE  *  General\n");
  }
  ~SessionRun() { app().QUOVAPATH.clear(); }
  SessionEnd run(bool stopAtOnce = false) {
    DownloadSession s("w.qtl");
    s.setSessionText([this](const std::string& t) { text.push_back(t); });
    SessionEnd how = SessionEnd::Failed;
    bool ended = false;
    QEventLoop loop;
    QObject::connect(&s, &DownloadSession::finished, [&](SessionEnd h) {
      how = h;
      ended = true;
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

TEST(DownloadSession, FetchesThePageAndSavesItsQuotes) {
  SessionRun r;
  r.server.setPage("/q?s=IBM+GE", dataFile("table.htm"));
  EXPECT_EQ(r.run(), SessionEnd::Done);
  EXPECT_EQ(r.server.rawRequests(), std::vector<std::string>{"GET /q?s=IBM+GE\n"});
  EXPECT_TRUE(std::filesystem::exists(r.dir.file("quotes.day/IBM.day")));
  EXPECT_TRUE(std::filesystem::exists(r.dir.file("quotes.day/GE.day")));
  EXPECT_TRUE(std::filesystem::exists(r.dir.file("w.htm")));
}

TEST(DownloadSession, EndsOfASession) {
  {  // nothing listens at the page's port: the page fails and counts
    SessionRun r;
    std::string qcf = r.dir.read("w.qcf");
    std::string port = ":" + std::to_string(r.server.port()) + "/";
    qcf.replace(qcf.find(port), port.size(), ":1/");
    r.dir.write("w.qcf", qcf);
    EXPECT_EQ(r.run(), SessionEnd::PageErrors);
    EXPECT_GE(fetchState().PageErrCount, 1);
  }
  {  // a missing list ends as failed, so a daily run goes on
    SessionRun r;
    std::filesystem::remove(r.dir.file("w.qtl"));
    EXPECT_EQ(r.run(), SessionEnd::Failed);
  }
}

TEST(DownloadSession, DailyRunWorksThroughTheCommandFile) {
  SessionRun r;
  r.server.setPage("/q?s=IBM+GE", dataFile("table.htm"));
  r.dir.write("daily.dcf", "w.qtl\n/ comment\nmissing.qtl\n");
  r.dir.write("Blank.qtl", "SYMBOL  FILE\n");
  app().QuitAfterDownload = true;
  QObject owner;
  QEventLoop loop;
  int closes = 0;
  connectDailyRun(&owner, [](const std::string&) {}, [&] { ++closes; loop.quit(); });
  QTimer::singleShot(30000, &loop, &QEventLoop::quit);
  dailyRun().DownLoad();
  loop.exec();
  EXPECT_EQ(closes, 1);
  EXPECT_FALSE(app().DLReentrant);
  EXPECT_EQ(r.server.rawRequests(), std::vector<std::string>{"GET /q?s=IBM+GE\n"});
  EXPECT_EQ(r.dir.read("daily.dld"), r.dir.read("w.htm"));
  app().QuitAfterDownload = false;
  dailyRun().setHooks({});
}

}  // namespace
}  // namespace quova
