// The Global Setup and External Program Pathnames dialogs driven through their controls:
// set-up from the settings, the CSV switches, each OK message, Clear, OK keeping the
// settings, the menu commands, and the first start without User.dat.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "app/root_init.h"
#include "app/setup_checks.h"
#include "app/startup.h"
#include "app/windows/global_setup.h"
#include "app/windows/main_frame.h"
#include "app/windows/pathnames_dialog.h"
#include "base/command_ids.h"
#include "base/log.h"
#include "base/run_flags.h"
#include "settings/settings.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

namespace quova {
namespace {

struct Dialogs : ::testing::Test {
  test::TempDir dir{true};
  test::ScopedHost h;
  void SetUp() override {
    logState() = LogState{};
    logState().QuovaLogFile = dir.file("quova.log");
    runFlags() = RunFlags{};
    runFlags().QUOVAPATH = dir.path() + "/";
    runFlags().IniFilePath = runFlags().QUOVAPATH + "quova.ini";
    runFlags().UserFilePath = runFlags().QUOVAPATH + "User.dat";
    runFlags().WinsIniFilePath = runFlags().QUOVAPATH + "quova.win";
    settings() = Settings{};
    OpenLogFile();
  }
  void TearDown() override {
    setInstallationDialogs(nullptr);
    settings() = Settings{};
    runFlags() = RunFlags{};
    logState() = LogState{};
  }
  static QRadioButton* radio(const globalSetup& d, int id) { return qobject_cast<QRadioButton*>(d.control(id)); }
  static QCheckBox* box(const globalSetup& d, int id) { return qobject_cast<QCheckBox*>(d.control(id)); }
  static QLineEdit* edit(const globalSetup& d, int id) { return qobject_cast<QLineEdit*>(d.control(id)); }
  static QPushButton* button(const globalSetup& d, int id) { return qobject_cast<QPushButton*>(d.control(id)); }
  bool exists(const std::string& name) { return std::filesystem::exists(dir.file(name)); }
};

TEST_F(Dialogs, GlobalSetupOpensWithTheSettings) {
  Settings& s = settings();
  DownloadControlsRecord& d = s.DownloadControls;
  s.PlotColors[15] = colortarget::Volatility2;
  d.DLTime = 1630;
  d.DLOnSaturday = true;
  d.DLOnMonday = false;
  d.TimeZone = "E";
  d.CurrencyDivisor = 2.601;
  d.UseProxy = true;
  d.ProxyServer = "proxy:8080";
  s.CSVenable = true;
  s.DisplayDateFormat = kDateInternational;
  logState().LogDiagnostics = true;
  globalSetup dlg;
  EXPECT_EQ(dlg.windowTitle(), "QUOVA Global Setup Parameters");
  EXPECT_TRUE(radio(dlg, 1115)->isChecked());
  EXPECT_EQ(radio(dlg, 1115)->text(), "Volatility 2");
  EXPECT_EQ(radio(dlg, 106)->text(), "Reset to QUOVA   Defaults");
  EXPECT_TRUE(radio(dlg, gsid::PM)->isChecked());
  EXPECT_EQ(edit(dlg, gsid::Time)->text(), "0430");
  EXPECT_EQ(edit(dlg, gsid::TimeZone)->text(), "E");
  EXPECT_EQ(edit(dlg, gsid::Divisor)->text(), "   2.601");
  EXPECT_EQ(edit(dlg, gsid::ProxyServer)->text(), "proxy:8080");
  EXPECT_EQ(edit(dlg, gsid::ProxyServer)->maxLength(), 380);
  EXPECT_FALSE(box(dlg, gsid::Mondays)->isChecked());
  EXPECT_TRUE(box(dlg, gsid::Saturdays)->isChecked());
  EXPECT_EQ(box(dlg, gsid::Sundays)->text(), "Sundays");
  EXPECT_TRUE(box(dlg, gsid::Alarms)->isChecked());
  EXPECT_TRUE(box(dlg, gsid::CsvEnable)->isChecked());
  EXPECT_FALSE(box(dlg, gsid::CsvAppend)->isChecked());
  EXPECT_TRUE(radio(dlg, gsid::DateInternational)->isChecked());
  EXPECT_TRUE(radio(dlg, gsid::LogOn)->isChecked());
  EXPECT_TRUE(box(dlg, gsid::ProxyUse)->isChecked());
  // The edits refuse what their fields cannot hold.
  QLineEdit* zone = edit(dlg, gsid::TimeZone);
  zone->clear();
  for (QChar c : QString("7Ab")) zone->insert(c);
  EXPECT_EQ(zone->text(), "A");
  QLineEdit* divisor = edit(dlg, gsid::Divisor);
  divisor->clear();
  for (QChar c : QString("1e-5")) divisor->insert(c);
  EXPECT_EQ(divisor->text(), "15");

  // An unknown target code checks Hi/Lo/Close.
  s.PlotColors[15] = 7;
  globalSetup other;
  EXPECT_TRUE(radio(other, 102)->isChecked());
}

TEST_F(Dialogs, CsvBoxSavesAtOnceAndSpeaksOnce) {
  globalSetup dlg;
  box(dlg, gsid::CsvEnable)->click();
  EXPECT_TRUE(settings().CSVenable);
  ASSERT_EQ(h.host.boxes.size(), 1u);
  EXPECT_EQ(h.host.boxes[0].caption, "Downloading Options");
  EXPECT_TRUE(h.host.boxes[0].text.starts_with("A .csv image of each Quotelist's download results will be created."));
  ASSERT_TRUE(exists("quova.ini"));
  EXPECT_EQ(dir.read("quova.ini")[569], 1);
  radio(dlg, gsid::AM)->click();
  radio(dlg, 110)->click();
  EXPECT_EQ(h.host.boxes.size(), 1u);
  EXPECT_EQ(settings().PlotColors[15], colortarget::SMA1);  // the target follows the click
  box(dlg, gsid::CsvAppend)->click();
  EXPECT_TRUE(settings().CSVappend);
  EXPECT_EQ(h.host.boxes.size(), 2u);
  EXPECT_EQ(dir.read("quova.ini")[570], 1);
}

TEST_F(Dialogs, OkShowsEachMessageAndStaysOpen) {
  globalSetup dlg;
  dlg.show();
  edit(dlg, gsid::TimeZone)->setText("j");
  button(dlg, gsid::OK)->click();
  EXPECT_TRUE(dlg.isVisible());
  ASSERT_EQ(h.host.boxes.size(), 1u);
  EXPECT_EQ(h.host.boxes[0].text, timeZoneMessage());
  EXPECT_EQ(h.host.boxes[0].caption, "QUOVA Global Setup Error");
  EXPECT_EQ(edit(dlg, gsid::TimeZone)->text(), "J");

  edit(dlg, gsid::TimeZone)->setText("e");
  edit(dlg, gsid::Divisor)->setText("0.000");
  button(dlg, gsid::OK)->click();
  EXPECT_TRUE(dlg.isVisible());
  EXPECT_EQ(h.host.boxes.back().text, divisorMessage());
  EXPECT_EQ(dlg.focusWidget(), edit(dlg, gsid::Divisor));  // the field to mend has the focus

  edit(dlg, gsid::Divisor)->setText("2");
  edit(dlg, gsid::Time)->setText("");
  button(dlg, gsid::OK)->click();
  EXPECT_TRUE(dlg.isVisible());
  EXPECT_EQ(h.host.boxes.back().text, timeMessage());
  EXPECT_EQ(h.host.boxes.size(), 3u);
  EXPECT_EQ(settings().DownloadControls.DLTime, 448);
}

TEST_F(Dialogs, OkKeepsTheSettingsInMemory) {
  globalSetup dlg;
  dlg.show();
  radio(dlg, 1115)->click();
  edit(dlg, gsid::Time)->setText("12:30");  // PM: noon
  box(dlg, gsid::Saturdays)->setChecked(true);
  box(dlg, gsid::Alarms)->setChecked(false);
  edit(dlg, gsid::TimeZone)->setText("e");
  edit(dlg, gsid::Divisor)->setText("2.601");
  box(dlg, gsid::ProxyUse)->setChecked(true);
  edit(dlg, gsid::ProxyServer)->setText("cache:3128");
  radio(dlg, gsid::DateInternational)->setChecked(true);
  radio(dlg, gsid::LogOn)->setChecked(true);
  button(dlg, gsid::OK)->click();
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  const DownloadControlsRecord& d = settings().DownloadControls;
  EXPECT_EQ(d.DLTime, 1230);
  EXPECT_TRUE(d.DLOnSaturday);
  EXPECT_FALSE(d.OpenAlarmsQTL);
  EXPECT_EQ(d.TimeZone, "E");
  EXPECT_DOUBLE_EQ(d.CurrencyDivisor, 2.601);
  EXPECT_TRUE(d.UseProxy);
  EXPECT_EQ(d.ProxyServer, "cache:3128");
  EXPECT_EQ(settings().DisplayDateFormat, kDateInternational);
  EXPECT_TRUE(logState().LogDiagnostics);
  EXPECT_TRUE(h.host.boxes.empty());
  EXPECT_FALSE(exists("quova.ini"));  // saved at the next save point

  globalSetup again;  // the choice comes back
  EXPECT_TRUE(radio(again, 1115)->isChecked());
  EXPECT_EQ(edit(again, gsid::Time)->text(), "1230");
}

TEST_F(Dialogs, ResetClearAndHelp) {
  globalSetup dlg;
  int reset = 0;
  QObject::connect(&dlg, &globalSetup::paletteReset, [&] { ++reset; });
  settings().PlotColors[3] = RGB(1, 1, 1);
  radio(dlg, gsid::ResetQuova)->click();
  EXPECT_EQ(reset, 1);
  EXPECT_EQ(settings().PlotColors, quovaPalette());

  dir.write("quotes.csv", "a,b\n");
  dir.write("Blank.txt", "");
  button(dlg, gsid::CsvClear)->click();
  EXPECT_EQ(dir.read("quotes.csv"), "");
  EXPECT_EQ(h.host.boxes.back().text, "The .csv download file has been cleared.\n\n");
  button(dlg, gsid::CsvHelp)->click();
  EXPECT_EQ(h.host.boxes.back().text, csvHelpText());
  EXPECT_EQ(h.host.boxes.back().caption, "Global Setup Dialog Help");
  button(dlg, gsid::Help)->click();
  EXPECT_EQ(h.host.boxes.back().text, globalSetupHelpText());
  EXPECT_EQ(h.host.boxes.size(), 3u);
}

TEST_F(Dialogs, PathnamesDialogFillsAndTakesBack) {
  settings().TPathBuffer = {"/usr/bin/gedit", "firefox", ""};
  {
    pathDialog dlg;
    EXPECT_EQ(dlg.windowTitle(), "QUOVA External Program Reference Pathnames Setup Window");
    EXPECT_EQ(dlg.edit(101)->text(), "/usr/bin/gedit");
    EXPECT_EQ(dlg.edit(102)->text(), "firefox");
    EXPECT_EQ(dlg.edit(103)->maxLength(), 180);
    // User.dat holds 180 bytes a path: a path of wider characters stops there, never cut.
    dlg.edit(101)->setText(QString(89, QChar(0xe9)));
    dlg.edit(101)->insert(QString(QChar(0xe9)));
    dlg.edit(101)->insert("ab");
    EXPECT_EQ(dlg.edit(101)->text().toUtf8().size(), 180);
    dlg.edit(103)->setText("libreoffice");
    dlg.reject();
    EXPECT_EQ(settings().TPathBuffer.SpreadsheetPath, "");
    dlg.edit(103)->setText("libreoffice");
    dlg.CmHelp();
    EXPECT_EQ(h.host.boxes.back().caption, "External Reference Pathnames Dialog Help");
    dlg.edit(101)->setText("/usr/bin/gedit");
    dlg.accept();
    EXPECT_EQ(settings().TPathBuffer.SpreadsheetPath, "libreoffice");
    EXPECT_FALSE(exists("User.dat"));
  }
  // The command, with nobody to click, takes the dialog as it stands and saves.
  EXPECT_TRUE(CmSetupPathnames(nullptr));
  EXPECT_EQ(dir.read("User.dat").size(), kUserFileSize);
  EXPECT_EQ(dir.read("User.dat").substr(362, 12), std::string("libreoffice\0", 12));
  EXPECT_TRUE(exists("quova.ini"));
}

TEST_F(Dialogs, FirstStartAsksBeforeTheMainWindowAndCompletesWithDefaults) {
  initRoot(dir.path());
  std::filesystem::remove(dir.file("User.dat"));
  Settings stored;
  stored.DownloadControls.TimeZone = "J";  // a bad stored zone cannot hold the start
  dir.write("quova.ini", iniImage(stored, false));
  unsetenv("QUOVA");
  installSetupDialogs();
  bool userFileBeforeWindow = false;
  std::vector<std::string> args = {"quova"};
  std::vector<char*> argv = {args[0].data(), nullptr};
  runFlags().QuovaPath.clear();
  logState().QuovaLogFile = "quova.log";
  int rc = OwlMain(1, argv.data(), [&] {
    userFileBeforeWindow = exists("User.dat");
    return 0;
  });
  EXPECT_EQ(rc, 0);
  EXPECT_TRUE(userFileBeforeWindow);
  std::string img = dir.read("User.dat");
  ASSERT_EQ(img.size(), kUserFileSize);
  EXPECT_EQ(img.substr(362, 9), std::string("xdg-open\0", 9));
  const std::string log = dir.read("quova.log");
  const char* order[] = {"NOT found...this is normal for 1st installation.",
                         "MessageBox:\nPlease check and update as necessary the following user data.\nCaption:\nQUOVA "
                         "Installation Message",
                         "\nDialog -- QUOVA Global Setup Parameters accepted with its current values.",
                         "MessageBox:\nInvalid Download TimeZone Entry.",
                         "\nDialog -- QUOVA External Program Reference Pathnames Setup Window accepted with its "
                         "current values.",
                         "User.dat successfully updated.", "\nGetUserFile() exited unsuccessful",
                         "\nStarting TMyApp().Run()...", "\nNormal Exit."};
  std::size_t at = 0;
  for (const char* line : order) {
    std::size_t p = log.find(line, at);
    EXPECT_NE(p, std::string::npos) << line << "\n" << log;
    if (p != std::string::npos) at = p;
  }

  // The next start finds a complete User.dat and asks nothing.
  h.host.boxes.clear();
  OpenLogFile();
  EXPECT_TRUE(GetUserFile());
  EXPECT_TRUE(h.host.boxes.empty());
}

TEST_F(Dialogs, MenuCommandsOpenTheDialogsAndSaveTheConfiguration) {
  initRoot(dir.path());
  std::unique_ptr<QVMAIN> f(InitMainWindow());
  f->show();
  QApplication::processEvents();
  for (int id : {cm::SETUPOPTIONS, cm::SETUPPATHNAMES, cm::SAVECONFIG}) EXPECT_TRUE(f->routeHandles(id)) << id;
  EXPECT_TRUE(f->action(cm::SETUPOPTIONS)->isEnabled());
  f->runCommand(cm::SETUPOPTIONS);
  auto* setup = f->findChild<globalSetup*>();
  ASSERT_NE(setup, nullptr);
  EXPECT_TRUE(setup->isVisible());
  EXPECT_FALSE(setup->isModal());
  f->runCommand(cm::SETUPOPTIONS);  // the open one comes to the front
  EXPECT_EQ(f->findChildren<globalSetup*>().size(), 1);
  setup->close();

  std::filesystem::remove(dir.file("quova.cfg"));
  f->runCommand(cm::SAVECONFIG);
  EXPECT_TRUE(h.host.sawBox("Configuration Saved to files quova.cfg and quova.ini", "QUOVA main window Message"));
  EXPECT_EQ(dir.read("quova.cfg").size(), kFrameConfigSize);
  EXPECT_EQ(dir.read("quova.ini").size(), kIniFileSize);
}

}  // namespace
}  // namespace quova
