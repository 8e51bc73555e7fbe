// The two quote records: QuoteData, the text of one downloaded quote as cut from the page,
// and quotetype, the numbers and texts a reader takes from one line of a quote file.
#pragma once

#include <cstdint>

namespace quova {

// One downloaded quote (1185 bytes of NUL-terminated texts). Every field holds the text
// exactly as it was cut from the page, so prices may be decimal or fractional ("45 1/8").
struct QuoteData {
  char Symbol[81];
  char FileName[81];
  char AltFileName[81];  // used instead of FileName for option series (the session sets it)
  char Co_name[81];
  char Volume[41];
  char High[41];       // filled by the append rule from HiParsed, Ask or Close
  char Low[41];        // filled by the append rule from LowParsed, Bid or Close
  char HiParsed[41];   // as found on the page
  char LowParsed[41];  // as found on the page
  char Ask[41];        // "Not avail" until found
  char Bid[41];        // "Not avail" until found
  char Open[41];
  char Close[41];
  char Prev[41];
  char Change[41];
  char TradeTime[41];  // "h:mm" (maybe with asterisks) or a date such as 12/07
  char Date[41];       // "mm/dd/yyyy" once the page parser has normalised it
  char Time[41];
  char PE_Ratio[41];
  char Dividend[41];
  char Earnings[41];
  char ExpChar[41];
  char ExpYr[41];
  char openinterest[41];
  char Temp[41];
};
static_assert(sizeof(QuoteData) == 1185, "QuoteData is a block of 1185 bytes");

inline constexpr char kNotAvail[] = "Not avail";

// Copies *quote into *mirror byte for byte, then empties every field of *quote and sets
// Ask and Bid to "Not avail".
void QuoteDataInit(QuoteData* quote, QuoteData* mirror);
// Empties every field of *mirror and sets its Ask and Bid to "Not avail".
void QuoteDataMirrorInit(QuoteData* mirror);
// Copies *mirror back over *quote byte for byte.
void QuoteDataRestore(QuoteData* quote, const QuoteData* mirror);
// Empties every field and sets Ask and Bid to "Not avail" (a fresh record).
void QuoteDataClear(QuoteData* quote);

// One line of a quote file as parsed by ParseQuote. A price of -1.0 means the line did not
// carry it; volume has no text field.
struct quotetype {
  std::int32_t date = -1;  // day number (1 January 1901 is 1)
  float open = -1.0f;
  float hi = -1.0f;
  float low = -1.0f;
  float close = -1.0f;
  float bid = -1.0f;
  float ask = -1.0f;
  float prev = -1.0f;
  float change = -1.0f;
  float volume = 0.0f;
  float pe_ratio = -1.0f;
  float dividend = -1.0f;
  float earnings = -1.0f;
  float openinterest = -1.0f;
  std::int32_t time = 0;  // hours * 100 + minutes, 24-hour
  char open_text[20] = {};
  char hi_text[20] = {};
  char low_text[20] = {};
  char close_text[20] = {};
  char bid_text[20] = {};
  char ask_text[20] = {};
  char prev_text[20] = {};
  char change_text[20] = {};
  char pe_ratio_text[20] = {};
  char dividend_text[20] = {};
  char earnings_text[20] = {};
  char openinterest_text[20] = {};
  char symbol[41] = {};
  char co_name[41] = {};
  char time_text[80] = {};  // the time word, and " " + an AM/PM word when one follows
  char rest[40] = {};       // the first word left over after all fields
};

// Sets every field to its initial value (date -1, prices -1.0, volume 0, time 0, texts empty).
void quotetypeInit(quotetype* q);

}  // namespace quova
