// The plot model: a loaded chart as plain numbers (panels with pixel rectangles, ticks,
// labels, bars, curves, marks, legends and the readout text). The chart window only paints
// it; every drawing rule is decided here, so it is tested on numbers.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/colors.h"
#include "chart/chart_scales.h"

namespace quova {

struct ChartData;
struct ChartSettings;
struct AnalysisResult;
struct SystemColors;

using Colour = COLORREF;
inline constexpr Colour kBlack = RGB(0, 0, 0);
inline constexpr Colour kRed = RGB(255, 0, 0);
inline constexpr Colour kGreen = RGB(0, 255, 0);
inline constexpr Colour kLightYellow = RGB(255, 255, 0);

// Plot colour slots.
namespace plotcolor {
inline constexpr int HiLoClose = 0, Background = 1, Axes = 2, LSF = 3, OutOfRangeLSF = 4, SMA1 = 5,
                     Volatility1 = 9, StochasticK = 13, StochasticD = 14;
}

enum class PenStyle { Solid, Dash, Dot, DashDot };

struct Point {
  int x = 0, y = 0;
  bool operator==(const Point&) const = default;
};
struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
  bool operator==(const Rect&) const = default;
};

// A value axis: values bottom..top onto pixel rows pixBottom..pixTop (values grow upwards).
struct ValueAxis {
  double bottom = 0, top = 0;
  int pixBottom = 0, pixTop = 0;
  float fine = 0, coarse = 0;
  int y(double v) const { return scale(v, bottom, top, pixBottom, pixTop); }
  void y(const double* v, std::size_t n, int* out) const { scaleMany(v, n, bottom, top, pixBottom, pixTop, out); }
};

// The time axis: days tStart..tEnd onto pixel columns left..right.
struct TimeAxis {
  double tStart = 0, tEnd = 0;
  int left = 0, right = 0;
  int x(double t) const { return scale(t, tStart, tEnd, left, right); }
  void x(const double* t, std::size_t n, int* out) const { scaleMany(t, n, tStart, tEnd, left, right, out); }
};

enum class PanelKind { Price, Stochastic, Volatility, Volume };
struct Panel {
  PanelKind kind = PanelKind::Price;
  Rect rect;      // the panel's borders
  ValueAxis axis;  // for the price panel pixBottom is the bottom of the plotting area
};

// A straight line: separators, reference lines, user-visible rules.
struct Segment {
  Point from, to;
  Colour colour = kBlack;
  int penWidth = 1;
  PenStyle style = PenStyle::Solid;
};

enum class TickKind { Fine, Coarse, Time };
struct Tick {
  Point from, to;
  int length = 0;
  int penWidth = 1;
  Colour colour = kBlack;
  TickKind kind = TickKind::Fine;
};

// A text drawn with its top-left corner at (x, y), background transparent.
struct Label {
  std::string text;
  int x = 0, y = 0;
  int width = 0, height = 0;
  Colour colour = kBlack;
};

// One daily bar: the low-high line, the close tick to the next day's x, the volume line.
struct Bar {
  int x = 0;
  bool hasRange = false;
  int yHigh = 0, yLow = 0;
  bool hasClose = false;
  int yClose = 0, xCloseEnd = 0;
  bool hasVolume = false;
  int yVolume = 0, yVolumeBase = 0;
};

// A curve: SMA, volatility, stochastic %K and %D, and the runs of a fitted curve.
struct Polyline {
  std::string name;  // "SMA 1", "Volatility 2", "%K", "%D", "LSF", "Fit", ...
  std::vector<Point> points;
  Colour colour = kBlack;
  int penWidth = 1;
  PenStyle style = PenStyle::Solid;
};

// A letter mark ("S" sell, "B" buy) centred on x, its text top at y.
struct Mark {
  char letter = 'S';
  int x = 0, y = 0;
  Colour colour = kRed;
};

// Text measurement of the device; without a width function every character is charWidth.
struct TextMetrics {
  int lineHeight = 16;
  int charWidth = 8;
  std::function<int(std::string_view)> width;
  int measure(std::string_view text) const;
};

// The volatility axis the view keeps between paints (setVolatilityScale).
struct VolatilityRange {
  double bottom = 0.0, top = 100.0;
};

