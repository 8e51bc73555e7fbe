// Quote list files (.qtl): the request line and its fields, the paths derived from a
// request, loading and saving the rows, the list update (UDWatch) that writes the latest
// quote into every request line, and the insertion of new option series (UDOptions).
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "quotes/quote_format.h"

namespace quova {

// The fields of a request line: symbol (up to two blanks, 40 characters), file name (two
// blanks, 80), security name (three blanks, 40) and the rest. Tabs count as two blanks.
struct RequestFields {
  std::string symbol;
  std::string fileName;
  std::string coName;
  std::string rest;
};
RequestFields splitRequestLine(std::string_view line);

// The two-blank fields of a text, in order (tabs count as two blanks).
std::vector<std::string> twoBlankFields(std::string_view text);

// What ParseFilePaths derives from a request line. quoteFile and recFile are empty when
// the line has no file name or its name would leave quotes.day.
struct RequestPaths {
  std::string symbol;
  std::string fileName;
  std::string coName;
  std::string quoteFile;  // root + "QUOTES.DAY\\" + name + ".DAY"
  std::string recFile;    // root + "QUOTES.DAY\\" + name + ".REC"
};
RequestPaths ParseFilePaths(std::string_view line);

// ParseFilePaths, and the quote file must exist: otherwise "Unable to locate file -- " +
// path in a box captioned "Quote File Access Error" and false. description gets
// "Symbol -- %s          %s          %s" (symbol, security name, comment).
bool ParseQuoteText(std::string_view line, RequestPaths* paths, std::string* description = nullptr);
// The same check on the ".REC" file.
bool ParseQuoteTextforRecover(std::string_view line, RequestPaths* paths,
                              std::string* description = nullptr);

// The derived name of a line (no directory, no extension); "*" means the symbol.
std::string GetSymPath(std::string_view line);

// The quote list window's rows: every non-empty line of the file, in order; false when the
// file cannot be read.
bool LoadQuoteList(std::string_view path, std::vector<std::string>& rows);
// Writes the rows, each followed by "\n", replacing the file atomically.
bool SaveQuoteList(std::string_view path, const std::vector<std::string>& rows);

// The list file's path with ".qtl" (found regardless of case) cut off, spelled as given;
// empty when the path has no ".qtl".
std::string quoteListBase(std::string_view qtlPath);

// How a list update runs.
struct ListUpdate {
  OFtype fmt;                  // the list's descriptor (from its QCF)
  int displayDateFormat = 1021;  // DisplayDateFormat: 1021 mm/dd/yyyy, 1022 yyyy/mm/dd
  bool byOptions = false;      // the QCF downloads by options: UDOptions runs first
  std::function<bool()> stop;  // the window's stop or the global download stop
  bool stopOnQuit = true;      // a closing program stops it (a download finishes its list)
  ListUpdate();
};

// The list update. Returns the number of request lines written, or -1 when it did not run
// (re-entry, no ".qtl", an open failure) or was stopped (the list is then left as it was).
long UDWatch(const std::string& qtlPath, const ListUpdate& how);

// Option series insertion from the list's ".tmp"; the number of requests inserted, -1 when
// cancelled or a file cannot be opened.
long UDOptions(const std::string& qtlPath);

// Ordering key of an option file name: the two-digit expiration year first, the code second.
int weight(std::string_view name);

// The list window's error report: a box captioned "Quote List ERRORS".
void errmsg(std::string_view text);

}  // namespace quova
