// The main frame's command side driven through the real windows: the menus and control bar
// against the command tables, routing to the active window, the document templates with
// drops, Add View and the file named at start, the application messages, F1 on a menu,
// About and help.
#include <gtest/gtest.h>
#include <utime.h>

#include <QAction>
#include <QApplication>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QTextBrowser>
#include <QToolBar>
#include <QScrollBar>
#include <QUrl>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <filesystem>
#include <ctime>
#include <memory>

#include "app/app_state.h"
#include "app/commands.h"
#include "app/events/headless_host.h"
#include "app/windows/about_dialog.h"
#include "app/windows/doc_templates.h"
#include "app/windows/help_window.h"
#include "app/windows/main_frame.h"
#include "app/windows/text_editor.h"
#include "base/log.h"
#include "base/run_flags.h"
#include "base/windows/command_target.h"
#include "download/daily_run.h"
#include "download/download_state.h"
#include "settings/settings.h"
#include "support/qt/frame_root.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

namespace quova {
namespace {

// A document window of a later kind (quote list, chart) as the templates see it: it names
// its kind and handles the commands it is given.
class FakeView : public QLabel, public CommandTarget {
 public:
  FakeView(std::string kind, std::vector<int> ids) : QLabel(QString::fromStdString(kind)), ids_(std::move(ids)) {}
  bool handlesCommand(int id) const override { return std::find(ids_.begin(), ids_.end(), id) != ids_.end(); }
  void runCommand(int id) override { ran.push_back(id); }
  std::vector<int> ran;

 private:
  std::vector<int> ids_;
};

struct Shell : ::testing::Test {
  test::TempDir dir{true};
  test::ScopedHost h;
  void SetUp() override {
    app() = AppState{};
    test::enterFrameRoot(dir);
  }
  void TearDown() override {
    setViewFactory(DocKind::QuoteList, {});
    setViewFactory(DocKind::Chart, {});
    settings() = Settings{};
    app() = AppState{};
    runFlags() = RunFlags{};
    logState().QuovaLogFile = "quova.log";
  }
  std::unique_ptr<QVMAIN> make() { return test::shownMainFrame(); }
  static std::vector<std::string> titles(QVMAIN& f) {
    std::vector<std::string> out;
    for (QMdiSubWindow* s : f.client()->subWindowList()) out.push_back(s->windowTitle().toStdString());
    return out;
  }
  static void drop(QVMAIN& f, const QStringList& files) {
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& p : files) urls << QUrl::fromLocalFile(p);
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&f, &enter);
    QDropEvent e(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&f, &e);
  }
  std::string log() const { return dir.read("quova.log"); }
};

std::vector<int> menuIds(QMenu* m) {
  std::vector<int> ids;
  for (QAction* a : m->actions())
    if (!a->isSeparator()) ids.push_back(a->data().toInt());
  return ids;
}

