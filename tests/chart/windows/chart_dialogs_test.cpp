// The chart's dialogs from the window: the historical statistics (241 and a right click)
// and the display options (240).
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QValidator>

#include "base/command_ids.h"
#include "chart/hist_stats.h"
#include "chart/indicators.h"
#include "chart/windows/display_options.h"
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

TEST_F(ChartDialogs, DisplayOptionsCheckEachFieldAndRepaint) {
  dir.write("quotes.day/S22.day", quoteLines(0, 22));
  TDrawView* v = open(dir.file("quotes.day/S22.day"));
  ASSERT_NE(v, nullptr);
  v->grab();
  f->runCommand(cm::ANALYSISOPTIONS);
  auto* w = dialog<TMathDisplaySetup>(v);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->windowTitle(), "Mathematical Analysis Display Options");
  // 22 quotes: SMA 21 has its value (the mean of the last 21 closes), SMA 105 and volatility 50 have too few.
  char sma[16];
  std::snprintf(sma, sizeof sma, "%10.3f", SMA(v->data(), 21, 21));
  EXPECT_EQ(w->lastSma[0]->text().toStdString(), sma);
  EXPECT_EQ(w->lastSma[1]->text(), "NS Data");
  EXPECT_NE(w->lastVol[1]->text(), "NS Data");  // 20 days: 21 - 20 >= 1
  EXPECT_EQ(w->lastVol[2]->text(), "NS Data");

  struct Case {
    QLineEdit* edit;
    QString text;
    std::string message;  // empty: accepted
    int stored;           // what the setting holds afterwards (-1: not a day field)
  } cases[] = {
      {w->smaDays[0], "0", "Invalid SMA1 days (must be 1 - 5000)", 1},
      {w->smaDays[1], "6000", "Invalid SMA2 days (must be 1 - 5000)", 1},
      {w->volDays[3], "", "Invalid volatility4 days (must be 1 - 5000)", 100},
      {w->stochDDays, "0", "Invalid stochastic %D days (must be 1 - 5000)", 1},
      {w->volMax, "abc", "Invalid volatility max scale entry.", -1},
      {w->volMin, "1e99", "Invalid volatility min scale entry.", -1},
      {w->smaDays[0], "30", "", 30},
  };
  const std::int32_t* settingOf[] = {&v->chartSettings().sma_days[0], &v->chartSettings().sma_days[1],
                                     &v->chartSettings().vol_days[3], &v->chartSettings().stoch_d_days,
                                     nullptr, nullptr, &v->chartSettings().sma_days[0]};
  int k = 0;
  for (const Case& c : cases) {
    const QString was = c.edit->text();
    c.edit->setText(c.text);
    h.host.boxes.clear();
    if (c.message.empty()) w->volume->setChecked(false);
    w->accept();
    if (c.message.empty()) {
      EXPECT_TRUE(h.host.boxes.empty()) << h.host.boxes.front().text;
      EXPECT_FALSE(w->isVisible());
    } else {
      ASSERT_EQ(h.host.boxes.size(), 1u) << c.message;
      EXPECT_EQ(h.host.boxes[0].text, c.message);
      EXPECT_EQ(h.host.boxes[0].caption, "MathDisplaySetup Error");
      EXPECT_TRUE(w->isVisible());
      c.edit->setText(was);
    }
    if (settingOf[k]) {
      EXPECT_EQ(*settingOf[k], c.stored) << c.message;
    }
    ++k;
  }
  settle();
  v->grab();
  EXPECT_EQ(v->model().panel(PanelKind::Volume), nullptr);  // repainted without the volume

  f->runCommand(cm::ANALYSISOPTIONS);
  w = dialog<TMathDisplaySetup>(v);
  ASSERT_NE(w, nullptr);
  w->help();
  ASSERT_FALSE(h.host.boxes.empty());
  EXPECT_EQ(h.host.boxes.back().caption, "Math Analysis Display Options Dialog Help");
  EXPECT_EQ(h.host.boxes.back().text.rfind("Check these options to set mathematical analysis displays on/off.", 0), 0u);
}

}  // namespace
}  // namespace quova
