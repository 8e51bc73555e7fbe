// The download as the main window runs it: each list's session in its own output window,
// narrated there, closed after its pause, and the program closed at the run's end.
#include "download/windows/download_frame.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMdiSubWindow>
#include <QTextEdit>
#include <filesystem>
#include <memory>

#include "app/windows/main_frame.h"
#include "base/command_ids.h"
#include "base/log.h"
#include "base/run_flags.h"
#include "download/daily_run.h"
#include "download/download_state.h"
#include "settings/settings.h"
#include "support/download_fixture.h"
#include "support/page_server.h"
#include "support/qt/frame_root.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

namespace quova {
namespace {

struct DownloadFrame : ::testing::Test {
  test::TempDir dir{true};
  test::ScopedHost h;
  test::PageServer server;
  void SetUp() override {
    test::enterFrameRoot(dir);
    runFlags().QUOVAPATH = dir.path() + "/";
    settings() = Settings{};
    downloadState().PageErrCount = 0;
    std::string qcf = test::downloadData("table.qcf");
    qcf.replace(qcf.find("http://quotes.example/"), 22, "http://127.0.0.1:" + std::to_string(server.port()) + "/");
    dir.write("QuoteList Configuration Files/w.qcf", qcf);
    dir.write("w.qtl", "SYMBOL  FILE  NAME\nIBM  *  Intl\nGE  *  General\n");
    server.setPage("/q?s=IBM+GE", test::downloadData("table.htm"));
  }
  std::unique_ptr<QVMAIN> shownFrame() { return test::shownMainFrame(); }
  void TearDown() override {
    dailyRun().setHooks({});
    runFlags() = RunFlags{};
    logState().QuovaLogFile = "quova.log";
  }
};

QMdiSubWindow* sessionWindow(QVMAIN* f) {
  for (QMdiSubWindow* sub : f->client()->subWindowList())
    if (sub->windowTitle().startsWith("Quote Download Update from Quotelist: ")) return sub;
  return nullptr;
}

TEST_F(DownloadFrame, EachListIsNarratedInItsOwnWindowAndTheRunClosesTheProgram) {
  dir.write("daily.dcf", "w.qtl\n");
  runFlags().QuitAfterDownload = true;
  std::unique_ptr<QVMAIN> f = shownFrame();
  dailyRun().DownLoad();
  // Wait for the page's work to be told in the session's window, and look at it.
  QElapsedTimer t;
  t.start();
  QMdiSubWindow* sub = nullptr;
  auto narrated = [&] {
    sub = sessionWindow(f.get());
    auto* edit = sub ? sub->findChild<QTextEdit*>() : nullptr;
    return edit && edit->toPlainText().contains("2 New Quotes were downloaded.");
  };
  while (!narrated() && t.elapsed() < 15000) QApplication::processEvents(QEventLoop::AllEvents, 20);
  ASSERT_NE(sub, nullptr);
  EXPECT_EQ(sub->windowTitle(), "Quote Download Update from Quotelist: w.qtl");
  std::string text = sub->findChild<QTextEdit*>()->toPlainText().toStdString();
  EXPECT_NE(text.find("Internet Download of QuoteList w.qtl Successfully Completed."), std::string::npos) << text;
  f->grab().save("/tmp/quova-download-window.png");
  // The run ends by itself and closes the program.
  while (f->isVisible() && t.elapsed() < 30000) QApplication::processEvents(QEventLoop::AllEvents, 20);
  EXPECT_FALSE(f->isVisible());
  EXPECT_EQ(sessionWindow(f.get()), nullptr);
  EXPECT_FALSE(runFlags().DLReentrant);
  EXPECT_NE(dir.read("w.qtl").find("93.500"), std::string::npos);
}

TEST_F(DownloadFrame, ACloseInThePauseFinishesTheListFirst) {
  dir.write("daily.dcf", "w.qtl\nw.qtl\n");
  std::unique_ptr<QVMAIN> f = shownFrame();
  dailyRun().DownLoad();
  QElapsedTimer t;
  t.start();
  while (!dir.read("quotes.day/IBM.day").size() && t.elapsed() < 15000)
    QApplication::processEvents(QEventLoop::AllEvents, 20);
  ASSERT_FALSE(f->close());  // refused while the session holds its pause
  while (f->isVisible() && t.elapsed() < 3000) QApplication::processEvents(QEventLoop::AllEvents, 20);
  EXPECT_FALSE(f->isVisible());   // closed well before the 4 s pause would have ended
  EXPECT_LT(t.elapsed(), 3000);
  EXPECT_NE(dir.read("w.qtl").find("93.500"), std::string::npos);  // the list was brought up to date
  EXPECT_EQ(server.requests().size(), 1u);                          // and the second line not started
  EXPECT_FALSE(runFlags().DLReentrant);
}

TEST_F(DownloadFrame, TheMenuCommandsAskFirst) {
  std::unique_ptr<QVMAIN> f(InitMainWindow());
  // Download asks with the text of the download source; Cancel starts nothing.
  h.host.answers = {IDCANCEL};
  f->runCommand(cm::DOWNLOAD);
  ASSERT_EQ(h.host.boxes.size(), 1u);
  EXPECT_EQ(h.host.boxes[0].text, "Perform Download of Stock Quotes from QUOVA Internet Window");
  EXPECT_FALSE(runFlags().DLReentrant);
  // Backdate All: every quote file, subfolders too, under the forced-download dialog.
  dir.write("quotes.day/funds/F.day", "SYMBOL: F\n");
  h.host.answers = {IDOK};
  f->runCommand(cm::BACKDATEALL);
  EXPECT_EQ(h.host.boxes.back().caption, "QVMAIN Message");
  auto stamp = std::filesystem::last_write_time(dir.file("quotes.day/funds/F.day"));
  EXPECT_LT(stamp, std::filesystem::last_write_time(dir.file("w.qtl")));
  // The .csv switches save the settings and confirm.
  f->runCommand(cm::CSVON);
  EXPECT_TRUE(settings().CSVenable);
  EXPECT_EQ(h.host.boxes.back().caption, "Downloading Options");
  f->runCommand(cm::INTRADAY);
  EXPECT_EQ(h.host.boxes.back().text, "IntraDay Downloading has not yet been implemented.");
}

}  // namespace
}  // namespace quova
