// The plain text editor window for download command files, QCFs and text files, with its
// own Edit and Search commands.
#pragma once

#include <QPlainTextEdit>
#include <string>

#include "app/windows/command_target.h"

namespace quova {

class TextEditorView : public QPlainTextEdit, public CommandTarget {
  Q_OBJECT

 public:
  explicit TextEditorView(const std::string& path, QWidget* parent = nullptr);
  const std::string& path() const { return path_; }
  bool save();
  bool handlesCommand(int id) const override;
  void runCommand(int id) override;
  // Asks to save changes; false when the user cancels.
  bool canClose();

  // Search: asks for the text (again: the last text), wrapping at the end.
  void find(bool again);

 protected:
  void contextMenuEvent(QContextMenuEvent* e) override;

 private:
  std::string path_;
  QString lastSearch_;
};

// The file kinds this window opens.
bool isTextDocument(const std::string& path);

}  // namespace quova
