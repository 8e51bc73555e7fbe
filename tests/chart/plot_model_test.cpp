// The plot model on numbers: panels, the widened short window, bars inside the window,
// axis labels inside their panels, titles, legends and the readout text.
#include "chart/plot_model.h"

#include <gtest/gtest.h>

#include "base/colors.h"
#include "chart/chart_data.h"
#include "chart/chart_settings.h"
#include "settings/settings.h"
#include "util/dates.h"

namespace quova {
namespace {

ChartData series(int n, int firstDay, float close = 10, float step = 0.5f) {
  ChartData d;
  for (int i = 0; i < n; ++i) {
    const float c = close + step * static_cast<float>(i % 7);
    d.append(static_cast<float>(firstDay + i), c + 1, c - 1, c, 1000.0f * static_cast<float>(i + 1));
  }
  d.loaded = true;
  find_min_max_scales(d);
  return d;
}

PlotFrame frame() {
  PlotFrame f;
  f.width = 800;
  f.height = 600;
  f.title = "Historical Quote IBM - chart";
  return f;
}

TEST(PlotModel, ShortWindowWidenedAndWeekTicks) {
  const int day0 = DayCount(3, 1, 1999);
  ChartData d = series(20, day0);
  ChartSettings s;
  s.t_start = static_cast<float>(day0);
  s.t_end = static_cast<float>(day0 + 20);
  const PlotModel m = buildPlotModel(d, s, quovaPalette(), frame());
  EXPECT_EQ(m.time.tEnd, day0 + 50);
  // 50 days: day ticks (length 6), week ticks (10, width 1) and month ticks (10, width 2).
  int weekTicks = 0, dayTicks = 0;
  for (const Tick& t : m.ticks) {
    if (t.kind != TickKind::Time) continue;
    if (t.length == 10 && t.penWidth == 1) ++weekTicks;
    if (t.length == 6) ++dayTicks;
  }
  EXPECT_GE(dayTicks, 50);
  EXPECT_GE(weekTicks, 7);
  EXPECT_LE(weekTicks, 8);
}

TEST(PlotModel, PanelsAxesAndFlatPrices) {
  ChartData d = series(40, 30000, 20, 0);  // every close 20, highs 21, lows 19
  ChartSettings s;
  s.t_start = 29999;
  s.t_end = 30070;
  s.stoch_k_display = s.stoch_d_display = 0;
  s.vol_display = {0, 0, 0, 0};
  PlotModel m = buildPlotModel(d, s, quovaPalette(), frame());
  ASSERT_EQ(m.panels.size(), 2u);
  EXPECT_EQ(m.panels[0].rect, (Rect{0, 0, 800, 400}));
  EXPECT_EQ(m.panels[0].axis.pixBottom, 400 - 16);
  EXPECT_NEAR(m.panels[0].axis.bottom, 19 - 0.2, 1e-9);
  EXPECT_EQ(m.panels[1].kind, PanelKind::Volume);
  EXPECT_NEAR(m.panels[1].axis.top, 1.1 * 40000, 1e-6);
  // Every value label lies inside its panel's pixel range.
  for (const Label& l : m.labels) {
    EXPECT_GE(l.y, 0) << l.text;
    EXPECT_LE(l.y + l.height, 600) << l.text;
  }
  // A single flat series: the range is the price maximum.
  ChartData flat;
  flat.append(30000, 0, 0, 50, 0);
  flat.loaded = true;
  s.volume_display = 0;
  m = buildPlotModel(flat, s, quovaPalette(), frame());
  EXPECT_NEAR(m.panels[0].axis.bottom, 45, 1e-9);
  EXPECT_NEAR(m.panels[0].axis.top, 55, 1e-9);
  ASSERT_EQ(m.bars.size(), 1u);
  EXPECT_FALSE(m.bars[0].hasRange);
  EXPECT_TRUE(m.bars[0].hasClose);
}

TEST(PlotModel, BarsInsideTheWindowPlusTheNext) {
  ChartData d = series(100, 30000);
  ChartSettings s;
  s.t_start = 30010;
  s.t_end = 30050;
  const PlotModel m = buildPlotModel(d, s, quovaPalette(), frame());
  ASSERT_EQ(m.bars.size(), 42u);  // 30010..30050 and 30051
  EXPECT_EQ(m.bars.front().x, 0);
  EXPECT_EQ(m.bars.back().x, 800);
  const Panel* p = m.panel(PanelKind::Price);
  for (const Bar& b : m.bars) {
    EXPECT_LE(b.yHigh, b.yLow);
    EXPECT_GE(b.yHigh, p->rect.top);
    EXPECT_LE(b.yLow, p->axis.pixBottom);
  }
  // Bars in the Hi/Lo/Close colour: yellow on the program's black background, black on
  // the desktop's white one.
  EXPECT_EQ(m.barColour, RGB(255, 255, 0));
  EXPECT_NE(m.barColour, m.background);
  SystemColors sys;
  EXPECT_EQ(buildPlotModel(d, s, windowsPalette(sys), frame()).barColour, sys.windowText);
}

TEST(PlotModel, TitlesLegendsAndReferenceLines) {
  ChartData d = series(60, 30000);
  for (auto& v : d.q_vol) v = 0;
  ChartSettings s;
  s.vol_display = {1, 0, 1, 0};
  s.sma_display = {1, 1, 0};
  const PlotModel m = buildPlotModel(d, s, quovaPalette(), frame());
  std::vector<std::string> legends;
  for (const Label& l : m.legends) legends.push_back(l.text);
  EXPECT_EQ(legends, (std::vector<std::string>{"LSF", "SMA", " 21 day", "105 day", "10 day", "50 day", "%K", "%D"}));
  EXPECT_EQ(m.legends[0].x, 800 - 7 * 8 - 10);
  bool noVolume = false, volat = false;
  for (const Label& l : m.labels) {
    noVolume |= l.text == "No Valid Volume Data Found";
    volat |= l.text == "% Volatility";
  }
  EXPECT_TRUE(noVolume);
  EXPECT_TRUE(volat);
  ASSERT_NE(m.panel(PanelKind::Volatility), nullptr);
  EXPECT_EQ(m.panel(PanelKind::Volatility)->axis.top, 100.0);  // the default frame's range
  ChartSettings manual = s;
  manual.vol_auto_scale = 0;
  manual.vol_scale_max = 40;
  EXPECT_EQ(buildPlotModel(d, manual, quovaPalette(), frame()).panel(PanelKind::Volatility)->axis.top, 40.0);
  const Panel* st = m.panel(PanelKind::Stochastic);
  ASSERT_NE(st, nullptr);
  int dotted = 0;
  for (const Segment& l : m.lines)
    if (l.style == PenStyle::Dot) {
      ++dotted;
      EXPECT_TRUE(l.from.y == st->rect.bottom - static_cast<int>((st->rect.bottom - st->rect.top) * 0.8) ||
                  l.from.y == st->rect.bottom - static_cast<int>((st->rect.bottom - st->rect.top) * 0.2));
    }
  EXPECT_EQ(dotted, 2);
}

// The labels of the date line by the window's span: a 20-day window (widened to 50 days)
// labels months; 3 years label the Januaries, their quarters only ticked (long ticks of
// width 1 between the year ticks of width 2); 40 years label the Januaries of years
// divisible by 5. Labels are drawn only past the first 5 % of the span.
TEST(PlotModel, CalendarLabelsBySpan) {
  struct Case {
    int m1, d1, y1, m2, d2, y2;
    std::vector<std::string> labels;  // every label of the date line, in order
  };
  const Case cases[] = {
      {3, 1, 1999, 3, 21, 1999, {"04/1999"}},
      {7, 1, 1996, 7, 1, 1999, {"01/1997", "01/1998", "01/1999"}},
      {1, 1, 1960, 1, 1, 2000, {"01/1965", "01/1970", "01/1975", "01/1980", "01/1985", "01/1990", "01/1995"}},
  };
  for (const Case& c : cases) {
    const int t1 = DayCount(c.m1, c.d1, c.y1), t2 = DayCount(c.m2, c.d2, c.y2);
    ChartData d = series(20, t1);
    ChartSettings s;
    s.t_start = static_cast<float>(t1);
    s.t_end = static_cast<float>(t2);
    PlotFrame f = frame();
    f.width = 2000;
    const PlotModel m = buildPlotModel(d, s, quovaPalette(), f);
    // On screen the labels lie in the date strip, vertically centred, in black.
    const int dateLine = m.dateStrip.top + std::max(0, (m.dateStrip.height() - m.textHeight) / 2);
    std::vector<std::string> labels;
    for (const Label& l : m.labels)
      if (l.y == dateLine) {
        labels.push_back(l.text);
        EXPECT_EQ(l.colour, kBlack);
      }
    EXPECT_EQ(labels, c.labels) << c.y1;
  }
  // The 3-year window's month starts: year ticks (length 10, width 2) in January, quarter
  // ticks (10, width 1) in April, July and October, month ticks (6) between.
  const int t1 = DayCount(7, 1, 1996);
  ChartData d = series(20, t1);
  ChartSettings s;
  s.t_start = static_cast<float>(t1);
  s.t_end = static_cast<float>(DayCount(7, 1, 1999));
  const PlotModel m = buildPlotModel(d, s, quovaPalette(), frame());
  auto tickAt = [&](int day) -> const Tick* {
    const int x = m.time.x(day);
    for (const Tick& t : m.ticks)
      if (t.kind == TickKind::Time && t.from.x == x) return &t;
    return nullptr;
  };
  const Tick* jan = tickAt(DayCount(1, 1, 1998));
  const Tick* apr = tickAt(DayCount(4, 1, 1998));
  const Tick* may = tickAt(DayCount(5, 1, 1998));
  ASSERT_TRUE(jan && apr && may);
  EXPECT_EQ(jan->length, 10);
  EXPECT_EQ(jan->penWidth, 2);
  EXPECT_EQ(apr->length, 10);
  EXPECT_EQ(apr->penWidth, 1);
  EXPECT_EQ(may->length, 6);
}

// A model handed back on destruction lends its large buffers to the next model built on
// the thread, which is the same chart as when built afresh.
TEST(PlotModel, NextModelReusesTheBuffersOfTheLast) {
  ChartData d = series(5000, 30000);
  ChartSettings s;
  initquotes(d, s);
  s.sma_display = {1, 1, 0};
  const Point* smaPoints = nullptr;
  const Bar* barsData = nullptr;
  PlotModel copy;
  {
    const PlotModel first = buildPlotModel(d, s, quovaPalette(), frame());
    copy = first;
    ASSERT_FALSE(first.curves.empty());
    smaPoints = first.curves[0].points.data();
    barsData = first.bars.data();
  }
  const PlotModel next = buildPlotModel(d, s, quovaPalette(), frame());
  EXPECT_EQ(next.bars.data(), barsData);
  bool reused = false;
  for (const Polyline& c : next.curves) reused |= c.points.data() == smaPoints;
  EXPECT_TRUE(reused);
  ASSERT_EQ(next.curves.size(), copy.curves.size());
  for (std::size_t i = 0; i < next.curves.size(); ++i) EXPECT_EQ(next.curves[i].points, copy.curves[i].points);
  ASSERT_EQ(next.bars.size(), copy.bars.size());
  for (std::size_t i = 0; i < next.bars.size(); ++i) {
    EXPECT_EQ(next.bars[i].x, copy.bars[i].x);
    EXPECT_EQ(next.bars[i].yClose, copy.bars[i].yClose);
  }
}

TEST(PlotModel, Readout) {
  ChartData d;
  d.append(static_cast<float>(DayCount(12, 24, 1999)), 11, 9, 10, 1500);
  d.loaded = true;
  const char* tail = "  (right-click for details)";
  EXPECT_EQ(Show_Quote(d, 0, "Historical Quote IBM", 1021),
            std::string("IBM    12/24/1999    High -   11.000    Low -    9.000    Close -   10.000    Volume -      1500    ") + tail);
  d.append(static_cast<float>(DayCount(12, 27, 1999)), 11, 9, 10, 1500);
  EXPECT_EQ(Show_Quote(d, 1, "a b c", 1021).find("Change"), std::string::npos);  // index 1: no change
  d.append(static_cast<float>(DayCount(12, 28, 1999)), 11, 9, 9.5f, 1500);
  d.append(static_cast<float>(DayCount(12, 29, 1999)), 11, 9, 9.5f, 1500);
  const std::string r2 = Show_Quote(d, 2, "a b c", 1022);
  EXPECT_NE(r2.find("1999/12/28"), std::string::npos);
  EXPECT_NE(r2.find("Dn -     -0.500      -5.0 %"), std::string::npos) << r2;
  EXPECT_NE(Show_Quote(d, 3, "a b c", 1021).find("No Change  (right"), std::string::npos);
  EXPECT_EQ(Show_Quote(d, 3, "", 1021).substr(0, 4), "    ");
  d.loaded = false;
  EXPECT_EQ(Show_Quote(d, 0, "a b c", 1021), "");
}

}  // namespace
}  // namespace quova

