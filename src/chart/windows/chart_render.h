// A .day file drawn into an image, as its chart window shows it at that size: its format
// file, its own settings file (window and stored analysis) and the palette of the settings.
// Used by "--render-chart" and the pictures of the README.
#pragma once

#include <QImage>
#include <QSize>
#include <string>

namespace quova {

// On failure the image is null and `error` says why ("Unable to open file -- <path>", "No
// valid quotes found in <path>"). The chart's settings file is left as it was.
QImage renderChartFile(const std::string& dayPath, QSize size, std::string* error = nullptr);

}  // namespace quova
