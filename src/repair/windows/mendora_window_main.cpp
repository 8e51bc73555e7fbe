// mendora-window: the repair tool's window, started by Mendora when there is a display and
// no --batch. The same arguments as Mendora.
#include <unistd.h>

#include <QApplication>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "base/log.h"
#include "repair/mendora_run.h"
#include "repair/windows/mendora_window.h"

int main(int argc, char** argv) {
  using namespace quova::repair;
  Options o;
  std::string error;
  if (parseArguments(std::vector<std::string>(argv + 1, argv + argc), &o, &error) != kExitDone || o.help) {
    std::fprintf(stderr, "%s%s", error.empty() ? "" : ("Mendora: " + error + "\n").c_str(), usage().c_str());
    return o.help ? kExitDone : kExitBadInput;
  }
  quova::logState().QuovaLogFile = "/dev/null";
  char cwd[PATH_MAX];
  if (!::getcwd(cwd, sizeof cwd)) return kExitBadInput;
  const char* quova = std::getenv("QUOVA");
  QApplication app(argc, argv);
  MendoraWindow w(o, cwd, quova ? quova : "");
  if (!w.ready()) return w.exitCode();
  w.show();
  app.exec();
  return w.exitCode();
}
