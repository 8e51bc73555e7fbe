// The download session's QCF reader: free keywords wherever they stand, then the positional
// items (settings, page, links, request mode, quotes per page, separator, groups with their
// triggers, passes, date and time items, specifiers and modifiers).
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/host.h"
#include "base/log.h"
#include "download/qcf.h"
#include "download/qcf_lines.h"
#include "quotes/number_text.h"
#include "util/dates.h"
#include "util/markettime.h"
#include "util/strtools.h"

namespace quova {

const FieldNameEntry kNumericFields[16] = {
    {"Hi", 1},    {"Low", 2},    {"Bid", 3},      {"Ask", 4},       {"Open", 5},     {"Close", 6},
    {"Prev", 7},  {"Change", 8}, {"Volume", 9},   {"Date", 10},     {"PE_Ratio", 11}, {"Dividend", 12},
    {"Earnings", 13}, {"Temp", 14}, {"Num", 15}, {"openinterest", 16}};
const FieldNameEntry kTextFields[5] = {
    {"Symbol", 101}, {"Co_name", 102}, {"Time", 103}, {"ExpChar", 104}, {"ExpYr", 105}};

namespace {

// A whole-text integer (an optional sign and digits, blanks around allowed).
bool readInt(std::string_view s, long* v) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  if (s.empty() || s.size() > 9) return false;
  size_t i = s[0] == '-' || s[0] == '+' ? 1 : 0;
  if (i == s.size()) return false;
  for (size_t k = i; k < s.size(); ++k)
    if (s[k] < '0' || s[k] > '9') return false;
  *v = std::strtol(std::string(s).c_str(), nullptr, 10);
  return true;
}

// Removes the first occurrence of key from tok; true when it was there.
bool takeKey(std::string& tok, std::string_view key) {
  size_t at = tok.find(key);
  if (at == std::string::npos) return false;
  tok.erase(at, key.size());
  return true;
}

// The text between the first and the last double quote; nothing without two quotes.
std::optional<std::string> quoted(std::string_view s) {
  size_t a = s.find('"');
  size_t b = s.rfind('"');
  if (a == std::string_view::npos || b == a) return std::nullopt;
  return std::string(s.substr(a + 1, b - a - 1));
}

int numericCodeOf(std::string_view name) {
  for (const auto& f : kNumericFields)
    if (iequals(name, f.name)) return f.code;
  return 0;
}
int textCodeOf(std::string_view name) {
  for (const auto& f : kTextFields)
    if (iequals(name, f.name)) return f.code;
  return 0;
}

}  // namespace

bool parseOutputFormat(const std::string& raw, OFtype* fmt) {
  size_t at = raw.find("OutputFormat=");
  if (at == std::string::npos) return true;
  std::string_view rest = std::string_view(raw).substr(at + std::strlen("OutputFormat="));
  OFtype f = *fmt;
  f.nFields = 0;
  int blanks = 0;
  std::string prefix;
  for (;;) {
    std::string_view after;
    std::string tok = firstToken(rest, &after);
    rest = after;
    if (tok.empty()) break;
    std::string name = tok;
    if (tok[0] == '"') {
      size_t close = tok.find('"', 1);
      if (close != std::string::npos) {
        prefix = tok.substr(1, close - 1).substr(0, 20);
        name = tok.substr(close + 1);
        if (name.empty()) continue;  // the text goes before the next field
      }
    }
    long n = 0;
    if (readInt(name, &n)) {
      blanks = static_cast<int>(n < 0 ? 0 : n > 180 ? 180 : n);
      continue;
    }
    int code = numericCodeOf(name);
    if (!code) code = textCodeOf(name);
    if (!code) return false;
    if (f.nFields >= kMaxFormatFields) break;
    f.fieldCode[f.nFields] = static_cast<std::int16_t>(code);
    f.leadBlanks[f.nFields] = static_cast<std::int16_t>(blanks);
    quova::strcpy(f.prefixText[f.nFields], prefix.c_str(), 21);
    ++f.nFields;
    blanks = 0;
    prefix.clear();
  }
  *fmt = f;
  return true;
}

