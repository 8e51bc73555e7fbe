// The chart's dialogs from the window: the historical statistics (241 and a right click)
// and the display options (240).
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QValidator>

#include "base/command_ids.h"
#include "chart/hist_stats.h"
#include "chart/windows/hist_stat_window.h"
#include "chart_window_fixture.h"

namespace quova {
namespace {

struct ChartDialogs : ChartWindow {
  template <class W>
  W* dialog(TDrawView* v) {
    settle();
    return v->findChild<W*>();
  }
};

TEST_F(ChartDialogs, StatisticsShowTheRecordAndOkMovesTheWindow) {
  dir.write("quotes.day/FEW.day", quoteLines(0, 5));
  const std::string few = dir.file("quotes.day/FEW.day");
  TDrawView* v = open(few);
  ASSERT_NE(v, nullptr);
  v->grab();
  const Panel* price = v->model().panel(PanelKind::Price);
  click(v, QPoint((price->rect.left + price->rect.right) / 2, price->rect.top + 5), Qt::RightButton);
  auto* w = dialog<HistStatWindow>(v);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->windowTitle().toStdString(), "Historical Statistics for Quotefile - " + few);
  const sHistStatData expected = ShowHistStats(v->data(), v->chartSettings(), settings().DisplayDateFormat);
  for (std::size_t i = 0; i < kHistStatFields; ++i)
    EXPECT_EQ(w->fields[i]->text().toStdString(), expected.field[i]) << i;
  // The last quote's close in its format, and the dates of the window.
  char close[16];
  std::snprintf(close, sizeof close, "%10.3f", v->data().q_close.back());
  EXPECT_EQ(w->fields[histfield::Last + histfield::Close]->text().toStdString(), close);
  // The period dates take only digits and slashes.
  QString typed = "1x";
  int pos = 0;
  EXPECT_EQ(w->fields[histfield::From]->validator()->validate(typed, pos), QValidator::Invalid);

  // OK with the dates as shown leaves the window; a bad date keeps the dialog; a good one moves it.
  const float start = v->chartSettings().t_start, end = v->chartSettings().t_end;
  struct Case {
    QString from;
    std::string box;
    bool moved;
  } cases[] = {
      {w->fields[histfield::From]->text(), "", false},
      {"13/45/1999", "Bad Beginning Date format: mm/dd/yy(yy); reenter", false},
      {"01/03/1999", "", true},
  };
  for (const Case& c : cases) {
    w = v->findChild<HistStatWindow*>();
    if (!w) {
      f->runCommand(cm::STATISTICS);
      w = dialog<HistStatWindow>(v);
    }
    ASSERT_NE(w, nullptr);
    w->fields[histfield::From]->setText(c.from);
    h.host.boxes.clear();
    w->accept();
    EXPECT_EQ(w->windowMoved, c.moved) << c.from.toStdString();
    EXPECT_EQ(h.host.boxes.empty() ? "" : h.host.boxes[0].text, c.box);
    if (!c.box.empty()) {
      EXPECT_EQ(h.host.boxes[0].caption, "HistStatWindow");
    }
    EXPECT_EQ(w->isVisible(), !c.box.empty());
    EXPECT_FLOAT_EQ(v->chartSettings().t_end, end);
    if (!c.moved) {
      EXPECT_FLOAT_EQ(v->chartSettings().t_start, start);
    }
    settle();
  }
  EXPECT_FLOAT_EQ(v->chartSettings().t_start, v->data().q_date[2]);
}

}  // namespace
}  // namespace quova
