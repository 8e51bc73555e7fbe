// The external programs get an argument list, never a shell command, and their messages.
#include "settings/external_programs.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "base/log.h"
#include "base/run_flags.h"
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
