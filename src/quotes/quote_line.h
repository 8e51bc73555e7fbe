// Record lines of quote files in both directions: MakeQuoteString composes a line from a
// downloaded quote under a descriptor, ParseQuote reads a line back into a quotetype.
#pragma once

#include "quotes/quote_data.h"
#include "quotes/quote_format.h"

namespace quova {

inline constexpr int kQuoteLineSize = 181;  // a record line holds at most 180 characters
inline constexpr int kQuoteTokenSize = 41;  // a token of a record line holds at most 40
inline constexpr int kQuoteMaxTokens = 100;

// ---- composing ----

// Composes the record line of *quote into line (size: its capacity, the writer uses 181).
// The line always ends in "\n": the record text is cut at size - 2. With reformatDate false
// the Date field is written as stored.
void MakeQuoteString(char* line, int size, const QuoteData* quote, const OFtype& fmt,
                     bool reformatDate);
// The Date text in the descriptor's output pattern (a shared buffer, overwritten by the
// next call); the text as stored when the pattern is empty.
const char* FormattedOutputDate(const QuoteData* quote, const OFtype& fmt);
// Writes "mm/dd/yyyy" (or "mm/dd/yy") in the pattern ("yyyy", "yy", "y", "mm", "dd",
// literals) into out (capacity 16). A two-digit year gets its century from expandShortYear.
bool ReFormatDate(const char* mmddyyyy, char* out, const char* pattern);

// ---- parsing ----

// 0 when the line is a record (q filled), 1 when it is not. The line is not changed; at
// most its first 180 characters are read.
int ParseQuote(const char* line, quotetype* q, const OFtype& fmt);
// Takes the whole part and the fraction of a price from the front of the work text.
// whole and fraction have capacity kQuoteTokenSize.
void GetWF(char* work, int workMax, char* whole, char* fraction);
// whole + numerator/denominator. *error becomes 1 for an empty price, an unreadable part,
// left-over characters, a zero denominator or a result that is not a finite float.
float ConvWF(const char* whole, const char* fraction, int* error);

}  // namespace quova
