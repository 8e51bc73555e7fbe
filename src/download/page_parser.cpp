// The page parser: passes, group triggers, quote start and end, pre-processing, the fields
// of a quote, prices in whole numbers and fractions, the AddOn reader and the parse notes.
#include "download/page_parser.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "base/host.h"
#include "base/log.h"
#include "base/root_path.h"
#include "quotes/number_text.h"
#include "quotes/quote_line.h"
#include "quotes/quote_names.h"
#include "util/dates.h"
#include "util/markettime.h"
#include "util/paths.h"
#include "util/strtools.h"

namespace quova {

namespace {

void tabsToBlanks(std::string& s) {
  if (s.find('\t') == std::string::npos) return;
  std::string out;
  out.reserve(s.size() + 16);
  for (char c : s) {
    if (c == '\t')
      out += "  ";
    else
      out += c;
  }
  s.swap(out);
}

void trimLeft(std::string& s) {
  size_t b = s.find_first_not_of(' ');
  if (b == std::string::npos)
    s.clear();
  else if (b)
    s.erase(0, b);
}

void trimRight(std::string& s) {
  size_t e = s.find_last_not_of(' ');
  s.erase(e == std::string::npos ? 0 : e + 1);
}

// Every blank and non-breaking space removed (remAllWS on a bounded copy).
std::string noWhiteSpace(const std::string& s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    unsigned char c = s[i];
    if (c == ' ' || c == 0xA0) continue;
    if (c == 0xC2 && i + 1 < s.size() && static_cast<unsigned char>(s[i + 1]) == 0xA0) {
      ++i;
      continue;
    }
    out += s[i];
  }
  return out;
}

void put(char* field, int cap, const std::string& text) {
  quova::strcpy(field, text.c_str(), cap);
  cleanField(field);
}

bool isPriceCode(int code) {
  return (code >= 1 && code <= 8) || code == 15;
}

const char* noteName(int code) {
  static const char* names[17] = {"",      "Hi",       "Low",      "Bid",      "Ask",  "Open",
                                  "Close", "Prev",     "Change",   "volume",   "Date", "PE_Ratio",
                                  "Dividend", "Earnings", "Temp", "Num", "OpenInterest"};
  return code >= 1 && code <= 16 ? names[code] : "";
}

}  // namespace

void cleanField(char* field) {
  for (char* p = field; *p; ++p)
    if (static_cast<unsigned char>(*p) < 32 || *p == 127) *p = ' ';
}

PageParser::PageParser(const DownloadSettings& s, ParseHooks& hooks, ParseSwitches sw)
    : s_(s), hooks_(hooks), sw_(sw) {
  QuoteDataMirrorInit(&mirror_);
  QuoteDataClear(&record_);
  QuoteDataClear(&addOnRecord_);
  QuoteDataMirrorInit(&addOnMirror_);
}

void PageParser::writePQuotes(const char* format, ...) {
  if (!sw_.JustShowPQuotes) return;
  char note[501];
  va_list ap;
  va_start(ap, format);
  int n = std::vsnprintf(note, sizeof note, format, ap);
  va_end(ap);
  if (n < 0 || n > 500) {
    LogBox("format output exceeds temp_str length", "in routine DownLoadView::writePQuotes",
           mb::OK | mb::ICONEXCLAMATION);
    return;
  }
  if (parsed) parsed(note);
}

// ---- triggers ----

bool PageParser::CheckForTrigger(const std::string& line, int& group, int n) {
  int count = std::min<int>(n, static_cast<int>(s_.groups.size()));
  for (int g = 0; g < count; ++g) {
    const QcfGroup& gr = s_.groups[g];
    if (gr.pass != pass) continue;
    if (line.find(gr.groupTrigger) == std::string::npos) continue;
    group = g;
    groupTriggered_[g] = true;
    anyTrigger = passTrigger_ = true;
    return true;
  }
  return false;
}

bool PageParser::QuoteStartTrigger(const std::string& line, int group) const {
  const QcfGroup& g = s_.groups[group];
  if (!g.triggerString) return false;
  const std::string& t = *g.triggerString;
  if (iequals(t, "NoTrigger") || t.empty()) return true;
  size_t at = line.find(t);
  if (at == std::string::npos) return false;
  if (g.triggerStringStart && iequals(*g.triggerStringStart, "Anywhere")) return true;
  return at == 0;
}

