// The page parser: passes over a saved quote page under a QCF's groups, triggers and
// quote format specifiers, pre-processing each line, cutting the fields of each quote into
// a QuoteData record and handing complete quotes to the saving step.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "download/page_lines.h"
#include "download/qcf.h"
#include "quotes/quote_data.h"

namespace quova {

// The diagnostic switches of a download.
struct ParseSwitches {
  bool JustShowPPLine = false;   // write pre-processed lines to the .ppl stream; save nothing
  bool JustShowPQuotes = false;  // write parse notes to the .parsed stream; save nothing
  bool DiagnosticDisplays = false;
};

// What the parser calls out to: the saving step and the session.
struct ParseHooks {
  virtual ~ParseHooks() = default;
  // Correlates and appends a quote; handed is the number of quotes handed over before this
  // one in the pass. On success saved grows by one.
  virtual bool SaveQuoteLine(QuoteData* quote, long& saved, int group, long handed) = 0;
  // With the parse notes on nothing is saved: the quote goes here instead, so the saving
  // step can note how it would correlate it (handed as for SaveQuoteLine).
  virtual void NoteQuoteLine(QuoteData* quote, int group, long handed) {}
  // By options: finds the underlying security's directory for the quote.
  virtual bool SetSecurityDirectory(QuoteData* quote) { return true; }
  virtual void CheckMendoraRequest() {}
  // A line of the session text.
  virtual void sessionText(std::string_view text) {}
  // The user's stop or the program's quit; polled between lines.
  virtual bool stopped() { return false; }
  // DiagnosticDisplays after a page without triggers: show the page to the user.
  virtual void showPage(const std::string& pagePath) {}
};

class PageParser {
 public:
  PageParser(const DownloadSettings& s, ParseHooks& hooks, ParseSwitches sw = {});

  std::function<void(std::string_view)> ppl;     // the .ppl stream
  std::function<void(std::string_view)> parsed;  // the .parsed stream
  std::string listName;                          // quote list name for the reports
  std::string qcfPath;                           // for the reports

  // All passes over the page file; the number of quotes saved.
  long ParseQuotesQCF(const std::string& pagePath);
  // One pass; the quotes saved in it.
  long ParseQuotes(const std::string& pagePath);

  // The steps, public for tests.
  bool PreProcessQuote(std::string& line, QuoteData* q, int group);
  bool ParseQuoteLine(PageLineReader* stream, std::string& line, int& group, QuoteData* q, int watch);
  bool CheckForTrigger(const std::string& line, int& group, int n);
  bool QuoteStartTrigger(const std::string& line, int group) const;
  bool QuoteExitCriteria(const std::string& line, int group);
  // DownLoadView::GetWF: whole part and fraction from the front of text (consumed).
  static void GetWF(std::string& text, std::string& whole, std::string& fraction);
  // The stored price text of whole and fraction under NoFractions and the divisor.
  std::string GetQuote(const std::string& whole, const std::string& fraction) const;
  void writePQuotes(const char* format, ...) __attribute__((format(printf, 2, 3)));

  // Counters of the last run.
  long goodQuotes = 0;
  long fieldsRead = 0;
  bool anyTrigger = false;
  int pass = 0;

 private:
  bool LookForDate(std::string& line, QuoteData* q, int group);
  void ReplaceAll(std::string& line) const;
  bool takeField(std::string& line, const QuoteSpecifier& sp, std::string& field) const;
  // takeField on a view: what it takes comes off the view's front.
  bool takeFieldView(std::string_view& line, const QuoteSpecifier& sp, std::string& field) const;
  bool getQuoteText(std::string& line, const QuoteSpecifier& sp, QuoteData* q);
  bool getQuoteNum(std::string& line, const QuoteSpecifier& sp, int group, QuoteData* q);
  bool storeNumber(std::string& line, const QuoteSpecifier& sp, QuoteData* q, bool modified,
                   const std::string& modifiedText, double tested);
  void onSuccess(QuoteData* q);
  void AddOnInit(const std::string& pagePath);
  void LookForAddOn();
  void CloseAddOn();

  const DownloadSettings& s_;
  ParseHooks& hooks_;
  ParseSwitches sw_;
  QuoteData record_{};
  QuoteData mirror_{};
  QuoteData addOnRecord_{};
  QuoteData addOnMirror_{};
  int addOnGroup_ = -1;
  std::unique_ptr<PageLineReader> addOn_;
  bool addOnActive_ = false;
  bool groupTriggered_[kMaxGroups] = {};
  bool passTrigger_ = false;
  long handed_ = 0;
};

// Control characters of page text become blanks before they reach a record field.
void cleanField(char* field);

}  // namespace quova
