// The historical quote file: a new file gets the header template's lines, every download
// appends one record when the quote is newer than the file's stamp, and the stamp then
// carries the quote's date.
#include "quotes/quotefile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "base/log.h"
#include "base/root_path.h"
#include "quotes/quote_line.h"
#include "quotes/quote_names.h"
#include "util/dates.h"
#include "util/filetimes.h"
#include "util/paths.h"
#include "util/strtools.h"

namespace quova {
namespace {

constexpr std::size_t kTemplateCap = 1 << 20;  // a header template is a few lines

void setText(char* field, std::size_t size, const char* text) { quova::strcpy(field, text, static_cast<int>(size)); }

int leadingInt(const char* s) {
  while (*s == ' ') ++s;
  int v = 0, digits = 0;
  if (*s < '0' || *s > '9') return -1;
  while (*s >= '0' && *s <= '9' && digits < 6) v = v * 10 + (*s++ - '0'), ++digits;
  return v;
}

void reportOpenFailure(QuoteFileSession& session, const std::string& path) {
  session.errorReport(formatText(381, "Cannot open Quote file for update -- %s", path.c_str()) +
                      "\n\nPlease carefully check QUOVA env variable, if using." +
                      "\n\nAlso check validity of file name in Quotelist entry.");
}

bool writeAll(int fd, const char* data, std::size_t n) {
  while (n > 0) {
    ssize_t w = ::write(fd, data, n);
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) return false;
    data += w;
    n -= static_cast<std::size_t>(w);
  }
  return true;
}

// Appends the record; a file whose last line has no line end gets one first. On any
// failure the file is cut back to its old length and keeps its stamp, so that the quote is
// still due when the run is tried again.
bool appendRecord(const std::string& path, const char* line) {
  int fd = ::open(nativePath(path).c_str(), O_RDWR | O_APPEND | O_CREAT, 0666);
  if (fd < 0) return false;
  struct stat st {};
  bool ok = ::fstat(fd, &st) == 0;
  off_t oldSize = ok ? st.st_size : 0;
  bool needsEnd = false;
  if (ok && oldSize > 0) {
    char last = 0;
    if (::pread(fd, &last, 1, oldSize - 1) != 1) ok = false;
    needsEnd = last != '\n';
  }
  if (ok && needsEnd) ok = writeAll(fd, "\n", 1);
  if (ok) ok = writeAll(fd, line, std::strlen(line));
  if (!ok) {
    if (::ftruncate(fd, oldSize) != 0) { /* nothing more can be done */ }
    const timespec times[2] = {st.st_atim, st.st_mtim};
    ::futimens(fd, times);
  }
  if (::close(fd) != 0) ok = false;
  return ok;
}

// The name the writer uses: "*" is the symbol; an option series (its file name built from
// AltFileName) already has the D\D_N form.
std::optional<std::string> writerName(const QuoteData& q) {
  if (std::strcmp(q.FileName, "*") == 0) return quoteFileName(symbolFileName(q.Symbol));
  std::size_t alt = strnlen(q.AltFileName, sizeof q.AltFileName);
  bool option = alt > 0 && std::strncmp(q.FileName, q.AltFileName, alt) == 0;
  return quoteFileName(q.FileName, !option);
}

}  // namespace

int QuoteFileSession::marketDay() const {
  LocalTime t = now();
  return DayCount(t.month, t.day, t.year);
}

int fileStampDay(std::string_view path) {
  std::optional<LocalTime> t = fileTime(path);
  if (!t) return -1;
  return DayCount(t->month, t->day, t->year);
}

LocalTime quoteStamp(const QuoteData& q) {
  LocalTime t;
  auto num = [&](int at, int n) {
    int v = 0;
    for (int i = at; i < at + n; ++i) {
      if (q.Date[i] < '0' || q.Date[i] > '9') return v;
      v = v * 10 + (q.Date[i] - '0');
    }
    return v;
  };
  t.month = num(0, 2);
  t.day = num(3, 2);
  std::size_t yearDigits = 0;
  while (yearDigits < 4 && q.Date[6 + yearDigits] >= '0' && q.Date[6 + yearDigits] <= '9') ++yearDigits;
  t.year = yearDigits == 2 ? expandShortYear(num(6, 2)) : num(6, 4);
  char text[41];
  setText(text, sizeof text, q.TradeTime[0] ? q.TradeTime : q.Time);
  if (std::strchr(text, '/')) {
    t.hour = 16;
    return t;
  }
  strposdelall(text, "*", sizeof text);
  int hour = leadingInt(text), minute = 0;
  if (const char* colon = std::strchr(text, ':')) minute = leadingInt(colon + 1);
  strtoupper(text);
  if (std::strstr(text, "PM") && hour >= 0 && hour < 12) hour += 12;
  if (std::strstr(text, "AM") && hour == 12) hour = 0;
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59) hour = minute = 0;
  t.hour = hour;
  t.minute = minute;
  return t;
}