bool PageParser::QuoteExitCriteria(const std::string& line, int group) {
  const QcfGroup& g = s_.groups[group];
  if (!g.exitCriteria || line.find(*g.exitCriteria) == std::string::npos) return false;
  writePQuotes("  Quote Exit Criter Marker found -- %s\n", g.exitCriteria->c_str());
  return true;
}

// ---- pre-processing ----

void PageParser::ReplaceAll(std::string& line) const {
  for (const auto& [from, to] : s_.replacements) {
    if (from.empty()) continue;
    // Each pair repeats until its text is gone, but never more often than the line is
    // long, so a replacement that holds its own search text cannot grow without end.
    size_t limit = line.size() + 1;
    size_t at = 0;
    while (limit-- > 0 && (at = line.find(from)) != std::string::npos) {
      line.replace(at, from.size(), to);
      if (line.size() > static_cast<size_t>(kPageLineSize - 1)) line.resize(kPageLineSize - 1);
    }
  }
}

bool PageParser::LookForDate(std::string& line, QuoteData* q, int group) {
  const std::string& delim = s_.groups[group].autoDateDelimiter;
  size_t p = 0;
  while (p < line.size()) {
    size_t b = line.find_first_not_of(' ', p);
    if (b == std::string::npos) break;
    size_t e = delim.empty() ? std::string::npos : line.find(delim, b);
    std::string tok = line.substr(b, (e == std::string::npos ? line.size() : e) - b);
    p = e == std::string::npos ? line.size() : e + delim.size();
    if (tok.size() > 40) tok.resize(40);
    char date[41];
    quova::strcpy(date, tok.c_str(), sizeof date);
    if (std::strlen(date) > 11) continue;
    char work[41];
    quova::strcpy(work, date, sizeof work);
    if (!PreProcessDate(work, s_.dateFormat.c_str(), s_.marketDate.c_str())) continue;
    int day = PrepDate(work);
    if (day <= 0) continue;
    put(q->Date, sizeof q->Date, charDate(static_cast<float>(day), DATE_FMT_US, 4));
    writePQuotes("AutoDate -- %s  ", q->Date);
    size_t at = line.find(tok);
    if (at != std::string::npos) line.erase(at, tok.size());
    return true;
  }
  return false;
}

bool PageParser::PreProcessQuote(std::string& line, QuoteData* q, int group) {
  // Tags become blanks; a "<" without a later ">" ends this step.
  size_t lt = 0;
  while ((lt = line.find('<', lt)) != std::string::npos) {
    size_t gt = line.find('>', lt);
    if (gt == std::string::npos) break;
    std::fill(line.begin() + lt, line.begin() + gt + 1, ' ');
    lt = gt + 1;
  }
  trimLeft(line);
  ReplaceAll(line);
  trimRight(line);
  if (line.empty()) return false;
  if (group >= 0 && s_.groups[group].dateMode == 1) LookForDate(line, q, group);
  // Character entities: "&nbsp;" leaves "n".
  for (;;) {
    size_t amp = line.find('&');
    size_t semi = line.find(';');
    if (amp == std::string::npos || semi == std::string::npos || semi < amp + 3) break;
    line.erase(amp + 2, semi - amp - 1);
    line.erase(amp, 1);
  }
  trimRight(line);
  if (!line.empty() && sw_.JustShowPPLine && ppl) ppl(line + "\n");
  return !line.empty();
}

// ---- fields ----

bool PageParser::takeFieldView(std::string_view& line, const QuoteSpecifier& sp, std::string& field) const {
  field.clear();
  const size_t b = line.find_first_not_of(' ');
  line.remove_prefix(b == std::string_view::npos ? line.size() : b);
  if (sp.start) {
    size_t at = line.find(*sp.start);
    if (at == std::string_view::npos) return false;  // the field is empty
    line.remove_prefix(at + sp.start->size());
  }
  std::string end = sp.end ? *sp.end : std::string(static_cast<size_t>(sp.spaces < 1 ? 1 : sp.spaces), ' ');
  size_t at = line.find(end);
  if (at == std::string_view::npos) {
    field = line.substr(0, 60);
    line.remove_prefix(field.size());
    return true;
  }
  if (at > 60) {
    // A field longer than 60 characters keeps its rest (and its end) in the line.
    field = line.substr(0, 60);
    line.remove_prefix(60);
    return true;
  }
  field = line.substr(0, at);
  line.remove_prefix(at + end.size());
  return true;
}

