// The analysis setup window's controls at their places and its checks on OK.
#include "chart/windows/analysis_setup.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "base/host.h"
#include "base/log.h"
#include "chart/sin_cos.h"

namespace quova {

namespace {

QLineEdit* numberEdit(QWidget* parent, int y, int digits, long value, const char* label) {
  auto* l = new QLabel(label, parent);
  l->setGeometry(20, y, 185, 24);
  auto* e = new QLineEdit(QString::number(value), parent);
  e->setGeometry(210, y, 40, 24);
  e->setMaxLength(digits);
  return e;
}

// The range check of one edit: the value when it reads as a whole number in [lo, hi].
bool inRange(const QLineEdit* e, int lo, int hi, int& value) {
  bool ok = false;
  const int v = e->text().trimmed().toInt(&ok);
  if (!ok || v < lo || v > hi) return false;
  value = v;
  return true;
}

}  // namespace

TSetupWindow::TSetupWindow(ChartSettings& s, AnalysisSetup& a, QWidget* parent)
    : QDialog(parent), settings_(s), setup_(a) {
  setWindowTitle("Mathematical Analysis Setup Box");
  setFixedSize(520, 240);
  // The displayed window's whole number of days, kept inside what the edit can show.
  const double span = std::floor(static_cast<double>(s.t_end) - static_cast<double>(s.t_start));
  const long days = std::isfinite(span) ? static_cast<long>(std::clamp(span, 1.0, 30000.0)) : 1;
  polyOrder = numberEdit(this, 20, 2, s.poly_order, "Order of Polynomial Fit:");
  fourOrder = numberEdit(this, 45, 2, s.four_order, "Order of Fourier        Fit:");
  bisects = numberEdit(this, 70, 4, s.n_bisects, "Srchs by Bisect for Fund:");
  fundDays = numberEdit(this, 95, 5, days, "Fundamental # of days:");
  polyEnabled = new QCheckBox("PolyFit Ena", this);
  polyEnabled->setGeometry(285, 20, 100, 24);
  polyEnabled->setChecked(s.poly_enabled != 0);
  fourEnabled = new QCheckBox("FourFit Ena", this);
  fourEnabled->setGeometry(285, 45, 100, 24);
  fourEnabled->setChecked(s.four_enabled != 0);

  auto* fund = new QGroupBox(this);
  fund->setGeometry(285, 70, 100, 49);
  search = new QRadioButton("Search", fund);
  preset = new QRadioButton("Preset", fund);
  auto* fl = new QVBoxLayout(fund);
  fl->setContentsMargins(6, 2, 6, 2);
  fl->addWidget(search);
  fl->addWidget(preset);
  preset->setChecked(true);

  auto* coef = new QGroupBox(" Coefficients:", this);
  coef->setGeometry(400, 20, 100, 72);
  baseline = new QRadioButton("Baseline", coef);
  study = new QRadioButton("Study", coef);
  auto* cl = new QVBoxLayout(coef);
  cl->setContentsMargins(6, 2, 6, 2);
  cl->addWidget(baseline);
  cl->addWidget(study);
  study->setChecked(true);

  const int y = 180 - style()->pixelMetric(QStyle::PM_TitleBarHeight);
  auto* ok = new QPushButton("OK", this);
  ok->setGeometry(20, y, 55, 27);
  ok->setDefault(true);
  auto* cancel = new QPushButton("Cancel", this);
  cancel->setGeometry(100, y, 55, 27);
  connect(ok, &QPushButton::clicked, this, &TSetupWindow::accept);
  connect(cancel, &QPushButton::clicked, this, &TSetupWindow::reject);
}

void TSetupWindow::accept() {
  struct Field {
    QLineEdit* edit;
    int lo, hi;
    const char* message;
  };
  const Field fields[] = {
      {polyOrder, 0, 50, "Invalid LSF Order, (%d, %d)"},
      {fourOrder, 0, 50, "Invalid Fourier Order, (%d, %d)"},
      {bisects, 0, 1000, "Invalid # Bisects, (%d, %d)"},
      {fundDays, 1, 30000, "Invalid Fourier Fundamental, (%d, %d)"},
  };
  std::int32_t* targets[] = {&settings_.poly_order, &settings_.four_order, &settings_.n_bisects, nullptr};
  QLineEdit* firstBad = nullptr;
  for (std::size_t i = 0; i < std::size(fields); ++i) {
    const Field& f = fields[i];
    int v = 0;
    if (!inRange(f.edit, f.lo, f.hi, v)) {
      char text[80];
      std::snprintf(text, sizeof text, f.message, f.lo, f.hi);
      LogBox(text, "Analysis SetupWindow Error", mb::OK | mb::ICONEXCLAMATION);
      if (!firstBad) firstBad = f.edit;
      continue;
    }
    if (targets[i]) {
      *targets[i] = v;
    } else {
      setup_.fund_omega = kTwoPi / v;
      setup_.omegaSet = true;
    }
  }
  settings_.poly_enabled = polyEnabled->isChecked() ? 1 : 0;
  settings_.four_enabled = fourEnabled->isChecked() ? 1 : 0;
  setup_.fund_baseline = baseline->isChecked() ? 1 : 0;
  setup_.fund_preset = search->isChecked() ? 0 : 1;
  if (firstBad) {
    firstBad->setFocus();
    return;
  }
  QDialog::accept();
}

}  // namespace quova