void parseOutputPositions(const std::string& raw, OFtype* fmt) {
  size_t at = raw.find("OutputFieldPositions=");
  if (at == std::string::npos) return;
  std::string rest = raw.substr(at + std::strlen("OutputFieldPositions="));
  for (char& c : rest)
    if (c == ',') c = ' ';
  const char* p = rest.c_str();
  int i = 0;
  while (i < kMaxFormatFields) {
    char* e = nullptr;
    long v = std::strtol(p, &e, 10);
    if (e == p) break;
    fmt->columnPos[i++] = static_cast<std::int16_t>(v < 0 ? 0 : v > 180 ? 180 : v);
    p = e;
  }
}

bool applyOutputKey(const std::string& raw, OFtype* fmt) {
  if (raw.find("OutputFormat=") != std::string::npos) return parseOutputFormat(raw, fmt);
  parseOutputPositions(raw, fmt);
  return true;
}

namespace {

// Reading positions.
enum Pos {
  P_START = 0,
  P_SETTINGS = 1,
  P_PAGE = 2,
  P_BROWSER = 3,
  P_SYMSEARCH = 4,
  P_MODE = 5,
  P_NUMQ = 6,
  P_SEPARATOR = 7,
  P_FIRST_TRIGGER = 8,
  P_CORRELATE = 9,
  P_QUOTETYPE = 10,
  P_TRIGGER_STRING = 11,
  P_PASS = 12,
  P_LINES = 13,
  P_DATE = 14,
  P_DATEFMT = 15,
  P_TIME = 16,
  P_TIMEFMT = 17,
  P_SPEC = 18,
  P_MODIFIER = 19,
  P_IGNORE_REST = 20
};

class SessionReader {
 public:
  SessionReader(const QcfInput& in, DownloadSettings* s) : in_(in), s_(*s) {}
  QcfResult read(const std::string& path);

 private:
  void error(std::string_view text) {
    if (in_.configError)
      in_.configError(text);
    else
      LogBox(text, kQcfErrorCaption, mb::OK | mb::ICONEXCLAMATION);
  }
  void reject(std::string_view text) {
    error(text);
    rejected_ = true;
  }
  QcfGroup& group() { return s_.groups.back(); }
  void line(const std::string& raw, const std::string& text);
  bool freeKeyword(std::string tok, const std::string& raw, const std::string& text,
                   std::string_view rest);
  void positional(std::string tok, const std::string& raw, std::string_view rest);
  void settingsItem(std::string tok, const std::string& raw);
  bool groupBody(std::string& tok, const std::string& raw, std::string_view rest);
  void openGroup(std::string tok);
  std::string triggerValue(std::string tok, std::string_view key);
  bool specifierToken(const std::string& tok);
  bool modifierToken(const std::string& tok);
  void specifierLine(const std::string& first, const std::string& raw, std::string_view rest);
  void outputFormat(const std::string& raw);
  void outputPositions(const std::string& raw);
  void replaceAll(const std::string& raw);
  void historicalSuffix(const std::string& raw, std::string_view rest);
  void appendDate(std::string_view pattern);
  void timeZone(const std::string& value);
  void pageAddress(const std::string& value);

