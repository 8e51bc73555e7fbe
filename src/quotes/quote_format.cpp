// The field codes and names, and the default quote format descriptor.
#include "quotes/quote_format.h"

#include <strings.h>

#include <cstring>

namespace quova {
namespace {

struct NamedCode {
  int code;
  const char* name;
};

constexpr NamedCode kFieldNames[] = {
    {FC_HI, "Hi"},           {FC_LOW, "Low"},           {FC_BID, "Bid"},
    {FC_ASK, "Ask"},         {FC_OPEN, "Open"},         {FC_CLOSE, "Close"},
    {FC_PREV, "Prev"},       {FC_CHANGE, "Change"},     {FC_VOLUME, "Volume"},
    {FC_DATE, "Date"},       {FC_PE_RATIO, "PE_Ratio"}, {FC_DIVIDEND, "Dividend"},
    {FC_EARNINGS, "Earnings"}, {FC_TEMP, "Temp"},       {FC_NUM, "Num"},
    {FC_OPENINTEREST, "openinterest"}, {FC_SYMBOL, "Symbol"}, {FC_CO_NAME, "Co_name"},
    {FC_TIME, "Time"},       {FC_EXPCHAR, "ExpChar"},   {FC_EXPYR, "ExpYr"},
};

}  // namespace

const char* fieldName(int code) {
  for (const NamedCode& n : kFieldNames)
    if (n.code == code) return n.name;
  return nullptr;
}

int fieldCode(const char* name) {
  if (!name) return 0;
  for (const NamedCode& n : kFieldNames)
    if (::strcasecmp(n.name, name) == 0) return n.code;
  return 0;
}

void SetDefaultFormat(OFtype* fmt) {
  *fmt = OFtype{};
  static constexpr std::int16_t codes[] = {FC_DATE, FC_HI, FC_LOW, FC_CLOSE, FC_VOLUME, FC_TIME};
  static constexpr std::int16_t columns[] = {0, 15, 29, 41, 54, 66, 78, 90, 102, 114, 126};
  fmt->nFields = 6;
  for (int i = 0; i < 6; ++i) fmt->fieldCode[i] = codes[i];
  for (int i = 0; i < 11; ++i) fmt->columnPos[i] = columns[i];
  std::strcpy(fmt->outDateFormat, "mm/dd/yyyy");
  std::strcpy(fmt->headerTemplate, "Header.day");
  fmt->delimiter = DELIM_COLUMNS;
  fmt->repairFlag = 0;
}

OFtype DefaultFormat() {
  OFtype f;
  SetDefaultFormat(&f);
  return f;
}

}  // namespace quova
