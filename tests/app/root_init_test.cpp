// A fresh root: everything an installation ships, loadable by the program, and nothing
// that exists is ever replaced.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "app/root_init.h"
#include "app/window_files.h"
#include "base/log.h"
#include "base/run_flags.h"
#include "settings/settings.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"
#include "util/paths.h"

using namespace quova;
using quova::test::ScopedHost;
using quova::test::TempDir;
namespace fs = std::filesystem;

namespace {
bool listed(const InitRootResult& r, const std::string& path) {
  return std::find(r.created.begin(), r.created.end(), path) != r.created.end();
}
}  // namespace

TEST(RootInit, CreatesACompleteRootThatTheProgramLoads) {
  TempDir dir;
  const std::string root = dir.file("new root");
  InitRootResult r = initRoot(root);
  EXPECT_TRUE(r.failed.empty());
  EXPECT_TRUE(listed(r, root));
  for (const char* folder : {"quotes.day", "Config", "Config/download", "exports", "QuoteList Configuration Files",
                             "Utilities", "Help"}) {
    EXPECT_TRUE(fs::is_directory(root + "/" + folder)) << folder;
    EXPECT_TRUE(listed(r, root + "/" + folder)) << folder;
  }
  EXPECT_FALSE(fs::exists(root + "/config"));  // config\download lands in Config
  for (const char* file : {"quova.ini", "User.dat", "quova.cfg", "Header.day", "None.day", "Blank.qtl", "Blank.txt",
                           "daily.dcf", "IntraDay.dcf"}) {
    EXPECT_TRUE(fs::is_regular_file(root + "/" + file)) << file;
    EXPECT_TRUE(listed(r, root + "/" + file)) << file;
  }
  EXPECT_EQ(fs::file_size(root + "/quova.ini"), 576u);
  EXPECT_EQ(fs::file_size(root + "/User.dat"), 543u);
  EXPECT_EQ(fs::file_size(root + "/quova.cfg"), 24u);
  EXPECT_EQ(fs::file_size(root + "/Blank.qtl"), 0u);  // copied over files to empty them

  TempDir work(true);
  std::string header = dir.read("new root/Header.day");
  EXPECT_NE(header.find("SYMBOL:"), std::string::npos);
  EXPECT_NE(header.find("COMPANY NAME:"), std::string::npos);

  // The settings files load with their values before loading and no installation dialogs.
  ScopedHost h;
  logState() = LogState{};
  logState().QuovaLogFile = work.file("quova.log");
  runFlags().QUOVAPATH = root + "/";
  runFlags().IniFilePath = root + "/quova.ini";
  runFlags().UserFilePath = root + "/User.dat";
  settings().LastDnLoadStep = 9;
  ASSERT_TRUE(GetIniFile());
  EXPECT_TRUE(GetUserFile());
  EXPECT_EQ(settings().LastDnLoadStep, 0);
  EXPECT_EQ(settings().DownloadControls.DLTime, 448);
  EXPECT_EQ(settings().PlotColors, quovaPalette());
  EXPECT_EQ(settings().TPathBuffer.SpreadsheetPath, "xdg-open");
  FrameAttributes a{0, 0, 0, 0, 0, 0};
  ASSERT_TRUE(GetFrameConfig(a));
  EXPECT_GT(a.W, 0);
  EXPECT_GT(a.H, 0);
  EXPECT_FALSE(a.maximised());
  EXPECT_TRUE(h.host.boxes.empty());
}

TEST(RootInit, NeverReplacesWhatExists) {
  TempDir dir;
  dir.write("QUOVA.INI", "mine");
  dir.write("header.day", "my header\n");
  dir.write("CONFIG/keep", "x");
  InitRootResult r = initRoot(dir.path());
  EXPECT_TRUE(r.failed.empty());
  EXPECT_EQ(dir.read("QUOVA.INI"), "mine");
  EXPECT_EQ(dir.read("header.day"), "my header\n");
  EXPECT_FALSE(fs::exists(dir.file("quova.ini")));
  EXPECT_FALSE(fs::exists(dir.file("Config")));
  EXPECT_TRUE(fs::is_directory(dir.file("CONFIG/download")));
  EXPECT_FALSE(listed(r, dir.path()));

  InitRootResult again = initRoot(dir.path());
  EXPECT_TRUE(again.created.empty());
  EXPECT_TRUE(again.failed.empty());
}

TEST(RootInit, ReportsWhatCouldNotBeMade) {
  TempDir dir;
  dir.write("plain file", "");
  InitRootResult r = initRoot(dir.file("plain file/root"));
  EXPECT_TRUE(r.created.empty());
  ASSERT_EQ(r.failed.size(), 1u);
}

TEST(RootInit, TemplatesComeFromTheSourceTree) {
  const auto& t = rootTemplates();
  auto has = [&](std::string_view name) {
    return std::any_of(t.begin(), t.end(), [&](const RootTemplate& x) { return x.path == name; });
  };
  for (const char* name : {"Header.day", "None.day", "Blank.qtl", "Blank.txt", "daily.dcf", "IntraDay.dcf"})
    EXPECT_TRUE(has(name)) << name;
  // Every line of the shipped command files is a comment, so a fresh daily run opens nothing.
  for (const RootTemplate& x : t) {
    if (!x.path.ends_with(".dcf")) continue;
    std::size_t i = 0;
    while (i < x.content.size()) {
      std::size_t nl = x.content.find('\n', i);
      std::string_view line = x.content.substr(i, nl == std::string_view::npos ? std::string_view::npos : nl - i);
      EXPECT_TRUE(line.empty() || line[0] == '/') << x.path << ": " << line;
      EXPECT_LE(line.size(), 180u);
      if (nl == std::string_view::npos) break;
      i = nl + 1;
    }
  }
}

TEST(RootInit, CommandPrintsEachCreatedPath) {
  TempDir dir;
  std::string root = dir.file("r");
  std::string prog = "quova", opt = "--init-root";
  char* argv[] = {prog.data(), opt.data(), root.data(), nullptr};
  ::testing::internal::CaptureStdout();
  EXPECT_EQ(initRootCommand(3, argv), 0);
  std::string out = ::testing::internal::GetCapturedStdout();
  EXPECT_EQ(out.rfind("created " + root + "\n", 0), 0u);
  EXPECT_NE(out.find("created " + root + "/quova.ini\n"), std::string::npos);
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(initRootCommand(2, argv), 2);  // no folder given
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("usage:"), std::string::npos);
}
