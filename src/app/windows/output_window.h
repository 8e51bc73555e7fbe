// The output window: an MDI child holding one read-only rich text pane that a download
// session writes its progress into. Its last normal position and size, relative to the
// MDI client, and whether it was minimised or maximised, persist in
// Config\OutputWindow.cfg; an owner window, when given, is closed with it.
#pragma once

#include <QMdiSubWindow>
#include <QPointer>
#include <QTextEdit>
#include <functional>
#include <string>

#include "app/window_files.h"

class QMdiArea;

namespace quova {

class OutputWindow : public QMdiSubWindow {
  Q_OBJECT

 public:
  // Reads the configuration file (defaults when it is missing) and places itself in the
  // client; show() then shows it normal, minimised or maximised as saved.
  OutputWindow(QMdiArea* client, QTextEdit* edit, QWidget* owner = nullptr,
               std::string configFile = std::string(kOutputWindowConfigFile));
  ~OutputWindow() override;

  QTextEdit* edit() const { return edit_; }
  // Adds the text at the end and scrolls it into view.
  void AppendText(const std::string& text);
  // AppendText of a printf-style text.
  void TuPrint(const char* format, ...) __attribute__((format(printf, 2, 3)));
  // Brings up the window in the state the configuration file gave.
  void showAsSaved();
  const OutputWindowConfig& config() const { return cfg_; }
  // Asked before the window closes (a download session refuses while it works).
  std::function<bool()> canClose;

 protected:
  void closeEvent(QCloseEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void moveEvent(QMoveEvent* e) override;
  void changeEvent(QEvent* e) override;

 private:
  void recordPlacement();

  QMdiArea* client_;
  QTextEdit* edit_;
  QPointer<QWidget> owner_;
  std::string configFile_;
  OutputWindowConfig cfg_;
};

// A saved rectangle brought onto the area: non-positive sizes take the defaults, a size
// larger than the area is cut to it, and the window is moved so that it lies inside.
OutputWindowConfig clampedPlacement(OutputWindowConfig c, int areaWidth, int areaHeight);

// TMyApp::NewOutputWindow: creates and shows an output window titled "Downloads In-Process"
// in the client, stores it in *where (when given) and returns its text pane.
QTextEdit* NewOutputWindow(QMdiArea* client, OutputWindow** where = nullptr, QWidget* owner = nullptr);

// An output window under a title of the caller's, with a function that appends to it;
// text for a window the user has closed is dropped. configFile keeps its placement.
struct OutputSink {
  QPointer<OutputWindow> window;
  std::function<void(const std::string&)> append;
};
OutputSink openOutputWindow(QMdiArea* client, const std::string& title, QWidget* owner = nullptr,
                            const std::string& configFile = std::string(kOutputWindowConfigFile));

}  // namespace quova
