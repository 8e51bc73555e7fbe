// The chart window as the main frame opens it: the painted bars and curves where the plot
// model puts them, the readout under the mouse, the window's place kept in the chart's
// settings file, and the reload and failure paths.
#include "chart/windows/chart_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMdiSubWindow>
#include <QKeyEvent>
#include <QMouseEvent>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <utility>

#include "app/root_init.h"
#include "app/window_files.h"
#include "app/windows/main_frame.h"
#include "base/host.h"
#include "base/log.h"
#include "base/run_flags.h"
#include "settings/settings.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"
#include "chart_window_fixture.h"
#include "util/paths.h"

namespace quova {
namespace {

TEST_F(ChartWindow, OpensAndPaintsTheModel) {
  TDrawView* v = open(day);
  ASSERT_NE(v, nullptr);
  QMdiSubWindow* sub = f->client()->activeSubWindow();
  EXPECT_EQ(sub->windowTitle().toStdString(), day);  // opened by path: the path is the title
  ASSERT_TRUE(v->data().loaded);
  EXPECT_EQ(v->data().num_quotes, 80);
  // A chart without a settings file: at the default corner, two thirds of the client area
  // (larger than the default 500 x 220 here); the readout is labelled with the file's name.
  const QSize area = f->client()->size();
  EXPECT_EQ(sub->geometry(), QRect(20, 20, std::max(500, area.width() * 2 / 3), std::max(220, area.height() * 2 / 3)));
  EXPECT_EQ(v->readoutTitle(), "Chart of TEST");
  sub->setGeometry(10, 10, 760, 520);
  settle();

  const QImage img = v->grab().toImage();
  const PlotModel& m = v->model();
  ASSERT_EQ(m.frame.width(), v->width());
  // The paint writes the model's log entries.
  EXPECT_NE(dir.read("quova.log").find("\nPlotMathAnalysis checkpoint 9.\n"), std::string::npos);
  ASSERT_EQ(m.bars.size(), 80u);
  const Palette& pal = settings().PlotColors;
  const QColor bar = qcolor(m.barColour);
  ASSERT_EQ(bar, QColor(255, 255, 0));  // the default palette: yellow bars on black
  ASSERT_EQ(qcolor(pal[plotcolor::Background]), QColor(0, 0, 0));
  // Volume bars lie alone in their panel: every one is painted where the model says.
  int volume = 0, price = 0, priceBlack = 0;
  for (const Bar& b : m.bars) {
    ASSERT_TRUE(b.hasVolume && b.hasRange && b.hasClose);
    if (b.yVolumeBase - b.yVolume >= 2) {
      EXPECT_EQ(img.pixelColor(b.x, (b.yVolumeBase + b.yVolume) / 2), bar) << b.x;
      ++volume;
    }
    // The price bars' middles: the SMA drawn afterwards may cross a few of them.
    ++price;
    if (img.pixelColor(b.x, (b.yHigh + b.yLow) / 2) == bar) ++priceBlack;
  }
  EXPECT_GT(volume, 60);
  EXPECT_GE(priceBlack * 10, price * 9);
  // Away from everything the background colour fills the frame.
  const Panel* pricePanel = m.panel(PanelKind::Price);
  ASSERT_NE(pricePanel, nullptr);
  EXPECT_EQ(img.pixelColor(m.bars.front().x + 1, pricePanel->rect.top + 2), qcolor(pal[plotcolor::Background]));

  // Each curve in its own colour at its vertices (later curves and marks may cover a few).
  ASSERT_GE(m.curves.size(), 3u);
  for (const Polyline& c : m.curves) {
    if (c.points.size() < 2) continue;
    std::size_t hit = 0;
    for (const Point& pt : c.points) hit += img.pixelColor(pt.x, pt.y) == qcolor(c.colour);
    EXPECT_GE(hit * 10, c.points.size() * 7) << c.name;
  }
  // SMA #1 in light cyan, as the default palette has it.
  EXPECT_EQ(qcolor(m.curves.front().colour), QColor(0, 255, 255)) << m.curves.front().name;

  f->grab().save("/tmp/quova-chart-window.png");
}

TEST_F(ChartWindow, ReadoutFollowsTheMouseWithTheChartsOwnLabel) {
  TDrawView* a = open(day, "Chart of XYZ International");
  ASSERT_NE(a, nullptr);
  a->grab();
  const Panel* price = a->model().panel(PanelKind::Price);
  ASSERT_NE(price, nullptr);
  const QPoint inside((price->rect.left + price->rect.right) / 2, price->rect.top + 10);
  const Rect strip = a->model().dateStrip;
  const QPoint middle((strip.left + strip.right) / 2, (strip.top + strip.bottom) / 2);
  const QPoint leftButton(a->model().leftButton.left + 2, middle.y());
  EXPECT_EQ(a->Time_Scale_Change(inside), 9999);
  EXPECT_EQ(a->Time_Scale_Change(middle), 1);
  EXPECT_EQ(a->Time_Scale_Change(leftButton), 2);

  // A second chart opened later does not lend its symbol to the first one's readout.
  dir.write("quotes.day/OTHER.day", quoteLines(10, 30));
  ASSERT_NE(open(dir.file("quotes.day/OTHER.day"), "Chart of ABC Corp"), nullptr);

  move(a, inside);
  const std::string readout = runFlags().io;
  EXPECT_EQ(readout.rfind("XYZ    ", 0), 0u) << readout;
  EXPECT_NE(readout.find("(right-click for details)"), std::string::npos);
  char close[32];
  std::snprintf(close, sizeof close, "Close -%9.3f", a->data().q_close.back());
  EXPECT_NE(readout.find(close), std::string::npos) << readout;
  EXPECT_EQ(h.host.statusTexts.back(), readout);

  // Within the same zone nothing new is sent; the strip's zones show their hints.
  const std::size_t sent = h.host.statusTexts.size();
  move(a, inside + QPoint(5, 3));
  EXPECT_EQ(h.host.statusTexts.size(), sent);
  move(a, middle);
  EXPECT_EQ(runFlags().io, "Click LEFT MOUSE BUTTON for min time;               RIGHT for max time");
  move(a, leftButton);
  EXPECT_EQ(runFlags().io.rfind("Double Click LEFT MOUSE BUTTON for full scale min time;", 0), 0u);
  move(a, inside);
  EXPECT_EQ(runFlags().io, readout);
}

TEST_F(ChartWindow, WindowRectangleKeptInTheSettingsFile) {
  TDrawView* v = open(day);
  ASSERT_NE(v, nullptr);
  QMdiSubWindow* sub = f->client()->activeSubWindow();
  sub->setGeometry(30, 40, 420, 300);
  settle();
  const float first = v->data().q_date.front(), last = v->data().q_date.back();
  sub->close();
  settle();
  EXPECT_TRUE(f->client()->subWindowList().isEmpty());
  const std::string cfg = nativePath(chartConfigPath(day));  // Config/TEST.cfg
  EXPECT_EQ(cfg, dir.file("Config/TEST.cfg"));
  ASSERT_TRUE(std::filesystem::exists(cfg));
  EXPECT_EQ(std::filesystem::file_size(cfg), kChartConfigSize);
  ChartSettings s = GetConfig(day);
  EXPECT_EQ(s.win_left, 30);
  EXPECT_EQ(s.win_top, 40);
  EXPECT_EQ(s.win_width, 420);
  EXPECT_EQ(s.win_height, 300);
  EXPECT_EQ(s.maximised, 0);
  // The full range the first load gave is what the next start shows.
  EXPECT_FLOAT_EQ(s.t_start, first - 1);
  EXPECT_FLOAT_EQ(s.t_end, last + 30);

  // Reopened at that place; closed maximised, it comes back maximised and keeps the rectangle.
  v = open(day);
  ASSERT_NE(v, nullptr);
  sub = f->client()->activeSubWindow();
  EXPECT_EQ(sub->geometry(), QRect(30, 40, 420, 300));
  sub->showMaximized();
  settle();
  sub->close();
  settle();
  s = GetConfig(day);
  EXPECT_EQ(s.maximised, 1);
  EXPECT_EQ(s.win_width, 420);
  v = open(day);
  ASSERT_NE(v, nullptr);
  EXPECT_TRUE(f->client()->activeSubWindow()->isMaximized());
}

TEST_F(ChartWindow, RefreshReadsTheGrownFile) {
  TDrawView* v = open(day);
  ASSERT_NE(v, nullptr);
  EXPECT_TRUE(f->routeHandles(246));
  EXPECT_TRUE(f->routeHandles(244));
  dir.write("quotes.day/TEST.day", "SYMBOL: TEST\n" + quoteLines(0, 85));
  f->runCommand(246);
  EXPECT_EQ(v->data().num_quotes, 85);
  EXPECT_FLOAT_EQ(v->data().t_full_max, v->data().q_date.back() + 30);
  v->grab();
  EXPECT_EQ(v->model().bars.size(), 85u);
}

TEST_F(ChartWindow, FilesThatCannotBeCharted) {
  // Headers only: the message, and the window closes.
  dir.write("quotes.day/EMPTY.day", "SYMBOL: E\nCOMPANY NAME: Empty\n");
  f->openDocument(dir.file("quotes.day/EMPTY.day"));
  settle();
  EXPECT_TRUE(h.host.sawBox("No valid quotes found...\n\nThis Window will close", "Quote Processing ERRORS"));
  EXPECT_TRUE(f->client()->subWindowList().isEmpty());

  // A file that cannot be opened is reported once for its window, which stays.
  const std::string missing = dir.file("quotes.day/GONE.day");
  TDrawView* v = open(missing);
  ASSERT_NE(v, nullptr);
  f->runCommand(246);
  int shown = 0;
  for (const auto& b : h.host.boxes) shown += b.text == "Unable to open file -- " + missing;
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(h.host.boxes.back().caption, "Quote File Access Error");
  EXPECT_FALSE(v->data().loaded);
  v->grab();  // paints the background only
  EXPECT_TRUE(v->model().bars.empty());
}

TEST_F(ChartWindow, EditAndRepairTheQuoteFile) {
  settings().TPathBuffer.EditorPath = "/usr/bin/myeditor";
  TDrawView* v = open(day);
  ASSERT_NE(v, nullptr);
  f->runCommand(29001);
  ASSERT_EQ(h.host.processes.size(), 1u);
  EXPECT_EQ(h.host.processes[0].program, "/usr/bin/myeditor");
  EXPECT_EQ(h.host.processes[0].args, std::vector<std::string>{day});
  h.host.nextProcess = -1;
  f->runCommand(29001);
  ASSERT_FALSE(h.host.boxes.empty());
  EXPECT_EQ(h.host.boxes.back().caption, "QUOVA Quotefile Edit ERROR in Chart/CmEditHQF");
  EXPECT_EQ(h.host.boxes.back().text.rfind("For command -- /usr/bin/myeditor " + day + "\n\nUnable to find your Editor.", 0), 0u);

  // Repair: the tool is sent to this file in its own folder, and the chart closes.
  dir.write("quotes.day/funds/VFINX.day", quoteLines(0, 20));
  ASSERT_NE(open(dir.file("quotes.day/funds/VFINX.day")), nullptr);
  h.host.appMessages.clear();
  f->runCommand(36);
  settle();
  EXPECT_EQ(runFlags().FileToFixPath, "..\\quotes.day\\funds\\VFINX.day");
  ASSERT_FALSE(h.host.appMessages.empty());
  EXPECT_EQ(h.host.appMessages.front(), appmsg::MendoraExec);
  ASSERT_EQ(f->client()->subWindowList().size(), 1);
  EXPECT_EQ(f->client()->subWindowList().front()->widget(), v);
}

TEST_F(ChartWindow, DateStripZoomsTheTimeWindow) {
  TDrawView* v = open(day);
  ASSERT_NE(v, nullptr);
  f->client()->activeSubWindow()->setGeometry(0, 0, 640, 480);
  settle();
  v->grab();
  const ChartData& d = v->data();
  const ChartSettings& s = v->chartSettings();
  const Rect strip = v->model().dateStrip;
  const int y = (strip.top + strip.bottom) / 2, right = v->model().frame.right;
  const QPoint leftButton(strip.left + 3, y), rightButton(strip.right - 3, y);
  ASSERT_FLOAT_EQ(s.t_start, d.t_full_min);
  ASSERT_FLOAT_EQ(s.t_end, d.t_full_max);

  // Right button: a left click shows the default span from the start; a right click
  // widens by a fifth, no further than the full scale.
  click(v, rightButton, Qt::LeftButton);
  EXPECT_FLOAT_EQ(s.t_end, d.t_full_min + 180);
  click(v, rightButton, Qt::RightButton);
  EXPECT_FLOAT_EQ(s.t_end, d.t_full_max);
  // Middle: a left click at a third of the width moves the start a third into the window;
  // a right click at the right edge leaves the end where it is.
  const float span = s.t_end - s.t_start, start = s.t_start;
  click(v, QPoint(right / 3, y), Qt::LeftButton);
  EXPECT_NEAR(s.t_start, start + span * (right / 3) / static_cast<float>(right), 1e-3);
  const float end = s.t_end;
  click(v, QPoint(right, y), Qt::RightButton);
  EXPECT_FLOAT_EQ(s.t_end, end);
  // Left button: a left click widens by a fifth (not below the full scale), a double
  // click goes to the full scale start, a right click shows the default span to the end.
  const float before = s.t_start, span2 = s.t_end - s.t_start;
  click(v, leftButton, Qt::LeftButton);
  EXPECT_FLOAT_EQ(s.t_start, std::max(before - 0.2f * span2, d.t_full_min));
  click(v, leftButton, Qt::RightButton);
  EXPECT_FLOAT_EQ(s.t_start, s.t_end - 180);
  click(v, leftButton, Qt::LeftButton);
  click(v, leftButton, Qt::LeftButton, QEvent::MouseButtonDblClick);
  EXPECT_FLOAT_EQ(s.t_start, d.t_full_min);

  // The painted bars follow the window: from half-way on, the earlier quotes are gone
  // from the picture.
  click(v, QPoint(right / 2, y), Qt::LeftButton);
  v->grab();
  const std::vector<Bar>& bars = v->model().bars;
  ASSERT_FALSE(bars.empty());
  EXPECT_LT(bars.size(), 40u);
  EXPECT_GE(bars.front().x, 0);
  // Enter closes the chart.
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QApplication::sendEvent(v, &enter);
  settle();
  EXPECT_TRUE(f->client()->subWindowList().isEmpty());
}

TEST_F(ChartWindow, RestoredFromTheSavedWindowsWithItsTitle) {
  f.reset();
  WriteSavedWindows("quova.win", {"quotes.day/TEST.day", "Chart of TST Testing"});
  f.reset(InitMainWindow());
  f->show();
  settle();
  ASSERT_EQ(f->client()->subWindowList().size(), 1);
  auto* v = qobject_cast<TDrawView*>(f->client()->subWindowList().front()->widget());
  ASSERT_NE(v, nullptr);
  EXPECT_EQ(v->chartTitle(), "Chart of TST Testing");
  EXPECT_EQ(v->data().num_quotes, 80);
  v->grab();
  EXPECT_EQ(runFlags().io.rfind("TST    ", 0), 0u) << runFlags().io;
}

// Closes the chart from inside the load's message pump, as a user's click would.
struct ClosingHost : test::RecordingHost {
  std::function<void()> onPump;
  bool pump() override {
    if (onPump) std::exchange(onPump, nullptr)();
    return RecordingHost::pump();
  }
};

TEST_F(ChartWindow, CloseDuringTheLoadWaitsForItsEnd) {
  ClosingHost closing;
  setHost(&closing);
  ASSERT_TRUE(f->openDocument(day));
  QMdiSubWindow* sub = f->client()->activeSubWindow();
  ASSERT_NE(sub, nullptr);
  bool refused = false;
  closing.onPump = [&] { refused = !sub->close(); };
  settle();
  setHost(&h.host);
  EXPECT_TRUE(refused);  // the load was running: the close waited
  EXPECT_TRUE(f->client()->subWindowList().isEmpty());  // and was carried out after it
  EXPECT_FALSE(std::filesystem::exists(nativePath(chartConfigPath(day))));  // nothing saved
}

}  // namespace
}  // namespace quova
