// TMathDisplaySetup, the "Mathematical Analysis Display Options" dialog: which overlays a
// chart draws, their periods, the volatility scale, and the last SMA and volatility values.
#pragma once

#include <QDialog>
#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace quova {

struct ChartData;
struct ChartSettings;

class TMathDisplaySetup : public QDialog {
  Q_OBJECT

 public:
  TMathDisplaySetup(const ChartData& data, ChartSettings& settings, QWidget* parent = nullptr);

  QCheckBox* lsf = nullptr;
  std::array<QCheckBox*, 3> sma{};
  QCheckBox* volume = nullptr;
  std::array<QCheckBox*, 4> vol{};
  QCheckBox* stochK = nullptr;
  QCheckBox* stochD = nullptr;
  QRadioButton* autoScale = nullptr;
  QRadioButton* manualScale = nullptr;
  std::array<QLineEdit*, 3> smaDays{};
  std::array<QLineEdit*, 4> volDays{};
  QLineEdit* stochKDays = nullptr;
  QLineEdit* stochDDays = nullptr;
  QLineEdit* volMax = nullptr;
  QLineEdit* volMin = nullptr;
  std::array<QLabel*, 3> lastSma{};
  std::array<QLabel*, 4> lastVol{};
 signals:
  // OK took what it could: the chart sets its volatility scale again and repaints.
  void applied();

 public slots:
  void accept() override;  // CmOkButton
  void help();

 private:
  const ChartData& data_;
  ChartSettings& settings_;
};

}  // namespace quova