TEST_F(Shell, MenusHoldEveryEntryInOrderWithTheirTexts) {
  auto f = make();
  const QList<QAction*> top = f->menuBar()->actions();
  ASSERT_EQ(top.size(), 8);
  EXPECT_EQ(menuIds(top[0]->menu()), (std::vector<int>{24332, 24333, 24334, 24335, 24339, 11872, 101, 102, 11876, 24310}));
  EXPECT_EQ(menuIds(top[2]->menu()),
            (std::vector<int>{306, 307, 11856, 29001, 11861, 36, 259, 11864, 51682, 51684, 11843, 11844, 24589, 11872,
                              11873, 11875, 11874, 11845, 11852, 11853, 11855, 11854, 11863, 11862, 11848}));
  EXPECT_EQ(menuIds(top[3]->menu()),
            (std::vector<int>{11842, 9071, 261, 260, 11851, 222, 2510, 250, 240, 241, 244, 246, 28999, 252, 205}));
  EXPECT_EQ(menuIds(top[5]->menu()), (std::vector<int>{51683, 9070, 10101, 11857, 11871, 11858}));
  EXPECT_EQ(menuIds(top[6]->menu()), (std::vector<int>{24361, 24362, 24364, 24365, 24341}));
  EXPECT_EQ(menuIds(top[7]->menu()), (std::vector<int>{512, 513, 11857, 11871, 11858, 514}));
  EXPECT_EQ(f->action(24310)->text(), "E&xit");
  EXPECT_EQ(f->action(24310)->statusTip(), "Exit");  // an item without a control-bar hint shows its words
  EXPECT_EQ(f->action(260)->text(), "&Edit Daily       Download Command File");
  EXPECT_EQ(f->action(18875)->text(), "Start   &Intra-day Updates from Intraday.dcf");
  EXPECT_EQ(f->action(512)->shortcuts(), (QList<QKeySequence>{QKeySequence(Qt::Key_F1), QKeySequence(Qt::SHIFT | Qt::Key_F1)}));
  for (auto [id, key] : {std::pair{24332, Qt::Key_O}, {24333, Qt::Key_S}, {101, Qt::Key_P}}) {
    for (QAction* a : top[0]->menu()->actions())
      if (a->data().toInt() == id) EXPECT_EQ(a->shortcut(), QKeySequence(Qt::CTRL | key)) << id;
  }
  // The Edit pop-up holds the placeholder until a text window is active.
  QMenu* edit = top[1]->menu();
  emit edit->aboutToShow();
  ASSERT_EQ(edit->actions().size(), 1);
  EXPECT_EQ(edit->actions()[0]->statusTip(), "No document to edit");
  EXPECT_FALSE(edit->actions()[0]->isEnabled());
  ASSERT_TRUE(f->openDocument(dir.file("daily.dcf")));
  emit edit->aboutToShow();
  EXPECT_GT(edit->actions().size(), 5);
}

TEST_F(Shell, ControlBarGadgetsHintsAndLogLines) {
  auto f = make();
  auto* bar = f->findChild<QToolBar*>("ControlBar");
  ASSERT_NE(bar, nullptr);
  std::vector<int> ids;
  int separators = 0;
  for (QAction* a : bar->actions()) {
    if (a->isSeparator()) ++separators;
    else if (a->data().toInt()) ids.push_back(a->data().toInt());
  }
  EXPECT_EQ(ids, (std::vector<int>{24332, 24333, 306, 307, 2510, 27387, 222, 11846, 11870, 24589, 250, 240, 241, 36,
                                   10101, 29001, 246, 244, 11842, 28999, 205}));
  EXPECT_EQ(separators, 6);
  // Enabling follows the route: with nothing open only what the frame and application handle.
  auto enabled = [&](int id) {
    for (QAction* a : bar->actions())
      if (a->data().toInt() == id) return a->isEnabled();
    return false;
  };
  EXPECT_TRUE(enabled(24332));   // Open: created disabled, handled by the frame
  EXPECT_TRUE(enabled(205));     // About
  EXPECT_TRUE(enabled(11842));   // Global Setup
  EXPECT_TRUE(enabled(28999));   // Abort
  EXPECT_FALSE(enabled(24333));  // Save: no document
  EXPECT_FALSE(enabled(250));    // a chart command
  EXPECT_FALSE(enabled(11846));  // a quote list command
  // The hint shows in the status bar while the pointer is over the button.
  for (QAction* a : bar->actions()) {
    if (a->data().toInt() != 11842) continue;
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QCoreApplication::sendEvent(bar->widgetForAction(a), &enter);
  }
  EXPECT_EQ(f->statusBar()->currentMessage(), "Global Setup Options Dialog Box");
  const std::string l = log();
  std::size_t at = 0;
  for (const char* line : {"\nCM_FILEOPEN Button Constructor complete.", "\nTSeparatorGadget Constructor complete.",
                           "\nLarge TSeparatorGadget Constructor complete.", "\ndate -- ", "\nday  -- ",
                           "\nday_date  -- ", "\nDate Gadget Inserted.", "\nCM_ABOUT Button Constructor complete.",
                           "\nInitMainWindow() completed.", "\nQVMAIN SetupWindow Entered."}) {
    std::size_t p = l.find(line, at);
    EXPECT_NE(p, std::string::npos) << line;
    if (p != std::string::npos) at = p;
  }
  EXPECT_FALSE(f->windowIcon().isNull());
}

