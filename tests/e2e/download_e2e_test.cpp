// Whole unattended downloads: build/quova started headless on a fresh root at a fixed
// time (faketime), fetching from a page server on 127.0.0.1 that records every request.
#include <gtest/gtest.h>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "base/run_flags.h"
#include "settings/settings.h"
#include "support/page_server.h"
#include "support/temp_dir.h"

namespace {

using quova::test::PageServer;
namespace fs = std::filesystem;

constexpr const char* kMonday = "2026-12-07 17:30:00";

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string dataFile(const std::string& name) {
  return readFile(std::string(QUOVA_SOURCE_DIR) + "/tests/download/data/" + name);
}

void writeFile(const std::string& path, const std::string& text) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

// The date of a file's time stamp, as yyyy-mm-dd in local time.
std::string stampDate(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return "missing";
  char buf[16];
  std::strftime(buf, sizeof buf, "%Y-%m-%d", std::localtime(&st.st_mtime));
  return buf;
}

std::size_t count(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// A fresh root with the settings a test wants.
struct Root {
  quova::test::TempDir dir;
  PageServer server;

  Root() {
    std::string cmd = std::string(QUOVA_BINARY) + " --init-root '" + dir.path() + "' >/dev/null";
    EXPECT_EQ(std::system(cmd.c_str()), 0);
  }
  std::string file(const std::string& name) const { return dir.file(name); }
  std::string read(const std::string& name) const { return readFile(file(name)); }
  std::string log() const { return read("quova.log"); }
  std::string err() const { return read(".stderr"); }  // the last run's standard error
  std::string base() const { return "http://127.0.0.1:" + std::to_string(server.port()) + "/"; }

  // A list and its QCF, made from a sample QCF whose page is quotes.example; site takes its
  // place (the page server when empty).
  void list(const std::string& name, const std::string& sampleQcf, const std::string& lines,
            const std::string& settingsLines = {}, const std::string& site = {}) {
    std::string qcf = dataFile(sampleQcf);
    qcf.replace(qcf.find("http://quotes.example/"), 22, site.empty() ? base() : site);
    qcf.insert(qcf.find("Page="), settingsLines);
    writeFile(file("QuoteList Configuration Files/" + name + ".qcf"), qcf);
    writeFile(file(name + ".qtl"), "SYMBOL  FILE  NAME\n" + lines);
  }
  void settings(const std::function<void(quova::Settings&)>& change) {
    quova::runFlags().IniFilePath = file("quova.ini");
    ASSERT_TRUE(quova::GetIniFile());
    change(quova::settings());
    ASSERT_TRUE(quova::SaveIniFile());
  }

  // Runs the program in the root at the given time; its exit status, -2 after 6 minutes.
  int run(std::vector<std::string> args, const char* when = kMonday, const char* netTimeout = nullptr,
          const char* caFile = nullptr) {
    pid_t pid = fork();
    if (pid == 0) {
      if (chdir(dir.path().c_str()) != 0) _exit(120);
      if (!freopen(".stderr", "w", stderr)) _exit(122);
      setenv("QT_QPA_PLATFORM", "offscreen", 1);
      unsetenv("QUOVA");
      if (netTimeout) setenv("QUOVA_NET_TIMEOUT", netTimeout, 1);
      if (caFile) setenv("QUOVA_CA_FILE", caFile, 1);
      setenv("NO_FAKE_STAT", "1", 1);  // file stamps stay as written
      // Without a time the program runs on the real clock.
      std::vector<std::string> all = when ? std::vector<std::string>{"faketime", when, QUOVA_BINARY}
                                          : std::vector<std::string>{QUOVA_BINARY};
      all.insert(all.end(), args.begin(), args.end());
      std::vector<char*> argv;
      for (auto& a : all) argv.push_back(a.data());
      argv.push_back(nullptr);
      execvp(argv[0], argv.data());
      _exit(121);
    }
    int status = 0;
    auto until = std::chrono::steady_clock::now() + std::chrono::minutes(6);
    while (std::chrono::steady_clock::now() < until) {
      if (waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    return -2;
  }
};

const char* const kSevenSymbols = "IBM  *  Intl\nGE  *  General\nMSFT  *  Soft\nAA  *  Alum\nBB  *  Bee\nCC  *  Cee\nDD  *  Dee\n";

TEST(DownloadRun, DailyRunFillsTheQuoteFilesAndEndsByItself) {
  Root r;
  // Seven symbols three to a page, and a second list two to a page; a comment between.
  r.list("tech", "table.qcf", kSevenSymbols, "");
  std::string qcf = r.read("QuoteList Configuration Files/tech.qcf");
  qcf.replace(qcf.find("NumQuotesPerPage=10"), 19, "NumQuotesPerPage=3");
  writeFile(r.file("QuoteList Configuration Files/tech.qcf"), qcf);
  r.list("other", "table.qcf", "HD  *  Home\n");
  writeFile(r.file("daily.dcf"), "tech.qtl\n/ not this one\nother.qtl\n");
  r.server.setPage("/q?s=IBM+GE+MSFT", dataFile("table.htm"));
  std::string other = dataFile("table.htm");
  other.replace(other.find("<td>GE</td><td>General Electric</td>"), 36, "<td>HD</td><td>Home</td>");
  r.server.setPage("/q?s=HD", other);

  ASSERT_EQ(r.run({"/download", "/QuitAfterDownload"}), 0);
  EXPECT_NE(r.err().find("quova: daily download done: 2 lists done, 0 failed, 4 new quotes; log " +
                         r.file("quova.log") + "\n"),
            std::string::npos) << r.err();
  std::vector<std::string> expected = {"GET /q?s=IBM+GE+MSFT\n", "GET /q?s=AA+BB+CC\n", "GET /q?s=DD\n",
                                       "GET /q?s=HD\n"};
  EXPECT_EQ(r.server.rawRequests(), expected);
  std::string ibm = r.read("quotes.day/IBM.day");
  EXPECT_EQ(ibm.rfind("SYMBOL: IBM\nCOMPANY NAME: Intl\n12/07/2026", 0), 0u) << ibm;
  EXPECT_EQ(stampDate(r.file("quotes.day/IBM.day")), "2026-12-07");
  EXPECT_EQ(count(r.read("quotes.day/HD.day"), "\n12/07/2026"), 1u);
  EXPECT_FALSE(fs::exists(r.file("quotes.day/AA.day")));               // a symbol the page lacks
  // Both lists show their latest quotes, rewritten whole.
  EXPECT_NE(r.read("tech.qtl").find("12/07/2026     93.500"), std::string::npos) << r.read("tech.qtl");
  EXPECT_NE(r.read("other.qtl").find("HD   *   Home   12/07/2026     12.000"), std::string::npos)
      << r.read("other.qtl");
  EXPECT_EQ(r.read("daily.dld"), dataFile("table.htm"));  // the run's first page
  EXPECT_EQ(stampDate(r.file("daily.dld")), "2026-12-07");
  EXPECT_EQ(r.read("Config/download/quotlist.cfg").size(), 18u);  // the session window's place
  r.settings([](quova::Settings& s) { EXPECT_EQ(s.LastDnLoadDate, "12/07/26"); });
  std::string log = r.log();
  EXPECT_NE(log.find("Internet Download of QuoteList tech.qtl Successfully Completed."), std::string::npos);
  EXPECT_NE(log.find("\nNormal Exit."), std::string::npos);

  // Later the same day the download is not due: no window, no request.
  ASSERT_EQ(r.run({"/download", "/QuitAfterDownload"}, "2026-12-07 19:00:00"), 0);
  EXPECT_NE(r.log().find("\nDownload Not Needed."), std::string::npos);
  EXPECT_EQ(r.err().find("quova: daily download"), std::string::npos) << r.err();
  EXPECT_EQ(r.server.rawRequests().size(), 4u);

  // A forced run asks for the lists again; only AA to DD still lack a quote, and the page
  // has none of them.
  ASSERT_EQ(r.run({"/forcedownload", "/QuitAfterDownload"}, "2026-12-07 19:00:00"), 0);
  EXPECT_NE(r.log().find("Internet Download of QuoteList tech.qtl produced NO new Quotes."), std::string::npos);
  EXPECT_EQ(count(r.read("quotes.day/GE.day"), "\n12/07/2026"), 1u);
}

TEST(DownloadRun, HistoricalPagesFollowWhileTheySaveQuotes) {
  Root r;
  std::string qcf = dataFile("hist.qcf");
  qcf.replace(qcf.find("HistoricalSuffix  1  50  101"), 28, "HistoricalSuffix  1  50  151");
  qcf.replace(qcf.find("http://quotes.example/"), 22, r.base());
  writeFile(r.file("QuoteList Configuration Files/hist.qcf"), qcf);
  writeFile(r.file("hist.qtl"), "SYMBOL  FILE  NAME\nIBM  *  Intl\n");
  writeFile(r.file("daily.dcf"), "hist.qtl\n");
  r.server.setPage("/hist?s=IBM&y=1&z", dataFile("hist1.htm"));
  r.server.setPage("/hist?s=IBM&y=51&z", dataFile("hist51.htm"));
  r.server.setPage("/hist?s=IBM&y=101&z", dataFile("hist101.htm"));
  ASSERT_EQ(r.run({"/download", "/QuitAfterDownload"}), 0);
  std::vector<std::string> requests = r.server.requests();
  ASSERT_GE(requests.size(), 3u);
  EXPECT_EQ(requests[0], "GET /hist?s=IBM&y=1&z");
  EXPECT_EQ(requests[1], "GET /hist?s=IBM&y=51&z");
  EXPECT_EQ(requests[2], "GET /hist?s=IBM&y=101&z");
  EXPECT_GT(count(r.read("quotes.day/IBM.day"), "/26 ") + count(r.read("quotes.day/IBM.day"), "/2026 "), 3u)
      << r.read("quotes.day/IBM.day");
}

TEST(DownloadRun, ThroughAProxy) {
  Root r;
  // The page names a server that does not exist; the proxy (our server) is asked for it.
  r.list("w", "table.qcf", "IBM  *  Intl\n", {}, "http://quotes.invalid/");
  writeFile(r.file("daily.dcf"), "w.qtl\n");
  r.settings([&](quova::Settings& s) {
    s.DownloadControls.UseProxy = true;
    s.DownloadControls.ProxyServer = "http:\\\\127.0.0.1:" + std::to_string(r.server.port());
  });
  r.server.setPage("http://quotes.invalid/q?s=IBM", dataFile("table.htm"));
  ASSERT_EQ(r.run({"/download", "/QuitAfterDownload"}), 0);
  EXPECT_EQ(r.server.rawRequests(), std::vector<std::string>{"GET http://quotes.invalid/q?s=IBM\n"});
  EXPECT_TRUE(fs::exists(r.file("quotes.day/IBM.day")));
}

TEST(DownloadRun, ARefusingServerIsTriedTenTimesThenTheRunEnds) {
  Root r;
  r.list("w", "table.qcf", "IBM  *  Intl\n", {}, "http://127.0.0.1:1/");
  writeFile(r.file("daily.dcf"), "w.qtl\n");
  std::string before = r.read("w.qtl");
  // The run ends, and says it failed: in its status and on standard error.
  ASSERT_EQ(r.run({"/download", "/QuitAfterDownload"}), 1);
  EXPECT_NE(r.err().find("quova: daily download incomplete: 0 lists done, 1 failed (w.qtl), 0 new quotes"),
            std::string::npos) << r.err();
  std::string log = r.log();
  EXPECT_EQ(count(log, "In GetQuotes...docfile   -- w.qtl"), 10u);
  EXPECT_NE(log.find("Maximum attempts exceeded to download quotelist\nw.qtl"), std::string::npos);
  EXPECT_EQ(r.read("w.qtl"), before);
  // The day is not marked done: no page came in.
  EXPECT_NE(stampDate(r.file("daily.dld")), "2026-12-07");
}

TEST(DownloadRun, AStallingServerTimesOutAndTheRunEnds) {
  Root r;
  r.list("w", "table.qcf", "IBM  *  Intl\n");
  writeFile(r.file("daily.dcf"), "w.qtl\n");
  r.server.setMode(PageServer::Mode::Hang);
  ASSERT_EQ(r.run({"/download", "/QuitAfterDownload"}, kMonday, "1"), 1);
  std::string log = r.log();
  EXPECT_EQ(count(log, "In GetQuotes...docfile   -- w.qtl"), 10u);
  EXPECT_NE(log.find("Maximum attempts exceeded to download quotelist"), std::string::npos);
  EXPECT_FALSE(fs::exists(r.file("quotes.day/IBM.day")));
}

TEST(DownloadRun, APageCutOffByTheServerKeepsWhatCameWhole) {
  Root r;
  r.list("w", "table.qcf", "IBM  *  Intl\nGE  *  General\n");
  writeFile(r.file("daily.dcf"), "w.qtl\n");
  r.server.setPage("/q?s=IBM+GE", dataFile("table.htm"));
  r.server.resetMidPage(1);
  ASSERT_EQ(r.run({"/download", "/QuitAfterDownload"}), 0);
  // The server's close ends the page: the rows that came are saved, GE stays due.
  EXPECT_EQ(count(r.read("quotes.day/IBM.day"), "\n12/07/2026"), 1u);
  EXPECT_FALSE(fs::exists(r.file("quotes.day/GE.day")));
  EXPECT_NE(r.read("w.qtl").find("GE   *   General   unavail."), std::string::npos) << r.read("w.qtl");
  // The next run asks for GE alone.
  r.server.setPage("/q?s=GE", dataFile("table.htm"));
  ASSERT_EQ(r.run({"/forcedownload", "/QuitAfterDownload"}, "2026-12-07 19:00:00"), 0);
  EXPECT_EQ(r.server.requests().back(), "GET /q?s=GE");
  EXPECT_EQ(count(r.read("quotes.day/GE.day"), "\n12/07/2026"), 1u);
}

// A port nobody listens on just now.
int freePort() {
  int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof a;
  ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
  ::close(fd);
  return ntohs(a.sin_port);
}

bool listening(int port) {
  int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(static_cast<uint16_t>(port));
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
  ::close(fd);
  return ok;
}

TEST(DownloadRun, AnHttpsPageFromALocalTlsServer) {
  Root r;
  quova::test::TempDir site;
  std::string cert = site.file("cert.pem"), key = site.file("key.pem");
  std::string make = "openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=localhost "
                     "-addext subjectAltName=DNS:localhost -keyout '" + key + "' -out '" + cert + "' >/dev/null 2>&1";
  if (std::system(make.c_str()) != 0) GTEST_SKIP() << "openssl is not installed";
  writeFile(site.file("q?s=IBM+GE"), dataFile("table.htm"));
  int port = freePort();
  pid_t server = fork();
  if (server == 0) {
    std::string p = std::to_string(port);
    std::string script = std::string(QUOVA_SOURCE_DIR) + "/tests/support/tls_page_server.py";
    execlp("python3", "python3", script.c_str(), p.c_str(), cert.c_str(), key.c_str(), site.path().c_str(),
           static_cast<char*>(nullptr));
    _exit(121);
  }
  for (int i = 0; i < 100 && !listening(port); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  r.list("w", "table.qcf", "IBM  *  Intl\nGE  *  General\n", {}, "https://localhost:" + std::to_string(port) + "/");
  writeFile(r.file("daily.dcf"), "w.qtl\n");
  // The certificate is valid from now on, so this run keeps the real clock; a forced run
  // does not ask whether the day is due.
  int rc = r.run({"/forcedownload", "/QuitAfterDownload"}, nullptr, nullptr, cert.c_str());
  kill(server, SIGTERM);
  waitpid(server, nullptr, 0);
  ASSERT_EQ(rc, 0);
  EXPECT_NE(r.read("quotes.day/IBM.day").find("93 1/2"), std::string::npos) << r.log();
  EXPECT_NE(r.read("quotes.day/GE.day").find("     12     "), std::string::npos) << r.read("quotes.day/GE.day");
  EXPECT_EQ(r.read("w.htm"), dataFile("table.htm"));  // the page file holds the body only
}

TEST(DownloadRun, SigtermDuringAPageStopsTheRunAndClosesNormally) {
  Root r;
  r.list("w", "table.qcf", "IBM  *  Intl\n");
  writeFile(r.file("daily.dcf"), "w.qtl\nw.qtl\n");
  r.server.setMode(PageServer::Mode::Hang);
  std::string before = r.read("w.qtl");
  pid_t pid = fork();
  if (pid == 0) {
    if (chdir(r.dir.path().c_str()) != 0) _exit(120);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("NO_FAKE_STAT", "1", 1);
    execlp("faketime", "faketime", kMonday, QUOVA_BINARY, "/download", "/QuitAfterDownload",
           static_cast<char*>(nullptr));
    _exit(121);
  }
  for (int i = 0; i < 200 && r.server.requests().empty(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  ASSERT_EQ(r.server.requests().size(), 1u);
  // faketime runs the program as its child: the signal goes to the program itself.
  pid_t program = 0;
  std::istringstream(readFile("/proc/" + std::to_string(pid) + "/task/" + std::to_string(pid) + "/children")) >> program;
  ASSERT_GT(program, 0);
  auto asked = std::chrono::steady_clock::now();
  kill(program, SIGTERM);
  int status = 0;
  while (waitpid(pid, &status, WNOHANG) != pid) {
    if (std::chrono::steady_clock::now() - asked > std::chrono::seconds(20)) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      FAIL() << "still running 20 s after SIGTERM";
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  EXPECT_LT(std::chrono::steady_clock::now() - asked, std::chrono::seconds(5));
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1);  // the run did not finish
  EXPECT_EQ(r.server.requests().size(), 1u);  // the second line is not started
  EXPECT_EQ(r.read("w.qtl"), before);
  std::string log = r.log();
  EXPECT_NE(log.find("\nquova.ini successfully updated."), std::string::npos);
  EXPECT_NE(log.find("\nNormal Exit."), std::string::npos);
}

TEST(DownloadRun, AMissingCommandFileStillEndsTheRun) {
  Root r;
  fs::remove(r.file("daily.dcf"));
  ASSERT_EQ(r.run({"/download", "/QuitAfterDownload"}), 1);
  EXPECT_NE(r.err().find("quova: daily download failed: daily.dcf could not be opened"), std::string::npos);
  EXPECT_NE(r.log().find("Could Not Open Download Command File -- "), std::string::npos);
  EXPECT_NE(r.log().find("\nNormal Exit."), std::string::npos);
}

// The speed of a daily run: 50 lists of 10 symbols, each list a page of ten quote rows.
// Each session waits its 4 s close timer and each page a 200 ms pause after its socket; the
// figure without them is what the program spends. Run by hand: quova_e2e_tests --gtest_also_run_disabled_tests --gtest_filter=*Fifty*
TEST(DownloadRun, DISABLED_FiftyListsOfTenSymbols) {
  Root r;
  std::string dcf;
  for (int l = 0; l < 50; ++l) {
    std::string lines, symbols, rows;
    for (int k = 0; k < 10; ++k) {
      std::string sym = "S" + std::to_string(l) + "X" + std::to_string(k);
      lines += sym + "  *  Security " + sym + "\n";
      symbols += (k ? "+" : "") + sym;
      rows += "<tr><td>" + sym + "</td><td>Security</td><td>" + std::to_string(10 + k) + " 1/4</td><td>" +
              std::to_string(1000 * (k + 1)) + "</td><td>4:00</td></tr>\n";
    }
    std::string name = "l" + std::to_string(l);
    r.list(name, "table.qcf", lines);
    r.server.setPage("/q?s=" + symbols, "<html><table>\n<tr><th>Symbol</th><th>Last Trade</th></tr>\n" + rows +
                                            "</table></html>\n");
    dcf += name + ".qtl\n";
  }
  writeFile(r.file("daily.dcf"), dcf);
  auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(r.run({"/download", "/QuitAfterDownload"}), 0);
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ(r.server.requests().size(), 50u);
  EXPECT_EQ(count(r.read("quotes.day/S49X9.day"), "\n12/07/2026"), 1u);
  // The timers: each session's 4 s close timer, and the 200 ms pause after each page's socket.
  double work = seconds - 50 * 4.0 - 50 * 0.2;
  std::printf("daily run of 50 lists x 10 symbols: %.2f s, %.2f s without the timers\n", seconds, work);
  EXPECT_LT(work, 10.0);
}

}  // namespace
