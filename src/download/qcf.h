// The quotelist configuration file (QCF): what a download takes from it (DownloadSettings,
// filled by the session reader ReadSessionQCF), what the quote list window takes from it
// (ListQcf, GetQCF), and the 14 option bytes of config\download\download.cfg.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "quotes/quote_format.h"

namespace quova {

inline constexpr int kMaxGroups = 30;
inline constexpr int kMaxSpecifiers = 140;
inline constexpr int kMaxReplacePairs = 50;
inline constexpr int kMaxCoNamePairs = 500;
inline constexpr int kQcfLineMax = 180;  // characters of a QCF line
inline constexpr char kQcfErrorCaption[] = "Download Configuration File Error";

// How a parsed quote is matched to its quote request.
enum CorrelateBy : int {
  CB_CO_NAME = 100,
  CB_SYMBOL = 101,
  CB_ORDER = 102,
  CB_DOWNLOAD = 103,
  CB_SYMBOL_STRICT = 104
};
enum QuoteKind : int { QT_NORMAL = 100, QT_ADDON = 101 };
enum RequestMode : int { BY_PAGE = 0, BY_SYMBOL = 1, BY_OPTIONS = 2 };

// The 14 option bytes: group 1 options 1-6, group 2 options 1-6, group 3 options 1-2.
using DLOptions = std::array<std::uint8_t, 14>;
// The options file under the home directory.
std::string dlOptionsPath();
// All off, then the file's bytes when it exists (a short file fills what it holds).
DLOptions GetDLConfig();
// Writes the 14 bytes (each 0 or 1), replacing the file; false when it cannot be written.
bool SaveDLConfig(const DLOptions& options);
// True when option n (1-based) of group g (1..3) is on.
bool optionOn(const DLOptions& options, int group, int n);

// One field of a quote line: its code (0 an empty slot), the blank run that ends it when it
// has no end marker, and its markers.
struct QuoteSpecifier {
  int code = 0;
  int spaces = 3;
  std::optional<std::string> start;
  std::optional<std::string> end;
};

struct NumericModifier {
  int mode = 0;  // 0 none, 1 multiply, 2 divide
  double factor = 1.0;
};

struct QcfGroup {
  std::string groupTrigger;  // empty: occurs in every line
  int correlateBy = CB_SYMBOL;
  int quoteType = QT_NORMAL;
  std::optional<std::string> triggerString;       // none: never starts a quote
  std::optional<std::string> triggerStringStart;  // "Anywhere"
  std::optional<std::string> exitCriteria;
  int pass = 0;  // 0-based
  int linesPerQuote = 0;
  int dateMode = 0;  // 0 NoDate, 1 AutoDate
  std::string autoDateDelimiter = "  ";
  int timeMode = 0;  // 0 NoTime, 1 AutoTime
  bool closeRequired = true;
  std::vector<QuoteSpecifier> specifiers;
  std::array<NumericModifier, 17> modifiers{};  // by numeric code 1..16
};

// Everything a download takes from its QCF, with the defaults of a fresh read.
struct DownloadSettings {
  std::string pageAddress;  // URL or local path
  std::string primer;
  bool localFile = false;
  std::string suffix;
  std::string endOfLine = "\n";
  int requestMode = BY_SYMBOL;
  int quotesPerPage = 10;
  std::string separator;
  bool historical = false;
  int histStart = 0, histStep = 0, histEnd = 0, histPage = 0;
  int rolloverTime = 0;
  std::string timeZone;        // the market's zone letter
  double currencyDivisor = 1.0;
  std::string dateFormat;      // input date format
  std::string timeFormat;
  std::string importFormat;
  OFtype outputFormat;
  bool ScreenForNumerics = false, ForcedAppendsOn = false, RunMendora = false, NoFractions = false;
  bool addRequests = false, matchFilePath = false, optionSymbol = false;
  bool createFuturesPath = false, coNameLookup = false;
  std::vector<std::pair<std::string, std::string>> coNames;       // symbol, company name
  std::vector<std::pair<std::string, std::string>> replacements;  // search, replacement
  std::vector<QcfGroup> groups;

  // Derived from the zones when the read starts and at Timezone=.
  std::string marketDate;  // "mm/dd/yyyy"
  float tzAdjust = 0;      // user's zone minus market's zone, in hours
};

// What the session reader is given.
struct QcfInput {
  std::string userTimeZone = "R";  // DownloadControls.TimeZone
  double currencyDivisor = 1.0;    // DownloadControls.CurrencyDivisor
  DLOptions options{};             // download.cfg
  bool importMode = false;
  std::string importFile;
  std::string firstSymbol;  // first symbol of the quote list (GetOptionSymbolFromQuoteList)
  // The session's configuration error box; when empty, LogBox with kQcfErrorCaption.
  std::function<void(std::string_view)> configError;
};

enum class QcfResult { Ready, Rejected, Inadequate, NotFound };

// Resets *s to the defaults (the market date and zone from the input) and reads the QCF.
QcfResult ReadSessionQCF(const std::string& qcfPath, const QcfInput& in, DownloadSettings* s);

// "QuoteList Configuration Files\" + base + ".qcf" for a quote list path (rooted).
std::string qcfPathForList(std::string_view qtlPath);
// The missing-QCF path: when the list's QCF cannot be opened, the message, a copy of
// default.qcf under the list's name, and the read of that copy.
QcfResult ReadListQCFForDownload(std::string_view qtlPath, const QcfInput& in, DownloadSettings* s);

// The market date for the zones, and the hours between them (user minus market).
std::string marketDateFor(const std::string& userZone, const std::string& marketZone, float* hours);
// The AppendDate= text of a date pattern for the settings' market date and rollover time.
std::string appendDateText(std::string_view pattern, const DownloadSettings& s);

// What the quote list window takes from its QCF.
struct ListQcf {
  std::string groupCaption[3] = {"Group 1 Options", "Group 2 Options", "Group 3 Options"};
  std::string optionCaption[14];  // "Undefined" by default
  std::string qtlHeader;          // QtlHeader=
  bool localFile = false;         // File=
  bool byOptions = false;         // by_options
  std::string symSearch;          // SymSearch=
  std::string browserLink;        // BrowserLink=
  OFtype outputFormat;
  ListQcf();
};
// Reads what the window needs; false when the file cannot be opened (fields keep defaults).
// Option captions are the text after the number on a "Begin GroupNOption n" line; group
// captions come from "Group1Caption=", "Group2Caption=", "Group3Caption=".
bool GetQCF(const std::string& qcfPath, const DLOptions& options, ListQcf* q);

// Name table of the quote line fields, in the order the specifiers are searched.
struct FieldNameEntry {
  const char* name;
  int code;
};
extern const FieldNameEntry kNumericFields[16];
extern const FieldNameEntry kTextFields[5];

}  // namespace quova
