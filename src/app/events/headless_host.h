// The host of a run without a person: no display, or QT_QPA_PLATFORM=offscreen. Every
// message box is answered at once with its default button (the box itself reaches the
// log through LogBox and MessageBox), the pump runs the Qt event loop once, and external
// programs are started with QProcess from an argument list, never through a shell.
#pragma once

#include <QObject>
#include <QProcess>
#include <map>
#include <memory>

#include "app/host.h"

namespace quova {

class HeadlessHost : public QObject, public Host {
  Q_OBJECT

 public:
  explicit HeadlessHost(QObject* parent = nullptr);
  ~HeadlessHost() override;

  int messageBox(std::string_view text, std::string_view caption, unsigned flags) override;
  void statusText(std::string_view text) override;
  bool pump() override;
  void beep() override {}
  ProcessId startProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::string& workDir) override;
  std::optional<int> processExitCode(ProcessId id) override;
  bool interactive() const override { return false; }

  // Asked by a quit request (SIGTERM, the last window closing): the next pump says so.
  void requestQuit() { quitRequested_ = true; }
  const std::string& lastStatus() const { return status_; }

 private:
  std::map<ProcessId, std::unique_ptr<QProcess>> processes_;
  ProcessId next_ = 1;
  bool quitRequested_ = false;
  std::string status_;
};

// True when no person can answer: offscreen or minimal platform, or no display at all.
bool runsHeadless();

}  // namespace quova
