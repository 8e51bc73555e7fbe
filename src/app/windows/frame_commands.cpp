// The main frame's menu, control bar, command routing, document opening and the commands
// the frame and the application handle themselves.
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QToolBar>

#include "app/commands.h"
#include "app/doc_stack.h"
#include "app/setup_checks.h"
#include "app/windows/about_dialog.h"
#include "app/windows/doc_templates.h"
#include "app/windows/gadget_icons.h"
#include "app/windows/global_setup.h"
#include "app/windows/help_window.h"
#include "app/windows/main_frame.h"
#include "app/windows/pathnames_dialog.h"
#include "app/windows/text_editor.h"
#include "base/command_ids.h"
#include "base/host.h"
#include "base/log.h"
#include "base/run_flags.h"
#include "base/windows/command_target.h"
#include "download/daily_run.h"
#include "download/events/download_session.h"
#include "download/windows/download_frame.h"
#include "settings/external_programs.h"
#include "settings/settings.h"
#include "util/dates.h"
#include "util/paths.h"

namespace quova {

namespace {
const std::pair<int, const char*> kListEditItems[] = {
    {cm::EDITUNDO, "&Undo\tCtrl+Z"},  {0, nullptr},          {cm::EDITCUT, "&Cut\tCtrl+X"},
    {cm::EDITCOPY, "C&opy\tCtrl+C"},  {cm::EDITPASTE, "&Paste\tCtrl+V"}, {cm::EDITDELETE, "&Delete\tDel"},
    {cm::EDITCLEAR, "C&lear All\tCtrl+Del"}, {0, nullptr},  {cm::EDITADD, "&Add Quote Request\tIns"},
    {cm::EDITITEM, "&Edit Quote Request"}};
// The status bar line of a menu item: its control-bar hint, else the item's own words.
QString menuHint(int id, QString text) {
  const std::string_view hint = commandHint(id);
  if (!hint.empty()) return QString::fromUtf8(hint.data(), static_cast<int>(hint.size()));
  return text.section('\t', 0, 0).remove('&').simplified();
}
}  // namespace

QAction* QVMAIN::action(int id) const {
  for (QAction* a : actions_)
    if (a->data().toInt() == id) return a;
  return nullptr;
}

void QVMAIN::buildMenu() {
  for (const Menu& m : commandsMenu()) {
    QMenu* menu = menuBar()->addMenu(QString::fromUtf8(m.title.data(), m.title.size()));
    if (m.title == "&Edit") editMenu_ = menu;
    for (const MenuItem& it : m.items) {
      if (it.id == 0) {
        menu->addSeparator();
        continue;
      }
      QAction* a = menu->addAction(QString::fromUtf8(it.text.data(), it.text.size()));
      a->setData(it.id);
      a->setStatusTip(menuHint(it.id, a->text()));
      if (it.id == cm::HELPINDEX) a->setShortcuts({QKeySequence(Qt::Key_F1), QKeySequence(Qt::SHIFT | Qt::Key_F1)});
      if (it.id == cm::FILEOPEN) a->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
      if (it.id == cm::FILESAVE) a->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
      if (it.id == cm::PRINT) a->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
      const int id = it.id;
      connect(a, &QAction::triggered, this, [this, id] { runCommand(id); });
      actions_.push_back(a);
    }
    connect(menu, &QMenu::aboutToShow, this, [this] { updateCommandEnabling(); });
  }
  // The Edit pop-up: the active text window's own editing and search commands.
  connect(editMenu_, &QMenu::aboutToShow, this, [this] {
    // clear() deletes the pop-up's actions: none of them may stay on the enabling list.
    const QList<QAction*> old = editMenu_->actions();
    std::erase_if(actions_, [&](QAction* a) { return old.contains(a); });
    editMenu_->clear();
    auto* ed = qobject_cast<TextEditorView*>(activeView());
    if (!ed && routeHandles(cm::LINECLEARALL)) {
      // A chart or its line list: the drawn lines' commands, each enabled as the view says.
      const std::pair<int, const char*> items[] = {
          {cm::LINEUNDO, "&Undo"}, {cm::LINECLEARALL, "&Clear All"}, {cm::LINEDELETE, "&Delete Line"}};
      for (const auto& [id, text] : items) {
        QAction* a = editMenu_->addAction(text);
        a->setData(id);
        a->setEnabled(routeHandles(id));
        connect(a, &QAction::triggered, this, [this, id = id] { runCommand(id); });
      }
      return;
    }
    if (!ed && routeHandles(cm::EDITDELETE)) {
      // The quote list window's own editing commands; their keys are bound in the window.
      for (const auto& [id, text] : kListEditItems) {
        if (id == 0) {
          editMenu_->addSeparator();
          continue;
        }
        QAction* a = editMenu_->addAction(text);
        a->setData(id);
        connect(a, &QAction::triggered, this, [this, id] { runCommand(id); });
      }
      return;
    }
    if (!ed) {
      QAction* a = editMenu_->addAction("Edit");
      a->setData(cm::EDIT_PLACEHOLDER);
      a->setStatusTip("No document to edit");
      a->setEnabled(false);
      return;
    }
    editMenu_->addAction("&Undo", QKeySequence::Undo, ed, &QPlainTextEdit::undo);
    editMenu_->addSeparator();
    editMenu_->addAction("Cu&t", QKeySequence::Cut, ed, &QPlainTextEdit::cut);
    editMenu_->addAction("&Copy", QKeySequence::Copy, ed, &QPlainTextEdit::copy);
    editMenu_->addAction("&Paste", QKeySequence::Paste, ed, &QPlainTextEdit::paste);
    editMenu_->addAction("Select &All", QKeySequence::SelectAll, ed, &QPlainTextEdit::selectAll);
    editMenu_->addSeparator();
    editMenu_->addAction("&Find...", QKeySequence::Find, ed, [ed] { ed->find(false); });
    editMenu_->addAction("Find &Next", QKeySequence::FindNext, ed, [ed] { ed->find(true); });
  });
}

void QVMAIN::buildControlBar() {
  auto* bar = addToolBar("Control Bar");
  bar->setObjectName("ControlBar");
  bar->setMovable(false);
  bar->setIconSize(QSize(20, 20));
  QFont f = bar->font();
  f.setPointSize(10);
  bar->setFont(f);
  for (const Gadget& g : controlBarGadgets()) {
    switch (g.kind) {
      case Gadget::Separator:
        bar->addSeparator();
        Log("\nTSeparatorGadget Constructor complete.");
        break;
      case Gadget::LargeSeparator: {
        auto* space = new QWidget(bar);
        space->setFixedWidth(10);
        bar->addWidget(space);
        Log("\nLarge TSeparatorGadget Constructor complete.");
        break;
      }
      case Gadget::DateText: {
        char date[80] = {}, day[80] = {};
        dayofweek(date, day, settings().DisplayDateFormat);
        Log("\ndate -- %s.", date);
        Log("\nday  -- %s.", day);
        std::string dayDate = std::string(day) + "  " + date;
        Log("\nday_date  -- %s.", dayDate.c_str());
        auto* label = new QLabel(QString::fromStdString(dayDate), bar);
        label->setObjectName("DateGadget");
        label->setAlignment(Qt::AlignCenter);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(label->text()) + 24);
        bar->addWidget(label);
        Log("\nDate Gadget Inserted.");
        break;
      }
      case Gadget::Button: {
        QAction* a = bar->addAction(gadgetIcon(g.id), QString::fromUtf8(g.hint.data(), g.hint.size()));
        a->setData(g.id);
        a->setStatusTip(QString::fromUtf8(g.hint.data(), g.hint.size()));
        a->setEnabled(g.startsEnabled);
        const int id = g.id;
        connect(a, &QAction::triggered, this, [this, id] { runCommand(id); });
        actions_.push_back(a);
        Log("\n%.*s Button Constructor complete.", static_cast<int>(g.logName.size()), g.logName.data());
        break;
      }
    }
  }
}

