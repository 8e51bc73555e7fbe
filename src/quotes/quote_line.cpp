// Composing and parsing record lines under a quote format descriptor.
#include "quotes/quote_line.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "quotes/number_text.h"
#include "util/dates.h"
#include "util/strtools.h"

namespace quova {
namespace {

constexpr int kWorkLineSize = 512;  // a record line after tabs and commas became blanks
constexpr int kWorkTextSize = kQuoteMaxTokens * (kQuoteTokenSize - 1 + 3) + 1;

int fieldCount(const OFtype& fmt) {
  if (fmt.nFields < 0) return 0;
  return fmt.nFields > kMaxFormatFields ? kMaxFormatFields : fmt.nFields;
}

int clampTo(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

// The text of a field code; nullptr for codes without text. dateFormat: the pattern the
// Date field is written in.
const char* outputText(const QuoteData* q, const OFtype& fmt, int code, bool reformatDate) {
  switch (code) {
    case FC_HI: return q->High;
    case FC_LOW: return q->Low;
    case FC_BID: return q->Low;   // a bid is folded into the low by the append rule
    case FC_ASK: return q->High;  // and an ask into the high
    case FC_OPEN: return q->Open;
    case FC_CLOSE: return q->Close;
    case FC_PREV: return q->Prev;
    case FC_CHANGE: return q->Change;
    case FC_VOLUME: return q->Volume;
    case FC_DATE: return reformatDate ? FormattedOutputDate(q, fmt) : q->Date;
    case FC_PE_RATIO: return q->PE_Ratio;
    case FC_DIVIDEND: return q->Dividend;
    case FC_EARNINGS: return q->Earnings;
    case FC_TEMP: return q->Temp;
    case FC_OPENINTEREST: return q->openinterest;
    case FC_SYMBOL: return q->Symbol;
    case FC_CO_NAME: return q->Co_name;
    case FC_TIME: return q->Time;
    case FC_EXPCHAR: return q->ExpChar;
    case FC_EXPYR: return q->ExpYr;
    default: return nullptr;
  }
}

// A bounded line under construction: at most cap characters.
struct LineBuilder {
  char* s;
  int cap;
  int len = 0;
  void put(char c) {
    if (len < cap) s[len++] = c;
  }
  void put(const char* t) {
    while (*t && len < cap) s[len++] = *t++;
  }
};

// Reads the integer at the front of s the way atoi does (no overflow: at most 9 digits).
int leadingInt(const char* s) {
  while (*s == ' ') ++s;
  bool neg = false;
  if (*s == '+' || *s == '-') neg = *s++ == '-';
  int v = 0, digits = 0;
  while (*s >= '0' && *s <= '9' && digits < 9) v = v * 10 + (*s++ - '0'), ++digits;
  return neg ? -v : v;
}

// The work text being consumed from the front. take() is the toolkit's getnext on it
// (leading blanks dropped; a field longer than the capacities leaves its rest in front),
// done by moving a position instead of the text. The text holds no NUL before len and
// one at len.
struct Cursor {
  const char* s;
  int len;
  int p = 0;
  int cap;  // the work text's capacity (getnext's smax)

  bool empty() const { return p >= len; }
  char front() const { return p < len ? s[p] : 0; }
  // The NUL at len stops the loop.
  void skipBlanks() {
    while (s[p] == ' ') ++p;
  }
  int find(const char* delim, int dl) const {
    // A one-character delimiter ends a short word: a plain loop beats a library call.
    if (dl == 1) {
      for (int i = p; i < len; ++i)
        if (s[i] == delim[0]) return i - p;
      return -1;
    }
    // memchr to each candidate first character, then the rest of the delimiter.
    for (int i = p; i + dl <= len; ++i) {
      const void* hit = std::memchr(s + i, delim[0], static_cast<std::size_t>(len - dl + 1 - i));
      if (!hit) return -1;
      i = static_cast<int>(static_cast<const char*>(hit) - s);
      if ((dl == 1 || s[i + 1] == delim[1]) && (dl < 3 || s[i + 2] == delim[2])) return i - p;
    }
    return -1;
  }
  // Copies n characters from the front into dst (cut to dmax - 1).
  void copy(char* dst, int n, int dmax) const {
    if (n > dmax - 1) n = dmax - 1;
    if (n < 0) n = 0;
    std::memcpy(dst, s + p, static_cast<std::size_t>(n));
    dst[n] = 0;
  }
  bool take(char* dst, std::string_view delim, int dmax, bool advance = true) {
    int from = 0, n = 0;
    const bool found = takeSpan(delim, dmax, advance, from, n);
    std::memcpy(dst, s + from, static_cast<std::size_t>(n));
    dst[n] = 0;
    return found;
  }
  // take() without the copy: the n characters (already cut to dmax - 1) that it would copy
  // start at s + from. n is 0 when dmax < 1.
  bool takeSpan(std::string_view delim, int dmax, bool advance, int& from, int& n) {
    skipBlanks();
    from = p;
    int dl = static_cast<int>(delim.size());
    int d = find(delim.data(), dl);
    if (d < 0) {
      int rest = len - p;
      n = cut(rest < dmax ? rest : dmax, dmax);
      if (advance) p = len;
      return false;
    }
    int k = d;
    if (cap < k) k = cap;
    if (dmax < k) k = dmax;
    n = cut(k, dmax);
    if (advance) {
      p += k;
      if (p + dl <= len) p += dl;
    }
    return true;
  }
  // takeSpan(" ", dmax, advance) as a view: the word up to the next blank.
  std::string_view word(int dmax, bool advance = true) {
    skipBlanks();
    int e = p;
    while (e < len && s[e] != ' ') ++e;
    const bool found = e < len;
    const int k = found ? std::min({e - p, cap, dmax}) : std::min(len - p, dmax);
    const std::string_view w(s + p, static_cast<std::size_t>(cut(k, dmax)));
    if (advance) p = !found ? len : (p + k < len ? p + k + 1 : p + k);
    return w;
  }
  // copy()'s bounds of n characters into a buffer of dmax.
  static int cut(int n, int dmax) {
    if (n > dmax - 1) n = dmax - 1;
    return n < 0 ? 0 : n;
  }
  // posnextchar of the text still in front.
  int nextCharPos() const {
    for (int i = p; i < len; ++i)
      if (s[i] != ' ') return i - p;
    return -1;
  }
};

// Runs a field reader on a plain work buffer, then moves what is left to its front.
template <typename F>
int onWork(char* work, int workMax, F&& f) {
  Cursor c{work, static_cast<int>(std::strlen(work)), 0, workMax};
  int r = f(c);
  std::memmove(work, work + c.p, static_cast<std::size_t>(c.len - c.p) + 1);
  return r;
}

void nextWord(char* word, int wordMax, Cursor& work) { work.take(word, " ", wordMax); }

float* priceField(quotetype* q, int code, char** text) {
  switch (code) {
    case FC_HI: *text = q->hi_text; return &q->hi;
    case FC_LOW: *text = q->low_text; return &q->low;
    case FC_BID: *text = q->bid_text; return &q->bid;
    case FC_ASK: *text = q->ask_text; return &q->ask;
    case FC_OPEN: *text = q->open_text; return &q->open;
    case FC_CLOSE: *text = q->close_text; return &q->close;
    case FC_PREV: *text = q->prev_text; return &q->prev;
    case FC_CHANGE: *text = q->change_text; return &q->change;
    case FC_PE_RATIO: *text = q->pe_ratio_text; return &q->pe_ratio;
    case FC_DIVIDEND: *text = q->dividend_text; return &q->dividend;
    case FC_EARNINGS: *text = q->earnings_text; return &q->earnings;
    case FC_OPENINTEREST: *text = q->openinterest_text; return &q->openinterest;
    default: return nullptr;
  }
}

// The word without its first ':' ("4:00" gives "400") into out (capacity kQuoteTokenSize).
void withoutColon(std::string_view word, char* out) {
  const std::size_t colon = word.find(':');
  std::size_t n = word.copy(out, colon);
  if (colon != std::string_view::npos) n += word.substr(colon + 1).copy(out + n, word.size());
  out[n] = 0;
}

int readTime(Cursor& work, quotetype* q) {
  const std::string_view word = work.word(kQuoteTokenSize);
  q->time_text[word.copy(q->time_text, sizeof q->time_text - 1)] = 0;
  char digits[kQuoteTokenSize];
  withoutColon(word, digits);
  if (digits[0] == 0) return 0;
  q->time = leadingInt(digits);
  // An AM/PM marker right after the time (one blank between them) belongs to it.
  if (!work.empty() && work.front() != ' ') {
    char marker[kQuoteTokenSize];
    nextWord(marker, sizeof marker, work);
    strtoupper(marker);
    if (std::strstr(marker, "PM")) {
      if (q->time < 1200) q->time += 1200;
    } else if (std::strstr(marker, "AM")) {
      if (q->time >= 1200 && q->time < 1300) q->time -= 1200;
    }
    quova::strcat(q->time_text, " ", sizeof q->time_text);
    quova::strcat(q->time_text, marker, sizeof q->time_text);
  }
  return 0;
}

int readDate(Cursor& work, quotetype* q, const char* dateFormat, const char* refDate) {
  char word[20];
  const std::string_view w = work.word(sizeof word);
  word[w.copy(word, w.size())] = 0;
  // A word already in the default layout comes out of PreProcessDate as it went in.
  bool asIs = w.size() == 10 && word[2] == '/' && word[5] == '/' && std::strcmp(dateFormat, "mm/dd/yyyy") == 0;
  if (!asIs && !PreProcessDate(word, dateFormat, refDate)) return 0;  // date stays -1: rejected later
  int day = GoodDate(word, DATE_FMT_US);
  if (day < 0 || day > kMaxDayNumber) return -1;
  q->date = day;
  return 0;
}

// The next word as nextWord() would copy it into a buffer of kQuoteTokenSize.
std::string_view nextSpan(Cursor& work) { return work.word(kQuoteTokenSize); }

int readVolume(Cursor& work, quotetype* q) {
  if (work.nextCharPos() >= 15) return 0;  // too far away: the field is absent
  const std::string_view word = nextSpan(work);
  if (word.empty()) return 0;
  float v = 0;
  if (!readFloat(word, &v)) return -1;
  q->volume = v;
  return 0;
}

// A fraction "number, one separator character, number" with nothing after it.
bool readFraction(std::string_view s, double* value) {
  double num = 0, den = 0;
  std::size_t n = decimalPrefix(s, &num);
  if (n == 0 || n + 1 >= s.size()) return false;
  if (!readDecimal(s.substr(n + 1), &den) || den == 0.0) return false;
  *value = num / den;
  return std::isfinite(*value);
}

// A "/" after the first character marks a fraction.
bool slashAfterFirst(std::string_view word) {
  if (word.empty() || word[0] == '/') return false;
  for (char c : word)  // a short word: no library call
    if (c == '/') return true;
  return false;
}

// The fraction that follows a whole part after exactly one blank: a view into the work
// text, empty when there is none.
std::string_view fractionAfter(Cursor& work) {
  if (work.empty() || work.front() == ' ') return {};
  if (!slashAfterFirst(work.word(kQuoteTokenSize, false))) return {};
  return nextSpan(work);
}

// The next word and, when exactly one blank parts it from a fraction, that fraction: views
// into the work text, each at most kQuoteTokenSize - 1 characters (the text holds no NUL).
void wholeAndFractionSpans(Cursor& work, std::string_view& whole, std::string_view& fraction) {
  whole = fraction = {};
  const std::string_view word = nextSpan(work);
  if (slashAfterFirst(word)) {
    fraction = word;
    return;
  }
  whole = word;
  fraction = fractionAfter(work);
}

void wholeAndFraction(Cursor& work, char* whole, char* fraction) {
  std::string_view w, f;
  wholeAndFractionSpans(work, w, f);
  whole[w.copy(whole, w.size())] = 0;  // copy(), as an empty view may hold no pointer
  fraction[f.copy(fraction, f.size())] = 0;
}

// whole + fraction as a float; *error becomes 1 when that is out of a float's range.
float priceValue(double whole, double fraction, int* error) {
  double v = whole + fraction;
  if (!std::isfinite(v) || std::fabs(v) > 3.4028234663852886e38) {
    *error = 1;
    return 0.0f;
  }
  return static_cast<float>(v);
}

float convWF(std::string_view whole, std::string_view fraction, int* error) {
  *error = 0;
  double w = 0, f = 0;
  if ((whole.empty() && fraction.empty()) || (!whole.empty() && !readDecimal(whole, &w)) ||
      (!fraction.empty() && !readFraction(fraction, &f))) {
    *error = 1;
    return 0.0f;
  }
  return priceValue(w, f, error);
}

int price(Cursor& work, float* value, char* text) {
  // wholeAndFractionSpans and convWF, with the first word read as a number once: a decimal
  // holds no "/", so it is the whole part.
  const std::string_view word = nextSpan(work);
  double w = 0;
  const bool decimal = readDecimal(word, &w);
  std::string_view whole, fraction;
  if (decimal || !slashAfterFirst(word)) {
    whole = word;
    fraction = fractionAfter(work);
  } else {
    fraction = word;
  }
  int error = 0;
  const float v = decimal && fraction.empty() ? priceValue(w, 0.0, &error) : convWF(whole, fraction, &error);
  if (error) return -1;
  *value = v;
  // The price text: whole, " " and fraction, at most 19 characters.
  constexpr std::size_t kText = 19;
  std::size_t n = whole.copy(text, kText);
  if (!fraction.empty()) {
    if (!whole.empty() && n < kText) text[n++] = ' ';
    n += fraction.copy(text + n, kText - n);
  }
  text[n] = 0;
  return 0;
}

int inputField(int code, Cursor& work, quotetype* q, const char* dateFormat, const char* refDate) {
  char* text = nullptr;
  if (float* value = priceField(q, code, &text)) return price(work, value, text);
  switch (code) {
    case FC_VOLUME: return readVolume(work, q);
    case FC_DATE: return readDate(work, q, dateFormat, refDate);
    case FC_SYMBOL: work.take(q->symbol, "  ", sizeof q->symbol); return 0;
    case FC_CO_NAME: work.take(q->co_name, "  ", sizeof q->co_name); return 0;
    case FC_TIME: return readTime(work, q);
    case FC_TEMP:
    case FC_EXPCHAR:
    case FC_EXPYR: return 0;  // these consume nothing
    default: return -1;       // Num and unknown codes make the line unreadable
  }
}

// The line (at most 180 characters from its start, past the first tab or comma at plain)
// with tabs, and commas when they are no delimiter, as two blanks each; its length.
int widenedLine(const char* line, int plain, bool commas, char (&wide)[kWorkLineSize]) {
  int length = plain;
  while (length < kQuoteLineSize - 1 && line[length] && line[length] != '\n' && line[length] != '\r') ++length;
  int n = 0;
  for (int i = 0; i < length; ++i) {
    char c = line[i];
    if (c == '\t' || (commas && c == ',')) {
      if (n < kWorkLineSize - 1) wide[n++] = ' ';
      if (n < kWorkLineSize - 1) wide[n++] = ' ';
    } else if (n < kWorkLineSize - 1) {
      wide[n++] = c;
    }
  }
  wide[n] = 0;
  return n;
}

// The work text of the line's n characters: its tokens (parted by two blanks) with three
// blanks after each; a token equal to the current field's prefix text is dropped. Its length.
int workText(const char* line, int n, const OFtype& fmt, char (&work)[kWorkTextSize]) {
  char buf[kWorkLineSize];  // the n characters and a NUL, as the cursor needs
  std::memcpy(buf, line, static_cast<std::size_t>(n));
  buf[n] = 0;
  int wl = 0;
  std::string_view delim = fmt.delimiter == DELIM_COMMA ? std::string_view(",") : std::string_view("  ");
  Cursor in{buf, n, 0, kWorkLineSize};
  int field = 0;
  for (int tokens = 0; tokens < kQuoteMaxTokens && !in.empty(); ++tokens) {
    in.skipBlanks();
    const char* prefix = field < kMaxFormatFields ? fmt.prefixText[field] : "";
    int pl = prefix[0] ? static_cast<int>(strnlen(prefix, 20)) : 0;
    if (pl > 0 && in.len - in.p >= pl && std::strncmp(buf + in.p, prefix, static_cast<std::size_t>(pl)) == 0)
      in.p += pl;
    // The token (what take() would copy; the line holds no NUL) goes straight to the work text.
    int from = 0, tl = 0;
    in.takeSpan(delim, kQuoteTokenSize, true, from, tl);
    const char* token = buf + from;
    if (tl == pl && std::strncmp(token, prefix, static_cast<std::size_t>(pl)) == 0) continue;
    std::memcpy(work + wl, token, static_cast<std::size_t>(tl));
    wl += tl;
    work[wl++] = ' ';
    work[wl++] = ' ';
    work[wl++] = ' ';
    ++field;
  }
  work[wl] = 0;
  return wl;
}

// The first two blanks in a row at or after p in a text that has them. A byte that is no
// blank rules out the pairs that start at it and before it, so the scan moves two at a time.
int firstPair(const char* b, int p) {
  for (;; p += 2) {
    if (b[p + 1] != ' ') continue;
    if (b[p] == ' ') return p;
    if (b[p + 2] == ' ') return p + 1;
  }
}

// workText in one pass for the common line: blank-parted tokens of at most 40 characters
// and no prefix texts. -1 for any other line, which workText then reads. With no prefix an
// empty token is dropped, so the text is the tokens with three blanks after each.
int plainWorkText(const char* line, int n, const OFtype& fmt, char (&work)[kWorkTextSize]) {
  constexpr int kLongest = kQuoteTokenSize - 1;  // a longer token is cut: workText's case
  // The line, then two blanks and NULs, so that the scans below need no bounds and a token
  // can be copied as a block of kLongest characters.
  char b[kWorkLineSize + kLongest + 2];
  std::memcpy(b, line, static_cast<std::size_t>(n));
  b[n] = b[n + 1] = ' ';
  std::memset(b + n + 2, 0, kLongest);
  int wl = 0, field = 0, p = 0;
  for (int tokens = 0; p < n; ++tokens) {
    if (tokens == kQuoteMaxTokens || fmt.prefixText[field][0]) return -1;
    while (b[p] == ' ') ++p;
    if (p >= n) break;  // only blanks were left: an empty token
    // The token runs to the first two blanks; a single blank at the end of the line (before
    // the added ones) is still part of it.
    const int from = p;
    p = firstPair(b, p);
    if (p == n - 1) ++p;
    const int tl = p - from;
    if (tl > kLongest) return -1;
    std::memcpy(work + wl, b + from, kLongest);  // the characters past the token are overwritten
    wl += tl;
    p = p < n ? p + 2 : n;
    work[wl++] = ' ';
    work[wl++] = ' ';
    work[wl++] = ' ';
    ++field;
  }
  work[wl] = 0;
  return wl;
}

}  // namespace

const char* FormattedOutputDate(const QuoteData* quote, const OFtype& fmt) {
  static char result[16];
  if (fmt.outDateFormat[0] == 0) return quote->Date;
  char date[20];
  quova::strcpy(date, quote->Date, sizeof date);
  char layout[20];
  quova::strcpy(layout, date, sizeof layout);
  if (PreProcessDate(layout, fmt.outDateFormat, fmt.refDate)) quova::strcpy(date, layout, sizeof date);
  ReFormatDate(date, result, fmt.outDateFormat);
  return result;
}

bool ReFormatDate(const char* date, char* out, const char* pattern) {
  constexpr int kOut = 16;
  auto part = [&](int start, int n, char* dst) {
    int len = static_cast<int>(std::strlen(date));
    int k = 0;
    for (int i = start; i < start + n && i < len; ++i) dst[k++] = date[i];
    dst[k] = 0;
  };
  char month[3], day[3], year[8];
  part(0, 2, month);
  part(3, 2, day);
  part(6, 4, year);
  if (std::strlen(year) == 2 && year[0] >= '0' && year[0] <= '9' && year[1] >= '0' && year[1] <= '9')
    std::snprintf(year, sizeof year, "%04d", expandShortYear((year[0] - '0') * 10 + (year[1] - '0')));
  int yl = static_cast<int>(std::strlen(year));
  LineBuilder b{out, kOut - 1};
  for (const char* p = pattern ? pattern : ""; *p;) {
    if (std::strncmp(p, "yyyy", 4) == 0) {
      b.put(year);
      p += 4;
    } else if (std::strncmp(p, "yy", 2) == 0) {
      b.put(yl >= 2 ? year + yl - 2 : year);
      p += 2;
    } else if (*p == 'y') {
      b.put(yl >= 1 ? year + yl - 1 : year);
      p += 1;
    } else if (std::strncmp(p, "mm", 2) == 0) {
      b.put(month);
      p += 2;
    } else if (std::strncmp(p, "dd", 2) == 0) {
      b.put(day);
      p += 2;
    } else {
      b.put(*p++);
    }
  }
  out[b.len] = 0;
  return true;
}

void MakeQuoteString(char* line, int size, const QuoteData* quote, const OFtype& fmt,
                     bool reformatDate) {
  if (!line || size <= 0) return;
  if (size < 2) {
    line[0] = 0;
    return;
  }
  // The record text stops at size - 2, so the line end always fits.
  LineBuilder b{line, size - 2};
  int n = fieldCount(fmt);
  for (int i = 0; i < n; ++i) {
    if (fmt.delimiter == DELIM_COMMA) {
      if (i > 0) b.put(',');
    } else if (fmt.delimiter == DELIM_TAB) {
      if (i > 0) b.put('\t');
    } else {
      int col = clampTo(fmt.columnPos[i], 0, kQuoteLineSize - 1);
      while (b.len < col && b.len < b.cap) b.put(' ');
    }
    for (int k = clampTo(fmt.leadBlanks[i], 0, kQuoteLineSize - 1); k > 0; --k) b.put(' ');
    char prefix[21];
    quova::strcpy(prefix, fmt.prefixText[i], sizeof prefix);
    b.put(prefix);
    const char* text = outputText(quote, fmt, fmt.fieldCode[i], reformatDate);
    if (!text) {
      // The toolkit's warning for a missing source ("source string = NULL!!!").
      char none[2] = {0};
      quova::strcat(none, nullptr, sizeof none);
      continue;
    }
    b.put(text);
  }
  while (b.len > 0 && line[b.len - 1] == ' ') --b.len;
  if (b.len > 0 && line[b.len - 1] == ',') --b.len;
  line[b.len++] = '\n';
  line[b.len] = 0;
}

void GetWF(char* work, int workMax, char* whole, char* fraction) {
  onWork(work, workMax, [&](Cursor& c) {
    wholeAndFraction(c, whole, fraction);
    return 0;
  });
}

float ConvWF(const char* whole, const char* fraction, int* error) {
  return convWF(whole ? std::string_view(whole) : std::string_view(),
                fraction ? std::string_view(fraction) : std::string_view(), error);
}

int ParseQuote(const char* line, quotetype* q, const OFtype& fmt) {
  quotetypeInit(q);
  if (!line) return 1;
  const bool commas = fmt.delimiter != DELIM_COMMA;
  // The line ends at its first NUL, line feed or carriage return, and at 179 characters.
  const std::size_t plain = std::strcspn(line, commas ? "\t,\n\r" : "\t\n\r");
  const bool widen =
      plain < static_cast<std::size_t>(kQuoteLineSize - 1) && (line[plain] == '\t' || line[plain] == ',');
  char wide[kWorkLineSize];
  const char* buf = line;
  int n = static_cast<int>(std::min<std::size_t>(plain, kQuoteLineSize - 1));
  if (widen) {
    n = widenedLine(line, static_cast<int>(plain), commas, wide);
    buf = wide;
  }
  char work[kWorkTextSize];
  int wl = fmt.delimiter == DELIM_COMMA ? -1 : plainWorkText(buf, n, fmt, work);
  if (wl < 0) wl = workText(buf, n, fmt, work);

  Cursor w{work, wl, 0, kWorkTextSize};
  int count = fieldCount(fmt);
  for (int i = 0; i < count; ++i)
    if (inputField(fmt.fieldCode[i], w, q, fmt.outDateFormat, fmt.refDate) != 0) return 1;
  if (q->date < 0 || q->date > kMaxDayNumber) return 1;
  if (q->hi < 0) quova::strcpy(q->hi_text, q->close_text, sizeof q->hi_text);
  if (q->low < 0) quova::strcpy(q->low_text, q->close_text, sizeof q->low_text);
  w.take(q->rest, " ", sizeof q->rest);
  return 0;
}

}  // namespace quova
