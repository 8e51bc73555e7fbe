// One quote list download: the list's QCF read, its pages fetched one after the other and
// each page parsed into the quote files, then, after its pause, the quote list brought up
// to date from the session's work files, and the end told to the daily run. The narration
// goes to a sink (the session's output window, or the log).
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>

#include "base/page_link.h"
#include "download/daily_run.h"
#include "download/download_state.h"
#include "download/events/page_fetch.h"
#include "download/page_requests.h"
#include "download/qcf.h"
#include "download/quote_save.h"

namespace quova {

// The work files of a quote list: its path without ".qtl" (any case) plus the extension;
// for a path without ".qtl" the fixed names ("update.tmp", "quotes.htm", ...).
std::string sessionFileName(const std::string& qtlPath, const char* ext);

// The texts of the page-link check (base/page_link.h) for a page address.
PageLink pageLinkTexts(const std::string& address, bool useProxy, const std::string& proxyServer);
// The page address of an edited download-form text.
std::string addressFromLinkText(const std::string& text, bool useProxy);

// What the windows layer lends the sessions.
struct SessionWindowHooks {
  std::function<void(const std::string& path)> openInEditor;   // diagnostics after the session
  std::function<void(const std::string& qtlPath)> refreshOpenQL;  // open list windows reload
  std::function<void(PageLink&)> pageLinkDialog;                // "Get Quote Page Dialog"
};
SessionWindowHooks& sessionWindowHooks();

// Every open quote list window on this list reloads it (through the windows' hook).
void RefreshOpenQL(const std::string& qtlPath);

class DownloadSession : public QObject {
  Q_OBJECT
 public:
  static constexpr int kCloseDelayMs = 4000;  // timer 1 after the last page
  static constexpr int kStopDelayMs = 10;     // after a user stop
  static constexpr int kErrorDelayMs = 2000;  // after a file access error

  explicit DownloadSession(std::string qtlPath, QObject* parent = nullptr);
  ~DownloadSession() override;  // the destruction steps

  void setSessionText(std::function<void(const std::string&)> sink) { sink_ = std::move(sink); }
  // Reads the QCF and starts the first page; false when the session ended at once.
  bool GetQuotes();
  // The user's stop (command 28999).
  void CmStop();
  // A close of the session window: refused while the session works (the program's
  // closing flag is then set, so it closes once the session is done).
  bool CanClose();
  // The window was closed after the work (with DiagnosticHold on): the session ends.
  void windowClosed();
  // The program is asked to close: a page on its way is stopped; work already done (the
  // session is in its pause) is finished at once, the list update included.
  void closeRequested();

  long quotesSaved() const { return saved_; }
  int pagesDone() const { return pages_; }
  bool done() const { return done_; }
  const std::string& listName() const { return listName_; }

  // The running session (downloadState().session), or null.
  static DownloadSession* current();

 signals:
  // The session's work is over and its window may close: how it ended.
  void finished(quova::SessionEnd how);

 private:
  void TuPrint(const std::string& text);
  void fileAccessError(const std::string& text);
  void configerrmsg(std::string_view text);
  bool readQcf();
  void openPage(const std::string& address);
  void pageDone(bool complete, int error);
  void parsePage(const std::string& page);
  void ShutdownWindow();
  void EvTimer();
  void markDaily(const std::string& page);
  void UDWatch();
  SessionEnd endState() const;

  std::string qtlPath_, listName_;
  std::function<void(const std::string&)> sink_;
  DownloadSettings settings_;
  std::unique_ptr<QuoteSaver> saver_;
  std::unique_ptr<PageRequests> pages_reader_;
  PageFetch fetch_;
  QTimer timer1_;
  bool running_ = false, stopped_ = false, done_ = false, configError_ = false;
  bool socketError_ = false, timerRunning_ = false, closing_ = false, listUpdated_ = false;
  bool finishedSent_ = false;
  bool refused_ = false;  // another download holds the root
  int fileErrors_ = 0;
  long saved_ = 0;
  int pages_ = 0;
};

// Wires the daily run to sessions: messages 1026 and 1029 become queued calls on owner's
// thread, each list gets a session with its own text window, and its end goes back to the
// run. openText makes the text window of a list (title given) and returns its sink and a
// close function; closeMain closes the main window when /QuitAfterDownload (or a close
// asked for during the run) ends the run; checkAlarms runs after the last list.
struct SessionText {
  std::function<void(const std::string&)> append;
  std::function<void()> close;
  // The window asks before it closes, and tells when it has gone.
  std::function<void(std::function<bool()> canClose, std::function<void()> closed)> watch;
};
void connectDailyRun(QObject* owner, std::function<SessionText(const std::string& title)> openText,
                     std::function<void()> closeMain, std::function<void()> checkAlarms = {},
                     std::function<void(bool show)> forcedDialog = {});

}  // namespace quova