int FileCopy(const char* templatePath, const char* newPath, const QuoteData& quote,
             QuoteFileSession& session) {
  std::FILE* in = std::fopen(nativePath(templatePath).c_str(), "rb");
  if (!in) {
    session.errorReport(formatText(381, "Cannot open Source -- %s", templatePath));
    return -1;
  }
  std::string data;
  char buf[4096];
  std::size_t n;
  while (data.size() < kTemplateCap && (n = std::fread(buf, 1, sizeof buf, in)) > 0) data.append(buf, n);
  std::fclose(in);
  if (!data.empty() && data.back() == 0x1A) data.pop_back();

  std::string out;
  int lines = 0;
  std::size_t at = 0;
  while (at < data.size()) {
    std::size_t end = data.find('\n', at);
    bool hasEnd = end != std::string::npos;
    std::string line = data.substr(at, hasEnd ? end - at : std::string::npos);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find("SYMBOL:") != std::string::npos) line += std::string(" ") + quote.Symbol;
    if (line.find("COMPANY NAME:") != std::string::npos) line += std::string(" ") + quote.Co_name;
    out += line;
    if (hasEnd) out += '\n';
    ++lines;
    at = hasEnd ? end + 1 : data.size();
  }
  if (!replaceFileContent(newPath, out)) {
    session.errorReport(formatText(381, "Cannot create new Quote History File -- %s", newPath) +
                        "\n\nPlease check validity of file name in Quotelist entry.");
    return -1;
  }
  return lines;
}

bool Update_Quotefile(QuoteData* quote, int group, QuoteFileSession& session) {
  const OFtype& fmt = session.outputFormat();
  if (quote->Symbol[0] == 0) {
    session.sessionText("*** Error -- Attempted Update with bad symbol ***");
    return false;
  }
  if (quote->FileName[0] == 0) {
    session.sessionText(std::string(quote->Symbol) + " aborted -- Attempted Update with no file name  ***");
    return false;
  }
  if (quote->Close[0] == 0) {
    if (session.closeRequired(group)) {
      session.sessionText(std::string(quote->Symbol) +
                          " aborted -- Attempted Update with no closing quote ***");
      return false;
    }
    setText(quote->Close, sizeof quote->Close, "0.000");
  }

  std::optional<std::string> name = writerName(*quote);
  if (!name) {
    // A name that would leave quotes.day is never opened.
    reportOpenFailure(session, writerQuotePath(quote->FileName));
    return false;
  }
  std::string path = writerQuotePath(*name);
  if (!resolvesInsideRoot(path)) {
    reportOpenFailure(session, path);
    return false;
  }
  bool isNew = false;
  if (!fileExists(path)) {
    char header[sizeof fmt.headerTemplate];
    setText(header, sizeof header, fmt.headerTemplate);
    FileCopy(rootPath(header).c_str(), path.c_str(), *quote, session);
    isNew = true;
  }
  // Proves the file can be appended to (creating it when the header copy failed).
  int probe = ::open(nativePath(path).c_str(), O_WRONLY | O_APPEND | O_CREAT, 0666);
  if (probe < 0) {
    reportOpenFailure(session, path);
    return false;
  }
  ::close(probe);

  int day = GoodDate(quote->Date, DATE_FMT_US);
  int market = session.marketDay();
  // A date beyond the market's next day is a misread, not a quote: it would lock the file.
  bool badDate = day < 0 || day > kMaxDayNumber || (market >= 0 && day > market + 1);
  bool write = session.forcedAppends() || badDate || isNew || fileStampDay(path) < day;
  if (!write) return false;

  if (quote->Volume[0] == 0) setText(quote->Volume, sizeof quote->Volume, "0");
  setText(quote->High, sizeof quote->High, quote->HiParsed);
  if (quote->High[0] == 0 && !std::strstr(quote->Ask, kNotAvail))
    setText(quote->High, sizeof quote->High, quote->Ask);
  setText(quote->Low, sizeof quote->Low, quote->LowParsed);
  if (quote->Low[0] == 0 && !std::strstr(quote->Bid, kNotAvail))
    setText(quote->Low, sizeof quote->Low, quote->Bid);
  if (quote->Close[0] != 0) {
    if (quote->High[0] == 0) setText(quote->High, sizeof quote->High, quote->Close);
    if (quote->Low[0] == 0) setText(quote->Low, sizeof quote->Low, quote->Close);
  }

  char line[kQuoteLineSize];
  MakeQuoteString(line, sizeof line, quote, fmt, true);

  std::string padded = quote->Symbol;
  if (padded.size() < 12) padded.resize(12, ' ');
  if (badDate) {
    session.sessionText(padded + "  ** Update Aborted -- Bad Date");
    // A header-only file stamped now would turn away today's quote on a retry.
    if (isNew) setFileTime(path, backdateStamp());
    return false;
  }
  session.sessionText(formatText(381, "%s\t-\t%s", padded.c_str(), line));
  if (!appendRecord(path, line)) {
    reportOpenFailure(session, path);
    if (isNew) setFileTime(path, backdateStamp());
    return false;
  }
  session.saveQtl(*quote, line);
  setFileTime(path, quoteStamp(*quote));
  return true;
}

}  // namespace quova
