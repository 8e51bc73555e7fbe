// quova.ini and User.dat: byte layouts against hand-built images, the load validations,
// short and damaged files, failed writes and the log lines of loading and saving.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "base/log.h"
#include "base/run_flags.h"
#include "settings/settings.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

using namespace quova;
using quova::test::ScopedHost;
using quova::test::TempDir;

namespace {

void put32(std::string& img, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) img[at + i] = static_cast<char>(v >> (8 * i));
}
std::uint32_t get32(const std::string& img, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(img[at + i]);
  return v;
}
void putDouble(std::string& img, std::size_t at, double d) {
  std::uint64_t bits;
  std::memcpy(&bits, &d, 8);
  for (int i = 0; i < 8; ++i) img[at + i] = static_cast<char>(bits >> (8 * i));
}
void putText(std::string& img, std::size_t at, const std::string& s) { img.replace(at, s.size(), s); }

// Offsets of quova.ini.
constexpr std::size_t DLC = 158;  // DownloadControls

// A full quova.ini whose every field differs from the values before loading.
std::string handBuiltIni() {
  std::string img(576, '\0');
  put32(img, 0, 1);  // DailyDownloadSource, forced to 3
  putText(img, 4, "12/04/26");
  put32(img, 25, 7);
  for (int i = 0; i < 16; ++i) put32(img, 29 + 4 * i, 0x010000 * i + 5);
  for (int i = 0; i < 16; ++i) put32(img, 93 + 4 * i, 0x000100 * i + 9);
  img[157] = '\x5a';
  put32(img, DLC + 0, 1630);
  img[DLC + 4] = 1;                                          // AM
  img[DLC + 5] = 0;                                          // PM
  img[DLC + 6] = 1;                                          // 24 hour
  for (int d = 0; d < 7; ++d) img[DLC + 7 + d] = d % 2 ? 0 : 1;  // Mon on, Tue off, ...
  putText(img, DLC + 14, "E");
  putDouble(img, DLC + 19, 2.601);
  img[DLC + 27] = 0;  // OpenAlarmsQTL
  img[DLC + 28] = 1;  // UseProxy
  putText(img, DLC + 29, "proxy.example:8080");
  img[568] = 1;
  img[569] = 1;
  img[570] = 1;
  put32(img, 571, 1022);
  img[575] = 1;
  return img;
}

struct SettingsFixture : ::testing::Test {
  TempDir dir{true};
  ScopedHost h;
  void SetUp() override {
    logState() = LogState{};
    logState().QuovaLogFile = dir.file("quova.log");
    runFlags().QUOVAPATH = dir.path() + "/";
    runFlags().IniFilePath = runFlags().QUOVAPATH + "quova.ini";
    runFlags().UserFilePath = runFlags().QUOVAPATH + "User.dat";
    settings() = Settings{};
    setInstallationDialogs(nullptr);
    OpenLogFile();
  }
  std::string log() { return dir.read("quova.log"); }
  std::string ini() { return runFlags().IniFilePath; }
  std::string user() { return runFlags().UserFilePath; }
};

}  // namespace

TEST_F(SettingsFixture, IniFieldsAreReadFromTheirOffsets) {
  dir.write("quova.ini", handBuiltIni());
  ASSERT_TRUE(GetIniFile());
  const Settings& s = settings();
  EXPECT_EQ(s.DailyDownloadSource, 3);
  EXPECT_EQ(s.LastDnLoadDate, "12/04/26");
  EXPECT_EQ(s.LastDnLoadStep, 7);
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(s.PlotColors[i], 0x010000u * i + 5) << i;
    EXPECT_EQ(s.custColors[i], 0x000100u * i + 9) << i;
  }
  EXPECT_EQ(s.reserved, 0x5a);
  const DownloadControlsRecord& d = s.DownloadControls;
  EXPECT_EQ(d.DLTime, 1630);
  EXPECT_TRUE(d.DLTimeAM);
  EXPECT_FALSE(d.DLTimePM);
  EXPECT_TRUE(d.DLTime24);
  bool days[] = {d.DLOnMonday, d.DLOnTuesday, d.DLOnWednesday, d.DLOnThursday,
                 d.DLOnFriday, d.DLOnSaturday, d.DLOnSunday};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(days[i], i % 2 == 0) << i;
  EXPECT_EQ(d.TimeZone, "E");
  EXPECT_DOUBLE_EQ(d.CurrencyDivisor, 2.601);
  EXPECT_FALSE(d.OpenAlarmsQTL);
  EXPECT_TRUE(d.UseProxy);
  EXPECT_EQ(d.ProxyServer, "proxy.example:8080");
  EXPECT_TRUE(s.DiagnosticDisplays);
  EXPECT_TRUE(s.CSVenable);
  EXPECT_TRUE(s.CSVappend);
  EXPECT_EQ(s.DisplayDateFormat, 1022);
  EXPECT_TRUE(logState().LogDiagnostics);
}

