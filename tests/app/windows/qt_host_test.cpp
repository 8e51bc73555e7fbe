// The desktop host's message boxes: the buttons, icon, default and escape button of each
// type flag, answered by a person (here a timer pressing keys and buttons), and the
// status bar.
#include "app/windows/qt_host.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QStatusBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <functional>

namespace quova {
namespace {

struct Seen {
  QString caption, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QStringList buttons;
  QString defaultButton;
};

// Shows the box and lets act answer it once it is up; what the box looked like goes to seen.
int answer(QtHost& host, unsigned flags, const std::function<void(QMessageBox&)>& act, Seen& seen) {
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    seen.caption = box->windowTitle();
    seen.text = box->text();
    seen.icon = box->icon();
    for (QAbstractButton* b : box->buttons()) seen.buttons << b->text();
    std::sort(seen.buttons.begin(), seen.buttons.end());
    if (box->defaultButton()) seen.defaultButton = box->defaultButton()->text();
    act(*box);
  });
  return host.messageBox("Overwrite quotes.csv?", "Downloading Options", flags);
}

void press(QMessageBox& box, int key) {
  QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier);
  QCoreApplication::sendEvent(&box, &e);
}

void click(QMessageBox& box, QMessageBox::StandardButton b) { box.button(b)->click(); }

TEST(QtHostBoxes, ButtonsDefaultsAndEscapeFollowTheTypeFlags) {
  QtHost host;
  Seen s;
  EXPECT_EQ(answer(host, mb::OK | mb::ICONSTOP, [](QMessageBox& b) { press(b, Qt::Key_Return); }, s), IDOK);
  EXPECT_EQ(s.caption, "Downloading Options");
  EXPECT_EQ(s.text, "Overwrite quotes.csv?");
  EXPECT_EQ(s.icon, QMessageBox::Critical);
  EXPECT_EQ(s.buttons.size(), 1);

  s = {};
  EXPECT_EQ(answer(host, mb::OKCANCEL | mb::DEFBUTTON2 | mb::ICONEXCLAMATION,
                   [](QMessageBox& b) { press(b, Qt::Key_Return); }, s),
            IDCANCEL);  // Enter takes the second button, the default
  EXPECT_EQ(s.icon, QMessageBox::Warning);
  EXPECT_EQ(s.buttons.size(), 2);

  s = {};
  EXPECT_EQ(answer(host, mb::OKCANCEL, [](QMessageBox& b) { press(b, Qt::Key_Return); }, s), IDOK);
  s = {};
  EXPECT_EQ(answer(host, mb::YESNOCANCEL | mb::ICONQUESTION, [](QMessageBox& b) { press(b, Qt::Key_Escape); }, s),
            IDCANCEL);
  EXPECT_EQ(s.icon, QMessageBox::Question);
  EXPECT_EQ(s.buttons.size(), 3);
  s = {};
  EXPECT_EQ(answer(host, mb::YESNOCANCEL, [](QMessageBox& b) { click(b, QMessageBox::No); }, s), IDNO);
  s = {};
  EXPECT_EQ(answer(host, mb::ABORTRETRYIGNORE | mb::DEFBUTTON2, [](QMessageBox& b) { press(b, Qt::Key_Return); }, s),
            IDRETRY);
  s = {};
  EXPECT_EQ(answer(host, mb::RETRYCANCEL | mb::ICONINFORMATION, [](QMessageBox& b) { click(b, QMessageBox::Retry); },
                   s),
            IDRETRY);
  EXPECT_EQ(s.icon, QMessageBox::Information);
  s = {};
  EXPECT_EQ(answer(host, mb::YESNO, [](QMessageBox& b) { click(b, QMessageBox::Yes); }, s), IDYES);
  // A box closed without a button answers with its default.
  s = {};
  EXPECT_EQ(answer(host, mb::YESNO | mb::DEFBUTTON2, [](QMessageBox& b) { b.done(0); }, s), IDNO);
  EXPECT_TRUE(host.interactive());
}

TEST(QtHostBoxes, StatusTextGoesToTheFramesBar) {
  QMainWindow frame;
  QtHost host;
  host.setStatusBar(frame.statusBar());
  host.statusText("Downloading watch.qtl");
  EXPECT_EQ(frame.statusBar()->currentMessage(), "Downloading watch.qtl");
  EXPECT_EQ(host.lastStatus(), "Downloading watch.qtl");
}

}  // namespace
}  // namespace quova
