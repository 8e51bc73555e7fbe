// quova.log, message boxes mirrored into it, and the status bar routines.
#include "base/log.h"

#include <fcntl.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cstdarg>
#include <cstdio>
#include <vector>

#include "base/host.h"
#include "base/run_flags.h"

namespace quova {
namespace {

std::string vformat(std::size_t max, const char* format, va_list args) {
  std::vector<char> buf(max);
  int n = std::vsnprintf(buf.data(), max, format, args);
  if (n < 0) return {};
  return std::string(buf.data());
}

void showLogFailure() {
  LogState& s = logState();
  if (s.failureShown) return;  // one box per run, not one per entry
  s.failureShown = true;
  host().messageBox("Cannot open QUOVA LogFile for writing.", "in routine OpenLogFile()", 0x10);
}

bool appendToLog(std::string_view text) {
  int fd = ::open(logState().QuovaLogFile.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0666);
  if (fd < 0) return false;
  bool ok = true;
  std::size_t done = 0;
  while (done < text.size()) {
    ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n <= 0) {
      ok = false;
      break;
    }
    done += static_cast<std::size_t>(n);
  }
  return ::close(fd) == 0 && ok;
}

}  // namespace

LogState& logState() {
  static LogState state;
  return state;
}

std::string formatText(std::size_t max, const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string s = vformat(max, format, args);
  va_end(args);
  return s;
}

int OpenLogFile() {
  int fd = ::open(logState().QuovaLogFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
  if (fd < 0 || ::close(fd) != 0) {
    host().messageBox("Cannot open QUOVA LogFile for writing.", "in routine OpenLogFile()", 0x10);
    return -1;
  }
  logState().failureShown = false;
  return 0;
}

void HoldLog() {
  logState().holding = true;
  logState().held.clear();
}

int ReleaseLog(bool rootKnown) {
  LogState& s = logState();
  s.holding = false;
  const std::string held = std::move(s.held);
  s.held.clear();
  if (rootKnown) {
    if (OpenLogFile() != 0) return -1;
  } else if (::access(s.QuovaLogFile.c_str(), F_OK) == 0) {
    s.QuovaLogFile = "/dev/null";  // another root's log stays as it is, to the end of this run
    return 0;
  }
  // A log that cannot be written is reported once; the run goes on, as after any failed entry.
  if (!held.empty() && !appendToLog(held)) showLogFailure();
  return 0;
}

int LogText(std::string_view text) {
  if (text.size() > kLogEntryMax - 1) text = text.substr(0, kLogEntryMax - 1);
  if (logState().holding) {
    logState().held += text;
    return 0;
  }
  if (appendToLog(text)) return 0;
  showLogFailure();
  return -1;
}

int Log(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string s = vformat(kLogEntryMax, format, args);
  va_end(args);
  return LogText(s);
}

int DiaLog(const char* format, ...) {
  if (!logState().LogDiagnostics) return 0;
  va_list args;
  va_start(args, format);
  std::string s = vformat(kLogEntryMax, format, args);
  va_end(args);
  LogText(s);
  return 0;
}

int LogBox(std::string_view text, std::string_view caption, unsigned flags) {
  std::string block = "\n\nMessageBox:\n";
  block += text;
  block += "\nCaption:\n";
  block += caption;
  block += "\n";
  LogText(block);
  return host().messageBox(text, caption, flags);
}

int MessageBox(std::string_view text, std::string_view caption, unsigned flags) {
  if (!host().interactive()) return LogBox(text, caption, flags);
  return host().messageBox(text, caption, flags);
}

void MessBar(std::string_view text) {
  if (runFlags().Quit) return;
  host().statusText(text);
  KeepWindowsHappy();
}

void LogBar(std::string_view text) {
  Log("\n%.*s\n", static_cast<int>(text.size()), text.data());
  MessBar(text);
}

void AppMessBar(std::string_view text) {
  runFlags().io = std::string(text.substr(0, 180));
  host().sendAppMessage(appmsg::GetMsg);
}

bool KeepWindowsHappy() {
  if (!host().pump()) {
    runFlags().Quit = true;
    return false;
  }
  return true;
}

void LogSystemInfo() {
  // The closest Linux equivalents of the three Windows lines: the system's configuration
  // folder, the host name, and the kernel release.
  Log("\nWindows directory -- %s", "/etc");
  char name[1001] = {0};
  if (::gethostname(name, sizeof name - 1) != 0) name[0] = 0;
  Log("\nComputer Name -- %s", name);
  utsname u{};
  Log("\nWindows NT build %s detected.", ::uname(&u) == 0 ? u.release : "0");
}

}  // namespace quova