  const QcfInput& in_;
  DownloadSettings& s_;
  int pos_ = P_START;
  bool rejected_ = false;
  bool tableOpen_ = false;
  bool stop_ = false;
};

void SessionReader::pageAddress(const std::string& value) {
  if (in_.importMode) return;
  s_.pageAddress = value.substr(0, 520);
  if (s_.optionSymbol) s_.pageAddress += in_.firstSymbol;
}

void SessionReader::timeZone(const std::string& value) {
  // Only a zone letter is a zone: a longer text or "J" would shift the market date.
  bool letter = value.size() == 1 && value[0] >= 'A' && value[0] <= 'Z' && value[0] != 'J';
  if (!letter) {
    Log("\nTimezone=%s is not a zone letter (A-Z, not J); the download settings' zone %s is kept.",
        value.c_str(), s_.timeZone.c_str());
    return;
  }
  s_.timeZone = value;
  s_.marketDate = marketDateFor(in_.userTimeZone, s_.timeZone, &s_.tzAdjust);
}

void SessionReader::appendDate(std::string_view pattern) {
  if (in_.importMode) return;
  s_.pageAddress += appendDateText(pattern, s_);
}

void SessionReader::replaceAll(const std::string& raw) {
  size_t with = raw.find("with");
  std::optional<std::string> search, repl;
  if (with != std::string::npos) {
    size_t key = raw.find("ReplaceAll=");
    size_t from = key == std::string::npos ? 0 : key + std::strlen("ReplaceAll=");
    if (from > with) from = 0;
    search = quoted(std::string_view(raw).substr(from, with - from));
    repl = quoted(std::string_view(raw).substr(with + 4));
  }
  // An empty search text would match for ever.
  if (!search || !repl || search->empty()) {
    error(raw + " -- Invalid Format");
    return;
  }
  if (static_cast<int>(s_.replacements.size()) >= kMaxReplacePairs) {
    error("Max # of ReplaceAll macros exceeded.");
    return;
  }
  s_.replacements.emplace_back(*search, *repl);
}

void SessionReader::historicalSuffix(const std::string& raw, std::string_view rest) {
  long v[3];
  int n = 0;
  std::string r(rest);
  const char* p = r.c_str();
  while (n < 3) {
    while (*p == ' ') ++p;
    char* e = nullptr;
    long x = std::strtol(p, &e, 10);
    if (e == p) break;
    v[n++] = x;
    p = e;
  }
  while (*p == ' ') ++p;
  // A step below 1 would fetch the same page for ever.
  if (n != 3 || *p != '\0' || v[1] < 1) {
    reject(raw + " -- Invalid Format");
    return;
  }
  s_.historical = true;
  s_.histStart = static_cast<int>(v[0]);
  s_.histStep = static_cast<int>(v[1]);
  s_.histEnd = static_cast<int>(v[2]);
  s_.histPage = s_.histStart;
}

bool SessionReader::freeKeyword(std::string tok, const std::string& raw, const std::string& text,
                                std::string_view rest) {
  if (tok.find("ScreenForNumerics") != std::string::npos) return s_.ScreenForNumerics = true;
  if (tok.find("ForcedAppendsOn") != std::string::npos) return s_.ForcedAppendsOn = true;
  if (tok.find("RunMendora") != std::string::npos) return s_.RunMendora = true;
  if (tok.find("NoFractions") != std::string::npos) return s_.NoFractions = true;
  if (tok.find("NoCloseRequired") != std::string::npos) {
    group().closeRequired = false;
    return true;
  }
  if (tok.find("QtlHeader=") != std::string::npos) return true;
  if (takeKey(tok, "AppendDateRolloverTime=")) {
    long v = 0;
    if (readInt(tok, &v)) s_.rolloverTime = static_cast<int>(v);
    return true;
  }
  if (takeKey(tok, "AppendDate=")) {
    appendDate(tok);
    return true;
  }
  if (takeKey(tok, "Append=")) {
    if (!in_.importMode) s_.pageAddress += tok;
    return true;
  }
  if (takeKey(tok, "Suffix=")) {
    if (!in_.importMode) s_.suffix = tok.substr(0, tok.find(' ')).substr(0, 180);
    return true;
  }
  if (tok.find("HistoricalSuffix") != std::string::npos) {
    historicalSuffix(raw, rest);
    return true;
  }
  if (takeKey(tok, "OutputDateFormat=")) {
    quova::strcpy(s_.outputFormat.outDateFormat, tok.c_str(), 13);
    return true;
  }
  if (takeKey(tok, "EndOfLineString=")) {
    s_.endOfLine = firstToken(tok).substr(0, 180);
    return true;
  }
  if (takeKey(tok, "ExitCriteria=")) {
    group().exitCriteria = tok;
    return true;
  }
  if (takeKey(tok, "ImportDateFormat=")) {
    if (in_.importMode) s_.dateFormat = tok.substr(0, 40);
    return true;
  }
  if (takeKey(tok, "TriggerStringStart=")) {
    group().triggerStringStart = tok;
    return true;
  }
  if (tok.find("ReplaceAll=") != std::string::npos) {
    replaceAll(raw);
    return true;
  }
  if (tok.compare(0, 5, "MACRO") == 0) {
    if (tok.find("CreateFuturesFilePath") != std::string::npos) s_.createFuturesPath = true;
    if (tok.find("Co_nameLookup") != std::string::npos) s_.coNameLookup = true;
    if (tok.find("STARTCONAMELOOKUPTABLE") != std::string::npos) tableOpen_ = true;
    return true;
  }
  return false;
}

void SessionReader::outputFormat(const std::string& raw) {
  if (!parseOutputFormat(raw, &s_.outputFormat)) reject(raw + " -- Invalid Format Specifier...None Found");
}

void SessionReader::outputPositions(const std::string& raw) { parseOutputPositions(raw, &s_.outputFormat); }

void SessionReader::settingsItem(std::string tok, const std::string& raw) {
  size_t eq = tok.find('=');
  if (eq == std::string::npos || eq + 1 >= tok.size()) return;
  if (tok.find("OutputFormat=") != std::string::npos) return outputFormat(raw);
  if (tok.find("OutputFieldPositions=") != std::string::npos) return outputPositions(raw);
  if (takeKey(tok, "Header=")) {
    const char* name = iequals(tok, "none") ? "None.day" : tok.c_str();
    quova::strcpy(s_.outputFormat.headerTemplate, name, 181);
    return;
  }
  if (takeKey(tok, "OutputDelimeter=")) {
    s_.outputFormat.delimiter = iequals(tok, "comma") ? DELIM_COMMA : DELIM_COLUMNS;
    return;
  }
  if (takeKey(tok, "Timezone=")) return timeZone(tok.substr(0, 4));
  if (takeKey(tok, "CurrencyConversionDivisor=")) {
    double v = 0;
    // A divisor of 0 or below would write infinite or negated prices.
    if (!readDecimal(tok, &v) || !(v > 0)) return reject("Could not convert CurrencyConversionDivisor.");
    s_.currencyDivisor = v;
    return;
  }
  if (takeKey(tok, "Add_Quote_Requests_to_QuoteList_from_Page=")) {
    s_.addRequests = iequals(tok, "On");
    return;
  }
  if (takeKey(tok, "MatchFilePathWhenUpdating=")) {
    s_.matchFilePath = iequals(tok, "On");
    return;
  }
  if (takeKey(tok, "GetOptionSymbolFromQuoteList=")) {
    s_.optionSymbol = iequals(tok, "On");
    return;
  }
  if (takeKey(tok, "Primer=")) {
    s_.primer = tok.substr(0, 119);
    pos_ = P_PAGE;
    return;
  }
  if (takeKey(tok, "Page=")) {
    pageAddress(tok);
    pos_ = P_BROWSER;
    return;
  }
  if (takeKey(tok, "File=")) {
    if (!in_.importMode) {
      s_.pageAddress = tok.substr(0, 520);
      s_.localFile = true;
    }
    pos_ = P_BROWSER;
  }
}

std::string SessionReader::triggerValue(std::string tok, std::string_view key) {
  if (in_.importMode) return {};
  takeKey(tok, key);
  if (iequals(tok, "StartTrigger=None") || iequals(tok, "None")) return {};
  return tok;
}

void SessionReader::openGroup(std::string tok) {
  if (static_cast<int>(s_.groups.size()) >= kMaxGroups) {
    stop_ = true;  // the rest of the file is ignored
    return;
  }
  s_.groups.emplace_back();
  group().groupTrigger = triggerValue(std::move(tok), "GroupTrigger=");
  pos_ = P_CORRELATE;
}

bool SessionReader::modifierToken(const std::string& tok) {
  for (const auto& f : kNumericFields) {
    size_t at = tok.find(f.name);
    if (at == std::string::npos) continue;
    size_t op = at + std::strlen(f.name);
    if (op >= tok.size() || (tok[op] != '*' && tok[op] != '/')) continue;
    double v = 0;
    // A factor of 0 (or one that is not a finite number) is no modifier.
    if (!readDecimal(std::string_view(tok).substr(op + 1), &v) || v == 0) continue;
    group().modifiers[f.code] = {tok[op] == '*' ? 1 : 2, v};
    return true;
  }
  return false;
}

bool SessionReader::specifierToken(const std::string& tok) {
  if (tok.empty() || tok.compare(0, 2, "//") == 0) return false;
  if (tok.find("GroupTrigger=") != std::string::npos) return false;
  QcfGroup& g = group();
  if (tok.size() == 1) {
    if (tok[0] < '0' || tok[0] > '9') return false;
    if (!g.specifiers.empty()) g.specifiers.back().spaces = tok[0] - '0';
    if (static_cast<int>(g.specifiers.size()) >= kMaxSpecifiers) return true;
    g.specifiers.emplace_back();  // the count occupies an empty slot
    return true;
  }
  const FieldNameEntry* found = nullptr;
  size_t at = 0;
  for (const auto& f : kNumericFields)
    if ((at = tok.find(f.name)) != std::string::npos) {
      found = &f;
      break;
    }
  if (!found)
    for (const auto& f : kTextFields)
      if ((at = tok.find(f.name)) != std::string::npos) {
        found = &f;
        break;
      }
  if (!found) return false;
  if (static_cast<int>(g.specifiers.size()) >= kMaxSpecifiers) {
    LogBox("Error....Max # of Quote Format Specifiers Exceeded.",
           "ERROR in routine ParseQuoteFormatSpecifier", mb::OK | mb::ICONEXCLAMATION);
    return true;
  }
  QuoteSpecifier sp;
  sp.code = found->code;
  std::string start = tok.substr(0, at);
  std::string end = tok.substr(at + std::strlen(found->name));
  if (!start.empty()) sp.start = start;
  if (!end.empty()) sp.end = end;
  g.specifiers.push_back(std::move(sp));
  return true;
}

void SessionReader::specifierLine(const std::string& first, const std::string& raw, std::string_view rest) {
  if (in_.importMode) {
    // The fields of an import come from ImportFormat=, not from the script's lines.
    std::string_view fmt = s_.importFormat;
    for (;;) {
      std::string_view after;
      std::string tok = firstToken(fmt, &after);
      fmt = after;
      if (tok.empty()) break;
      if (!specifierToken(tok)) return reject(s_.importFormat + " -- Invalid Format Specifier...None Found");
    }
    pos_ = P_MODIFIER;
    return;
  }
  if (!specifierToken(first)) {
    if (group().specifiers.empty()) return reject(raw + " -- Invalid Format Specifier...None Found");
    pos_ = P_MODIFIER;
    openGroup(first);
    return;
  }
  for (;;) {
    std::string_view after;
    std::string tok = firstToken(rest, &after);
    rest = after;
    if (tok.empty()) break;
    if (!specifierToken(tok)) return reject(raw + " -- Invalid Format Specifier...None Found");
  }
}

// Steps 9.1 to 9.11 of a group; false when the token went on to a later step unconsumed.
bool SessionReader::groupBody(std::string& tok, const std::string& raw, std::string_view rest) {
  QcfGroup& g = group();
  long n = 0;
  switch (pos_) {
    case P_CORRELATE:
      pos_ = P_QUOTETYPE;
      if (takeKey(tok, "CorrelateBy=")) {
        if (iequals(tok, "SymbolStrict")) g.correlateBy = CB_SYMBOL_STRICT;
        else if (iequals(tok, "Co_name")) g.correlateBy = CB_CO_NAME;
        else if (iequals(tok, "Order")) g.correlateBy = CB_ORDER;
        else if (iequals(tok, "Download")) g.correlateBy = CB_DOWNLOAD;
        else g.correlateBy = CB_SYMBOL;
        return true;
      }
      return false;
    case P_QUOTETYPE:
      pos_ = P_TRIGGER_STRING;
      if (takeKey(tok, "QuoteType=")) {
        g.quoteType = iequals(tok, "AddOn") ? QT_ADDON : QT_NORMAL;
        return true;
      }
      return false;
    case P_TRIGGER_STRING:
      takeKey(tok, "TriggerString=");
      g.triggerString = in_.importMode || iequals(tok, "None") ? std::string() : tok;
      g.specifiers.clear();
      pos_ = P_PASS;
      return true;
    case P_PASS:
      if (takeKey(tok, "Pass=")) {
        // Pass numbers run from 1 to 99: 0 would switch the group off, a huge one loop.
        if (!readInt(tok, &n) || n < 1 || n > 99)
          reject("Error reading Pass #...\n\nPossibly script out of sync.");
        else
          g.pass = static_cast<int>(n) - 1;
        return true;
      }
      pos_ = P_LINES;
      [[fallthrough]];
    case P_LINES:
      if (!readInt(tok, &n)) {
        reject("Error reading # lines per Quote...\n\nPossibly script out of sync.");
        return true;
      }
      g.linesPerQuote = static_cast<int>(n);
      pos_ = P_DATE;
      return true;
    case P_DATE:
      pos_ = P_DATEFMT;
      if (in_.importMode) {
        g.dateMode = 0;
        return true;
      }
      if (iequals(tok, "NoDate")) {
        g.dateMode = 0;
        return true;
      }
      if (tok.compare(0, 8, "AutoDate") == 0 || iequals(tok.substr(0, 8), "AutoDate")) {
        g.dateMode = 1;
        size_t at = raw.find("AutoDate");
        if (at != std::string::npos)
          if (auto d = quoted(std::string_view(raw).substr(at + 8)); d && !d->empty())
            g.autoDateDelimiter = *d;
        return true;
      }
      return false;
    case P_DATEFMT:
      if (takeKey(tok, "SetDateFormat=")) {
        if (!in_.importMode || s_.dateFormat.empty()) s_.dateFormat = tok.substr(0, 40);
        pos_ = P_SPEC;
        return true;
      }
      pos_ = P_TIME;
      [[fallthrough]];
    case P_TIME:
      pos_ = P_TIMEFMT;
      if (iequals(tok, "NoTime")) {
        g.timeMode = 0;
        return true;
      }
      if (iequals(tok, "AutoTime")) {
        g.timeMode = 1;
        return true;
      }
      [[fallthrough]];
    case P_TIMEFMT:
      pos_ = P_SPEC;
      if (takeKey(tok, "SetTimeFormat=")) {
        s_.timeFormat = tok.substr(0, 11);
        return true;
      }
      return false;
    case P_SPEC:
      if (modifierToken(tok)) {
        pos_ = P_MODIFIER;
        return true;
      }
      if (tok.find("GroupTrigger=") != std::string::npos && g.specifiers.empty()) {
        reject(raw + " -- Invalid Format Specifier...None Found");
        return true;
      }
      specifierLine(tok, raw, rest);
      return true;
    case P_MODIFIER:
      if (!modifierToken(tok)) openGroup(tok);
      return true;
    default:
      return true;
  }
}

void SessionReader::positional(std::string tok, const std::string& raw, std::string_view rest) {
  long n = 0;
  if (pos_ == P_START) pos_ = P_SETTINGS;
  switch (pos_) {
    case P_SETTINGS:
      return settingsItem(tok, raw);
    case P_PAGE:
      takeKey(tok, "Page=");
      pageAddress(tok);
      pos_ = P_BROWSER;
      return;
    case P_BROWSER:
      pos_ = P_SYMSEARCH;
      if (tok.find("BrowserLink=") != std::string::npos) return;
      [[fallthrough]];
    case P_SYMSEARCH:
      pos_ = P_MODE;
      if (tok.find("SymSearch=") != std::string::npos) return;
      [[fallthrough]];
    case P_MODE:
      if (in_.importMode)
        s_.requestMode = BY_PAGE;
      else if (iequals(tok, "by_page"))
        s_.requestMode = BY_PAGE;
      else if (iequals(tok, "by_options"))
        s_.requestMode = BY_OPTIONS;
      else
        s_.requestMode = BY_SYMBOL;
      pos_ = s_.requestMode == BY_SYMBOL ? P_NUMQ : P_FIRST_TRIGGER;
      return;
    case P_NUMQ:
      if (takeKey(tok, "NumQuotesPerPage=")) {
        if (!readInt(tok, &n) || n < 1)
          return reject("Could not convert number of quotes per page parameter.");
        if (n > 10) return reject("Quotes per page parameter > 10 (Invalid)");
        s_.quotesPerPage = static_cast<int>(n);
        pos_ = n == 1 ? P_FIRST_TRIGGER : P_SEPARATOR;
        return;
      }
      [[fallthrough]];
    case P_SEPARATOR:
      s_.separator = tok.substr(0, 20);
      pos_ = P_FIRST_TRIGGER;
      return;
    case P_FIRST_TRIGGER:
      group().groupTrigger = triggerValue(tok, "GroupTrigger=");
      pos_ = P_CORRELATE;
      return;
    case P_IGNORE_REST:
      return;
    default:
      while (!rejected_ && !stop_ && !groupBody(tok, raw, rest)) {
      }
      return;
  }
}

void SessionReader::line(const std::string& raw, const std::string& text) {
  if (tableOpen_) {
    std::string_view rest;
    std::string sym = firstToken(text, &rest);
    if (sym.empty()) return;
    if (sym.find("MACRO") != std::string::npos) {
      tableOpen_ = false;
      return;
    }
    if (static_cast<int>(s_.coNames.size()) < kMaxCoNamePairs)
      s_.coNames.emplace_back(sym.substr(0, 19), firstToken(rest).substr(0, 19));
    return;
  }
  size_t at = text.find("ImportFormat=");
  if (at != std::string::npos) {
    std::string f = text;
    f.erase(at, std::strlen("ImportFormat="));
    s_.importFormat = f.substr(0, 380);
    return;
  }
  std::string_view rest;
  std::string tok = firstToken(text, &rest);
  if (iequals(tok, "*C")) {
    if (pos_ > P_START) --pos_;
    std::string_view after;
    tok = firstToken(rest, &after);
    rest = after;
  }
  if (tok.empty()) return;
  if (freeKeyword(tok, raw, text, rest)) return;
  positional(tok, raw, rest);
}

QcfResult SessionReader::read(const std::string& path) {
  QcfLines lines(path);
  if (!lines.isOpen()) return QcfResult::NotFound;
  lines.options = in_.options;
  lines.tooLong = [this](std::string_view t) { error(t); };
  std::string raw, text;
  while (!rejected_ && !stop_ && lines.next(raw, text)) line(raw, text);
  if (rejected_) return QcfResult::Rejected;
  if (pos_ < P_CORRELATE) {
    error("Inadequate Download Configuration Information Found");
    return QcfResult::Inadequate;
  }
  if (s_.endOfLine.empty()) s_.endOfLine = "\n";
  return QcfResult::Ready;
}

}  // namespace

