// Mendora, the repair tool: checks, repairs and imports one historical quote file. Without
// a display, with --batch, --check or --undo it runs here, with the core alone (no Qt is
// loaded, so a batch run over a list stays quick); otherwise it hands its arguments to the
// window program mendora-window beside it.
#include <malloc.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "base/log.h"
#include "repair/mendora_run.h"

namespace {

// Nothing to show a window on: no display, or Qt told to draw nowhere.
bool noDisplay() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (platform && (std::string_view(platform) == "offscreen" || std::string_view(platform) == "minimal")) return true;
  const char* x = std::getenv("DISPLAY");
  const char* w = std::getenv("WAYLAND_DISPLAY");
  return !(x && *x) && !(w && *w);
}

// The window program beside this one (links resolved), empty when there is none.
std::string windowProgram() {
  char self[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
  if (n <= 0) return {};
  std::string p(self, static_cast<std::size_t>(n));
  p = p.substr(0, p.find_last_of('/') + 1) + "mendora-window";
  return ::access(p.c_str(), X_OK) == 0 ? p : std::string();
}

}  // namespace

int main(int argc, char** argv) {
  using namespace quova::repair;
  // A run holds a few megabytes for a few milliseconds: keep them on the heap rather than
  // mapping and unmapping them piece by piece.
  ::mallopt(M_MMAP_THRESHOLD, 256 << 20);
  ::mallopt(M_TRIM_THRESHOLD, 512 << 20);
  ::mallopt(M_TOP_PAD, 16 << 20);
  Options o;
  std::string error;
  if (parseArguments(std::vector<std::string>(argv + 1, argv + argc), &o, &error) != kExitDone) {
    std::fprintf(stderr, "Mendora: %s\n%s", error.c_str(), usage().c_str());
    return kExitBadInput;
  }
  if (o.help) {
    std::fputs(usage().c_str(), stdout);
    return kExitDone;
  }
  const bool window = !(o.batch || o.check || o.undo || noDisplay());
  if (window) {
    const std::string program = windowProgram();
    if (!program.empty()) {
      argv[0] = const_cast<char*>(program.c_str());
      ::execv(program.c_str(), argv);
    }
    std::fputs("Mendora: no window program beside this one; running without a window\n", stderr);
  }
  // The program's own log belongs to the program; the tool writes Utilities/mendora.log.
  quova::logState().QuovaLogFile = "/dev/null";
  char cwd[PATH_MAX];
  if (!::getcwd(cwd, sizeof cwd)) {
    std::fputs("Mendora: the working directory cannot be read\n", stderr);
    return kExitBadInput;
  }
  std::string report;
  const int code = runBatch(o, cwd, std::getenv("QUOVA"), &report);
  std::fputs(report.c_str(), stdout);
  return code;
}
