// The headless host answers at once, logs its boxes through LogBox, and runs programs
// from an argument list in their working directory.
#include <gtest/gtest.h>

#include <QElapsedTimer>

#include "app/events/headless_host.h"
#include "base/log.h"
#include "support/temp_dir.h"

using namespace quova;
using quova::test::TempDir;

TEST(HeadlessHost, BoxesAreAnsweredWithTheDefaultButtonAndLogged) {
  TempDir dir(true);
  logState() = LogState{};
  OpenLogFile();
  HeadlessHost h;
  setHost(&h);
  EXPECT_EQ(MessageBox("Overwrite?", "Copy", mb::YESNO), IDYES);
  EXPECT_EQ(MessageBox("Really?", "Copy", mb::YESNOCANCEL | mb::DEFBUTTON2), IDNO);
  EXPECT_EQ(LogBox("Stopped", "Cap", mb::OKCANCEL | mb::ICONSTOP), IDOK);
  setHost(nullptr);
  EXPECT_EQ(dir.read("quova.log"),
            "\n\nMessageBox:\nOverwrite?\nCaption:\nCopy\n"
            "\n\nMessageBox:\nReally?\nCaption:\nCopy\n"
            "\n\nMessageBox:\nStopped\nCaption:\nCap\n");
}

TEST(HeadlessHost, ProgramsGetTheirArgumentsAndWorkingDirectoryWithoutAShell) {
  TempDir dir;
  HeadlessHost h;
  // A ";" stays part of the argument: no shell reads it.
  ProcessId id = h.startProcess("/bin/sh", {"-c", "pwd > out.txt; printf '%s' \"$0\" >> out.txt", "a;b"}, dir.path());
  ASSERT_GT(id, 0);
  std::optional<int> code;
  QElapsedTimer t;
  t.start();
  while (!(code = h.processExitCode(id)) && t.elapsed() < 5000) h.pump();
  ASSERT_TRUE(code);
  EXPECT_EQ(*code, 0);
  EXPECT_EQ(dir.read("out.txt"), dir.path() + "\na;b");
  EXPECT_EQ(h.startProcess("/no/such/program", {}, dir.path()), -1);
}

TEST(HeadlessHost, QuitRequestsEndThePump) {
  HeadlessHost h;
  EXPECT_TRUE(h.pump());
  h.requestQuit();
  EXPECT_FALSE(h.pump());
}
