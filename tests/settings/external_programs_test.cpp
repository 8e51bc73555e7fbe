// The external programs get an argument list, never a shell command, and their messages.
#include "settings/external_programs.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>

#include "base/log.h"
#include "base/run_flags.h"
#include "settings/settings.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

namespace quova {
namespace {

struct External : ::testing::Test {
  test::TempDir dir{true};
  test::ScopedHost h;
  void SetUp() override {
    logState().QuovaLogFile = dir.file("quova.log");
    runFlags() = RunFlags{};
    runFlags().QuovaPath = dir.path() + "/";
  }
  void TearDown() override {
    runFlags() = RunFlags{};
    logState().QuovaLogFile = "quova.log";
  }
};

TEST_F(External, LinkWithQuotesAndBlanksIsOneArgument) {
  const std::string link = "http://x.test/a b\"c";
  EXPECT_EQ(Browser(link), 0);
  ASSERT_EQ(h.host.processes.size(), 1u);
  EXPECT_EQ(h.host.processes[0].args, std::vector<std::string>{link});
  EXPECT_EQ(Browser(""), -1);
  EXPECT_TRUE(h.host.sawBox("Sorry...Valid Browser Link string not found.", "Browser Page Link ERROR in routine Browser()"));
}

TEST_F(External, AMissingDefaultOpenerIsNamedWithItsPackage) {
  const char* oldPath = std::getenv("PATH");
  const std::string saved = oldPath ? oldPath : "";
  struct Case {
    std::string program, path;
    const char* note;  // found in the failure message; empty: no note
  } cases[] = {
      {"xdg-open", dir.path(), "The program \"xdg-open\" is not installed (it comes with the package xdg-utils"},
      {"geditx", dir.path(), "The program \"geditx\" is not installed; or choose your own program"},
      {"xdg-open", dir.path() + "/bin", ""},  // there, but it could not start the file
      {dir.path() + "/bin/none", dir.path(), ""},
  };
  ::mkdir(dir.file("bin").c_str(), 0755);
  { std::ofstream(dir.file("bin/xdg-open")) << "#!/bin/sh\n"; }
  ::chmod(dir.file("bin/xdg-open").c_str(), 0755);
  h.host.nextProcess = -1;  // every start fails
  for (const Case& c : cases) {
    ::setenv("PATH", c.path.c_str(), 1);
    settings().TPathBuffer.EditorPath = settings().TPathBuffer.BrowserPath = c.program;
    h.host.boxes.clear();
    EXPECT_EQ(WordPad("a.txt"), -1);
    EXPECT_EQ(Browser("http://x.test/"), -1);
    ASSERT_EQ(h.host.boxes.size(), 2u);
    for (const auto& b : h.host.boxes) {
      if (*c.note) EXPECT_NE(b.text.find(c.note), std::string::npos) << c.program << ": " << b.text;
      else EXPECT_EQ(b.text.find("is not installed"), std::string::npos) << c.program << ": " << b.text;
    }
  }
  ::setenv("PATH", saved.c_str(), 1);
  settings() = Settings{};
}

TEST_F(External, CancelledLinkStartsNothing) {
  h.host.answers.push_back(IDCANCEL);
  EXPECT_EQ(BrowserLink("http://x.test/"), -2);
  EXPECT_TRUE(h.host.processes.empty());
  EXPECT_NE(dir.read("quova.log").find("\nBrowserLink() exited by user abort."), std::string::npos);
}

TEST_F(External, RepairToolRunsInItsFolder) {
  EXPECT_EQ(MendoraCP(), -1);  // no Utilities folder
  EXPECT_TRUE(h.host.sawBox("FAIL on SetCurrentDirectory to: \nUtilities", "In TMyApp::MendoraExec"));
  ASSERT_EQ(mkdir(dir.file("Utilities").c_str(), 0755), 0);
  dir.write("Utilities/Mendora", "");
  runFlags().FileToFixPath = "../Quotes.day/IBM.day";
  h.host.nextProcess = -1;
  EXPECT_EQ(MendoraCP(), -1);
  EXPECT_TRUE(h.host.sawBox("Mendora Open Error", "QUOVA main window Error"));
  ASSERT_EQ(h.host.processes.size(), 1u);
  EXPECT_EQ(h.host.processes[0].workDir, dir.path() + "/Utilities");
  EXPECT_EQ(h.host.processes[0].args, std::vector<std::string>{"../Quotes.day/IBM.day"});
}

}  // namespace
}  // namespace quova
