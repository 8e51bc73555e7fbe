// The help window.
#include "app/windows/help_window.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "app/windows/app_icon.h"
#include "base/host.h"
#include "base/log.h"
#include "util/paths.h"

namespace quova {

HelpWindow::HelpWindow(const std::string& file, QWidget* parent) : QDialog(parent) {
  setWindowTitle("QUOVA Help");
  setWindowIcon(quovaIcon());
  browser_ = new QTextBrowser(this);
  browser_->setOpenExternalLinks(true);
  QFile f(QString::fromStdString(file));
  if (f.open(QIODevice::ReadOnly)) {
    browser_->setSearchPaths({QFileInfo(f).absolutePath()});
    browser_->setHtml(QString::fromUtf8(f.readAll()));
  }
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* back = buttons->addButton("&Back", QDialogButtonBox::ActionRole);
  QPushButton* index = buttons->addButton("&Index", QDialogButtonBox::ActionRole);
  buttons->addButton(QDialogButtonBox::Close);
  back->setEnabled(false);
  connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
  connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
  connect(index, &QPushButton::clicked, this, [this] { showTopic(HelpTopic::Index); });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
  auto* lay = new QVBoxLayout(this);
  lay->addWidget(browser_);
  lay->addWidget(buttons);
  resize(640, 560);
}

void HelpWindow::showTopic(HelpTopic topic) {
  browser_->scrollToAnchor(topic == HelpTopic::UsingHelp ? "using-help" : "index");
  if (topic == HelpTopic::Index) browser_->verticalScrollBar()->setValue(0);
}

HelpWindow* ShowHelp(QWidget* frame, HelpTopic topic) {
  static QPointer<HelpWindow> open;
  const std::string file = nativePath(kHelpFile);
  if (!fileExists(file)) {
    LogBox(std::string("Cannot find the help file -- ") + kHelpFile + "\n\n" +
               "The help belongs in the Help folder of the QUOVA root directory.",
           "QUOVA Help", mb::ICONEXCLAMATION);
    return nullptr;
  }
  if (!open) {
    open = new HelpWindow(file, frame);
    open->setAttribute(Qt::WA_DeleteOnClose);
  }
  open->show();
  open->raise();
  open->showTopic(topic);
  return open;
}

}  // namespace quova
