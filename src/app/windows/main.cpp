// The program's entry: the Qt application object, then the start-up sequence.
#include <QApplication>
#include <clocale>
#include <cstdio>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  std::setlocale(LC_NUMERIC, "C");  // numbers in files are always written with a "."
  std::puts("quova: the start-up sequence is not built yet");
  return 0;
}
