// The checker of the repair tool: every line of a quote file through ParseQuote, the header
// block as the chart sees it (the lines before the first record), and the problems found.
#include "repair/quote_check.h"

#include <algorithm>
#include <cstring>

#include "quotes/quote_line.h"
#include "util/clock.h"
#include "util/dates.h"

namespace quova::repair {

namespace {

constexpr unsigned char kHighBelowLow = 1, kCloseOutside = 2, kNotPositive = 4, kLong = 8;
constexpr std::size_t kShownText = 200;  // a finding keeps this much of its line

bool isRecordProblem(Problem p) {
  switch (p) {
    case Problem::DuplicateLine:
    case Problem::DuplicateDate:
    case Problem::OutOfOrder:
    case Problem::FutureDate:
    case Problem::HighBelowLow:
    case Problem::CloseOutside:
    case Problem::NotPositive:
    case Problem::LongLine: return true;
    default: return false;
  }
}

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

bool containsNoCase(std::string_view hay, std::string_view needle) {
  auto it = std::search(hay.begin(), hay.end(), needle.begin(), needle.end(), [](char a, char b) {
    return (a >= 'a' && a <= 'z' ? a - 32 : a) == b;
  });
  return it != hay.end();
}

// A price field that the line carries: read (not -1) or written. A missing high or low
// gets the close's text without a value, which is not a price of its own.
bool carried(float value, const char* text, const char* closeText) {
  if (value != -1.0f) return true;
  return text[0] != 0 && std::strcmp(text, closeText) != 0;
}

Finding finding(Problem p, long line, std::string_view text, long other = 0) {
  Finding f{p, line, other, std::string(text.substr(0, kShownText))};
  return f;
}

}  // namespace

bool needsPerson(Problem p) {
  return p == Problem::FutureDate || p == Problem::HighBelowLow || p == Problem::CloseOutside ||
         p == Problem::NotPositive || p == Problem::LongLine;
}

const char* problemName(Problem p) {
  switch (p) {
    case Problem::Unreadable: return "unreadable record line";
    case Problem::DuplicateLine: return "duplicate line";
    case Problem::DuplicateDate: return "same date with different values";
    case Problem::OutOfOrder: return "date out of order";
    case Problem::FutureDate: return "date in the future";
    case Problem::HighBelowLow: return "high below low";
    case Problem::CloseOutside: return "close outside high..low";
    case Problem::NotPositive: return "price not positive";
    case Problem::CtrlZ: return "Ctrl-Z byte";
    case Problem::NulBytes: return "NUL bytes";
    case Problem::NoLineEnd: return "last line without line end";
    case Problem::HeaderAfterRecords: return "header line after the first record";
    case Problem::BlankLine: return "blank line";
    case Problem::LongLine: return "line over 180 characters";
  }
  return "";
}

int todayDayNumber() {
  LocalTime t = now();
  return DayCount(t.month, t.day, t.year);
}

bool readRecord(const std::string& text, const OFtype& fmt, Record* r) {
  quotetype q;
  if (ParseQuote(text.c_str(), &q, fmt) != 0) return false;
  r->date = q.date;
  r->time = q.time;
  r->text = text;
  r->priceFaults = 0;
  const bool hi = carried(q.hi, q.hi_text, q.close_text), low = carried(q.low, q.low_text, q.close_text);
  const bool close = q.close_text[0] != 0, open = q.open_text[0] != 0;
  if ((hi && q.hi <= 0) || (low && q.low <= 0) || (close && q.close <= 0) || (open && q.open <= 0))
    r->priceFaults |= kNotPositive;
  if (hi && low && q.hi > 0 && q.low > 0 && q.hi < q.low) r->priceFaults |= kHighBelowLow;
  else if (hi && low && close && q.low > 0 && q.close > 0 && (q.close > q.hi || q.close < q.low))
    r->priceFaults |= kCloseOutside;
  if (text.size() > 180) r->priceFaults |= kLong;
  return true;
}

void checkRecords(Scan* scan, const OFtype& fmt, int today) {
  auto& f = scan->findings;
  f.erase(std::remove_if(f.begin(), f.end(), [](const Finding& x) { return isRecordProblem(x.problem); }), f.end());
  // The first line of each date: the records by (date, position), file lines only.
  std::vector<std::pair<int, std::size_t>> byDate;
  byDate.reserve(scan->records.size());
  for (std::size_t i = 0; i < scan->records.size(); ++i)
    if (!scan->records[i].imported) byDate.emplace_back(scan->records[i].date, i);
  std::sort(byDate.begin(), byDate.end());
  std::vector<std::size_t> firstOf(scan->records.size(), 0);
  for (std::size_t k = 0; k < byDate.size(); ++k)
    firstOf[byDate[k].second] = k > 0 && byDate[k - 1].first == byDate[k].first ? firstOf[byDate[k - 1].second]
                                                                               : byDate[k].second;
  const Record* prev = nullptr;
  for (std::size_t i = 0; i < scan->records.size(); ++i) {
    const Record& r = scan->records[i];
    const std::size_t before = f.size();
    // Imported rows meet the file's lines in the merge; here only their own values count.
    if (!r.imported && firstOf[i] != i) {
      const Record& a = scan->records[firstOf[i]];
      const bool same = trimmed(a.text) == trimmed(r.text);
      f.push_back(finding(same ? Problem::DuplicateLine : Problem::DuplicateDate, r.line, r.text, a.line));
    } else if (prev && !r.imported && r.date < prev->date) {
      f.push_back(finding(Problem::OutOfOrder, r.line, r.text, prev->line));
    }
    if (!r.imported) prev = &r;
    if (r.date > today) f.push_back(finding(Problem::FutureDate, r.line, r.text));
    if (r.priceFaults & kHighBelowLow) f.push_back(finding(Problem::HighBelowLow, r.line, r.text));
    if (r.priceFaults & kCloseOutside) f.push_back(finding(Problem::CloseOutside, r.line, r.text));
    if (r.priceFaults & kNotPositive) f.push_back(finding(Problem::NotPositive, r.line, r.text));
    if (r.priceFaults & kLong) f.push_back(finding(Problem::LongLine, r.line, r.text));
    for (std::size_t k = before; k < f.size(); ++k) f[k].imported = r.imported;
  }
  std::stable_sort(f.begin(), f.end(), [](const Finding& a, const Finding& b) {
    return a.imported != b.imported ? b.imported : a.line < b.line;
  });
}

Scan checkQuoteFile(std::string_view bytes, const OFtype& fmt, int today) {
  Scan s;
  s.records.reserve(static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1);
  std::vector<std::string_view> headerLines;
  bool inData = false;
  std::size_t pos = 0;
  std::string clean;
  while (pos < bytes.size()) {
    const std::size_t nl = bytes.find('\n', pos);
    const bool hasEnd = nl != std::string_view::npos;
    const std::size_t next = hasEnd ? nl + 1 : bytes.size();
    std::string_view raw = bytes.substr(pos, (hasEnd ? nl : bytes.size()) - pos);
    const long n = ++s.lines;
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
    bool nul = false, ctrlZ = false;
    if (!std::memchr(raw.data(), 0, raw.size()) && !std::memchr(raw.data(), 0x1A, raw.size())) {
      clean.assign(raw);
    } else {
      clean.clear();
      for (char c : raw) {
        if (c == 0) nul = true;
        else if (c == 0x1A) ctrlZ = true;
        else clean.push_back(c);
      }
    }
    Record r;
    r.line = n;
    const bool isRecord = !trimmed(clean).empty() && readRecord(clean, fmt, &r);
    if (!inData && !isRecord && !(ctrlZ && next == bytes.size())) {
      // A header line stays exactly as it stands.
      s.header.append(bytes.substr(pos, next - pos));
      headerLines.push_back(trimmed(raw));
      pos = next;
      continue;
    }
    inData = inData || isRecord;
    pos = next;
    if (nul) s.findings.push_back(finding(Problem::NulBytes, n, clean));
    if (ctrlZ) s.findings.push_back(finding(Problem::CtrlZ, n, clean));
    if (!hasEnd && !trimmed(clean).empty()) s.findings.push_back(finding(Problem::NoLineEnd, n, clean));
    if (trimmed(clean).empty()) {
      if (!nul && !ctrlZ) s.findings.push_back(finding(Problem::BlankLine, n, clean));
      continue;
    }
    if (isRecord) {
      s.records.push_back(std::move(r));
      continue;
    }
    const std::string_view t = trimmed(clean);
    const bool inHeader = std::find(headerLines.begin(), headerLines.end(), t) != headerLines.end();
    if (inHeader || containsNoCase(t, "SYMBOL:") || containsNoCase(t, "COMPANY NAME:")) {
      s.findings.push_back(finding(Problem::HeaderAfterRecords, n, clean));
      if (!inHeader && std::find(s.moved.begin(), s.moved.end(), t) == s.moved.end()) s.moved.emplace_back(t);
    } else {
      s.findings.push_back(finding(Problem::Unreadable, n, clean));
      ++s.unreadable;
    }
  }
  checkRecords(&s, fmt, today);
  return s;
}

}  // namespace quova::repair