std::string marketDateFor(const std::string& userZone, const std::string& marketZone, float* hours) {
  char out[16] = {};
  std::string today = Today();
  float h = 0;
  TZadjust(userZone.c_str(), marketZone.c_str(), today.c_str(), out, h);
  if (hours) *hours = h;
  return out;
}

std::string appendDateText(std::string_view pattern, const DownloadSettings& s) {
  std::string date = s.marketDate;
  int cur = static_cast<int>(GetMilTime() - s.tzAdjust * 100.0f);
  while (cur >= 2400) cur -= 2400;
  while (cur < 0) cur += 2400;  // after midnight with the market west of the user
  if (cur < s.rolloverTime) {
    int day = GoodDate(date.c_str(), DATE_FMT_US);
    if (day > 1) date = charDate(static_cast<float>(day - 1), DATE_FMT_US, 4);
  }
  if (date.size() < 10) return {};
  std::string mm = date.substr(0, 2), dd = date.substr(3, 2), yyyy = date.substr(6, 4);
  std::string out;
  while (!pattern.empty()) {
    if (pattern.substr(0, 4) == "yyyy") {
      out += yyyy;
      pattern.remove_prefix(4);
    } else if (pattern.substr(0, 2) == "yy") {
      out += yyyy.substr(2);
      pattern.remove_prefix(2);
    } else if (pattern[0] == 'y') {
      out += yyyy.substr(3);
      pattern.remove_prefix(1);
    } else if (pattern.substr(0, 2) == "mm") {
      out += mm;
      pattern.remove_prefix(2);
    } else if (pattern.substr(0, 2) == "dd") {
      out += dd;
      pattern.remove_prefix(2);
    } else {
      break;  // a literal separator ends the conversion
    }
  }
  return out;
}

static void resetSettings(const QcfInput& in, DownloadSettings* s) {
  *s = DownloadSettings{};
  SetDefaultFormat(&s->outputFormat);
  s->groups.emplace_back();
  s->timeZone = in.userTimeZone;
  double d = in.currencyDivisor;
  if (!(d > 0) || !std::isfinite(d)) {
    Log("\nCurrencyDivisor %g is not a valid divisor; 1.0 is used.", d);
    d = 1.0;
  }
  s->currencyDivisor = d;
  s->marketDate = marketDateFor(in.userTimeZone, in.userTimeZone, &s->tzAdjust);
  quova::strcpy(s->outputFormat.refDate, s->marketDate.c_str(), 13);
  if (in.importMode) {
    s->pageAddress = in.importFile;
    s->localFile = true;
  }
}

QcfResult ReadSessionQCF(const std::string& qcfPath, const QcfInput& in, DownloadSettings* s) {
  resetSettings(in, s);
  SessionReader reader(in, s);
  QcfResult r = reader.read(qcfPath);
  quova::strcpy(s->outputFormat.refDate, s->marketDate.c_str(), 13);
  return r;
}

}  // namespace quova
