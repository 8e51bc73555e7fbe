// The Global Setup dialog's rules on the settings: clicks, the CSV switches, the OK checks
// and their messages, Clear, the help texts, and Options/Save Configuration.
#include "app/setup_checks.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "base/colors.h"
#include "base/host.h"
#include "base/log.h"
#include "util/filecopy.h"
#include "util/markettime.h"

namespace quova {

namespace {

constexpr std::string_view kCsvCaption = "Downloading Options";

bool onlyChars(std::string_view text, std::string_view allowed) {
  for (char c : text)
    if (allowed.find(c) == std::string_view::npos) return false;
  return true;
}

}  // namespace

bool isZoneChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == ',' || c == ' ';
}

const std::vector<ColorTargetButton>& colorTargetButtons() {
  namespace ct = colortarget;
  static const std::vector<ColorTargetButton> buttons = {
      {102, ct::HiLoClose, "Hi/Lo/Close"},       {103, ct::Background, "Background"},
      {104, ct::Scale, "Scale"},                 {107, ct::InBoundsLSF, "In Bounds LSF"},
      {108, ct::OutBoundsLSF, "Out Bounds LSF"}, {109, ct::MouseDrawing, "Mouse Drawing"},
      {110, ct::SMA1, "SMA 1"},                  {111, ct::SMA2, "SMA 2"},
      {112, ct::SMA3, "SMA 3"},                  {1113, ct::Volatility1, "Volatility 1"},
      {1115, ct::Volatility2, "Volatility 2"},   {1116, ct::Volatility3, "Volatility 3"},
      {1112, ct::Volatility4, "Volatility 4"},   {142, ct::StochasticK, "Stochastic %K"},
      {143, ct::StochasticD, "Stochastic %D"},
  };
  return buttons;
}

int colorButtonFor(COLORREF code) {
  for (const ColorTargetButton& b : colorTargetButtons())
    if (b.code == code) return b.id;
  return 102;
}

std::string setupTimeText(const DownloadControlsRecord& d) {
  // An afternoon time entered as PM shows on the 12-hour clock; 12:mm PM is stored as 12mm.
  const std::int32_t shown = d.DLTimePM && d.DLTime >= 1300 ? d.DLTime - 1200 : d.DLTime;
  return formatText(32, "%04d", shown);
}

std::string setupDivisorText(double divisor) { return formatText(64, "%8.3lf", divisor); }

bool SetCSVEnable(bool on) {
  Settings& s = settings();
  if (s.CSVenable == on) return false;
  s.CSVenable = on;
  SaveIniFile();
  if (on)
    LogBox("A .csv image of each Quotelist's download results will be created.\n\n"
           "This will result in slightly longer download times.",
           kCsvCaption, mb::OK | mb::ICONINFORMATION);
  else
    LogBox("The optional .csv image of each Quotelist's download results will be disabled.\n\n"
           "This will result in slightly quicker download times.",
           kCsvCaption, mb::OK | mb::ICONINFORMATION);
  return true;
}

bool SetCSVAppend(bool on) {
  Settings& s = settings();
  if (!s.CSVenable || s.CSVappend == on) return false;
  s.CSVappend = on;
  SaveIniFile();
  if (on)
    LogBox("The .csv download file is set to append mode.\n\n"
           "When enabled, this will append to the existing file for each Quotelist Download.",
           kCsvCaption, mb::OK | mb::ICONINFORMATION);
  else
    LogBox("The .csv download file is set to new mode.\n\n"
           "When enabled, this will create an new file for each Quotelist Download.\n\n",
           kCsvCaption, mb::OK | mb::ICONINFORMATION);
  return true;
}

