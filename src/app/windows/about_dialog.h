// The About dialog (resource 211, "About QUOVA") of the Options menu and the control bar,
// and the About message of the Help menu.
#pragma once

#include <QDialog>

namespace quova {

class AboutDialog : public QDialog {
  Q_OBJECT

 public:
  explicit AboutDialog(QWidget* parent = nullptr);
};

// TMyApp::CmAbout: the dialog, modeless over the frame; one at a time.
AboutDialog* CmAbout(QWidget* frame);
// QVMAIN::CmHelpAbout: the message box with the program's name, version and credits.
void CmHelpAbout();

}  // namespace quova
