// Painting a chart without a window: a plot model onto any QPainter (the chart window, a
// printed page, a PDF file, an image), and a whole .day file rendered offscreen the
// way a chart window would show it, for image export and the command line.
#pragma once

#include <QImage>
#include <QSize>
#include <string>

#include "base/colors.h"
#include "chart/plot_model.h"

class QPainter;
class QPalette;

namespace quova {

struct ChartData;
struct ChartSettings;
struct AnalysisResult;

// The frame a device of `size` gets for a chart: text measured with the painter's font,
// the date strip `stripHeight` high (0: none).
PlotFrame deviceFrame(const QPainter& p, QSize size, int stripHeight, const ChartSettings& s,
                      const std::string& title, const VolatilityRange& vol);

// Paints a built model: bars, lines, ticks, curves, marks and texts at the model's pixel
// positions (offset by nothing: a printed frame carries its margins). `strip` colours the
// date strip and its buttons when the model has one.
void paintPlotModel(QPainter& p, const PlotModel& m, const QPalette& strip);

// The chart of loaded data at `size` onto p, from (0, 0): background, the model of these
// settings (with their stored fit) and the study run, if any. The model painted is returned.
PlotModel renderChart(QPainter& p, QSize size, const ChartData& data, const ChartSettings& settings,
                      const Palette& colors, const std::string& title, const AnalysisResult* study = nullptr);

// A printed page of the chart shown on screen in `screen` (its frame as the window builds
// it): the page frame and printer colours of the plot model, text measured on the page's
// device, nothing filled (the paper is the background). The model painted is returned.
PlotModel renderChartPage(QPainter& p, int pageWidth, const PlotFrame& screen, const ChartData& data,
                          const ChartSettings& settings, const Palette& screenColors);

// The same into a new image of `size`.
QImage renderChartImage(QSize size, const ChartData& data, const ChartSettings& settings,
                        const Palette& colors, const std::string& title,
                        const AnalysisResult* study = nullptr);

// A .day file as its chart window shows it: its format file, its own settings file (window
// and stored analysis) and the default palette, at `size`. On failure the image is null and
// `error` says why ("Unable to open file -- <path>", "No valid quotes found in <path>").
QImage renderChartFile(const std::string& dayPath, QSize size, std::string* error = nullptr);

}  // namespace quova
