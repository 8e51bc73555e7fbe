// One quote list download: the list's QCF read, its pages fetched one after the other and
// each page parsed into the quote files, then the session closes after its pause and tells
// the daily run how it ended. The narration goes to a sink (the output window, or the log).
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>

#include "download/daily_run.h"
#include "download/events/page_fetch.h"
#include "download/page_requests.h"
#include "download/qcf.h"
#include "download/quote_save.h"

namespace quova {

// The work files of a quote list: its path without ".qtl" (any case) plus the extension.
std::string sessionFileName(const std::string& qtlPath, const char* ext);

class DownloadSession : public QObject {
  Q_OBJECT
 public:
  static constexpr int kCloseDelayMs = 4000;  // timer 1 after the last page
  static constexpr int kStopDelayMs = 10;     // after a user stop
  static constexpr int kErrorDelayMs = 2000;  // after a file access error

  explicit DownloadSession(std::string qtlPath, QObject* parent = nullptr);
  ~DownloadSession() override;

  void setSessionText(std::function<void(const std::string&)> sink) { sink_ = std::move(sink); }
  // Reads the QCF and starts the first page; false when the session ended at once.
  bool GetQuotes();
  void CmStop();
  long quotesSaved() const { return saved_; }
  int pagesDone() const { return pages_; }

 signals:
  // The session closed (after its timer): how it ended.
  void finished(quova::SessionEnd how);

 private:
  void TuPrint(const std::string& text);
  void openPage(const std::string& address);
  void pageDone(bool complete, int error);
  void ShutdownWindow(SessionEnd how, int delayMs);

  std::string qtlPath_;
  std::function<void(const std::string&)> sink_;
  DownloadSettings settings_;
  std::unique_ptr<QuoteSaver> saver_;
  std::unique_ptr<PageRequests> pages_reader_;
  PageFetch fetch_;
  QTimer closeTimer_;
  SessionEnd end_ = SessionEnd::Done;
  bool pageErrors_ = false;
  bool stopped_ = false;
  long saved_ = 0, lastPageSaved_ = 0;
  int pages_ = 0;
};

// Wires the daily run to sessions: messages 1026 and 1029 become queued calls on owner's
// thread, each list gets its own session, and its end goes back to the run.
// closeMain: the main window's close when /QuitAfterDownload ends the run.
void connectDailyRun(QObject* owner, std::function<void(const std::string&)> sink,
                     std::function<void()> closeMain, std::function<void()> checkAlarms = {});

}  // namespace quova
