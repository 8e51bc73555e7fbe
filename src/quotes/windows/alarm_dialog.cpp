// The alarm limits of one quote request.
#include "quotes/windows/alarm_dialog.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <cstring>

#include "base/host.h"
#include "base/log.h"

namespace quova {

// "Download Alarms Setup Dialog": true on OK, with the record filled from the dialog.
bool runAlarmDialog(QWidget* parent, AlarmRecord& rec) {
  QDialog dlg(parent);
  dlg.setObjectName("AlarmDialog");
  dlg.setWindowTitle("Download Alarms Setup Dialog");
  dlg.setAutoFillBackground(true);
  QPalette pal = dlg.palette();
  pal.setColor(QPalette::Window, pal.color(QPalette::Button));
  dlg.setPalette(pal);
  auto* form = new QFormLayout(&dlg);
  auto* on = new QCheckBox("Ena", &dlg);
  on->setObjectName("control101");
  on->setChecked(rec.alarmsOn);
  auto* over = new QLineEdit(QString::fromLatin1(rec.overLimit), &dlg);
  over->setObjectName("control103");
  over->setMaxLength(80);
  auto* under = new QLineEdit(QString::fromLatin1(rec.underLimit), &dlg);
  under->setObjectName("control105");
  under->setMaxLength(80);
  form->addRow(on);
  form->addRow("Over:", over);
  form->addRow("Under:", under);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, &dlg);
  form->addRow(buttons);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dlg, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dlg, &QDialog::reject);
  QObject::connect(buttons, &QDialogButtonBox::helpRequested, &dlg, [] {
    MessageBox(
        "Enter criteria for creation of Alarms.\n\nAlarms may be enabled for individual quotes,\nand Hi and Lo "
        "limits set.\n\nAlarm limits will be checked against quotes downloaded.\n\nQuotes exceeding alarm limits "
        "will be highlighted in the\nQuotelist and shown in a special Alarms.qtl Quotelist at the\nend of the "
        "Download.\n",
        "Download Alarms Setup Dialog Help", mb::OK | mb::ICONINFORMATION);
  });
  if (dlg.exec() != QDialog::Accepted) return false;
  auto copy = [](char* dest, const QString& text) {
    const QByteArray b = text.toLatin1().left(80);
    std::memcpy(dest, b.constData(), static_cast<std::size_t>(b.size()));
    dest[b.size()] = 0;
  };
  copy(rec.overLimit, over->text());
  copy(rec.underLimit, under->text());
  rec.alarmsOn = on->isChecked();
  return true;
}

}  // namespace quova
