// QVMAIN: the multiple-document main frame with its status bar. It loads and saves
// quova.cfg, restores the saved windows and carries out the start-up command once it is
// first shown, and closes the normal way (CanClose, then quova.win).
#pragma once

#include <QDialog>
#include <QMainWindow>
#include <QMdiSubWindow>
#include <QMdiArea>
#include <QPointer>
#include <QStatusBar>
#include <string>
#include <vector>

#include "app/window_files.h"
#include "base/windows/frame_services.h"

namespace quova {

class QVMAIN : public QMainWindow, public FrameServices {
  Q_OBJECT

 public:
  QVMAIN();
  ~QVMAIN() override;

  QMdiArea* client() const override { return client_; }
  // TMyApp::MainConwd: stores the command for the first paint.
  void MainConwd(int command) { StartupCommand = command; }
  bool configMissing() const { return !configLoaded_; }
  const FrameAttributes& attributes() const { return attr_; }
  // Takes the frame's current state and rectangle into the attributes quova.cfg keeps.
  void recordGeometry();
  // The document stack: path, title, path, title ... (QuovaPath prefix removed).
  std::vector<std::string>& documentStack() { return stack_; }

  // Opens a file in the window of the first template that matches it; false when none.
  // A title given here (a restored window's) is the window's title.
  bool openDocument(const std::string& path, const std::string& title = {}) override;
  // The rest of the frame services (main_frame_services.cpp).
  void refreshOpenLists(const std::string& qtlPath) override;
  void pageLinkDialog(PageLink& link) override;
  void forcedDownloadDialog(bool show) override;
  void closeMainWindow() override;
  void statusText(std::string_view text) override;
  // TMyApp::EvNewView: the view into an MDI child, titled, logged and on the document stack.
  QMdiSubWindow* EvNewView(QWidget* view, const std::string& path, const std::string& title = {});
  // The file named at start: its date into DailyFileDate, then opened with its full path as
  // the window title.
  void ServiceDroppedFile();
  // Add View: another window on the active window's document.
  bool AddView();
  // The application messages (Host::sendAppMessage) and clicks that show io again.
  void handleAppMessage(int offset);
  // F1 on an open menu, and clicks on the frame's own parts (they show io again).
  void watchInput();

  // Command routing: the active document window, then the frame and the application.
  bool routeHandles(int id) const;
  void runCommand(int id);
  void updateCommandEnabling();
  QAction* action(int id) const;

  void buildMenu();
  void buildControlBar();

  int StartupCommand = 0;

 protected:
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void dragEnterEvent(QDragEnterEvent* e) override;
  void dropEvent(QDropEvent* e) override;
  bool event(QEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void firstPaint();
  void frameCommand(int id);
  QWidget* activeView() const;
  void OpenSavedWindows();
  void SetupWindow();
  bool CanClose();

  QMdiArea* client_ = nullptr;
  FrameAttributes attr_;
  bool configLoaded_ = false;
  int initialised_ = 0;
  bool setUp_ = false;
  bool okToRun_ = false;
  std::vector<std::string> stack_;
  std::vector<QAction*> actions_;
  QMenu* editMenu_ = nullptr;
  QPointer<QDialog> forced_;
};

// TMyApp::InitMainWindow up to the shown frame, installed as the frame services; the
// caller owns the frame.
QVMAIN* InitMainWindow();

// SIGTERM and SIGINT close the main window the normal way.
void installCloseSignals(QWidget* frame);

}  // namespace quova
