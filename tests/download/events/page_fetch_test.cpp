// Whole page fetches against the loopback page server: the exact request bytes, the page
// file, the error words and the time-out.
#include <gtest/gtest.h>

#include <QElapsedTimer>

#include <QEventLoop>
#include <QTcpServer>
#include <QTimer>
#include <cstdlib>

#include "base/log.h"
#include "download/download_state.h"
#include "download/events/page_fetch.h"
#include "support/page_server.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

using namespace quova;
using quova::test::PageServer;
using quova::test::ScopedHost;
using quova::test::TempDir;

namespace {

struct Result {
  bool done = false;
  bool complete = false;
  int error = -1;
  std::vector<std::string> session;
};

struct FetchFixture : ::testing::Test {
  TempDir dir{true};
  ScopedHost h;
  void SetUp() override {
    logState() = LogState{};
    OpenLogFile();
    downloadState().PageErrCount = 0;
  }
  void TearDown() override { unsetenv("QUOVA_NET_TIMEOUT"); }

  Result fetch(const PageFetch::Request& r, int limitMs = 10000) {
    PageFetch f;
    Result res;
    f.setSessionText([&](const std::string& line) { res.session.push_back(line); });
    QEventLoop loop;
    QObject::connect(&f, &PageFetch::pageDone, [&](bool complete, int error) {
      res.done = true;
      res.complete = complete;
      res.error = error;
      loop.quit();
    });
    QTimer::singleShot(limitMs, &loop, &QEventLoop::quit);
    EXPECT_EQ(f.WebOpenSocket(r), 0);
    loop.exec();
    return res;
  }

  PageFetch::Request request(const std::string& address) {
    PageFetch::Request r;
    r.address = address;
    r.pageFile = dir.file("quotes.htm");
    return r;
  }
};

int unusedPort() {
  QTcpServer s;
  s.listen(QHostAddress::LocalHost, 0);
  return s.serverPort();  // closed again when s goes: nothing listens there
}

}  // namespace

TEST_F(FetchFixture, StoresThePageAndSendsExactlyOneLine) {
  PageServer server;
  std::string page = "<html>\r\nIBM  170.25\r\n</html>\r\n";
  server.setPage("/q?s=IBM+MSFT", page);
  std::string address = "http://127.0.0.1:" + std::to_string(server.port()) + "/q?s=IBM+MSFT";
  Result r = fetch(request(address));
  ASSERT_TRUE(r.done);
  EXPECT_TRUE(r.complete);
  EXPECT_EQ(r.error, 0);
  ASSERT_EQ(server.rawRequests().size(), 1u);
  EXPECT_EQ(server.rawRequests()[0], "GET /q?s=IBM+MSFT\n");
  EXPECT_EQ(dir.read("quotes.htm"), page);
  EXPECT_EQ(downloadState().PageErrCount, 0);
  std::string log = dir.read("quova.log");
  EXPECT_NE(log.find("\n\nIn WebOpenSocket...\nPrimer -- \nURL    -- " + address + "\nUseProxy -- 0\n"),
            std::string::npos);
  EXPECT_NE(log.find("txtWebServer -- 127.0.0.1\ntxtURL       -- /q?s=IBM+MSFT\n"), std::string::npos);
}

TEST_F(FetchFixture, ByNameWithAPrimerAndWithoutAPath) {
  PageServer server;
  server.notFoundBody = "root page";
  std::string port = std::to_string(server.port());
  PageFetch::Request r = request("localhost:" + port);
  r.primer = "http://localhost/start.html";  // only its host is resolved, never requested
  Result res = fetch(r);
  EXPECT_TRUE(res.complete);
  ASSERT_EQ(server.rawRequests().size(), 1u);
  EXPECT_EQ(server.rawRequests()[0], "GET \n");
  EXPECT_EQ(dir.read("quotes.htm"), "root page");
}

TEST_F(FetchFixture, ThroughAProxyTheWholeAddressIsRequested) {
  PageServer proxy;
  PageFetch::Request r = request("http://quotes.example/q?s=IBM");
  r.useProxy = true;
  r.proxyServer = "127.0.0.1:" + std::to_string(proxy.port());
  Result res = fetch(r);
  EXPECT_TRUE(res.complete);
  ASSERT_EQ(proxy.rawRequests().size(), 1u);
  EXPECT_EQ(proxy.rawRequests()[0], "GET http://quotes.example/q?s=IBM\n");
}

TEST_F(FetchFixture, ARefusedServerIsReportedInWords) {
  Result r = fetch(request("127.0.0.1:" + std::to_string(unusedPort()) + "/q"));
  ASSERT_TRUE(r.done);
  EXPECT_FALSE(r.complete);
  EXPECT_EQ(r.error, 10061);
  EXPECT_EQ(downloadState().PageErrCount, 1);
  std::vector<std::string> expected = {"", "Page Download Attempt 1 ...", "For Server: 127.0.0.1", "",
                                       "with URL:   /q", "", "WSAECONNREFUSED"};
  EXPECT_EQ(r.session, expected);
  EXPECT_NE(dir.read("quova.log").find("\nPage Download Attempt 1 ...\nFor Server: 127.0.0.1"), std::string::npos);
}

TEST_F(FetchFixture, AStallingServerTimesOut) {
  setenv("QUOVA_NET_TIMEOUT", "1", 1);
  PageServer server;
  server.setMode(PageServer::Mode::Hang);
  Result r = fetch(request("127.0.0.1:" + std::to_string(server.port()) + "/slow"), 8000);
  ASSERT_TRUE(r.done);
  EXPECT_FALSE(r.complete);
  EXPECT_EQ(r.error, 10060);
  EXPECT_EQ(r.session.back(), socketErrorText(10060));
}

TEST_F(FetchFixture, ATricklingServerEndsAtTheWholePageLimit) {
  setenv("QUOVA_NET_TIMEOUT", "1", 1);  // ten seconds for the whole page
  PageServer server;
  server.setMode(PageServer::Mode::Trickle);
  QElapsedTimer t;
  t.start();
  Result r = fetch(request("127.0.0.1:" + std::to_string(server.port()) + "/slow"), 20000);
  ASSERT_TRUE(r.done);
  EXPECT_EQ(r.error, 10060);
  EXPECT_GE(t.elapsed(), 9500);
  EXPECT_LT(t.elapsed(), 13000);
}

TEST_F(FetchFixture, UnknownHostsAndBadPorts) {
  Result r = fetch(request("no-such-host.invalid/q"));
  EXPECT_FALSE(r.complete);
  EXPECT_EQ(r.error, 11001);
  r = fetch(request("127.0.0.1:70000/q"));
  EXPECT_EQ(r.error, 10049);
  EXPECT_EQ(downloadState().PageErrCount, 2);
}

TEST_F(FetchFixture, APageFileThatCannotBeWrittenIsAFailedPage) {
  PageServer server;
  server.setPage("/q", "data");
  PageFetch::Request r = request("127.0.0.1:" + std::to_string(server.port()) + "/q");
  r.pageFile = dir.file("missing-folder/quotes.htm");
  Result res = fetch(r);
  EXPECT_FALSE(res.complete);
  EXPECT_EQ(downloadState().PageErrCount, 1);
  EXPECT_TRUE(h.host.sawBox("Error occurred opening file: " + r.pageFile, "Web Page Downloader"));
}
