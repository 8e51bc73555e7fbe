// The chart window test fixture: a root with one 80-quote file and the main frame shown,
// and the mouse and settle helpers the chart tests share.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#include "app/root_init.h"
#include "app/windows/main_frame.h"
#include "base/log.h"
#include "base/run_flags.h"
#include "chart/windows/chart_view.h"
#include "settings/settings.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

namespace quova {

// n daily quotes from 01/01/1999 on, in the default format, with a gentle wave.
inline std::string quoteLines(int first, int n) {
  static const int monthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  std::string out;
  for (int i = first; i < first + n; ++i) {
    int day = i, month = 0;
    while (day >= monthDays[month]) day -= monthDays[month++];
    const double close = 20 + 3 * std::sin(i / 5.0);
    char line[120];
    std::snprintf(line, sizeof line, "%02d/%02d/1999   %.3f   %.3f   %.3f   %d\n", month + 1, day + 1,
                  close + 1, close - 1, close, 1000 + 50 * i);
    out += line;
  }
  return out;
}

inline QColor qcolor(Colour c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

struct ChartWindow : ::testing::Test {
  test::TempDir dir{true};
  test::ScopedHost h;
  std::unique_ptr<QVMAIN> f;
  std::string day;
  void SetUp() override {
    initRoot(dir.path());
    runFlags() = RunFlags{};
    settings() = Settings{};
    runFlags().QuovaPath = dir.path() + "/";
    runFlags().WinsIniFilePath = "quova.win";
    logState().QuovaLogFile = dir.file("quova.log");
    OpenLogFile();
    dir.write("quotes.day/TEST.day", "SYMBOL: TEST\nCOMPANY NAME: Test Corp\n" + quoteLines(0, 80));
    day = dir.file("quotes.day/TEST.day");
    f.reset(InitMainWindow());
    f->resize(900, 700);
    f->show();
    QApplication::processEvents();
  }
  void TearDown() override {
    f.reset();
    runFlags() = RunFlags{};
    logState().QuovaLogFile = "quova.log";
  }
  static void settle() {
    for (int i = 0; i < 3; ++i) {
      QApplication::processEvents();
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
  }
  TDrawView* open(const std::string& path, const std::string& title = {}) {
    if (!f->openDocument(path, title)) return nullptr;
    settle();
    QMdiSubWindow* sub = f->client()->activeSubWindow();
    return sub ? qobject_cast<TDrawView*>(sub->widget()) : nullptr;
  }
  static void click(QWidget* w, QPoint p, Qt::MouseButton b, QEvent::Type type = QEvent::MouseButtonPress) {
    QMouseEvent e(type, QPointF(p), QPointF(w->mapToGlobal(p)), b, b, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
  }
  static void move(QWidget* w, QPoint p) {
    QMouseEvent e(QEvent::MouseMove, QPointF(p), QPointF(w->mapToGlobal(p)), Qt::NoButton, Qt::NoButton,
                  Qt::NoModifier);
    QApplication::sendEvent(w, &e);
  }
};

}  // namespace quova
