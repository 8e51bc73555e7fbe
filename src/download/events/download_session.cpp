// The quote list download session over PageFetch.
#include "download/events/download_session.h"

#include <cctype>

#include "app/app_state.h"
#include "app/log.h"
#include "app/settings.h"
#include "download/page_parser.h"
#include "util/filecopy.h"
#include "util/paths.h"

namespace quova {

std::string sessionFileName(const std::string& qtlPath, const char* ext) {
  std::string base = qtlPath;
  if (base.size() >= 4) {
    std::string tail = base.substr(base.size() - 4);
    for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (tail == ".qtl") base.resize(base.size() - 4);
  }
  return base + ext;
}

DownloadSession::DownloadSession(std::string qtlPath, QObject* parent)
    : QObject(parent), qtlPath_(std::move(qtlPath)) {
  closeTimer_.setSingleShot(true);
  connect(&closeTimer_, &QTimer::timeout, this, [this] { emit finished(end_); });
  connect(&fetch_, &PageFetch::pageDone, this, &DownloadSession::pageDone);
  fetch_.setSessionText([this](const std::string& t) { TuPrint(t); });
}

DownloadSession::~DownloadSession() = default;

void DownloadSession::TuPrint(const std::string& text) {
  if (sink_) sink_(text);
}

bool DownloadSession::GetQuotes() {
  std::string list = nativePath(qtlPath_);
  if (!fileExists(list)) {
    TuPrint("Cannot open Quote List -- " + qtlPath_);
    ShutdownWindow(SessionEnd::Failed, kErrorDelayMs);
    return false;
  }
  QcfInput in;
  in.userTimeZone = settings().DownloadControls.TimeZone;
  in.currencyDivisor = settings().DownloadControls.CurrencyDivisor;
  in.configError = [this](std::string_view t) { TuPrint(std::string(t)); };
  if (ReadSessionQCF(nativePath(sessionFileName(qtlPath_, ".qcf")), in, &settings_) != QcfResult::Ready) {
    ShutdownWindow(SessionEnd::Failed, kErrorDelayMs);
    return false;
  }
  saver_ = std::make_unique<QuoteSaver>(settings_, list);
  saver_->openOutputs(sessionFileName(list, ".tmp"), sessionFileName(list, ".csv"),
                      nativePath(app().QUOVAPATH + "quotes.csv"), settings().CSVenable, settings().CSVappend);
  pages_reader_ = std::make_unique<PageRequests>(settings_, *saver_, [this] { return stopped_; });
  pages_reader_->open(list);
  PageStart start = StartDownload(*pages_reader_, settings_);
  if (start.kind == PageStart::LocalFile) {
    std::string page = sessionFileName(list, ".htm");
    if (FileCopy(page, nativePath(start.address), false) >= 0) {
      PageParser parser(settings_, *saver_);
      saved_ += parser.ParseQuotesQCF(page);
    }
    ShutdownWindow(SessionEnd::Done, kCloseDelayMs);
    return true;
  }
  if (start.kind == PageStart::None) {
    ShutdownWindow(SessionEnd::Done, kCloseDelayMs);
    return true;
  }
  openPage(start.address);
  return true;
}

void DownloadSession::openPage(const std::string& address) {
  PageFetch::Request r;
  r.address = address;
  r.primer = settings_.primer;
  r.pageFile = sessionFileName(nativePath(qtlPath_), ".htm");
  r.useProxy = settings().DownloadControls.UseProxy;
  r.proxyServer = settings().DownloadControls.ProxyServer;
  if (fetch_.WebOpenSocket(r) == 1) ShutdownWindow(SessionEnd::UserStop, kStopDelayMs);
}

void DownloadSession::pageDone(bool complete, int error) {
  if (stopped_) {
    ShutdownWindow(SessionEnd::UserStop, kStopDelayMs);
    return;
  }
  std::string page = sessionFileName(nativePath(qtlPath_), ".htm");
  lastPageSaved_ = 0;
  if (complete && error == 0) {
    ++pages_;
    dailyRun().pageFetched(page);
    PageParser parser(settings_, *saver_);
    lastPageSaved_ = parser.ParseQuotesQCF(page);
    saved_ += lastPageSaved_;
  } else {
    pageErrors_ = true;
  }
  if (settings_.requestMode == BY_SYMBOL) {
    std::string next = pages_reader_->AddQuotesToPage(lastPageSaved_);
    if (!next.empty()) {
      openPage(next);
      return;
    }
  }
  ShutdownWindow(pageErrors_ ? SessionEnd::PageErrors : SessionEnd::Done, kCloseDelayMs);
}

void DownloadSession::CmStop() {
  stopped_ = true;
  if (fetch_.busy()) fetch_.stop();
  else ShutdownWindow(SessionEnd::UserStop, kStopDelayMs);
}

void DownloadSession::ShutdownWindow(SessionEnd how, int delayMs) {
  if (saver_) saver_->closeOutputs();
  end_ = how;
  if (how == SessionEnd::Done && saved_ == 0) TuPrint("produced NO new Quotes.");
  closeTimer_.start(delayMs);
}

void connectDailyRun(QObject* owner, std::function<void(const std::string&)> sink,
                     std::function<void()> closeMain, std::function<void()> checkAlarms) {
  DailyRunHooks h;
  h.postNext = [owner] { QTimer::singleShot(0, owner, [] { dailyRun().DownLoadExec(); }); };
  h.postRecover = [owner] { QTimer::singleShot(0, owner, [] { dailyRun().DownLoadRecover(); }); };
  h.startList = [owner, sink](const std::string& path) {
    auto* session = new DownloadSession(path, owner);
    session->setSessionText(sink);
    QObject::connect(session, &DownloadSession::finished, owner, [session](SessionEnd how) {
      session->deleteLater();
      dailyRun().sessionEnded(how, SingleDownload());
    });
    session->GetQuotes();
    return true;
  };
  h.checkAlarms = std::move(checkAlarms);
  h.closeMainWindow = std::move(closeMain);
  dailyRun().setHooks(std::move(h));
}

}  // namespace quova
