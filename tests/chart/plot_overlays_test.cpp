// The analysis overlays of a plot model as the settings switch them on: their order, their
// panels and values, the stored fit's runs, the logged checkpoints, a study run's curve,
// and the printed page's frame and colours.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "base/colors.h"
#include "base/log.h"
#include "chart/chart_data.h"
#include "chart/chart_settings.h"
#include "chart/analysis_run.h"
#include "chart/fit_overlays.h"
#include "chart/indicators.h"
#include "chart/plot_model.h"
#include "settings/settings.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

namespace quova {
namespace {

// Every paint logs its checkpoints: the chart tests log into a folder of their own.
class LogInTempDir : public ::testing::Environment {
 public:
  void SetUp() override { logState().QuovaLogFile = dir.file("quova.log"); }
  void TearDown() override { logState().QuovaLogFile = "quova.log"; }
  test::TempDir dir;
};
[[maybe_unused]] ::testing::Environment* const logEnvironment =
    ::testing::AddGlobalTestEnvironment(new LogInTempDir);

// 400 daily quotes on a 40-day wave: the stochastic swings through 80 and 20.
ChartData wave() {
  ChartData d;
  for (int i = 0; i < 400; ++i) {
    const float c = 50 + 20 * static_cast<float>(std::sin(i * 6.283185307179586 / 40));
    d.append(static_cast<float>(30000 + i), c + 1, c - 1, c, 1000.0f + i);
  }
  d.loaded = true;
  find_min_max_scales(d);
  return d;
}

class PlotOverlays : public ::testing::Test {
 protected:
  void SetUp() override {
    previousLog = logState().QuovaLogFile;
    logState().QuovaLogFile = dir.file("quova.log");
    d = wave();
    initquotes(d, s);
    s.sma_display = {0, 0, 0};
    s.vol_display = {0, 0, 0, 0};
    s.stoch_k_display = s.stoch_d_display = 0;
    s.lsf_display = 0;
    f.width = 800;
    f.height = 600;
    f.title = "Historical Quote WAVE";
  }
  void TearDown() override { logState().QuovaLogFile = previousLog; }

  std::vector<std::string> curveNames(const PlotModel& m) const {
    std::vector<std::string> names;
    for (const Polyline& c : m.curves) names.push_back(c.name);
    return names;
  }
  // A fit of a constant 50 over days 30100..30200.
  Fit_Type flatFit() const {
    Fit_Type fit;
    fit.valid = 1;
    fit.t_min = 30100;
    fit.t_max = 30200;
    fit.t_mid = 30150;
    fit.mean = 50;
    fit.poly_enabled = 1;
    fit.poly_order = 0;
    return fit;
  }

