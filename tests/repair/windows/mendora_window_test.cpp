// The repair tool's window, and the program's starts of the tool: the list's repair of all
// files waiting for each run, a whole repair from the list window with the real tool, and
// the chart opening the file again when the tool has ended.
#include "repair/windows/mendora_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QThread>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "base/run_flags.h"
#include "app/events/headless_host.h"
#include "base/command_ids.h"
#include "base/log.h"
#include "app/root_init.h"
#include "chart/chart_data.h"
#include "chart/windows/chart_view.h"
#include "quotes/format_file.h"
#include "quotes/list_repair.h"
#include "quotes/quote_line.h"
#include "settings/repair_start.h"
#include "quotes/windows/quote_list_view.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"
#include "util/dates.h"

namespace quova {
namespace {

std::string rec(const char* date, const char* close) {
  QuoteData q{};
  std::strcpy(q.Date, date);
  std::strcpy(q.High, "20");
  std::strcpy(q.Low, "5");
  std::strcpy(q.Close, close);
  std::strcpy(q.Volume, "1000");
  char line[kQuoteLineSize];
  MakeQuoteString(line, sizeof line, &q, DefaultFormat(), true);
  return line;
}

const std::string kHeader = "SYMBOL: XYZ\nCOMPANY NAME: Xyz Corp\n";
const std::string d1 = rec("12/01/2026", "10"), d2 = rec("12/02/2026", "11"), d2b = rec("12/02/2026", "12"),
                  d3 = rec("12/03/2026", "13");

// A host that starts real processes and answers every box with its default, keeping them.
struct ProcessHost : HeadlessHost {
  std::vector<std::string> boxes;
  int messageBox(std::string_view text, std::string_view caption, unsigned flags) override {
    boxes.emplace_back(text);
    return HeadlessHost::messageBox(text, caption, flags);
  }
};

struct RootFixture : ::testing::Test {
  test::TempDir dir{true};
  void SetUp() override {
    initRoot(dir.path());
    runFlags() = RunFlags{};
    runFlags().QuovaPath = dir.path() + "/";
    runFlags().QUOVAPATH = dir.path() + "/";
    logState().QuovaLogFile = dir.file("quova.log");
    OpenLogFile();
  }
  void TearDown() override {
    setHost(nullptr);
    runFlags() = RunFlags{};
    logState().QuovaLogFile = "quova.log";
  }
};

using MendoraWindowTest = RootFixture;

TEST_F(MendoraWindowTest, ShowsTheProblemsAndAppliesThePersonsChoice) {
  const std::string damaged = kHeader + d2 + d1 + "junk\n" + d2b + d3;
  dir.write("quotes.day/XYZ.day", damaged);
  repair::Options o;
  o.quoteFile = "..\\quotes.day\\XYZ.day";
  repair::MendoraWindow w(o, dir.file("Utilities"), "");
  ASSERT_TRUE(w.ready());
  // Out of order, unreadable, and one row with the choice for 12/02.
  ASSERT_EQ(w.table()->rowCount(), 3);
  EXPECT_EQ(w.table()->item(1, 1)->text(), "unreadable record line");
  auto* choice = qobject_cast<QComboBox*>(w.table()->cellWidget(2, 3));
  ASSERT_NE(choice, nullptr);
  EXPECT_EQ(choice->currentIndex(), 1);  // the later line, as a batch run keeps
  choice->setCurrentIndex(0);
  EXPECT_NE(w.preview()->toPlainText().indexOf("12/02/2026 kept from line 3"), -1);
  EXPECT_EQ(dir.read("quotes.day/XYZ.day"), damaged);  // nothing written before Apply

  w.apply();
  EXPECT_EQ(w.exitCode(), repair::kExitDone);
  EXPECT_EQ(dir.read("quotes.day/XYZ.day"), kHeader + d1 + d2 + d3);
  EXPECT_EQ(dir.read("quotes.day/XYZ.REC"), damaged);

  // Import: a new date comes in, an existing one keeps the file's line; Undo restores.
  dir.write("in.csv", "Date,Open,High,Low,Close,Adj Close,Volume\n2026-12-04,1,20,5,14,14,900\n"
                      "2026-12-01,1,20,5,99,99,900\n");
  repair::MendoraWindow again(o, dir.file("Utilities"), "");
  again.importFile(QString::fromStdString(dir.file("in.csv")));
  EXPECT_EQ(again.job().import.rows.size(), 2u);
  again.apply();
  const std::string merged = dir.read("quotes.day/XYZ.day");
  EXPECT_EQ(merged.substr(0, (kHeader + d1 + d2 + d3).size()), kHeader + d1 + d2 + d3);
  EXPECT_NE(merged.find("12/04/2026"), std::string::npos);
  repair::MendoraWindow third(o, dir.file("Utilities"), "");
  third.undo();
  EXPECT_EQ(dir.read("quotes.day/XYZ.day"), kHeader + d1 + d2 + d3);
}

using RepairStarts = RootFixture;

// Waits with the events running until done() or about ms milliseconds have passed.
template <typename F>
bool waitFor(F done, int ms) {
  QElapsedTimer t;
  t.start();
  while (!done() && t.elapsed() < ms) {
    QApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(10);
  }
  return done();
}

TEST_F(RepairStarts, RepairAllWaitsForEachRunAndABoundEndsAHangingOne) {
  // A slow stand-in tool that notes when each run starts and ends.
  dir.write("Utilities/Mendora",
            "#!/bin/sh\nprintf 'start %s\\n' \"$2\" >> runs.txt\nsleep 0.3\nprintf 'end %s\\n' \"$2\" >> runs.txt\n");
  std::filesystem::permissions(dir.file("Utilities/Mendora"), std::filesystem::perms::owner_all);
  dir.write("quotes.day/A.day", kHeader + d1);
  dir.write("quotes.day/B.day", kHeader + d1);
  dir.write("l.qtl", "SYMBOL   FILE   NAME\nA   *   Alpha\nNONE   *   Missing\nB   *   Beta\n");
  ProcessHost host;
  setHost(&host);
  EXPECT_EQ(RepairQuoteList(dir.file("l.qtl"), DefaultFormat(), {}, 0), 2);
  EXPECT_EQ(dir.read("Utilities/runs.txt"),
            "start ..\\quotes.day\\A.day\nend ..\\quotes.day\\A.day\nstart ..\\quotes.day\\B.day\nend ..\\quotes.day\\B.day\n");
  OFtype written;
  ASSERT_EQ(GetFormatInfo(dir.file("Config/A.fmt"), &written), 0);
  EXPECT_EQ(written.repairFlag, 1);

  // A tool that hangs is ended at the bound, and the log says so.
  dir.write("Utilities/Mendora", "#!/bin/sh\nexec sleep 30\n");
  QElapsedTimer t;
  t.start();
  EXPECT_EQ(waitForRepairTool(RunMendora(dir.file("quotes.day/A.day"), DefaultFormat(), true), 300, {}),
            RepairWait::Bounded);
  EXPECT_LT(t.elapsed(), 5000);
  EXPECT_NE(dir.read("quova.log").find("The repair tool did not end within 0 seconds: it was ended."),
            std::string::npos);
}

TEST_F(RepairStarts, ADamagedFileRepairedFromTheListLoadsInTheChartWithoutAQuestion) {
  // A root made earlier gets the tool on the next --init-root.
  ASSERT_FALSE(std::filesystem::exists(dir.file("Utilities/Mendora")));
  initRoot(dir.path(), MENDORA_BINARY);
  ASSERT_EQ(std::filesystem::read_symlink(dir.file("Utilities/Mendora")), MENDORA_BINARY);
  const std::string damaged = kHeader + d3 + d1 + "12/0x/2026   garbage\n" + d2 + d2 + std::string("\x1A");
  dir.write("quotes.day/XYZ.day", damaged);
  dir.write("l.qtl", "SYMBOL   FILE   NAME\nXYZ   *   Xyz Corp\n");
  ProcessHost host;
  setHost(&host);
  {
    QuoteListView list(dir.file("l.qtl"));
    list.runCommand(cm::MENDORAQUOTELIST);  // the question is answered OK, each run waited for
    EXPECT_EQ(host.lastStatus(), "Historical Quotefiles Repaired ...1");
  }
  EXPECT_EQ(dir.read("quotes.day/XYZ.REC"), damaged);
  EXPECT_EQ(dir.read("quotes.day/XYZ.day"), kHeader + d1 + d2 + d3);
  EXPECT_NE(dir.read("Utilities/mendora.log").find("Result: repaired"), std::string::npos);

  test::ScopedHost quiet;  // records every box the chart would show
  ChartData data;
  ChartSettings settings;
  OFtype fmt = DefaultFormat();
  ParseContext ctx;
  ctx.parse = chartLineParser(fmt);
  EXPECT_EQ(LoadData(dir.file("quotes.day/XYZ.day"), data, settings, ctx), LoadResult::Loaded);
  EXPECT_EQ(data.num_quotes, 3);
  EXPECT_TRUE(quiet.host.boxes.empty());
}

// The chart's repair: the tool starts, the chart closes, and the file opens again once the
// tool has ended.
struct ChartRepairHost : test::RecordingHost {
  void sendAppMessage(int offset) override {
    if (offset == appmsg::MendoraExec) lastRepairProcess() = 7;
    RecordingHost::sendAppMessage(offset);
  }
};

TEST_F(RepairStarts, TheChartOpensTheFileAgainWhenTheToolEnds) {
  dir.write("quotes.day/XYZ.day", kHeader + d1 + d2);
  ChartRepairHost h;
  h.runningPolls = 2;
  setHost(&h);
  auto* view = new TDrawView(dir.file("quotes.day/XYZ.day"));
  view->show();
  QApplication::processEvents();
  view->runCommand(cm::REPAIRHQF);
  EXPECT_EQ(runFlags().FileToFixPath.substr(0, 3), "..\\");
  auto sent = [&](int m) { return std::find(h.appMessages.begin(), h.appMessages.end(), m) != h.appMessages.end(); };
  EXPECT_TRUE(sent(appmsg::MendoraExec));
  EXPECT_FALSE(sent(appmsg::PlotQuote));  // not before the tool has ended
  ASSERT_TRUE(waitFor([&] { return sent(appmsg::PlotQuote); }, 3000));
  EXPECT_EQ(runFlags().QuoteFile, dir.file("quotes.day/XYZ.day"));
  QApplication::processEvents();
}

}  // namespace
}  // namespace quova
