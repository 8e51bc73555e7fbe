// The daily run over daily.dcf: command lines, retries, the marker file, backdating and the
// ends of a run.
#include "download/daily_run.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "base/run_flags.h"
#include "download/download_state.h"
#include "settings/settings.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"
#include "util/clock.h"
#include "util/filetimes.h"

namespace quova {
namespace {

using quova::test::ScopedHost;
using quova::test::TempDir;
namespace fs = std::filesystem;

std::string log(const TempDir& d) { return fs::exists(d.file("quova.log")) ? d.read("quova.log") : ""; }

// A run whose sessions end at once as the script says.
struct DailyFixture {
  TempDir dir{true};
  ScopedHost host;
  FixedClock clock{LocalTime{2026, 12, 8, 17, 30, 0, 0, 2}};
  std::vector<std::string> started;
  std::vector<SessionEnd> script;  // how each started session ends; Done when exhausted
  int closes = 0, alarmChecks = 0;
  DailyRun run;
  DailyFixture() {
    setClock(&clock);
    runFlags() = RunFlags{};
    runFlags().QUOVAPATH = dir.path() + "/";
    settings() = Settings{};
    downloadState().PageErrCount = 0;
    dir.write("Blank.qtl", "SYMBOL  FILE\n");
    dir.write("Blank.txt", "");
    DailyRunHooks h;
    h.startList = [this](const std::string& p) {
      started.push_back(p);
      return p.find("missing") == std::string::npos;
    };
    h.checkAlarms = [this] { ++alarmChecks; };
    h.closeMainWindow = [this] { ++closes; };
    run.setHooks(h);
  }
  ~DailyFixture() { setClock(nullptr); runFlags() = RunFlags{}; }
  // Ends the running sessions one after the other as the script says.
  void drive() {
    std::size_t i = 0;
    while (run.running() && i < 100) {
      SessionEnd how = i < script.size() ? script[i] : SessionEnd::Done;
      if (how == SessionEnd::PageErrors) ++downloadState().PageErrCount;
      else if (how == SessionEnd::Done) downloadState().PageErrCount = 0;
      ++i;
      run.sessionEnded(how);
    }
  }
};

TEST(DailyRun, CommandLinesCommentsTabsAndLongLines) {
  DailyFixture r;
  std::string longLine(200, 'x');
  r.dir.write("daily.dcf", "a.qtl  first list\n/ comment.qtl\n\n\tb.qtl\tnote\r\n" + longLine +
                               "\nmissing.qtl\nlast.qtl");  // no line end at the end
  runFlags().QuitAfterDownload = true;
  r.run.DownLoad();
  r.drive();
  EXPECT_EQ(r.started, (std::vector<std::string>{"a.qtl", "b.qtl", "missing.qtl", "last.qtl"}));
  int longBoxes = 0;
  for (auto& b : r.host.host.boxes)
    if (b.text == "Line Length Exceeds 180 characters\nLine Ignored") ++longBoxes;
  EXPECT_EQ(longBoxes, 1);
  EXPECT_FALSE(runFlags().DLReentrant);
  EXPECT_EQ(r.alarmChecks, 1);
  EXPECT_EQ(r.closes, 1);
  EXPECT_EQ(r.dir.read("alarms.qtl"), "SYMBOL  FILE\n");
}

TEST(DailyRun, TokenRules) {
  EXPECT_EQ(dcfToken("  lists\\a.qtl  rest"), "lists\\a.qtl");
  EXPECT_EQ(dcfToken("a b.qtl"), "a b.qtl");
  EXPECT_EQ(dcfToken("/a.qtl"), "");
  EXPECT_EQ(dcfToken("   "), "");
  EXPECT_EQ(dcfToken("a.qtl\tx"), "a.qtl");
}

TEST(DailyRun, RetriesUpToTenAttemptsThenTheNextLine) {
  DailyFixture r;
  r.dir.write("daily.dcf", "bad.qtl\ngood.qtl\n");
  r.script.assign(10, SessionEnd::PageErrors);
  r.run.DownLoad();
  r.drive();
  ASSERT_EQ(r.started.size(), 11u);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(r.started[i], "bad.qtl");
  EXPECT_EQ(r.started[10], "good.qtl");
  EXPECT_NE(log(r.dir).find("Maximum attempts exceeded to download quotelist\nbad.qtl"), std::string::npos);
  EXPECT_FALSE(runFlags().DLReentrant);
}

TEST(DailyRun, EveryEndClearsTheReentrancyFlag) {
  {  // a missing command file still closes the program after an unattended run
    DailyFixture r;
    runFlags().QuitAfterDownload = true;
    r.run.DownLoad();
    EXPECT_TRUE(r.host.host.sawBox(
        "Could Not Open Download Command File -- " + r.dir.path() + "/daily.dcf", "Download Command File Error"));
    EXPECT_FALSE(runFlags().DLReentrant);
    EXPECT_EQ(r.closes, 1);
    r.run.DownLoad();  // the next run is not refused
    EXPECT_FALSE(r.host.host.sawBox(
        "Download Reentrency Flag indicates Download already in-process.\n\nSimultaneous Download "
        "Operations NOT allowed.\n\nAbort or wait for the last before starting a new Download.",
        "Download Initiation Warning"));
  }
  {  // a user stop ends the run there
    DailyFixture r;
    r.dir.write("daily.dcf", "a.qtl\nb.qtl\n");
    r.script = {SessionEnd::UserStop};
    r.run.DownLoad();
    r.drive();
    EXPECT_EQ(r.started, std::vector<std::string>{"a.qtl"});
    EXPECT_FALSE(runFlags().DLReentrant);
    EXPECT_FALSE(r.run.running());
  }
  {  // a session that failed goes on with the next line
    DailyFixture r;
    r.dir.write("daily.dcf", "a.qtl\nb.qtl\n");
    r.script = {SessionEnd::Failed};
    r.run.DownLoad();
    r.drive();
    EXPECT_EQ(r.started, (std::vector<std::string>{"a.qtl", "b.qtl"}));
  }
  {  // a second run while one is active is refused
    DailyFixture r;
    r.dir.write("daily.dcf", "a.qtl\n");
    r.run.DownLoad();
    r.run.DownLoad();
    EXPECT_EQ(r.host.host.boxes.back().caption, "Download Initiation Warning");
    EXPECT_EQ(r.started.size(), 1u);
  }
}

TEST(DailyRun, MarkerKeepsTheBackdateStampUntilTheRunIsDone) {
  DailyFixture r;
  r.dir.write("daily.dcf", "a.qtl\nb.qtl\n");
  r.dir.write("page.htm", "<p>first page</p>\n");
  r.run.DownLoad();
  r.run.pageFetched(r.dir.file("page.htm"));
  r.dir.write("page.htm", "<p>second page</p>\n");
  r.run.pageFetched(r.dir.file("page.htm"));
  EXPECT_EQ(r.dir.read("daily.dld"), "<p>first page</p>\n");
  EXPECT_EQ(fileTime(r.dir.file("daily.dld"))->year, 1981);
  r.drive();
  auto t = fileTime(r.dir.file("daily.dld"));
  ASSERT_TRUE(t);
  EXPECT_EQ(t->year, 2026);
  EXPECT_EQ(t->day, 8);

  // A session outside a run leaves the marker alone.
  r.dir.write("page.htm", "<p>single</p>\n");
  r.run.pageFetched(r.dir.file("page.htm"));
  EXPECT_EQ(r.dir.read("daily.dld"), "<p>first page</p>\n");
}

TEST(DailyRun, AFailedListLeavesTheDayDue) {
  // A quote file that could not be written (a full disk), or a list out of attempts: the
  // next run must fetch what is missing.
  for (const auto& script : {std::vector<SessionEnd>{SessionEnd::Failed},
                             std::vector<SessionEnd>(kMaxListAttempts, SessionEnd::PageErrors)}) {
    DailyFixture r;
    r.dir.write("daily.dcf", "a.qtl\nb.qtl\n");
    r.dir.write("page.htm", "<p>page</p>\n");
    r.script = script;
    r.run.DownLoad();
    r.run.pageFetched(r.dir.file("page.htm"));
    r.drive();
    EXPECT_EQ(r.started.back(), "b.qtl");
    EXPECT_EQ(fileTime(r.dir.file("daily.dld"))->year, 1981);
    EXPECT_NE(log(r.dir).find("A quotelist failed: the daily download stays due today."), std::string::npos);
    // The next run without a failure marks the day done.
    r.script.clear();
    r.run.DownLoad();
    r.run.pageFetched(r.dir.file("page.htm"));
    r.drive();
    EXPECT_EQ(fileTime(r.dir.file("daily.dld"))->year, 2026);
  }
}

TEST(DailyRun, NewRunDateStepAndCsvModes) {
  DailyFixture r;
  r.dir.write("daily.dcf", "");
  r.dir.write("quotes.csv", "old\n");
  settings().LastDnLoadDate = "12/07/26";
  settings().LastDnLoadStep = 4;
  settings().CSVenable = true;
  settings().CSVappend = true;
  r.run.DownLoad();
  EXPECT_EQ(settings().LastDnLoadDate, "12/08/26");
  EXPECT_EQ(settings().LastDnLoadStep, 0);
  EXPECT_EQ(r.dir.read("quotes.csv"), "old\n");  // append mode keeps it
  settings().CSVappend = false;
  settings().LastDnLoadStep = 2;
  r.run.DownLoad();
  EXPECT_EQ(r.dir.read("quotes.csv"), "");
  EXPECT_EQ(settings().LastDnLoadStep, 2);  // same day: the step stays
}

// A list window's download: a normal one starts the alarms anew and is single, a forced one
// keeps them; both empty quotes.csv (outside append mode) and clear the page error count.
TEST(DailyRun, DownloadListStartsTheListsSession) {
  for (bool fresh : {true, false}) {
    DailyFixture r;
    r.dir.write("alarms.qtl", "SYMBOL  FILE\nXYZ  *\n");
    r.dir.write("quotes.csv", "old\n");
    settings().CSVenable = true;
    downloadState().alarms = AlarmSummary{true, "XYZ\n"};
    downloadState().SingleDownload = false;
    downloadState().PageErrCount = 3;
    EXPECT_TRUE(r.run.DownloadList("a.qtl", fresh)) << fresh;
    EXPECT_EQ(r.started, std::vector<std::string>{"a.qtl"}) << fresh;
    EXPECT_EQ(r.run.currentList(), "a.qtl") << fresh;
    EXPECT_EQ(r.dir.read("quotes.csv"), "") << fresh;
    EXPECT_EQ(downloadState().PageErrCount, 0) << fresh;
    EXPECT_EQ(downloadState().alarms.exceeded, !fresh) << fresh;
    EXPECT_EQ(downloadState().SingleDownload, fresh) << fresh;
    EXPECT_EQ(r.dir.read("alarms.qtl"), fresh ? "SYMBOL  FILE\n" : "SYMBOL  FILE\nXYZ  *\n") << fresh;
  }
  downloadState() = DownloadState{};
}

TEST(DailyRun, BackDateAllFilesRecursesWithoutSymlinksOrChdir) {
  DailyFixture r;
  fs::create_directories(r.dir.file("quotes.day/funds/deep"));
  r.dir.write("quotes.day/a.day", "x\n");
  r.dir.write("quotes.day/funds/B.DAY", "x\n");
  r.dir.write("quotes.day/funds/deep/c.Day.bak", "x\n");
  r.dir.write("quotes.day/notes.txt", "x\n");
  fs::create_directory_symlink(r.dir.file("quotes.day"), r.dir.file("quotes.day/funds/loop"));
  auto cwd = fs::current_path();
  EXPECT_EQ(BackDateAllFiles(r.dir.file("quotes.day")), 3);
  EXPECT_EQ(fs::current_path(), cwd);
  for (const char* f : {"quotes.day/a.day", "quotes.day/funds/B.DAY", "quotes.day/funds/deep/c.Day.bak"})
    EXPECT_EQ(fileTime(r.dir.file(f))->year, 1981) << f;
  EXPECT_NE(fileTime(r.dir.file("quotes.day/notes.txt"))->year, 1981);

  // The forced run backdates them too and sets the day's date.
  r.dir.write("daily.dcf", "");
  r.dir.write("quotes.day/a.day", "y\n");
  downloadState().ForceDailyUpdate = true;
  r.run.DownLoad();
  EXPECT_FALSE(downloadState().ForceDailyUpdate);
  EXPECT_EQ(fileTime(r.dir.file("quotes.day/a.day"))->year, 1981);
}

TEST(DailyRun, OptionCommands) {
  DailyFixture r;
  r.dir.write("quotes.csv", "old\n");
  CmCSVon();
  EXPECT_TRUE(settings().CSVenable);
  CmCSVappend();
  EXPECT_TRUE(settings().CSVappend);
  CmCSVnew();
  EXPECT_FALSE(settings().CSVappend);
  CmCSVoff();
  EXPECT_FALSE(settings().CSVenable);
  CmCSVclear();
  EXPECT_EQ(r.dir.read("quotes.csv"), "");
  EXPECT_EQ(r.host.host.boxes.back().text, "The .csv download file has been cleared.\n\n");
  settings().LastDnLoadDate = "12/08/26";
  r.host.host.answers = {IDCANCEL};
  CmResetDownloadDate();
  EXPECT_EQ(settings().LastDnLoadDate, "12/08/26");
  CmResetDownloadDate();
  EXPECT_EQ(settings().LastDnLoadDate, "01/01/80");
}

}  // namespace
}  // namespace quova
