// quova.ini and User.dat: their images, the validations applied on loading, and the load
// and save routines with their log lines.
#include "settings/settings.h"

#include <cmath>
#include <utility>

#include "base/binary_image.h"
#include "base/host.h"
#include "base/log.h"
#include "base/run_flags.h"
#include "util/dates.h"
#include "util/file_bytes.h"
#include "util/paths.h"

namespace quova {
namespace {

constexpr COLORREF LtYellow = RGB(255, 255, 0), Black = RGB(0, 0, 0), White = RGB(255, 255, 255),
                   LtRed = RGB(255, 0, 0), LtGray = RGB(192, 192, 192), LtCyan = RGB(0, 255, 255),
                   LtGreen = RGB(0, 255, 0), LtBlue = RGB(0, 0, 255), LtMagenta = RGB(255, 0, 255);

std::function<void()>& installationDialogs() {
  static std::function<void()> run;
  return run;
}

// The records in file order; a short image stops the reader at the first field it lacks.
template <class IO, FieldsOf<DownloadControlsRecord> D>
void fields(IO& io, D& d) {
  io.i32(d.DLTime);
  io.flag(d.DLTimeAM);
  io.flag(d.DLTimePM);
  io.flag(d.DLTime24);
  for (auto* day : {&d.DLOnMonday, &d.DLOnTuesday, &d.DLOnWednesday, &d.DLOnThursday, &d.DLOnFriday,
                    &d.DLOnSaturday, &d.DLOnSunday})
    io.flag(*day);
  io.text(d.TimeZone, kTimeZoneSize);
  io.f64(d.CurrencyDivisor);
  io.flag(d.OpenAlarmsQTL);
  io.flag(d.UseProxy);
  io.text(d.ProxyServer, kProxyServerSize);
}

// quova.ini; LogDiagnostics is kept in the log's state, so it comes as its own field.
template <class IO, FieldsOf<Settings> S, FieldsOf<bool> B>
void fields(IO& io, S& s, B& logDiagnostics) {
  io.i32(s.DailyDownloadSource);
  io.text(s.LastDnLoadDate, kLastDnLoadDateSize);
  io.i32(s.LastDnLoadStep);
  for (auto& c : s.PlotColors) io.u32(c);
  for (auto& c : s.custColors) io.u32(c);
  io.byte(s.reserved);
  fields(io, s.DownloadControls);
  io.flag(s.DiagnosticDisplays);
  io.flag(s.CSVenable);
  io.flag(s.CSVappend);
  io.i32(s.DisplayDateFormat);
  io.flag(logDiagnostics);
}

// User.dat.
template <class IO, FieldsOf<PathBufferRecord> P>
void fields(IO& io, P& p) {
  io.text(p.EditorPath, kUserPathSize);
  io.text(p.BrowserPath, kUserPathSize);
  io.text(p.SpreadsheetPath, kUserPathSize);
}

// The validations of quova.ini, in file order.
void validate(Settings& s, const std::string& path) {
  s.DailyDownloadSource = 3;
  if (GoodDate(s.LastDnLoadDate.c_str(), kDateUS) == -1) s.LastDnLoadDate = "01/01/80";
  if (s.LastDnLoadStep < 0 || s.LastDnLoadStep > 20) s.LastDnLoadStep = 0;
  // A divisor of zero or below, or one that is not a number, would write infinite or
  // sign-flipped prices into quote files.
  double& div = s.DownloadControls.CurrencyDivisor;
  if (!std::isfinite(div) || div <= 0) {
    Log("\nCurrencyDivisor %g in %s is not a positive number; 1.0 is used.", div, path.c_str());
    div = 1.0;
  }
  if (s.DisplayDateFormat != kDateUS && s.DisplayDateFormat != kDateInternational) s.DisplayDateFormat = kDateUS;
}

}  // namespace

Palette quovaPalette() {
  return {LtYellow, Black, White, LtRed, LtGray, LtCyan, LtGreen, LtBlue,
          LtGreen, LtCyan, LtGreen, LtBlue, LtMagenta, LtCyan, LtGreen, colortarget::HiLoClose};
}

Palette windowsPalette(const SystemColors& sys) {
  return {sys.windowText, sys.window, sys.windowText, LtRed, LtGray, LtCyan, LtGreen, LtBlue,
          sys.windowText, LtCyan, LtGreen, LtBlue, LtMagenta, LtCyan, LtGreen, colortarget::HiLoClose};
}

Palette defaultCustomColors() {
  Palette p{};
  p[0] = RGB(1, 1, 1);
  for (unsigned i = 1; i < p.size(); ++i) p[i] = RGB(16 * i, 16 * i, 16 * i);
  return p;
}

Settings& settings() {
  static Settings s;
  return s;
}

std::string iniImage(const Settings& s, bool logDiagnostics) {
  ImageWriter w;
  fields(w, s, logDiagnostics);
  return w.bytes();
}

void readIniImage(std::string_view bytes, Settings& s, bool& logDiagnostics) {
  ImageReader r(bytes);
  fields(r, s, logDiagnostics);
}

std::string userImage(const PathBufferRecord& p) {
  ImageWriter w;
  fields(w, p);
  return w.bytes();
}

void readUserImage(std::string_view bytes, PathBufferRecord& p) {
  ImageReader r(bytes);
  fields(r, p);
}

std::string rootDirectoryWarning(std::string_view kind, std::string_view path) {
  std::string t = "Cannot find ";
  t += kind;
  t += " file -- ";
  t += path;
  t += "\n";
  t += "\nLikely QUOVA has been started with an incorrect default directory.\n";
  t += "\nQUOVA must start with the default set to the QUOVA root directory.\n";
  t += "\nCheck your \"Start in\" directory in your QUOVA icon.\n";
  t += "\nIf you are starting QUOVA from other than its root directory,\n";
  t += "\nor using drag & drop, you must set the QUOVA environment variable\n";
  t += "\nto the QUOVA root driectory path.\n";
  t += "\n\n(If you already have an QUOVA environment variable, be sure \n";
  t += "\nthe path is correct.)\n";
  t += "\n\nQUOVA will (must) close.\n";
  return t;
}

void setInstallationDialogs(std::function<void()> run) { installationDialogs() = std::move(run); }

bool GetIniFile() {
  Settings& s = settings();
  const SystemColors sys = s.systemColors;
  s = Settings{};
  s.systemColors = sys;
  s.WinPlotColors = windowsPalette(sys);
  s.PlotColors = s.QUOVAPlotColors;
  logState().LogDiagnostics = false;

  const std::string path = runFlags().IniFilePath;
  std::string bytes;
  if (!readFileBytes(path, bytes, kIniFileSize)) {
    Log("\n%s could not be opened for reading.", path.c_str());
    MessageBox(rootDirectoryWarning("initialization", path), "QUOVA main window WARNING", mb::OK);
    return false;
  }
  readIniImage(bytes, s, logState().LogDiagnostics);
  validate(s, path);
  Log("\n%s successfully read.", path.c_str());
  GetUserFile();
  return true;
}

bool SaveIniFile() {
  const std::string path = runFlags().IniFilePath;
  bool ok = replaceFileContent(path, iniImage(settings(), logState().LogDiagnostics));
  if (ok)
    Log("\n%s successfully updated.", path.c_str());
  else
    Log("\n%s could not be opened for update.", path.c_str());
  SaveUserFile();
  return ok;
}

bool GetUserFile() {
  Log("\nGetUserFile() entered");
  PathBufferRecord& p = settings().TPathBuffer;
  p = PathBufferRecord{};
  const std::string path = runFlags().UserFilePath;
  std::string bytes;
  const bool found = readFileBytes(path, bytes, kUserFileSize);
  if (!found) {
    Log("\n%s NOT found...this is normal for 1st installation.", path.c_str());
  } else {
    readUserImage(bytes, p);
    Log("\n%s successfully read.", path.c_str());
  }
  // A first start asks for the paths even though the defaults are complete; once saved,
  // User.dat is complete and the dialogs do not return.
  const bool complete = found && !p.EditorPath.empty() && !p.BrowserPath.empty() && !p.SpreadsheetPath.empty();
  if (!complete) {
    MessageBox("Please check and update as necessary the following user data.", "QUOVA Installation Message",
               mb::OK);
    if (installationDialogs()) installationDialogs()();
  }
  Log("\nEditor          Path: %s", p.EditorPath.c_str());
  Log("\nBrowser         Path: %s", p.BrowserPath.c_str());
  Log("\nSpreadsheetPath Path: %s", p.SpreadsheetPath.c_str());
  Log(complete ? "\nGetUserFile() exited successful" : "\nGetUserFile() exited unsuccessful");
  return complete;
}

bool SaveUserFile() {
  const std::string path = runFlags().UserFilePath;
  if (!replaceFileContent(path, userImage(settings().TPathBuffer))) {
    Log("\nCannot Open User File -- %s", path.c_str());
    return false;
  }
  Log("\nUser File -- %s successfully updated.", path.c_str());
  return true;
}

}  // namespace quova
