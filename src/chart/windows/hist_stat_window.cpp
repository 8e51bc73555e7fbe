// The statistics dialog: two blocks of the same figures, and the period dates read back.
#include "chart/windows/hist_stat_window.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "base/host.h"
#include "base/log.h"
#include "chart/chart_settings.h"
#include "util/dates.h"

namespace quova {

namespace {

// One period's block: its dates, the Last/High/Low rows and the two changes.
QGroupBox* periodBlock(const char* caption, QLineEdit** f, QWidget* parent) {
  auto* box = new QGroupBox(caption, parent);
  auto* g = new QGridLayout(box);
  g->setHorizontalSpacing(4);
  g->setVerticalSpacing(2);
  g->addWidget(new QLabel("from:"), 0, 0);
  g->addWidget(f[histfield::From], 0, 1);
  g->addWidget(new QLabel("to:"), 0, 2);
  g->addWidget(f[histfield::To], 0, 3);
  const char* heads[] = {"Date", "High", "Low", "Close", "Volume", "Change", "%"};
  for (int c = 0; c < 7; ++c) g->addWidget(new QLabel(heads[c]), 1, c + 1);
  const std::pair<const char*, int> rows[] = {{"Last", histfield::Last}, {"High", histfield::High}, {"Low", histfield::Low}};
  int r = 2;
  for (const auto& [name, first] : rows) {
    g->addWidget(new QLabel(name), r, 0);
    for (int c = 0; c < 7; ++c) g->addWidget(f[first + c], r, c + 1);
    ++r;
  }
  g->addWidget(new QLabel("Change for this period, (End-to-End)"), r, 0, 1, 5);
  g->addWidget(f[histfield::EndToEnd], r, 6);
  g->addWidget(f[histfield::EndToEnd + 1], r, 7);
  ++r;
  g->addWidget(new QLabel("Change for this period, (Best Fit Slope)"), r, 0, 1, 5);
  g->addWidget(f[histfield::BestFit], r, 6);
  g->addWidget(f[histfield::BestFit + 1], r, 7);
  return box;
}

}  // namespace

HistStatWindow::HistStatWindow(const sHistStatData& data, ChartSettings& settings, int dateFormat,
                               const std::string& title, QWidget* parent)
    : QDialog(parent), shown_(data), settings_(settings), dateFormat_(dateFormat) {
  setWindowTitle(QString::fromStdString(title));
  const QFontMetrics fm = fontMetrics();
  for (std::size_t i = 0; i < kHistStatFields; ++i) {
    auto* e = new QLineEdit(QString::fromStdString(data.field[i]));
    e->setMaxLength(static_cast<int>(kHistStatWidth) - 1);
    e->setMinimumWidth(fm.horizontalAdvance("0000000000.0") + 8);
    // The figures can be selected and copied; only the displayed period's dates are edited.
    e->setReadOnly(!(i == histfield::From || i == histfield::To));
    fields[i] = e;
  }
  auto* dateChars = new QRegularExpressionValidator(QRegularExpression("[0-9/]*"), this);
  fields[histfield::From]->setValidator(dateChars);
  fields[histfield::To]->setValidator(dateChars);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(periodBlock("Period Displayed", fields.data(), this));
  layout->addWidget(periodBlock("All Data", fields.data() + histfield::AllData, this));
  auto* buttons = new QHBoxLayout;
  auto* ok = new QPushButton("OK");
  ok->setDefault(true);
  auto* helpButton = new QPushButton("Help");
  buttons->addWidget(ok);
  buttons->addWidget(helpButton);
  buttons->addStretch();
  layout->addLayout(buttons);
  connect(ok, &QPushButton::clicked, this, &HistStatWindow::accept);
  connect(helpButton, &QPushButton::clicked, this, &HistStatWindow::help);
}

void HistStatWindow::accept() {
  struct End {
    int field;
    float& value;
    const char* message;
  } ends[] = {
      {histfield::From, settings_.t_start, "Bad Beginning Date format: mm/dd/yy(yy); reenter"},
      {histfield::To, settings_.t_end, "Bad Ending Date format: mm/dd/yy(yy); reenter"},
  };
  for (const End& e : ends) {
    const std::string text = fields[e.field]->text().trimmed().toStdString();
    // A date left as it was shown keeps the window's own (possibly fractional) end.
    if (text == shown_.field[e.field]) continue;
    const int day = GoodDate(text.c_str(), dateFormat_);
    if (day <= 0) {
      host().beep();
      LogBox(e.message, "HistStatWindow", mb::OK | mb::ICONEXCLAMATION);
      fields[e.field]->setFocus();
      return;
    }
    if (static_cast<float>(day) != e.value) {
      e.value = static_cast<float>(day);
      windowMoved = true;
    }
  }
  QDialog::accept();
}

void HistStatWindow::help() {
  MessageBox(std::string("Best Fit Slope provides the rate of change for a linear LSF.\n") +
                 "\nYou may use Windows copy(ctrl-ins)/paste(shft-ins) or other methods to copy this data.\n" +
                 "\nTo change the Period Displayed dates, edit the from: and/or to: dates, and strike OK.\n" +
                 "\nThis screen can be accessed by right-clicking the mouse over the stock plot of interest.\n",
             "Historical Quotefile Statistics Dialog Help", mb::OK | mb::ICONINFORMATION);
}

}  // namespace quova
