// The output window's pane, placement, persistence and the ways others open one.
#include "app/windows/output_window.h"

#include <QCloseEvent>

#include <QEvent>
#include <QGuiApplication>
#include <QMdiArea>
#include <QScreen>
#include <QScrollBar>
#include <QTextCursor>
#include <algorithm>
#include <cstdarg>

#include "app/windows/app_icon.h"
#include "base/log.h"
#include "base/placement.h"

namespace quova {

OutputWindowConfig clampedPlacement(OutputWindowConfig c, int areaWidth, int areaHeight) {
  const OutputWindowConfig d;
  const Placement p = clampedToArea({c.X, c.Y, c.W, c.H}, d.W, d.H, areaWidth, areaHeight);
  c.X = p.x, c.Y = p.y, c.W = p.w, c.H = p.h;
  return c;
}

namespace {

// The area a window is placed in: the client's viewport once it has a size, else the screen.
QSize placementArea(QMdiArea* client) {
  if (client && client->viewport()->isVisible() && !client->viewport()->size().isEmpty())
    return client->viewport()->size();
  if (const QScreen* s = QGuiApplication::primaryScreen()) return s->availableGeometry().size();
  return {};
}

}  // namespace

OutputWindow::OutputWindow(QMdiArea* client, QTextEdit* edit, QWidget* owner, std::string configFile)
    : QMdiSubWindow(nullptr), client_(client), edit_(edit), owner_(owner), configFile_(std::move(configFile)) {
  LoadOutputWindowConfig(configFile_, cfg_);
  const QSize area = placementArea(client);
  cfg_ = clampedPlacement(cfg_, area.width(), area.height());
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowIcon(quovaIcon());
  edit_->setObjectName("control256");
  edit_->setReadOnly(true);
  edit_->setAcceptRichText(true);
  setWidget(edit_);
  if (client_) client_->addSubWindow(this);
  setGeometry(cfg_.X, cfg_.Y, cfg_.W, cfg_.H);
}

void OutputWindow::closeEvent(QCloseEvent* e) {
  if (canClose && !canClose()) {
    e->ignore();
    return;
  }
  QMdiSubWindow::closeEvent(e);
}

OutputWindow::~OutputWindow() {
  recordPlacement();
  SaveOutputWindowConfig(configFile_, cfg_);
  if (owner_) owner_->close();
}

void OutputWindow::showAsSaved() {
  const bool iconic = cfg_.iconic, maximised = cfg_.maximised;
  if (maximised) showMaximized();
  else if (iconic) showMinimized();
  else show();
  // Showing records the placement; the flags stay as saved until the user changes them.
  cfg_.iconic = iconic, cfg_.maximised = maximised;
}

void OutputWindow::recordPlacement() {
  const bool iconic = isMinimized(), maximised = isMaximized();
  if (!iconic && !maximised && isVisible()) {
    const QRect g = geometry();  // in the client's viewport coordinates
    cfg_.X = g.x(), cfg_.Y = g.y(), cfg_.W = g.width(), cfg_.H = g.height();
  }
  if (isVisible()) cfg_.iconic = iconic, cfg_.maximised = maximised;
}

void OutputWindow::resizeEvent(QResizeEvent* e) {
  QMdiSubWindow::resizeEvent(e);
  recordPlacement();
}

void OutputWindow::moveEvent(QMoveEvent* e) {
  QMdiSubWindow::moveEvent(e);
  recordPlacement();
}

void OutputWindow::changeEvent(QEvent* e) {
  QMdiSubWindow::changeEvent(e);
  if (e->type() == QEvent::WindowStateChange) recordPlacement();
}

void OutputWindow::AppendText(const std::string& text) {
  QTextCursor c(edit_->document());
  c.movePosition(QTextCursor::End);
  c.insertText(QString::fromStdString(text));
  edit_->verticalScrollBar()->setValue(edit_->verticalScrollBar()->maximum());
}

void OutputWindow::TuPrint(const char* format, ...) {
  char buf[kLogEntryMax];
  va_list ap;
  va_start(ap, format);
  std::vsnprintf(buf, sizeof buf, format, ap);
  va_end(ap);
  AppendText(buf);
}

QTextEdit* NewOutputWindow(QMdiArea* client, OutputWindow** where, QWidget* owner) {
  auto* edit = new QTextEdit;
  edit->resize(100, 400);
  auto* w = new OutputWindow(client, edit, owner);
  w->setWindowTitle("Downloads In-Process");
  w->showAsSaved();
  if (where) *where = w;
  return edit;
}

OutputSink openOutputWindow(QMdiArea* client, const std::string& title, QWidget* owner,
                            const std::string& configFile) {
  auto* edit = new QTextEdit;
  auto* w = new OutputWindow(client, edit, owner, configFile);
  w->setWindowTitle(QString::fromStdString(title));
  w->showAsSaved();
  OutputSink sink;
  sink.window = w;
  QPointer<OutputWindow> guard(w);
  sink.append = [guard](const std::string& text) {
    if (guard) guard->AppendText(text);
  };
  return sink;
}

}  // namespace quova