bool PageParser::takeField(std::string& line, const QuoteSpecifier& sp, std::string& field) const {
  // What is taken always comes off the front: one erase for all of it.
  std::string_view rest = line;
  const bool found = takeFieldView(rest, sp, field);
  line.erase(0, line.size() - rest.size());
  return found;
}

bool PageParser::getQuoteText(std::string& line, const QuoteSpecifier& sp, QuoteData* q) {
  std::string field;
  takeField(line, sp, field);
  trimLeft(field);
  trimRight(field);
  if (field.empty()) {
    writePQuotes("delimeter fail -- %s\n", line.c_str());
    return false;
  }
  switch (sp.code) {
    case FC_SYMBOL:
      put(q->Symbol, sizeof q->Symbol, field);
      writePQuotes("symbol -- %s  ", q->Symbol);
      return true;
    case FC_CO_NAME: {
      size_t at;
      while ((at = field.find("  ")) != std::string::npos) field.erase(at, 1);
      put(q->Co_name, sizeof q->Co_name, field);
      writePQuotes("co_name -- %s  ", q->Co_name);
      return true;
    }
    case FC_TIME:
      put(q->Time, sizeof q->Time, field);
      writePQuotes("Time -- %s  ", q->Time);
      return true;
    case FC_EXPCHAR:
      put(q->ExpChar, sizeof q->ExpChar, field);
      writePQuotes("ExpChar -- %s  ", q->ExpChar);
      return true;
    case FC_EXPYR:
      put(q->ExpYr, sizeof q->ExpYr, field);
      writePQuotes("ExpYr -- %s  ", q->ExpYr);
      return true;
    default:
      writePQuotes("  ** Text FAIL\n");
      return false;
  }
}

void PageParser::GetWF(std::string& text, std::string& whole, std::string& fraction) {
  whole.clear();
  fraction.clear();
  // Words are separated by single blanks; a run of two blanks ends the price.
  auto next = [](std::string& t, bool first) {
    if (first)
      trimLeft(t);
    else if (!t.empty() && t[0] == ' ')
      return std::string();
    size_t e = t.find(' ');
    std::string w = t.substr(0, e);
    t.erase(0, e == std::string::npos ? t.size() : e + 1);
    return w;
  };
  std::string w = next(text, true);
  if (w == "+" || w == "-") w += next(text, false);
  if (w.find('/') != std::string::npos) {
    fraction = w;
    if (w.back() == '/') fraction += next(text, false);
    return;
  }
  whole = w;
  size_t end = text.find("  ");
  if (text.substr(0, end).find('/') == std::string::npos) return;
  // The following words may complete a fraction: 3/8, 3/ 8, 3 /8, 3 / 8.
  std::string keep = text;
  std::string a = next(text, false);
  if (a.empty() || a[0] == '+' || a[0] == '-') {
    text = keep;
    return;
  }
  std::string f = a;
  if (a.find('/') != std::string::npos) {
    if (a.back() == '/' && a.size() > 1) f += next(text, false);
  } else {
    std::string b = next(text, false);
    if (b.empty() || b[0] != '/') {
      text = keep;
      return;
    }
    f += b;
    if (b == "/") f += next(text, false);
  }
  size_t slash = f.find('/');
  if (slash == 0 || slash + 1 >= f.size()) {
    text = keep;
    return;
  }
  fraction = f;
}

std::string PageParser::GetQuote(const std::string& whole, const std::string& fraction) const {
  int err = 0;
  bool plain = s_.currencyDivisor == 1.0;
  if (!plain || s_.NoFractions) {
    float v = ConvWF(whole.c_str(), fraction.c_str(), &err);
    if (!err) {
      double value = plain ? v : v / s_.currencyDivisor;
      char text[64];
      std::snprintf(text, sizeof text, "%14.3lf", value);
      std::string t = text;
      trimLeft(t);
      return t;
    }
  }
  if (!whole.empty() && !fraction.empty()) return whole + " " + fraction;
  return whole.empty() ? fraction : whole;
}

