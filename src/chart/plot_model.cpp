// Builds the plot model of a loaded chart: panels and axes (setup_plot), the daily bars,
// panel titles and legends, the analysis overlays, the 80/20 stochastic references, the
// readout text, and the printed page's frame and colours.
#include "chart/plot_model.h"

#include <algorithm>
#include <limits>
#include <cmath>
#include <atomic>
#include <cstdio>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include "base/colors.h"
#include "base/log.h"
#include "chart/chart_data.h"
#include "chart/chart_scales.h"
#include "chart/chart_settings.h"
#include "chart/analysis_run.h"
#include "chart/fit_overlays.h"
#include "chart/indicators.h"
#include "util/dates.h"

namespace quova {

int TextMetrics::measure(std::string_view text) const {
  return width ? width(text) : static_cast<int>(text.size()) * charWidth;
}

namespace {

// The buffers handed back by the models, a few of each kind, shared by the threads that
// build parts of a model. Buffers below a page or two are not worth keeping.
struct BufferPool {
  static constexpr std::size_t kKeep = 24, kSmallest = 1024;
  std::mutex lock;
  std::vector<std::vector<Point>> points;
  std::vector<std::vector<Bar>> bars;
  BufferPool();
  ~BufferPool();
};
std::atomic<bool> poolAlive{false};  // between the pool's construction and destruction
BufferPool::BufferPool() { poolAlive = true; }
BufferPool::~BufferPool() { poolAlive = false; }

BufferPool& pool() {
  static BufferPool p;
  return p;
}

// The smallest kept buffer with room for n (taken out of the pool), or a new one.
template <class T>
std::vector<T> take(std::vector<std::vector<T>>& kept, std::size_t n) {
  std::size_t best = kept.size();
  for (std::size_t i = 0; i < kept.size(); ++i)
    if (kept[i].capacity() >= n && (best == kept.size() || kept[i].capacity() < kept[best].capacity()))
      best = i;
  std::vector<T> v;
  if (best < kept.size()) {
    v = std::move(kept[best]);
    kept[best] = std::move(kept.back());
    kept.pop_back();
    v.clear();
  }
  v.reserve(n);
  return v;
}

template <class T>
void giveBack(std::vector<std::vector<T>>& kept, std::vector<T>&& v) {
  if (v.capacity() < BufferPool::kSmallest || kept.size() >= BufferPool::kKeep) return;
  kept.push_back(std::move(v));
}

}  // namespace

std::vector<Point> pointBuffer(std::size_t capacity) {
  BufferPool& p = pool();
  std::lock_guard<std::mutex> hold(p.lock);
  return take(p.points, capacity);
}

std::vector<Bar> barBuffer(std::size_t capacity) {
  BufferPool& p = pool();
  std::lock_guard<std::mutex> hold(p.lock);
  return take(p.bars, capacity);
}

PlotModel::~PlotModel() {
  if (!poolAlive) return;  // no model was built yet, or the program is ending
  BufferPool& p = pool();
  std::lock_guard<std::mutex> hold(p.lock);
  for (Polyline& c : curves) giveBack(p.points, std::move(c.points));
  giveBack(p.bars, std::move(bars));
}

const Panel* PlotModel::panel(PanelKind kind) const {
  for (const Panel& p : panels)
    if (p.kind == kind) return &p;
  return nullptr;
}

namespace {

struct Builder {
  PlotModel& m;
  const PlotFrame& f;
  Colour axis;

  Label label(std::string text, int x, int y, Colour c) const {
    Label l;
    l.width = f.text.measure(text);
    l.height = f.text.lineHeight;
    l.text = std::move(text);
    l.x = x;
    l.y = y;
    l.colour = c;
    return l;
  }

