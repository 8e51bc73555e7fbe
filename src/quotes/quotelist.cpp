// Quote list files: request fields and derived paths, the window's rows, the list update
// that writes the last quote of every request's file into its line, and the insertion of
// new option series.
#include "quotes/quotelist.h"

#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "base/host.h"
#include "base/log.h"
#include "base/run_flags.h"
#include "quotes/number_text.h"
#include "quotes/quote_line.h"
#include "quotes/quote_names.h"
#include "quotes/text_lines.h"
#include "util/dates.h"
#include "util/filecopy.h"
#include "util/paths.h"
#include "util/strtools.h"

namespace quova {
namespace {

// A working copy of a line with tabs turned into two blanks.
std::vector<char> workCopy(std::string_view line) {
  std::vector<char> buf(line.size() * 2 + 2, 0);
  std::memcpy(buf.data(), line.data(), line.size());
  convTabs(buf.data(), static_cast<int>(buf.size()));
  return buf;
}


std::string tabsConverted(const std::string& s) {
  if (s.find('\t') == std::string::npos) return s;
  return workCopy(s).data();
}

// The last two lines of a file: from the end, step back over at most 1000 characters to
// each preceding line end. A file that cannot be read gives two empty lines.
void lastTwoLines(const std::string& path, std::string& prev, std::string& last) {
  prev.clear();
  last.clear();
  // open, fstat, one pread and close: the update does this for every request of a list.
  const int fd = openNative(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return;
  constexpr long kStep = 1000, kChunk = 2 * kStep + 8;
  struct stat st {};
  const off_t size = ::fstat(fd, &st) == 0 ? st.st_size : 0;
  const off_t from = size > kChunk ? size - kChunk : 0;
  std::string tail(static_cast<std::size_t>(size > from ? size - from : 0), '\0');
  std::size_t got = 0;
  while (got < tail.size()) {
    const ssize_t n = ::pread(fd, tail.data() + got, tail.size() - got, from + static_cast<off_t>(got));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
  }
  ::close(fd);
  tail.resize(got);
  if (!tail.empty() && tail.back() == 0x1A) tail.pop_back();
  while (!tail.empty() && (tail.back() == '\n' || tail.back() == '\r')) tail.pop_back();
  auto lineBefore = [&](std::size_t end, std::size_t& start) {
    std::size_t limit = end > static_cast<std::size_t>(kStep) ? end - kStep : 0;
    start = limit;
    for (std::size_t i = end; i > limit; --i)
      if (tail[i - 1] == '\n') {
        start = i;
        break;
      }
    std::string l = tail.substr(start, end - start);
    if (!l.empty() && l.back() == '\r') l.pop_back();
    if (l.size() > kQuoteLineSize - 1) l.resize(kQuoteLineSize - 1);
    return l;
  };
  std::size_t start = 0;
  last = lineBefore(tail.size(), start);
  if (start > 0) {
    std::size_t prevStart = 0;
    prev = lineBefore(start - 1, prevStart);
  }
}

// The seven display columns of a request from its quote file.
std::string displayColumns(const std::string& quoteFile, const ListUpdate& how) {
  std::string prevLine, lastLine;
  if (!quoteFile.empty()) lastTwoLines(quoteFile, prevLine, lastLine);
  quotetype q, p;
  if (lastLine.empty() || ParseQuote(lastLine.c_str(), &q, how.fmt) != 0) {
    std::string s = "unavail.";
    for (int i = 0; i < 6; ++i) s += "   unavail.";
    return s;
  }
  int code = how.displayDateFormat == DATE_FMT_INTL ? DATE_FMT_INTL : DATE_FMT_US;
  std::string s = charDate(static_cast<float>(q.date), code, 4);
  s += "   " + fixedText(q.hi, 8, 3) + "   " + fixedText(q.low, 8, 3) + "   " + fixedText(q.close, 8, 3);
  bool change = !prevLine.empty() && ParseQuote(prevLine.c_str(), &p, how.fmt) == 0 && q.close >= 0 &&
                p.close >= 0;
  s += "   " + (change ? fixedText(static_cast<double>(q.close) - p.close, 8, 3) : std::string("unavail."));
  s += "   " + fixedText(q.volume, 11, 0) + "   " + q.time_text;
  return s;
}

bool stopRequested(const ListUpdate& how) { return (how.stopOnQuit && runFlags().Quit) || (how.stop && how.stop()); }

void status(const std::string& text) {
  MessBar(text);
  KeepWindowsHappy();
}

}  // namespace

ListUpdate::ListUpdate() { SetDefaultFormat(&fmt); }

void errmsg(std::string_view text) { MessageBox(text, "Quote List ERRORS", mb::ICONEXCLAMATION); }

RequestFields splitRequestLine(std::string_view line) {
  std::vector<char> buf = workCopy(line);
  int cap = static_cast<int>(buf.size());
  char symbol[41], file[81], name[41];
  getnext(symbol, buf.data(), "  ", sizeof symbol, cap);
  getnext(file, buf.data(), "  ", sizeof file, cap);
  getnext(name, buf.data(), "   ", sizeof name, cap);
  remleadWS(buf.data(), cap);
  return {symbol, file, name, buf.data()};
}

std::vector<std::string> twoBlankFields(std::string_view text) {
  std::vector<char> buf = workCopy(text);
  int cap = static_cast<int>(buf.size());
  std::vector<std::string> fields;
  std::vector<char> field(buf.size());
  while (true) {
    remleadWS(buf.data(), cap);
    if (buf[0] == 0) break;
    getnext(field.data(), buf.data(), "  ", cap, cap);
    fields.emplace_back(field.data());
  }
  return fields;
}

namespace {

// ParseFilePaths of a line already split.
RequestPaths pathsOf(const RequestFields& f) {
  RequestPaths p{f.symbol, f.fileName, f.coName, {}, {}};
  if (f.fileName.empty()) return p;
  std::optional<std::string> name = requestFileName(f.symbol, f.fileName);
  if (!name) return p;
  // The writer's spelling is tried first: it is what exists, and it needs no folder scan.
  std::string written = writerQuotePath(*name);
  p.quoteFile = fileExists(written) ? written : listQuotePath(*name, ".DAY");
  p.recFile = listQuotePath(*name, ".REC");
  return p;
}

}  // namespace

RequestPaths ParseFilePaths(std::string_view line) { return pathsOf(splitRequestLine(line)); }

namespace {

bool checkedPaths(std::string_view line, RequestPaths* paths, std::string* description, bool rec) {
  RequestPaths p = ParseFilePaths(line);
  if (paths) *paths = p;
  const std::string& file = rec ? p.recFile : p.quoteFile;
  if (file.empty() || !fileExists(file)) {
    std::string shown = file.empty() ? p.fileName : file;
    MessageBox("Unable to locate file -- " + shown, "Quote File Access Error", mb::ICONEXCLAMATION);
    return false;
  }
  if (description) {
    RequestFields f = splitRequestLine(line);
    *description = formatText(381, "Symbol -- %s          %s          %s", f.symbol.c_str(),
                              f.coName.c_str(), f.rest.c_str());
  }
  return true;
}

}  // namespace

bool ParseQuoteText(std::string_view line, RequestPaths* paths, std::string* description) {
  return checkedPaths(line, paths, description, false);
}

bool ParseQuoteTextforRecover(std::string_view line, RequestPaths* paths, std::string* description) {
  return checkedPaths(line, paths, description, true);
}

std::string GetSymPath(std::string_view line) {
  RequestFields f = splitRequestLine(line);
  if (f.fileName.empty()) return {};
  return requestFileName(f.symbol, f.fileName).value_or(std::string());
}

bool LoadQuoteList(std::string_view path, std::vector<std::string>& rows) {
  std::vector<std::string> lines;
  if (!readTextLines(path, lines)) return false;
  rows.clear();
  for (std::string& l : lines)
    if (!l.empty()) rows.push_back(std::move(l));
  return true;
}

bool SaveQuoteList(std::string_view path, const std::vector<std::string>& rows) {
  return writeTextLines(path, rows);
}

std::string quoteListBase(std::string_view qtlPath) {
  std::string p(qtlPath);
  for (std::size_t i = 0; i + 4 <= p.size(); ++i)
    if (::strncasecmp(p.c_str() + i, ".qtl", 4) == 0) return p.substr(0, i);
  return {};
}

long UDWatch(const std::string& qtlPath, const ListUpdate& how) {
  static bool running = false;
  if (running) return -1;
  running = true;
  struct Reset {
    ~Reset() { running = false; }
  } reset;

  if (how.byOptions) UDOptions(qtlPath);
  std::string base = quoteListBase(qtlPath);
  if (base.empty()) return -1;
  FileCopy(base + ".bak", qtlPath, false);
  TextLineReader in(qtlPath);
  if (!in.isOpen()) {
    errmsg(formatText(381, "Cannot Open Input Stream for Quotefile -- %s", qtlPath.c_str()));
    return -1;
  }
  std::string work = base + ".qft";
  if (!replaceFileContent(work, "")) {
    errmsg(formatText(381, "Cannot Open Output Stream for Quotefile -- %s", work.c_str()));
    return -1;
  }

  std::string out, line;
  long count = 0;
  bool first = true, stopped = false;
  while (in.next(line)) {
    if (stopRequested(how)) {
      stopped = true;
      break;
    }
    line = tabsConverted(line);
    RequestFields f = splitRequestLine(line);
    if (first || f.fileName.empty()) {
      out += line + "\n";
      first = false;
      continue;
    }
    std::string l = f.symbol + "   " + f.fileName + "   " + f.coName + "   ";
    std::vector<std::string> rest = twoBlankFields(f.rest);
    const char* keys[] = {"ALARMS", "HA=", "LA="};
    for (int k = 0; k < 3; ++k)
      if (rest.size() > static_cast<std::size_t>(k) && rest[k].find(keys[k]) != std::string::npos)
        l += rest[k] + "   ";
    l += displayColumns(pathsOf(f).quoteFile, how);
    out += l + "\n";
    ++count;
    status(formatText(181, "Quotes Updated...%ld", count));
  }
  if (!replaceFileContent(work, out)) {
    errmsg(formatText(381, "Cannot Open Output Stream for Quotefile -- %s", work.c_str()));
    return -1;
  }
  if (stopped || stopRequested(how)) return -1;
  if (FileCopy(qtlPath, work, true) < 0) return -1;
  status("Quotelist update complete!");
  return count;
}

int weight(std::string_view name) {
  if (name.size() < 5) return -1;
  std::size_t n = name.size();
  int c1 = name[n - 1] - '0', c2 = name[n - 2] - '0', c3 = name[n - 3] - '0';
  return (c1 + 10 * c2) * 100 + c3;
}

namespace {

// F with the characters from just after its backslash up to and including the underscore
// after it removed (D\D_N goes back to D\N); F unchanged without them.
std::string listFileName(const std::string& f) {
  std::size_t bs = f.find('\\');
  if (bs == std::string::npos) return f;
  std::size_t us = f.find('_', bs + 1);
  if (us == std::string::npos) return f;
  return f.substr(0, bs + 1) + f.substr(us + 1);
}

// One insertion pass over the working copy; true when the request was inserted.
bool insertOption(std::vector<std::string>& lines, const std::string& s, const std::string& f) {
  for (const std::string& l : lines) {
    RequestFields r = splitRequestLine(l);
    if (r.symbol == s && GetSymPath(l) == f) return false;  // already listed
  }
  std::vector<std::string> out;
  bool seen = false, inserted = false;
  std::string lastName;
  int w = weight(f);
  for (const std::string& l : lines) {
    if (!inserted) {
      RequestFields r = splitRequestLine(l);
      if (r.symbol == s) {
        seen = true;
        lastName = r.coName;
        if (weight(GetSymPath(l)) < w) {
          out.push_back(l);
          continue;
        }
      }
      if (seen) {
        out.push_back(s + "   " + listFileName(f) + "   " + lastName);
        inserted = true;
      }
    }
    out.push_back(l);
  }
  if (inserted) lines = std::move(out);
  return inserted;
}

}  // namespace

long UDOptions(const std::string& qtlPath) {
  if (MessageBox("Search for and Insert New Options in Quotelist???\n\n(This may take a couple minutes.)",
                 "QUOVA UDOptions Message", mb::OKCANCEL) != IDOK)
    return -1;
  std::string base = quoteListBase(qtlPath);
  if (base.empty()) return -1;
  if (FileCopy(base + ".obk", qtlPath, false) < 0 || FileCopy(base + ".qft", qtlPath, false) < 0) {
    errmsg(formatText(381, "Cannot Open Input Stream for QuoteList -- %s", qtlPath.c_str()));
    return -1;
  }
  std::vector<std::string> requests;
  if (!readTextLines(base + ".tmp", requests)) {
    errmsg(formatText(381, "Cannot Open Input Stream for temp File -- %s", (base + ".tmp").c_str()));
    return -1;
  }
  long reviewed = 0, added = 0;
  for (const std::string& req : requests) {
    std::vector<std::string> f = twoBlankFields(req);
    if (f.size() < 2) continue;
    std::vector<std::string> lines;
    if (!readTextLines(base + ".qft", lines)) {
      errmsg(formatText(381, "Cannot Open Input Stream for QuoteList -- %s", (base + ".qft").c_str()));
      return -1;
    }
    ++reviewed;
    if (insertOption(lines, f[0], f[1])) {
      if (!writeTextLines(base + ".ud5", lines) || FileCopy(base + ".qft", base + ".ud5", false) < 0) {
        errmsg(formatText(381, "Cannot Open Output Stream for QuoteList -- %s", (base + ".ud5").c_str()));
        return -1;
      }
      ++added;
    }
    status(formatText(181, "%ld Quotes Reviewed, %ld New Options added", reviewed, added));
  }
  if (FileCopy(qtlPath, base + ".qft", true) < 0) return -1;
  return added;
}

}  // namespace quova
