// The log file and message reporting: quova.log is emptied at each start and opened,
// appended to and closed for every entry, with no time stamps; message boxes are copied
// into it; progress goes to the status bar.
#pragma once

#include <string>
#include <string_view>

namespace quova {

struct LogState {
  std::string QuovaLogFile = "quova.log";  // made absolute at start, so a later chdir keeps it
  bool LogDiagnostics = false;             // kept in quova.ini
  bool failureShown = false;               // only the first failing entry shows its box
  bool holding = false;                    // start-up: entries wait in `held`
  std::string held;
};
LogState& logState();

inline constexpr int kLogEntryMax = 5000;  // an entry holds at most 4999 characters

int OpenLogFile();
// Start-up keeps the entries in memory until the root is known, so a start from a folder
// without quova.ini (another root's folder) does not empty the log that root's run left.
void HoldLog();
// Ends the hold. With the root known the log is emptied (OpenLogFile) and gets the held
// entries; without it they are written only when there is no log yet. -1 when the log
// cannot be opened.
int ReleaseLog(bool rootKnown);
int Log(const char* format, ...) __attribute__((format(printf, 1, 2)));
int DiaLog(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Appends the text unchanged (no formatting), cut at 4999 characters.
int LogText(std::string_view text);
int LogBox(std::string_view text, std::string_view caption, unsigned flags);
// A message box that is not copied into the log when a person sees it; a host that answers
// by itself (headless, tests) gets it through LogBox, so the log shows what was answered.
int MessageBox(std::string_view text, std::string_view caption, unsigned flags);
void MessBar(std::string_view text);
void LogBar(std::string_view text);
void LogSystemInfo();
// TMyApp::MessBar: copies the text (at most 180 characters) into io and shows io.
void AppMessBar(std::string_view text);
// The cooperative message pump of every long loop; false when the application is quitting.
bool KeepWindowsHappy();

// printf into a std::string, cut at max - 1 characters.
std::string formatText(std::size_t max, const char* format, ...) __attribute__((format(printf, 2, 3)));

}  // namespace quova
