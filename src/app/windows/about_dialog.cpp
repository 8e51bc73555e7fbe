// The About dialog and message.
#include "app/windows/about_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/app_state.h"
#include "app/windows/app_icon.h"
#include "base/host.h"
#include "base/log.h"

namespace quova {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
  setObjectName("dialog211");
  setWindowTitle("About QUOVA");
  setWindowIcon(quovaIcon());
  auto* icon = new QLabel(this);
  icon->setObjectName("IDI_QUOVA");
  icon->setPixmap(quovaIcon().pixmap(48, 48));
  icon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

  auto* name = new QLabel("The Tradivo", this);
  QFont big = name->font();
  big.setPointSizeF(big.pointSizeF() * 1.5);
  big.setBold(true);
  name->setFont(big);
  auto* platform = new QLabel("for Windows", this);
  auto* version = new QLabel(QString::fromStdString(app().Version), this);
  version->setObjectName("control8981");
  for (QLabel* l : {name, platform, version}) l->setAlignment(Qt::AlignHCenter);

  auto* texts = new QVBoxLayout;
  texts->addWidget(name);
  texts->addWidget(platform);
  texts->addSpacing(6);
  texts->addWidget(version);
  auto* top = new QHBoxLayout;
  top->addWidget(icon);
  top->addSpacing(12);
  top->addLayout(texts, 1);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  buttons->button(QDialogButtonBox::Ok)->setObjectName("control1");
  buttons->setCenterButtons(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* lay = new QVBoxLayout(this);
  lay->addLayout(top);
  lay->addSpacing(8);
  lay->addWidget(buttons);
  lay->setSizeConstraint(QLayout::SetFixedSize);
}

AboutDialog* CmAbout(QWidget* frame) {
  static QPointer<AboutDialog> open;
  if (!open) {
    open = new AboutDialog(frame);
    open->setAttribute(Qt::WA_DeleteOnClose);
  }
  open->show();
  open->raise();
  open->activateWindow();
  return open;
}

void CmHelpAbout() {
  MessageBox("The Tradivo\n    for Windows\n" + app().Version + "\n" + "Rebuilt for Linux desktops with C++ and Qt 6.",
             "About QUOVA", mb::ICONINFORMATION);
}

}  // namespace quova