TEST_F(Shell, CommandsGoToTheActiveWindowFirst) {
  auto f = make();
  // The frame registers its own chart window; a window that records its commands stands in.
  setViewFactory(DocKind::Chart, [](const std::string&) { return new FakeView("chart", {250, 28999}); });
  f->runCommand(28999);
  EXPECT_TRUE(runFlags().Stop);  // no window: the application's Abort Operation
  runFlags().Stop = false;
  dir.write("quotes.day/ABC.day", "");
  ASSERT_TRUE(f->openDocument(dir.file("quotes.day/ABC.day")));
  QApplication::processEvents();
  auto* view = dynamic_cast<FakeView*>(f->client()->activeSubWindow()->widget());
  ASSERT_NE(view, nullptr);
  EXPECT_TRUE(f->action(250)->isEnabled());
  f->runCommand(28999);
  f->runCommand(250);
  f->runCommand(11863);  // not the window's: the application's Diagnostic Displays ON
  EXPECT_EQ(view->ran, (std::vector<int>{28999, 250}));
  EXPECT_FALSE(runFlags().Stop);
  EXPECT_FALSE(f->action(18875)->isEnabled());
  f->client()->closeAllSubWindows();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  f->updateCommandEnabling();
  EXPECT_FALSE(f->action(250)->isEnabled());
}

TEST_F(Shell, TemplatesPickTheWindowByNameInListOrder) {
  EXPECT_TRUE(filterMatches("*.qtl", "/r/Watch.QTL"));
  EXPECT_FALSE(filterMatches("*.qtl", "/r/watch.qtl.bak"));
  EXPECT_FALSE(filterMatches("*.qtl", "/r/.qtl"));
  EXPECT_FALSE(filterMatches("  *.qtl", "/r/watch.qtl"));
  EXPECT_EQ(MatchTemplate("a.qtl"), nullptr);  // no quote list window yet
  setViewFactory(DocKind::Download, [](const std::string&) { return new FakeView("download", {}); });
  ASSERT_NE(MatchTemplate("a.qtl"), nullptr);
  EXPECT_EQ(MatchTemplate("a.qtl")->kind, DocKind::Download);
  setViewFactory(DocKind::QuoteList, [](const std::string&) { return new FakeView("list", {}); });
  EXPECT_EQ(MatchTemplate("a.qtl")->kind, DocKind::QuoteList);  // the first matching template
  setViewFactory(DocKind::Download, {});
  EXPECT_EQ(MatchTemplate("X.QCF")->kind, DocKind::QuoteListConfig);
  EXPECT_EQ(MatchTemplate("notes.TXT")->kind, DocKind::Text);
  EXPECT_EQ(MatchTemplate("x.day"), nullptr);
  EXPECT_EQ(openFileFilters().split(";;").first(), "Quote List files (*.qtl)");
}

TEST_F(Shell, DroppedFilesOpenInOrderEachInItsWindow) {
  auto f = make();  // the frame registers its own windows; the test's stand in after
  setViewFactory(DocKind::QuoteList, [](const std::string&) { return new FakeView("list", {}); });
  setViewFactory(DocKind::Chart, [](const std::string&) { return new FakeView("chart", {}); });
  dir.write("watch.qtl", "");
  dir.write("quotes.day/ABC.day", "");
  dir.write("notes.txt", "hello");
  dir.write("other.xyz", "");
  drop(*f, {QString::fromStdString(dir.file("watch.qtl")), QString::fromStdString(dir.file("quotes.day/ABC.day")),
            QString::fromStdString(dir.file("other.xyz")), QString::fromStdString(dir.file("notes.txt"))});
  const auto subs = f->client()->subWindowList(QMdiArea::CreationOrder);
  ASSERT_EQ(subs.size(), 3);
  EXPECT_EQ(static_cast<QLabel*>(subs[0]->widget())->text(), "list");
  EXPECT_EQ(static_cast<QLabel*>(subs[1]->widget())->text(), "chart");
  EXPECT_NE(qobject_cast<TextEditorView*>(subs[2]->widget()), nullptr);
  EXPECT_EQ(f->documentStack(),
            (std::vector<std::string>{"watch.qtl", dir.file("watch.qtl"), "quotes.day/ABC.day",
                                      dir.file("quotes.day/ABC.day"), "notes.txt", dir.file("notes.txt")}));
  EXPECT_NE(log().find("\nCreating View for -- " + dir.file("watch.qtl")), std::string::npos);
}

