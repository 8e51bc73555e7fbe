// The Global Setup dialog ("QUOVA Global Setup Parameters"): the chart colour target,
// the daily download schedule, time zone, currency divisor, the CSV image switches, the
// date display, diagnostic log writes and the proxy server. Every control carries its
// resource id as "control<id>".
#pragma once

#include <QDialog>
#include <functional>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace quova {

struct SetupButtons;

class globalSetup : public QDialog {
  Q_OBJECT

 public:
  explicit globalSetup(QWidget* parent = nullptr);

  // The control with the given id, or nullptr.
  QWidget* control(int id) const;

  void SetupWindow();
  void BNChecked();
  // True when the checks passed and the dialog closed.
  bool CmOkButton();
  void CmCSVclear();
  void CmCSVHelp();
  void CmHelp();

 signals:
  // A default palette was copied into the chart colours: the current chart window redraws.
  void paletteReset();

 private:
  SetupButtons buttons() const;
  QRadioButton* radio(int id) const;
  QCheckBox* check(int id) const;
  QLineEdit* edit(int id) const;
  QButtonGroup* colorGroup_ = nullptr;
};

// Options/Setup Global Configuration: the dialog modeless over the frame (one at a time).
globalSetup* CmGlobalSetup(QWidget* frame);

// Runs a dialog modally. When no person can answer (headless, an unattended download) it is
// logged and accepted at once with its current values; accept is then what OK runs, and the
// dialog closes whatever accept answers. True when accepted.
bool runModalDialog(QDialog& dialog, const std::function<bool()>& accept);

// The installation dialogs of the first start: Global Setup modally, then the pathnames.
void installSetupDialogs();

}  // namespace quova