TEST_F(SettingsFixture, SavedIniIsTheSameImageFieldByField) {
  std::string img = handBuiltIni();
  put32(img, 0, 3);  // what loading makes of it
  dir.write("quova.ini", img);
  ASSERT_TRUE(GetIniFile());
  ASSERT_TRUE(SaveIniFile());
  EXPECT_EQ(dir.read("quova.ini"), img);
}

TEST_F(SettingsFixture, DefaultsAreWrittenWithTheirLayout) {
  ASSERT_TRUE(SaveIniFile());
  std::string img = dir.read("quova.ini");
  ASSERT_EQ(img.size(), 576u);
  EXPECT_EQ(get32(img, 0), 3u);
  EXPECT_EQ(img.substr(4, 21), std::string("01/01/80") + std::string(13, '\0'));
  EXPECT_EQ(get32(img, 25), 0u);
  // The QUOVA palette: LtYellow, Black, White, LtRed, LtGray, ... and target code 102.
  EXPECT_EQ(get32(img, 29), 0x00FFFFu);
  EXPECT_EQ(get32(img, 33), 0u);
  EXPECT_EQ(get32(img, 37), 0xFFFFFFu);
  EXPECT_EQ(get32(img, 41), 0x0000FFu);
  EXPECT_EQ(get32(img, 45), 0xC0C0C0u);
  EXPECT_EQ(get32(img, 29 + 4 * 12), 0xFF00FFu);  // LtMagenta
  EXPECT_EQ(get32(img, 29 + 4 * 15), 102u);
  // Custom colours: grey 1, then 16, 32, ... 240.
  EXPECT_EQ(get32(img, 93), 0x010101u);
  EXPECT_EQ(get32(img, 97), 0x101010u);
  EXPECT_EQ(get32(img, 93 + 4 * 15), 0xF0F0F0u);
  EXPECT_EQ(get32(img, DLC), 448u);
  EXPECT_EQ(img.substr(DLC + 4, 10), std::string("\0\1\0\1\1\1\1\1\0\0", 10));
  EXPECT_EQ(img.substr(DLC + 14, 5), std::string("R\0\0\0\0", 5));
  EXPECT_EQ(img.substr(DLC + 19, 8), std::string("\0\0\0\0\0\0\xF0\x3F", 8));  // 1.0
  EXPECT_EQ(img[DLC + 27], 1);
  EXPECT_EQ(img[DLC + 28], 0);
  EXPECT_EQ(img.substr(DLC + 29, 8), std::string("http:\\\\\0", 8));
  EXPECT_EQ(img.substr(568, 3), std::string(3, '\0'));
  EXPECT_EQ(get32(img, 571), 1021u);
  EXPECT_EQ(img[575], 0);
}

TEST_F(SettingsFixture, LoadValidations) {
  struct Case {
    const char* what;
    void (*edit)(std::string&);
    bool (*check)(const Settings&);
  };
  const Case cases[] = {
      {"bad date", [](std::string& i) { putText(i, 4, "13/45/99"); },
       [](const Settings& s) { return s.LastDnLoadDate == "01/01/80"; }},
      {"step 21", [](std::string& i) { put32(i, 25, 21); }, [](const Settings& s) { return s.LastDnLoadStep == 0; }},
      {"step -1", [](std::string& i) { put32(i, 25, 0xFFFFFFFF); },
       [](const Settings& s) { return s.LastDnLoadStep == 0; }},
      {"step 20", [](std::string& i) { put32(i, 25, 20); }, [](const Settings& s) { return s.LastDnLoadStep == 20; }},
      {"date format 5", [](std::string& i) { put32(i, 571, 5); },
       [](const Settings& s) { return s.DisplayDateFormat == 1021; }},
      {"source 0", [](std::string& i) { put32(i, 0, 0); }, [](const Settings& s) { return s.DailyDownloadSource == 3; }},
      {"any nonzero byte is on", [](std::string& i) { i[569] = 7; }, [](const Settings& s) { return s.CSVenable; }},
  };
  for (const Case& c : cases) {
    std::string img = handBuiltIni();
    c.edit(img);
    dir.write("quova.ini", img);
    ASSERT_TRUE(GetIniFile()) << c.what;
    EXPECT_TRUE(c.check(settings())) << c.what;
  }
}

