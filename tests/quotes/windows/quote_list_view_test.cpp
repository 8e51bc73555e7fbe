// The quote list window as the main window opens it: its rows and their colours, editing
// and saving, the close prompt, its settings file, and its reloads after a download.
#include "quotes/windows/quote_list_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <filesystem>
#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QTimer>
#include <QElapsedTimer>
#include <QImage>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QFileDialog>
#include <QPushButton>
#include <functional>
#include <memory>

#include "app/root_init.h"
#include "app/windows/main_frame.h"
#include "base/command_ids.h"
#include "base/log.h"
#include "base/run_flags.h"
#include "download/daily_run.h"
#include "download/qcf.h"
#include "download/download_state.h"
#include "download/events/download_session.h"
#include "quotes/list_window.h"
#include "settings/settings.h"
#include "support/download_fixture.h"
#include "support/page_server.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"
#include "util/clock.h"
#include "util/paths.h"

namespace quova {
namespace {

constexpr const char* kList =
    "SYMBOL   FILE   NAME\n"
    "KLMX   *   Kelmar Industries Inc   ALARMSON   HA=55.000   LA=32.500   12/04/2026     57.330     40.540     56.320"
    "      0.170       1278500   16:00\n"
    "\n"
    "BRVN   *   Brevanta Systems Corp   12/04/2026    105.900    101.550    103.540      0.580       3378800   16:00\n";

struct QuoteListWindow : ::testing::Test {
  test::TempDir dir{true};
  test::ScopedHost h;
  std::unique_ptr<QVMAIN> frame;
  void SetUp() override {
    initRoot(dir.path());
    runFlags() = RunFlags{};
    runFlags().QuovaPath = dir.path() + "/";
    runFlags().QUOVAPATH = dir.path() + "/";
    runFlags().WinsIniFilePath = "quova.win";
    logState().QuovaLogFile = dir.file("quova.log");
    OpenLogFile();
    settings() = Settings{};
    downloadState().PageErrCount = 0;
    dir.write("w.qtl", kList);
  }
  void TearDown() override {
    frame.reset();
    dailyRun().setHooks({});
    runFlags() = RunFlags{};
    logState().QuovaLogFile = "quova.log";
  }
  QuoteListView* open(const std::string& name = "w.qtl") {
    if (!frame) {
      frame.reset(InitMainWindow());
      frame->resize(1000, 600);
      frame->show();
      QApplication::processEvents();
    }
    if (!frame->openDocument(dir.file(name))) return nullptr;
    QApplication::processEvents();
    auto* sub = frame->client()->activeSubWindow();
    return sub ? qobject_cast<QuoteListView*>(sub->widget()) : nullptr;
  }
  // Closed windows go at the next deferred delete.
  static void flushDeletes() {
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  static QMdiSubWindow* sub(QuoteListView* v) { return qobject_cast<QMdiSubWindow*>(v->parentWidget()); }
};

TEST(ListWindowRows, CellsAsTheColumnsCutThem) {
  // A request with its alarm fields shows ON and the limits; one without shows OFF, none, none.
  auto on = rowCells("KLMX   *   Kelmar Inc   ALARMSON   HA=55.000   LA=32.500   12/04/2026   57.3   40.5   56.3   0.17"
                     "   1278500   16:00   note",
                     false);
  ASSERT_EQ(on.size(), 14u);
  EXPECT_EQ(on[0], "KLMX");
  EXPECT_EQ(on[2], "Kelmar Inc");
  EXPECT_EQ(on[3], "ON");
  EXPECT_EQ(on[4], "55.000");
  EXPECT_EQ(on[5], "32.500");
  EXPECT_EQ(on[6], "12/04/2026");
  EXPECT_EQ(on[9], "56.3");
  EXPECT_EQ(on[12], "16:00");
  EXPECT_EQ(on[13], "note");
  auto plain = rowCells("BRVN\t*\tBrevanta Corp   12/04/2026   105.9", false);
  EXPECT_EQ(plain[1], "*");
  EXPECT_EQ(plain[3], "OFF");
  EXPECT_EQ(plain[4], "none");
  EXPECT_EQ(plain[5], "none");
  EXPECT_EQ(plain[6], "12/04/2026");
  EXPECT_EQ(plain[7], "105.9");
  auto lowerOnly = rowCells("X  *  Name   ALARMSOFF  LA=5.000  01/02/2026", false);
  EXPECT_EQ(lowerOnly[3], "OFF");
  EXPECT_EQ(lowerOnly[4], "none");
  EXPECT_EQ(lowerOnly[5], "5.000");
  EXPECT_EQ(lowerOnly[6], "01/02/2026");
  // The label row is cut without the replacements.
  auto label = rowCells(kListLabelText, true);
  EXPECT_EQ(label[2], "SECURITY NAME");
  EXPECT_EQ(label[3], "ALARM");
  EXPECT_EQ(label[13], "COMMENTS");
  // Hidden columns take no room.
  EXPECT_EQ(rowWidth(true) - rowWidth(false), 100 + 55 + 70 + 70);
}

TEST_F(QuoteListWindow, OpensThroughTheFrameWithItsRowsAndTheAlarmRowMarked) {
  QuoteListView* v = open();
  ASSERT_NE(v, nullptr);
  EXPECT_EQ(sub(v)->windowTitle().toStdString(), dir.file("w.qtl"));
  // The empty line is dropped and the end row added.
  ASSERT_EQ(v->count(), 4);
  EXPECT_EQ(v->rows().size(), 3u);
  EXPECT_TRUE(v->inAlarm(1));   // close 56.320 over the upper limit 55
  EXPECT_FALSE(v->inAlarm(2));  // no alarm fields
  EXPECT_EQ(v->labelRow(), 0);
  EXPECT_NE(dir.read("quova.log").find("QTLConfigFile -- "), std::string::npos);
  // Drawn: the label row in the highlight colours, the alarm row in the caption colours,
  // the others in the button face.
  v->clearSelection();
  v->setCurrentRow(-1);
  const QImage img = v->viewport()->grab().toImage();
  auto at = [&](int row) {
    const QRect r = v->visualItemRect(v->item(row));
    return img.pixelColor(r.left() + 5, r.center().y());
  };
  EXPECT_EQ(at(0), v->palette().color(QPalette::Highlight));
  EXPECT_EQ(at(1), QColor(176, 24, 24));
  EXPECT_NE(at(1), v->palette().color(QPalette::Highlight));
  EXPECT_EQ(at(2), v->palette().color(QPalette::Button));
  // The end row shows no cells: nothing but its background (no "OFF none none").
  const QRect end = v->visualItemRect(v->item(3));
  int other = 0;
  for (int x = end.left(); x < end.left() + 600; ++x)
    for (int y = end.top(); y <= end.bottom(); ++y) other += img.pixelColor(x, y) != v->palette().color(QPalette::Button);
  EXPECT_EQ(other, 0);
  // Space charts the selected request and moves on, wrapping from the last to the first;
  // a request whose quote file is missing opens nothing.
  dir.write("quotes.day/BRVN.day", "SYMBOL: BRVN\n");
  v->setCurrentRow(2);
  QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ");
  QApplication::sendEvent(v, &space);
  EXPECT_EQ(v->currentRow(), 1);
  EXPECT_EQ(h.host.appMessages, std::vector<int>{appmsg::PlotQuote});
  EXPECT_EQ(nativePath(runFlags().QuoteFile), dir.file("quotes.day/BRVN.day"));
  EXPECT_FALSE(v->SelectStock());
  EXPECT_EQ(h.host.boxes.back().caption, "Quote File Access Error");
  EXPECT_EQ(h.host.appMessages.size(), 1u);
}

TEST_F(QuoteListWindow, EditsAreSavedRowForRowAndTheCloseAsksFirst) {
  QuoteListView* v = open();
  ASSERT_NE(v, nullptr);
  const QString title = sub(v)->windowTitle();
  // Neither the header row nor the end row is a request, and the end row cannot go.
  v->setCurrentRow(v->count() - 1);
  v->CmEditDelete();
  EXPECT_FALSE(v->isDirty());
  v->setCurrentRow(1);
  v->CmEditDelete();
  EXPECT_TRUE(v->isDirty());
  EXPECT_EQ(sub(v)->windowTitle(), title + " *");
  // Cancel keeps the window and the file; Yes saves and closes.
  h.host.answers = {IDCANCEL};
  EXPECT_FALSE(sub(v)->close());
  ASSERT_EQ(h.host.boxes.size(), 1u);
  EXPECT_EQ(h.host.boxes[0].caption, "QUOVA QuoteList window Message");
  EXPECT_EQ(dir.read("w.qtl"), kList);
  // Save writes the header and the requests, one per line, and clears the mark.
  frame->runCommand(cm::FILESAVE);
  EXPECT_FALSE(v->isDirty());
  EXPECT_EQ(sub(v)->windowTitle(), title);
  const std::string saved =
      "SYMBOL   FILE   NAME\n"
      "BRVN   *   Brevanta Systems Corp   12/04/2026    105.900    101.550    103.540      0.580       3378800   16:00\n";
  EXPECT_EQ(dir.read("w.qtl"), saved);
  v->setCurrentRow(0);
  v->runCommand(cm::EDITCLEAR);
  h.host.answers = {IDYES};
  QPointer<QMdiSubWindow> s = sub(v);
  EXPECT_TRUE(s->close());
  flushDeletes();
  EXPECT_TRUE(s.isNull());
  EXPECT_EQ(dir.read("w.qtl"), "");
  EXPECT_TRUE(QuoteListView::openLists().empty());
}

TEST_F(QuoteListWindow, AChangedListIsAskedAboutWhenTheProgramCloses) {
  QuoteListView* v = open();
  ASSERT_NE(v, nullptr);
  v->setCurrentRow(1);
  v->CmEditDelete();
  h.host.answers = {IDCANCEL};
  EXPECT_FALSE(frame->close());
  EXPECT_TRUE(frame->isVisible());
  EXPECT_FALSE(runFlags().Quit);
  h.host.answers = {IDNO};
  EXPECT_TRUE(frame->close());
  frame.reset();
  EXPECT_EQ(dir.read("w.qtl"), kList);  // No leaves the file as it was
}

TEST_F(QuoteListWindow, SettingsFileOfThirtyThreeBytesOnlyAndNeverOverAnotherWindowsFile) {
  ListWindowConfig c;
  c.showAll = 1, c.left = 30, c.top = 40, c.width = 500, c.height = 250;
  c.labels[0] = 7;
  const std::string image = listWindowImage(c);
  ASSERT_EQ(image.size(), kListWindowConfigSize);
  EXPECT_EQ(image.substr(0, 5), std::string("\x01\x1e\x00\x00\x00", 5));
  dir.write("config/w.cfg", image);
  QuoteListView* v = open();
  ASSERT_NE(v, nullptr);
  EXPECT_TRUE(v->showAll());
  EXPECT_EQ(sub(v)->geometry(), QRect(30, 40, 500, 250));
  EXPECT_EQ(v->config().labels[0], 0);  // the label bytes are not read back
  sub(v)->setGeometry(60, 70, 520, 260);
  v->CmShowAll();
  sub(v)->close();
  flushDeletes();
  ListWindowConfig back;
  ASSERT_EQ(readListWindowConfig(dir.file("config/w.cfg"), back), ListConfigRead::Loaded);
  EXPECT_EQ(back.showAll, 0);
  EXPECT_EQ(QRect(back.left, back.top, back.width, back.height), QRect(60, 70, 520, 260));

  // A chart's settings file of the same name: defaults, and the file is left alone.
  const std::string chart(1743, '\x5a');
  dir.write("config/w.cfg", chart);
  v = open();
  ASSERT_NE(v, nullptr);
  EXPECT_FALSE(v->showAll());
  EXPECT_EQ(sub(v)->geometry().size(), QSize(620, 320));
  sub(v)->close();
  flushDeletes();
  EXPECT_EQ(dir.read("config/w.cfg"), chart);

  // A saved rectangle off the client area or without a size is brought back onto it.
  ListWindowConfig off;
  off.left = 5000, off.top = -300, off.width = -1, off.height = 90000;
  ListWindowConfig placed = clampedListPlacement(off, 900, 500);
  EXPECT_EQ(QRect(placed.left, placed.top, placed.width, placed.height), QRect(280, 0, 620, 320));
}

TEST_F(QuoteListWindow, ADownloadReloadsOpenWindowsButNotOneWithUnsavedRows) {
  QuoteListView* a = open();
  ASSERT_NE(a, nullptr);
  QuoteListView* b = open();
  ASSERT_NE(b, nullptr);
  ASSERT_NE(a, b);
  dir.write("w.qtl", std::string(kList) + "NEW   *   New Co\n");
  b->setCurrentRow(2);
  b->CmEditDelete();
  RefreshOpenQL("W.QTL");  // by name, letter case ignored, as a session passes it
  EXPECT_EQ(a->rows().size(), 4u);
  EXPECT_EQ(b->rows().size(), 2u);  // its edit survives
  EXPECT_TRUE(b->isDirty());
}

// Fills the next modal dialog's fields (by object name) and presses OK or Cancel.
void answerDialog(std::vector<std::pair<QString, QString>> fields, bool checked, bool ok) {
  QTimer::singleShot(0, [=] {
    auto* dlg = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dlg, nullptr);
    for (const auto& [name, text] : fields) {
      if (auto* e = dlg->findChild<QLineEdit*>(name)) e->setText(text);
    }
    if (auto* box = dlg->findChild<QCheckBox*>("control101")) box->setChecked(checked);
    ok ? dlg->accept() : dlg->reject();
  });
}

// Runs work on the next modal dialog once it is open.
void onNextDialog(std::function<void(QDialog*)> work) {
  QTimer::singleShot(0, [work] {
    auto* dlg = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dlg, nullptr);
    work(dlg);
  });
}

TEST_F(QuoteListWindow, AlarmsAndNewRequestsGoIntoTheRowsThroughTheirDialogs) {
  dir.write("w.qtl", "SYMBOL   FILE   NAME\nONLY   *   Only Header Co   12/04/2026   10.000   9.000   50.000   1.0   100   16:00\n");
  QuoteListView* v = open();
  ASSERT_NE(v, nullptr);
  // The header row cannot take an alarm.
  v->setCurrentRow(0);
  v->runCommand(cm::ALARMS);
  ASSERT_EQ(h.host.boxes.size(), 1u);
  EXPECT_EQ(h.host.boxes[0].caption, "QuoteListView::CmAlarms() Warning Message");
  // Upper limit 50 against a close of 50.000: in alarm, and the display columns are kept.
  v->setCurrentRow(1);
  answerDialog({{"control103", "50"}, {"control105", "low"}}, true, true);
  v->runCommand(cm::ALARMS);
  EXPECT_EQ(v->rows()[1],
            "ONLY  *  Only Header Co   ALARMSON  HA=50.000  12/04/2026  10.000  9.000  50.000  1.0  100  16:00  ");
  EXPECT_TRUE(v->inAlarm(1));
  EXPECT_EQ(v->currentRow(), 1);
  EXPECT_TRUE(v->isDirty());
  // Cancel changes nothing.
  answerDialog({{"control103", "1"}}, false, false);
  v->runCommand(cm::ALARMS);
  EXPECT_TRUE(v->inAlarm(1));
  // A new request with no selection goes right after the header.
  v->setCurrentRow(-1);
  answerDialog({{"control104", "NEW"}, {"control103", "*"}, {"control105", "New Co"}}, false, true);
  v->runCommand(cm::EDITADD);
  ASSERT_EQ(v->rows().size(), 3u);
  EXPECT_EQ(v->rows()[1], "NEW   *   New Co");
  EXPECT_EQ(v->currentRow(), 2);
}

TEST_F(QuoteListWindow, ExportsOfTheSelectedQuoteFileAndOfTheListWithTheSpreadsheet) {
  dir.write("w.qtl", "SYMBOL   FILE   NAME\nxxxxxxxxxxxxA   *   left out\nKLMX   *   Kelmar   12/04/2026   57.330\n");
  dir.write("quotes.day/KLMX.day",
            "SYMBOL: KLMX\nCOMPANY NAME: Kelmar\nDATE  HIGH  LOW  CLOSE\n12/01/2026   57.5   91 1/8   56\n"
            "12/02/2026   58   55   57\n");
  settings().TPathBuffer.SpreadsheetPath = "/opt/sheet/bin/sheet";
  QuoteListView* v = open();
  ASSERT_NE(v, nullptr);
  // The header row is no request: the quote file commands are off and do nothing.
  v->setCurrentRow(0);
  EXPECT_FALSE(v->handlesCommand(cm::FILEEXPORT));
  frame->runCommand(cm::FILEEXPORT);
  EXPECT_TRUE(h.host.boxes.empty());
  v->setCurrentRow(2);
  frame->runCommand(cm::FILEEXPORT);
  const std::string hqf = "SYMBOL: KLMX\nCOMPANY NAME: Kelmar\nDATE  HIGH  LOW  CLOSE\n12/01/2026,57.5,91 1/8,56\n12/02/2026,58,55,57";
  EXPECT_EQ(dir.read("exports/klmx.csv"), hqf);
  EXPECT_EQ(h.host.statusTexts.back(), "Historical Quotefile -- exports\\klmx.csv successfully exported.");
  EXPECT_TRUE(h.host.processes.empty());
  // Again to the spreadsheet: No to the overwrite question starts nothing; Yes starts the
  // spreadsheet on the export, one argument, in the exports folder.
  dir.write("exports/klmx.csv", "old");
  h.host.answers = {IDNO};
  frame->runCommand(cm::SPREADSHEET);
  EXPECT_EQ(h.host.boxes.back().caption, "ExportHQF Warning Message");
  EXPECT_EQ(dir.read("exports/klmx.csv"), "old");
  h.host.answers = {IDYES};
  frame->runCommand(cm::HQFTOSPREADSHEET);
  EXPECT_EQ(dir.read("exports/klmx.csv"), hqf);
  ASSERT_EQ(h.host.processes.size(), 1u);
  EXPECT_EQ(h.host.processes[0].program, "/opt/sheet/bin/sheet");
  EXPECT_EQ(h.host.processes[0].args, std::vector<std::string>{dir.file("exports/klmx.csv")});
  EXPECT_EQ(h.host.processes[0].workDir, dir.file("exports"));
  // The list: every line converted, the twelve-x line left out; a failed start says so.
  h.host.nextProcess = -1;
  frame->runCommand(cm::QLTOSPREADSHEET);
  EXPECT_EQ(dir.read("exports/w.csv"), "SYMBOL,FILE,NAME\nKLMX,*,Kelmar,12/04/2026,57.330");
  EXPECT_EQ(h.host.boxes.back().caption, "QUOVA Quotefile CreateProcess ERROR in Quotelist/CmSpreadsheet");
  EXPECT_EQ(h.host.boxes.back().text.rfind("For command -- /opt/sheet/bin/sheet \"" + dir.file("exports/w.csv") +
                                               "\"\n\nUnable to execute CreateProcess Command.",
                                           0),
            0u);
}

TEST_F(QuoteListWindow, CopyOfTheListAndItsConfigurationThroughItsDialog) {
  dir.write("QuoteList Configuration Files/w.qcf", "Page=http://x.example/\n");
  QuoteListView* v = open();
  ASSERT_NE(v, nullptr);
  struct Case {
    const char* to;
    bool list, config;
    const char* caption;  // of the last box
    std::string report;
  } cases[] = {
      {"w", true, true, "CmCopyQL Warning Message", "From/To base names must be different!"},
      {"..\\..\\OUT", true, true, "CmCopyQL Warning Message", "The To: base name may not name a folder -- ..\\..\\OUT"},
      {"NEW", false, false, "CmCopyQL Message", ""},
      {"NEW", true, true, "CmCopyQL Message",
       "Quotelist -- W was copied to -- NEW\n\nConfig File -- W was copied to -- NEW\n\n"
       "You may now open and edit these files to establish new download configurations.\n\n"
       "You may download to this new file pair individually, or add it to the daily download command file.\n\n"},
  };
  for (const Case& c : cases) {
    QString from;
    onNextDialog([&](QDialog* dlg) {
      from = dlg->findChild<QLineEdit*>("control101")->text();
      dlg->findChild<QLineEdit*>("control102")->setText(c.to);
      dlg->findChild<QCheckBox*>("control107")->setChecked(c.list);
      dlg->findChild<QCheckBox*>("control108")->setChecked(c.config);
      dlg->findChild<QPushButton*>("control106")->click();
    });
    frame->runCommand(cm::COPYQL);
    EXPECT_EQ(from, "W") << c.to;
    ASSERT_FALSE(h.host.boxes.empty()) << c.to;
    EXPECT_EQ(h.host.boxes.back().caption, c.caption) << c.to;
    EXPECT_EQ(h.host.boxes.back().text, c.report) << c.to;
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << c.to;  // the dialog closed
    EXPECT_FALSE(runFlags().HoldClose);
  }
  EXPECT_EQ(dir.read("NEW.QTL"), kList);
  EXPECT_EQ(dir.read("QuoteList Configuration Files/NEW.QCF"), "Page=http://x.example/\n");
  EXPECT_FALSE(std::filesystem::exists(dir.file("../OUT.QTL")));
}

TEST_F(QuoteListWindow, EditorAndBrowserGetNativePathsAndTheQcfLinks) {
  dir.write("QuoteList Configuration Files/w.qcf", "SymSearch=\nBrowserLink=http://quotes.example/watch\n");
  dir.write("quotes.day/KLMX.day", "SYMBOL: KLMX\n");
  settings().TPathBuffer.EditorPath = "/usr/bin/ed1";
  settings().TPathBuffer.BrowserPath = "/usr/bin/br1";
  QuoteListView* v = open();
  ASSERT_NE(v, nullptr);
  v->setCurrentRow(1);
  frame->runCommand(cm::EDITHQF);
  frame->runCommand(cm::EDITQL);
  frame->runCommand(cm::QTLCONFIGEDIT);
  std::vector<std::string> edited;
  for (const auto& p : h.host.processes) {
    EXPECT_EQ(p.program, "/usr/bin/ed1");
    ASSERT_EQ(p.args.size(), 1u);
    EXPECT_TRUE(std::filesystem::exists(p.args[0])) << p.args[0];
    edited.push_back(p.args[0]);
  }
  EXPECT_EQ(edited, (std::vector<std::string>{dir.file("quotes.day/KLMX.day"), dir.file("w.qtl"),
                                               dir.file("QuoteList Configuration Files/w.qcf")}));
  // A request whose file is missing opens nothing.
  v->setCurrentRow(2);
  frame->runCommand(cm::EDITHQF);
  EXPECT_EQ(h.host.boxes.back().caption, "Quote File Access Error");
  EXPECT_EQ(h.host.processes.size(), 3u);
  // An editor that cannot start is named in the command's own box.
  h.host.nextProcess = -1;
  frame->runCommand(cm::EDITQL);
  EXPECT_EQ(h.host.boxes.back().caption, "QUOVA Quotefile Edit ERROR in Quotelist/CmEditQL");
  h.host.nextProcess = 1;
  // The empty lookup link is refused; the browser link goes to the browser once confirmed.
  frame->runCommand(cm::SYMBOLLOOKUP);
  EXPECT_EQ(h.host.boxes.back().caption, "QuoteList Symbol Lookup ERROR");
  EXPECT_EQ(h.host.boxes.back().text, "Sorry...Valid Symbol Lookup string not found in Configuration File -- " +
                                          qcfPathForList(dir.file("w.qtl")));
  h.host.answers = {IDOK};
  frame->runCommand(cm::BROWSERLINK);
  ASSERT_EQ(h.host.processes.size(), 5u);  // the failed editor start is recorded too
  EXPECT_EQ(h.host.processes[4].program, "/usr/bin/br1");
  EXPECT_EQ(h.host.processes[4].args, std::vector<std::string>{"http://quotes.example/watch"});
}

TEST_F(QuoteListWindow, RecoverRestoresTheSelectedFileFromItsRecCopyAfterAsking) {
  dir.write("quotes.day/KLMX.day", "damaged\n");
  dir.write("quotes.day/KLMX.REC", "SYMBOL: KLMX\n12/01/2026   57.5   91 1/8   56\n");
  QuoteListView* v = open();
  ASSERT_NE(v, nullptr);
  v->setCurrentRow(0);  // the header row: repair and recover are off, repair all is not
  EXPECT_FALSE(v->handlesCommand(cm::MENDORARECOVER));
  EXPECT_FALSE(v->handlesCommand(cm::REPAIRHQF));
  EXPECT_TRUE(v->handlesCommand(cm::MENDORAQUOTELIST));
  v->setCurrentRow(1);
  h.host.answers = {IDCANCEL};
  frame->runCommand(cm::MENDORARECOVER);
  EXPECT_EQ(h.host.boxes.back().caption, "QuoteList Window Message");
  EXPECT_EQ(dir.read("quotes.day/KLMX.day"), "damaged\n");
  h.host.answers = {IDOK};
  frame->runCommand(cm::MENDORARECOVER);
  EXPECT_EQ(dir.read("quotes.day/KLMX.day"), dir.read("quotes.day/KLMX.REC"));
  v->setCurrentRow(2);  // no .REC copy: said, nothing written
  frame->runCommand(cm::MENDORARECOVER);
  EXPECT_EQ(h.host.boxes.back().caption, "Quote File Access Error");
  EXPECT_FALSE(std::filesystem::exists(dir.file("quotes.day/BRVN.day")));
}

TEST_F(QuoteListWindow, DownloadOptionsDialogWritesTheFourteenBytes) {
  dir.write("QuoteList Configuration Files/w.qcf",
            "Group2Caption=Exchanges\nBegin Group1Option 1 Daily closes\nEnd Group1Option\n"
            "Begin Group3Option 2 Weekly\nEnd Group3Option\n");
  dir.write("config/download/download.cfg", std::string("\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00", 14));
  QuoteListView* v = open();
  ASSERT_NE(v, nullptr);
  QStringList captions;
  bool firstChecked = false;
  onNextDialog([&](QDialog* dlg) {
    EXPECT_EQ(dlg->windowTitle(), "QUOVA Quotelist Download Options");
    for (int i = 1; i <= 14; ++i) captions << dlg->findChild<QCheckBox*>(QString("option%1").arg(i))->text();
    firstChecked = dlg->findChild<QCheckBox*>("option1")->isChecked();
    dlg->findChild<QCheckBox*>("option1")->setChecked(false);
    dlg->findChild<QCheckBox*>("option7")->setChecked(true);
    dlg->findChild<QCheckBox*>("option14")->setChecked(true);
    dlg->accept();
  });
  frame->runCommand(cm::DLOPTIONS);
  EXPECT_TRUE(firstChecked);
  ASSERT_EQ(captions.size(), 14);
  EXPECT_EQ(captions[0], "Daily closes");
  EXPECT_EQ(captions[1], "Undefined");
  EXPECT_EQ(captions[13], "Weekly");
  EXPECT_EQ(v->qcf().groupCaption[1], "Exchanges");
  EXPECT_EQ(dir.read("config/download/download.cfg"),
            std::string("\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x01", 14));
  // Cancel leaves the file.
  onNextDialog([](QDialog* dlg) {
    dlg->findChild<QCheckBox*>("option2")->setChecked(true);
    dlg->reject();
  });
  frame->runCommand(cm::DLOPTIONS);
  EXPECT_EQ(dir.read("config/download/download.cfg"),
            std::string("\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x01", 14));
}

struct QuoteListUpdate : QuoteListWindow {
  test::PageServer server;
  void SetUp() override {
    QuoteListWindow::SetUp();
    std::string qcf = test::downloadData("table.qcf");
    qcf.replace(qcf.find("http://quotes.example/"), 22, "http://127.0.0.1:" + std::to_string(server.port()) + "/");
    dir.write("QuoteList Configuration Files/w.qcf", qcf);
    dir.write("w.qtl", "SYMBOL  FILE  NAME\nIBM  *  Intl\nGE  *  General\n");
    server.setPage("/q?s=IBM", test::downloadData("table.htm"));
  }
};

TEST_F(QuoteListUpdate, UpdateSavesTheChangedListThenDownloadsItAndTheWindowShowsTheQuotes) {
  QuoteListView* v = open();
  ASSERT_NE(v, nullptr);
  v->setCurrentRow(2);
  v->CmEditDelete();  // GE goes, unsaved
  // Cancel starts nothing.
  h.host.answers = {IDCANCEL};
  frame->runCommand(cm::UPDATE);
  ASSERT_EQ(h.host.boxes.size(), 1u);
  EXPECT_EQ(h.host.boxes[0].text, "For QuoteList -- " + dir.file("w.qtl") +
                                      "\n\nQUOVA will download Stock Quotes from an QUOVA Internet Window.\n\n"
                                      "Please be sure you are connected to your ISP.");
  EXPECT_TRUE(v->isDirty());
  EXPECT_EQ(DownloadSession::current(), nullptr);
  h.host.answers = {IDOK};
  frame->runCommand(cm::UPDATE);
  EXPECT_FALSE(v->isDirty());
  EXPECT_TRUE(downloadState().SingleDownload);
  EXPECT_EQ(dir.read("w.qtl"), "SYMBOL  FILE  NAME\nIBM  *  Intl\n");
  QElapsedTimer t;
  t.start();
  auto shown = [&] { return v->rows().size() == 2 && v->rows()[1].find("93.500") != std::string::npos; };
  while (!shown() && t.elapsed() < 20000) QApplication::processEvents(QEventLoop::AllEvents, 20);
  ASSERT_TRUE(shown()) << v->rows()[1];
  ASSERT_EQ(server.requests().size(), 1u);
  EXPECT_EQ(server.requests()[0], "GET /q?s=IBM");  // the saved list, without GE
  while (runFlags().DLReentrant && t.elapsed() < 25000) QApplication::processEvents(QEventLoop::AllEvents, 20);
  EXPECT_FALSE(runFlags().DLReentrant);
  // The forced update backdates the list's files first, so today's quote is appended again.
  const std::string once = dir.read("quotes.day/IBM.day");
  h.host.answers = {IDOK};
  frame->runCommand(cm::UPDATEFORCED);
  EXPECT_EQ(h.host.boxes.back().text.rfind("For QuoteList -- " + dir.file("w.qtl") +
                                               "\n\nQUOVA will backdate all files in this Quotelist, and then\n\n",
                                           0),
            0u);
  while ((runFlags().DLReentrant || server.requests().size() < 2) && t.elapsed() < 40000)
    QApplication::processEvents(QEventLoop::AllEvents, 20);
  EXPECT_FALSE(runFlags().DLReentrant);
  const std::string twice = dir.read("quotes.day/IBM.day");
  EXPECT_GT(twice.size(), once.size());
  EXPECT_EQ(twice.substr(0, once.size()), once);
}

// Waits until the list's session has ended.
void waitForDownload(QElapsedTimer& t, int ms = 20000) {
  QApplication::processEvents();
  while (runFlags().DLReentrant && t.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 20);
}

TEST_F(QuoteListUpdate, PageImageDiagnosticFetchesThePageAndOpensItInTheEditor) {
  settings().TPathBuffer.EditorPath = "/usr/bin/ed1";
  server.setPage("/q?s=IBM+GE", test::downloadData("table.htm"));
  QuoteListView* v = open();
  ASSERT_NE(v, nullptr);
  const std::string list = dir.read("w.qtl");
  QString shown;
  onNextDialog([&](QDialog* dlg) {  // the page-link check: download as shown
    if (auto* e = dlg->findChild<QLineEdit*>()) shown = e->text();
    dlg->accept();
  });
  h.host.answers = {IDOK};
  frame->runCommand(cm::GETPAGE);
  EXPECT_EQ(h.host.boxes[0].text, "For QuoteList -- " + dir.file("w.qtl") +
                                      "\n\nQUOVA will download the first page of HTML, save, and start the default "
                                      "editor.\n\nYou may also redirect the Page download to your default Browser in "
                                      "the next Dialog.\n\n(You may use this to design your Quotelist Configuration "
                                      "File.)\n\nPlease be sure you are connected to your ISP.");
  QElapsedTimer t;
  t.start();
  waitForDownload(t);
  EXPECT_FALSE(runFlags().DLReentrant);
  EXPECT_NE(shown.toStdString().find("/q?s=IBM+GE"), std::string::npos) << shown.toStdString();
  EXPECT_EQ(server.requests(), std::vector<std::string>{"GET /q?s=IBM+GE"});
  EXPECT_EQ(dir.read("w.htm"), test::downloadData("table.htm"));
  ASSERT_EQ(h.host.processes.size(), 1u);
  EXPECT_EQ(h.host.processes[0].program, "/usr/bin/ed1");
  EXPECT_EQ(h.host.processes[0].args, std::vector<std::string>{dir.file("w.htm")});
  EXPECT_EQ(dir.read("w.qtl"), list);  // a diagnostic saves no quote and leaves the list
  EXPECT_FALSE(std::filesystem::exists(dir.file("quotes.day/IBM.day")));
  EXPECT_FALSE(downloadState().flags.anyDiagnostic());
}

TEST_F(QuoteListUpdate, ImportFromACommaFileThroughTheListsQcf) {
  FixedClock clock{LocalTime{2026, 12, 8, 17, 30, 0, 0, 2}};
  setClock(&clock);
  dir.write("QuoteList Configuration Files/w.qcf", test::downloadData("import.qcf"));
  dir.write("w.qtl", "SYMBOL   FILE   NAME\nIBM   *   Intl Business Machines\n");
  dir.write("in/prices.csv", test::downloadData("prices.csv"));
  QuoteListView* v = open();
  ASSERT_NE(v, nullptr);
  QString title;
  onNextDialog([&](QDialog* dlg) {
    auto* fd = qobject_cast<QFileDialog*>(dlg);
    ASSERT_NE(fd, nullptr);
    title = fd->windowTitle();
    EXPECT_EQ(fd->nameFilters(), QStringList{"All Files (*.*)"});
    fd->selectFile(QString::fromStdString(dir.file("in/prices.csv")));
    QMetaObject::invokeMethod(fd, "accept");
  });
  frame->runCommand(cm::FILEIMPORT);
  EXPECT_EQ(title, "Import File Selection Dialog");
  QElapsedTimer t;
  t.start();
  auto shown = [&] { return v->rowText(1).find("93.500") != std::string::npos; };
  while (!shown() && t.elapsed() < 20000) QApplication::processEvents(QEventLoop::AllEvents, 20);
  waitForDownload(t);
  setClock(nullptr);
  EXPECT_TRUE(server.requests().empty());
  EXPECT_EQ(dir.read("quotes.day/IBM.day"),
            "SYMBOL: IBM\nCOMPANY NAME: Intl Business Machines\n"
            "12/01/2026     93            91 1/2      92 1/2       1200300     5:30pm\n"
            "12/02/2026     94            92          93 3/4       1100200     5:30pm\n"
            "12/03/2026     94            93          93 1/2       900100      5:30pm\n");
  EXPECT_TRUE(shown()) << v->rowText(1);  // the window shows the last imported close
  EXPECT_FALSE(downloadState().flags.Import);
  EXPECT_TRUE(downloadState().SingleDownload);  // the same resets as the update
}

}  // namespace
}  // namespace quova
