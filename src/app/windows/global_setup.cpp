// The Global Setup dialog: its controls, set-up from the settings, and the buttons, which
// hand the settings work to the rules in app/setup_checks.
#include "app/windows/global_setup.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "app/setup_checks.h"
#include "app/windows/byte_limit.h"
#include "app/windows/pathnames_dialog.h"
#include "base/host.h"
#include "base/log.h"
#include "settings/settings.h"

namespace quova {

namespace {

QString idName(int id) { return QStringLiteral("control%1").arg(id); }

template <class W>
W* named(W* w, int id) {
  w->setObjectName(idName(id));
  return w;
}

QLineEdit* makeEdit(int id, int maxLength, const QString& pattern, QWidget* parent) {
  auto* e = named(new QLineEdit(parent), id);
  e->setMaxLength(maxLength);
  if (!pattern.isEmpty()) e->setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), e));
  return e;
}

QString q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

}  // namespace

globalSetup::globalSetup(QWidget* parent) : QDialog(parent) {
  setWindowTitle("QUOVA Global Setup Parameters");
  auto* top = new QHBoxLayout;

  // Group 101: the colour target and the two palette resets.
  auto* colors = named(new QGroupBox("Color Setup/Select Target for Button Bar Color Button", this), gsid::ColorGroup);
  auto* cg = new QGridLayout(colors);
  colorGroup_ = new QButtonGroup(this);
  int row = 0;
  for (const ColorTargetButton& b : colorTargetButtons()) {
    auto* r = named(new QRadioButton(q(b.text), colors), b.id);
    colorGroup_->addButton(r, b.id);
    cg->addWidget(r, row % 8, row / 8);
    ++row;
  }
  // The two resets sit in their own row below the targets.
  int column = 0;
  for (auto [id, text] : {std::pair{gsid::ResetWindows, "Reset to Windows Defaults"},
                          std::pair{gsid::ResetQuova, "Reset to QUOVA   Defaults"}}) {
    auto* r = named(new QRadioButton(text, colors), id);
    colorGroup_->addButton(r, id);
    cg->addWidget(r, 8, column++);
  }
  connect(colorGroup_, &QButtonGroup::buttonClicked, this, [this] { BNChecked(); });
  top->addWidget(colors);

  // Group 113: when the daily download runs, and its options.
  auto* daily = named(new QGroupBox("Daily Download Options", this), gsid::DailyGroup);
  auto* dg = new QGridLayout(daily);
  dg->addWidget(new QLabel("Download Time:", daily), 0, 0);
  dg->addWidget(makeEdit(gsid::Time, kSetupTimeMax, "[0-9:]*", daily), 0, 1);
  auto* clock = new QHBoxLayout;
  for (auto [id, text] : {std::pair{gsid::AM, "AM"}, std::pair{gsid::PM, "PM"}, std::pair{gsid::H24, "24 Hour"}}) {
    auto* r = named(new QRadioButton(text, daily), id);
    connect(r, &QAbstractButton::clicked, this, [this] { BNChecked(); });
    clock->addWidget(r);
  }
  dg->addLayout(clock, 1, 0, 1, 2);
  const char* dayNames[7] = {"Mondays", "Tuesdays", "Wednesdays", "Thursdays", "Fridays", "Saturdays", "Sundays"};
  auto* days = new QGridLayout;
  for (int i = 0; i < 7; ++i) days->addWidget(named(new QCheckBox(dayNames[i], daily), kDayBoxIds[i]), i % 4, i / 4);
  dg->addLayout(days, 2, 0, 1, 2);
  dg->addWidget(named(new QCheckBox("Open Alarms.qtl after Download", daily), gsid::Alarms), 3, 0, 1, 2);
  dg->addWidget(new QLabel("Your World Time Zone:", daily), 4, 0);
  dg->addWidget(makeEdit(gsid::TimeZone, kSetupZoneMax, "[A-Za-z, ]*", daily), 4, 1);
  dg->addWidget(new QLabel("Internat'l Currency Conversion Divisor", daily), 5, 0);
  dg->addWidget(makeEdit(gsid::Divisor, kSetupDivisorMax, "[0-9, .]*", daily), 5, 1);

  // Groups 132, 134, 144, 147.
  auto* csv = named(new QGroupBox("Download CSV Image Options", this), gsid::CsvGroup);
  auto* csvl = new QGridLayout(csv);
  for (auto [id, text] : {std::pair{gsid::CsvEnable, "Enable CSV DL file"}, std::pair{gsid::CsvAppend, "Append Mode"}}) {
    auto* c = named(new QCheckBox(text, csv), id);
    connect(c, &QAbstractButton::clicked, this, [this] { BNChecked(); });
    csvl->addWidget(c, id == gsid::CsvEnable ? 0 : 1, 0);
  }
  auto* clear = named(new QPushButton("Clear", csv), gsid::CsvClear);
  auto* csvHelp = named(new QPushButton("CSV Help", csv), gsid::CsvHelp);
  connect(clear, &QPushButton::clicked, this, [this] { CmCSVclear(); });
  connect(csvHelp, &QPushButton::clicked, this, [this] { CmCSVHelp(); });
  csvl->addWidget(clear, 0, 1);
  csvl->addWidget(csvHelp, 1, 1);

  auto* dates = named(new QGroupBox("Displayed Date Options", this), gsid::DateGroup);
  auto* datel = new QHBoxLayout(dates);
  datel->addWidget(named(new QRadioButton("US", dates), gsid::DateUS));
  datel->addWidget(named(new QRadioButton("International", dates), gsid::DateInternational));

  auto* logs = named(new QGroupBox("Diagnostic Writes to quova.log file", this), gsid::LogGroup);
  auto* logl = new QHBoxLayout(logs);
  logl->addWidget(named(new QRadioButton("On", logs), gsid::LogOn));
  logl->addWidget(named(new QRadioButton("Off", logs), gsid::LogOff));

  auto* proxy = named(new QGroupBox("Optional use of Proxy Server for Downloads", this), gsid::ProxyGroup);
  auto* proxyl = new QHBoxLayout(proxy);
  proxyl->addWidget(named(new QCheckBox("Use", proxy), gsid::ProxyUse));
  auto* proxyEdit = makeEdit(gsid::ProxyServer, kSetupProxyMax, {}, proxy);
  proxyEdit->setValidator(new ByteLimitValidator(kSetupProxyMax, proxyEdit));
  proxyEdit->setMinimumWidth(220);
  proxyl->addWidget(proxyEdit, 1);

  auto* right = new QVBoxLayout;
  right->addWidget(daily);
  right->addWidget(csv);
  auto* small = new QHBoxLayout;
  small->addWidget(dates);
  small->addWidget(logs);
  right->addLayout(small);
  top->addLayout(right);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  auto* ok = named(new QPushButton("OK", this), gsid::OK);
  auto* cancel = named(new QPushButton("Cancel", this), gsid::Cancel);
  auto* help = named(new QPushButton("Help", this), gsid::Help);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, [this] { CmOkButton(); });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(help, &QPushButton::clicked, this, [this] { CmHelp(); });
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  buttons->addWidget(help);

  auto* all = new QVBoxLayout(this);
  all->addLayout(top);
  all->addWidget(proxy);
  all->addLayout(buttons);
  SetupWindow();
}