TEST_F(SettingsFixture, ANonPositiveOrNonFiniteDivisorBecomesOneAndIsLogged) {
  const double bad[] = {0.0, -2.5, std::numeric_limits<double>::infinity(), std::nan("")};
  for (double d : bad) {
    OpenLogFile();
    std::string img = handBuiltIni();
    putDouble(img, DLC + 19, d);
    dir.write("quova.ini", img);
    ASSERT_TRUE(GetIniFile());
    EXPECT_EQ(settings().DownloadControls.CurrencyDivisor, 1.0) << d;
    EXPECT_NE(log().find("\nCurrencyDivisor "), std::string::npos) << d;
    EXPECT_NE(log().find("is not a positive number; 1.0 is used."), std::string::npos) << d;
  }
}

TEST_F(SettingsFixture, ShortFileKeepsTheRemainingFieldsBeforeLoading) {
  std::string img = handBuiltIni().substr(0, DLC + 6);  // ends inside DownloadControls, before DLTime24
  dir.write("quova.ini", img);
  settings().DownloadControls.TimeZone = "Q";  // values before loading are set again by the load
  ASSERT_TRUE(GetIniFile());
  const Settings& s = settings();
  EXPECT_EQ(s.LastDnLoadDate, "12/04/26");
  EXPECT_EQ(s.DownloadControls.DLTime, 1630);
  EXPECT_FALSE(s.DownloadControls.DLTimePM);
  EXPECT_FALSE(s.DownloadControls.DLTime24);  // default
  EXPECT_TRUE(s.DownloadControls.DLOnTuesday);  // default; the file's "off" was not reached
  EXPECT_EQ(s.DownloadControls.TimeZone, "R");
  EXPECT_EQ(s.DownloadControls.CurrencyDivisor, 1.0);
  EXPECT_EQ(s.DownloadControls.ProxyServer, "http:\\\\");
  EXPECT_EQ(s.DisplayDateFormat, 1021);
  EXPECT_FALSE(logState().LogDiagnostics);

  // A field cut in the middle keeps its value before loading.
  dir.write("quova.ini", handBuiltIni().substr(0, 31));
  ASSERT_TRUE(GetIniFile());
  EXPECT_EQ(settings().LastDnLoadStep, 7);
  EXPECT_EQ(settings().PlotColors[0], quovaPalette()[0]);
}

TEST_F(SettingsFixture, TextsWithoutTerminatorAreCutAtTheirCapacity) {
  std::string img = handBuiltIni();
  putText(img, DLC + 14, "ABCDE");
  putText(img, DLC + 29, std::string(381, 'x'));
  dir.write("quova.ini", img);
  ASSERT_TRUE(GetIniFile());
  EXPECT_EQ(settings().DownloadControls.TimeZone, "ABCD");
  EXPECT_EQ(settings().DownloadControls.ProxyServer, std::string(380, 'x'));
  EXPECT_EQ(settings().DownloadControls.CurrencyDivisor, 2.601);  // the next field is intact

  // Writing cuts an over-long text the same way and keeps every offset.
  settings().DownloadControls.TimeZone = "TOOLONG";
  ASSERT_TRUE(SaveIniFile());
  std::string out = dir.read("quova.ini");
  ASSERT_EQ(out.size(), 576u);
  EXPECT_EQ(out.substr(DLC + 14, 5), std::string("TOOL\0", 5));
}

TEST_F(SettingsFixture, MissingIniShowsTheRootWarningAndLoadsNothingElse) {
  EXPECT_FALSE(GetIniFile());
  EXPECT_EQ(log().rfind("\n" + ini() + " could not be opened for reading.\n\nMessageBox:\n", 0), 0u);
  ASSERT_EQ(h.host.boxes.size(), 1u);
  EXPECT_EQ(h.host.boxes[0].caption, "QUOVA main window WARNING");
  EXPECT_EQ(h.host.boxes[0].flags, mb::OK);
  const std::string& t = h.host.boxes[0].text;
  EXPECT_EQ(t.rfind("Cannot find initialization file -- " + ini() +
                        "\n\nLikely QUOVA has been started with an incorrect default directory.\n",
                    0),
            0u);
  EXPECT_NE(t.find("\nto the QUOVA root driectory path.\n\n\n(If you already have an QUOVA environment variable, be sure \n"),
            std::string::npos);
  EXPECT_TRUE(t.ends_with("\nthe path is correct.)\n\n\nQUOVA will (must) close.\n")) << t;
}