bool SetupBNChecked(const SetupButtons& b) {
  Settings& s = settings();
  for (const ColorTargetButton& t : colorTargetButtons())
    if (t.id == b.colorButton) s.PlotColors[15] = t.code;
  bool reset = false;
  if (b.colorButton == gsid::ResetWindows) {
    s.PlotColors = s.WinPlotColors;
    reset = true;
  }
  if (b.colorButton == gsid::ResetQuova) {
    s.PlotColors = s.QUOVAPlotColors;
    reset = true;
  }
  SetCSVEnable(b.csvEnable);
  SetCSVAppend(b.csvAppend);
  if (b.dateUS) s.DisplayDateFormat = kDateUS;
  if (b.dateInternational) s.DisplayDateFormat = kDateInternational;
  if (b.logOn) logState().LogDiagnostics = true;
  if (b.logOff) logState().LogDiagnostics = false;
  s.DownloadControls.UseProxy = b.useProxy;
  return reset;
}

std::string timeZoneMessage() {
  return "Invalid Download TimeZone Entry.\n\n"
         "Click Help button for more information.";
}

std::string divisorMessage() {
  return "Invalid International Currency Conversion Divisor Entry.\n\n"
         "Enter positive decimal value (eg: 2.601).";
}

std::string timeMessage() {
  return "Invalid Download Time Entry.\n\n"
         "Must be of the form: hh:mm or hhmm,\n"
         "0100-1259 for AM/PM or 0100-2459 for 24 Hour.\n\n"
         "mm (minutes field) must be 00-59.";
}

bool checkTimeZone(std::string_view text, std::string& upper) {
  upper.clear();
  for (char c : text) upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (text.empty() || text.size() > static_cast<std::size_t>(kSetupZoneMax)) return false;
  for (char c : text)
    if (!isZoneChar(c)) return false;
  return TZone(upper.c_str()) != -99;
}

bool checkDivisor(std::string_view text, double& divisor) {
  if (text.empty() || text.size() > static_cast<std::size_t>(kSetupDivisorMax) || !onlyChars(text, kDivisorChars))
    return false;
  // The edit holds only digits, commas, blanks and periods: a plain decimal number or none.
  const std::string t(text);
  char* end = nullptr;
  const double d = std::strtod(t.c_str(), &end);
  if (end == t.c_str()) return false;
  // A divisor of zero or below would write infinite or sign-flipped prices.
  if (!std::isfinite(d) || d <= 0) return false;
  divisor = d;
  return true;
}

bool checkDownloadTime(std::string_view text, bool pm, std::int32_t& time) {
  std::string t(text.substr(0, 19));
  if (!onlyChars(t, kTimeChars)) return false;
  if (std::size_t colon = t.find(':'); colon != std::string::npos) t.erase(colon, 1);
  std::size_t i = 0;
  while (i < t.size() && std::isspace(static_cast<unsigned char>(t[i]))) ++i;
  int value = 0;
  auto [p, ec] = std::from_chars(t.data() + i, t.data() + t.size(), value);
  if (ec != std::errc() || p == t.data() + i) return false;
  // PM moves only the hours 1 to 11: 12:30 PM is 1230, and 2400 and above is no time.
  if (pm && value / 100 >= 1 && value / 100 <= 11) value += 1200;
  if (value < 100 || value > 2359 || value % 100 >= 60) return false;
  time = value;
  return true;
}

SetupResult SetupOK(const SetupEntry& e) {
  Settings& s = settings();
  DownloadControlsRecord& d = s.DownloadControls;
  SetupResult r;
  r.paletteReset = SetupBNChecked(e.buttons);
  d.OpenAlarmsQTL = e.openAlarms;
  bool* days[7] = {&d.DLOnMonday, &d.DLOnTuesday,  &d.DLOnWednesday, &d.DLOnThursday,
                   &d.DLOnFriday, &d.DLOnSaturday, &d.DLOnSunday};
  for (int i = 0; i < 7; ++i) *days[i] = e.days[static_cast<std::size_t>(i)];
  d.DLTimeAM = e.am;
  d.DLTimePM = e.pm;
  d.DLTime24 = e.h24;

  const bool zoneOk = checkTimeZone(e.timeZone, r.timeZoneText);
  if (!zoneOk) {
    MessageBox(timeZoneMessage(), kSetupErrorCaption, mb::OK);
    r.failed = SetupField::TimeZone;
    return r;
  }
  d.TimeZone = r.timeZoneText;
  double divisor = 0;
  if (!checkDivisor(e.divisor, divisor)) {
    MessageBox(divisorMessage(), kSetupErrorCaption, mb::OK);
    r.failed = SetupField::Divisor;
    return r;
  }
  d.CurrencyDivisor = divisor;
  std::int32_t time = 0;
  if (!checkDownloadTime(e.time, e.pm, time)) {
    MessageBox(timeMessage(), kSetupErrorCaption, mb::OK);
    r.failed = SetupField::Time;
    return r;
  }
  d.DLTime = time;
  d.ProxyServer = e.proxy.substr(0, kSetupProxyMax);
  return r;
}

