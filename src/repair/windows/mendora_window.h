// The repair tool's window: the quote file's problems in a table, what the repair will do,
// a choice of line for each date with different values, Apply / Cancel, Import..., Undo
// from the recovery copy, Help. A thin shell over repair/mendora_run.h.
#pragma once

#include <QDialog>
#include <string>

#include "repair/mendora_run.h"

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace quova::repair {

class MendoraWindow : public QDialog {
  Q_OBJECT

 public:
  MendoraWindow(const Options& o, const std::string& cwd, const std::string& quova, QWidget* parent = nullptr);

  // False when the file could not be opened (the message was shown); exitCode() tells why.
  bool ready() const { return ready_; }
  int exitCode() const { return exit_; }
  const Job& job() const { return job_; }
  const RepairChoices& choices() const { return choices_; }
  QTableWidget* table() const { return table_; }
  QPlainTextEdit* preview() const { return preview_; }

  // The buttons' work (also used by tests).
  void apply();
  void importFile(const QString& path);
  void undo();

 private:
  bool load();
  void fill();
  void refreshPreview();
  void showHelp();

  Options options_;
  std::string cwd_, quova_;
  Job job_;
  RepairChoices choices_;
  bool ready_ = false;
  int exit_ = kExitDone;
  QLabel* heading_ = nullptr;
  QTableWidget* table_ = nullptr;
  QPlainTextEdit* preview_ = nullptr;
  QCheckBox* importWins_ = nullptr;
  QPushButton* applyButton_ = nullptr;
};

}  // namespace quova::repair
