// Initialising, mirroring and restoring the quote records.
#include "quotes/quote_data.h"

#include <cstring>
#include <initializer_list>

namespace quova {

void QuoteDataClear(QuoteData* quote) {
  std::memset(quote, 0, sizeof(QuoteData));
  std::memcpy(quote->Ask, kNotAvail, sizeof(kNotAvail));
  std::memcpy(quote->Bid, kNotAvail, sizeof(kNotAvail));
}

void QuoteDataInit(QuoteData* quote, QuoteData* mirror) {
  std::memcpy(mirror, quote, sizeof(QuoteData));
  QuoteDataClear(quote);
}

void QuoteDataMirrorInit(QuoteData* mirror) { QuoteDataClear(mirror); }

void QuoteDataRestore(QuoteData* quote, const QuoteData* mirror) {
  std::memcpy(quote, mirror, sizeof(QuoteData));
}

void quotetypeInit(quotetype* q) {
  // Field by field: a copy of a whole initial record compiles to a string move, which is
  // slow to start for one record a line. A new field must be set here too.
  static_assert(sizeof(quotetype) == 504, "every field of quotetype is set below");
  q->date = -1;
  for (float* price : {&q->open, &q->hi, &q->low, &q->close, &q->bid, &q->ask, &q->prev, &q->change, &q->pe_ratio,
                       &q->dividend, &q->earnings, &q->openinterest})
    *price = -1.0f;
  q->volume = 0.0f;
  q->time = 0;
  for (char* text : {q->open_text, q->hi_text, q->low_text, q->close_text, q->bid_text, q->ask_text, q->prev_text,
                     q->change_text, q->pe_ratio_text, q->dividend_text, q->earnings_text, q->openinterest_text})
    std::memset(text, 0, sizeof q->open_text);
  std::memset(q->symbol, 0, sizeof q->symbol);
  std::memset(q->co_name, 0, sizeof q->co_name);
  std::memset(q->time_text, 0, sizeof q->time_text);
  std::memset(q->rest, 0, sizeof q->rest);
}

}  // namespace quova