TEST_F(Shell, AViewKeepsThePlaceAndStateItAskedFor) {
  auto f = make();  // the frame registers its own windows; the test's stand in after
  setViewFactory(DocKind::QuoteList, [](const std::string&) {
    auto* v = new FakeView("list", {});
    v->setGeometry(30, 40, 320, 210);
    return v;
  });
  setViewFactory(DocKind::Chart, [](const std::string&) {
    auto* v = new FakeView("chart", {});
    v->setWindowState(Qt::WindowMaximized);
    return v;
  });
  dir.write("watch.qtl", "");
  dir.write("quotes.day/ABC.day", "");
  ASSERT_TRUE(f->openDocument(dir.file("watch.qtl")));
  EXPECT_EQ(f->client()->subWindowList().back()->geometry(), QRect(30, 40, 320, 210));
  ASSERT_TRUE(f->openDocument(dir.file("quotes.day/ABC.day")));
  EXPECT_TRUE(f->client()->subWindowList().back()->isMaximized());
}

TEST_F(Shell, AChartTakesTheTitleItWasGivenOnce) {
  auto f = make();  // the frame registers its own windows; the test's stand in after
  setViewFactory(DocKind::Chart, [](const std::string&) { return new FakeView("chart", {}); });
  dir.write("quotes.day/ABC.day", "");
  // PlotQuote: the quote list names the file and the title, then sends the message.
  runFlags().QuoteFile = dir.file("quotes.day/ABC.day");
  app().DocumentTitle = "Abc Industries";
  f->handleAppMessage(appmsg::PlotQuote);
  ASSERT_TRUE(f->openDocument(dir.file("quotes.day/ABC.day")));  // the title is used once
  EXPECT_EQ(titles(*f), (std::vector<std::string>{"Abc Industries", dir.file("quotes.day/ABC.day")}));
  EXPECT_EQ(f->documentStack()[1], "Abc Industries");
}

TEST_F(Shell, FileNamedAtStartKeepsItsDateAndFullPathTitle) {
  const std::string path = dir.file("daily.dcf");
  struct tm t = {};
  t.tm_year = 125, t.tm_mon = 2, t.tm_mday = 7, t.tm_hour = 12, t.tm_isdst = -1;
  utimbuf times{mktime(&t), mktime(&t)};
  ASSERT_EQ(utime(path.c_str(), &times), 0);
  app().argFileName = path;
  auto f = make();
  f->ServiceDroppedFile();
  EXPECT_EQ(app().DailyFileDate.month, 3);
  EXPECT_EQ(app().DailyFileDate.day, 7);
  EXPECT_EQ(app().DailyFileDate.year, 25);
  EXPECT_FALSE(app().docTitleFlag);
  EXPECT_EQ(titles(*f), (std::vector<std::string>{path}));
  EXPECT_EQ(f->documentStack(), (std::vector<std::string>{"daily.dcf", path}));
  // A file no window opens: its date is still kept, and nothing opens.
  dir.write("prices.xyz", "");
  app().argFileName = dir.file("prices.xyz");
  f->ServiceDroppedFile();
  EXPECT_EQ(f->client()->subWindowList().size(), 1);
  EXPECT_FALSE(app().docTitleFlag);
}

TEST_F(Shell, AddViewSharesTheTextUntilItsLastWindowCloses) {
  auto f = make();
  EXPECT_FALSE(f->action(24341)->isEnabled());
  ASSERT_TRUE(f->openDocument(dir.file("daily.dcf")));
  QApplication::processEvents();
  EXPECT_TRUE(f->action(24341)->isEnabled());
  f->runCommand(24341);
  QApplication::processEvents();
  auto subs = f->client()->subWindowList(QMdiArea::CreationOrder);
  ASSERT_EQ(subs.size(), 2);
  auto* first = qobject_cast<TextEditorView*>(subs[0]->widget());
  auto* second = qobject_cast<TextEditorView*>(subs[1]->widget());
  ASSERT_TRUE(first && second);
  EXPECT_EQ(f->documentStack().size(), 4u);
  first->appendPlainText("watch.qtl");
  EXPECT_TRUE(second->toPlainText().endsWith("watch.qtl"));
  // The first window closes without a question; the text lives on in the second.
  subs[0]->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(h.host.boxes.empty());
  ASSERT_EQ(f->client()->subWindowList().size(), 1);
  EXPECT_TRUE(second->toPlainText().endsWith("watch.qtl"));
  second->appendPlainText("funds.qtl");
  EXPECT_FALSE(subs[1]->grab().isNull());
  // Closing the last window of the changed text asks; Cancel keeps it open, Yes saves.
  h.host.answers = {IDCANCEL};
  subs[1]->close();
  EXPECT_EQ(f->client()->subWindowList().size(), 1);
  ASSERT_EQ(h.host.boxes.size(), 1u);
  EXPECT_EQ(h.host.boxes[0].caption, "QUOVA Text Edit");
  h.host.answers = {IDYES};
  subs[1]->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(f->client()->subWindowList().empty());
  EXPECT_NE(dir.read("daily.dcf").find("watch.qtl\nfunds.qtl"), std::string::npos);
  EXPECT_TRUE(f->documentStack().empty());
}