namespace quova {
namespace {

// At the default 500 x 220 and larger, with every panel, no two labels overlap, none is cut
// by its panel, the value labels start right of their ticks; a chart without volume has no
// volume scale, only its message.
TEST(PlotModel, LabelsNeitherOverlapNorTouchTheirTicks) {
  for (auto [w, h, volume] : {std::tuple{500, 220, true}, {800, 600, true}, {500, 220, false}}) {
    ChartData d = series(300, 36000);
    if (!volume)
      for (auto& v : d.q_vol) v = 0;
    ChartSettings s;
    s.t_start = 35999;
    s.t_end = 36330;
    s.vol_display = {1, 1, 0, 0};
    PlotFrame f = frame();
    f.width = w;
    f.height = h;
    const PlotModel m = buildPlotModel(d, s, quovaPalette(), f);
    for (std::size_t i = 0; i < m.labels.size(); ++i) {
      const Label& a = m.labels[i];
      for (std::size_t j = i + 1; j < m.labels.size(); ++j) {
        const Label& b = m.labels[j];
        const bool apart = a.x + a.width <= b.x || b.x + b.width <= a.x || a.y + a.height <= b.y || b.y + b.height <= a.y;
        EXPECT_TRUE(apart) << w << ": \"" << a.text << "\" and \"" << b.text << "\"";
      }
      EXPECT_TRUE(a.x == 0 || a.x > 7) << a.text;  // never on the 7-pixel tick at the left edge
    }
    const Panel* vp = m.panel(PanelKind::Volume);
    ASSERT_NE(vp, nullptr);
    int inVolume = 0;
    for (const Label& l : m.labels) inVolume += l.y >= vp->rect.top && l.y < vp->rect.bottom;
    EXPECT_EQ(inVolume, volume ? inVolume : 1) << w;  // "No Valid Volume Data Found" alone
  }
}

}  // namespace
}  // namespace quova