bool PageParser::storeNumber(std::string& line, const QuoteSpecifier& sp, QuoteData* q, bool modified,
                             const std::string& modifiedText, double tested) {
  int code = sp.code;
  std::string field;
  if (modified) {
    field = modifiedText;
  } else if (isPriceCode(code) && !sp.start && !sp.end) {
    field.clear();  // the price is read from the line's words below
  } else {
    takeField(line, sp, field);
    trimLeft(field);
    if (field == "+" || field == "-") {
      std::string more;
      takeField(line, sp, more);
      field += more;
    }
  }
  if (isPriceCode(code)) {
    std::string whole, fraction;
    if (modified || sp.start || sp.end) {
      GetWF(field, whole, fraction);
    } else {
      GetWF(line, whole, fraction);
    }
    std::string text = GetQuote(whole, fraction);
    if ((code >= FC_HI && code <= FC_ASK) && tested == 0) text.clear();
    char* target = nullptr;
    int cap = 41;
    switch (code) {
      case FC_HI: target = q->HiParsed; break;
      case FC_LOW: target = q->LowParsed; break;
      case FC_BID: target = q->Bid; break;
      case FC_ASK: target = q->Ask; break;
      case FC_OPEN: target = q->Open; break;
      case FC_CLOSE: target = q->Close; break;
      case FC_PREV: target = q->Prev; break;
      case FC_CHANGE: target = q->Change; break;
      default: break;  // Num is read and dropped
    }
    if (target) put(target, cap, text);
    writePQuotes((std::string(noteName(code)) + " -- %s  ").c_str(), text.c_str());
    return true;
  }
  std::string v = noWhiteSpace(field);
  switch (code) {
    case FC_VOLUME: {
      size_t at;
      while ((at = v.find(',')) != std::string::npos) v.erase(at, 1);
      if (iequals(v, "N/A")) v = "0";
      put(q->Volume, sizeof q->Volume, v);
      break;
    }
    case FC_DATE: {
      char d[41];
      quova::strcpy(d, v.c_str(), 12);
      PreProcessDate(d, s_.dateFormat.c_str(), s_.marketDate.c_str());
      put(q->Date, sizeof q->Date, d);
      char work[41];
      quova::strcpy(work, d, sizeof work);
      int day = PrepDate(work);
      if (day > 0) put(q->Date, sizeof q->Date, charDate(static_cast<float>(day), DATE_FMT_US, 4));
      break;
    }
    case FC_PE_RATIO: put(q->PE_Ratio, sizeof q->PE_Ratio, v); break;
    case FC_DIVIDEND: put(q->Dividend, sizeof q->Dividend, v); break;
    case FC_EARNINGS: put(q->Earnings, sizeof q->Earnings, v); break;
    case FC_TEMP: put(q->Temp, sizeof q->Temp, v); break;
    case FC_OPENINTEREST: put(q->openinterest, sizeof q->openinterest, v); break;
    default:
      writePQuotes("  ** Numeric FAIL\n");
      return false;
  }
  const char* stored = code == FC_VOLUME ? q->Volume : code == FC_DATE ? q->Date : v.c_str();
  writePQuotes((std::string(noteName(code)) + " -- %s  ").c_str(), stored);
  return true;
}