TEST_F(Shell, ApplicationMessagesReachTheFrame) {
  auto f = make();
  HeadlessHost headless;
  headless.setAppMessageTarget(f.get());
  setHost(&headless);
  AppMessBar("Quotelist watch.qtl updated");
  EXPECT_EQ(f->statusBar()->currentMessage(), "Quotelist watch.qtl updated");
  // A click on the frame's own area shows io again.
  f->statusBar()->showMessage("hint");
  QMouseEvent click(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::RightButton, Qt::RightButton,
                    Qt::NoModifier);
  QCoreApplication::sendEvent(f->client()->viewport(), &click);
  EXPECT_EQ(f->statusBar()->currentMessage(), "Quotelist watch.qtl updated");
  // A posted message runs once the pending messages run: the next daily line, here with the
  // program closing, ends the run.
  runFlags().Quit = true;
  runFlags().DLReentrant = true;
  headless.postAppMessage(appmsg::DownLoadExec);
  EXPECT_TRUE(runFlags().DLReentrant);
  QApplication::processEvents();
  EXPECT_FALSE(runFlags().DLReentrant);
  EXPECT_EQ(runFlags().io, "Daily Quotefile Downloads Aborted");
  runFlags().Quit = false;
  // The retry of a single list and the repair tool.
  dailyRun().setCurrentList("watch.qtl");
  downloadState().PageErrCount = 2;
  headless.sendAppMessage(appmsg::DownLoadRecover);
  EXPECT_NE(log().find("\nAttempting Download Recovery for Quotelist: watch.qtl, cycle 2\n"), std::string::npos);
  downloadState().PageErrCount = 0;
  setHost(&h.host);
  runFlags().FileToFixPath = "..\\Quotes.day\\ABC.day";
  dir.write("Utilities/Mendora", "");
  f->handleAppMessage(appmsg::MendoraExec);
  ASSERT_EQ(h.host.processes.size(), 1u);
  EXPECT_EQ(h.host.processes[0].args, (std::vector<std::string>{"..\\Quotes.day\\ABC.day"}));
  EXPECT_EQ(h.host.processes[0].workDir, dir.path() + "/Utilities");
}

TEST_F(Shell, DelayCountdownCountsDownAndCancelStartsTheDownloadAtOnce) {
  HeadlessHost headless;  // its pump runs the window messages during the wait
  setHost(&headless);
  app().argFlag = 1;
  app().waittime = 30;
  QStringList shown;
  auto look = [&] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w->windowTitle() != "QUOVA Download Delayed Mode" || !w->isVisible()) continue;
      if (auto* count = w->findChild<QLabel*>("control104")) shown << count->text();
      return w;
    }
    return static_cast<QWidget*>(nullptr);
  };
  QTimer::singleShot(200, [&] { look(); });
  QTimer::singleShot(1300, [&] {
    if (QWidget* dlg = look())
      for (QPushButton* b : dlg->findChildren<QPushButton*>())
        if (b->text() == "Cancel Delay") b->click();
  });
  QElapsedTimer clock;
  clock.start();
  auto f = make();
  for (int i = 0; i < 50 && log().find("Download Delay of") == std::string::npos; ++i) QApplication::processEvents();
  while (clock.elapsed() < 1600) QApplication::processEvents();
  EXPECT_LT(clock.elapsed(), 10000);  // far less than 30 seconds
  ASSERT_EQ(shown.size(), 2);
  EXPECT_EQ(shown[0], "30");
  EXPECT_TRUE(shown[1] == "29" || shown[1] == "28") << shown[1].toStdString();  // once a second
  const std::string l = log();
  const std::size_t delay = l.find("\nDownload Delay of 30 sec initiated.");
  ASSERT_NE(delay, std::string::npos);
  EXPECT_GT(app().waittime, 25);  // cancelled, not counted out
  setHost(&h.host);
}

