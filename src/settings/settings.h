// The process-wide settings kept in quova.ini and User.dat: the download schedule and
// options (DownloadControls), the chart palette (PlotColors), the colour chooser's custom
// colours, the external program paths (TPathBuffer) and the download state. They are
// loaded at start (GetIniFile) and saved at close (SaveIniFile), as raw little-endian images.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "base/colors.h"

namespace quova {

// Colour target codes of the Global Setup dialog, kept in PlotColors[15].
namespace colortarget {
inline constexpr COLORREF HiLoClose = 102, Background = 103, Scale = 104, InBoundsLSF = 107,
                          OutBoundsLSF = 108, MouseDrawing = 109, SMA1 = 110, SMA2 = 111, SMA3 = 112,
                          Volatility1 = 413, Volatility2 = 414, Volatility3 = 415, Volatility4 = 416,
                          StochasticK = 417, StochasticD = 418;
}

// The display date formats (GoodDate codes).
inline constexpr std::int32_t kDateUS = 1021, kDateInternational = 1022;

// Sizes of the binary images.
inline constexpr std::size_t kIniFileSize = 576, kDownloadControlsSize = 410, kUserFileSize = 543;
inline constexpr std::size_t kTimeZoneSize = 5, kProxyServerSize = 381, kLastDnLoadDateSize = 21,
                             kUserPathSize = 181;

// The download schedule and options record (410 bytes inside quova.ini).
struct DownloadControlsRecord {
  std::int32_t DLTime = 448;  // hours*100 + minutes, 24-hour clock
  bool DLTimeAM = false;
  bool DLTimePM = true;
  bool DLTime24 = false;
  bool DLOnMonday = true, DLOnTuesday = true, DLOnWednesday = true, DLOnThursday = true,
       DLOnFriday = true, DLOnSaturday = false, DLOnSunday = false;
  std::string TimeZone = "R";  // char[5], a military zone letter
  double CurrencyDivisor = 1.0;
  bool OpenAlarmsQTL = true;
  bool UseProxy = false;
  std::string ProxyServer = "http:\\\\";  // char[381]
};

// User.dat (543 bytes): the external programs. On Linux the desktop's opener is the
// default for all three, so a saved User.dat is complete.
struct PathBufferRecord {
  std::string EditorPath = "xdg-open";
  std::string BrowserPath = "xdg-open";
  std::string SpreadsheetPath = "xdg-open";
};

Palette quovaPalette();                          // QUOVAPlotColors
Palette windowsPalette(const SystemColors& sys);  // WinPlotColors
Palette defaultCustomColors();                   // grey 1, then 16, 32, ... 240

// Everything quova.ini and User.dat hold (LogDiagnostics lives in logState()), with the
// values before loading as defaults.
struct Settings {
  std::int32_t DailyDownloadSource = 3;
  std::string LastDnLoadDate = "01/01/80";  // char[21], "mm/dd/yy"
  std::int32_t LastDnLoadStep = 0;
  Palette PlotColors = quovaPalette();
  Palette custColors = defaultCustomColors();
  std::uint8_t reserved = 0;  // offset 157, kept as read
  DownloadControlsRecord DownloadControls;
  bool DiagnosticDisplays = false;
  bool CSVenable = false;
  bool CSVappend = false;
  std::int32_t DisplayDateFormat = kDateUS;

  PathBufferRecord TPathBuffer;

  SystemColors systemColors;
  Palette QUOVAPlotColors = quovaPalette();
  Palette WinPlotColors = windowsPalette(SystemColors{});
};
Settings& settings();

// The images, field by field. Reading leaves the fields a short image does not reach as
// they were and applies no validation; GetIniFile validates.
std::string iniImage(const Settings& s, bool logDiagnostics);
void readIniImage(std::string_view bytes, Settings& s, bool& logDiagnostics);
std::string userImage(const PathBufferRecord& p);
void readUserImage(std::string_view bytes, PathBufferRecord& p);

// The root-directory warning shown when quova.ini or quova.cfg is missing; kind is
// "initialization" or "configuration" ("Cannot find <kind> file -- <path>" heads it).
std::string rootDirectoryWarning(std::string_view kind, std::string_view path);

// quova.ini then User.dat; false only when quova.ini cannot be opened (after the warning).
bool GetIniFile();
// quova.ini, then always User.dat. True when quova.ini was written.
bool SaveIniFile();
// User.dat; false when it was missing or a path was empty (the installation dialogs ran).
bool GetUserFile();
bool SaveUserFile();

// The Global Setup and External Program Pathnames dialogs that GetUserFile runs, in that
// order, when User.dat or a path in it is missing. The windows layer installs them; without them GetUserFile
// only shows the installation message.
void setInstallationDialogs(std::function<void()> run);

}  // namespace quova
