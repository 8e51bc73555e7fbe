// The quote list download session over PageFetch.
#include "download/events/download_session.h"

#include <cctype>
#include <QPointer>
#include <cmath>

#include "base/host.h"
#include "base/log.h"
#include "base/run_flags.h"
#include "download/alarm_summary.h"
#include "download/download_flags.h"
#include "download/download_lock.h"
#include "download/download_state.h"
#include "download/page_parser.h"
#include "download/request_merge.h"
#include "quotes/format_file.h"
#include "quotes/quotelist.h"
#include "settings/external_programs.h"
#include "settings/settings.h"
#include "util/filecopy.h"
#include "util/paths.h"

namespace quova {

namespace {

bool endsWithQtl(const std::string& path) {
  if (path.size() < 4) return false;
  std::string tail = path.substr(path.size() - 4);
  for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return tail == ".qtl";
}

ParseSwitches sessionSwitches() {
  ParseSwitches sw;
  sw.JustShowPPLine = downloadState().flags.JustShowPPLine;
  sw.JustShowPQuotes = downloadState().flags.JustShowPQuotes;
  sw.DiagnosticDisplays = settings().DiagnosticDisplays;
  return sw;
}

// The download settings' divisor, unless it would write infinite or sign-flipped prices.
double downloadDivisor() {
  double d = settings().DownloadControls.CurrencyDivisor;
  if (std::isfinite(d) && d > 0) return d;
  Log("\nCurrencyDivisor %g is not a positive number; 1.0 is used.", d);
  return 1.0;
}

}  // namespace

std::string sessionFileName(const std::string& qtlPath, const char* ext) {
  if (!endsWithQtl(qtlPath)) {
    std::string e = ext;
    if (e == ".tmp" || e == ".upd") return "update" + e;
    return "quotes" + e;
  }
  return qtlPath.substr(0, qtlPath.size() - 4) + ext;
}

PageLink pageLinkTexts(const std::string& address, bool useProxy, const std::string& proxyServer) {
  PageLink link;
  WebTarget t = splitPageAddress(address, useProxy, proxyServer);
  link.downloadText = t.server + " " + t.path;
  if (!useProxy && link.downloadText.rfind("http://", 0) != 0) link.downloadText = "http://" + link.downloadText;
  link.browserText = address.rfind("http://", 0) == 0 || address.rfind("https://", 0) == 0 ? address
                                                                                          : "http://" + address;
  link.chosenText = link.downloadText;
  return link;
}

std::string addressFromLinkText(const std::string& text, bool useProxy) {
  // The text is server, a blank and the request path: through a proxy the request is the
  // address itself; without one the path follows the server directly.
  std::size_t blank = text.find(' ');
  if (blank == std::string::npos) return text;
  return useProxy ? text.substr(blank + 1) : text.substr(0, blank) + text.substr(blank + 1);
}

SessionWindowHooks& sessionWindowHooks() {
  static SessionWindowHooks hooks;
  return hooks;
}

void RefreshOpenQL(const std::string& qtlPath) {
  if (sessionWindowHooks().refreshOpenQL) sessionWindowHooks().refreshOpenQL(qtlPath);
}

DownloadSession* DownloadSession::current() { return downloadState().session; }

DownloadSession::DownloadSession(std::string qtlPath, QObject* parent)
    : QObject(parent), qtlPath_(std::move(qtlPath)), listName_(GetBaseFileNameExt(qtlPath_)) {
  // A single list download takes the flag here; a daily run holds it already.
  if (!runFlags().DLReentrant) refused_ = !BeginDownload();
  downloadState().flags.GlobalStop = false;
  timer1_.setSingleShot(true);
  connect(&timer1_, &QTimer::timeout, this, &DownloadSession::EvTimer);
  connect(&fetch_, &PageFetch::pageDone, this, &DownloadSession::pageDone);
  fetch_.setSessionText([this](const std::string& t) { TuPrint(t); });
  downloadState().session = this;
}

DownloadSession::~DownloadSession() {
  if (running_ || timerRunning_ || fetch_.busy()) stopped_ = true;
  timer1_.stop();
  if (fetch_.busy()) fetch_.stop();
  if (saver_) saver_->closeOutputs();
  if (downloadState().session == this) downloadState().session = nullptr;
  DownloadFlags& f = downloadState().flags;
  if (stopped_) {
    AppMessBar("QuoteList Download Aborted by User");
  } else if (!configError_) {
    AppMessBar("QuoteList Download Complete");
    auto& open = sessionWindowHooks().openInEditor;
    std::string list = nativePath(qtlPath_);
    if (open && f.JustGetPageImage) open(sessionFileName(list, ".htm"));
    if (open && f.JustShowPPLine) open(sessionFileName(list, ".ppl"));
    if (open && f.JustShowPQuotes) open(sessionFileName(list, ".parsed"));
    if (downloadState().SingleDownload) CheckDownloadAlarms();
  }
  f.JustGetPageImage = f.JustShowPPLine = f.JustShowPQuotes = false;
  f.Import = false;
}

void DownloadSession::TuPrint(const std::string& text) {
  std::string line = text;
  if (!line.empty() && line.back() == '\n') line.pop_back();
  if (sink_) sink_(line);
}

void DownloadSession::fileAccessError(const std::string& text) {
  if (fileErrors_ == 0) LogBox(text, "Download File Access Error", mb::OK | mb::ICONEXCLAMATION);
  ++fileErrors_;
  TuPrint("");
  TuPrint(formatText(1000, "Internet Download of QuoteList %s NOT Completed", listName_.c_str()));
  TuPrint("");
  running_ = false;
  timerRunning_ = true;
  timer1_.start(kErrorDelayMs);
}

void DownloadSession::configerrmsg(std::string_view text) {
  configError_ = true;
  TuPrint(std::string(text));
  LogBox(text, kQcfErrorCaption, mb::OK | mb::ICONEXCLAMATION);
}

bool DownloadSession::readQcf() {
  QcfInput in;
  in.userTimeZone = settings().DownloadControls.TimeZone;
  in.currencyDivisor = downloadDivisor();
  in.options = GetDLConfig();
  in.importMode = downloadState().flags.Import;
  in.importFile = downloadState().flags.ImportFile;
  std::vector<std::string> lines;
  if (readTextLines(qtlPath_, lines) && lines.size() > 1) {
    PageRequest first;
    if (parseRequestLine(lines[1], &first)) in.firstSymbol = first.symbol;
  } else if (lines.empty()) {
    Log("\nCannot Open Input Stream for QuoteList -- %s", qtlPath_.c_str());
  }
  in.configError = [this](std::string_view t) { configerrmsg(t); };
  return ReadListQCFForDownload(qtlPath_, in, &settings_) == QcfResult::Ready;
}

bool DownloadSession::GetQuotes() {
  if (refused_) {
    // Another program downloads on this root: nothing is touched here.
    DownloadReentrencyWarning();
    configError_ = true;
    timerRunning_ = true;
    timer1_.start(kStopDelayMs);
    return false;
  }
  running_ = true;
  std::string list = nativePath(qtlPath_);
  if (!fileExists(list)) {
    fileAccessError("Unable to open file --" + qtlPath_);
    return false;
  }
  Log("\nIn GetQuotes...QuovaPath -- %s", runFlags().QuovaPath.c_str());
  Log("\nIn GetQuotes...docfile   -- %s", qtlPath_.c_str());
  if (!readQcf()) {
    // A QCF that cannot be used ends the session without touching the list.
    configError_ = true;
    running_ = false;
    timerRunning_ = true;
    timer1_.start(kErrorDelayMs);
    return false;
  }
  ParseSwitches sw = sessionSwitches();
  saver_ = std::make_unique<QuoteSaver>(settings_, list, sw);
  saver_->unattended = runFlags().QuitAfterDownload;
  saver_->onText = [this](std::string_view t) { TuPrint(std::string(t)); };
  saver_->openOutputs(sessionFileName(list, ".tmp"), sessionFileName(list, ".csv"),
                      nativePath(runFlags().QUOVAPATH + "quotes.csv"), settings().CSVenable, settings().CSVappend);
  saver_->openDiagnostics(sw.JustShowPPLine ? sessionFileName(list, ".ppl") : std::string(),
                          sw.JustShowPQuotes ? sessionFileName(list, ".parsed") : std::string());
  AppMessBar("Performing Daily QuoteList Downloads...");
  pages_reader_ = std::make_unique<PageRequests>(settings_, *saver_, [this] { return stopped_; });
  pages_reader_->open(list);
  PageStart start = StartDownload(*pages_reader_, settings_);
  if (start.kind == PageStart::LocalFile) {
    std::string page = sessionFileName(list, ".htm");
    if (FileCopy(page, nativePath(start.address), false) >= 0) {
      ++pages_;
      parsePage(page);
    } else {
      TuPrint("Cannot open Quote file for update -- " + start.address);
    }
    ShutdownWindow();
    return true;
  }
  if (start.kind == PageStart::None) {
    ShutdownWindow();
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
  if (downloadState().flags.JustGetPageImage) {
    // The page-link check: the user may edit the address, send it to the browser or stop.
    PageLink link = pageLinkTexts(address, r.useProxy, r.proxyServer);
    if (sessionWindowHooks().pageLinkDialog) sessionWindowHooks().pageLinkDialog(link);
    if (link.choice == PageLink::Browser) BrowserLink(link.chosenText);
    if (link.choice != PageLink::Download) {
      CmStop();
      return;
    }
    if (link.chosenText != link.downloadText) r.address = addressFromLinkText(link.chosenText, r.useProxy);
  }
  if (fetch_.WebOpenSocket(r) == 1) {
    stopped_ = true;
    ShutdownWindow();
  }
}

void DownloadSession::parsePage(const std::string& page) {
  PageParser parser(settings_, *saver_, sessionSwitches());
  parser.listName = listName_;
  parser.qcfPath = qcfPathForList(qtlPath_);
  saver_->attach(parser);
  saved_ += parser.ParseQuotesQCF(page);
}

void DownloadSession::pageDone(bool complete, int error) {
  if (stopped_ || downloadState().flags.GlobalStop) {
    stopped_ = true;
    ShutdownWindow();
    return;
  }
  std::string page = sessionFileName(nativePath(qtlPath_), ".htm");
  long before = saved_;
  if (complete && error == 0) {
    ++pages_;
    markDaily(page);
    if (!downloadState().flags.JustGetPageImage) parsePage(page);
  } else {
    socketError_ = true;
  }
  bool more = settings_.requestMode == BY_SYMBOL && !downloadState().flags.JustShowPPLine && !downloadState().flags.JustGetPageImage &&
              !runFlags().Quit;
  if (more) {
    std::string next = pages_reader_->AddQuotesToPage(saved_ - before);
    if (!next.empty()) {
      openPage(next);
      return;
    }
  }
  ShutdownWindow();
}

void DownloadSession::CmStop() {
  Log("\nDownLoadView CmStop entered");
  downloadState().flags.GlobalStop = true;
  stopped_ = true;
  if (saver_) saver_->userStop = true;
  if (fetch_.busy()) {
    fetch_.stop();  // its end comes back through pageDone
  } else if (running_) {
    ShutdownWindow();
  } else if (timerRunning_) {
    timer1_.start(kStopDelayMs);
  }
  Log("\nDownLoadView CmStop exited");
}

void DownloadSession::ShutdownWindow() {
  if (!running_) return;
  running_ = false;
  auto say = [this](const std::string& t) {
    TuPrint(t);
    Log("\n%s", t.c_str());
  };
  TuPrint("");
  const char* name = listName_.c_str();
  if (!socketError_) {
    downloadState().PageErrCount = 0;
    if (downloadState().flags.JustGetPageImage) {
      say("HTML Page Image Downloaded.");
    } else if (saved_ == 0) {
      say(formatText(1000, "Internet Download of QuoteList %s produced NO new Quotes.", name));
    } else {
      say(formatText(1000, "Internet Download of QuoteList %s Successfully Completed.", name));
      TuPrint("");
      say(formatText(1000, "%ld New Quotes were downloaded.", saved_));
    }
  } else {
    say(formatText(1000, "Internet Download of QuoteList %s aborted due to Network Error or Server Unavailability.",
                   name));
  }
  TuPrint("");
  timerRunning_ = true;
  timer1_.start(stopped_ ? kStopDelayMs : kCloseDelayMs);
}

void DownloadSession::EvTimer() {
  timerRunning_ = false;
  if (saver_) saver_->closeOutputs();
  if (!stopped_ && fileErrors_ == 0 && !configError_) {
    if (!socketError_ && !downloadState().flags.anyDiagnostic()) {
      if (saver_) saver_->WaitForMendoraCompletion();
      UDWatch();
      RefreshOpenQL(qtlPath_);
    }
    done_ = true;
  }
  if (!runFlags().DiagnosticHold || closing_) {
    finishedSent_ = true;
    emit finished(endState());
  }
}

void DownloadSession::markDaily(const std::string& page) {
  if (!dailyRun().running() || dailyRun().markerWritten()) return;
  if (dailyRun().pageFetched(page)) {
    TuPrint("Daily Download Marked as Completed.");
    Log("\nDaily Download Marked as Completed.\n");
  } else {
    Log("\nWrite to DailyQuotefileName -- %s FAILED.\n", "daily.dld");
  }
}

void DownloadSession::UDWatch() {
  Log("\nUDWatch entered...\n");
  Log("\nDailyDLMarkedComplete %d\n", dailyRun().markerWritten() ? 1 : 0);
  if (!endsWithQtl(qtlPath_)) return;  // a list without ".qtl" is not rewritten
  std::string list = nativePath(qtlPath_);
  if (settings_.addRequests && !listUpdated_) {
    TuPrint("");
    TuPrint("Adding Missing Quote Requests");
    UDQuoteRequests(list, sessionFileName(list, ".tmp"), sessionFileName(list, ".upd"), settings_.matchFilePath,
                    [](std::string_view t) { LogBox(t, "Quote DownLoad ERRORS", mb::OK | mb::ICONEXCLAMATION); });
  }
  listUpdated_ = true;
  ListUpdate how;
  how.fmt = settings_.outputFormat;
  how.displayDateFormat = settings().DisplayDateFormat;
  how.stop = [] { return downloadState().flags.GlobalStop; };
  how.stopOnQuit = false;  // the quotes are in their files: the list shows them too
  // An open alarm list shows the requests just added (one with unsaved rows is left alone).
  if (quova::UDWatch(list, how) >= 0 && CollectListAlarms(list) > 0) RefreshOpenQL(alarmListPath());
}

SessionEnd DownloadSession::endState() const {
  if (stopped_) return SessionEnd::UserStop;
  // A quote that could not be stored (a full disk) fails the list too: the day stays due.
  if (fileErrors_ > 0 || configError_ || (saver_ && !saver_->errors.empty())) return SessionEnd::Failed;
  if (socketError_) return SessionEnd::PageErrors;
  return SessionEnd::Done;
}

bool DownloadSession::CanClose() {
  if (running_ || timerRunning_ || closing_) {
    runFlags().Quit = true;  // the program closes once the session is done
    return false;
  }
  closing_ = true;
  return true;
}

void DownloadSession::closeRequested() {
  if (running_) CmStop();
  else if (timerRunning_ && !stopped_) timer1_.start(0);
}

void DownloadSession::windowClosed() {
  if (finishedSent_) return;
  closing_ = true;
  if (running_ || timerRunning_) {
    CmStop();
    return;
  }
  finishedSent_ = true;
  emit finished(endState());
}

void connectDailyRun(QObject* owner, std::function<SessionText(const std::string& title)> openText,
                     std::function<void()> closeMain, std::function<void()> checkAlarms,
                     std::function<void(bool show)> forcedDialog) {
  DailyRunHooks h;
  h.postNext = [owner] { QTimer::singleShot(0, owner, [] { dailyRun().DownLoadExec(); }); };
  h.postRecover = [owner] { QTimer::singleShot(0, owner, [] { dailyRun().DownLoadRecover(); }); };
  h.startList = [owner, openText](const std::string& path) {
    downloadState().ForceDailyUpdate = false;
    auto* session = new DownloadSession(path, owner);
    SessionText text;
    if (openText) text = openText("Quote Download Update from Quotelist: " + session->listName());
    session->setSessionText(text.append ? text.append : [](const std::string&) {});
    if (text.watch) {
      QPointer<DownloadSession> guard(session);
      text.watch([guard] { return !guard || guard->CanClose(); },
                 [guard] {
                   if (guard) guard->windowClosed();
                 });
    }
    QObject::connect(session, &DownloadSession::finished, owner, [session, text](SessionEnd how) {
      session->deleteLater();
      if (text.close) text.close();
      dailyRun().sessionEnded(how, session->quotesSaved());
    });
    session->GetQuotes();
    return true;
  };
  h.checkAlarms = std::move(checkAlarms);
  h.closeMainWindow = std::move(closeMain);
  h.forcedDialog = std::move(forcedDialog);
  dailyRun().setHooks(std::move(h));
}

}  // namespace quova
