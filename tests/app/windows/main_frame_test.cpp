// The main frame as a user meets it: menu, control bar, enabling along the command route,
// the text editor window and the document stack across open, close and restart.
#include "app/windows/main_frame.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QRegularExpression>
#include <QToolBar>
#include <memory>

#include "app/app_state.h"
#include "app/commands.h"
#include "app/window_files.h"
#include "base/log.h"
#include "base/run_flags.h"
#include "support/qt/frame_root.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

namespace quova {
namespace {

struct Frame : ::testing::Test {
  test::TempDir dir{true};
  test::ScopedHost h;
  void SetUp() override {
    app() = AppState{};
    test::enterFrameRoot(dir);
  }
  void TearDown() override {
    app() = AppState{};
    runFlags() = RunFlags{};
    logState().QuovaLogFile = "quova.log";
  }
  std::unique_ptr<QVMAIN> make() { return test::shownMainFrame(); }
};

TEST_F(Frame, MenuAndControlBarInOrder) {
  auto f = make();
  QStringList titles;
  for (QAction* a : f->menuBar()->actions()) titles << a->text();
  EXPECT_EQ(titles, QStringList({"&File", "&Edit", "&Tools", "&Options", "&Download", "&Links", "&Window", "&Help"}));
  auto* bar = f->findChild<QToolBar*>("ControlBar");
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(bar->actions().size(), static_cast<int>(controlBarGadgets().size()));
  EXPECT_EQ(bar->actions().size(), 32);
  EXPECT_EQ(bar->actions()[0]->data().toInt(), 24332);
  EXPECT_EQ(bar->actions()[31]->data().toInt(), 205);
  EXPECT_EQ(bar->actions()[31]->statusTip(), "Open an information dialog box");
  auto* date = f->findChild<QLabel*>("DateGadget");
  ASSERT_NE(date, nullptr);
  EXPECT_TRUE(date->text().contains(QRegularExpression("^[A-Z][a-z]+day  [0-9]{2}/[0-9]{2}/[0-9]{4}$"))) << date->text().toStdString();
  EXPECT_EQ(f->windowTitle(), "The Tradivo for Windows (QUOVA)");
  EXPECT_EQ(app().Version, "version " QUOVA_FILE_VERSION " Release");
  EXPECT_EQ(app().version, 12);
  EXPECT_EQ(app().revision_level, 'r');
  // 18875 has no handler anywhere.
  ASSERT_NE(f->action(18875), nullptr);
  EXPECT_FALSE(f->action(18875)->isEnabled());
  QImage shot = f->grab().toImage();
  shot.save("/tmp/quova-main-window.png");
  EXPECT_FALSE(shot.isNull());
}

TEST_F(Frame, EditorJoinsTheRouteAndTheStack) {
  auto f = make();
  EXPECT_FALSE(f->routeHandles(24333));  // no document: Save is off
  ASSERT_TRUE(f->openDocument(dir.path() + "/daily.dcf"));
  ASSERT_TRUE(f->openDocument(dir.path() + "/daily.dcf"));
  QApplication::processEvents();
  EXPECT_TRUE(f->routeHandles(24333));
  EXPECT_FALSE(f->openDocument(dir.path() + "/notes.xyz"));  // no template for it
  EXPECT_EQ(f->documentStack(), (std::vector<std::string>{"daily.dcf", dir.path() + "/daily.dcf", "daily.dcf",
                                                           dir.path() + "/daily.dcf"}));
  f->client()->subWindowList().front()->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(f->documentStack().size(), 2u);
  f->close();
  EXPECT_EQ(ReadSavedWindows("quova.win").size(), 1u);
}

TEST_F(Frame, SavedWindowsComeBackAtTheNextStart) {
  WriteSavedWindows("quova.win", {"daily.dcf", "Daily", "Blank.txt", "Blank"});
  auto f = make();
  QApplication::processEvents();
  EXPECT_EQ(f->client()->subWindowList().size(), 2);
  EXPECT_EQ(f->documentStack(), (std::vector<std::string>{"daily.dcf", "Daily", "Blank.txt", "Blank"}));
}

}  // namespace
}  // namespace quova
