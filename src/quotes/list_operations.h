// The file operations of a quote list: exports to comma-separated text, backdating of the
// list's quote files, the copy of a list and its configuration under a new name, and the
// restore of a quote file from its pre-repair copy.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace quova {

// Exports a quote file to exports\<name>.csv under the root. true when exported; path of
// the export (root + export path) in *exported. Failures and the overwrite question as the
// list window shows them.
bool ExportHQF(const std::string& quoteFilePath, std::string* exported = nullptr);
// Exports a quote list (every line converted, twelve-x lines left out).
bool ExportQL(const std::string& qtlPath, std::string* exported = nullptr);
// The name without directories, in small letters.
std::string GetBaseFileNameExtLower(std::string_view path);
// One line as its two-blank fields joined by ",".
std::string commaJoinedFields(std::string_view line);

// Sets a file's stamp to `backdate` (01/01/1981 01:01:02); -1 when it is missing or cannot
// be opened for appending.
int BackDateFile(const std::string& path);
// Backdates every existing quote file of the list; the count, or -1 when the list cannot be
// read. stop: the window's stop flag (the quit flag is always checked).
long BackdateQLfiles(const std::string& qtlPath, const std::function<bool()>& stop = {});

// The copy of a list and its QCF (the dialog's work once "&QL Copy" is pressed).
struct CopyQLResult {
  bool refused = false;   // same base names
  bool copied = false;    // something was copied; report holds the text shown
  bool backToDialog = false;  // a copy failed: the dialog stays open
  std::string report;
};
// sourceBase: the list's base name in capitals; target: the "To:" text.
CopyQLResult CopyQuoteList(const std::string& sourceBase, const std::string& target,
                           bool copyList, bool copyConfig);
// The source base of CmCopyQL: file name without directories, in capitals, without ".QTL".
std::string copySourceBase(std::string_view qtlPath);

// Asks and restores the quote file from its ".REC" copy; true when copied.
bool RecoverQuoteFile(const std::string& quoteFile, const std::string& recFile);

}  // namespace quova