  // Four horizontal marks per value: at both edges and around the thirds of the width.
  void valueTicks(const ValueAxis& a, double increment, bool coarse,
                  const std::function<std::string(double)>& text) {
    const int L = static_cast<int>((coarse ? 7 : 3) * m.s);
    const int left = m.frame.left, right = m.frame.right;
    const int x13 = left + (right - left) / 3, x23 = left + 2 * (right - left) / 3;
    int lastTop = std::numeric_limits<int>::max(), lastBottom = std::numeric_limits<int>::min();
    for (double v : quova::valueTicks(a.bottom, a.top, increment, 2000)) {
      const int y = a.y(v);
      const TickKind kind = coarse ? TickKind::Coarse : TickKind::Fine;
      for (auto [x1, x2] : {std::pair{left, left + L}, std::pair{x13 + L / 2, x13 - L},
                            std::pair{x23 - L / 2, x23 + L}, std::pair{right, right - L}})
        m.ticks.push_back({{x1, y}, {x2, y}, L, 1, axis, kind});
      if (!coarse) continue;
      // Right of the tick, so that the tick does not read as a minus sign; a label that
      // would touch the one before it is left out rather than drawn over it.
      Label l = label(text(v), left + L + static_cast<int>(3 * m.s), 0, axis);
      l.y = y - l.height / 2;
      if (l.y < a.pixTop || l.y + l.height > a.pixBottom) continue;
      if (l.y + l.height > lastTop && l.y < lastBottom) continue;
      lastTop = l.y;
      lastBottom = l.y + l.height;
      m.labels.push_back(std::move(l));
    }
  }
};

Panel makePanel(PanelKind kind, int left, int right, int top, int bottom, double lo, double hi) {
  Panel p;
  p.kind = kind;
  p.rect = {left, top, right, bottom};
  p.axis.bottom = lo;
  p.axis.top = hi;
  p.axis.pixBottom = bottom;
  p.axis.pixTop = top;
  return p;
}

std::string dateText(float day, int dateFormat) {
  char buf[16] = {};
  if (day < 1 || day > kMaxDayNumber || show_date(day, buf, dateFormat, 4) != 0) return "";
  return buf;
}

}  // namespace

PlotModel setupPlot(const ChartData& data, const ChartSettings& st, const Palette& colors,
                    const PlotFrame& f) {
  PlotModel m;
  m.frame = {f.left, f.top, f.left + f.width, f.top + f.height};
  m.s = f.s;
  m.textHeight = f.text.lineHeight;
  m.background = colors[plotcolor::Background];
  Builder b{m, f, colors[plotcolor::Axes]};
  const int left = m.frame.left, right = m.frame.right;

  // Time window; a window shorter than 30 days is widened by 30.
  double tStart = st.t_start, tEnd = st.t_end;
  double span = tEnd - tStart;
  if (span < 30) {
    tEnd += 30;
    span = tEnd - tStart;
  }
  m.time = {tStart, tEnd, left, right};

  // Panels.
  const bool stoch = st.stochasticShown(), volat = st.anyVolatilityShown(), vol = st.volume_display != 0;
  const PanelBorders pb = layoutPanels(m.frame.top, m.frame.bottom, stoch, volat, vol);
  const WindowExtremes e = find_min_max_quotes(data, tStart, tEnd);
  double pmin = e.price_min, pmax = e.price_max;
  if (!e.anyPrice()) {
    pmin = 0;
    pmax = 1;
  }
  double R = pmax - pmin;
  if (R == 0) R = pmax;
  if (R == 0) R = 1;
  const int plotBottom = pb.priceBottom - f.text.lineHeight;
  Panel price = makePanel(PanelKind::Price, left, right, pb.priceTop, pb.priceBottom,
                          pmin - 0.1 * R, pmax + 0.1 * R);
  price.axis.pixBottom = plotBottom;
  const Increments pinc = get_quote_scale_increments(R);
  price.axis.fine = pinc.fine;
  price.axis.coarse = pinc.coarse;
  m.panels.push_back(price);
  if (!f.printer) {
    const int h = f.stripHeight;
    m.dateStrip = {left + 2, pb.priceBottom - h, right - 2, pb.priceBottom - 2};
    m.leftButton = {m.dateStrip.left, m.dateStrip.top, m.dateStrip.left + h, m.dateStrip.bottom};
    m.rightButton = {m.dateStrip.right - h, m.dateStrip.top, m.dateStrip.right, m.dateStrip.bottom};
  }
  if (stoch) {
    Panel p = makePanel(PanelKind::Stochastic, left, right, pb.stochTop, pb.stochBottom, 0, 100);
    p.axis.fine = 5;
    p.axis.coarse = 20;
    m.panels.push_back(p);
    m.lines.push_back({{left, pb.stochTop}, {right, pb.stochTop}, b.axis, 1, PenStyle::Solid});
  }
  if (volat) {
    // Manual scaling takes the settings; automatic scaling the view's current extremes.
    VolatilityRange vr = f.volatility;
    if (!st.vol_auto_scale) vr = {st.vol_scale_min, st.vol_scale_max};
    Panel p = makePanel(PanelKind::Volatility, left, right, pb.volatTop, pb.volatBottom, vr.bottom, vr.top);
    const Increments vinc = get_volatility_scale_increments(vr.top - vr.bottom);
    p.axis.fine = vinc.fine;
    p.axis.coarse = vinc.coarse;
    m.panels.push_back(p);
    m.lines.push_back({{left, pb.volatTop}, {right, pb.volatTop}, b.axis, 1, PenStyle::Solid});
  }
  if (vol) {
    const double vmax = e.anyVolume() ? e.volume_max : 0.0;
    Panel p = makePanel(PanelKind::Volume, left, right, pb.volumeTop, pb.volumeBottom, 0,
                        vmax > 0 ? 1.1 * vmax : 1.0);
    const Increments vinc = get_volume_scale_increments(vmax);
    p.axis.fine = vinc.fine;
    p.axis.coarse = vinc.coarse;
    m.panels.push_back(p);
  }

  // Calendar ticks from the bottom of the price plotting area upwards.
  const double years = span * (1 / 365.25);
  TicTime tic;
  GetTicIntervals(span, span / 7, years * 12, years, years / 10, tic, m.s);
  const double steps[3] = {1.0 / 9.0, 1.0, 7.0};
  for (int lv = 0; lv < 3; ++lv) {
    if (!tic.level[lv].enabled) continue;
    const double t0 = find_min_time(tStart);
    const long long n = static_cast<long long>(std::floor((tEnd - t0) / steps[lv]));
    for (long long i = 0; i <= n && i < 200000; ++i) {
      const double t = t0 + static_cast<double>(i) * steps[lv];
      if (t < tStart) continue;  // would all be drawn on the left edge
      const int x = m.time.x(t);
      m.ticks.push_back({{x, plotBottom}, {x, plotBottom - tic.level[lv].length},
                         tic.level[lv].length, tic.level[lv].penWidth, b.axis, TickKind::Time});
    }
  }
  int lastDateRight = std::numeric_limits<int>::min();
  for (int day : monthStarts(tStart, tEnd)) {
    char text[16];
    if (show_date(static_cast<float>(day), text, DATE_FMT_US, 4) != 0) break;
    int mdy[3];
    DecodeDate(text, mdy);
    const bool isLabel = CheckTicTime(mdy[0], mdy[2], tic);
    if (tic.current < 0) continue;
    const TicLevel& lv = tic.level[tic.current];
    const int x = m.time.x(day);
    m.ticks.push_back({{x, plotBottom}, {x, plotBottom - lv.length}, lv.length, lv.penWidth, b.axis,
                       TickKind::Time});
    if (isLabel && day > tStart + 0.05 * span) {
      // On screen the labels sit inside the light date strip, in black, between its buttons.
      const bool strip = m.dateStrip.height() > 0;
      Label l = b.label(monthLabel(mdy[0], mdy[2], f.dateFormat), 0, plotBottom, strip ? kBlack : b.axis);
      l.x = x - l.width / 2;
      int lo = left, hi = right;
      if (strip) {
        l.y = m.dateStrip.top + std::max(0, (m.dateStrip.height() - l.height) / 2);
        lo = m.leftButton.right;
        hi = m.rightButton.left;
      }
      // One that would run into the label before it is left out.
      if (l.x >= lo && l.x + l.width <= hi && l.x > lastDateRight) {
        lastDateRight = l.x + l.width;
        m.labels.push_back(std::move(l));
      }
    }
  }

  // Value ticks: fine first, then coarse with labels.
  for (bool coarse : {false, true})
    for (const Panel& p : m.panels) {
      // A volume panel without volume shows its message only, no empty scale.
      if (p.kind == PanelKind::Volume && !e.anyVolume()) continue;
      const double inc = coarse ? p.axis.coarse : p.axis.fine;
      std::function<std::string(double)> text;
      switch (p.kind) {
        case PanelKind::Price: text = [R](double v) { return priceLabel(v, R); }; break;
        case PanelKind::Volume: {
          const double top = p.axis.top;
          text = [top](double v) { return volumeLabel(v, top); };
          break;
        }
        default: text = percentLabel;
      }
      b.valueTicks(p.axis, inc, coarse, text);
    }
  return m;
}

std::string Show_Quote(const ChartData& d, int index, std::string_view title, int dateFormat) {
  if (!d.loaded || index < 0 || index >= d.num_quotes) return "";
  // The label is the third blank-separated word of this chart's own title.
  std::string label;
  {
    std::size_t pos = 0;
    for (int word = 0; word < 3; ++word) {
      pos = title.find_first_not_of(' ', pos);
      if (pos == std::string_view::npos) break;
      const std::size_t end = std::min(title.find(' ', pos), title.size());
      if (word == 2) label = std::string(title.substr(pos, end - pos));
      pos = end;
    }
  }
  char buf[512];
  std::snprintf(buf, sizeof buf, "%s    %s    High -%9.3f    Low -%9.3f    Close -%9.3f    Volume - %9.0f    ",
                label.c_str(), dateText(d.q_date[index], dateFormat).c_str(), d.q_high[index],
                d.q_low[index], d.q_close[index], d.q_vol[index]);
  std::string out = buf;
  if (index > 1) {
    const float change = d.q_close[index] - d.q_close[index - 1];
    const float prev = d.q_close[index - 1];
    const double pct = change == 0 ? 0.0 : prev == 0 ? 9999.99 : 100.0 * change / prev;
    std::snprintf(buf, sizeof buf, " - %10.3f  %8.1f %%", static_cast<double>(change), pct);
    if (change < 0) out += std::string("Dn") + buf;
    else if (change > 0) out += std::string("Up") + buf;
    else out += "No Change";
  }
  out += "  (right-click for details)";
  if (out.size() > 180) out.resize(180);  // the shared buffer holds 180 characters
  return out;
}

std::string Show_QuotePrinted(const ChartData& d, int index, int dateFormat) {
  if (!d.loaded || index < 0 || index >= d.num_quotes) return "";
  char buf[256];
  std::snprintf(buf, sizeof buf, "Hi -%9.3f  Lo -%9.3f  Cl -%9.3f  Vol -%9.0f  ", d.q_high[index],
                d.q_low[index], d.q_close[index], d.q_vol[index]);
  return buf + dateText(d.q_date[index], dateFormat);
}

namespace {

// On paper: the title centred above the frame, the frame, a line at the bottom of the price
// plotting area and one at the top of each lower panel.
void addPageFrame(PlotModel& m, const PlotFrame& f, Colour c) {
  const Rect& r = m.frame;
  Label t;
  t.text = f.title;
  t.width = f.text.measure(t.text);
  t.height = f.text.lineHeight;
  t.x = (r.left + r.right - t.width) / 2;
  t.y = r.top - 2 * t.height;
  t.colour = c;
  m.texts.push_back(std::move(t));
  auto line = [&](int x1, int y1, int x2, int y2) {
    m.lines.push_back({{x1, y1}, {x2, y2}, c, 1, PenStyle::Solid});
  };
  line(r.left, r.top, r.right, r.top);
  line(r.right, r.top, r.right, r.bottom);
  line(r.right, r.bottom, r.left, r.bottom);
  line(r.left, r.bottom, r.left, r.top);
  for (const Panel& p : m.panels) {
    const int y = p.kind == PanelKind::Price ? p.axis.pixBottom : p.rect.top;
    line(r.left, y, r.right, y);
  }
}

}  // namespace

PlotFrame printerFrame(const PlotFrame& screen, int pageWidth, const ChartSettings& st) {
  PlotFrame f = screen;
  f.printer = true;
  f.stripHeight = 0;
  const double W = pageWidth;
  const int lower = (st.stochasticShown() ? 1 : 0) + (st.anyVolatilityShown() ? 1 : 0) +
                    (st.volume_display != 0 ? 1 : 0);
  const PanelBorders pb = layoutPanels(0, screen.height, st.stochasticShown(),
                                       st.anyVolatilityShown(), st.volume_display != 0);
  const double screenWidth = screen.width > 0 ? screen.width : 1;
  const double aspect = (pb.priceBottom - pb.priceTop) / screenWidth;
  double height = aspect * 0.8 * W;
  static constexpr double kLowerFactor[4] = {1.0, 1.5, 2.0, 2.5};
  height *= kLowerFactor[lower];
  f.left = static_cast<int>(0.1 * W);
  f.top = static_cast<int>(0.1 * W);
  f.width = static_cast<int>(0.9 * W) - f.left;
  f.height = static_cast<int>(height);
  f.s = W / screenWidth;
  return f;
}

Palette printerPalette(const Palette& screen, const SystemColors& sys) {
  Palette p = screen;
  p[0] = p[2] = p[8] = sys.windowText;
  p[1] = sys.window;
  p[3] = RGB(255, 0, 0);      // light red
  p[4] = RGB(192, 192, 192);  // light grey
  p[5] = RGB(0, 0, 255);      // light blue
  p[6] = RGB(0, 255, 0);      // light green
  p[7] = RGB(255, 255, 0);    // light yellow
  return p;
}

PlotModel buildPlotModel(const ChartData& data, const ChartSettings& st, const Palette& colors,
                         const PlotFrame& f, const AnalysisResult* study) {
  PlotModel m = setupPlot(data, st, colors, f);
  Builder b{m, f, colors[plotcolor::Axes]};
  const Panel* price = m.panel(PanelKind::Price);
  const Panel* volume = m.panel(PanelKind::Volume);
  if (f.printer) addPageFrame(m, f, b.axis);

  // Bars of the quotes inside the window, and the first one after it, in the Hi/Lo/Close
  // colour: black on paper and with the desktop's palette, but the program's own palette
  // has a black background, where black bars could not be seen.
  m.barColour = colors[plotcolor::HiLoClose];
  m.bars = barBuffer(static_cast<std::size_t>(data.num_quotes));
  {
    // A chunk of quotes at a time, each column and row mapped by scaleMany.
    constexpr int kChunk = 256;
    double t[kChunk], t1[kChunk], hi[kChunk], lo[kChunk], cl[kChunk], vo[kChunk];
    int x[kChunk], x1[kChunk], yHi[kChunk], yLo[kChunk], yCl[kChunk], yVo[kChunk], at[kChunk];
    const int yBase = volume ? volume->axis.y(0) : 0;
    int queued = 0;
    auto flush = [&] {
      const std::size_t n = static_cast<std::size_t>(queued);
      m.time.x(t, n, x);
      m.time.x(t1, n, x1);
      price->axis.y(hi, n, yHi);
      price->axis.y(lo, n, yLo);
      price->axis.y(cl, n, yCl);
      if (volume) volume->axis.y(vo, n, yVo);
      for (int j = 0; j < queued; ++j) {
        const int i = at[j];
        Bar bar;
        bar.x = x[j];
        if (data.q_high[i] > 0 || data.q_low[i] > 0) {
          bar.hasRange = true;
          bar.yHigh = yHi[j];
          bar.yLow = yLo[j];
        }
        if (data.q_close[i] > 0) {
          bar.hasClose = true;
          bar.yClose = yCl[j];
          bar.xCloseEnd = x1[j];
        }
        if (volume) {
          bar.hasVolume = true;
          bar.yVolume = yVo[j];
          bar.yVolumeBase = yBase;
        }
        m.bars.push_back(bar);
      }
      queued = 0;
    };
    for (int i = 0; i < data.num_quotes; ++i) {
      const double day = data.q_date[i];
      if (day < m.time.tStart) continue;
      if (i > 0 && data.q_date[i - 1] > m.time.tEnd) break;
      at[queued] = i;
      t[queued] = day;
      t1[queued] = day + 1;
      hi[queued] = data.q_high[i];
      lo[queued] = data.q_low[i];
      cl[queued] = data.q_close[i];
      vo[queued] = data.q_vol[i];
      if (++queued == kChunk) flush();
    }
    flush();
  }

  // Titles and legends.
  const int lh = f.text.lineHeight;
  auto centred = [&](const Panel& p, const std::string& text, int y, Colour c) {
    Label l = b.label(text, 0, y, c);
    l.x = (p.rect.left + p.rect.right - l.width) / 2;
    m.labels.push_back(std::move(l));
  };
  if (volume) {
    if (find_min_max_quotes(data, m.time.tStart, m.time.tEnd).anyVolume())
      centred(*volume, "Shares Traded", volume->rect.top, b.axis);
    else
      centred(*volume, "No Valid Volume Data Found", (volume->rect.top + volume->rect.bottom - lh) / 2, b.axis);
  }
  const int legendX = m.frame.right - f.text.measure("123 day") - 10;
  int y = price->rect.top;
  auto legend = [&](const std::string& text, Colour c) {
    m.legends.push_back(b.label(text, legendX, y, c));
    y += lh;
  };
  if (st.lsf_display) legend("LSF", colors[plotcolor::LSF]);
  if (st.sma_display[0] || st.sma_display[1] || st.sma_display[2]) legend("SMA", colors[plotcolor::Axes]);
  for (int i = 0; i < 3; ++i)
    if (st.sma_display[i]) {
      char t[32];
      std::snprintf(t, sizeof t, "%3d day", st.sma_days[i]);
      legend(t, colors[plotcolor::SMA1 + i]);
    }
  auto rightAligned = [&](const Panel& p, int line, const std::string& text, Colour c) {
    Label l = b.label(text, 0, p.rect.top + line * lh, c);
    l.x = m.frame.right - l.width - 10;
    m.legends.push_back(std::move(l));
  };
  if (const Panel* p = m.panel(PanelKind::Volatility)) {
    centred(*p, "% Volatility", p->rect.top, b.axis);
    int line = 1;
    for (int i = 0; i < 4; ++i)
      if (st.vol_display[i]) rightAligned(*p, line++, std::to_string(st.vol_days[i]) + " day",
                                          colors[plotcolor::Volatility1 + i]);
  }
  if (const Panel* p = m.panel(PanelKind::Stochastic)) {
    centred(*p, "Stochastic", p->rect.top, b.axis);
    int line = 1;
    if (st.stoch_k_display) rightAligned(*p, line++, "%K", colors[plotcolor::StochasticK]);
    if (st.stoch_d_display) rightAligned(*p, line++, "%D", colors[plotcolor::StochasticD]);
  }

  if (!f.printer) {
    m.readout = Show_Quote(data, data.num_quotes - 1, f.title, f.dateFormat);
  } else if (std::string line = Show_QuotePrinted(data, data.num_quotes - 1, f.dateFormat); !line.empty()) {
    // Written on the page below the frame.
    m.texts.push_back(b.label(std::move(line), m.frame.left,
                              m.frame.bottom + static_cast<int>(4 * m.s), b.axis));
  }

  // The analysis overlays, each step logged.
  auto checkpoint = [&](int k) {
    m.logLines.push_back("\nPlotMathAnalysis checkpoint " + std::to_string(k) + ".\n");
  };
  // The log returns are taken once for the four curves, into buffers kept between paints
  // (fresh ones of the data's length would be mapped and faulted in on every paint).
  static thread_local std::optional<LogReturns> returns;
  if (st.anyVolatilityShown()) {
    if (returns)
      returns->assign(data);
    else
      returns.emplace(data);
  }
  const LogReturns* lr = returns ? &*returns : nullptr;
  // The overlays in drawing order, each built into a part of its own (the model's panels
  // and time axis). On a long chart the costliest, the stored fit (a long-double series at
  // every date) and volatility #3 and #4 (the longest periods by default), are built on a
  // second thread while this one builds the others; the parts then join the model in order.
  struct Overlay {
    std::function<void(PlotModel&)> build;
    bool aside = false;
    PlotModel part;
  };
  std::vector<Overlay> overlays;
  const bool longChart = data.num_quotes >= 8192;
  auto overlay = [&](std::function<void(PlotModel&)> build, bool aside) {
    Overlay o{std::move(build), aside && longChart, {}};
    o.part.time = m.time;
    o.part.panels = m.panels;
    overlays.push_back(std::move(o));
  };
  checkpoint(1);
  if (st.lsf_display && st.fitStored()) {
    const Fit_Type fit = storedFit(st);
    overlay([&data, fit, &colors](PlotModel& part) { appendStoredFit(part, data, fit, colors); }, true);
  }
  for (int i = 0; i < 3; ++i) {
    checkpoint(2 + i);
    if (st.sma_display[i]) overlay([&, i](PlotModel& part) { appendSMA(part, data, st, colors, i); }, false);
  }
  checkpoint(5);
  if (st.stochasticShown())
    overlay([&](PlotModel& part) { appendStochastic(part, data, st, colors, f.text); }, false);
  for (int i = 0; i < 4; ++i) {
    checkpoint(6 + i);
    if (st.vol_display[i])
      overlay([&, i](PlotModel& part) { appendVolatility(part, data, *lr, st, colors, i); }, i >= 2);
  }
  std::exception_ptr failed;
  {
    std::jthread second;
    if (std::any_of(overlays.begin(), overlays.end(), [](const Overlay& o) { return o.aside; }))
      second = std::jthread([&overlays, &failed] {
        try {
          for (Overlay& o : overlays)
            if (o.aside) o.build(o.part);
        } catch (...) {
          failed = std::current_exception();
        }
      });
    for (Overlay& o : overlays)
      if (!o.aside) o.build(o.part);
  }
  if (failed) std::rethrow_exception(failed);
  for (Overlay& o : overlays) {
    for (Polyline& c : o.part.curves) m.curves.push_back(std::move(c));
    m.marks.insert(m.marks.end(), o.part.marks.begin(), o.part.marks.end());
  }

  if (const Panel* p = m.panel(PanelKind::Stochastic)) {
    const int h = p->rect.bottom - p->rect.top;
    for (double frac : {0.8, 0.2}) {
      const int yy = p->rect.bottom - static_cast<int>(h * frac);
      m.lines.push_back({{m.frame.left, yy}, {m.frame.right, yy}, kLightYellow, 1, PenStyle::Dot});
    }
  }
  if (study) appendAnalysis(m, *study, colors);
  return m;
}

void writePlotLog(const PlotModel& m) {
  for (const std::string& line : m.logLines) LogText(line);
}

}  // namespace quova
