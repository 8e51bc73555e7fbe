// The document manager's side of the main frame: opening a file through its template, the
// new view with its title and document stack entry, files dropped on the frame, the file
// named at start, and Add View.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <cstdlib>

#include "app/app_state.h"
#include "app/doc_stack.h"
#include "app/windows/app_icon.h"
#include "app/windows/doc_templates.h"
#include "app/windows/main_frame.h"
#include "base/log.h"
#include "base/run_flags.h"
#include "base/windows/command_target.h"
#include "download/daily_run.h"
#include "download/download_state.h"
#include "util/dates.h"

namespace quova {

namespace {
bool containsDay(const std::string& path) {
  for (std::size_t i = 0; i + 4 <= path.size(); ++i)
    if (path[i] == '.' && (path[i + 1] | 0x20) == 'd' && (path[i + 2] | 0x20) == 'a' && (path[i + 3] | 0x20) == 'y')
      return true;
  return false;
}
}  // namespace

bool QVMAIN::openDocument(const std::string& path, const std::string& title) {
  const DocTemplate* t = MatchTemplate(path);
  if (!t) return false;
  QWidget* view = t->createView(path);
  if (!view) return false;
  EvNewView(view, path, title);
  return true;
}

QMdiSubWindow* QVMAIN::EvNewView(QWidget* view, const std::string& path, const std::string& title) {
  AppState& a = app();
  // Where and how the view asked to be shown.
  const bool placed = view->testAttribute(Qt::WA_Moved) || view->testAttribute(Qt::WA_Resized);
  const QRect asked = view->geometry();
  const Qt::WindowStates state = view->windowState();

  QMdiSubWindow* sub = client_->addSubWindow(view);
  sub->setAttribute(Qt::WA_DeleteOnClose);
  sub->setWindowIcon(quovaIcon());
  downloadState().ForceDailyUpdate = false;
  Log("\nCreating View for -- %s", path.c_str());

  std::string shown = title.empty() ? path : title;
  if (containsDay(path) && !a.DocumentTitle.empty()) shown = a.DocumentTitle;
  a.DocumentTitle.clear();  // set for one window only
  if (a.docTitleFlag) {
    shown = a.WindowTitle;
    a.docTitleFlag = false;
  }
  sub->setWindowTitle(QString::fromStdString(shown));
  PushDocStack(stack_, path, shown, runFlags().QuovaPath);
  connect(sub, &QObject::destroyed, this, [this, path] {
    PopDocStack(stack_, path, runFlags().QuovaPath);
    updateCommandEnabling();
  });

  if (placed) sub->setGeometry(asked);
  if (state & Qt::WindowMaximized) sub->showMaximized();
  else if (state & Qt::WindowMinimized) sub->showMinimized();
  else sub->show();
  updateCommandEnabling();
  return sub;
}

void QVMAIN::ServiceDroppedFile() {
  AppState& a = app();
  // The file's date, kept for the daily backdate ("mm/dd/yy", the day may be blank-padded).
  char date[80] = {};
  get_file_date(a.argFileName.c_str(), date);
  const std::string d = date;
  a.DailyFileDate.month = std::atoi(d.substr(0, 2).c_str());
  a.DailyFileDate.day = d.size() >= 5 ? std::atoi(d.substr(3, 2).c_str()) : 0;
  a.DailyFileDate.year = d.size() >= 8 ? std::atoi(d.substr(6, 2).c_str()) : 0;
  if (!MatchTemplate(a.argFileName)) return;
  a.WindowTitle = a.argFileName;
  a.docTitleFlag = true;
  downloadState().ForceDailyUpdate = false;
  if (!openDocument(a.argFileName)) a.docTitleFlag = false;
}

bool QVMAIN::AddView() {
  QMdiSubWindow* active = client_->activeSubWindow();
  auto* t = active ? dynamic_cast<CommandTarget*>(active->widget()) : nullptr;
  if (!t || !t->canAddView()) return false;
  QWidget* view = t->newViewOfDocument();
  if (!view) return false;
  EvNewView(view, t->documentPath(), active->windowTitle().toStdString());
  return true;
}

void QVMAIN::dragEnterEvent(QDragEnterEvent* e) {
  if (e->mimeData()->hasUrls()) e->acceptProposedAction();
}

void QVMAIN::dropEvent(QDropEvent* e) {
  // Each file in order, through the template that matches it.
  for (const QUrl& url : e->mimeData()->urls())
    if (url.isLocalFile()) openDocument(url.toLocalFile().toStdString());
  e->acceptProposedAction();
}

}  // namespace quova
