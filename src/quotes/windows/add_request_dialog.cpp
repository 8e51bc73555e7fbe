// A new quote request typed in field by field.
#include "quotes/windows/add_request_dialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include "base/host.h"
#include "base/log.h"

namespace quova {

// "Add a Quote Request to Quotelist": the new request line on OK, empty on Cancel.
std::string runAddRequestDialog(QWidget* parent) {
  QDialog dlg(parent);
  dlg.setObjectName("AddRequestDialog");
  dlg.setWindowTitle("Add a Quote Request to Quotelist");
  auto* grid = new QGridLayout(&dlg);
  struct Field {
    const char* label;
    const char* hint;
    const char* name;
  };
  const Field fields[] = {{"Symbol:", "(80 char max; 8 max. recommended)", "control104"},
                          {"Filename:", "(80 char max; * = default Symbol.day recommended)", "control103"},
                          {"Company Name:", "(80 char. max.)", "control105"}};
  QLineEdit* edits[3];
  for (int i = 0; i < 3; ++i) {
    grid->addWidget(new QLabel(fields[i].label, &dlg), i, 0);
    edits[i] = new QLineEdit(&dlg);
    edits[i]->setObjectName(fields[i].name);
    edits[i]->setMaxLength(80);
    grid->addWidget(edits[i], i, 1);
    grid->addWidget(new QLabel(fields[i].hint, &dlg), i, 2);
  }
  grid->addWidget(new QLabel("(Do not use * for futures, use subdirectory structure like samples.)", &dlg), 3, 0, 1, 3);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, &dlg);
  grid->addWidget(buttons, 4, 0, 1, 3);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dlg, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dlg, &QDialog::reject);
  QObject::connect(buttons, &QDialogButtonBox::helpRequested, &dlg, [] {
    MessageBox(
        "Enter the Symbol name from symbol lookup for this page;\n\nEnter the filename (less .day) for storage.\n\n"
        "(* will use default Symbol.day)\nUse sample subdirectory filename structure for futures.\n\n"
        "Enter the Company Name/Description.",
        "Add Quote Request Dialog Help", mb::OK | mb::ICONINFORMATION);
  });
  if (dlg.exec() != QDialog::Accepted) return {};
  return edits[0]->text().toStdString() + "   " + edits[1]->text().toStdString() + "   " +
         edits[2]->text().toStdString();
}

}  // namespace quova
