// The daily download run over daily.dcf, the day's marker, backdating and the option commands.
#include "download/daily_run.h"

#include <cstring>
#include <filesystem>
#include <system_error>

#include "base/host.h"
#include "base/log.h"
#include "base/root_path.h"
#include "base/run_flags.h"
#include "download/alarm_summary.h"
#include "download/download_lock.h"
#include "download/download_state.h"
#include "quotes/list_operations.h"
#include "settings/settings.h"
#include "util/clock.h"
#include "util/filecopy.h"
#include "util/filetimes.h"
#include "util/paths.h"

namespace quova {

namespace fs = std::filesystem;

// ---- the command file ----

DcfReader::~DcfReader() { close(); }

bool DcfReader::open(const std::string& path) {
  close();
  file_ = std::fopen(path.c_str(), "rb");
  return file_ != nullptr;
}

void DcfReader::close() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
}

DcfReader::Result DcfReader::next(std::string& line) {
  line.clear();
  if (!file_) return Result::End;
  int c = std::fgetc(file_);
  if (c == EOF) return Result::End;
  bool tooLong = false;
  for (; c != EOF && c != '\n'; c = std::fgetc(file_)) {
    if (line.size() < static_cast<std::size_t>(kDcfLineMax) + 1) line.push_back(static_cast<char>(c));
  }
  // The length is judged without the line end's "\r" and a final 0x1A.
  if (!line.empty() && line.back() == '\r' && line.size() <= static_cast<std::size_t>(kDcfLineMax) + 1)
    line.pop_back();
  if (c == EOF && !line.empty() && line.back() == '\x1A') line.pop_back();
  if (line.size() > static_cast<std::size_t>(kDcfLineMax)) tooLong = true;
  if (tooLong) {
    line.clear();
    return Result::TooLong;
  }
  return Result::Line;
}

