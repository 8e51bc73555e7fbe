// The host: the one way the core reaches the desktop (message boxes, the status bar,
// the message pump, the beep and external processes). The windows layer implements it
// with Qt, the headless run answers by itself, and tests record every call.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quova {

// Message box type flags, with the values and meaning of the Windows flags.
namespace mb {
inline constexpr unsigned OK = 0x0;
inline constexpr unsigned OKCANCEL = 0x1;
inline constexpr unsigned ABORTRETRYIGNORE = 0x2;
inline constexpr unsigned YESNOCANCEL = 0x3;
inline constexpr unsigned YESNO = 0x4;
inline constexpr unsigned RETRYCANCEL = 0x5;
inline constexpr unsigned TYPEMASK = 0xF;
inline constexpr unsigned ICONSTOP = 0x10;  // also "hand" and "error"
inline constexpr unsigned ICONQUESTION = 0x20;
inline constexpr unsigned ICONEXCLAMATION = 0x30;
inline constexpr unsigned ICONINFORMATION = 0x40;  // also "asterisk"
inline constexpr unsigned ICONMASK = 0xF0;
inline constexpr unsigned DEFBUTTON1 = 0x000;
inline constexpr unsigned DEFBUTTON2 = 0x100;
inline constexpr unsigned DEFBUTTON3 = 0x200;
inline constexpr unsigned DEFMASK = 0xF00;
}  // namespace mb

// Buttons a message box returns.
enum MbResult : int { IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7 };

// The buttons a type flag shows, in order, and the one that is the default.
std::vector<int> messageBoxButtons(unsigned flags);
int defaultButton(unsigned flags);

using ProcessId = std::int64_t;  // -1: could not be started

// The program's own window messages to the main frame, numbered from the first
// application-defined message (1024) by these offsets.
namespace appmsg {
inline constexpr int kFirst = 1024;
inline constexpr int GetMsg = 0;           // the status bar shows io
inline constexpr int PlotQuote = 1;        // open the quote file named by QuoteFile as a chart
inline constexpr int DownLoadExec = 2;     // the next line of the daily download command file
inline constexpr int MendoraExec = 3;      // start the repair tool on FileToFixPath
inline constexpr int DownLoadRecover = 5;  // retry the current quote list
}  // namespace appmsg

struct Host {
  virtual ~Host() = default;
  // Shows a message box and returns the button chosen (IDOK, IDYES, ...).
  virtual int messageBox(std::string_view text, std::string_view caption, unsigned flags) = 0;
  // Shows the text in the main window's status bar.
  virtual void statusText(std::string_view text) = 0;
  // Runs pending window messages once; false when the application is quitting.
  virtual bool pump() = 0;
  virtual void beep() = 0;
  // Starts a program with an argument list (never through a shell) in a working directory.
  virtual ProcessId startProcess(const std::string& program, const std::vector<std::string>& args,
                                 const std::string& workDir) = 0;
  // The exit code of a started process once it has ended; nothing while it runs.
  virtual std::optional<int> processExitCode(ProcessId id) = 0;
  // Ends a started process that did not end by itself (a repair tool past its wait).
  virtual void endProcess(ProcessId id) {}
  // An application message to the main frame, carried out before the call returns; without
  // a frame only GetMsg has an effect (the status text becomes io).
  virtual void sendAppMessage(int offset);
  // The same, carried out once the pending window messages have run.
  virtual void postAppMessage(int offset) { sendAppMessage(offset); }
  // False for hosts that answer by themselves (headless runs, tests): their boxes go to the log.
  virtual bool interactive() const { return false; }
};

// The process-wide host. Until one is installed, a quiet default answers with the default button.
Host& host();
void setHost(Host* h);  // nullptr restores the quiet default
// A host for the calling thread only (work run off the GUI thread keeps its boxes and
// status texts to hand them over later); nullptr goes back to the process-wide one.
void setThreadHost(Host* h);

}  // namespace quova
