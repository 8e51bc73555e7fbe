// Comma-separated history into records of a quote file's layout.
#include "repair/history_import.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

#include "quotes/quote_data.h"
#include "quotes/quote_line.h"
#include "util/dates.h"

namespace quova::repair {

namespace {

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '"')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '"'))
    s.remove_suffix(1);
  return s;
}

std::vector<std::string_view> splitFields(std::string_view row) {
  std::vector<std::string_view> out;
  std::size_t pos = 0;
  while (true) {
    std::size_t c = row.find(',', pos);
    out.push_back(trim(row.substr(pos, c == std::string_view::npos ? std::string_view::npos : c - pos)));
    if (c == std::string_view::npos) break;
    pos = c + 1;
  }
  return out;
}

bool number(std::string_view s, int* v) {
  if (s.empty() || s.size() > 4) return false;
  int n = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
    n = n * 10 + (c - '0');
  }
  *v = n;
  return true;
}

// "yyyy-mm-dd" (iso) or "mm/dd/yyyy" as "mm/dd/yyyy"; empty when it is neither.
std::string usDate(std::string_view s, bool* iso) {
  const char sep = s.find('-') != std::string_view::npos ? '-' : '/';
  std::size_t a = s.find(sep), b = a == std::string_view::npos ? a : s.find(sep, a + 1);
  if (b == std::string_view::npos || s.find(sep, b + 1) != std::string_view::npos) return {};
  int p[3];
  if (!number(s.substr(0, a), &p[0]) || !number(s.substr(a + 1, b - a - 1), &p[1]) ||
      !number(s.substr(b + 1), &p[2]))
    return {};
  *iso = sep == '-' || a == 4;
  const int y = *iso ? p[0] : p[2], m = *iso ? p[1] : p[0], d = *iso ? p[2] : p[1];
  if (y < 1901 || DayCount(m, d, y) < 0) return {};
  char out[16];
  std::snprintf(out, sizeof out, "%02d/%02d/%04d", m, d, y);
  return out;
}

// Every QuoteData field the import fills holds 41 bytes.
void put(char* field, std::string_view text) {
  const std::size_t n = std::min<std::size_t>(text.size(), 40);
  if (n > 0) std::memcpy(field, text.data(), n);
  field[n] = 0;
}

// The QuoteData text a descriptor field is written from (nullptr: none, or not read back).
char* fieldFor(QuoteData& q, int code) {
  switch (code) {
    case FC_HI:
    case FC_ASK: return q.High;
    case FC_LOW:
    case FC_BID: return q.Low;
    case FC_OPEN: return q.Open;
    case FC_CLOSE: return q.Close;
    case FC_PREV: return q.Prev;
    case FC_CHANGE: return q.Change;
    case FC_VOLUME: return q.Volume;
    case FC_DATE: return q.Date;
    case FC_PE_RATIO: return q.PE_Ratio;
    case FC_DIVIDEND: return q.Dividend;
    case FC_EARNINGS: return q.Earnings;
    case FC_OPENINTEREST: return q.openinterest;
    case FC_TIME: return q.Time;
    default: return nullptr;  // Symbol and Co_name hold 81 bytes; Temp, ExpChar, ExpYr read nothing
  }
}

// The columns of the download layout, found in a header row or in their usual order.
struct Columns {
  int date = 0, open = 1, high = 2, low = 3, close = 4, volume = 6;
};

bool headerColumns(const std::vector<std::string_view>& f, Columns* c) {
  auto find = [&](std::string_view name) {
    for (std::size_t i = 0; i < f.size(); ++i) {
      if (f[i].size() != name.size()) continue;
      bool same = true;
      for (std::size_t k = 0; k < name.size() && same; ++k)
        same = std::tolower(static_cast<unsigned char>(f[i][k])) == std::tolower(static_cast<unsigned char>(name[k]));
      if (same) return static_cast<int>(i);
    }
    return -1;
  };
  Columns h{find("Date"), find("Open"), find("High"), find("Low"), find("Close"), find("Volume")};
  if (h.date < 0) return false;
  *c = h;
  return true;
}

}  // namespace

ImportResult importHistory(std::string_view bytes, const OFtype& fmt) {
  ImportResult out;
  Columns cols;
  bool named = false, started = false;
  long row = 0;
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    std::size_t nl = bytes.find('\n', pos);
    std::string_view line = bytes.substr(pos, nl == std::string_view::npos ? std::string_view::npos : nl - pos);
    pos = nl == std::string_view::npos ? bytes.size() : nl + 1;
    ++row;
    if (trim(line).empty()) continue;
    const std::vector<std::string_view> f = splitFields(line);
    bool iso = false;
    const int dateCol = named ? cols.date : 0;
    const std::string date = dateCol < static_cast<int>(f.size()) ? usDate(f[dateCol], &iso) : std::string();
    auto reject = [&](const char* why) {
      out.rejected.push_back({row, std::string(line.substr(0, 200)), why});
    };
    if (date.empty()) {
      if (!started && !named && headerColumns(f, &cols)) named = true;
      if (started) reject("no date in its first field");
      else ++out.skipped;  // a header row, or the header lines of an export
      continue;
    }
    started = true;
    QuoteData q{};
    put(q.Date, date);
    if (named || iso) {
      auto at = [&](int i) { return i >= 0 && i < static_cast<int>(f.size()) ? f[i] : std::string_view(); };
      put(q.Open, at(cols.open));
      put(q.High, at(cols.high));
      put(q.Low, at(cols.low));
      put(q.Close, at(cols.close));
      put(q.Volume, at(cols.volume));
    } else {
      // An export: its fields stand in the descriptor's order.
      std::size_t k = 0;
      for (int i = 0; i < fmt.nFields && k < f.size(); ++i) {
        char* to = fieldFor(q, fmt.fieldCode[i]);
        if (!to) continue;
        std::string_view v = f[k++];
        const std::string_view prefix = fmt.prefixText[i];
        if (!prefix.empty() && v.substr(0, prefix.size()) == prefix) v.remove_prefix(prefix.size());
        if (fmt.fieldCode[i] != FC_DATE) put(to, v);
      }
    }
    if (!q.Volume[0]) put(q.Volume, "0");
    if (!q.High[0]) put(q.High, q.Close);
    if (!q.Low[0]) put(q.Low, q.Close);
    char composed[kQuoteLineSize];
    MakeQuoteString(composed, sizeof composed, &q, fmt, true);
    std::string text(composed);
    if (!text.empty() && text.back() == '\n') text.pop_back();
    Record r;
    if (!readRecord(text, fmt, &r) || r.date != GoodDate(date.c_str(), DATE_FMT_US)) {
      reject("does not read as a record of the file's layout");
      continue;
    }
    r.line = row;
    r.imported = true;
    out.rows.push_back(std::move(r));
  }
  return out;
}

}  // namespace quova::repair
