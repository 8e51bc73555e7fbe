// The program's entry: the Qt application object, then the start-up sequence.
#include <QApplication>
#include <clocale>
#include <cstdio>
#include <string_view>

#include "app/root_init.h"

int main(int argc, char** argv) {
  // Options that begin with "--" are ours; the program's own arguments begin with "/".
  if (argc > 1 && std::string_view(argv[1]) == "--init-root") return quova::initRootCommand(argc, argv);
  QApplication app(argc, argv);
  std::setlocale(LC_NUMERIC, "C");  // numbers in files are always written with a "."
  std::puts("quova: the start-up sequence is not built yet");
  return 0;
}
