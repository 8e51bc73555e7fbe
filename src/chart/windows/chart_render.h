// A chart file drawn into an image, as its chart window shows it at that size: the plot
// model built from the chart's settings file, its stored analysis and the palette of the
// settings. Used by "--render-chart" and the pictures of the README.
#pragma once

#include <QImage>
#include <QSize>
#include <string>

namespace quova {

// An empty image, with *error saying why, when the file cannot be read or holds no quote.
// The chart's settings file is left as it was.
QImage renderChart(const std::string& dayPath, QSize size, std::string* error);

}  // namespace quova
