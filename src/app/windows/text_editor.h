// The plain text editor window for download command files, QCFs and text files, with its
// own Edit and Search commands.
#pragma once

#include <QPlainTextEdit>
#include <string>
#include <vector>

#include "base/windows/command_target.h"

namespace quova {

class TextEditorView : public QPlainTextEdit, public CommandTarget {
  Q_OBJECT

 public:
  explicit TextEditorView(const std::string& path, QWidget* parent = nullptr);
  // Another window on the same text (Add View): edits show in both, and the text lives
  // until its last window closes.
  explicit TextEditorView(TextEditorView& original);
  ~TextEditorView() override;
  const std::string& path() const { return path_; }
  bool save();
  bool handlesCommand(int id) const override;
  void runCommand(int id) override;
  // Asks to save changes; false when the user cancels.
  bool canClose();
  // The other windows showing the same text.
  std::vector<TextEditorView*> otherViews() const;
  bool canAddView() const override { return true; }
  QWidget* newViewOfDocument() override { return new TextEditorView(*this); }
  std::string documentPath() const override { return path_; }

  // Search: asks for the text (again: the last text), wrapping at the end.
  void find(bool again);

 protected:
  void contextMenuEvent(QContextMenuEvent* e) override;
  // Closing the last window of a changed text asks whether to save it.
  void closeEvent(QCloseEvent* e) override;

 private:
  std::string path_;
  QString lastSearch_;
};

}  // namespace quova
