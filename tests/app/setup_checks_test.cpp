// The Global Setup rules without the dialog: the OK checks with their order and texts,
// the CSV switches that save at once, the colour target and palette resets, Clear, and
// Options/Save Configuration.
#include "app/setup_checks.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/log.h"
#include "base/run_flags.h"
#include "settings/settings.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

namespace quova {
namespace {

struct Setup : ::testing::Test {
  test::TempDir dir{true};
  test::ScopedHost h;
  void SetUp() override {
    logState() = LogState{};
    logState().QuovaLogFile = dir.file("quova.log");
    runFlags() = RunFlags{};
    runFlags().QUOVAPATH = dir.path() + "/";
    runFlags().IniFilePath = runFlags().QUOVAPATH + "quova.ini";
    runFlags().UserFilePath = runFlags().QUOVAPATH + "User.dat";
    settings() = Settings{};
    OpenLogFile();
  }
  void TearDown() override {
    settings() = Settings{};
    runFlags() = RunFlags{};
    logState() = LogState{};
  }
  SetupEntry valid() {
    SetupEntry e;
    e.timeZone = "e";
    e.divisor = "   2.601";
    e.time = "4:30";
    e.pm = true;
    e.days = {true, false, true, false, true, false, true};
    e.openAlarms = false;
    e.proxy = "proxy.example:3128";
    return e;
  }
};

TEST(SetupChecks, DownloadTimes) {
  struct Case {
    const char* text;
    bool pm;
    bool ok;
    int time;
  } cases[] = {
      {"4:30", true, true, 1630},   {"16:30", false, true, 1630}, {"0030", false, false, 0},
      {"12:75", false, false, 0},   {"", false, false, 0},        {"0100", false, true, 100},
      {"11:59", true, true, 2359},  {"2359", false, true, 2359},
      // 12:mm PM is noon, not 24mm; 2400 and above is never reached by the clock.
      {"12:30", true, true, 1230},  {"2430", false, false, 0},    {"2400", false, false, 0},
      {"13:30", true, true, 1330},  {"1:2:3", false, false, 0},   {"4.30", false, false, 0},
      {"999999999", false, false, 0}, {"99999999999999999999", false, false, 0},
  };
  for (const Case& c : cases) {
    std::int32_t t = -1;
    EXPECT_EQ(checkDownloadTime(c.text, c.pm, t), c.ok) << c.text;
    if (c.ok) EXPECT_EQ(t, c.time) << c.text;
  }
}

TEST(SetupChecks, TimeZonesAndDivisors) {
  std::string up;
  EXPECT_FALSE(checkTimeZone("j", up));
  EXPECT_EQ(up, "J");
  EXPECT_TRUE(checkTimeZone("e", up));
  EXPECT_EQ(up, "E");
  for (const char* bad : {"", ",", " ", "1", "EE"}) EXPECT_FALSE(checkTimeZone(bad, up)) << bad;
  EXPECT_TRUE(checkTimeZone("Z", up));

  struct Case {
    const char* text;
    bool ok;
    double value;
  } cases[] = {
      {"2.601", true, 2.601}, {"   1.000", true, 1.0}, {".5", true, 0.5}, {"1,5", true, 1.0},
      // Zero would write infinite prices.
      {"0", false, 0}, {"0.000", false, 0}, {"", false, 0}, {" ", false, 0}, {".", false, 0},
      {"inf", false, 0}, {"-2", false, 0}, {"1e3", false, 0}, {"0x10", false, 0},
  };
  for (const Case& c : cases) {
    double d = -1;
    EXPECT_EQ(checkDivisor(c.text, d), c.ok) << c.text;
    if (c.ok) EXPECT_DOUBLE_EQ(d, c.value) << c.text;
  }
}

TEST_F(Setup, OkChecksInOrderAndStoresOnlyWhatPassed) {
  DownloadControlsRecord& d = settings().DownloadControls;
  SetupEntry e = valid();
  e.timeZone = "j";
  e.divisor = "0";
  e.time = "12:75";
  SetupResult r = SetupOK(e);
  EXPECT_EQ(r.failed, SetupField::TimeZone);
  EXPECT_EQ(r.timeZoneText, "J");
  ASSERT_EQ(h.host.boxes.size(), 1u);
  EXPECT_EQ(h.host.boxes[0].text, "Invalid Download TimeZone Entry.\n\nClick Help button for more information.");
  EXPECT_EQ(h.host.boxes[0].caption, "QUOVA Global Setup Error");
  EXPECT_EQ(h.host.boxes[0].flags, mb::OK);
  EXPECT_EQ(d.TimeZone, "R");
  // The buttons are stored before the checks.
  EXPECT_FALSE(d.DLOnTuesday);
  EXPECT_TRUE(d.DLOnSunday);
  EXPECT_FALSE(d.OpenAlarmsQTL);

  e.timeZone = "e";
  r = SetupOK(e);
  EXPECT_EQ(r.failed, SetupField::Divisor);
  EXPECT_EQ(h.host.boxes.back().text,
            "Invalid International Currency Conversion Divisor Entry.\n\nEnter positive decimal value (eg: 2.601).");
  EXPECT_EQ(d.TimeZone, "E");
  EXPECT_DOUBLE_EQ(d.CurrencyDivisor, 1.0);

  e.divisor = "2.601";
  r = SetupOK(e);
  EXPECT_EQ(r.failed, SetupField::Time);
  EXPECT_EQ(h.host.boxes.back().text,
            "Invalid Download Time Entry.\n\nMust be of the form: hh:mm or hhmm,\n"
            "0100-1259 for AM/PM or 0100-2459 for 24 Hour.\n\nmm (minutes field) must be 00-59.");
  EXPECT_DOUBLE_EQ(d.CurrencyDivisor, 2.601);
  EXPECT_EQ(d.DLTime, 448);
  EXPECT_EQ(d.ProxyServer, "http:\\\\");

  e.time = "4:30";
  r = SetupOK(e);
  EXPECT_EQ(r.failed, SetupField::None);
  EXPECT_EQ(h.host.boxes.size(), 3u);
  EXPECT_EQ(d.DLTime, 1630);
  EXPECT_EQ(d.ProxyServer, "proxy.example:3128");
  EXPECT_TRUE(d.DLTimePM);
  // OK keeps the settings in memory only.
  EXPECT_FALSE(std::filesystem::exists(runFlags().IniFilePath));
}

TEST_F(Setup, TimeTextShowsTheTwelveHourClockForPm) {
  DownloadControlsRecord d;
  d.DLTime = 1630;
  EXPECT_EQ(setupTimeText(d), "0430");
  d.DLTime = 1230;  // noon entered as 12:30 PM reads back as it was typed
  EXPECT_EQ(setupTimeText(d), "1230");
  d.DLTimePM = false;
  d.DLTime = 448;
  EXPECT_EQ(setupTimeText(d), "0448");
  EXPECT_EQ(setupDivisorText(1.0), "   1.000");
  // What the dialog shows passes OK unchanged.
  std::int32_t t = 0;
  d.DLTimePM = true;
  for (int stored : {1200, 1230, 1259, 1300, 1630, 2359}) {
    d.DLTime = stored;
    ASSERT_TRUE(checkDownloadTime(setupTimeText(d), true, t)) << stored;
    EXPECT_EQ(t, stored);
  }
}

TEST_F(Setup, CsvSwitchesSaveAtOnceAndSpeakOnce) {
  SetupButtons b;
  b.csvEnable = true;
  SetupBNChecked(b);
  ASSERT_EQ(h.host.boxes.size(), 1u);
  EXPECT_EQ(h.host.boxes[0].text,
            "A .csv image of each Quotelist's download results will be created.\n\n"
            "This will result in slightly longer download times.");
  EXPECT_EQ(h.host.boxes[0].caption, "Downloading Options");
  EXPECT_EQ(h.host.boxes[0].flags, mb::OK | mb::ICONINFORMATION);
  std::string ini = dir.read("quova.ini");
  ASSERT_EQ(ini.size(), kIniFileSize);
  EXPECT_EQ(ini[569], 1);
  EXPECT_EQ(dir.read("User.dat").size(), kUserFileSize);
  EXPECT_NE(dir.read("quova.log").find("MessageBox:\nA .csv image"), std::string::npos);

  SetupBNChecked(b);  // another click: nothing changed, nothing said
  EXPECT_EQ(h.host.boxes.size(), 1u);

  b.csvAppend = true;
  SetupBNChecked(b);
  EXPECT_TRUE(settings().CSVappend);
  EXPECT_EQ(h.host.boxes.back().text,
            "The .csv download file is set to append mode.\n\n"
            "When enabled, this will append to the existing file for each Quotelist Download.");
  EXPECT_EQ(dir.read("quova.ini")[570], 1);
  b.csvAppend = false;
  SetupBNChecked(b);
  EXPECT_EQ(h.host.boxes.back().text,
            "The .csv download file is set to new mode.\n\n"
            "When enabled, this will create an new file for each Quotelist Download.\n\n");

  b.csvEnable = false;
  b.csvAppend = true;  // Append Mode counts only while CSV is on
  SetupBNChecked(b);
  EXPECT_EQ(h.host.boxes.back().text,
            "The optional .csv image of each Quotelist's download results will be disabled.\n\n"
            "This will result in slightly quicker download times.");
  EXPECT_FALSE(settings().CSVappend);
  EXPECT_EQ(h.host.boxes.size(), 4u);
}

TEST_F(Setup, ColourTargetsResetsAndTheOtherButtons) {
  EXPECT_EQ(colorButtonFor(colortarget::Volatility2), 1115);
  EXPECT_EQ(colorButtonFor(colortarget::StochasticD), 143);
  EXPECT_EQ(colorButtonFor(0), 102);
  EXPECT_EQ(colorTargetButtons().size(), 15u);

  Settings& s = settings();
  SetupButtons b;
  b.colorButton = 1115;
  b.dateUS = false;
  b.dateInternational = true;
  b.logOn = true;
  b.logOff = false;
  b.useProxy = true;
  EXPECT_FALSE(SetupBNChecked(b));
  EXPECT_EQ(s.PlotColors[15], colortarget::Volatility2);
  EXPECT_EQ(s.DisplayDateFormat, kDateInternational);
  EXPECT_TRUE(logState().LogDiagnostics);
  EXPECT_TRUE(s.DownloadControls.UseProxy);

  s.PlotColors[0] = RGB(9, 9, 9);
  s.WinPlotColors[0] = RGB(1, 2, 3);
  b.colorButton = gsid::ResetWindows;
  EXPECT_TRUE(SetupBNChecked(b));
  EXPECT_EQ(s.PlotColors, s.WinPlotColors);
  EXPECT_EQ(s.PlotColors[15], colortarget::HiLoClose);
  b.colorButton = gsid::ResetQuova;
  EXPECT_TRUE(SetupBNChecked(b));
  EXPECT_EQ(s.PlotColors, quovaPalette());
  EXPECT_TRUE(h.host.boxes.empty());
}

TEST_F(Setup, ClearEmptiesQuotesCsv) {
  dir.write("quotes.csv", "IBM,1,2,3\n");
  dir.write("Blank.txt", "");
  SetupCSVClear();
  EXPECT_EQ(dir.read("quotes.csv"), "");
  ASSERT_EQ(h.host.boxes.size(), 1u);
  EXPECT_EQ(h.host.boxes[0].text, "The .csv download file has been cleared.\n\n");
  EXPECT_EQ(h.host.boxes[0].caption, "Downloading Options");
}

TEST_F(Setup, HelpTextsKeepTheirWords) {
  EXPECT_TRUE(csvHelpText().starts_with("QUOVA can create an optional csv image of downloaded quote data"));
  EXPECT_NE(csvHelpText().find("in a comma-delimeted format,\n"), std::string::npos);
  EXPECT_TRUE(csvHelpText().ends_with("operate only in the non-append mode.\n\n\n"));
  const std::string g = globalSetupHelpText();
  EXPECT_NE(g.find("Enter YOUR World Time Zone (A-Z), but not (J).\n"
                   "If you don't know your timezone, Search Internet or see:\nhttps://"),
            std::string::npos);
  EXPECT_TRUE(g.ends_with("There is an entry available in the .QCF which will override this Global default.\n"));
  EXPECT_EQ(pathnamesHelpText(),
            "Pop out of QUOVA, find the Icons for these programs, open properties, and, if req'd, copy and paste "
            "their pathnames. Update any time from the Options menu. Some features may be unavailable until then.");
}

TEST_F(Setup, SaveConfigurationWritesAllThreeAndSaysSo) {
  FrameAttributes a;
  a.X = 11;
  CmSaveConfiguration(a);
  EXPECT_EQ(dir.read("quova.cfg").size(), kFrameConfigSize);
  EXPECT_EQ(dir.read("quova.ini").size(), kIniFileSize);
  EXPECT_EQ(dir.read("User.dat").size(), kUserFileSize);
  ASSERT_EQ(h.host.boxes.size(), 1u);
  EXPECT_EQ(h.host.boxes[0].text, "Configuration Saved to files quova.cfg and quova.ini");
  EXPECT_EQ(h.host.boxes[0].caption, "QUOVA main window Message");
  EXPECT_EQ(h.host.boxes[0].flags, mb::OK | mb::ICONEXCLAMATION);
  std::string log = dir.read("quova.log");
  EXPECT_EQ(log.rfind("\nCmSaveConfiguration() entered.\n" + dir.path() + "/quova.cfg successfully updated.", 0), 0u);
  EXPECT_TRUE(log.ends_with("\nCmSaveConfiguration() exited.")) << log;
}

}  // namespace
}  // namespace quova
