// The chart window, drawn off the screen.
#include "chart/windows/chart_render.h"

#include <fstream>
#include <optional>
#include <sstream>

#include "chart/chart_settings.h"
#include "chart/windows/chart_view.h"
#include "util/paths.h"

namespace quova {

namespace {

std::optional<std::string> fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace

QImage renderChartFile(const std::string& dayPath, QSize size, std::string* error) {
  if (!fileExists(dayPath)) {
    if (error) *error = "Unable to open file -- " + dayPath;
    return {};
  }
  // The view saves its settings (its window place among them) when it goes; a render
  // must not move the user's chart window.
  const std::string cfg = nativePath(chartConfigPath(dayPath));
  const std::optional<std::string> before = fileBytes(cfg);
  QImage image;
  {
    TDrawView view(dayPath);
    view.setWindowState(Qt::WindowNoState);
    view.resize(size);
    if (view.load()) image = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
  }
  if (before) std::ofstream(cfg, std::ios::binary | std::ios::trunc) << *before;
  else std::remove(cfg.c_str());
  if (image.isNull() && error) *error = "No valid quotes found in " + dayPath;
  return image;
}

}  // namespace quova