QWidget* globalSetup::control(int id) const { return findChild<QWidget*>(idName(id)); }
QRadioButton* globalSetup::radio(int id) const { return findChild<QRadioButton*>(idName(id)); }
QCheckBox* globalSetup::check(int id) const { return findChild<QCheckBox*>(idName(id)); }
QLineEdit* globalSetup::edit(int id) const { return findChild<QLineEdit*>(idName(id)); }

void globalSetup::SetupWindow() {
  const Settings& s = settings();
  const DownloadControlsRecord& d = s.DownloadControls;
  radio(colorButtonFor(s.PlotColors[15]))->setChecked(true);
  radio(gsid::AM)->setChecked(d.DLTimeAM);
  radio(gsid::PM)->setChecked(d.DLTimePM);
  radio(gsid::H24)->setChecked(d.DLTime24);
  const bool dayFlags[7] = {d.DLOnMonday, d.DLOnTuesday,  d.DLOnWednesday, d.DLOnThursday,
                            d.DLOnFriday, d.DLOnSaturday, d.DLOnSunday};
  for (int i = 0; i < 7; ++i) check(kDayBoxIds[i])->setChecked(dayFlags[i]);
  check(gsid::Alarms)->setChecked(d.OpenAlarmsQTL);
  check(gsid::CsvEnable)->setChecked(s.CSVenable);
  check(gsid::CsvAppend)->setChecked(s.CSVappend);
  radio(gsid::DateUS)->setChecked(s.DisplayDateFormat == kDateUS);
  radio(gsid::DateInternational)->setChecked(s.DisplayDateFormat == kDateInternational);
  radio(logState().LogDiagnostics ? gsid::LogOn : gsid::LogOff)->setChecked(true);
  check(gsid::ProxyUse)->setChecked(d.UseProxy);
  edit(gsid::Time)->setText(QString::fromStdString(setupTimeText(d)));
  edit(gsid::TimeZone)->setText(QString::fromStdString(d.TimeZone));
  edit(gsid::Divisor)->setText(QString::fromStdString(setupDivisorText(d.CurrencyDivisor)));
  edit(gsid::ProxyServer)->setText(QString::fromStdString(d.ProxyServer));
}

