// The download sessions' windows and the main window's download commands.
#include "download/windows/download_frame.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>

#include "app/windows/output_window.h"
#include "base/command_ids.h"
#include "base/host.h"
#include "base/log.h"
#include "base/windows/frame_services.h"
#include "download/alarm_summary.h"
#include "download/daily_run.h"
#include "download/events/download_session.h"
#include "settings/external_programs.h"
#include "util/paths.h"

namespace quova {

namespace {

constexpr const char* kSessionWindowConfig = "config\\download\\quotlist.cfg";

// CloseAlarmsWindows, then the alarm list opened anew.
void reopenAlarmList(FrameServices& frame, const std::string& path) {
  if (QMdiArea* client = frame.client()) {
    for (QMdiSubWindow* sub : client->subWindowList()) {
      if (sub->windowTitle().contains("alarms.qtl", Qt::CaseInsensitive)) sub->close();
    }
  }
  frame.openDocument(path);
}

}  // namespace

void connectDownloads(QObject* owner) {
  SessionWindowHooks& hooks = sessionWindowHooks();
  // The diagnostic files (page image, preprocessed lines, parse notes) go to the editor program.
  hooks.openInEditor = [](const std::string& path) { WordPad(nativePath(path)); };
  hooks.pageLinkDialog = [](PageLink& link) {
    if (FrameServices* f = frameServices()) f->pageLinkDialog(link);
    else link.choice = PageLink::Cancel;
  };
  hooks.refreshOpenQL = [](const std::string& path) {
    if (FrameServices* f = frameServices()) f->refreshOpenLists(path);
  };
  auto openText = [](const std::string& title) {
    FrameServices* f = frameServices();
    QMdiArea* client = f ? f->client() : nullptr;
    OutputSink sink = openOutputWindow(client, title, nullptr, kSessionWindowConfig);
    if (sink.window && client) client->setActiveSubWindow(sink.window);  // the session has the focus
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
  auto closeMain = [] {
    if (FrameServices* f = frameServices()) f->closeMainWindow();
  };
  auto checkAlarms = [] {
    CheckDownloadAlarms([](const std::string& p) {
      if (FrameServices* f = frameServices()) reopenAlarmList(*f, p);
    });
  };
  auto forced = [](bool show) {
    if (FrameServices* f = frameServices()) f->forcedDownloadDialog(show);
  };
  connectDailyRun(owner, openText, closeMain, checkAlarms, forced);
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
