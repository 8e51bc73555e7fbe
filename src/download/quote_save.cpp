// The saving step: correlating parsed quotes with quote requests in the three request
// modes, the need check, the update and comma images, and the repair tool runs.
#include "download/quote_save.h"

#include <chrono>
#include <cstring>
#include <initializer_list>

#include "base/host.h"
#include "base/log.h"
#include "base/root_path.h"
#include "base/run_flags.h"
#include "quotes/format_file.h"
#include "quotes/quote_names.h"
#include "quotes/quotelist.h"
#include "settings/repair_start.h"
#include "util/dates.h"
#include "util/filecopy.h"
#include "util/paths.h"
#include "util/strtools.h"

namespace quova {

namespace {

// Runs of blanks reduced to one, ends trimmed: how security names are compared.
std::string squeezed(std::string_view s) {
  std::string out;
  for (char c : s) {
    if (c == ' ' && (out.empty() || out.back() == ' ')) continue;
    out += c;
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

void put(char* field, const std::string& text) { quova::strcpy(field, text.c_str(), 81); }

void closeFiles(std::initializer_list<std::FILE**> files) {
  for (std::FILE** f : files)
    if (*f) {
      std::fclose(*f);
      *f = nullptr;
    }
}

const char kOpenFail2[] =
    "\n\nPlease carefully check QUOVA env variable, if using.\n\nAlso check validity of file name in Quotelist entry.";

}  // namespace

std::string commaLine(std::string_view line) {
  std::string s(line);
  auto all = [&](const char* from, const char* to) {
    size_t at, n = std::strlen(from);
    while ((at = s.find(from)) != std::string::npos) s.replace(at, n, to);
  };
  all("    ", "   ");
  all("   ", ", ");
  all(",,", ",");
  return s;
}

QuoteSaver::QuoteSaver(const DownloadSettings& s, const std::string& qtlPath, ParseSwitches sw)
    : s_(s), qtlPath_(qtlPath), sw_(sw) {
  list_ = std::make_unique<TextLineReader>(qtlPath);
  std::string header;
  if (list_->isOpen()) list_->next(header, 240);  // the header line is no request
}

QuoteSaver::~QuoteSaver() { closeOutputs(); }

bool QuoteSaver::openOutputs(const std::string& tmpPath, const std::string& csvPath,
                             const std::string& quotesCsvPath, bool csvEnable, bool csvAppend) {
  closeFiles({&tmp_, &csv_, &quotesCsv_});
  csvEnable_ = csvEnable;
  bool ok = true;
  if (!tmpPath.empty()) ok &= (tmp_ = std::fopen(nativePath(tmpPath).c_str(), "w")) != nullptr;
  if (csvEnable) {
    if (!csvPath.empty()) ok &= (csv_ = std::fopen(nativePath(csvPath).c_str(), "w")) != nullptr;
    if (!quotesCsvPath.empty())
      ok &= (quotesCsv_ = std::fopen(nativePath(quotesCsvPath).c_str(), csvAppend ? "a" : "w")) != nullptr;
  }
  return ok;
}

bool QuoteSaver::openDiagnostics(const std::string& pplPath, const std::string& parsedPath) {
  closeFiles({&ppl_, &parsed_});
  bool ok = true;
  if (!pplPath.empty()) ok &= (ppl_ = std::fopen(nativePath(pplPath).c_str(), "w")) != nullptr;
  if (!parsedPath.empty()) ok &= (parsed_ = std::fopen(nativePath(parsedPath).c_str(), "w")) != nullptr;
  return ok;
}

void QuoteSaver::attach(PageParser& parser) {
  parser.ppl = [this](std::string_view t) {
    if (ppl_) std::fwrite(t.data(), 1, t.size(), ppl_);
  };
  parser.parsed = [this](std::string_view t) {
    if (parsed_) std::fwrite(t.data(), 1, t.size(), parsed_);
  };
}

void QuoteSaver::writeNote(std::string_view text) {
  if (!sw_.JustShowPQuotes) return;
  if (parsed_) std::fwrite(text.data(), 1, text.size(), parsed_);
  if (note) note(text);
}

void QuoteSaver::closeOutputs() { closeFiles({&tmp_, &csv_, &quotesCsv_, &ppl_, &parsed_}); }

void QuoteSaver::sessionText(std::string_view text) {
  texts.emplace_back(text);
  if (onText) onText(text);
}
bool QuoteSaver::stopped() { return userStop || runFlags().Quit; }

void QuoteSaver::errorReport(std::string_view text) {
  errors.emplace_back(text);
  LogBox(text, "Quote DownLoad ERRORS", mb::OK | mb::ICONEXCLAMATION);
}

bool QuoteSaver::closeRequired(int group) const {
  if (group < 0 || group >= static_cast<int>(s_.groups.size())) return true;
  return s_.groups[group].closeRequired;
}

int QuoteSaver::marketDay() const { return GoodDate(s_.marketDate.c_str(), DATE_FMT_US); }

std::string QuoteSaver::requestPath(const std::string& symbol, const std::string& fileName) const {
  std::optional<std::string> name =
      fileName == "*" ? quoteFileName(symbolFileName(symbol)) : quoteFileName(fileName);
  return name ? writerQuotePath(*name) : std::string();
}

bool QuoteSaver::CheckQuotefileStatus(const PageRequest& r) {
  std::string path = requestPath(r.symbol, r.fileName);
  if (path.empty()) {
    errorReport(formatText(381, "Cannot open Quote file for update -- %s", r.fileName.c_str()) + kOpenFail2);
    return false;
  }
  if (!fileExists(path)) return true;
  if (fileStampDay(path) >= marketDay()) return false;
  std::FILE* f = std::fopen(nativePath(path).c_str(), "a");
  if (!f) {
    errorReport(formatText(381, "Cannot open Quote file for update -- %s", path.c_str()) + kOpenFail2);
    return false;
  }
  std::fclose(f);
  return true;
}

int QuoteSaver::GetNextSymbol(QuoteData* q) {
  if (!list_ || !list_->isOpen()) return 0;
  std::string line;
  for (;;) {
    if (!list_->next(line, 240)) {
      list_->rewind();
      std::string header;
      list_->next(header, 240);
      return 0;
    }
    RequestFields f = splitRequestLine(line);
    if (f.symbol.empty() || f.symbol.size() > 75) continue;
    PageRequest r{f.symbol, f.fileName == "*" ? symbolFileName(f.symbol) : f.fileName, f.coName};
    put(q->Symbol, r.symbol);
    put(q->FileName, r.fileName);
    put(q->Co_name, r.coName);
    return CheckQuotefileStatus(r) ? 1 : -1;
  }
}

bool QuoteSaver::pageRequest(QuoteData* q, int group) {
  std::string page = q->Symbol;
  std::string pageName = q->Co_name;
  if (q->FileName[0]) return true;  // already named (a futures path)
  int r = GetNextSymbol(q);
  auto underPage = [&]() {
    put(q->Symbol, page);
    put(q->FileName, page);
    put(q->Co_name, pageName);
  };
  if (s_.groups[group].correlateBy == CB_SYMBOL_STRICT) {
    if (r != 1 || page.empty() || iequals(page, q->Symbol)) return false;
    underPage();
    return true;
  }
  if (r != 1) {
    if (page.empty()) return false;
    underPage();
    return true;
  }
  if (!page.empty() && !iequals(page, q->Symbol)) underPage();
  return true;
}

bool QuoteSaver::symbolRequest(QuoteData* q, int group, long handed) {
  const PageRequest* found = nullptr;
  int by = s_.groups[group].correlateBy;
  if (by == CB_ORDER) {
    // The position counts the quotes handed over in this pass; beyond the table nothing.
    if (handed >= 0 && handed < static_cast<long>(requests.size())) found = &requests[handed];
    if (found) put(q->Symbol, found->symbol);
  } else if (by == CB_DOWNLOAD) {
    if (!requests.empty()) found = &requests[0];
    if (found) put(q->Symbol, found->symbol);
  } else if (by == CB_CO_NAME) {
    std::string name = squeezed(q->Co_name);
    for (const auto& r : requests)
      if (iequals(squeezed(r.coName), name)) {
        found = &r;
        break;
      }
    if (found) put(q->Symbol, found->symbol);
  } else {
    for (const auto& r : requests) {
      size_t colon = r.symbol.find(':');
      std::string sym = colon == std::string::npos ? r.symbol : r.symbol.substr(colon + 1);
      if (iequals(sym, q->Symbol)) {
        found = &r;
        break;
      }
    }
  }
  if (!found) {
    writeNote(formatText(300, "Cannot find symbol \"%s\" in Quotelist ", q->Symbol) + "\n");
    return false;
  }
  put(q->FileName, found->fileName);
  put(q->Co_name, found->coName);
  return true;
}

bool QuoteSaver::optionsRequest(QuoteData* q) {
  std::string name = q->AltFileName;
  // No underlying directory (its security was not found or its name was refused): the
  // series would land at the top of quotes.day under its expiration code alone.
  if (name.empty()) return false;
  if (!q->ExpChar[0]) {
    LogBox("Expiration Character not found for " + name, "in SaveQuoteLine", mb::OK | mb::ICONEXCLAMATION);
    return false;
  }
  if (!q->ExpYr[0]) {
    LogBox("Expiration Date not found for " + name, "in SaveQuoteLine", mb::OK | mb::ICONEXCLAMATION);
    return false;
  }
  put(q->FileName, name + q->ExpChar + q->ExpYr);
  return true;
}

bool QuoteSaver::SaveQuoteLine(QuoteData* q, long& saved, int group, long handed) {
  if (sw_.JustShowPPLine || sw_.JustShowPQuotes) return false;
  if (group < 0 || group >= static_cast<int>(s_.groups.size())) return false;
  bool ok = false;
  switch (s_.requestMode) {
    case BY_PAGE: ok = pageRequest(q, group); break;
    case BY_OPTIONS: ok = optionsRequest(q); break;
    default: ok = symbolRequest(q, group, handed); break;
  }
  if (!ok) return false;
  if (!Update_Quotefile(q, group, *this)) return false;
  ++saved;
  return true;
}

void QuoteSaver::NoteQuoteLine(QuoteData* q, int group, long handed) {
  if (s_.requestMode != BY_SYMBOL || group < 0 || group >= static_cast<int>(s_.groups.size())) return;
  QuoteData copy = *q;
  symbolRequest(&copy, group, handed);
}

bool QuoteSaver::SetSecurityDirectory(QuoteData* q) {
  std::string page = q->Symbol;
  std::string name = squeezed(q->Co_name);
  QuoteData req;
  QuoteDataClear(&req);
  int ends = 0;
  bool found = false;
  std::string dir;
  for (;;) {
    int r = GetNextSymbol(&req);
    if (r == 0) {
      if (++ends == 2) break;
      continue;
    }
    if (r < 0) break;
    dir = req.FileName;
    dir = dir.substr(0, dir.find('\\'));
    if (iequals(dir, lastDirectory_)) continue;
    if (iequals(squeezed(req.Co_name), name)) {
      found = true;
      break;
    }
  }
  std::string sym, file;
  if (found) {
    lastDirectory_ = dir;
    sym = req.Symbol;
    file = dir;
    if (!page.empty() && !iequals(page, sym)) sym = file = page;
  } else {
    if (page.empty()) {
      LogBox("Cannot find entry for: \n\n" + std::string(q->Co_name) + "\n\n" +
                 "Likely Quote obtained for security not listed in Quotelist.\n\n" +
                 "This may result in loss of quotes.\n\n" +
                 "Add this security to your Quotelist, and repeat the download.\n\n",
             "Error in SetSecurityDirectory", mb::OK | mb::ICONEXCLAMATION);
      return false;
    }
    sym = file = page;
  }
  put(q->Symbol, sym);
  put(q->FileName, file);
  // A name from the page never makes a folder outside quotes.day.
  if (!quoteFileName(file, false)) {
    errorReport(formatText(381, "Cannot open Quote file for update -- %s", file.c_str()) + kOpenFail2);
    return false;
  }
  makeDirectories(rootPath("quotes.day\\" + file));
  put(q->AltFileName, file + "\\" + file + "_");
  return true;
}

void QuoteSaver::saveQtl(const QuoteData& quote, const char* line) {
  if (tmp_) {
    const char* name = quote.Co_name[0] ? quote.Co_name : quote.Symbol;
    std::fprintf(tmp_, "%s   %s   %s   %s", quote.Symbol, quote.FileName, name, line);
  }
  if (!csvEnable_) return;
  std::string c = commaLine(line);
  if (csv_) std::fputs(c.c_str(), csv_);
  if (quotesCsv_) std::fputs(c.c_str(), quotesCsv_);
}

bool QuoteSaver::WaitForMendoraCompletion() {
  const long bound = unattended ? waitLimitMs : 0;
  const RepairWait end = waitForRepairTool(repairProcess_, bound, [this] { return stopped(); });
  repairProcess_ = -1;
  return end != RepairWait::Stopped;
}

long long QuoteSaver::RunMendora(const std::string& path, bool interactive) {
  if (!fileExists(path)) {
    if (interactive)
      LogBox("Unable to locate file -- " + path, "Quote File Access Error", mb::OK | mb::ICONEXCLAMATION);
    else
      Log("\n%s", ("Unable to locate file -- " + path).c_str());
    return -1;
  }
  SaveFormatInfo(path, s_.outputFormat);
  runFlags().FileToFixPath = repairArgument(path);
  // No person waits at a repair after historical pages.
  return startRepairTool(!interactive);
}

void QuoteSaver::CheckMendoraRequest() {
  if (!s_.RunMendora) return;
  for (const auto& r : requests) {
    std::string path = requestPath(r.symbol, r.fileName);
    if (path.empty()) continue;
    WaitForMendoraCompletion();
    if (stopped()) return;
    repairProcess_ = RunMendora(path, false);
  }
}

}  // namespace quova
