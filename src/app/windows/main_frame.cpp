// The main frame's life cycle: construction with quova.cfg, the first paint, the close.
#include "app/windows/main_frame.h"

#include <fcntl.h>
#include <unistd.h>

#include <QCloseEvent>
#include <QTextDocument>
#include <algorithm>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>
#include <QMdiSubWindow>
#include <QGuiApplication>
#include <QScreen>
#include <QSocketNotifier>
#include <QTimer>
#include <csignal>
#include <cstdio>

#include "app/app_state.h"
#include "app/startup.h"
#include "app/windows/app_icon.h"
#include "app/windows/text_editor.h"
#include "base/host.h"
#include "base/log.h"
#include "base/run_flags.h"
#include "base/windows/command_target.h"
#include "chart/windows/chart_view.h"
#include "download/daily_run.h"
#include "download/windows/download_frame.h"
#include "quotes/windows/quote_list_view.h"
#include "util/paths.h"

#ifndef QUOVA_FILE_VERSION
#define QUOVA_FILE_VERSION ""
#endif

namespace quova {

namespace {

// A saved rectangle that lies off the screen, or has no size, is brought back onto it.
QRect onScreen(const FrameAttributes& a) {
  QRect r(a.X, a.Y, a.W, a.H);
  const QScreen* s = QGuiApplication::primaryScreen();
  if (!s) return r;
  const QRect avail = s->availableGeometry();
  if (r.width() <= 0 || r.height() <= 0) r.setSize(QSize(FrameAttributes{}.W, FrameAttributes{}.H));
  r.setWidth(std::min(r.width(), avail.width()));
  r.setHeight(std::min(r.height(), avail.height()));
  if (!avail.intersects(r)) r.moveTopLeft(avail.topLeft());
  return r;
}

// The "/wait" countdown: a modeless dialog whose Cancel Delay ends the wait early.
void runDelayCountdown(QWidget* parent) {
  AppState& a = app();
  QPointer<QDialog> dlg = new QDialog(parent);
  dlg->setAttribute(Qt::WA_DeleteOnClose);
  dlg->setWindowTitle("QUOVA Download Delayed Mode");
  auto* lay = new QVBoxLayout(dlg);
  lay->addWidget(new QLabel("Please Wait......"));
  auto* why = new QLabel(
      "QUOVA Downloading will start after a delay to allow your Dial Up Networking time to log into your ISP.");
  why->setWordWrap(true);
  lay->addWidget(why);
  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel("Downloading will begin in "));
  auto* count = new QLabel(QString::number(a.waittime));
  count->setObjectName("control104");
  row->addWidget(count);
  row->addWidget(new QLabel("Seconds."));
  lay->addLayout(row);
  lay->addWidget(new QLabel("(Dial Up Networking or equivalent must be started externally to QUOVA.)"));
  lay->addWidget(new QLabel("(This delay is settable with the /wait xx parameter in your QUOVA Daily Download Icon Properties.)"));
  auto* cancel = new QPushButton("Cancel Delay");
  QObject::connect(cancel, &QPushButton::clicked, dlg, &QDialog::close);
  lay->addWidget(cancel);
  dlg->show();
  while (a.waittime >= 1 && !runFlags().Quit) {
    WinWaitFor(1000, false);
    --a.waittime;
    if (!dlg) break;  // Cancel Delay
    count->setText(QString::number(a.waittime));
  }
  if (dlg) dlg->close();
}

}  // namespace

QVMAIN::QVMAIN() {
  Log("\nQVMAIN Constructor Entered.");
  setWindowTitle("The Tradivo for Windows (QUOVA)");
  client_ = new QMdiArea(this);
  setCentralWidget(client_);
  setAcceptDrops(true);
  connect(client_, &QMdiArea::subWindowActivated, this, [this] { updateCommandEnabling(); });
  configLoaded_ = GetFrameConfig(attr_);
  setGeometry(onScreen(attr_));
  Log("\nQVMAIN Constructor Exited.");
}

QVMAIN::~QVMAIN() {
  Log("\nQVMAIN Destructor Entered.");
  if (frameServices() == this) setFrameServices(nullptr);
  // The windows go with the frame; the stack was written at close.
  for (QMdiSubWindow* sub : client_->subWindowList()) disconnect(sub, nullptr, this, nullptr);
  disconnect(client_, nullptr, this, nullptr);
  delete client_;
  client_ = nullptr;
  SaveFrameConfig(attr_);
}

void QVMAIN::SetupWindow() {
  Log("\nQVMAIN SetupWindow Entered.");
  setWindowIcon(quovaIcon());
}

void QVMAIN::showEvent(QShowEvent* e) {
  QMainWindow::showEvent(e);
  if (initialised_ == 0 && !setUp_) {
    setUp_ = true;
    SetupWindow();
    QTimer::singleShot(0, this, [this] { firstPaint(); });
  }
}

