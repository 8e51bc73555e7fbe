// A host for tests: records every call and answers message boxes from a script.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "base/host.h"

namespace quova::test {

struct RecordedBox {
  std::string text;
  std::string caption;
  unsigned flags = 0;
};

struct RecordedProcess {
  std::string program;
  std::vector<std::string> args;
  std::string workDir;
};

class RecordingHost : public Host {
 public:
  std::vector<RecordedBox> boxes;
  std::vector<std::string> statusTexts;
  std::vector<RecordedProcess> processes;
  std::vector<int> appMessages;  // offsets sent or posted to the main frame, in order
  std::deque<int> answers;  // next message box answers; the default button when empty
  int pumps = 0;
  int beeps = 0;
  bool quitting = false;       // pump() answers !quitting
  int processExit = 0;         // exit code every started process reports
  ProcessId nextProcess = 1;   // -1 makes every start fail
  int runningPolls = 0;        // polls a started process answers "still running"
  int polls = 0;
  std::vector<ProcessId> ended;  // processes ended by endProcess

  int messageBox(std::string_view text, std::string_view caption, unsigned flags) override;
  void statusText(std::string_view text) override { statusTexts.emplace_back(text); }
  bool pump() override {
    ++pumps;
    return !quitting;
  }
  void beep() override { ++beeps; }
  ProcessId startProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::string& workDir) override;
  // processExit once a process has been asked runningPolls times (0: at once).
  std::optional<int> processExitCode(ProcessId) override {
    if (polls++ < runningPolls) return std::nullopt;
    polls = 0;
    return processExit;
  }
  void endProcess(ProcessId id) override { ended.push_back(id); }
  void sendAppMessage(int offset) override {
    appMessages.push_back(offset);
    Host::sendAppMessage(offset);
  }

  bool sawBox(std::string_view text, std::string_view caption) const;
};

// Installs a RecordingHost for the lifetime of the object.
class ScopedHost {
 public:
  ScopedHost() { setHost(&host); }
  ~ScopedHost() { setHost(nullptr); }
  RecordingHost host;
};

}  // namespace quova::test
