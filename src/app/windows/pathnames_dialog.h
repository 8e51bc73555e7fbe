// The External Program Pathnames dialog ("QUOVA External Program Reference Pathnames
// Setup Window"): the text editor, web browser and spreadsheet the program starts.
// Every control carries its resource id as "control<id>".
#pragma once

#include <QDialog>

class QLineEdit;

namespace quova {

class pathDialog : public QDialog {
  Q_OBJECT

 public:
  explicit pathDialog(QWidget* parent = nullptr);
  QLineEdit* edit(int id) const;  // 101 editor, 102 browser, 103 spreadsheet
  // OK: the edits go back into TPathBuffer.
  void accept() override;
  void CmHelp();
};

// Options/Setup External Program Pathnames: the dialog modally; OK saves quova.ini and
// User.dat. True when accepted.
bool CmSetupPathnames(QWidget* parent);

}  // namespace quova