bool PageParser::getQuoteNum(std::string& line, const QuoteSpecifier& sp, int group, QuoteData* q) {
  int code = sp.code;
  if (code < 1 || code > 16) {
    writePQuotes("  ** Numeric FAIL\n");
    return false;
  }
  // The test read takes its fields from a view of the line: the line keeps them when the
  // value is stored as read, and loses them when it fails or a modified value is stored.
  std::string_view rest = line;
  std::string field;
  takeFieldView(rest, sp, field);
  field = noWhiteSpace(field);
  if (field == "+" || field == "-") {
    std::string more;
    takeFieldView(rest, sp, more);
    field += noWhiteSpace(more);
  }
  double value = 0;
  bool ok = true;
  bool quiet = s_.ScreenForNumerics;
  if (code == FC_VOLUME) {
    std::string v = field;
    size_t at;
    while ((at = v.find(',')) != std::string::npos) v.erase(at, 1);
    if (iequals(v, "N/A"))
      value = 0;
    else if (!IsNumeric(v.c_str()) || !readDecimal(v, &value))
      ok = false;
    if (!ok && !quiet) writePQuotes("Volume Test Read Fail -- %s\n", field.c_str());
  } else if (code == FC_DATE) {
    char d[41];
    quova::strcpy(d, field.c_str(), 12);
    ok = field.size() <= 11 && PreProcessDate(d, s_.dateFormat.c_str(), s_.marketDate.c_str()) && PrepDate(d) > 0;
    if (!ok && !quiet) writePQuotes("Date Test Read Fail -- %s\n", field.c_str());
  } else if (code != FC_TEMP) {
    ok = !field.empty() && IsNumeric(field.c_str()) && field.size() < 41;
    if (ok) {
      std::string w = field, whole, fraction;
      // The test read of a price: its whole part and fraction must convert.
      char work[41];
      quova::strcpy(work, w.c_str(), sizeof work);
      char wh[kQuoteTokenSize], fr[kQuoteTokenSize];
      quova::GetWF(work, sizeof work, wh, fr);
      int err = 0;
      float v = ConvWF(wh, fr, &err);
      ok = !err && std::isfinite(v);
      value = v;
    }
    if (!ok && !quiet) writePQuotes("Quote Test Read Fail -- %s\n", field.c_str());
  }
  if (!ok) {
    line.erase(0, line.size() - rest.size());  // what did not read is dropped
    return false;
  }
  const NumericModifier& m = s_.groups[group].modifiers[code];
  if (m.mode == 1 || m.mode == 2) {
    double v = m.mode == 1 ? value * m.factor : value / m.factor;
    if (std::isfinite(v)) {
      char text[64];
      // Prices keep their decimals; a volume is a whole number.
      std::snprintf(text, sizeof text, code == FC_VOLUME ? "%14.0f" : "%14.3lf", v);
      std::string t = text;
      trimLeft(t);
      line.erase(0, line.size() - rest.size());
      return storeNumber(line, sp, q, true, t, v);
    }
  }
  return storeNumber(line, sp, q, false, {}, value);
}

// ---- one quote ----

void PageParser::onSuccess(QuoteData* q) {
  if (!q->Date[0]) put(q->Date, sizeof q->Date, s_.marketDate);
  if (!q->Time[0]) put(q->Time, sizeof q->Time, MarketTime(s_.tzAdjust));
  writePQuotes("  ** Success.\n");
  if (s_.coNameLookup) {
    for (const auto& [sym, name] : s_.coNames) {
      if (!iequals(sym, q->Symbol)) continue;
      quova::strcpy(q->Co_name, name.c_str(), 41);
      writePQuotes("MACRO added info -- co_name -- %s\n", q->Co_name);
      break;
    }
  }
  if (s_.createFuturesPath) {
    std::string sym = q->Symbol;
    quova::strcat(q->Co_name, " ", sizeof q->Co_name);
    quova::strcat(q->Co_name, q->ExpChar, sizeof q->Co_name);
    std::string dir = "F$" + sym;
    // A page symbol such as "../x" never makes a folder outside quotes.day.
    if (quoteFileName(dir, false)) makeDirectories(rootPath("quotes.day\\" + dir));
    put(q->FileName, sizeof q->FileName, dir + "\\" + q->ExpChar);
    put(q->AltFileName, sizeof q->AltFileName, dir + "\\" + dir + "_" + q->ExpChar);
    writePQuotes("MACRO added info -- symPath -- %s\n", q->AltFileName);
  }
}

