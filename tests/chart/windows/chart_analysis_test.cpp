// The analysis from the chart window: F9 and the setup window run Four_Anal off the GUI
// thread; the run's curve and RMS text are drawn once, Baseline stores the fit in the
// settings file and every later paint draws it with its dash-dot forecast.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QElapsedTimer>
#include <QPointer>

#include "base/command_ids.h"
#include "chart/analysis_run.h"
#include "chart/windows/analysis_setup.h"
#include "chart_window_fixture.h"

namespace quova {
namespace {

struct ChartAnalysis : ChartWindow {
  // Lets the run end and its result be painted.
  static void finish(TDrawView* v) {
    QElapsedTimer t;
    t.start();
    while ((v->analysisRunning() || t.elapsed() < 50) && t.elapsed() < 20000) settle();
    settle();
  }
  static void key(QWidget* w, int k) {
    QKeyEvent e(QEvent::KeyPress, k, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
  }
  static const Label* rmsText(const PlotModel& m) {
    for (const Label& l : m.texts)
      if (l.text.rfind("RMS Fit Error -- ", 0) == 0) return &l;
    return nullptr;
  }
};

TEST_F(ChartAnalysis, F9DrawsTheFitOnceWithItsRmsText) {
  TDrawView* v = open(day);
  ASSERT_NE(v, nullptr);
  v->grab();
  // The core's own run on the same window with the same choices.
  Fit_Type unused;
  const AnalysisResult expected = Four_Anal(v->data(), v->chartSettings(), v->analysisSetup(), unused);
  ASSERT_TRUE(expected.done);
  key(v, Qt::Key_F9);
  v->grab();  // the paint asks for the run
  finish(v);  // the run's end repaints the chart with its result
  const Label* rms = rmsText(v->model());
  ASSERT_NE(rms, nullptr);
  EXPECT_EQ(rms->text, expected.rmsText);
  EXPECT_EQ(rms->x, 50);
  EXPECT_EQ(rms->y, 5);
  const Polyline* fit = nullptr;
  for (const Polyline& c : v->model().curves) if (c.name == "Fit") fit = &c;
  ASSERT_NE(fit, nullptr);
  EXPECT_EQ(fit->points.size(), expected.dates.size());
  EXPECT_EQ(qcolor(fit->colour), qcolor(settings().PlotColors[plotcolor::LSF]));
  // A study is drawn once; nothing was stored.
  v->grab();
  EXPECT_EQ(rmsText(v->model()), nullptr);
  EXPECT_FALSE(v->chartSettings().fitStored());
}

TEST_F(ChartAnalysis, SetupWindowChecksEachFieldAndBaselineStoresTheFit) {
  TDrawView* v = open(day);
  ASSERT_NE(v, nullptr);
  v->grab();
  f->runCommand(cm::ANALYSIS);
  settle();
  auto* w = v->findChild<TSetupWindow*>();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->windowTitle(), "Mathematical Analysis Setup Box");
  EXPECT_EQ(w->polyOrder->text(), "2");
  EXPECT_EQ(w->bisects->text(), "10");
  EXPECT_TRUE(w->preset->isChecked());
  EXPECT_TRUE(w->study->isChecked());
  struct Case {
    QLineEdit* edit;
    QString text;
    std::string message;
  } bad[] = {
      {w->polyOrder, "51", "Invalid LSF Order, (0, 50)"},
      {w->fourOrder, "x", "Invalid Fourier Order, (0, 50)"},
      {w->bisects, "1001", "Invalid # Bisects, (0, 1000)"},
      {w->fundDays, "0", "Invalid Fourier Fundamental, (1, 30000)"},
  };
  for (const Case& c : bad) {
    const QString was = c.edit->text();
    c.edit->setText(c.text);
    h.host.boxes.clear();
    w->accept();
    ASSERT_EQ(h.host.boxes.size(), 1u) << c.message;
    EXPECT_EQ(h.host.boxes[0].text, c.message);
    EXPECT_EQ(h.host.boxes[0].caption, "Analysis SetupWindow Error");
    EXPECT_TRUE(w->isVisible());
    c.edit->setText(was);
  }
  w->polyOrder->setText("1");
  w->fundDays->setText("20");
  w->baseline->setChecked(true);
  const QPointer<TSetupWindow> closed = w;
  w->accept();
  settle();
  EXPECT_TRUE(closed.isNull());
  EXPECT_EQ(v->chartSettings().poly_order, 1);
  EXPECT_NEAR(static_cast<double>(v->analysisSetup().fund_omega), 2 * M_PI / 20, 1e-12);
  finish(v);
  v->grab();
  ASSERT_TRUE(v->chartSettings().fitStored());
  const Fit_Type stored = storedFit(v->chartSettings());
  EXPECT_NEAR(static_cast<double>(stored.omega), 2 * M_PI / 20, 1e-12);
  EXPECT_EQ(stored.poly_order, 1);

  // Written at close; the reopened chart draws it on every paint, dash-dot past t_max.
  const std::array<std::uint8_t, kFitRecordSize> image = v->chartSettings().fitImage;
  f->client()->activeSubWindow()->close();
  settle();
  EXPECT_EQ(GetConfig(day).fitImage, image);
  v = open(day);
  ASSERT_NE(v, nullptr);
  const QImage img = v->grab().toImage();
  const int lastX = v->model().bars.back().x;
  const QColor forecast = qcolor(settings().PlotColors[plotcolor::OutOfRangeLSF]);
  int past = 0;
  for (int x = lastX + 2; x < img.width(); ++x)
    for (int y = 0; y < img.height(); ++y) past += img.pixelColor(x, y) == forecast;
  EXPECT_GT(past, 10);
  bool dashDotAfter = false;
  for (const Polyline& c : v->model().curves)
    dashDotAfter |= c.name == "LSF forecast" && c.style == PenStyle::DashDot && c.points.back().x > lastX;
  EXPECT_TRUE(dashDotAfter);
  EXPECT_EQ(rmsText(v->model()), nullptr);
}

TEST_F(ChartAnalysis, SearchRunsOffTheGuiThreadAndAbortDropsIt) {
  dir.write("quotes.day/LONG.day", quoteLines(0, 340));
  TDrawView* v = open(dir.file("quotes.day/LONG.day"));
  ASSERT_NE(v, nullptr);
  v->grab();
  f->runCommand(cm::ANALYSIS);
  settle();
  auto* w = v->findChild<TSetupWindow*>();
  ASSERT_NE(w, nullptr);
  w->search->setChecked(true);
  w->fourOrder->setText("30");
  w->bisects->setText("1000");
  w->accept();
  v->grab();
  settle();
  ASSERT_TRUE(v->analysisRunning());
  EXPECT_TRUE(f->routeHandles(cm::STOP));
  f->runCommand(cm::STOP);
  EXPECT_FALSE(v->analysisRunning());
  EXPECT_EQ(h.host.statusTexts.back(), "Mathematical Analysis aborted");
  finish(v);
  v->grab();
  EXPECT_EQ(rmsText(v->model()), nullptr);
  // Closing with a run going waits for it; nothing is left behind.
  ChartAnalysis::key(v, Qt::Key_F9);
  v->grab();
  settle();
  f->client()->activeSubWindow()->close();
  settle();
  EXPECT_TRUE(f->client()->subWindowList().isEmpty());
}

}  // namespace
}  // namespace quova
