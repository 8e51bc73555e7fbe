// The recording test host.
#include "support/recording_host.h"

namespace quova::test {

int RecordingHost::messageBox(std::string_view text, std::string_view caption, unsigned flags) {
  boxes.push_back({std::string(text), std::string(caption), flags});
  if (answers.empty()) return defaultButton(flags);
  int a = answers.front();
  answers.pop_front();
  return a;
}

ProcessId RecordingHost::startProcess(const std::string& program, const std::vector<std::string>& args,
                                      const std::string& workDir) {
  processes.push_back({program, args, workDir});
  return nextProcess < 0 ? -1 : nextProcess++;
}

bool RecordingHost::sawBox(std::string_view text, std::string_view caption) const {
  for (const auto& b : boxes)
    if (b.text == text && b.caption == caption) return true;
  return false;
}

}  // namespace quova::test
