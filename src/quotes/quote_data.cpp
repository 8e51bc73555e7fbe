// Initialising, mirroring and restoring the quote records.
#include "quotes/quote_data.h"

#include <cstring>

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
  static const quotetype kInitial{};  // one copy instead of building the record each time
  *q = kInitial;
}

}  // namespace quova
