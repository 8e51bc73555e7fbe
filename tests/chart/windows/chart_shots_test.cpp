// Pictures of the chart to look at (run by hand, under a real X server or offscreen):
// a stored fit with its forecast and a study over it, the statistics dialog, drawn lines.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QRadioButton>

#include "base/command_ids.h"
#include "chart/windows/analysis_setup.h"
#include "chart/windows/hist_stat_window.h"
#include "chart_window_fixture.h"

namespace quova {
namespace {

struct ChartShots : ChartWindow {
  static void finish(TDrawView* v) {
    QElapsedTimer t;
    t.start();
    while ((v->analysisRunning() || t.elapsed() < 100) && t.elapsed() < 20000) settle();
  }
};

TEST_F(ChartShots, DISABLED_SaveScreenshots) {
  dir.write("quotes.day/WAVE.day", "SYMBOL: WAVE\n" + quoteLines(0, 300));
  TDrawView* v = open(dir.file("quotes.day/WAVE.day"), "Chart of WAVE Wave Industries");
  ASSERT_NE(v, nullptr);
  f->client()->activeSubWindow()->setGeometry(0, 0, 860, 560);
  settle();
  f->runCommand(cm::ANALYSIS);
  settle();
  auto* w = v->findChild<TSetupWindow*>();
  ASSERT_NE(w, nullptr);
  f->grab().save("/tmp/quova-shot-setup.png");
  w->search->setChecked(true);
  w->baseline->setChecked(true);
  w->accept();
  v->update();
  finish(v);
  f->grab().save("/tmp/quova-shot-fit.png");
  f->runCommand(cm::STATISTICS);
  settle();
  if (auto* s = v->findChild<HistStatWindow*>()) {
    s->grab().save("/tmp/quova-shot-stats.png");
    s->reject();
  }
  settle();
  auto drag = [&](QPoint a, QPoint b, QPoint c) {
    auto send = [&](QEvent::Type t, QPoint p, Qt::MouseButton bt, Qt::MouseButtons held) {
      QMouseEvent e(t, QPointF(p), QPointF(v->mapToGlobal(p)), bt, held, Qt::NoModifier);
      QApplication::sendEvent(v, &e);
    };
    send(QEvent::MouseButtonPress, a, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, b, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseMove, c, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, c, Qt::LeftButton, Qt::NoButton);
  };
  drag(QPoint(60, 200), QPoint(400, 90), QPoint(700, 60));
  drag(QPoint(60, 260), QPoint(400, 180), QPoint(700, 150));
  v->repaint();
  f->grab().save("/tmp/quova-shot-lines.png");
}

}  // namespace
}  // namespace quova
