// What the libFuzzer targets share: the input as a file in a private folder, and a host
// that answers every box with No (so a loader reads on past a bad line) and logs nowhere.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "base/host.h"
#include "base/log.h"

namespace quova::fuzz {

struct QuietHost : Host {
  int messageBox(std::string_view, std::string_view, unsigned) override { return IDNO; }
  void statusText(std::string_view) override {}
  bool pump() override { return true; }
  void beep() override {}
  ProcessId startProcess(const std::string&, const std::vector<std::string>&, const std::string&) override {
    return -1;
  }
  std::optional<int> processExitCode(ProcessId) override { return 0; }
};

// The folder of this fuzzing process ("/tmp/quova_fuzz_<pid>/"), made once, with the host
// and the log set up.
inline const std::string& workDir() {
  static const std::string dir = [] {
    std::string d = "/tmp/quova_fuzz_" + std::to_string(::getpid()) + "/";
    ::mkdir(d.c_str(), 0700);
    static QuietHost h;
    setHost(&h);
    logState().QuovaLogFile = "/dev/null";
    return d;
  }();
  return dir;
}

// Writes the bytes to name in the work folder; its full path.
inline std::string inputFile(const std::string& name, const std::uint8_t* data, std::size_t size) {
  std::string path = workDir() + name;
  if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  return path;
}

}  // namespace quova::fuzz