bool PageParser::ParseQuoteLine(PageLineReader* stream, std::string& line, int& group, QuoteData* q, int watch) {
  tabsToBlanks(line);
  trimLeft(line);
  if (group < 0 || group >= static_cast<int>(s_.groups.size())) return false;
  if (!QuoteStartTrigger(line, group) || QuoteExitCriteria(line, group)) return false;
  PreProcessQuote(line, q, group);
  const QcfGroup& g = s_.groups[group];
  int used = 1;
  int count = static_cast<int>(g.specifiers.size());
  for (int i = 0; i < count; ++i) {
    trimLeft(line);
    while (line.empty() && used < g.linesPerQuote) {
      if (!stream || !stream->getnextline(line)) {
        writePQuotes("  ** No more lines FAIL\n");
        return false;
      }
      if (line.size() >= static_cast<size_t>(kPageLineSize - 1)) line.clear();
      tabsToBlanks(line);
      trimLeft(line);
      if (QuoteStartTrigger(line, group) && !line.empty() && g.triggerString && !g.triggerString->empty() &&
          !iequals(*g.triggerString, "NoTrigger")) {
        writePQuotes("  New Quote Marker found -- %s\n", g.triggerString->c_str());
        i = 0;
        used = 0;
      }
      if (QuoteExitCriteria(line, group)) return false;
      if (PreProcessQuote(line, q, group)) ++used;
    }
    if (i == 0 && used == 0) used = 1;
    if (!g.groupTrigger.empty()) {
      int other = group;
      if (CheckForTrigger(line, other, watch)) {
        group = other;
        return false;  // the group changes
      }
    }
    const QuoteSpecifier& slot = g.specifiers[i];
    if (slot.code == 0) continue;
    if (line.empty()) {
      writePQuotes("  ** Short Quote FAIL\n");
      return false;
    }
    if (slot.code > 100) {
      if (!getQuoteText(line, slot, q)) return false;
      ++fieldsRead;
      continue;
    }
    size_t before = line.size();
    if (getQuoteNum(line, slot, group, q)) {
      ++fieldsRead;
      continue;
    }
    // ScreenForNumerics drops what did not read and tries the slot again; a retry that
    // consumed nothing would meet the same text for ever.
    if (!s_.ScreenForNumerics || line.size() >= before) return false;
    --i;
  }
  size_t at;
  while ((at = line.find('%')) != std::string::npos) line.erase(at, 1);
  trimLeft(line);
  trimRight(line);
  if (!line.empty()) {
    writePQuotes("  ** Residue FAIL -- %s\n", line.c_str());
    return false;
  }
  onSuccess(q);
  return true;
}

// ---- the AddOn reader ----

void PageParser::AddOnInit(const std::string& pagePath) {
  addOnGroup_ = -1;
  for (int g = 0; g < static_cast<int>(s_.groups.size()); ++g)
    if (s_.groups[g].quoteType == QT_ADDON) {
      addOnGroup_ = g;
      break;
    }
  addOn_.reset();
  addOnActive_ = false;
  if (addOnGroup_ < 0) return;
  addOn_ = std::make_unique<PageLineReader>(pagePath, s_.endOfLine);
  if (!addOn_->isOpen()) {
    LogBox("Could Not assign input stream to " + pagePath, "in AddOnInit", mb::OK | mb::ICONEXCLAMATION);
    addOn_.reset();
    return;
  }
  std::string line;
  const std::string& trig = s_.groups[addOnGroup_].groupTrigger;
  while (addOn_->getnextline(line, 478)) {
    if (line.size() >= 479) continue;
    if (line.find(trig) != std::string::npos) {
      addOnActive_ = true;
      return;
    }
  }
}

void PageParser::LookForAddOn() {
  if (!addOnActive_ || !addOn_) return;
  if (s_.groups[addOnGroup_].correlateBy == CB_CO_NAME) return;
  std::string line;
  while (addOn_->getnextline(line, 478)) {
    if (line.empty() || line.size() >= 479) continue;
    QuoteDataInit(&addOnRecord_, &addOnMirror_);
    int g = addOnGroup_;
    if (ParseQuoteLine(addOn_.get(), line, g, &addOnRecord_, 0)) return;
  }
  addOnActive_ = false;
}

void PageParser::CloseAddOn() {
  addOn_.reset();
  addOnActive_ = false;
}

// ---- passes ----

