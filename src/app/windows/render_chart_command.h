// "--render-chart FILE.day OUT.png [--size WxH]": the chart of a quote file to a PNG, without
// a window and without touching quova.log.
#pragma once

namespace quova {

// Runs with the QApplication of main; 0 when the PNG was written, 1 when the file could
// not be charted or the PNG not written, 2 for wrong arguments.
int renderChartCommand(int argc, char** argv);

}  // namespace quova
