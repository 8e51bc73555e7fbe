// Whole unattended downloads: build/quova started headless on a fresh root at a fixed
// time (faketime), fetching from a page server on 127.0.0.1 that records every request.
#include <gtest/gtest.h>
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

#include "app/app_state.h"
#include "app/settings.h"
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
  std::string base() const { return "http://127.0.0.1:" + std::to_string(server.port()) + "/"; }

  // A list and its QCF, made from a sample QCF whose page is quotes.example.
  void list(const std::string& name, const std::string& sampleQcf, const std::string& lines,
            const std::string& settingsLines = {}) {
    std::string qcf = dataFile(sampleQcf);
    qcf.replace(qcf.find("http://quotes.example/"), 22, base());
    qcf.insert(qcf.find("Page="), settingsLines);
    writeFile(file("QuoteList Configuration Files/" + name + ".qcf"), qcf);
    writeFile(file(name + ".qtl"), "SYMBOL  FILE  NAME\n" + lines);
  }
  void settings(const std::function<void(quova::Settings&)>& change) {
    quova::app().IniFilePath = file("quova.ini");
    ASSERT_TRUE(quova::GetIniFile());
    change(quova::settings());
    ASSERT_TRUE(quova::SaveIniFile());
  }

  // Runs the program in the root at the given time; its exit status, -2 after 3 minutes.
  int run(std::vector<std::string> args, const char* when = kMonday, const char* netTimeout = nullptr) {
    pid_t pid = fork();
    if (pid == 0) {
      if (chdir(dir.path().c_str()) != 0) _exit(120);
      setenv("QT_QPA_PLATFORM", "offscreen", 1);
      unsetenv("QUOVA");
      if (netTimeout) setenv("QUOVA_NET_TIMEOUT", netTimeout, 1);
      setenv("NO_FAKE_STAT", "1", 1);  // file stamps stay as written
      std::vector<std::string> all = {"faketime", when, QUOVA_BINARY};
      all.insert(all.end(), args.begin(), args.end());
      std::vector<char*> argv;
      for (auto& a : all) argv.push_back(a.data());
      argv.push_back(nullptr);
      execvp("faketime", argv.data());
      _exit(121);
    }
    int status = 0;
    auto until = std::chrono::steady_clock::now() + std::chrono::minutes(3);
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
  r.settings([](quova::Settings& s) { EXPECT_EQ(s.LastDnLoadDate, "12/07/26"); });
  std::string log = r.log();
  EXPECT_NE(log.find("Internet Download of QuoteList tech.qtl Successfully Completed."), std::string::npos);
  EXPECT_NE(log.find("\nNormal Exit."), std::string::npos);

  // Later the same day the download is not due: no window, no request.
  ASSERT_EQ(r.run({"/download", "/QuitAfterDownload"}, "2026-12-07 19:00:00"), 0);
  EXPECT_NE(r.log().find("\nDownload Not Needed."), std::string::npos);
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
  r.list("w", "table.qcf", "IBM  *  Intl\n");
  // The page names a server that does not exist; the proxy (our server) is asked for it.
  std::string qcf = r.read("QuoteList Configuration Files/w.qcf");
  qcf.replace(qcf.find(r.base()), r.base().size(), "http://quotes.invalid/");
  writeFile(r.file("QuoteList Configuration Files/w.qcf"), qcf);
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
  r.list("w", "table.qcf", "IBM  *  Intl\n");
  std::string qcf = r.read("QuoteList Configuration Files/w.qcf");
  qcf.replace(qcf.find(r.base()), r.base().size(), "http://127.0.0.1:1/");
  writeFile(r.file("QuoteList Configuration Files/w.qcf"), qcf);
  writeFile(r.file("daily.dcf"), "w.qtl\n");
  std::string before = r.read("w.qtl");
  ASSERT_EQ(r.run({"/download", "/QuitAfterDownload"}), 0);
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
  ASSERT_EQ(r.run({"/download", "/QuitAfterDownload"}, kMonday, "1"), 0);
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

TEST(DownloadRun, AMissingCommandFileStillEndsTheRun) {
  Root r;
  fs::remove(r.file("daily.dcf"));
  ASSERT_EQ(r.run({"/download", "/QuitAfterDownload"}), 0);
  EXPECT_NE(r.log().find("Could Not Open Download Command File -- "), std::string::npos);
  EXPECT_NE(r.log().find("\nNormal Exit."), std::string::npos);
}

}  // namespace
