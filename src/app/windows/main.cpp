// The program's entry: the Qt application object, the host, then the start-up sequence.
#include <QApplication>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "app/command_line.h"
#include "app/events/headless_host.h"
#include "app/root_init.h"
#include "app/startup.h"
#include "app/windows/app_icon.h"
#include "app/windows/global_setup.h"
#include "app/windows/main_frame.h"
#include "app/windows/qt_host.h"
#include "app/windows/render_chart_command.h"
#include "base/host.h"
#include "base/log.h"

int main(int argc, char** argv) {
  // Options that begin with "--" are ours; the program's own arguments begin with "/".
  // None of the ones answered here writes quova.log.
  const quova::CommandLine cl = quova::readCommandLine(argc, argv);
  const char* program = argc > 0 ? argv[0] : "quova";
  switch (cl.kind) {
    case quova::CommandKind::Help: std::fputs(quova::usageText(program).c_str(), stdout); return 0;
    case quova::CommandKind::Version: std::fputs(quova::versionText().c_str(), stdout); return 0;
    case quova::CommandKind::InitRoot: return quova::initRootCommand(argc, argv);
    case quova::CommandKind::Unknown:
      std::fprintf(stderr, "%s: unknown option %s\n", program, cl.unknown.c_str());
      std::fputs(quova::usageText(program).c_str(), stderr);
      return quova::exitcode::Usage;
    case quova::CommandKind::RenderChart: {
      if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
      QApplication qapp(argc, argv);
      std::setlocale(LC_NUMERIC, "C");
      quova::HeadlessHost host;
      quova::setHost(&host);
      int rc = quova::renderChartCommand(argc, argv);
      quova::setHost(nullptr);
      return rc;
    }
    case quova::CommandKind::Run: break;
  }
  const bool headless = quova::runsHeadless();
  if (headless && !std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication qapp(argc, argv);
  QGuiApplication::setDesktopFileName("quova");  // the desktop menu entry quova.desktop
  QApplication::setWindowIcon(quova::quovaIcon());
  std::setlocale(LC_NUMERIC, "C");  // numbers in files are always written with a "."

  // An unattended download with a display present must not wait for a click either.
  std::unique_ptr<quova::HeadlessHost> host;
  quova::QtHost* qtHost = nullptr;
  if (headless || quova::unattendedStart(argc, argv)) {
    host = std::make_unique<quova::HeadlessHost>();
  } else {
    auto h = std::make_unique<quova::QtHost>();
    qtHost = h.get();
    host = std::move(h);
  }
  quova::setHost(host.get());
  quova::installSetupDialogs();  // a first start asks for the settings before the main window

  int rc = quova::OwlMain(argc, argv, [&] {
    std::unique_ptr<quova::QVMAIN> frame(quova::InitMainWindow());
    if (qtHost) qtHost->setStatusBar(frame->statusBar());
    host->setAppMessageTarget(frame.get());
    quova::installCloseSignals(frame.get());
    if (frame->attributes().maximised()) frame->showMaximized();
    else frame->show();
    if (frame->configMissing()) frame->close();  // quova.cfg missing: the warning was shown
    int result = frame->isVisible() ? qapp.exec() : 0;
    frame.reset();
    return result;
  });
  quova::setHost(nullptr);
  return rc;
}
