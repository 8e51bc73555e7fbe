// Loading, editing, searching and saving a text file.
#include "app/windows/text_editor.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFile>
#include <QInputDialog>
#include <QMenu>
#include <QAbstractTextDocumentLayout>
#include <QMessageBox>
#include <memory>

#include "base/command_ids.h"
#include "base/host.h"
#include "base/log.h"
#include "util/paths.h"

namespace quova {

namespace {
std::vector<TextEditorView*>& liveViews() {
  static std::vector<TextEditorView*> views;
  return views;
}

void setEditorLook(QPlainTextEdit* e) {
  e->setLineWrapMode(QPlainTextEdit::NoWrap);
  QFont mono("Monospace");
  mono.setStyleHint(QFont::TypeWriter);
  e->setFont(mono);
}
}  // namespace

TextEditorView::TextEditorView(TextEditorView& original) : QPlainTextEdit(nullptr), path_(original.path_) {
  liveViews().push_back(this);
  setDocument(original.document());
  setWindowTitle(original.windowTitle());
  setEditorLook(this);
}

TextEditorView::~TextEditorView() {
  std::erase(liveViews(), this);
  // The text belongs to the window that loaded it, and its layout draws for one window:
  // another window on it takes both over.
  QTextDocument* doc = document();
  const std::vector<TextEditorView*> others = otherViews();
  if (others.empty()) return;
  if (doc->documentLayout()->paintDevice() == viewport()) doc->documentLayout()->setPaintDevice(others.front()->viewport());
  for (QObject* o = doc->parent(); o; o = o->parent()) {
    if (o != this) continue;
    doc->setParent(others.front());
    break;
  }
}

std::vector<TextEditorView*> TextEditorView::otherViews() const {
  std::vector<TextEditorView*> out;
  for (TextEditorView* v : liveViews())
    if (v != this && v->document() == document()) out.push_back(v);
  return out;
}

void TextEditorView::closeEvent(QCloseEvent* e) {
  if (!otherViews().empty() || canClose()) e->accept();
  else e->ignore();
}

TextEditorView::TextEditorView(const std::string& path, QWidget* parent) : QPlainTextEdit(parent), path_(path) {
  liveViews().push_back(this);
  QFile f(QString::fromStdString(nativePath(path)));
  if (f.open(QIODevice::ReadOnly)) {
    QByteArray bytes = f.readAll();
    bytes.replace("\r\n", "\n");
    if (bytes.endsWith('\x1a')) bytes.chop(1);
    setPlainText(QString::fromLocal8Bit(bytes));
  }
  document()->setModified(false);
  setWindowTitle(QString::fromStdString(path));
  setEditorLook(this);
}

bool TextEditorView::save() {
  if (!replaceFileContent(nativePath(path_), toPlainText().toLocal8Bit().toStdString())) {
    LogBox("Cannot write " + path_, "QUOVA Text Edit ERROR", mb::ICONEXCLAMATION);
    return false;
  }
  document()->setModified(false);
  return true;
}

bool TextEditorView::handlesCommand(int id) const {
  return id == cm::FILESAVE || id == cm::FILESAVEAS || id == cm::FILEREVERT || id == cm::FILECLOSE;
}

void TextEditorView::runCommand(int id) {
  if (id == cm::FILESAVE || id == cm::FILESAVEAS) save();
  else if (id == cm::FILEREVERT) {
    TextEditorView fresh(path_);
    setPlainText(fresh.toPlainText());
    document()->setModified(false);
  } else if (id == cm::FILECLOSE && parentWidget()) parentWidget()->close();
}

bool TextEditorView::canClose() {
  if (!document()->isModified()) return true;
  int answer = MessageBox("The text of " + path_ + " has changed.\n\nSave the changes?", "QUOVA Text Edit",
                          mb::YESNOCANCEL | mb::ICONQUESTION);
  if (answer == IDCANCEL) return false;
  return answer == IDNO || save();
}

void TextEditorView::find(bool again) {
  if (!again || lastSearch_.isEmpty()) {
    bool ok = false;
    QString text = QInputDialog::getText(this, "Find", "Find what:", QLineEdit::Normal, lastSearch_, &ok);
    if (!ok || text.isEmpty()) return;
    lastSearch_ = text;
  }
  if (!QPlainTextEdit::find(lastSearch_)) {
    moveCursor(QTextCursor::Start);
    if (!QPlainTextEdit::find(lastSearch_)) QApplication::beep();
  }
}

void TextEditorView::contextMenuEvent(QContextMenuEvent* e) {
  std::unique_ptr<QMenu> menu(createStandardContextMenu());
  menu->addSeparator();
  menu->addAction("&Find...", this, [this] { find(false); });
  menu->addAction("Find &Next", this, [this] { find(true); });
  menu->exec(e->globalPos());
}

}  // namespace quova
