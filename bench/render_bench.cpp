// The chart painted offscreen: the plot model of 30000 quotes with every overlay and a
// stored fit, painted with QPainter onto a 1600 x 1000 image, as the window and the image
// export do it.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <filesystem>

#include "base/log.h"
#include "chart/indicators.h"
#include "chart/windows/chart_render.h"
#include "chart_series.h"
#include "settings/settings.h"

namespace {

// Fonts need an application; the offscreen platform needs no display.
void ensureApplication() {
  if (QGuiApplication::instance()) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "quova_bench";
  static char* argv[] = {name, nullptr};
  // Kept to the end of the process: destroyed among the static objects it would outlive Qt's own.
  new QGuiApplication(argc, argv);
}

void BM_RenderChart30000(benchmark::State& state) {
  ensureApplication();
  const quova::ChartData d = quova::bench::makeSeries(30000);
  const quova::ChartSettings s = quova::bench::everyOverlay(d);
  quova::logState().QuovaLogFile = (std::filesystem::temp_directory_path() / "quova_bench.log").string();
  const QSize size(1600, 1000);
  QImage img(size, QImage::Format_RGB32);
  for (auto _ : state) {
    QPainter p(&img);
    const quova::PlotModel m = quova::renderChart(p, size, d, s, quova::quovaPalette(), "Historical Quote BENCH");
    p.end();
    if (m.bars.size() != 30000 || m.curves.size() < 12) state.SkipWithError("a bar or an overlay is missing");
    benchmark::DoNotOptimize(img.constBits());
  }
}
BENCHMARK(BM_RenderChart30000)->Unit(benchmark::kMillisecond);

}  // namespace
