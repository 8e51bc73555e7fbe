// Exports of quote files and quote lists to comma-separated text, the backdating of a
// list's quote files, the copy of a list with its configuration, and the restore of a
// quote file from its pre-repair copy.
#include "quotes/list_operations.h"

#include <strings.h>

#include <cctype>
#include <vector>

#include "base/host.h"
#include "base/log.h"
#include "base/root_path.h"
#include "base/run_flags.h"
#include "quotes/quote_names.h"
#include "quotes/quotelist.h"
#include "quotes/text_lines.h"
#include "util/dates.h"
#include "util/filecopy.h"
#include "util/paths.h"

namespace quova {
namespace {

// A first word "mm/dd/yyyy" that is a valid date marks the first record of a quote file.
bool isRecordLine(const std::string& line) {
  std::vector<std::string> f = twoBlankFields(line);
  if (f.empty() || f[0].size() != 10) return false;
  const std::string& w = f[0];
  for (int i = 0; i < 10; ++i) {
    bool slash = i == 2 || i == 5;
    if (slash ? w[i] != '/' : !std::isdigit(static_cast<unsigned char>(w[i]))) return false;
  }
  int day = GoodDate(w.c_str(), DATE_FMT_US);
  return day >= 1 && day <= kMaxDayNumber;
}

struct ExportKind {
  const char* sourceExt;        // ".day" or ".qtl"
  const char* openFailure;      // "Cannot open HQF File -- %s"
  const char* caption;          // "ExportHQF Warning Message"
  const char* createFailure;    // "Cannot create Export Quote History File -- %s"
  const char* success;          // "Historical Quotefile -- %s successfully exported."
  bool list;                    // a quote list: every line converted, twelve-x lines left out
};

bool exportFile(const std::string& path, const ExportKind& kind, std::string* exported) {
  std::vector<std::string> lines;
  if (!readTextLines(path, lines)) {
    errmsg(formatText(381, kind.openFailure, path.c_str()));
    return false;
  }
  std::string name = GetBaseFileNameExtLower(path);
  std::size_t ext = name.find(kind.sourceExt);
  if (ext == std::string::npos) return false;
  name.replace(ext, 4, ".csv");
  if (!makeDirectories(rootPath("exports"))) {
    errmsg(formatText(381, kind.createFailure, ("exports\\" + name).c_str()));
    return false;
  }
  std::string exportPath = "exports\\" + name;
  if (fileExists(rootPath(exportPath)) &&
      MessageBox("file " + exportPath + " already exists!\n\n" + "OK to overwrite?", kind.caption,
                 mb::YESNO | mb::ICONEXCLAMATION) != IDYES)
    return false;

  std::string out;
  bool records = kind.list, firstOut = true;
  for (const std::string& line : lines) {
    if (!records && isRecordLine(line)) records = true;
    std::string converted = records ? commaJoinedFields(line) : line;
    if (kind.list) {
      std::vector<std::string> f = twoBlankFields(line);
      if (!f.empty() && f[0].find("xxxxxxxxxxxx") != std::string::npos) continue;
    }
    if (!firstOut) out += '\n';
    out += converted;
    firstOut = false;
  }
  if (!replaceFileContent(rootPath(exportPath), out)) {
    errmsg(formatText(381, kind.createFailure, exportPath.c_str()));
    return false;
  }
  MessBar(formatText(381, kind.success, exportPath.c_str()));
  KeepWindowsHappy();
  if (exported) *exported = rootPath(exportPath);
  return true;
}

}  // namespace

std::string GetBaseFileNameExtLower(std::string_view path) {
  std::size_t cut = path.find_last_of("/\\");
  std::string name(cut == std::string_view::npos ? path : path.substr(cut + 1));
  for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return name;
}

std::string commaJoinedFields(std::string_view line) {
  std::string out;
  std::vector<std::string> f = twoBlankFields(line);
  for (std::size_t i = 0; i < f.size(); ++i) {
    if (i) out += ',';
    out += f[i];
  }
  return out;
}

bool ExportHQF(const std::string& quoteFilePath, std::string* exported) {
  static const ExportKind kind{".day", "Cannot open HQF File -- %s", "ExportHQF Warning Message",
                               "Cannot create Export Quote History File -- %s",
                               "Historical Quotefile -- %s successfully exported.", false};
  return exportFile(quoteFilePath, kind, exported);
}

bool ExportQL(const std::string& qtlPath, std::string* exported) {
  static const ExportKind kind{".qtl", "Cannot open Quotelist File -- %s", "ExportQL Warning Message",
                               "Cannot create Export Quotelist File -- %s",
                               "QuoteList -- %s successfully exported.", true};
  return exportFile(qtlPath, kind, exported);
}

long BackdateQLfiles(const std::string& qtlPath, const std::function<bool()>& stop) {
  TextLineReader in(qtlPath);
  if (!in.isOpen()) {
    errmsg(formatText(381, "Cannot Open Input Stream for QuoteList -- %s", qtlPath.c_str()));
    return -1;
  }
  long count = 0;
  std::string line;
  while (in.next(line)) {
    if (runFlags().Quit || (stop && stop())) break;
    RequestPaths p = ParseFilePaths(line);
    if (p.quoteFile.empty() || BackDateFile(p.quoteFile) != 0) continue;
    ++count;
    MessBar(formatText(181, "Historical Quotefiles Backdated...%ld", count));
    KeepWindowsHappy();
  }
  return count;
}

std::string copySourceBase(std::string_view qtlPath) {
  std::string name = GetBaseFileNameExtLower(qtlPath);
  for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  std::size_t ext = name.find(".QTL");
  if (ext != std::string::npos) name.resize(ext);
  return name;
}

CopyQLResult CopyQuoteList(const std::string& sourceBase, const std::string& target, bool copyList,
                           bool copyConfig) {
  CopyQLResult r;
  // Under the case-blind file names the same letters in another case are the same files.
  if (::strcasecmp(sourceBase.c_str(), target.c_str()) == 0) {
    MessageBox("From/To base names must be different!", "CmCopyQL Warning Message", mb::ICONSTOP);
    r.refused = true;
    return r;
  }
  // A base name only: a folder in it (or "..") would copy outside the root's own folders.
  if (target.find_first_of("\\/") != std::string::npos || target.find("..") != std::string::npos) {
    MessageBox("The To: base name may not name a folder -- " + target, "CmCopyQL Warning Message", mb::ICONSTOP);
    r.refused = true;
    return r;
  }
  struct Pair {
    bool wanted;
    std::string from, to, reportHead;
  } pairs[] = {
      {copyList, sourceBase + ".QTL", target + ".QTL", "Quotelist -- "},
      {copyConfig, "QuoteList Configuration Files\\" + sourceBase + ".QCF",
       "QuoteList Configuration Files\\" + target + ".QCF", "Config File -- "},
  };
  for (const Pair& p : pairs) {
    if (!p.wanted) continue;
    if (fileExists(rootPath(p.to)) &&
        MessageBox("file " + p.to + " already exists!\n\n" + "OK to overwrite?", "CmCopyQL Warning Message",
                   mb::YESNO) != IDYES)
      return r;
    if (FileCopy(rootPath(p.to), rootPath(p.from), true) < 0) {
      r.backToDialog = true;
      return r;
    }
    r.copied = true;
    r.report += p.reportHead + sourceBase + " was copied to -- " + target + "\n\n";
  }
  if (r.copied)
    r.report += std::string("You may now open and edit these files to establish new download configurations.\n\n") +
                "You may download to this new file pair individually, or add it to the daily download command file.\n\n";
  MessageBox(r.report, "CmCopyQL Message", mb::ICONINFORMATION);
  return r;
}

bool RecoverQuoteFile(const std::string& quoteFile, const std::string& recFile) {
  if (!fileExists(recFile)) {
    MessageBox("Unable to locate file -- " + recFile, "Quote File Access Error", mb::ICONEXCLAMATION);
    return false;
  }
  std::string ask = formatText(1001, "Historical Quote File -- %s will be restored from\nRecovery File -- %s",
                               quoteFile.c_str(), recFile.c_str());
  if (MessageBox(ask, "QuoteList Window Message", mb::OKCANCEL) != IDOK) return false;
  return FileCopy(quoteFile, recFile, true) >= 0;
}

}  // namespace quova
