// quova.cfg, quova.win and Config/OutputWindow.cfg: layouts, missing and short files,
// failed writes with their reports.
#include <gtest/gtest.h>

#include "app/window_files.h"
#include "base/log.h"
#include "base/run_flags.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

using namespace quova;
using quova::test::ScopedHost;
using quova::test::TempDir;

namespace {

std::string le32(std::uint32_t v) {
  std::string s(4, '\0');
  for (int i = 0; i < 4; ++i) s[i] = static_cast<char>(v >> (8 * i));
  return s;
}

struct WindowFilesFixture : ::testing::Test {
  TempDir dir{true};
  ScopedHost h;
  void SetUp() override {
    logState() = LogState{};
    logState().QuovaLogFile = dir.file("quova.log");
    runFlags().QUOVAPATH = dir.path() + "/";
    OpenLogFile();
  }
  std::string log() { return dir.read("quova.log"); }
};

}  // namespace

TEST_F(WindowFilesFixture, FrameConfigHasHeightBeforeWidth) {
  dir.write("quova.cfg", le32(10) + le32(0xFFFFFFEC) + le32(300) + le32(400) + le32(ws::MAXIMIZE | ws::VISIBLE) +
                             le32(0x200));
  FrameAttributes a;
  ASSERT_TRUE(GetFrameConfig(a));
  EXPECT_EQ(a.X, 10);
  EXPECT_EQ(a.Y, -20);
  EXPECT_EQ(a.H, 300);
  EXPECT_EQ(a.W, 400);
  EXPECT_TRUE(a.maximised());
  EXPECT_EQ(a.ExStyle, 0x200u);
  EXPECT_EQ(log(), "\n" + frameConfigPath() + " successfully read.");

  OpenLogFile();
  a.W = 1280;
  a.setMaximised(false);
  EXPECT_EQ(a.Style, ws::VISIBLE);
  a.setMaximised(true);
  ASSERT_TRUE(SaveFrameConfig(a));
  EXPECT_EQ(dir.read("quova.cfg"), le32(10) + le32(0xFFFFFFEC) + le32(300) + le32(1280) +
                                       le32(ws::MAXIMIZE | ws::VISIBLE) + le32(0x200));
  EXPECT_EQ(log(), "\n" + frameConfigPath() + " successfully updated.");
}

TEST_F(WindowFilesFixture, ShortFrameConfigKeepsTheRest) {
  dir.write("quova.cfg", le32(5) + le32(6) + "\x01\x02");
  FrameAttributes a;
  ASSERT_TRUE(GetFrameConfig(a));
  EXPECT_EQ(a.X, 5);
  EXPECT_EQ(a.Y, 6);
  EXPECT_EQ(a.H, FrameAttributes{}.H);
  EXPECT_EQ(a.Style, FrameAttributes{}.Style);
}

TEST_F(WindowFilesFixture, MissingFrameConfigShowsTheRootWarning) {
  FrameAttributes a;
  EXPECT_FALSE(GetFrameConfig(a));
  EXPECT_EQ(log().rfind("\n" + frameConfigPath() + " could not be opened for reading.\n\nMessageBox:\n", 0), 0u);
  ASSERT_EQ(h.host.boxes.size(), 1u);
  EXPECT_EQ(h.host.boxes[0].caption, "QUOVA main window WARNING");
  EXPECT_EQ(h.host.boxes[0].text.rfind("Cannot find configuration file -- " + frameConfigPath() + "\n\nLikely", 0), 0u);
}

TEST_F(WindowFilesFixture, FailedFrameSaveIsReportedNotClaimed) {
  runFlags().QUOVAPATH = dir.path() + "/missing/";
  EXPECT_FALSE(SaveFrameConfig(FrameAttributes{}));
  EXPECT_EQ(log().rfind("\n" + frameConfigPath() + " could not be opened for update.\n\nMessageBox:\n", 0), 0u);
  ASSERT_EQ(h.host.boxes.size(), 1u);
  EXPECT_EQ(h.host.boxes[0].text, "Unable to open/create configuration file -- quova.cfg");
  EXPECT_EQ(h.host.boxes[0].caption, "QUOVA main window Error");
  EXPECT_EQ(h.host.boxes[0].flags, mb::OK | mb::ICONEXCLAMATION);
}

TEST_F(WindowFilesFixture, SavedWindowsAreReadInPairs) {
  std::vector<std::string> stack = {"quotes.day/IBM.day", "C:/root/quotes.day/IBM.day", "watch.qtl", "watch.qtl"};
  ASSERT_TRUE(WriteSavedWindows(dir.file("quova.win"), stack));
  EXPECT_EQ(dir.read("quova.win"), "quotes.day/IBM.day\nC:/root/quotes.day/IBM.day\nwatch.qtl\nwatch.qtl\n");
  auto w = ReadSavedWindows(dir.file("quova.win"));
  ASSERT_EQ(w.size(), 2u);
  EXPECT_EQ(w[1].path, "watch.qtl");
  EXPECT_EQ(w[1].title, "watch.qtl");

  // Windows line ends, an old end-of-file mark and a path without its title line.
  dir.write("quova.win", "a.qtl\r\nA list\r\nb.day\x1a");
  w = ReadSavedWindows(dir.file("quova.win"));
  ASSERT_EQ(w.size(), 2u);
  EXPECT_EQ(w[0].path, "a.qtl");
  EXPECT_EQ(w[0].title, "A list");
  EXPECT_EQ(w[1].path, "b.day");
  EXPECT_EQ(w[1].title, "");

  EXPECT_TRUE(ReadSavedWindows(dir.file("none.win")).empty());
  EXPECT_FALSE(WriteSavedWindows(dir.file("missing/quova.win"), stack));
  EXPECT_NE(log().find("missing/quova.win could not be opened for update."), std::string::npos);
}

TEST_F(WindowFilesFixture, OutputWindowConfigLayoutAndDefaults) {
  OutputWindowConfig c;
  EXPECT_FALSE(LoadOutputWindowConfig("Config\\OutputWindow.cfg", c));
  EXPECT_EQ(c.X, 20);
  EXPECT_EQ(c.W, 500);
  EXPECT_EQ(c.H, 220);

  dir.write("config/outputwindow.cfg", le32(1) + le32(2) + le32(3) + le32(4) + std::string("\0\x05", 2));
  ASSERT_TRUE(LoadOutputWindowConfig(kOutputWindowConfigFile, c));  // letter case does not matter
  EXPECT_EQ(c.X, 1);
  EXPECT_EQ(c.Y, 2);
  EXPECT_EQ(c.W, 3);
  EXPECT_EQ(c.H, 4);
  EXPECT_FALSE(c.iconic);
  EXPECT_TRUE(c.maximised);
  ASSERT_TRUE(SaveOutputWindowConfig(kOutputWindowConfigFile, c));
  EXPECT_EQ(dir.read("config/outputwindow.cfg"), le32(1) + le32(2) + le32(3) + le32(4) + std::string("\0\x01", 2));
}

TEST_F(WindowFilesFixture, OutputWindowSaveWithoutConfigFolderShowsItsBox) {
  EXPECT_FALSE(SaveOutputWindowConfig(kOutputWindowConfigFile, OutputWindowConfig{}));
  EXPECT_EQ(log(), "\n\nMessageBox:\nCannot open Configuration File -- Config\\OutputWindow.cfg\nCaption:\n"
                   "OutputWindow::SaveConfig()\n");
  ASSERT_EQ(h.host.boxes.size(), 1u);
  EXPECT_EQ(h.host.boxes[0].flags, mb::OK | mb::ICONEXCLAMATION);
}
