// What the Global Setup dialog does with the settings, without the dialog: the control
// ids, the colour target buttons, the click handling (BNChecked) with the CSV switches
// that save at once, the OK checks in their order with their messages, Clear, the help
// texts, and Options/Save Configuration.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/window_files.h"
#include "settings/settings.h"

namespace quova {

// Control ids of the Global Setup dialog (resource 3).
namespace gsid {
inline constexpr int ColorGroup = 101, ResetWindows = 105, ResetQuova = 106, Time = 115, DailyGroup = 113,
                     AM = 116, PM = 117, H24 = 118, Mondays = 120, Tuesdays = 121, Wednesdays = 122,
                     Thursdays = 124, Fridays = 125, Saturdays = 126, Sundays = 123, Alarms = 131,
                     TimeZone = 127, Divisor = 129, CsvGroup = 132, CsvEnable = 133, CsvAppend = 135,
                     CsvClear = 136, CsvHelp = 137, DateGroup = 134, DateUS = 140, DateInternational = 141,
                     LogGroup = 144, LogOn = 145, LogOff = 146, ProxyGroup = 147, ProxyUse = 148,
                     ProxyServer = 149, OK = 1, Cancel = 2, Help = 9;
}  // namespace gsid

// The day boxes, Monday to Sunday.
inline constexpr std::array<int, 7> kDayBoxIds = {gsid::Mondays,  gsid::Tuesdays,  gsid::Wednesdays, gsid::Thursdays,
                                                  gsid::Fridays,  gsid::Saturdays, gsid::Sundays};

// Edit bounds and the characters each edit accepts.
inline constexpr int kSetupTimeMax = 9, kSetupZoneMax = 1, kSetupDivisorMax = 9, kSetupProxyMax = 380;
inline constexpr std::string_view kTimeChars = "0123456789:", kDivisorChars = "0123456789, .";
bool isZoneChar(char c);  // letters, comma and blank

// The colour target buttons of group 101 in dialog order, with the code each selects.
struct ColorTargetButton {
  int id;
  COLORREF code;
  std::string_view text;
};
const std::vector<ColorTargetButton>& colorTargetButtons();
// The button checked for a stored target code; an unknown code checks Hi/Lo/Close.
int colorButtonFor(COLORREF code);

// The edit texts the dialog opens with.
std::string setupTimeText(const DownloadControlsRecord& d);
std::string setupDivisorText(double divisor);

// The state of the dialog's buttons that BNChecked reads.
struct SetupButtons {
  int colorButton = 0;  // the checked button of group 101, a reset button included; 0: none
  bool csvEnable = false, csvAppend = false;
  bool dateUS = true, dateInternational = false;
  bool logOn = false, logOff = true;
  bool useProxy = false;
};

// BNChecked: the target code, a palette reset, the CSV switches (each change saved at once
// and announced), the date format, the diagnostic log and the proxy switch. True when a
// palette was reset, so the chart window can redraw.
bool SetupBNChecked(const SetupButtons& b);

// The CSV switches, shared with the Download menu: each change sets the flag, saves
// quova.ini at once and shows what it means. Append changes count only while CSV is on.
// False when nothing changed.
bool SetCSVEnable(bool on);
bool SetCSVAppend(bool on);

// Everything OK reads.
struct SetupEntry {
  SetupButtons buttons;
  bool openAlarms = true;
  std::array<bool, 7> days{};  // Monday .. Sunday
  bool am = false, pm = true, h24 = false;
  std::string timeZone, divisor, time, proxy;
};

enum class SetupField { None, TimeZone, Divisor, Time };
struct SetupResult {
  SetupField failed = SetupField::None;  // the field that takes the focus; None: the dialog closes
  std::string timeZoneText;              // the zone as the edit shows it again (upper case)
  bool paletteReset = false;             // BNChecked copied a default palette
};

// CmOkButton: BNChecked, then the alarm, day and clock buttons, then the checks in order
// (time zone, divisor, time), each failure shown in a box captioned "QUOVA Global Setup
// Error". A setting is stored only once its own check passed; the proxy last.
SetupResult SetupOK(const SetupEntry& e);

// The single checks, in the order OK runs them; nothing stored.
bool checkTimeZone(std::string_view text, std::string& upper);
bool checkDivisor(std::string_view text, double& divisor);
bool checkDownloadTime(std::string_view text, bool pm, std::int32_t& time);

std::string timeZoneMessage();
std::string divisorMessage();
std::string timeMessage();
inline constexpr std::string_view kSetupErrorCaption = "QUOVA Global Setup Error";
inline constexpr std::string_view kSetupHelpCaption = "Global Setup Dialog Help";

// Clear: quotes.csv emptied from Blank.txt, then the box saying so.
void SetupCSVClear();
std::string csvHelpText();
std::string globalSetupHelpText();

// The External Program Pathnames dialog's help.
inline constexpr int kPathnameMax = 180;
inline constexpr std::string_view kPathnamesHelpCaption = "External Reference Pathnames Dialog Help";
std::string pathnamesHelpText();

// Options/Save Configuration: quova.cfg from the frame's attributes, then quova.ini and
// User.dat, then the box saying so.
void CmSaveConfiguration(const FrameAttributes& frame);

}  // namespace quova
