// The help: the file "Help\HELP.HLP" of the root (an HTML page) in a help window, opened at
// its index or at the section on using help. A missing help file is reported in a box.
#pragma once

#include <QDialog>
#include <string>

class QTextBrowser;

namespace quova {

enum class HelpTopic { Index, UsingHelp };

inline constexpr const char* kHelpFile = "Help\\HELP.HLP";

class HelpWindow : public QDialog {
  Q_OBJECT

 public:
  HelpWindow(const std::string& file, QWidget* parent = nullptr);
  void showTopic(HelpTopic topic);
  QTextBrowser* browser() const { return browser_; }

 private:
  QTextBrowser* browser_;
};

// Help/Index and Help/Using help: the help window (one at a time), or nullptr after the
// message that the help file is missing.
HelpWindow* ShowHelp(QWidget* frame, HelpTopic topic);

}  // namespace quova