std::string dcfToken(std::string_view line) {
  std::string s;
  for (char ch : line) {
    if (ch == '\t') s += "  ";
    else s.push_back(ch);
  }
  std::size_t start = s.find_first_not_of(' ');
  if (start == std::string::npos) return {};
  // Comment lines begin with "/" in their first column.
  if (!line.empty() && line.front() == '/') return {};
  std::size_t end = s.find("  ", start);
  return s.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

// ---- backdating ----

namespace {

bool containsDayExtension(const std::string& name) {
  for (std::size_t i = 0; i + 4 <= name.size(); ++i) {
    if (name[i] == '.' && (name[i + 1] | 0x20) == 'd' && (name[i + 2] | 0x20) == 'a' &&
        (name[i + 3] | 0x20) == 'y')
      return true;
  }
  return false;
}

bool shouldStop(const std::function<bool()>& stop) {
  KeepWindowsHappy();
  return runFlags().Quit || (stop && stop());
}

long backdateTree(const fs::path& dir, const std::function<bool()>& stop, bool& stopped) {
  long count = 0;
  std::error_code ec;
  fs::directory_iterator it(dir, ec), end;
  for (; !ec && it != end; it.increment(ec)) {
    const fs::directory_entry& e = *it;
    std::error_code sec;
    bool link = e.is_symlink(sec);
    if (e.is_directory(sec) && !link) {
      count += backdateTree(e.path(), stop, stopped);
    } else if (!e.is_directory(sec) && containsDayExtension(e.path().filename().string())) {
      if (BackDateFile(e.path().string()) >= 0) ++count;
    }
    if (stopped || shouldStop(stop)) {
      stopped = true;
      break;
    }
  }
  return count;
}

int homeMessage(std::string_view text, std::string_view caption, unsigned flags) {
  return MessageBox(text, caption, flags);
}

std::string todayText() {
  LocalTime t = now();
  return formatText(21, "%02d/%02d/%02d", t.month, t.day, t.year % 100);
}

// "mm/dd/yy" as yyyymmdd with the two-digit year read as 1980..2079; -1 when not a date.
long dateKey(const std::string& s) {
  int m = 0, d = 0, y = 0;
  if (std::sscanf(s.c_str(), "%2d/%2d/%2d", &m, &d, &y) != 3) return -1;
  int year = y < 80 ? 2000 + y : 1900 + y;
  return year * 10000L + m * 100L + d;
}

void backdateAllQuoteFiles() {
  std::string dir = nativePath(rootPath("quotes.day"));
  BackDateAllFiles(dir);
}

}  // namespace

long BackDateAllFiles(const std::string& directory, const std::function<bool()>& stop) {
  bool stopped = false;
  return backdateTree(fs::path(directory), stop, stopped);
}

// ---- the day's marker ----

std::string dailyMarkerPath() { return nativePath(rootPath("daily.dld")); }

bool markDailyFromPage(const std::string& pageFile) {
  std::string marker = dailyMarkerPath();
  if (FileCopy(marker, pageFile, false) < 0) return false;
  return setFileTime(marker, backdateStamp());
}

bool touchDailyMarker() {
  std::string marker = dailyMarkerPath();
  if (!fileExists(marker)) {
    std::FILE* f = std::fopen(marker.c_str(), "ab");
    if (!f) return false;
    std::fclose(f);
  }
  return setFileTime(marker, now());
}

void DownloadReentrencyWarning() {
  homeMessage(
      "Download Reentrency Flag indicates Download already in-process.\n\nSimultaneous Download "
      "Operations NOT allowed.\n\nAbort or wait for the last before starting a new Download.",
      "Download Initiation Warning", mb::OK | mb::ICONEXCLAMATION);
}

DailyRun& dailyRun() {
  static DailyRun run;
  return run;
}

// ---- the run ----

void DailyRun::DownLoad() {
  RunFlags& a = runFlags();
  if (!BeginDownload()) {
    if (!a.DLReentrant) {
      // Another program holds the root; a run of our own keeps its tally.
      tally_ = RunTally{};
      tally_.started = tally_.refused = true;
    }
    DownloadReentrencyWarning();
    // Another program on this root downloads: an unattended start has nothing to do.
    if (!a.DLReentrant && a.QuitAfterDownload && hooks_.closeMainWindow) hooks_.closeMainWindow();
    return;
  }
  tally_ = RunTally{};
  tally_.started = true;
  Settings& s = settings();
  if (downloadState().ForceDailyUpdate) {
    bool held = a.HoldClose;
    a.HoldClose = true;
    showForced(true);
    s.LastDnLoadDate = todayText();
    s.LastDnLoadStep = 0;
    downloadState().ForceDailyUpdate = false;
    backdateAllQuoteFiles();
    showForced(false);
    a.HoldClose = held;
  }
  if (a.Quit || (s.DailyDownloadSource != 2 && s.DailyDownloadSource != 3)) {
    endOfRun(false);  // sources 0 and 1 start nothing here
    return;
  }
  std::string today = todayText();
  if (dateKey(s.LastDnLoadDate) < dateKey(today)) {
    s.LastDnLoadDate = today;
    s.LastDnLoadStep = 0;
  }
  ResetDownloadAlarms();
  downloadState().SingleDownload = false;
  markerWritten_ = false;
  listFailed_ = false;
  if (FileCopy(nativePath(rootPath("alarms.qtl")), nativePath(rootPath("Blank.qtl")), false) < 0)
    Log("\nalarms.qtl could not be made from Blank.qtl.");
  std::string dcfPath = nativePath(rootPath("daily.dcf"));
  if (!dcf_.open(dcfPath)) {
    homeMessage(formatText(400, "Could Not Open Download Command File -- %s", dcfPath.c_str()),
                "Download Command File Error", mb::OK | mb::ICONEXCLAMATION);
    tally_.noCommandFile = true;
    endOfRun(false);
    return;
  }
  if (s.CSVenable && !s.CSVappend)
    FileCopy(nativePath(rootPath("quotes.csv")), nativePath(rootPath("Blank.txt")), false);
  downloadState().PageErrCount = 0;
  if (hooks_.postNext) hooks_.postNext();
  else DownLoadExec();
}

bool DailyRun::DownloadList(const std::string& path, bool freshAlarms) {
  if (freshAlarms) {
    ResetDownloadAlarms();
    downloadState().SingleDownload = true;
    FileCopy(nativePath(rootPath("alarms.qtl")), nativePath(rootPath("Blank.qtl")), false);
  }
  if (settings().CSVenable && !settings().CSVappend)
    FileCopy(nativePath(rootPath("quotes.csv")), nativePath(rootPath("Blank.txt")), false);
  downloadState().PageErrCount = 0;
  return InternetDnLoad(path);
}

bool DailyRun::startList(const std::string& path) {
  currentList_ = path;
  return hooks_.startList && hooks_.startList(path);
}

void DailyRun::DownLoadExec() {
  RunFlags& a = runFlags();
  if (a.Quit) {
    AppMessBar("Daily Quotefile Downloads Aborted");
    if (dcf_.isOpen()) tally_.stopped = true;
    dcf_.close();
    EndDownload();
    // The close asked for during the run can now be done.
    if (hooks_.closeMainWindow) hooks_.closeMainWindow();
    return;
  }
  if (!dcf_.isOpen()) return;  // no run in progress
  int& errors = downloadState().PageErrCount;
  if (errors >= 1 && errors < kMaxListAttempts) {
    if (startList(currentList_)) return;
    errors = 0;  // no session could be made for it: go on with the next line
    tally_.failedLists.push_back(currentList_);
  }
  if (errors >= kMaxListAttempts) {
    Log("Maximum attempts exceeded to download quotelist\n%s", currentList_.c_str());
    errors = 0;
    listFailed_ = true;
    tally_.failedLists.push_back(currentList_);
  }
  std::string line;
  for (;;) {
    DcfReader::Result r = dcf_.next(line);
    if (r == DcfReader::Result::End) break;
    if (r == DcfReader::Result::TooLong) {
      homeMessage("Line Length Exceeds 180 characters\nLine Ignored", "Download Command File Error",
                  mb::OK | mb::ICONEXCLAMATION);
      continue;
    }
    std::string token = dcfToken(line);
    if (token.empty()) continue;
    // A list whose session cannot be created goes on with the next line.
    if (startList(token)) return;
    tally_.failedLists.push_back(token);
  }
  endOfRun(true);
}

void DailyRun::endOfRun(bool dcfDone) {
  RunFlags& a = runFlags();
  EndDownload();
  dcf_.close();
  if (dcfDone) {
    // A list that failed (a quote file or page that could not be written, pages that never
    // came) leaves the day due, so the next run fetches what is missing.
    if (markerWritten_ && !listFailed_) touchDailyMarker();
    if (markerWritten_ && listFailed_) Log("\nA quotelist failed: the daily download stays due today.");
    if (hooks_.checkAlarms) hooks_.checkAlarms();
  }
  if ((a.QuitAfterDownload || a.Quit) && hooks_.closeMainWindow) hooks_.closeMainWindow();
}

void DailyRun::DownLoadRecover() {
  int& errors = downloadState().PageErrCount;
  if (errors > kMaxListAttempts - 1) {
    Log("Maximum attempts exceeded to download quotelist\n%s", currentList_.c_str());
    errors = 0;
    EndDownload();
    return;
  }
  Log("\nAttempting Download Recovery for Quotelist: %s, cycle %d\n", currentList_.c_str(), errors);
  if (!startList(currentList_)) EndDownload();
}

void DailyRun::sessionEnded(SessionEnd how, long newQuotes) {
  if (running()) {
    tally_.newQuotes += newQuotes;
    if (how == SessionEnd::Done) ++tally_.listsDone;
    else if (how == SessionEnd::Failed) {
      tally_.failedLists.push_back(currentList_);
      listFailed_ = true;
    }
    else if (how == SessionEnd::UserStop) tally_.stopped = true;
  }
  if (how == SessionEnd::UserStop) {
    // A user stop ends the run there; a close asked for meanwhile is done now.
    dcf_.close();
    EndDownload();
    if (runFlags().Quit && hooks_.closeMainWindow) hooks_.closeMainWindow();
    return;
  }
  if (running()) {
    // Every other end of a run's session goes on with the run, so it always finishes.
    if (hooks_.postNext) hooks_.postNext();
    else DownLoadExec();
    return;
  }
  if (how == SessionEnd::PageErrors && downloadState().PageErrCount > 0) {
    if (hooks_.postRecover) hooks_.postRecover();
    else DownLoadRecover();
    return;
  }
  EndDownload();
}

bool DailyRun::pageFetched(const std::string& pageFile) {
  // Only sessions of a daily run touch the marker.
  if (!running() || markerWritten_) return false;
  markerWritten_ = markDailyFromPage(pageFile);
  return markerWritten_;
}

// ---- menu commands ----

void CmDownload() {
  Settings& s = settings();
  s.LastDnLoadStep = 0;
  static const char* const texts[] = {
      "Download of Stock Quotes must be enabled from Options/Setup",
      "Perform Download of Stock Quotes from CompuServe using ProComm",
      "Perform Download of Stock Quotes from QUOVA CompuServe Window",
      "Perform Download of Stock Quotes from QUOVA Internet Window"};
  int source = s.DailyDownloadSource;
  const char* text = source >= 0 && source <= 3 ? texts[source] : texts[0];
  if (homeMessage(text, "QUOVA main window Message", mb::OKCANCEL | mb::ICONQUESTION) == IDOK)
    dailyRun().DownLoad();
}

void CmForceDownload() {
  downloadState().ForceDailyUpdate = true;
  CmDownload();
}

void CmBackdateAll() {
  if (homeMessage("All Historical Quotefiles will be backdated so that all will update.",
                  "QVMAIN Message", mb::OKCANCEL | mb::ICONQUESTION) != IDOK)
    return;
  dailyRun().showForced(true);
  backdateAllQuoteFiles();
  dailyRun().showForced(false);
}

void CmResetDownloadDate() {
  if (homeMessage("Daily Download will start over until completed!",
                  "OK to RESET download date/order flags?", mb::OKCANCEL | mb::ICONQUESTION) != IDOK)
    return;
  settings().LastDnLoadDate = "01/01/80";
  settings().LastDnLoadStep = 0;
  SaveIniFile();
}

void CmIntraDay() {
  homeMessage("IntraDay Downloading has not yet been implemented.", "QVMAIN Message",
              mb::OK | mb::ICONINFORMATION);
}

namespace {
void csvOption(std::string_view text) {
  SaveIniFile();
  homeMessage(text, "Downloading Options", mb::OK | mb::ICONINFORMATION);
}
}  // namespace

void CmCSVon() {
  settings().CSVenable = true;
  csvOption("A .csv image of each Quotelist's download results will be created.\n\n"
            "This will result in slightly longer download times.");
}
void CmCSVoff() {
  settings().CSVenable = false;
  csvOption("The optional .csv image of each Quotelist's download results will be disabled.\n\n"
            "This will result in slightly quicker download times.");
}
void CmCSVnew() {
  settings().CSVappend = false;
  csvOption("The .csv download file is set to new mode.\n\n"
            "When enabled, this will create an new file for each Quotelist Download.\n\n");
}
void CmCSVappend() {
  settings().CSVappend = true;
  csvOption("The .csv download file is set to append mode.\n\n"
            "When enabled, this will append to the existing file for each Quotelist Download.");
}
void CmCSVclear() {
  FileCopy(nativePath(rootPath("quotes.csv")), nativePath(rootPath("Blank.txt")), false);
  homeMessage("The .csv download file has been cleared.\n\n", "Downloading Options",
              mb::OK | mb::ICONINFORMATION);
}

}  // namespace quova
