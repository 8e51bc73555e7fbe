// The log file: emptied per run, entries appended unchanged, boxes mirrored, failures shown once.
#include <gtest/gtest.h>

#include "base/log.h"
#include "base/run_flags.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

using namespace quova;
using quova::test::ScopedHost;
using quova::test::TempDir;

namespace {
struct LogFixture : ::testing::Test {
  TempDir dir{true};
  ScopedHost h;
  void SetUp() override {
    logState() = LogState{};
    runFlags().Quit = false;
  }
  std::string log() { return dir.read("quova.log"); }
};
}  // namespace

TEST_F(LogFixture, EachRunStartsEmptyAndEntriesAreAppendedUnchanged) {
  ASSERT_EQ(OpenLogFile(), 0);
  Log("\nfirst run");
  ASSERT_EQ(OpenLogFile(), 0);
  Log("\nQUOVA %s starting...", "");
  Log(" continued %d", 5);
  EXPECT_EQ(log(), "\nQUOVA  starting... continued 5");
}

TEST_F(LogFixture, DiaLogWritesOnlyWithDiagnosticsOn) {
  OpenLogFile();
  EXPECT_EQ(DiaLog("\nhidden %d", 1), 0);
  logState().LogDiagnostics = true;
  DiaLog("\nshown %s", "100%");
  EXPECT_EQ(log(), "\nshown 100%");
}

TEST_F(LogFixture, LogBoxCopiesTheBlockAndKeepsPercentSigns) {
  OpenLogFile();
  h.host.answers.push_back(IDNO);
  EXPECT_EQ(LogBox("50% done", "Cap", mb::YESNO), IDNO);
  EXPECT_EQ(log(), "\n\nMessageBox:\n50% done\nCaption:\nCap\n");
  ASSERT_EQ(h.host.boxes.size(), 1u);
  EXPECT_EQ(h.host.boxes[0].caption, "Cap");
}

TEST_F(LogFixture, LongEntriesAreCutAt4999) {
  OpenLogFile();
  Log("%s", std::string(6000, 'x').c_str());
  EXPECT_EQ(log().size(), 4999u);
  LogText(std::string(6000, 'y'));
  EXPECT_EQ(log().size(), 2 * 4999u);
}

TEST_F(LogFixture, AFailingLogShowsOneBoxForTheRun) {
  logState().QuovaLogFile = dir.file("missing/quova.log");
  EXPECT_EQ(Log("\na"), -1);
  EXPECT_EQ(Log("\nb"), -1);
  EXPECT_EQ(h.host.boxes.size(), 1u);
  EXPECT_TRUE(h.host.sawBox("Cannot open QUOVA LogFile for writing.", "in routine OpenLogFile()"));
  EXPECT_EQ(OpenLogFile(), -1);
}

TEST_F(LogFixture, MessBarDoesNothingOnceTheApplicationCloses) {
  OpenLogFile();
  MessBar("working");
  runFlags().Quit = true;
  MessBar("late");
  EXPECT_EQ(h.host.statusTexts, std::vector<std::string>{"working"});
  EXPECT_EQ(h.host.pumps, 1);
  runFlags().Quit = false;
  LogBar("step");
  EXPECT_EQ(log(), "\nstep\n");
}

TEST_F(LogFixture, SystemInfoKeepsItsThreeLines) {
  OpenLogFile();
  LogSystemInfo();
  std::string text = log();
  EXPECT_EQ(text.rfind("\nWindows directory -- /etc\nComputer Name -- ", 0), 0u) << text;
  EXPECT_NE(text.find(" detected."), std::string::npos);
  EXPECT_NE(text.find("\nWindows NT build "), std::string::npos);
}
