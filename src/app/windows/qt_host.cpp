// Message boxes with the buttons, icon and default button of the Windows flags.
#include "app/windows/qt_host.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace quova {

namespace {

QMessageBox::StandardButton standardFor(int id) {
  switch (id) {
    case IDOK: return QMessageBox::Ok;
    case IDCANCEL: return QMessageBox::Cancel;
    case IDABORT: return QMessageBox::Abort;
    case IDRETRY: return QMessageBox::Retry;
    case IDIGNORE: return QMessageBox::Ignore;
    case IDYES: return QMessageBox::Yes;
    case IDNO: return QMessageBox::No;
    default: return QMessageBox::NoButton;
  }
}

QMessageBox::Icon iconFor(unsigned flags) {
  switch (flags & mb::ICONMASK) {
    case mb::ICONSTOP: return QMessageBox::Critical;
    case mb::ICONQUESTION: return QMessageBox::Question;
    case mb::ICONEXCLAMATION: return QMessageBox::Warning;
    case mb::ICONINFORMATION: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
  }
}

}  // namespace

int QtHost::messageBox(std::string_view text, std::string_view caption, unsigned flags) {
  QMessageBox box(iconFor(flags), QString::fromUtf8(caption.data(), caption.size()),
                  QString::fromUtf8(text.data(), text.size()), QMessageBox::NoButton,
                  QApplication::activeWindow());
  const std::vector<int> buttons = messageBoxButtons(flags);
  for (int id : buttons) box.addButton(standardFor(id));
  box.setDefaultButton(standardFor(defaultButton(flags)));
  // Escape answers Cancel where there is one, otherwise the only button.
  for (int id : buttons)
    if (id == IDCANCEL || buttons.size() == 1) box.setEscapeButton(box.button(standardFor(id)));
  box.exec();
  QAbstractButton* clicked = box.clickedButton();
  for (int id : buttons)
    if (clicked == box.button(standardFor(id))) return id;
  return defaultButton(flags);
}

void QtHost::statusText(std::string_view text) {
  HeadlessHost::statusText(text);
  if (bar_) bar_->showMessage(QString::fromUtf8(text.data(), text.size()));
}

void QtHost::beep() { QApplication::beep(); }

}  // namespace quova
