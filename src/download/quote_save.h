// The saving step between the page parser and the quote files: which quote request a parsed
// quote belongs to, which requests still need a quote, the update image and the comma
// images of the saved lines, and the repair tool after historical pages.
#pragma once

#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "download/page_parser.h"
#include "download/qcf.h"
#include "quotes/quotefile.h"
#include "quotes/text_lines.h"

namespace quova {

struct PageRequest {
  std::string symbol, fileName, coName;
};

class QuoteSaver : public ParseHooks, public QuoteFileSession {
 public:
  // qtlPath: the quote list, read by GetNextSymbol in the by-page and by-options modes.
  QuoteSaver(const DownloadSettings& s, const std::string& qtlPath, ParseSwitches sw = {});
  ~QuoteSaver() override;

  // Output streams (any may stay closed): the update image, the list's comma image and the
  // common "quotes.csv". csvEnable is CSVenable of the settings.
  bool openOutputs(const std::string& tmpPath, const std::string& csvPath, const std::string& quotesCsvPath,
                   bool csvEnable, bool csvAppend);
  // The diagnostic streams of the switches: pre-processed lines (.ppl) and parse notes
  // (.parsed). Either may stay closed (empty path); closeOutputs closes them too.
  bool openDiagnostics(const std::string& pplPath, const std::string& parsedPath);
  // Points a parser's .ppl and .parsed streams at this session's diagnostic streams.
  void attach(PageParser& parser);
  void closeOutputs();

  std::vector<PageRequest> requests;  // the page request table (at most 10)

  // The request needs a quote: no quote file yet, or its stamp is before the market date.
  bool CheckQuotefileStatus(const PageRequest& r);
  // The next request of the quote list into *q: 1 needs a quote, -1 does not, 0 at the end
  // (the list is rewound).
  int GetNextSymbol(QuoteData* q);

  bool SaveQuoteLine(QuoteData* q, long& saved, int group, long handed) override;
  // With the parse notes on: correlates a copy of the quote by symbol, so that a quote of
  // no request is noted ("Cannot find symbol ..."), and saves nothing.
  void NoteQuoteLine(QuoteData* q, int group, long handed) override;
  bool SetSecurityDirectory(QuoteData* q) override;
  void CheckMendoraRequest() override;
  void sessionText(std::string_view text) override;
  bool stopped() override;

  // QuoteFileSession
  const OFtype& outputFormat() const override { return s_.outputFormat; }
  bool forcedAppends() const override { return s_.ForcedAppendsOn; }
  bool closeRequired(int group) const override;
  int marketDay() const override;
  void errorReport(std::string_view text) override;
  void saveQtl(const QuoteData& quote, const char* line) override;

  // Waits for the repair process started last; true when it ended (or there was none).
  bool WaitForMendoraCompletion();
  // Starts the repair tool on a quote file; its process id or -1.
  long long RunMendora(const std::string& path, bool interactive);

  // Parse notes of the saving step, besides the .parsed stream (only with JustShowPQuotes).
  std::function<void(std::string_view)> note;
  std::vector<std::string> texts;  // the session text lines written
  std::function<void(std::string_view)> onText;  // the session's text window, when there is one
  std::vector<std::string> errors;  // error reports
  bool userStop = false;
  bool unattended = false;          // /QuitAfterDownload: repair waits end after waitLimitMs
  long waitLimitMs = 600000;

 private:
  bool symbolRequest(QuoteData* q, int group, long handed);
  bool pageRequest(QuoteData* q, int group);
  bool optionsRequest(QuoteData* q);
  std::string requestPath(const std::string& symbol, const std::string& fileName) const;
  void writeNote(std::string_view text);

  const DownloadSettings& s_;
  std::string qtlPath_;
  ParseSwitches sw_;
  std::unique_ptr<TextLineReader> list_;
  std::string savedSymbol_;
  std::string lastDirectory_;  // kept for this session only
  std::FILE* tmp_ = nullptr;
  std::FILE* csv_ = nullptr;
  std::FILE* quotesCsv_ = nullptr;
  std::FILE* ppl_ = nullptr;
  std::FILE* parsed_ = nullptr;
  std::map<std::FILE*, std::string> paths_;  // of the open outputs, for a failed write's report
  std::FILE* openOutput(const std::string& path, const char* mode);
  bool csvEnable_ = false;
  long long repairProcess_ = -1;
};

// The comma line of a column record line: four blanks become three, three blanks become
// ", " and ",," becomes ",", each repeatedly.
std::string commaLine(std::string_view line);

}  // namespace quova
