// Import of comma-separated history into a quote file's layout: the program's own exports
// (dates mm/dd/yyyy, the fields in the file's field order) and the common download layout
// "Date,Open,High,Low,Close,Adj Close,Volume" with ISO dates (header row optional, columns
// found by their names, rows in any order). Every row is composed with MakeQuoteString
// under the file's descriptor and read back with ParseQuote before it is taken.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "repair/quote_check.h"

namespace quova::repair {

struct ImportResult {
  std::vector<Record> rows;  // imported (Record::imported), line = row number in the file
  struct Rejected {
    long row = 0;
    std::string text;
    std::string why;
  };
  std::vector<Rejected> rejected;
  long skipped = 0;  // header rows and the header lines of an export
};

ImportResult importHistory(std::string_view bytes, const OFtype& fmt);

}  // namespace quova::repair