  std::string previousLog;
  test::TempDir dir;
  test::ScopedHost h;
  ChartData d;
  ChartSettings s;
  PlotFrame f;
};

TEST_F(PlotOverlays, EveryOverlayInPaintingOrderAndCheckpointsLogged) {
  s.lsf_display = 1;
  storeFit(s, flatFit());
  s.sma_display = {1, 0, 1};
  s.stoch_k_display = s.stoch_d_display = 1;
  s.vol_display = {0, 1, 0, 1};
  f.volatility = setVolatilityScale(d, s, f.volatility);
  const PlotModel m = buildPlotModel(d, s, quovaPalette(), f);
  writePlotLog(m);
  EXPECT_EQ(curveNames(m), (std::vector<std::string>{"LSF", "LSF", "LSF forecast", "SMA 1", "SMA 3",
                                                     "%K", "%D", "Volatility 2", "Volatility 4"}));
  EXPECT_EQ(dir.read("quova.log"),
            "\nPlotMathAnalysis checkpoint 1.\n\nPlotMathAnalysis checkpoint 2.\n"
            "\nPlotMathAnalysis checkpoint 3.\n\nPlotMathAnalysis checkpoint 4.\n"
            "\nPlotMathAnalysis checkpoint 5.\n\nPlotMathAnalysis checkpoint 6.\n"
            "\nPlotMathAnalysis checkpoint 7.\n\nPlotMathAnalysis checkpoint 8.\n"
            "\nPlotMathAnalysis checkpoint 9.\n");
  // Nothing switched on: the checkpoints are still logged, no curve is drawn.
  ChartSettings none = s;
  none.lsf_display = 0;
  none.sma_display = {0, 0, 0};
  none.stoch_k_display = none.stoch_d_display = 0;
  none.vol_display = {0, 0, 0, 0};
  EXPECT_TRUE(buildPlotModel(d, none, quovaPalette(), f).curves.empty());
}

TEST_F(PlotOverlays, SmaAndVolatilityFollowTheirAxes) {
  s.sma_display = {1, 0, 0};
  s.sma_days[0] = 21;
  s.vol_display = {1, 0, 0, 0};
  s.vol_days[0] = 10;
  s.t_start = 30050;
  s.t_end = 30150;
  f.volatility = setVolatilityScale(d, s, f.volatility);
  const PlotModel m = buildPlotModel(d, s, quovaPalette(), f);
  ASSERT_EQ(m.curves.size(), 2u);
  const Polyline& sma = m.curves[0];
  const Panel* price = m.panel(PanelKind::Price);
  // Quotes 50..150 and the first after the window (151).
  ASSERT_EQ(sma.points.size(), 102u);
  EXPECT_EQ(sma.colour, quovaPalette()[plotcolor::SMA1]);
  for (int i = 50; i <= 151; ++i) {
    const Point& p = sma.points[i - 50];
    EXPECT_EQ(p.x, m.time.x(d.q_date[i]));
    EXPECT_EQ(p.y, price->axis.y(SMA(d, i, 21)));
  }
  const Polyline& vol = m.curves[1];
  const Panel* vp = m.panel(PanelKind::Volatility);
  ASSERT_NE(vp, nullptr);
  EXPECT_EQ(vol.colour, quovaPalette()[plotcolor::Volatility1]);
  for (const Point& p : vol.points) {
    EXPECT_GE(p.y, vp->rect.top);
    EXPECT_LE(p.y, vp->rect.bottom);
  }
  EXPECT_EQ(vol.points[10].y, vp->axis.y(Volatility(d, 60, 10)));
}

TEST_F(PlotOverlays, StochasticInItsPanelWithSellAndBuyMarks) {
  s.stoch_k_display = s.stoch_d_display = 1;
  s.stoch_k_days = 14;
  s.stoch_d_days = 3;
  const PlotModel m = buildPlotModel(d, s, quovaPalette(), f);
  const Panel* p = m.panel(PanelKind::Stochastic);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->rect, (Rect{0, 300, 800, 450}));  // with the volume panel below it
  ASSERT_EQ(curveNames(m), (std::vector<std::string>{"%K", "%D"}));
  for (const Polyline& c : m.curves)
    for (const Point& pt : c.points) {
      EXPECT_GE(pt.y, p->rect.top);
      EXPECT_LE(pt.y, p->rect.bottom);
    }
  // K starts at index 14; D after the first 3 K values.
  EXPECT_EQ(m.curves[0].points.size(), 400u - 14u);
  EXPECT_EQ(m.curves[1].points.size(), 400u - 16u);
  int sells = 0, buys = 0;
  for (const Mark& mk : m.marks) {
    EXPECT_EQ(mk.y, p->rect.bottom - f.text.lineHeight);
    EXPECT_EQ(mk.colour, mk.letter == 'S' ? kRed : kGreen);
    (mk.letter == 'S' ? sells : buys) += 1;
  }
  // About one of each per 40-day cycle.
  EXPECT_GE(sells, 8);
  EXPECT_GE(buys, 8);
  // %K alone: no signals.
  s.stoch_d_display = 0;
  EXPECT_TRUE(buildPlotModel(d, s, quovaPalette(), f).marks.empty());
}

TEST_F(PlotOverlays, PercentDOfZeroDaysIsSwitchedOff) {
  s.stoch_k_display = s.stoch_d_display = 1;
  s.stoch_d_days = 0;
  checkStochasticDays(s);
  const PlotModel m = buildPlotModel(d, s, quovaPalette(), f);
  EXPECT_EQ(curveNames(m), (std::vector<std::string>{"%K"}));
  EXPECT_EQ(s.stoch_d_display, 0);
  EXPECT_TRUE(h.host.sawBox("Error ... Cannot Compute %D .... please set correct days in GlobalSetup.",
                            "in PlotStochastic"));
}

TEST_F(PlotOverlays, StoredFitSolidInsideItsRangeDashDotAfter) {
  storeFit(s, flatFit());
  // Stored but the curve fit not displayed: nothing.
  EXPECT_TRUE(buildPlotModel(d, s, quovaPalette(), f).curves.empty());
  s.lsf_display = 1;
  s.t_start = 30150;  // the window starts inside the fitted range
  const PlotModel m = buildPlotModel(d, s, quovaPalette(), f);
  ASSERT_EQ(m.curves.size(), 2u);
  const Polyline& solid = m.curves[0];
  const Polyline& after = m.curves[1];
  EXPECT_EQ(solid.style, PenStyle::Solid);
  EXPECT_EQ(solid.colour, quovaPalette()[plotcolor::LSF]);
  EXPECT_EQ(solid.points.front().x, 0);
  EXPECT_EQ(solid.points.back().x, m.time.x(30200));
  EXPECT_EQ(after.style, PenStyle::DashDot);
  EXPECT_EQ(after.colour, quovaPalette()[plotcolor::OutOfRangeLSF]);
  EXPECT_EQ(after.points.front(), solid.points.back());
  EXPECT_EQ(after.points[1].x, m.time.x(30201));
  EXPECT_EQ(after.points.back().x, m.time.right);  // past the last quote up to the window's end
  const int y50 = m.panel(PanelKind::Price)->axis.y(50);
  for (const Polyline* c : {&solid, &after})
    for (const Point& p : c->points) EXPECT_EQ(p.y, y50);
  // A damaged record (order beyond 50) is not drawn.
  Fit_Type bad = flatFit();
  bad.poly_order = 51;
  storeFit(s, bad);
  EXPECT_TRUE(buildPlotModel(d, s, quovaPalette(), f).curves.empty());
}

TEST_F(PlotOverlays, StudyRunDrawnLastWithItsRmsText) {
  s.sma_display = {1, 0, 0};
  AnalysisResult r;
  r.done = true;
  r.dates = {30100, 30200, 30300};
  r.values = {40, 50, 60};
  r.rmsText = "RMS Fit Error --  1.250 %";
  const PlotModel m = buildPlotModel(d, s, quovaPalette(), f, &r);
  ASSERT_EQ(curveNames(m), (std::vector<std::string>{"SMA 1", "Fit"}));
  const Panel* price = m.panel(PanelKind::Price);
  EXPECT_EQ(m.curves[1].points[2], (Point{m.time.x(30300), price->axis.y(60)}));
  ASSERT_EQ(m.texts.size(), 1u);
  EXPECT_EQ(m.texts[0].text, "RMS Fit Error --  1.250 %");
  EXPECT_EQ(m.texts[0].x, 50);
  EXPECT_EQ(m.texts[0].y, 5);
}

TEST_F(PlotOverlays, PrinterFrameKeepsTheScreenAspect) {
  // Screen 800 x 600; page 4000 wide: margins 400, frame 3200 wide, s = 5.
  struct Case {
    bool stoch, volat, volume;
    int height;
  } cases[] = {
      {false, false, false, 2400},  // 600/800 * 0.8 * 4000
      {false, false, true, 2400},   // (400/800 * 3200) * 3/2
      {true, false, true, 2400},    // (300/800 * 3200) * 2
      {true, true, true, 2400},     // (240/800 * 3200) * 5/2
  };
  for (const Case& c : cases) {
    ChartSettings st = s;
    st.stoch_k_display = c.stoch;
    st.vol_display = {c.volat, 0, 0, 0};
    st.volume_display = c.volume;
    const PlotFrame p = printerFrame(f, 4000, st);
    EXPECT_TRUE(p.printer);
    EXPECT_EQ(p.left, 400);
    EXPECT_EQ(p.top, 400);
    EXPECT_EQ(p.width, 3200);
    EXPECT_EQ(p.height, c.height) << c.stoch << c.volat << c.volume;
    EXPECT_DOUBLE_EQ(p.s, 5.0);
  }
  // A screen of 900 x 500 with volume: price panel 333 rows.
  f.width = 900;
  f.height = 500;
  const PlotFrame p = printerFrame(f, 3000, s);
  EXPECT_EQ(p.height, static_cast<int>(333.0 / 900 * 0.8 * 3000 * 1.5));
  EXPECT_DOUBLE_EQ(p.s, 3000.0 / 900);
}

TEST_F(PlotOverlays, PrintedPage) {
  f.text.lineHeight = 80;
  f.text.charWidth = 40;
  const PlotFrame p = printerFrame(f, 4000, s);  // volume shown
  const PlotModel m = buildPlotModel(d, s, quovaPalette(), p);
  EXPECT_EQ(m.frame, (Rect{400, 400, 3600, 2800}));
  EXPECT_EQ(m.dateStrip, Rect{});
  EXPECT_EQ(m.readout, "");
  for (const Bar& b : m.bars) {
    EXPECT_GE(b.x, 400);
    EXPECT_LE(b.x, 3600);
  }
  // Coarse value ticks are 7 screen pixels scaled by s.
  for (const Tick& t : m.ticks)
    if (t.kind == TickKind::Coarse) {
      EXPECT_EQ(t.length, 35);
    }
  // The title centred above the frame, the last quote's line below it.
  ASSERT_EQ(m.texts.size(), 2u);
  EXPECT_EQ(m.texts[0].text, "Historical Quote WAVE");
  EXPECT_EQ(m.texts[0].x, 2000 - 21 * 40 / 2);
  EXPECT_LT(m.texts[0].y + m.texts[0].height, 400);
  EXPECT_EQ(m.texts[1].text, Show_QuotePrinted(d, 399, p.dateFormat));
  EXPECT_GT(m.texts[1].y, 2800);
  // The frame's four sides, the bottom of the price plotting area, the volume panel's top.
  auto has = [&](Point a, Point b) {
    for (const Segment& l : m.lines)
      if (l.from == a && l.to == b) return true;
    return false;
  };
  EXPECT_TRUE(has({400, 400}, {3600, 400}));
  EXPECT_TRUE(has({3600, 2800}, {400, 2800}));
  const Panel* price = m.panel(PanelKind::Price);
  EXPECT_TRUE(has({400, price->axis.pixBottom}, {3600, price->axis.pixBottom}));
  const int volumeTop = m.panel(PanelKind::Volume)->rect.top;
  EXPECT_EQ(volumeTop, 400 + 1600);
  EXPECT_TRUE(has({400, volumeTop}, {3600, volumeTop}));
}

// The curves' batch evaluation gives bit for bit the values of the single-quote functions,
// also around closes that are not positive, at the data's ends and out of range.
TEST(IndicatorBatches, SameValuesAsOneQuoteAtATime) {
  ChartData d;
  unsigned seed = 12345;
  for (int i = 0; i < 700; ++i) {
    seed = seed * 1103515245u + 12345u;
    float c = 20 + static_cast<float>(seed >> 16 & 0xfff) / 97.0f;
    if (i == 300 || i == 301 || i == 555) c = 0;
    if (i == 420) c = -3;
    d.append(static_cast<float>(30000 + i), c + 1, c - 1, c, 100);
  }
  // Consecutive indices, and indices with gaps (every third, then a jump).
  std::vector<int> idx, gapped;
  for (int i = -3; i < 705; ++i) idx.push_back(i);
  for (int i = 0; i < 700; i += 3) gapped.push_back(i < 400 ? i : i + 1);
  const LogReturns lr(d);
  for (const std::vector<int>* at : {&idx, &gapped})
    for (int n : {0, 1, 2, 3, 10, 21, 100, 699, 700, 701}) {
      const std::vector<float> sma = smaValues(d, *at, n), vol = volatilityValues(d, lr, *at, n);
      for (std::size_t k = 0; k < at->size(); ++k) {
        const int i = (*at)[k];
        const float s1 = i >= 0 ? SMA(d, i, n) : 0.0f, v1 = i >= 0 ? Volatility(d, i, n) : 0.0f;
        ASSERT_EQ(sma[k], s1) << "SMA n " << n << " i " << i;
        ASSERT_EQ(vol[k], v1) << "volatility n " << n << " i " << i;
      }
    }
}

// A long chart's curves against the one-quote functions at every point: the curves are
// valued a chunk of quotes at a time, and the stored fit walks its angle from date to date.
// A chart of 9000 quotes builds its costliest curves on a second thread: the same points.
TEST(IndicatorBatches, LongChartCurvesPointByPoint) {
  for (const int N : {1300, 9000}) {
    SCOPED_TRACE(N);
    test::ScopedHost h;
    ChartData d;
    for (int i = 0; i < N; ++i) {
      float c = 40 + 15 * static_cast<float>(std::sin(i * 0.013)) + static_cast<float>(i % 11) * 0.1f;
      if (i == 700) c = 0;
      d.append(static_cast<float>(30000 + i + 2 * (i / 5)), c + 1, c - 1, c, 100);
    }
    d.loaded = true;
    find_min_max_scales(d);
    ChartSettings s;
    initquotes(d, s);
    s.sma_display = {1, 0, 0};
    s.vol_display = {1, 0, 1, 0};  // #3 is built beside the others on a long chart
    s.stoch_k_display = 1;
    s.stoch_d_display = 0;
    s.lsf_display = 1;
    Fit_Type fit;
    fit.valid = 1;
    fit.t_min = 30100;
    fit.t_max = 31200;
    fit.t_mid = 30650;
    fit.mean = 40;
    fit.poly_enabled = 1;
    fit.poly_order = 1;
    fit.poly_coef[1] = 1e-3L;
    fit.four_enabled = 1;
    fit.four_order = 7;
    for (int k = 1; k <= 14; ++k) fit.four_coef[k] = 3.0L / k;
    fit.omega = 6.283185307179586L / 365;
    storeFit(s, fit);
    PlotFrame f;
    f.width = 1000;
    f.height = 700;
    f.volatility = setVolatilityScale(d, s, f.volatility);
    const PlotModel m = buildPlotModel(d, s, quovaPalette(), f);
    const ValueAxis& price = m.panel(PanelKind::Price)->axis;
    const ValueAxis& volat = m.panel(PanelKind::Volatility)->axis;
    const ValueAxis& stoch = m.panel(PanelKind::Stochastic)->axis;
    std::size_t fitPoints = 0;
    for (const Polyline& c : m.curves) {
      if (c.name == "SMA 1") {
        ASSERT_EQ(c.points.size(), N - 21u);
        for (int i = 21; i < N; ++i)
          ASSERT_EQ(c.points[i - 21], (Point{m.time.x(d.q_date[i]), price.y(SMA(d, i, 21))})) << i;
      } else if (c.name.rfind("Volatility", 0) == 0) {
        const int n = c.name == "Volatility 1" ? 10 : 50;
        ASSERT_EQ(c.points.size(), static_cast<std::size_t>(N - n));
        for (int i = n; i < N; ++i)
          ASSERT_EQ(c.points[i - n], (Point{m.time.x(d.q_date[i]), volat.y(Volatility(d, i, n))})) << i;
      } else if (c.name == "%K") {
        ASSERT_EQ(c.points.size(), N - 21u);
        for (int i = 21; i < N; ++i)
          ASSERT_EQ(c.points[i - 21], (Point{m.time.x(d.q_date[i]), stoch.y(StochasticK(d, i, 21))})) << i;
      } else {
        // The stored fit's runs, each starting where the last ended: every quote date, then
        // steps after the last quote.
        for (std::size_t k = fitPoints ? 1 : 0; k < c.points.size(); ++k, ++fitPoints) {
          if (fitPoints >= static_cast<std::size_t>(N)) continue;
          const double date = d.q_date[fitPoints];
          ASSERT_EQ(c.points[k], (Point{m.time.x(date), price.y(static_cast<double>(PFitVal(date, fit)))}))
              << fitPoints;
        }
      }
    }
    EXPECT_GT(fitPoints, static_cast<std::size_t>(N));
    std::vector<std::string> names;
    for (const Polyline& c : m.curves) names.push_back(c.name);
    EXPECT_EQ(names, (std::vector<std::string>{"LSF", "LSF", "LSF forecast", "SMA 1", "%K", "Volatility 1", "Volatility 3"}));
  }
}

TEST(PrinterPalette, SystemColoursAndLightColours) {
  SystemColors sys;
  sys.windowText = RGB(1, 2, 3);
  sys.window = RGB(250, 251, 252);
  const Palette screen = quovaPalette();
  const Palette p = printerPalette(screen, sys);
  EXPECT_EQ(p[0], sys.windowText);
  EXPECT_EQ(p[1], sys.window);
  EXPECT_EQ(p[2], sys.windowText);
  EXPECT_EQ(p[3], RGB(255, 0, 0));
  EXPECT_EQ(p[4], RGB(192, 192, 192));
  EXPECT_EQ(p[5], RGB(0, 0, 255));
  EXPECT_EQ(p[6], RGB(0, 255, 0));
  EXPECT_EQ(p[7], RGB(255, 255, 0));
  EXPECT_EQ(p[8], sys.windowText);
  for (int i = 9; i < 16; ++i) EXPECT_EQ(p[i], screen[i]);
}

}  // namespace
}  // namespace quova