TEST_F(Shell, F1OnAnOpenMenuChoosesTheHighlightedItem) {
  auto f = make();
  QMenu* tools = f->menuBar()->actions()[2]->menu();
  tools->popup(QPoint(0, 0));
  QApplication::processEvents();
  tools->setActiveAction(f->action(11855));  // Diagnostic Hold ON
  QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
  QCoreApplication::sendEvent(tools, &f1);
  QApplication::processEvents();
  EXPECT_TRUE(runFlags().DiagnosticHold);
  EXPECT_FALSE(tools->isVisible());
}

TEST_F(Shell, LinkCommandsTakeTheirAddressFromTheInformationFile) {
  auto f = make();
  f->runCommand(11857);  // the shipped file leaves the addresses to the user
  ASSERT_EQ(h.host.boxes.size(), 1u);
  EXPECT_EQ(h.host.boxes[0].text, "Sorry...Valid Browser Link string not found.");
  EXPECT_TRUE(h.host.processes.empty());
  settings().TPathBuffer.BrowserPath = "xdg-open";
  dir.write("quova.info", "HomePage=\nOnlineManual=file:///opt/quova/manual.html#\"start here\"\nTechSupport=\n");
  f->runCommand(11871);
  ASSERT_EQ(h.host.boxes.size(), 2u);
  EXPECT_EQ(h.host.boxes[1].caption, "Browser Page Link");
  ASSERT_EQ(h.host.processes.size(), 1u);
  EXPECT_EQ(h.host.processes[0].program, "xdg-open");
  EXPECT_EQ(h.host.processes[0].args, (std::vector<std::string>{"file:///opt/quova/manual.html#\"start here\""}));
}

TEST_F(Shell, AboutDialogMessageAndHelp) {
  auto f = make();
  f->runCommand(205);
  auto* about = f->findChild<AboutDialog*>();
  ASSERT_NE(about, nullptr);
  EXPECT_EQ(about->windowTitle(), "About QUOVA");
  EXPECT_TRUE(about->isVisible());
  EXPECT_FALSE(about->isModal());
  auto* version = about->findChild<QLabel*>("control8981");
  ASSERT_NE(version, nullptr);
  EXPECT_EQ(version->text(), "version " QUOVA_FILE_VERSION " Release");
  QStringList texts;
  for (QLabel* l : about->findChildren<QLabel*>()) texts << l->text();
  EXPECT_TRUE(texts.contains("The Tradivo") && texts.contains("for Windows"));
  f->runCommand(205);
  EXPECT_EQ(f->findChildren<AboutDialog*>().size(), 1);  // one at a time

  f->runCommand(514);
  ASSERT_EQ(h.host.boxes.size(), 1u);
  EXPECT_EQ(h.host.boxes[0].caption, "About QUOVA");
  EXPECT_EQ(h.host.boxes[0].text.rfind("The Tradivo\n    for Windows\nversion " QUOVA_FILE_VERSION " Release\n", 0), 0u);

  f->runCommand(513);
  auto* help = f->findChild<HelpWindow*>();
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->browser()->toPlainText().contains("Using help"));
  EXPECT_GT(help->browser()->verticalScrollBar()->value(), 0);
  f->runCommand(512);
  EXPECT_EQ(help->browser()->verticalScrollBar()->value(), 0);
  help->close();
  std::filesystem::remove(dir.file("Help/HELP.HLP"));
  f->runCommand(512);
  ASSERT_EQ(h.host.boxes.size(), 2u);
  EXPECT_EQ(h.host.boxes[1].caption, "QUOVA Help");
  EXPECT_NE(log().find("Cannot find the help file -- Help\\HELP.HLP"), std::string::npos);
}

}  // namespace
}  // namespace quova
