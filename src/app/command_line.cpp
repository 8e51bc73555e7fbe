// The long options and the usage text.
#include "app/command_line.h"

#include <array>
#include <cstdio>
#include <utility>

namespace quova {

namespace {

// Long forms of the program's switches, in the order of the usage text.
constexpr std::array<std::pair<std::string_view, const char*>, 5> kLongSwitches = {{
    {"--download", "/download"},
    {"--update", "/update"},
    {"--forcedownload", "/forcedownload"},
    {"--wait", "/wait"},
    {"--quit-after-download", "/QuitAfterDownload"},
}};

bool isLongOption(std::string_view a) { return a.size() > 2 && a.substr(0, 2) == "--"; }

}  // namespace

CommandLine readCommandLine(int argc, char** argv) {
  CommandLine c;
  if (argc > 1) {
    const std::string_view first = argv[1];
    if (first == "--help" || first == "-h") c.kind = CommandKind::Help;
    else if (first == "--version") c.kind = CommandKind::Version;
    else if (first == "--init-root") c.kind = CommandKind::InitRoot;
    else if (first == "--render-chart") c.kind = CommandKind::RenderChart;
    if (c.kind != CommandKind::Run) return c;
  }
  for (int i = 1; i < argc; ++i) {
    const std::string_view a = argv[i];
    if (!isLongOption(a)) continue;
    bool known = false;
    for (const auto& [name, own] : kLongSwitches) {
      if (a != name) continue;
      argv[i] = const_cast<char*>(own);  // static text, outlives the run
      known = true;
    }
    if (!known) {
      c.kind = CommandKind::Unknown;
      c.unknown = std::string(a);
      return c;
    }
  }
  return c;
}

bool readRenderChartArgs(int argc, char** argv, RenderChartArgs* out) {
  RenderChartArgs r;
  if (argc != 4 && argc != 6) return false;
  r.dayFile = argv[2];
  r.pngFile = argv[3];
  if (r.dayFile.empty() || r.pngFile.empty()) return false;
  if (argc == 6) {
    if (std::string_view(argv[4]) != "--size") return false;
    int w = 0, h = 0;
    char end = 0;
    if (std::sscanf(argv[5], "%dx%d%c", &w, &h, &end) != 2) return false;
    if (w < 200 || h < 150 || w > 8000 || h > 8000) return false;
    r.width = w;
    r.height = h;
  }
  *out = r;
  return true;
}

std::string usageText(std::string_view program) {
  std::string p(program);
  return "usage: " + p + " [FILE | /download | /update | /forcedownload] [/wait N] [/QuitAfterDownload]\n"
         "       " + p + " --init-root DIR\n"
         "       " + p + " --render-chart FILE.day OUT.png [--size WxH]\n"
         "       " + p + " --help | --version\n"
         "\n"
         "Runs in the root named by the QUOVA environment variable, else in the working folder;\n"
         "quova.log is written in the working folder.\n"
         "\n"
         "  FILE                  open a quote list (.qtl), quote file (.day) or text file\n"
         "  /download             the daily download, when it is due (weekday and download time)\n"
         "  /update               the daily download, due or not\n"
         "  /forcedownload        the daily download of every quote file, even those updated today\n"
         "  /wait N               with /download: wait N seconds first (the fourth word is N)\n"
         "  /QuitAfterDownload    close the program when the daily download is done\n"
         "  --download, --update, --forcedownload, --wait, --quit-after-download\n"
         "                        the same switches in long form\n"
         "  --init-root DIR       make a fresh root in DIR (nothing existing is overwritten)\n"
         "  --render-chart FILE.day OUT.png [--size WxH]\n"
         "                        draw the chart of a quote file as its window shows it, to PNG\n"
         "  --help, --version     this text; the program's version\n"
         "\n"
         "Exit status: 0 done or no download due; 1 a list of the daily download ended without its\n"
         "quotes (retries exhausted, daily.dcf missing, another download running); 2 a wrong option;\n"
         "255 the root has no quova.ini or the log cannot be written. An unattended download ends\n"
         "with one summary line on standard error.\n";
}

std::string versionText() { return std::string("quova ") + QUOVA_FILE_VERSION + "\n"; }

}  // namespace quova