SetupButtons globalSetup::buttons() const {
  SetupButtons b;
  b.colorButton = colorGroup_->checkedId() > 0 ? colorGroup_->checkedId() : 0;
  b.csvEnable = check(gsid::CsvEnable)->isChecked();
  b.csvAppend = check(gsid::CsvAppend)->isChecked();
  b.dateUS = radio(gsid::DateUS)->isChecked();
  b.dateInternational = radio(gsid::DateInternational)->isChecked();
  b.logOn = radio(gsid::LogOn)->isChecked();
  b.logOff = radio(gsid::LogOff)->isChecked();
  b.useProxy = check(gsid::ProxyUse)->isChecked();
  return b;
}

void globalSetup::BNChecked() {
  if (SetupBNChecked(buttons())) emit paletteReset();
}

bool globalSetup::CmOkButton() {
  SetupEntry e;
  e.buttons = buttons();
  e.openAlarms = check(gsid::Alarms)->isChecked();
  for (int i = 0; i < 7; ++i) e.days[static_cast<std::size_t>(i)] = check(kDayBoxIds[i])->isChecked();
  e.am = radio(gsid::AM)->isChecked();
  e.pm = radio(gsid::PM)->isChecked();
  e.h24 = radio(gsid::H24)->isChecked();
  e.timeZone = edit(gsid::TimeZone)->text().toStdString();
  e.divisor = edit(gsid::Divisor)->text().toStdString();
  e.time = edit(gsid::Time)->text().toStdString();
  e.proxy = edit(gsid::ProxyServer)->text().toStdString();
  const SetupResult r = SetupOK(e);
  if (r.paletteReset) emit paletteReset();
  edit(gsid::TimeZone)->setText(QString::fromStdString(r.timeZoneText));
  switch (r.failed) {
    case SetupField::TimeZone: edit(gsid::TimeZone)->setFocus(); return false;
    case SetupField::Divisor: edit(gsid::Divisor)->setFocus(); return false;
    case SetupField::Time: edit(gsid::Time)->setFocus(); return false;
    case SetupField::None: break;
  }
  accept();
  return true;
}

void globalSetup::CmCSVclear() { SetupCSVClear(); }

void globalSetup::CmCSVHelp() { MessageBox(csvHelpText(), kSetupHelpCaption, mb::OK); }

void globalSetup::CmHelp() { MessageBox(globalSetupHelpText(), kSetupHelpCaption, mb::OK); }

globalSetup* CmGlobalSetup(QWidget* frame) {
  static QPointer<globalSetup> open;
  if (!open) {
    open = new globalSetup(frame);
    open->setAttribute(Qt::WA_DeleteOnClose);
  }
  open->show();
  open->raise();
  open->activateWindow();
  return open;
}

bool runModalDialog(QDialog& dialog, const std::function<bool()>& accept) {
  if (host().interactive()) return dialog.exec() == QDialog::Accepted;
  // Nobody is there to click: the dialog is taken as it stands.
  Log("\nDialog -- %s accepted with its current values.", dialog.windowTitle().toUtf8().constData());
  return accept();
}

void installSetupDialogs() {
  setInstallationDialogs([] {
    globalSetup setup;
    runModalDialog(setup, [&] { return setup.CmOkButton(); });
    CmSetupPathnames(nullptr);
  });
}

}  // namespace quova
