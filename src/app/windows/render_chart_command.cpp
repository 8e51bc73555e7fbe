// The chart of a quote file rendered to a PNG from the command line.
#include "app/windows/render_chart_command.h"

#include <cstdio>
#include <filesystem>
#include <string>

#include "app/command_line.h"
#include "app/startup.h"
#include "base/log.h"
#include "base/run_flags.h"
#include "chart/windows/chart_render.h"
#include "settings/settings.h"
#include "util/paths.h"

namespace quova {

namespace {

// Paths the user typed stay those of the starting folder after the change to the root.
std::string absolute(const std::string& path) {
  std::error_code ec;
  std::filesystem::path p = std::filesystem::absolute(path, ec);
  return ec ? path : p.string();
}

}  // namespace

int renderChartCommand(int argc, char** argv) {
  RenderChartArgs a;
  if (!readRenderChartArgs(argc, argv, &a)) {
    std::fputs(usageText(argc > 0 ? argv[0] : "quova").c_str(), stderr);
    return exitcode::Usage;
  }
  a.dayFile = absolute(a.dayFile);
  a.pngFile = absolute(a.pngFile);
  // The root's colours and date layout when it has them; its log stays as it is.
  logState().QuovaLogFile = "/dev/null";
  ResolveRoots();
  if (fileExists(runFlags().IniFilePath)) GetIniFile();
  std::string error;
  const QImage image = renderChartFile(a.dayFile, QSize(a.width, a.height), &error);
  if (image.isNull()) {
    std::fprintf(stderr, "quova: %s\n", error.c_str());
    return 1;
  }
  if (!image.save(QString::fromStdString(a.pngFile), "PNG")) {
    std::fprintf(stderr, "quova: cannot write %s\n", a.pngFile.c_str());
    return 1;
  }
  std::printf("%s\n", a.pngFile.c_str());
  return 0;
}

}  // namespace quova