void QVMAIN::firstPaint() {
  if (initialised_ == 0) {
    Log("\nPaint Initialization section entered...");
    initialised_ = 1;
    okToRun_ = true;
    Log("\nOK to run...");
    OpenSavedWindows();
  }
  AppState& a = app();
  switch (StartupCommand) {
    case SERVICE_DROPPED_FILE:
      StartupCommand = kStartupCommandDone;
      if (fileExists(a.argFileName)) ServiceDroppedFile();
      break;
    case PERFORM_DAILY_DOWNLOAD:
      StartupCommand = kStartupCommandDone;
      Log("\nDownload Delay of %d sec initiated.", static_cast<int>(a.waittime));
      if (a.waittime > 0) runDelayCountdown(this);
      setFocus();
      dailyRun().DownLoad();
      if (runFlags().Quit) close();
      break;
    case FORCE_DAILY_DOWNLOAD:
      StartupCommand = kStartupCommandDone;
      dailyRun().DownLoad();
      break;
    default:
      break;
  }
}

void QVMAIN::OpenSavedWindows() {
  Log("\nRestoring previously opened windows...");
  for (const SavedWindow& w : ReadSavedWindows(runFlags().WinsIniFilePath)) {
    openDocument(w.path, w.title);
  }
  Log("\nRestore complete.");
}

bool QVMAIN::CanClose() {
  AppState& a = app();
  Log("\nQUOVA Closing...");
  runFlags().Quit = true;
  if (runFlags().HoldClose) return false;
  if (!downloadsCanClose()) return false;  // the download's end closes the program
  std::vector<QTextDocument*> asked;  // a text in several windows is asked about once
  for (QMdiSubWindow* sub : client_->subWindowList()) {
    auto* ed = qobject_cast<TextEditorView*>(sub->widget());
    if (!ed) {
      auto* doc = dynamic_cast<CommandTarget*>(sub->widget());
      if (doc && !doc->canCloseDocument()) {
        runFlags().Quit = false;
        return false;
      }
      continue;
    }
    if (std::find(asked.begin(), asked.end(), ed->document()) != asked.end()) continue;
    asked.push_back(ed->document());
    if (!ed->canClose()) {
      runFlags().Quit = false;  // the user refused: the program goes on as before
      return false;
    }
  }
  recordGeometry();
  WriteSavedWindows(runFlags().WinsIniFilePath, stack_);
  return !a.Waiting;
}

void QVMAIN::recordGeometry() {
  attr_.setMaximised(isMaximized());
  if (!isMaximized() && !isMinimized()) {
    const QRect g = geometry();
    attr_.X = g.x(), attr_.Y = g.y(), attr_.W = g.width(), attr_.H = g.height();
  }
}

void QVMAIN::closeEvent(QCloseEvent* e) {
  if (CanClose()) e->accept();
  else e->ignore();
}

QVMAIN* InitMainWindow() {
  AppState& a = app();
  Log("\nInitMainWindow() entered.");
  auto* frame = new QVMAIN();
  Log("\nQVMAIN Constructor complete.");
  Log("\nCtl3d Enabled.");
  Log("\nBWCC Enabled.");
  frame->setStatusBar(new QStatusBar(frame));
  frame->buildControlBar();
  frame->buildMenu();
  frame->watchInput();
  frame->updateCommandEnabling();
  setFrameServices(frame);
  connectDownloads(frame);
  connectQuoteListWindows();
  connectCharts();
  switch (a.argFlag) {
    case 1:
      frame->MainConwd(PERFORM_DAILY_DOWNLOAD);
      Log("\nMainConwd PERFORM_DAILY_DOWNLOAD");
      break;
    case 2:
      frame->MainConwd(FORCE_DAILY_DOWNLOAD);
      Log("\nMainConwd FORCE_DAILY_DOWNLOAD");
      break;
    case 9:
      frame->MainConwd(SERVICE_DROPPED_FILE);
      Log("\nMainConwd SERVICE_DROPPED_FILE");
      break;
    default:
      break;
  }
  a.FileVersion = std::string(QUOVA_FILE_VERSION).substr(0, 20);
  Log(a.FileVersion.empty() ? "\nGetInfoString Failed." : "\nGetInfoString Successful.");
  a.Version = "version " + a.FileVersion + " Release";
  std::string digits = a.FileVersion.substr(0, 3);
  std::erase(digits, '.');
  a.version = 0;
  std::sscanf(digits.c_str(), "%d", &a.version);
  a.revision_level = a.FileVersion.size() > 3 ? a.FileVersion[3] : 0;
  Log("\nInitMainWindow() completed.");
  return frame;
}

namespace {
int signalPipe[2] = {-1, -1};
void onSignal(int) {
  char c = 1;
  [[maybe_unused]] auto n = ::write(signalPipe[1], &c, 1);
}
}  // namespace

void installCloseSignals(QWidget* frame) {
  if (signalPipe[0] < 0 && ::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, frame);
  QObject::connect(notifier, &QSocketNotifier::activated, frame, [frame] {
    char buf[16];
    while (::read(signalPipe[0], buf, sizeof buf) > 0) {
    }
    frame->close();
  });
  struct sigaction sa = {};
  sa.sa_handler = onSignal;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &sa, nullptr);
  sigaction(SIGINT, &sa, nullptr);
}

}  // namespace quova
