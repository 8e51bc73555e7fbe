// The output window's configuration file: written at close relative to the MDI client,
// reopened at the same place, the maximised case, the clamp of bad rectangles, and the
// save failure answered without waiting.
#include "app/windows/output_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QPointer>
#include <filesystem>
#include <memory>

#include "base/log.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"
#include "util/paths.h"

namespace quova {
namespace {

struct OutputWindowFile : ::testing::Test {
  test::TempDir dir{true};
  test::ScopedHost h;
  std::unique_ptr<QMainWindow> frame;
  QMdiArea* client = nullptr;
  void SetUp() override {
    logState().QuovaLogFile = dir.file("quova.log");
    OpenLogFile();
    makeDirectories("Config");
    frame = std::make_unique<QMainWindow>();
    client = new QMdiArea;
    frame->setCentralWidget(client);
    frame->resize(1000, 700);
    frame->show();
    QApplication::processEvents();
  }
  void TearDown() override { logState().QuovaLogFile = "quova.log"; }
  OutputWindowConfig saved() {
    OutputWindowConfig c;
    EXPECT_TRUE(LoadOutputWindowConfig(kOutputWindowConfigFile, c));
    return c;
  }
  OutputWindow* open() {
    OutputWindow* w = nullptr;
    NewOutputWindow(client, &w);
    QApplication::processEvents();
    return w;
  }
};

TEST_F(OutputWindowFile, DefaultsThenSameRectangleAfterReopen) {
  OutputWindow* w = open();
  EXPECT_EQ(w->windowTitle(), "Downloads In-Process");
  EXPECT_EQ(w->geometry(), QRect(20, 20, 500, 220));
  EXPECT_TRUE(w->edit()->isReadOnly());
  w->setGeometry(45, 60, 330, 180);
  QApplication::processEvents();
  delete w;
  EXPECT_EQ(dir.read("Config/OutputWindow.cfg").size(), kOutputWindowConfigSize);
  OutputWindowConfig c = saved();
  EXPECT_EQ(QRect(c.X, c.Y, c.W, c.H), QRect(45, 60, 330, 180));
  EXPECT_FALSE(c.iconic);
  EXPECT_FALSE(c.maximised);
  w = open();
  EXPECT_EQ(w->geometry(), QRect(45, 60, 330, 180));
  EXPECT_FALSE(w->isMaximized());
  delete w;
}

TEST_F(OutputWindowFile, ClosedMaximisedKeepsNormalRectangleAndReopensMaximised) {
  OutputWindow* w = open();
  w->setGeometry(30, 40, 320, 210);
  QApplication::processEvents();
  w->showMaximized();
  QApplication::processEvents();
  delete w;
  OutputWindowConfig c = saved();
  EXPECT_EQ(QRect(c.X, c.Y, c.W, c.H), QRect(30, 40, 320, 210));
  EXPECT_TRUE(c.maximised);
  w = open();
  EXPECT_TRUE(w->isMaximized());
  w->showNormal();
  QApplication::processEvents();
  EXPECT_EQ(w->geometry(), QRect(30, 40, 320, 210));
  delete w;
  EXPECT_FALSE(saved().maximised);
}

TEST_F(OutputWindowFile, ClosingTheWindowClosesItsOwner) {
  QWidget owner;
  owner.show();
  OutputWindow* w = nullptr;
  NewOutputWindow(client, &w, &owner);
  QPointer<OutputWindow> alive(w);
  w->close();  // deletes on close
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(alive.isNull());
  EXPECT_FALSE(owner.isVisible());
}

TEST_F(OutputWindowFile, SinkAppendsUnderTitleAndDropsAfterClose) {
  OutputSink s = openOutputWindow(client, "Quote Download Update from Quotelist: demo.qtl");
  ASSERT_TRUE(s.window);
  EXPECT_EQ(s.window->windowTitle(), "Quote Download Update from Quotelist: demo.qtl");
  s.append("\nfirst line");
  s.window->TuPrint("\n%s %d", "second", 2);
  EXPECT_EQ(s.window->edit()->toPlainText(), "\nfirst line\nsecond 2");
  delete s.window.data();
  s.append("\nafter close");  // must not crash
  EXPECT_TRUE(s.window.isNull());
}

TEST_F(OutputWindowFile, MissingConfigFolderIsReportedAndAnswered) {
  OutputWindow* w = nullptr;
  NewOutputWindow(client, &w);
  ASSERT_TRUE(std::filesystem::remove_all(dir.file("Config")) > 0);
  delete w;  // the save fails: the box is logged and answered at once
  EXPECT_TRUE(h.host.sawBox("Cannot open Configuration File -- Config\\OutputWindow.cfg", "OutputWindow::SaveConfig()"));
}

TEST(OutputWindowPlacement, BadRectanglesAreBroughtOntoTheArea) {
  struct Case {
    OutputWindowConfig in;
    QRect want;
  } cases[] = {
      {{20, 20, 500, 220}, QRect(20, 20, 500, 220)},     // inside: unchanged
      {{-300, 50, 400, 200}, QRect(0, 50, 400, 200)},    // left of the area
      {{5000, 4000, 400, 200}, QRect(600, 400, 400, 200)},  // far off to the bottom right
      {{10, 10, 0, 200}, QRect(10, 10, 500, 220)},       // no width: the default size
      {{10, 10, 300, -5}, QRect(10, 10, 500, 220)},      // negative height: the default size
      {{0, 0, 90000, 90000}, QRect(0, 0, 1000, 600)},    // enormous: cut to the area
  };
  for (const Case& c : cases) {
    const OutputWindowConfig r = clampedPlacement(c.in, 1000, 600);
    EXPECT_EQ(QRect(r.X, r.Y, r.W, r.H), c.want) << c.in.X << "," << c.in.Y << " " << c.in.W << "x" << c.in.H;
  }
}

TEST_F(OutputWindowFile, SavedRectangleOffTheClientReopensInside) {
  OutputWindowConfig far{-4000, 9000, -10, 300, false, false};
  ASSERT_TRUE(SaveOutputWindowConfig(kOutputWindowConfigFile, far));
  OutputWindow* w = open();
  const QRect g = w->geometry();
  EXPECT_EQ(g.size(), QSize(500, 220));
  EXPECT_TRUE(QRect(QPoint(0, 0), client->viewport()->size()).contains(g));
  delete w;
}

}  // namespace
}  // namespace quova
