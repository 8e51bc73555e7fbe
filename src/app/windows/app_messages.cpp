// The application messages the main frame receives (status text, open a chart, the next
// daily download line, the repair tool, a retry), F1 on an open menu, and clicks on the
// frame that show the shared message io again.
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QToolBar>

#include "app/events/headless_host.h"
#include "app/windows/main_frame.h"
#include "base/host.h"
#include "base/run_flags.h"
#include "download/daily_run.h"
#include "settings/external_programs.h"

namespace quova {

void QVMAIN::handleAppMessage(int offset) {
  RunFlags& a = runFlags();
  switch (offset) {
    case appmsg::GetMsg: statusBar()->showMessage(QString::fromStdString(a.io)); break;
    case appmsg::PlotQuote: openDocument(a.QuoteFile); break;
    case appmsg::DownLoadExec: dailyRun().DownLoadExec(); break;
    case appmsg::MendoraExec: MendoraCP(); break;
    case appmsg::DownLoadRecover: dailyRun().DownLoadRecover(); break;
    default: break;
  }
}

bool QVMAIN::event(QEvent* e) {
  if (e->type() == AppMessageEvent::eventType()) {
    handleAppMessage(static_cast<AppMessageEvent*>(e)->offset());
    return true;
  }
  return QMainWindow::event(e);
}

void QVMAIN::watchInput() {
  for (QMenu* m : menuBar()->findChildren<QMenu*>()) m->installEventFilter(this);
  client_->viewport()->installEventFilter(this);
  statusBar()->installEventFilter(this);
  for (QToolBar* bar : findChildren<QToolBar*>()) bar->installEventFilter(this);
}

bool QVMAIN::eventFilter(QObject* watched, QEvent* e) {
  if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->key() == Qt::Key_F1) {
    // F1 on an open menu chooses the highlighted item, as Enter does.
    auto* menu = qobject_cast<QMenu*>(watched);
    if (menu && menu->activeAction()) {
      QCoreApplication::postEvent(menu, new QKeyEvent(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier));
      return true;
    }
  }
  if (e->type() == QEvent::MouseButtonPress && !qobject_cast<QMenu*>(watched)) {
    const Qt::MouseButton b = static_cast<QMouseEvent*>(e)->button();
    if (b == Qt::LeftButton || b == Qt::RightButton) handleAppMessage(appmsg::GetMsg);
  }
  return QMainWindow::eventFilter(watched, e);
}

}  // namespace quova
