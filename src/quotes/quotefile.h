// The historical quote file: creation from the header template, the append of one record
// per security and day (Update_Quotefile), and the file's time stamp, which carries the
// date of the newest stored quote.
#pragma once

#include <string>
#include <string_view>

#include "quotes/quote_data.h"
#include "quotes/quote_format.h"
#include "util/clock.h"

namespace quova {

// What Update_Quotefile needs from the download session: its descriptor and switches, and
// where its log lines and error reports go.
struct QuoteFileSession {
  virtual ~QuoteFileSession() = default;
  // The list's descriptor (the session's copy, refDate set to the market date).
  virtual const OFtype& outputFormat() const = 0;
  // ForcedAppendsOn of the QCF.
  virtual bool forcedAppends() const { return false; }
  // False when the group's NoCloseRequired lifts the need for a close.
  virtual bool closeRequired(int group) const { return true; }
  // Day number of the market date; a quote dated more than one day later is a bad date.
  // -1: no such check. The default is today's date.
  virtual int marketDay() const;
  // A line of the session text.
  virtual void sessionText(std::string_view text) = 0;
  // The session's error report (logged and shown).
  virtual void errorReport(std::string_view text) = 0;
  // Called after each written line (the update image and comma images), line with "\n".
  virtual void saveQtl(const QuoteData& quote, const char* line) {}
};

// Appends one record for the quote; true when a line was written. group is the quote's
// group of the QCF (for NoCloseRequired). Fills High, Low, Volume and Close as the append
// rule says, so *quote changes.
bool Update_Quotefile(QuoteData* quote, int group, QuoteFileSession& session);

// Creates a new quote file from the header template: lines containing "SYMBOL:" get " " +
// symbol, lines containing "COMPANY NAME:" get " " + company name. The number of lines
// copied; -1 when the template is missing ("Cannot open Source -- %s") or the file cannot be
// created ("Cannot create new Quote History File -- %s..."), both reported to the session.
int FileCopy(const char* templatePath, const char* newPath, const QuoteData& quote,
             QuoteFileSession& session);

// The stamp of an appended quote: the quote's date and a time of day from TradeTime ("/" in
// it gives 16:00, else "h:mm" with asterisks removed; an hour outside 0..23 or minutes
// outside 0..59 give 00:00), or from Time when TradeTime is empty.
LocalTime quoteStamp(const QuoteData& quote);

// Day number of a file's stamp date; -1 when the file has none.
int fileStampDay(std::string_view path);

}  // namespace quova
