// TSetupWindow, the "Mathematical Analysis Setup Box": the orders, the search and the
// fundamental of the next analysis run, and where its coefficients go.
#pragma once

#include <QDialog>

#include "chart/analysis_run.h"
#include "chart/chart_settings.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace quova {

class TSetupWindow : public QDialog {
  Q_OBJECT

 public:
  // Opens with the chart's orders, search steps and check boxes, the displayed window's whole
  // number of days as the fundamental, "Preset" and "Study" selected.
  TSetupWindow(ChartSettings& settings, AnalysisSetup& setup, QWidget* parent = nullptr);

  QLineEdit* polyOrder = nullptr;
  QLineEdit* fourOrder = nullptr;
  QLineEdit* bisects = nullptr;
  QLineEdit* fundDays = nullptr;
  QCheckBox* polyEnabled = nullptr;
  QCheckBox* fourEnabled = nullptr;
  QRadioButton* search = nullptr;
  QRadioButton* preset = nullptr;
  QRadioButton* baseline = nullptr;
  QRadioButton* study = nullptr;

 public slots:
  // CmOkButton: every valid entry is stored; the window closes (accepted) only when all were.
  void accept() override;

 private:
  ChartSettings& settings_;
  AnalysisSetup& setup_;
};

}  // namespace quova
