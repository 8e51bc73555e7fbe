// The copy dialog: From/To base names, the two check boxes, "&QL Copy" and "&Cancel".
#include "quotes/windows/copy_list_dialog.h"

#include <QCheckBox>
#include <QDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "base/run_flags.h"
#include "quotes/list_operations.h"

namespace quova {

void runCopyListDialog(QWidget* parent, const std::string& sourceBase) {
  QDialog dlg(parent);
  dlg.setObjectName("CopyListDialog");
  dlg.setWindowTitle("QuoteList and Configuration Copy Control Dialog");
  auto* grid = new QGridLayout(&dlg);
  auto* about = new QLabel(
      "QUOVA will copy the base Quotelist (.qtl) and accompanying Configuration File (.qcf) using the base file "
      "name provided.\n\nUse this window to duplicate quotelist file pairs to edit and create new download "
      "configurations.",
      &dlg);
  about->setWordWrap(true);
  grid->addWidget(about, 0, 0, 1, 2);
  auto edit = [&](const char* label, const char* name, int row) {
    grid->addWidget(new QLabel(label, &dlg), row, 0);
    auto* e = new QLineEdit(QString::fromStdString(sourceBase), &dlg);
    e->setObjectName(name);
    grid->addWidget(e, row, 1);
    return e;
  };
  edit("From:", "control101", 1);
  QLineEdit* to = edit("To:", "control102", 2);
  auto box = [&](const char* text, const char* name, int row) {
    auto* b = new QCheckBox(text, &dlg);
    b->setObjectName(name);
    b->setChecked(true);
    grid->addWidget(b, row, 0, 1, 2);
    return b;
  };
  QCheckBox* copyList = box("Copy Quotelist", "control107", 3);
  QCheckBox* copyConfig = box("Copy Quotelist Configuration File", "control108", 4);
  auto* copy = new QPushButton("&QL Copy", &dlg);
  copy->setObjectName("control106");
  copy->setDefault(true);
  auto* cancel = new QPushButton("&Cancel", &dlg);
  grid->addWidget(copy, 5, 0);
  grid->addWidget(cancel, 5, 1);
  QObject::connect(cancel, &QPushButton::clicked, &dlg, &QDialog::reject);
  QObject::connect(copy, &QPushButton::clicked, &dlg, [&] {
    const std::string target = to->text().toStdString();
    if (target.empty()) return;
    CopyQLResult r = CopyQuoteList(sourceBase, target, copyList->isChecked(), copyConfig->isChecked());
    if (!r.backToDialog) dlg.accept();
  });
  RunFlags& a = runFlags();
  const bool held = a.HoldClose;
  a.HoldClose = true;  // the program does not close under the dialog
  dlg.exec();
  a.HoldClose = held;
}

}  // namespace quova
