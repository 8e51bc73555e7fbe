// The host of a run without a person: no display, or QT_QPA_PLATFORM=offscreen. Every
// message box is answered at once with its default button (the box itself reaches the
// log through LogBox and MessageBox), the pump runs the Qt event loop once, and external
// programs are started with QProcess from an argument list, never through a shell.
#pragma once

#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QProcess>
#include <map>
#include <memory>

#include "base/host.h"

namespace quova {

// An application message (Host::sendAppMessage) as the main frame receives it.
class AppMessageEvent : public QEvent {
 public:
  explicit AppMessageEvent(int offset) : QEvent(eventType()), offset_(offset) {}
  static QEvent::Type eventType();
  int offset() const { return offset_; }

 private:
  int offset_;
};

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
  void endProcess(ProcessId id) override;
  bool interactive() const override { return false; }
  void sendAppMessage(int offset) override;
  void postAppMessage(int offset) override;
  // The main frame, which receives the application messages as AppMessageEvent.
  void setAppMessageTarget(QObject* target) { target_ = target; }

  // Asked by a quit request (SIGTERM, the last window closing): the next pump says so.
  void requestQuit() { quitRequested_ = true; }
  const std::string& lastStatus() const { return status_; }

 private:
  std::map<ProcessId, std::unique_ptr<QProcess>> processes_;
  ProcessId next_ = 1;
  bool quitRequested_ = false;
  std::string status_;
  QPointer<QObject> target_;
};

// True when no person can answer: offscreen or minimal platform, or no display at all.
bool runsHeadless();

}  // namespace quova
