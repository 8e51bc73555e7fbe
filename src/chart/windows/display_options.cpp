// The display options dialog: its controls, the last values, and the checks on OK in
// control order.
#include "chart/windows/display_options.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/host.h"
#include "base/log.h"
#include "chart/chart_data.h"
#include "chart/chart_settings.h"
#include "chart/indicators.h"

namespace quova {

namespace {

QString formatted(const char* fmt, double v) {
  char t[48];
  std::snprintf(t, sizeof t, fmt, v);
  return QString::fromLatin1(t);
}

QLineEdit* daysEdit(std::int32_t days, QValidator* digits) {
  auto* e = new QLineEdit(QString::number(days));
  e->setMaxLength(10);
  e->setValidator(digits);
  e->setMaximumWidth(70);
  return e;
}

QCheckBox* check(const char* text, std::int32_t on) {
  auto* c = new QCheckBox(text);
  c->setChecked(on != 0);
  return c;
}

}  // namespace

TMathDisplaySetup::TMathDisplaySetup(const ChartData& d, ChartSettings& s, QWidget* parent)
    : QDialog(parent), data_(d), settings_(s) {
  setWindowTitle("Mathematical Analysis Display Options");
  auto* digits = new QRegularExpressionValidator(QRegularExpression("[0-9]*"), this);
  const int last = d.num_quotes - 1;
  auto* layout = new QVBoxLayout(this);

  auto* price = new QGroupBox("Price");
  auto* pg = new QGridLayout(price);
  lsf = check("LSF Curve Fit", s.lsf_display);
  pg->addWidget(lsf, 0, 0);
  volume = check("Volume", s.volume_display);
  pg->addWidget(volume, 0, 1);
  pg->addWidget(new QLabel("Days"), 1, 1);
  pg->addWidget(new QLabel("Last SMA Value"), 1, 2);
  for (int i = 0; i < 3; ++i) {
    const std::string name = "Simple Moving Average (SMA) #" + std::to_string(i + 1);
    sma[i] = check(name.c_str(), s.sma_display[i]);
    smaDays[i] = daysEdit(s.sma_days[i], digits);
    lastSma[i] = new QLabel(last - s.sma_days[i] < 0 ? "NS Data" : formatted("%10.3f", SMA(d, last, s.sma_days[i])));
    pg->addWidget(sma[i], i + 2, 0);
    pg->addWidget(smaDays[i], i + 2, 1);
    pg->addWidget(lastSma[i], i + 2, 2);
  }
  layout->addWidget(price);

  auto* volBox = new QGroupBox("Volatility");
  auto* vg = new QGridLayout(volBox);
  vg->addWidget(new QLabel("Days"), 0, 1);
  vg->addWidget(new QLabel("Last Volatility (% per annum)"), 0, 2);
  for (int i = 0; i < 4; ++i) {
    const std::string name = "Volatility #" + std::to_string(i + 1);
    vol[i] = check(name.c_str(), s.vol_display[i]);
    volDays[i] = daysEdit(s.vol_days[i], digits);
    lastVol[i] = new QLabel(last - s.vol_days[i] < 1 ? "NS Data"
                                                     : formatted("%10.3f", Volatility(d, last, s.vol_days[i])));
    vg->addWidget(vol[i], i + 1, 0);
    vg->addWidget(volDays[i], i + 1, 1);
    vg->addWidget(lastVol[i], i + 1, 2);
  }
  autoScale = new QRadioButton("Auto");
  manualScale = new QRadioButton("Manual");
  (s.vol_auto_scale ? autoScale : manualScale)->setChecked(true);
  volMax = new QLineEdit(formatted("%10.1f", s.vol_scale_max).trimmed());
  volMin = new QLineEdit(formatted("%10.1f", s.vol_scale_min).trimmed());
  volMax->setMaxLength(20);
  volMin->setMaxLength(20);
  auto* scale = new QHBoxLayout;
  scale->addWidget(autoScale);
  scale->addWidget(manualScale);
  scale->addWidget(new QLabel("% Max"));
  scale->addWidget(volMax);
  scale->addWidget(new QLabel("% Min"));
  scale->addWidget(volMin);
  vg->addLayout(scale, 5, 0, 1, 3);
  layout->addWidget(volBox);

  auto* stoch = new QGroupBox("Stochastic");
  auto* sg = new QGridLayout(stoch);
  stochK = check("Stochastic %K", s.stoch_k_display);
  stochD = check("Stochastic %D", s.stoch_d_display);
  stochKDays = daysEdit(s.stoch_k_days, digits);
  stochDDays = daysEdit(s.stoch_d_days, digits);
  sg->addWidget(stochK, 0, 0);
  sg->addWidget(stochKDays, 0, 1);
  sg->addWidget(stochD, 1, 0);
  sg->addWidget(stochDDays, 1, 1);
  layout->addWidget(stoch);

  auto* buttons = new QHBoxLayout;
  auto* ok = new QPushButton("OK");
  ok->setDefault(true);
  auto* cancel = new QPushButton("Cancel");
  auto* helpButton = new QPushButton("Help");
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  buttons->addWidget(helpButton);
  buttons->addStretch();
  layout->addLayout(buttons);
  connect(ok, &QPushButton::clicked, this, &TMathDisplaySetup::accept);
  connect(cancel, &QPushButton::clicked, this, &TMathDisplaySetup::reject);
  connect(helpButton, &QPushButton::clicked, this, &TMathDisplaySetup::help);
}

void TMathDisplaySetup::accept() {
  const char* caption = "MathDisplaySetup Error";
  QWidget* firstBad = nullptr;
  auto fail = [&](QWidget* w, const char* text) {
    LogBox(text, caption, mb::OK | mb::ICONEXCLAMATION);
    if (!firstBad) firstBad = w;
  };
  struct Days {
    QLineEdit* edit;
    std::int32_t& value;
    const char* message;
  } days[] = {
      {smaDays[0], settings_.sma_days[0], "Invalid SMA1 days (must be %d - %d)"},
      {smaDays[1], settings_.sma_days[1], "Invalid SMA2 days (must be %d - %d)"},
      {smaDays[2], settings_.sma_days[2], "Invalid SMA3 days (must be %d - %d)"},
      {volDays[0], settings_.vol_days[0], "Invalid volatility1 days (must be %d - %d)"},
      {volDays[1], settings_.vol_days[1], "Invalid volatility2 days (must be %d - %d)"},
      {volDays[2], settings_.vol_days[2], "Invalid volatility3 days (must be %d - %d)"},
      {volDays[3], settings_.vol_days[3], "Invalid volatility4 days (must be %d - %d)"},
      {stochKDays, settings_.stoch_k_days, "Invalid stochastic %K days (must be %d - %d)"},
      {stochDDays, settings_.stoch_d_days, "Invalid stochastic %D days (must be %d - %d)"},
  };
  for (const Days& f : days) {
    // The digits only, read as a number of at most five characters.
    const QString text = f.edit->text().trimmed();
    bool reads = !text.isEmpty();
    for (QChar c : text) reads = reads && c.isDigit();
    const int v = reads ? text.left(5).toInt() : 0;
    if (reads && v >= kMinChartDays && v <= kMaxChartDays) {
      f.value = v;
      continue;
    }
    if (reads) f.value = 1;
    char t[96];
    std::snprintf(t, sizeof t, f.message, kMinChartDays, kMaxChartDays);
    fail(f.edit, t);
  }
  struct Flag {
    QCheckBox* box;
    std::int32_t& value;
  } flags[] = {{lsf, settings_.lsf_display},       {sma[0], settings_.sma_display[0]},
               {sma[1], settings_.sma_display[1]}, {sma[2], settings_.sma_display[2]},
               {volume, settings_.volume_display}, {vol[0], settings_.vol_display[0]},
               {vol[1], settings_.vol_display[1]}, {vol[2], settings_.vol_display[2]},
               {vol[3], settings_.vol_display[3]}, {stochK, settings_.stoch_k_display},
               {stochD, settings_.stoch_d_display}};
  for (const Flag& f : flags) {
    f.value = f.box->isChecked() ? 1 : 0;
  }
  settings_.vol_auto_scale = autoScale->isChecked() ? 1 : 0;
  struct Scale {
    QLineEdit* edit;
    float& value;
    const char* message;
  } scales[] = {{volMax, settings_.vol_scale_max, "Invalid volatility max scale entry."},
                {volMin, settings_.vol_scale_min, "Invalid volatility min scale entry."}};
  for (const Scale& f : scales) {
    const std::string text = f.edit->text().toStdString();
    float v = 0;
    char rest = 0;
    // One number and nothing after it but blanks; a value that is not finite is refused too.
    if (std::sscanf(text.c_str(), "%f %c", &v, &rest) != 1 || !std::isfinite(v)) {
      fail(f.edit, f.message);
      continue;
    }
    f.value = v;
  }
  // The volatility scale is set again and the chart repainted, errors or not.
  emit applied();
  if (firstBad) {
    firstBad->setFocus();
    return;
  }
  QDialog::accept();
}

void TMathDisplaySetup::help() {
  MessageBox(std::string("Check these options to set mathematical analysis displays on/off.\n\n") +
                 "3 different SMA's are available.\n\n" + "4 different Volatility Calculations are available.\n\n" +
                 "Enter the desired Integration Period.",
             "Math Analysis Display Options Dialog Help", mb::OK | mb::ICONINFORMATION);
}

}  // namespace quova
