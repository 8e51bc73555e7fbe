// The default host and the message box button rules shared by every host.
#include "base/host.h"

#include "base/run_flags.h"

namespace quova {

std::vector<int> messageBoxButtons(unsigned flags) {
  switch (flags & mb::TYPEMASK) {
    case mb::OKCANCEL: return {IDOK, IDCANCEL};
    case mb::ABORTRETRYIGNORE: return {IDABORT, IDRETRY, IDIGNORE};
    case mb::YESNOCANCEL: return {IDYES, IDNO, IDCANCEL};
    case mb::YESNO: return {IDYES, IDNO};
    case mb::RETRYCANCEL: return {IDRETRY, IDCANCEL};
    default: return {IDOK};
  }
}

int defaultButton(unsigned flags) {
  std::vector<int> buttons = messageBoxButtons(flags);
  std::size_t index = (flags & mb::DEFMASK) >> 8;
  return index < buttons.size() ? buttons[index] : buttons.front();
}

void Host::sendAppMessage(int offset) {
  if (offset == appmsg::GetMsg) statusText(runFlags().io);
}

namespace {

// Answers every box with its default button and starts nothing: the core on its own.
struct QuietHost final : Host {
  int messageBox(std::string_view, std::string_view, unsigned flags) override { return defaultButton(flags); }
  void statusText(std::string_view) override {}
  bool pump() override { return true; }
  void beep() override {}
  ProcessId startProcess(const std::string&, const std::vector<std::string>&, const std::string&) override {
    return -1;
  }
  std::optional<int> processExitCode(ProcessId) override { return -1; }
};

QuietHost quietHost;
Host* current = &quietHost;
thread_local Host* threadHost = nullptr;

}  // namespace

Host& host() { return threadHost ? *threadHost : *current; }
void setThreadHost(Host* h) { threadHost = h; }
void setHost(Host* h) { current = h ? h : &quietHost; }

}  // namespace quova
