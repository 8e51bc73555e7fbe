// The repair tool's checker: reads the bytes of a historical quote file under its format
// descriptor, line by line through ParseQuote as the chart does, and names every problem
// with its line number. It changes nothing; quote_repair.h turns a check into a new file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "quotes/quote_format.h"

namespace quova::repair {

enum class Problem {
  Unreadable,          // a record line ParseQuote rejects (the chart's "corrupted Quote Date")
  DuplicateLine,       // the same date twice, identical lines
  DuplicateDate,       // the same date twice, different values
  OutOfOrder,          // a date before the previous record's
  FutureDate,          // a date after today
  HighBelowLow,
  CloseOutside,        // a close outside high..low
  NotPositive,         // a price of zero or below
  CtrlZ,               // a Ctrl-Z byte (old files end with one)
  NulBytes,
  NoLineEnd,           // the last line without its line end
  HeaderAfterRecords,  // a header line below the first record
  BlankLine,           // an empty line among the records
  LongLine,            // a record line over 180 characters (readers see its first 180)
};

// True for the problems a repair cannot settle without a person's judgement: they stay in
// the file and are reported.
bool needsPerson(Problem p);
// The words the report uses for a problem ("unreadable record line", ...).
const char* problemName(Problem p);

struct Finding {
  Problem problem;
  long line = 0;       // 1-based line of the file
  long otherLine = 0;  // the earlier line of a duplicate, the previous record of an order break
  std::string text;    // the line as read, without its line end
  bool imported = false;  // line is a row of an imported file
};

// One record line that ParseQuote accepts.
struct Record {
  int date = -1;          // day number
  int time = 0;           // hours * 100 + minutes, as read
  long line = 0;          // 1-based line of the file; for an imported row its row number
  bool imported = false;  // from an import, not from the file
  unsigned char priceFaults = 0;  // bits: 1 high below low, 2 close outside, 4 not positive
  std::string text;       // the line without line end, NUL and Ctrl-Z bytes
};

// Reads one line as a record: false when ParseQuote rejects it.
bool readRecord(const std::string& text, const OFtype& fmt, Record* r);

struct Scan {
  std::string header;              // the lines before the first record, bytes as they stand
  std::vector<Record> records;     // in file order
  std::vector<Finding> findings;   // in line order
  std::vector<std::string> moved;  // header lines found below the records, not in the header
  long lines = 0;                  // lines of the file
  long unreadable = 0;             // record lines dropped as unreadable
};

// Checks a quote file. today: the day number after which a date lies in the future.
Scan checkQuoteFile(std::string_view bytes, const OFtype& fmt, int today);
// The findings on the records themselves (duplicates, order, future, prices), appended to
// scan->findings and kept in line order; checkQuoteFile calls it, an import merge again.
void checkRecords(Scan* scan, const OFtype& fmt, int today);

// The day number of today's date on the program's clock.
int todayDayNumber();

}  // namespace quova::repair