void SetupCSVClear() {
  FileCopy("quotes.csv", "Blank.txt", true);
  LogBox("The .csv download file has been cleared.\n\n", kCsvCaption, mb::OK | mb::ICONINFORMATION);
}

std::string csvHelpText() {
  return "QUOVA can create an optional csv image of downloaded quote data, as it is received.\n\n"
         "This file will only be of use for those who wish to import download data into other applications,\n"
         "such as a Spreadsheet or Technical Analysis program.\n\n"
         "If not needed, it may be disabled to improve download speed.\n\n"
         "The primary download image file will be named quotes.csv.\n"
         "It will contain the latest download data, in a comma-delimeted format,\n"
         "and may be specified to operate in a mode which will overwrite the previous\n"
         "download data, or in append mode (just adds the newest data).\n\n"
         "Append mode is for those who wish to import several days data at once into another application.\n\n"
         "The clear button will clear previous data for append mode.\n\n"
         "The quotes.csv file contains download data for all quotelists used, but\n"
         "separate csv files are also created for each individual quotelist.\n"
         "These are named: quotelistname.csv (eg: watch.csv), and operate only in the non-append mode.\n"
         "\n\n";
}

std::string globalSetupHelpText() {
  return "QUOVA colors are configurable.\n\n"
         "Select the item to be changed,\n"
         "Then click the \"Set Color\" button on the Button Bar, and select the new color.\n"
         "Select Options/Save Configuration to make permanent, or it will save when QUOVA shuts down.\n\n"
         "Daily Downloads may be configured to occur once per selected day, after a selected time.\n\n"
         "This selection effects operation of the /download parameter, as in the Daily Download ICON (QUOVA "
         "folder).\n"
         "You may want to drop this Icon, and your Dial-up Networking Icon into your startup folder.\n"
         "Each time your computer starts, QUOVA will load, but will not perform a download until activated\n"
         "after the preset time. When opened with the /download parameter, if a download is not needed,\n"
         "QUOVA will terminate. This feature can successfully be used with timer-activation of your computer\n"
         "to automate quote downloads when you are away.\n\n"
         "Enter YOUR World Time Zone (A-Z), but not (J).\n"
         "If you don't know your timezone, Search Internet or see:\n"
         "https://en.wikipedia.org/wiki/Military_time_zone\n\n"
         "A Divisor may be entered to adjust stock quotes.\n"
         "This may be of use in dynamic inflationary economies.\n"
         "There is an entry available in the .QCF which will override this Global default.\n";
}

std::string pathnamesHelpText() {
  return "Pop out of QUOVA, find the Icons for these programs, open "
         "properties, and, if req'd, copy and paste their pathnames. "
         "Update any time from the Options menu. "
         "Some features may be unavailable until then.";
}

void CmSaveConfiguration(const FrameAttributes& frame) {
  Log("\nCmSaveConfiguration() entered.");
  SaveFrameConfig(frame);
  SaveIniFile();
  MessageBox("Configuration Saved to files quova.cfg and quova.ini", "QUOVA main window Message",
             mb::OK | mb::ICONEXCLAMATION);
  Log("\nCmSaveConfiguration() exited.");
}

}  // namespace quova
