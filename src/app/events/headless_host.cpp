// The host of unattended and offscreen runs.
#include "app/events/headless_host.h"

#include <QCoreApplication>
#include <cstdlib>
#include <cstring>

namespace quova {

QEvent::Type AppMessageEvent::eventType() {
  static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
  return type;
}

void HeadlessHost::sendAppMessage(int offset) {
  if (!target_) return Host::sendAppMessage(offset);
  AppMessageEvent e(offset);
  QCoreApplication::sendEvent(target_, &e);
}

void HeadlessHost::postAppMessage(int offset) {
  if (!target_) return Host::postAppMessage(offset);
  QCoreApplication::postEvent(target_, new AppMessageEvent(offset));
}

HeadlessHost::HeadlessHost(QObject* parent) : QObject(parent) {}

HeadlessHost::~HeadlessHost() {
  // Programs started for the user go on running; only the bookkeeping goes.
  for (auto& [id, p] : processes_) p->setParent(nullptr), p.release();
}

int HeadlessHost::messageBox(std::string_view, std::string_view, unsigned flags) { return defaultButton(flags); }

void HeadlessHost::statusText(std::string_view text) { status_ = std::string(text); }

bool HeadlessHost::pump() {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  return !quitRequested_;
}

ProcessId HeadlessHost::startProcess(const std::string& program, const std::vector<std::string>& args,
                                     const std::string& workDir) {
  auto p = std::make_unique<QProcess>();
  QStringList list;
  for (const auto& a : args) list << QString::fromStdString(a);
  p->setProgram(QString::fromStdString(program));
  p->setArguments(list);
  if (!workDir.empty()) p->setWorkingDirectory(QString::fromStdString(workDir));
  p->setProcessChannelMode(QProcess::ForwardedChannels);
  p->start();
  if (!p->waitForStarted(5000)) return -1;
  ProcessId id = next_++;
  processes_[id] = std::move(p);
  return id;
}

std::optional<int> HeadlessHost::processExitCode(ProcessId id) {
  auto it = processes_.find(id);
  if (it == processes_.end()) return -1;
  QProcess& p = *it->second;
  p.waitForFinished(0);  // lets the process's state catch up without blocking
  if (p.state() != QProcess::NotRunning) return std::nullopt;
  int code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  processes_.erase(it);
  return code;
}

void HeadlessHost::endProcess(ProcessId id) {
  auto it = processes_.find(id);
  if (it == processes_.end()) return;
  it->second->kill();
  it->second->waitForFinished(2000);
  processes_.erase(it);
}

bool runsHeadless() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (platform && (std::strcmp(platform, "offscreen") == 0 || std::strcmp(platform, "minimal") == 0)) return true;
  const char* display = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return !(display && *display) && !(wayland && *wayland);
}

}  // namespace quova