QWidget* QVMAIN::activeView() const {
  QMdiSubWindow* sub = client_->activeSubWindow();
  return sub ? sub->widget() : nullptr;
}

bool QVMAIN::routeHandles(int id) const {
  auto* t = dynamic_cast<CommandTarget*>(activeView());
  if (t && t->handlesCommand(id)) return true;
  if (id == cm::ADDVIEW) return t && t->canAddView();
  return applicationHandles(id);
}

void QVMAIN::updateCommandEnabling() {
  for (QAction* a : actions_) a->setEnabled(routeHandles(a->data().toInt()));
}

void QVMAIN::runCommand(int id) {
  if (auto* t = dynamic_cast<CommandTarget*>(activeView()); t && t->handlesCommand(id)) {
    t->runCommand(id);
    return;
  }
  if (routeHandles(id)) frameCommand(id);
}

void QVMAIN::frameCommand(int id) {
  RunFlags& a = runFlags();
  switch (id) {
    case cm::FILEOPEN: {
      QString f = QFileDialog::getOpenFileName(this, "Open", QString(), openFileFilters());
      if (!f.isEmpty()) openDocument(f.toStdString());
      break;
    }
    case cm::EXIT: close(); break;
    case cm::CASCADE: client_->cascadeSubWindows(); break;
    case cm::TILE: client_->tileSubWindows(); break;
    case cm::ARRANGEICONS: client_->tileSubWindows(); break;
    case cm::CLOSECHILDREN: client_->closeAllSubWindows(); break;
    case cm::ADDVIEW: AddView(); break;
    case cm::HELPABOUT: CmHelpAbout(); break;
    case cm::ABOUT: CmAbout(this); break;
    case cm::HELPINDEX: ShowHelp(this, HelpTopic::Index); break;
    case cm::HELPHELP: ShowHelp(this, HelpTopic::UsingHelp); break;
    case cm::SAVECONFIG:
      recordGeometry();
      CmSaveConfiguration(attributes());
      break;
    case cm::SETUPCONFIG:
    case cm::SETUPOPTIONS: CmGlobalSetup(this); break;
    case cm::SETUPPATHNAMES: CmSetupPathnames(this); break;
    case cm::DOWNLOADEDIT: openDocument(a.QUOVAPATH + "daily.dcf"); break;
    case cm::INTRADAYDCF: openDocument(a.QUOVAPATH + "IntraDay.dcf"); break;
    case cm::RESETDLDATE: CmResetDownloadDate(); break;
    case cm::DIAGDISPLON: settings().DiagnosticDisplays = true; break;
    case cm::DIAGDISPLOFF: settings().DiagnosticDisplays = false; break;
    case cm::DIAGHOLDON: a.DiagnosticHold = true; break;
    case cm::DIAGHOLDOFF: a.DiagnosticHold = false; break;
    case cm::STOP:
      a.Stop = true;
      if (DownloadSession* session = DownloadSession::current()) session->CmStop();
      break;
    case cm::OPENMENDORA:
      a.FileToFixPath.clear();
      MendoraCP();
      break;
    case cm::HOMEPAGE: BrowserLink(LoadInfoLinks(a.QUOVAPATH + "quova.info").HomePage); break;
    case cm::OLMANUAL: BrowserLink(LoadInfoLinks(a.QUOVAPATH + "quova.info").OnlineManual); break;
    case cm::TECHSUPPORT: BrowserLink(LoadInfoLinks(a.QUOVAPATH + "quova.info").TechSupport); break;
    default: downloadCommand(id); break;  // 101: printing belongs to the chart window
  }
}

}  // namespace quova
