// The quote format descriptor OFtype: which fields a record line holds, in which order,
// where each starts, the literal text before each, the date pattern and the delimiter.
// The same descriptor composes lines (MakeQuoteString) and parses them (ParseQuote).
#pragma once

#include <cstdint>

namespace quova {

inline constexpr int kMaxFormatFields = 140;
inline constexpr int kFormatFileSize = 3994;  // the packed little-endian image of OFtype

// Field codes shared by the quote list configuration and the descriptor.
enum FieldCode : std::int16_t {
  FC_HI = 1,
  FC_LOW = 2,
  FC_BID = 3,
  FC_ASK = 4,
  FC_OPEN = 5,
  FC_CLOSE = 6,
  FC_PREV = 7,
  FC_CHANGE = 8,
  FC_VOLUME = 9,
  FC_DATE = 10,
  FC_PE_RATIO = 11,
  FC_DIVIDEND = 12,
  FC_EARNINGS = 13,
  FC_TEMP = 14,
  FC_NUM = 15,
  FC_OPENINTEREST = 16,
  FC_SYMBOL = 101,
  FC_CO_NAME = 102,
  FC_TIME = 103,
  FC_EXPCHAR = 104,
  FC_EXPYR = 105,
};

// The field type name of a code ("Hi", "Co_name", ...), nullptr for an unknown code.
const char* fieldName(int code);
// The code of a field type name, matched without regard to case; 0 when unknown.
int fieldCode(const char* name);

// delimiter values
inline constexpr std::int32_t DELIM_COLUMNS = 0;
inline constexpr std::int32_t DELIM_COMMA = 1;
inline constexpr std::int32_t DELIM_TAB = 2;  // any other value acts as 0

struct OFtype {
  std::int16_t nFields = 0;                       // 0..140
  std::int16_t fieldCode[kMaxFormatFields] = {};  // code of field i
  std::int16_t leadBlanks[kMaxFormatFields] = {};  // blanks written before field i
  char prefixText[kMaxFormatFields][21] = {};       // literal text before field i
  char outDateFormat[13] = {};  // "mm/dd/yyyy" by default; empty: the date as stored
  char refDate[13] = {};        // "mm/dd/yyyy" giving the year when the pattern has none
  std::int32_t delimiter = 0;   // 0 columns, 1 comma, 2 tab
  char headerTemplate[181] = {};  // header template of a new quote file
  std::int16_t columnPos[kMaxFormatFields] = {};  // start column of field i (delimiter 0)
  std::uint8_t repairFlag = 0;  // 1 in the file written before the repair tool starts
};

// The default descriptor: Date, Hi, Low, Close, Volume, Time at columns 0, 15, 29, 41, 54,
// 66 (then 78, 90, 102, 114, 126), "mm/dd/yyyy", fixed columns, "Header.day".
void SetDefaultFormat(OFtype* fmt);
OFtype DefaultFormat();

}  // namespace quova
