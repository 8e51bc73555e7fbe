// The daily download run: the command file daily.dcf worked through one quote list at a
// time, its retries, the day's marker file daily.dld, the backdating of every quote file,
// and the download option commands. The session and window layers plug in through hooks.
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

#include "download/run_tally.h"

namespace quova {

inline constexpr int kDcfLineMax = 180;     // longer command lines are reported and skipped
inline constexpr int kMaxListAttempts = 10;  // attempts of one quote list in a daily run

// Reads daily.dcf lines as a 181-byte buffer does, except that a last line without a line
// end is a normal line when it fits.
class DcfReader {
 public:
  enum class Result { Line, TooLong, End };
  DcfReader() = default;
  ~DcfReader();
  DcfReader(const DcfReader&) = delete;
  DcfReader& operator=(const DcfReader&) = delete;

  bool open(const std::string& path);
  bool isOpen() const { return file_ != nullptr; }
  void close();
  // The next line without its line end ("\r\n", "\n"; a final 0x1A is dropped).
  Result next(std::string& line);

 private:
  std::FILE* file_ = nullptr;
};

// The first token of a command line: tabs count as two blanks, leading blanks are dropped
// and the token ends at two blanks. Empty for a comment ("/") or an empty line.
std::string dcfToken(std::string_view line);

// Backdates every file whose name contains ".day" (any case) under directory and its
// subdirectories, without changing the current directory and without following symlinked
// directories. stop is polled after each entry (the quit flag always is). The count.
long BackDateAllFiles(const std::string& directory, const std::function<bool()>& stop = {});

// The daily marker daily.dld under the root.
std::string dailyMarkerPath();
// A run's first page becomes the marker's content; it keeps the backdate stamp until the
// command file has been worked through, so a run cut short is not counted as done.
bool markDailyFromPage(const std::string& pageFile);
// The command file is done: the marker's stamp becomes now.
bool touchDailyMarker();

// How a quote list session of the run ended.
enum class SessionEnd { Done, PageErrors, UserStop, Failed };

struct DailyRunHooks {
  std::function<void()> postNext;     // message 1026: call DownLoadExec later
  std::function<void()> postRecover;  // message 1029: call DownLoadRecover later
  // Starts the session of one quote list (InternetDnLoad); false when none was created.
  std::function<bool(const std::string& qtlPath)> startList;
  std::function<void()> checkAlarms;      // the alarm check after the last line
  std::function<void()> closeMainWindow;  // /QuitAfterDownload at the run's end
  std::function<void(bool show)> forcedDialog;  // the "QUOVA Download Forced" dialog
};

class DailyRun {
 public:
  explicit DailyRun(DailyRunHooks hooks = {}) : hooks_(std::move(hooks)) {}
  void setHooks(DailyRunHooks hooks) { hooks_ = std::move(hooks); }

  void DownLoad();          // start a daily run
  void DownLoadExec();      // the next command line (message 1026)
  void DownLoadRecover();   // a single list retried after page errors (message 1029)
  // A session of this run (or a single list) ended with newQuotes appended; sends 1026 /
  // 1029 as needed.
  void sessionEnded(SessionEnd how, long newQuotes = 0);
  // A page arrived: the first one of the run becomes the marker's content; true when this
  // page was the one.
  bool pageFetched(const std::string& pageFile);
  bool markerWritten() const { return markerWritten_; }

  bool running() const { return dcf_.isOpen(); }
  // What the last run (or the one in progress) achieved.
  const RunTally& tally() const { return tally_; }
  // The "QUOVA Download Forced" dialog shown (or closed) while quote files are backdated.
  void showForced(bool show) {
    if (hooks_.forcedDialog) hooks_.forcedDialog(show);
  }
  // One quote list's session outside the command file (a list window's download): the
  // list becomes the current one, so failed pages are retried as in a run.
  bool InternetDnLoad(const std::string& path) { return startList(path); }
  // A quote list window's download of its list: quotes.csv emptied when each download gets a
  // new one, the page error count cleared, then InternetDnLoad. A normal update
  // (freshAlarms) first starts the alarm summary and alarms.qtl anew and marks the download
  // single, so its end checks the alarms; a forced one keeps them.
  bool DownloadList(const std::string& path, bool freshAlarms);
  const std::string& currentList() const { return currentList_; }
  void setCurrentList(std::string path) { currentList_ = std::move(path); }

 private:
  void endOfRun(bool dcfDone);
  bool startList(const std::string& path);

  DailyRunHooks hooks_;
  DcfReader dcf_;
  std::string currentList_;
  bool markerWritten_ = false;
  bool listFailed_ = false;  // a session of this run ended Failed
  RunTally tally_;
};

DailyRun& dailyRun();

// The box that refuses a second download while one runs (here or in another program on
// the same root).
void DownloadReentrencyWarning();

// Menu commands of the main window.
void CmDownload();          // asks with the source's text, then DownLoad
void CmForceDownload();     // the same with ForceDailyUpdate set
void CmBackdateAll();       // asks, then backdates every quote file
void CmResetDownloadDate(); // asks, then LastDnLoadDate "01/01/80", step 0
void CmIntraDay();
void CmCSVon();
void CmCSVoff();
void CmCSVnew();
void CmCSVappend();
void CmCSVclear();

}  // namespace quova