// What the chart window supplies besides data, settings and colours.
struct PlotFrame {
  int left = 0, top = 0;          // the frame's corner: 0, 0 on screen, the margins on paper
  int width = 500, height = 220;  // on screen the client rectangle
  int stripHeight = 20;           // the date strip: a window caption's height on screen
  double s = 1.0;                 // tick and text scale factor (1 on screen)
  bool printer = false;
  TextMetrics text;
  std::int32_t dateFormat = 1021;  // DisplayDateFormat
  std::string title;               // the chart window's own title (readout label, page title)
  VolatilityRange volatility;      // the current volatility axis
};

struct PlotModel {
  PlotModel() = default;
  PlotModel(const PlotModel&) = default;
  PlotModel(PlotModel&&) noexcept = default;
  PlotModel& operator=(const PlotModel&) = default;
  PlotModel& operator=(PlotModel&&) noexcept = default;
  // Hands its large point and bar buffers back for the next model built on this thread.
  ~PlotModel();

  Rect frame;
  double s = 1.0;
  int textHeight = 16;
  Colour background = 0;
  TimeAxis time;  // tEnd after setup_plot's widening of short windows
  std::vector<Panel> panels;
  Rect dateStrip, leftButton, rightButton;  // screen only (empty when printing)

  std::vector<Segment> lines;  // frame lines, separators, dotted 80/20 references
  std::vector<Tick> ticks;
  std::vector<Label> labels;   // axis and calendar labels, panel titles
  Colour barColour = kBlack;  // the Hi/Lo/Close colour (entry 0)
  std::vector<Bar> bars;
  std::vector<Polyline> curves;  // in drawing order
  std::vector<Mark> marks;
  std::vector<Label> legends;
  std::vector<Label> texts;  // other texts written on the chart (the RMS fit error, and on
                             // paper the title above the frame and the last quote's line)
  std::string readout;       // Show_Quote's status bar text of the last quote (screen only)
  // The log entries of this build, in order, for the view to write (writePlotLog): the
  // model itself writes nothing.
  std::vector<std::string> logLines;

  const Panel* panel(PanelKind kind) const;
};

// Buffers for a model being built, with room for at least `capacity` elements and empty:
// one that a destroyed model handed back when there is one, else a new one. A chart is
// rebuilt on every paint, and megabytes of fresh memory for tens of thousands of quotes
// would be mapped and faulted in page by page each time.
std::vector<Point> pointBuffer(std::size_t capacity);
std::vector<Bar> barBuffer(std::size_t capacity);

// The whole chart of a loaded data set. After the bars and legends come the analysis
// overlays the settings switch on, in this order: the stored fit (when the curve fit is
// displayed and a fit is stored), SMA #1 to #3, the stochastic, volatility #1 to #4; then
// the 80/20 stochastic references, and last the curve and RMS text of a study run on this
// paint, if any. A %D period below 1 draws no %D (checkStochasticDays, where the settings
// are loaded or changed, tells the user and switches it off). Writes nothing: the log entries
// of the analysis steps are in the model's logLines.
PlotModel buildPlotModel(const ChartData& data, const ChartSettings& settings, const Palette& colors,
                         const PlotFrame& frame, const AnalysisResult* study = nullptr);
// Writes a built model's log entries to the log, in order.
void writePlotLog(const PlotModel& m);

// The printed page of a chart shown on screen in `screen` (its width and height): margins
// of a tenth of the page width left, right and on top; the price panel keeps the screen's
// aspect ratio at 0.8 of the page width, and one, two or three kinds of lower panel make the
// frame 3/2, 2 or 5/2 times as high; s = page width / screen width; no date strip.
PlotFrame printerFrame(const PlotFrame& screen, int pageWidth, const ChartSettings& settings);
// The plot colours of a print: window text for entries 0, 2 and 8, the window colour for 1,
// light red, grey, blue, green and yellow for 3 to 7; the others as on screen.
Palette printerPalette(const Palette& screen, const SystemColors& sys);

// Parts of the build, for the overlays and tests.
// The axes, panels, ticks and labels (setup_plot) without bars or overlays.
PlotModel setupPlot(const ChartData& data, const ChartSettings& settings, const Palette& colors,
                    const PlotFrame& frame);
// Show_Quote on screen: the readout of quote index, labelled with the third blank-separated
// word of the title. Empty when no data is loaded.
std::string Show_Quote(const ChartData& data, int index, std::string_view title, int dateFormat);
// The printer's readout line.
std::string Show_QuotePrinted(const ChartData& data, int index, int dateFormat);

}  // namespace quova