TEST_F(SettingsFixture, LoadAndSaveLogEveryStep) {
  dir.write("quova.ini", handBuiltIni());
  ASSERT_TRUE(GetIniFile());
  EXPECT_EQ(log(), "\n" + ini() + " successfully read." +
                       "\nGetUserFile() entered"
                       "\n" + user() + " NOT found...this is normal for 1st installation."
                       "\n\nMessageBox:\nPlease check and update as necessary the following user data."
                       "\nCaption:\nQUOVA Installation Message\n"
                       "\nEditor          Path: xdg-open"
                       "\nBrowser         Path: xdg-open"
                       "\nSpreadsheetPath Path: xdg-open"
                       "\nGetUserFile() exited unsuccessful");
  EXPECT_EQ(h.host.boxes.size(), 1u);  // the first start asks for the paths
  OpenLogFile();
  ASSERT_TRUE(SaveIniFile());
  EXPECT_EQ(log(), "\n" + ini() + " successfully updated.\nUser File -- " + user() + " successfully updated.");
}

TEST_F(SettingsFixture, FailedWritesAreReportedAndLeaveTheOldFiles) {
  dir.write("quova.ini", handBuiltIni());
  runFlags().IniFilePath = dir.file("no such folder/quova.ini");
  runFlags().UserFilePath = dir.file("no such folder/User.dat");
  EXPECT_FALSE(SaveIniFile());
  EXPECT_EQ(log(), "\n" + ini() + " could not be opened for update.\nCannot Open User File -- " + user());

  // A folder in the file's place: the rename fails and nothing is left behind.
  OpenLogFile();
  dir.write("ini/placeholder", "");
  runFlags().IniFilePath = dir.file("ini");
  runFlags().UserFilePath = dir.file("User.dat");
  EXPECT_FALSE(SaveIniFile());
  EXPECT_NE(log().find(" could not be opened for update."), std::string::npos);
  EXPECT_EQ(dir.read("ini/placeholder"), "");
}

TEST_F(SettingsFixture, UserFileLayoutAndRoundTrip) {
  std::string img(543, '\0');
  putText(img, 0, "/usr/bin/gedit");
  putText(img, 181, "/usr/bin/firefox");
  putText(img, 362, std::string(181, 's'));  // no terminator
  dir.write("User.dat", img);
  EXPECT_TRUE(GetUserFile());
  const PathBufferRecord& p = settings().TPathBuffer;
  EXPECT_EQ(p.EditorPath, "/usr/bin/gedit");
  EXPECT_EQ(p.BrowserPath, "/usr/bin/firefox");
  EXPECT_EQ(p.SpreadsheetPath, std::string(180, 's'));
  ASSERT_TRUE(SaveUserFile());
  std::string out = dir.read("User.dat");
  img[542] = '\0';
  EXPECT_EQ(out, img);

  // A short User.dat leaves the later paths at xdg-open.
  dir.write("User.dat", img.substr(0, 200));
  EXPECT_TRUE(GetUserFile());
  EXPECT_EQ(settings().TPathBuffer.EditorPath, "/usr/bin/gedit");
  EXPECT_EQ(settings().TPathBuffer.BrowserPath, "xdg-open");
  EXPECT_EQ(settings().TPathBuffer.SpreadsheetPath, "xdg-open");
}

TEST_F(SettingsFixture, AnEmptyPathRunsTheInstallationDialogs) {
  std::string img(543, '\0');
  putText(img, 0, "ed");
  putText(img, 181, "br");
  dir.write("User.dat", img);
  int dialogs = 0;
  setInstallationDialogs([&] {
    ++dialogs;
    settings().TPathBuffer.SpreadsheetPath = "calc";  // what the pathnames dialog typed
  });
  EXPECT_FALSE(GetUserFile());
  EXPECT_EQ(dialogs, 1);
  ASSERT_EQ(h.host.boxes.size(), 1u);
  EXPECT_EQ(h.host.boxes[0].text, "Please check and update as necessary the following user data.");
  EXPECT_EQ(h.host.boxes[0].caption, "QUOVA Installation Message");
  std::string l = log();
  EXPECT_NE(l.find("\nSpreadsheetPath Path: calc\nGetUserFile() exited unsuccessful"), std::string::npos);
  setInstallationDialogs(nullptr);
}

TEST_F(SettingsFixture, WindowsPaletteUsesTheSystemColours) {
  settings().systemColors = SystemColors{RGB(1, 2, 3), RGB(4, 5, 6)};
  dir.write("quova.ini", handBuiltIni());
  ASSERT_TRUE(GetIniFile());
  const Palette& w = settings().WinPlotColors;
  EXPECT_EQ(w[0], RGB(1, 2, 3));
  EXPECT_EQ(w[1], RGB(4, 5, 6));
  EXPECT_EQ(w[2], RGB(1, 2, 3));
  EXPECT_EQ(w[8], RGB(1, 2, 3));
  EXPECT_EQ(w[3], RGB(255, 0, 0));
  EXPECT_EQ(w[15], 102u);
  EXPECT_EQ(settings().QUOVAPlotColors, quovaPalette());
}
