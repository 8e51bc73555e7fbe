// The dialogs of a download: the page-link check and the forced-download notice.
#include "download/windows/download_dialogs.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "base/host.h"

namespace quova {

// "Get Quote Page Dialog": the page's link in its download form or its browser form.
void runPageLinkDialog(QWidget* parent, PageLink& link) {
  QDialog dlg(parent);
  dlg.setWindowTitle("Get Quote Page Dialog");
  auto* lay = new QVBoxLayout(&dlg);
  auto* edit = new QLineEdit(QString::fromStdString(link.downloadText), &dlg);
  edit->setMinimumWidth(520);
  auto* browserForm = new QCheckBox("Send to Browser", &dlg);
  lay->addWidget(new QLabel("Page Link:", &dlg));
  lay->addWidget(edit);
  lay->addWidget(browserForm);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, &dlg);
  lay->addWidget(buttons);
  QObject::connect(browserForm, &QCheckBox::toggled, &dlg, [&](bool on) {
    edit->setText(QString::fromStdString(on ? link.browserText : link.downloadText));
  });
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dlg, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dlg, &QDialog::reject);
  QObject::connect(buttons, &QDialogButtonBox::helpRequested, &dlg, [] {
    host().messageBox(
        "This Dialog is provided to help create & checkout quotelist configuration files.\n\n"
        "It may also be used to checkout downloading problems, by comparing the operation\n"
        "of QUOVA and your Browser using this URL.\n\n"
        "The URL shown will can be either be downloaded by QUOVA, and sent to a a text editor, or\n"
        "it may be sent to your Browser.\n\n"
        "You must have setup the External Program Pathnames dialog (see Options menu).\n\n",
        "Page Link Dialog Help", mb::OK | mb::ICONINFORMATION);
  });
  if (dlg.exec() != QDialog::Accepted) {
    link.choice = PageLink::Cancel;
    return;
  }
  link.chosenText = edit->text().toStdString();
  link.choice = browserForm->isChecked() ? PageLink::Browser : PageLink::Download;
}

// "QUOVA Download Forced": shown, without waiting, while every quote file is backdated.
QDialog* forcedDialog(QWidget* parent) {
  auto* dlg = new QDialog(parent);
  dlg->setWindowTitle("QUOVA Download Forced");
  dlg->setObjectName("ForcedDialog");
  auto* lay = new QVBoxLayout(dlg);
  lay->addWidget(new QLabel("Please Wait......", dlg));
  auto* text = new QLabel(
      "QUOVA is backdating all your Historical Quote Files so that all will be updated reguardless of "
      "previous downloads.....",
      dlg);
  text->setWordWrap(true);
  lay->addWidget(text);
  dlg->setMinimumWidth(360);
  return dlg;
}

}  // namespace quova
