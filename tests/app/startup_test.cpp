// The start-up sequence: arguments, roots, and the exit paths that need no window.
#include "app/startup.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>

#include "app/app_state.h"
#include "app/root_init.h"
#include "base/log.h"
#include "base/run_flags.h"
#include "settings/settings.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

namespace quova {
namespace {

struct Startup : ::testing::Test {
  test::TempDir dir{true};
  test::ScopedHost h;
  void SetUp() override {
    app() = AppState{};
    runFlags() = RunFlags{};
    unsetenv("QUOVA");
    logState().QuovaLogFile = "quova.log";
  }
  void TearDown() override {
    unsetenv("QUOVA");
    app() = AppState{};
    runFlags() = RunFlags{};
    settings() = Settings{};
    logState().QuovaLogFile = "quova.log";
  }
  int run(std::vector<std::string> args, bool* ran = nullptr) {
    args.insert(args.begin(), "quova");
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    return OwlMain(static_cast<int>(args.size()), argv.data(), [&] {
      if (ran) *ran = true;
      return 7;
    });
  }
};

TEST_F(Startup, ArgumentRules) {
  struct Case {
    std::vector<std::string> args;
    int argFlag;
    long waittime;
    bool quitAfter;
  } cases[] = {
      {{"/update", "/wait", "30"}, 1, 30, false},
      {{"/forcedownload", "/wait", "30"}, 2, 30, false},
      {{"/wait", "30"}, 0, 0, false},  // not a first-position switch
      {{"/update", "/QuitAfterDownload", "/wait", "30"}, 1, 0, true},  // argv[3] is "/wait"
      {{"/Update"}, 0, 0, false},  // case-sensitive
  };
  for (auto& c : cases) {
    app() = AppState{};
    runFlags() = RunFlags{};
    std::vector<std::string> args = c.args;
    args.insert(args.begin(), "quova");
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    EXPECT_TRUE(ParseArguments(static_cast<int>(argv.size()), argv.data()));
    EXPECT_EQ(app().argFlag, c.argFlag) << c.args[0];
    EXPECT_EQ(app().waittime, c.waittime) << c.args[0];
    EXPECT_EQ(runFlags().QuitAfterDownload, c.quitAfter) << c.args[0];
  }
}

TEST_F(Startup, LongFileNameIsKeptWhole) {
  std::string name = dir.file(std::string(120, 'a') + ".day");
  dir.write(std::string(120, 'a') + ".day", "");
  std::vector<char*> argv = {const_cast<char*>("quova"), name.data()};
  ParseArguments(2, argv.data());
  EXPECT_EQ(app().argFlag, 9);
  EXPECT_EQ(app().argFileName, name);
  app() = AppState{};
  runFlags() = RunFlags{};
  std::string missing = dir.file("none.day");
  argv[1] = missing.data();
  ParseArguments(2, argv.data());  // a "/" switch of no meaning
  EXPECT_EQ(app().argFlag, 0);
}

TEST_F(Startup, NormalRunLogsAndSaves) {
  initRoot(dir.path());
  bool ran = false;
  EXPECT_EQ(run({}, &ran), 7);
  EXPECT_TRUE(ran);
  std::string log = dir.read("quova.log");
  EXPECT_EQ(log.rfind("\nQUOVA  starting...\nQuovaPath -- ", 0), 0u);
  EXPECT_NE(log.find("\nQUOVA env variable set=NULL (not in autoexec.bat)"), std::string::npos);
  EXPECT_NE(log.find("\nStarting TMyApp().Run()..."), std::string::npos);
  EXPECT_EQ(log.substr(log.size() - 13), "\nNormal Exit.");
  EXPECT_EQ(app().tdate.size(), 10u);
}

TEST_F(Startup, MissingIniEndsWithMinusOneAndWritesNothing) {
  bool ran = false;
  EXPECT_EQ(run({}, &ran), -1);
  EXPECT_FALSE(ran);
  EXPECT_TRUE(h.host.sawBox(rootDirectoryWarning("initialization", "quova.ini"), "QUOVA main window WARNING"));
  EXPECT_NE(access("quova.ini", F_OK), 0);
  EXPECT_NE(access("User.dat", F_OK), 0);
  std::string log = dir.read("quova.log");
  EXPECT_EQ(log.substr(log.size() - 13), "\nNormal Exit.");
}

TEST_F(Startup, QuovaRootBecomesTheWorkingDirectoryButTheLogStays) {
  test::TempDir root;
  initRoot(root.path());
  setenv("QUOVA", root.path().c_str(), 1);
  EXPECT_EQ(run({}), 7);
  char cwd[4096];
  ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
  EXPECT_EQ(std::string(cwd), root.path());
  std::string log = dir.read("quova.log");
  EXPECT_NE(log.find("\nQUOVA env variable set=" + root.path() + "/"), std::string::npos);
  EXPECT_EQ(runFlags().IniFilePath, root.path() + "/quova.ini");
  ASSERT_EQ(chdir(dir.path().c_str()), 0);  // TempDir returns from here
}

TEST_F(Startup, WaitForZeroReturnsAtOnceAndQuitEndsAWait) {
  WinWaitFor(0, false);
  EXPECT_EQ(h.host.pumps, 0);
  runFlags().Quit = true;
  WinWaitFor(60000, false);
  EXPECT_FALSE(app().Waiting);
}

}  // namespace
}  // namespace quova