long PageParser::ParseQuotes(const std::string& pagePath) {
  PageLineReader in(pagePath, s_.endOfLine);
  if (!in.isOpen()) {
    LogBox("Could Not assign input stream to " + pagePath, "in ParseQuotesQCF", mb::OK | mb::ICONEXCLAMATION);
    return 0;
  }
  QuoteDataMirrorInit(&mirror_);
  QuoteDataInit(&record_, &mirror_);
  AddOnInit(pagePath);
  long saved = 0;
  handed_ = 0;
  int group = -1;
  int state = 0;  // by options: 0 underlying, 1 its options
  bool byOptions = s_.requestMode == BY_OPTIONS;
  auto save = [&](int g) {
    ++goodQuotes;
    if (sw_.JustShowPPLine) return;
    if (sw_.JustShowPQuotes) {
      hooks_.NoteQuoteLine(&record_, g, handed_++);
      return;
    }
    LookForAddOn();
    hooks_.SaveQuoteLine(&record_, saved, g, handed_++);
  };
  std::string line;
  while (in.getnextline(line)) {
    if (hooks_.stopped() || !KeepWindowsHappy()) break;
    if (line.empty() || line.size() >= static_cast<size_t>(kPageLineSize - 1)) continue;
    if (!byOptions) {
      CheckForTrigger(line, group, kMaxGroups);
      if (group < 0 || group == addOnGroup_) continue;
      QuoteDataInit(&record_, &mirror_);
      int g = group;
      if (ParseQuoteLine(&in, line, group, &record_, 4)) save(g);
      continue;
    }
    int g0 = 0;
    if (CheckForTrigger(line, g0, 1)) {
      state = 0;
      group = 0;
    }
    if (group < 0) continue;
    std::string asRead = line;
    QuoteDataInit(&record_, &mirror_);
    int g = state == 0 ? 0 : 1;
    if (g >= static_cast<int>(s_.groups.size())) continue;
    if (state == 0) {
      if (ParseQuoteLine(&in, line, g, &record_, 1)) {
        ++goodQuotes;
        hooks_.SetSecurityDirectory(&record_);
        state = 1;
      }
      continue;
    }
    // An option series belongs to the underlying just found: keep its symbol and folder.
    std::memcpy(record_.Symbol, mirror_.Symbol, sizeof record_.Symbol);
    std::memcpy(record_.AltFileName, mirror_.AltFileName, sizeof record_.AltFileName);
    std::memcpy(record_.Co_name, mirror_.Co_name, sizeof record_.Co_name);
    if (ParseQuoteLine(&in, line, g, &record_, 1)) {
      save(1);
      continue;
    }
    line = asRead;
    QuoteDataInit(&record_, &mirror_);
    int u = 0;
    if (ParseQuoteLine(&in, line, u, &record_, 1))
      hooks_.SetSecurityDirectory(&record_);
    else
      QuoteDataRestore(&record_, &mirror_);
  }
  CloseAddOn();
  return saved;
}

long PageParser::ParseQuotesQCF(const std::string& pagePath) {
  goodQuotes = fieldsRead = 0;
  anyTrigger = false;
  int passes = 1;
  for (const auto& g : s_.groups) passes = std::max(passes, g.pass + 1);
  long total = 0;
  for (pass = 0; pass < passes; ++pass) {
    passTrigger_ = false;
    char head[32];
    std::snprintf(head, sizeof head, "\nPass %02d\n\n", pass + 1);
    if (sw_.JustShowPQuotes && parsed) parsed(head);
    if (sw_.JustShowPPLine && ppl) ppl(head);
    total += ParseQuotes(pagePath);
    if (!passTrigger_) writePQuotes("\nPass %02d completed -- No Triggers Found\n", pass + 1);
    if (hooks_.stopped()) return 0;
  }
  if (!s_.historical) hooks_.CheckMendoraRequest();
  auto report = [&](const std::string& t) {
    hooks_.sessionText(t);
    LogText("\n" + t);
  };
  if (!anyTrigger) {
    report("No trigger phrases found.");
    report(formatText(400, "Likely invalid or unavailable symbols in %s,", listName.c_str()));
    report("or Quote Server at this URL is currently unresponsive.");
    report("If not, check URL & trigger phrases in " + qcfPath + ".");
    if (sw_.DiagnosticDisplays) {
      LogBox(formatText(2000,
                        "Diagonstic Displays are ON.\n\nThe download which just failed is stored in %s.\n\n"
                        "%s will be sent to your default editor.",
                        pagePath.c_str(), pagePath.c_str()),
             "Diagnostic Displays from routine ParseQuotesQCF", mb::OK | mb::ICONINFORMATION);
      hooks_.showPage(pagePath);
    }
  } else if (total == 0) {
    if (goodQuotes > 0)
      report("Good Quote(s) found but not saved, likely NOT new data.");
    else if (fieldsRead > 0)
      report("Possibly incomplete (or obsolete) quotes found.");
  }
  return total;
}

}  // namespace quova
