// The download sessions' windows and the main window's download commands.
#include "download/windows/download_frame.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/windows/main_frame.h"
#include "app/windows/output_window.h"
#include "base/command_ids.h"
#include "base/host.h"
#include "base/log.h"
#include "download/alarm_summary.h"
#include "download/daily_run.h"
#include "download/events/download_session.h"

namespace quova {

namespace {

constexpr const char* kSessionWindowConfig = "config\\download\\quotlist.cfg";

// "Get Quote Page Dialog": the page's link in its download form or its browser form.
void runPageLinkDialog(QWidget* parent, PageLink& link) {
  QDialog dlg(parent);
  dlg.setWindowTitle("Get Quote Page Dialog");
  auto* lay = new QVBoxLayout(&dlg);
  auto* edit = new QLineEdit(QString::fromStdString(link.downloadText), &dlg);
  edit->setMinimumWidth(520);
  auto* browserForm = new QCheckBox("Send to Browser", &dlg);
  lay->addWidget(new QLabel("Page Link:", &dlg));
  lay->addWidget(edit);
  lay->addWidget(browserForm);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, &dlg);
  lay->addWidget(buttons);
  QObject::connect(browserForm, &QCheckBox::toggled, &dlg, [&](bool on) {
    edit->setText(QString::fromStdString(on ? link.browserText : link.downloadText));
  });
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dlg, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dlg, &QDialog::reject);
  QObject::connect(buttons, &QDialogButtonBox::helpRequested, &dlg, [] {
    host().messageBox(
        "This Dialog is provided to help create & checkout quotelist configuration files.\n\n"
        "It may also be used to checkout downloading problems, by comparing the operation\n"
        "of QUOVA and your Browser using this URL.\n\n"
        "The URL shown will can be either be downloaded by QUOVA, and sent to a a text editor, or\n"
        "it may be sent to your Browser.\n\n"
        "You must have setup the External Program Pathnames dialog (see Options menu).\n\n",
        "Page Link Dialog Help", mb::OK | mb::ICONINFORMATION);
  });
  if (dlg.exec() != QDialog::Accepted) {
    link.choice = PageLink::Cancel;
    return;
  }
  link.chosenText = edit->text().toStdString();
  link.choice = browserForm->isChecked() ? PageLink::Browser : PageLink::Download;
}

// "QUOVA Download Forced": shown, without waiting, while every quote file is backdated.
QDialog* forcedDialog(QWidget* parent) {
  auto* dlg = new QDialog(parent);
  dlg->setWindowTitle("QUOVA Download Forced");
  dlg->setObjectName("ForcedDialog");
  auto* lay = new QVBoxLayout(dlg);
  lay->addWidget(new QLabel("Please Wait......", dlg));
  auto* text = new QLabel(
      "QUOVA is backdating all your Historical Quote Files so that all will be updated reguardless of "
      "previous downloads.....",
      dlg);
  text->setWordWrap(true);
  lay->addWidget(text);
  dlg->setMinimumWidth(360);
  return dlg;
}

// CloseAlarmsWindows, then the alarm list opened anew.
void reopenAlarmList(QVMAIN* frame, const std::string& path) {
  for (QMdiSubWindow* sub : frame->client()->subWindowList()) {
    if (sub->windowTitle().contains("alarms.qtl", Qt::CaseInsensitive)) sub->close();
  }
  frame->openDocument(path);
}

}  // namespace

void connectDownloads(QVMAIN* frame) {
  SessionWindowHooks& hooks = sessionWindowHooks();
  hooks.openInEditor = [frame](const std::string& path) { frame->openDocument(path); };
  hooks.pageLinkDialog = [frame](PageLink& link) { runPageLinkDialog(frame, link); };
  auto openText = [frame](const std::string& title) {
    OutputSink sink = openOutputWindow(frame->client(), title, nullptr, kSessionWindowConfig);
    if (sink.window) frame->client()->setActiveSubWindow(sink.window);  // the session has the focus
    SessionText text;
    // Each line of the narration starts a new line of the window.
    text.append = [append = sink.append](const std::string& line) { append("\n" + line); };
    QPointer<OutputWindow> window = sink.window;
    text.close = [window] {
      if (window) {
        window->canClose = nullptr;
        window->close();
      }
    };
    text.watch = [window](std::function<bool()> canClose, std::function<void()> closed) {
      if (!window) return;
      window->canClose = std::move(canClose);
      QObject::connect(window, &QObject::destroyed, std::move(closed));
    };
    return text;
  };
  auto closeMain = [frame] { QMetaObject::invokeMethod(frame, [frame] { frame->close(); }, Qt::QueuedConnection); };
  auto checkAlarms = [frame] { CheckDownloadAlarms([frame](const std::string& p) { reopenAlarmList(frame, p); }); };
  auto forced = [frame](bool show) {
    static QPointer<QDialog> dialog;
    if (!show) {
      if (dialog) dialog->deleteLater();
      return;
    }
    dialog = forcedDialog(frame);
    dialog->show();
    KeepWindowsHappy();
  };
  connectDailyRun(frame, openText, closeMain, checkAlarms, forced);
}

bool downloadCommand(int id) {
  switch (id) {
    case cm::DOWNLOAD: CmDownload(); return true;
    case cm::FORCEDOWNLOAD: CmForceDownload(); return true;
    case cm::BACKDATEALL: CmBackdateAll(); return true;
    case cm::INTRADAY: CmIntraDay(); return true;
    case cm::CSVON: CmCSVon(); return true;
    case cm::CSVOFF: CmCSVoff(); return true;
    case cm::CSVNEW: CmCSVnew(); return true;
    case cm::CSVAPPEND: CmCSVappend(); return true;
    case cm::CSVCLEAR: CmCSVclear(); return true;
    default: return false;
  }
}

bool downloadsCanClose() {
  DownloadSession* s = DownloadSession::current();
  if (!s || s->CanClose()) return true;
  // The program is asked to close (the Exit command, SIGTERM): a page on its way is stopped,
  // work already done is finished, and the end of the download closes the program.
  s->closeRequested();
  return false;
}

}  // namespace quova
