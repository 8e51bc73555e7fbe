// The options a Linux user types, beside the program's own switches ("/download", "/wait N",
// "/QuitAfterDownload", "/forcedownload", a file to open), and the exit statuses.
#pragma once

#include <string>
#include <string_view>

namespace quova {

// The exit statuses of the program (also in README.md and contrib/).
namespace exitcode {
inline constexpr int Ok = 0;            // done, or no download due
inline constexpr int ListsFailed = 1;   // a list of the daily run ended without its quotes
inline constexpr int Usage = 2;         // an unknown option, or an option's argument missing
inline constexpr int StartFailed = 255; // no quova.ini in the root, or the log cannot be written
}  // namespace exitcode

// What the first argument asks for.
enum class CommandKind { Run, Help, Version, InitRoot, RenderChart, Unknown };

struct CommandLine {
  CommandKind kind = CommandKind::Run;
  std::string unknown;  // the option that was not understood
};

// Classifies the arguments and turns the long forms of the download switches
// ("--download", "--update", "--forcedownload", "--wait", "--quit-after-download") into
// the program's own switches in place, so the rest of the start-up sees only those.
CommandLine readCommandLine(int argc, char** argv);

// "--render-chart FILE.day OUT.png [--size WxH]".
struct RenderChartArgs {
  std::string dayFile, pngFile;
  int width = 1000, height = 700;
};
// False when the arguments are not of that form (a size must be 200x150 to 8000x8000).
bool readRenderChartArgs(int argc, char** argv, RenderChartArgs* out);

// The usage text (ends with a line end).
std::string usageText(std::string_view program);
// "quova <version>" with a line end.
std::string versionText();

}  // namespace quova
