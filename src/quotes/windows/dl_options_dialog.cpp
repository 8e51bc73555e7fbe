// The download options dialog: three group boxes of 6, 6 and 2 check boxes.
#include "quotes/windows/dl_options_dialog.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "base/host.h"
#include "base/log.h"

namespace quova {

bool runDLOptionsDialog(QWidget* parent, const ListQcf& captions, DLOptions& options) {
  QDialog dlg(parent);
  dlg.setObjectName("DLoptionsDialog");
  dlg.setWindowTitle("QUOVA Quotelist Download Options");
  auto* top = new QVBoxLayout(&dlg);
  auto* groups = new QHBoxLayout;
  top->addLayout(groups);
  QCheckBox* boxes[14] = {};
  const int first[3] = {0, 6, 12}, count[3] = {6, 6, 2};
  for (int g = 0; g < 3; ++g) {
    auto* group = new QGroupBox(QString::fromStdString(captions.groupCaption[g]), &dlg);
    auto* col = new QVBoxLayout(group);
    for (int i = first[g]; i < first[g] + count[g]; ++i) {
      boxes[i] = new QCheckBox(QString::fromStdString(captions.optionCaption[i]), group);
      boxes[i]->setObjectName(QString("option%1").arg(i + 1));
      boxes[i]->setChecked(options[i] != 0);
      col->addWidget(boxes[i]);
    }
    col->addStretch();
    groups->addWidget(group);
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, &dlg);
  top->addWidget(buttons);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dlg, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dlg, &QDialog::reject);
  QObject::connect(buttons, &QDialogButtonBox::helpRequested, &dlg, [] {
    MessageBox("Defined Options activate sections of the Quotelist Configuration File.\n\n"
               "Currently all Quotelists will be acted upon by the Option numbers selected here.\n\n"
               "Select the Option describing the next download type you prefer.\n\n"
               "Click OK to save your selection, or Cancel to abort the change.\n\n"
               "The next download initiated will be in accordance with your selection.\n\n",
               "Quotelist Download Options Dialog Help", mb::OK | mb::ICONINFORMATION);
  });
  if (dlg.exec() != QDialog::Accepted) return false;
  for (int i = 0; i < 14; ++i) options[i] = boxes[i]->isChecked() ? 1 : 0;
  return true;
}

}  // namespace quova
