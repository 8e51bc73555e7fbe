// HistStatWindow, the "Historical Quote Statistics" dialog: the statistics record of a chart
// for the period displayed and for all data; OK moves the chart's window to the edited dates.
#pragma once

#include <QDialog>
#include <array>

#include "chart/hist_stats.h"

class QLineEdit;

namespace quova {

struct ChartSettings;

class HistStatWindow : public QDialog {
  Q_OBJECT

 public:
  HistStatWindow(const sHistStatData& data, ChartSettings& settings, int dateFormat, const std::string& title,
                 QWidget* parent = nullptr);

  // The 54 fields in the record's order.
  std::array<QLineEdit*, kHistStatFields> fields{};
  // Set by OK when t_start or t_end changed.
  bool windowMoved = false;

 public slots:
  void accept() override;  // CmOkButton
  void help();             // CmHelp

 private:
  sHistStatData shown_;
  ChartSettings& settings_;
  int dateFormat_;
};

}  // namespace quova
