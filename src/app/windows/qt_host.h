// The host of a run with a person at the desktop: real message boxes, the main frame's
// status bar and the system beep. Processes and the pump are the headless host's.
#pragma once

#include <QPointer>
#include <QStatusBar>

#include "app/events/headless_host.h"

namespace quova {

class QtHost : public HeadlessHost {
 public:
  using HeadlessHost::HeadlessHost;
  int messageBox(std::string_view text, std::string_view caption, unsigned flags) override;
  void statusText(std::string_view text) override;
  void beep() override;
  bool interactive() const override { return true; }
  void setStatusBar(QStatusBar* bar) { bar_ = bar; }

 private:
  QPointer<QStatusBar> bar_;
};

}  // namespace quova
