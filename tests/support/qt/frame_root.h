// What the main-frame tests share: a fresh root in a test folder with the run flags reset
// and the log inside it, and the frame built and shown as at start.
#pragma once

#include <QApplication>
#include <memory>

#include "app/root_init.h"
#include "app/windows/main_frame.h"
#include "base/log.h"
#include "base/run_flags.h"
#include "support/temp_dir.h"

namespace quova::test {

inline void enterFrameRoot(const TempDir& dir) {
  initRoot(dir.path());
  runFlags() = RunFlags{};
  runFlags().QuovaPath = dir.path() + "/";
  runFlags().WinsIniFilePath = "quova.win";
  logState().QuovaLogFile = dir.file("quova.log");
  OpenLogFile();
}

inline std::unique_ptr<QVMAIN> shownMainFrame() {
  std::unique_ptr<QVMAIN> f(InitMainWindow());
  f->show();
  QApplication::processEvents();
  return f;
}

}  // namespace quova::test
