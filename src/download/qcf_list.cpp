// Where a quote list's QCF lives, the copy of default.qcf a list without one gets, and the
// quote list window's reader (captions, links, header text and the output format).
#include <cctype>
#include <cstdlib>
#include <cstring>

#include "base/host.h"
#include "base/log.h"
#include "base/root_path.h"
#include "download/qcf.h"
#include "download/qcf_lines.h"
#include "quotes/quote_names.h"
#include "util/filecopy.h"
#include "util/strtools.h"

namespace quova {

std::string qcfPathForList(std::string_view qtlPath) {
  size_t slash = qtlPath.find_last_of("\\/");
  std::string_view name = slash == std::string_view::npos ? qtlPath : qtlPath.substr(slash + 1);
  name = name.substr(0, name.find('.'));
  return rootPath("QuoteList Configuration Files\\" + std::string(name) + ".qcf");
}

QcfResult ReadListQCFForDownload(std::string_view qtlPath, const QcfInput& in, DownloadSettings* s) {
  auto report = [&](std::string_view t) {
    if (in.configError)
      in.configError(t);
    else
      LogBox(t, kQcfErrorCaption, mb::OK | mb::ICONEXCLAMATION);
  };
  std::string path = qcfPathForList(qtlPath);
  QcfResult r = ReadSessionQCF(path, in, s);
  if (r != QcfResult::NotFound) return r;
  report(formatText(1000, "Could Not Open Quotelist Configuration File -- %s.\n", path.c_str()) +
         "Using Default Configuration File.\n" +
         "To Edit, see Options under the Quotelist Window for this file.\n");
  std::string def = rootPath("QuoteList Configuration Files\\default.qcf");
  if (FileCopy(path, def, false) >= 0) r = ReadSessionQCF(path, in, s);
  if (r == QcfResult::NotFound)
    report(formatText(1000, "Could Not Open Default Configuration File -- %s", def.c_str()));
  return r;
}

ListQcf::ListQcf() {
  for (auto& c : optionCaption) c = "Undefined";
  SetDefaultFormat(&outputFormat);
}

namespace {

bool iequal(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

}  // namespace

bool GetQCF(const std::string& qcfPath, const DLOptions& options, ListQcf* q) {
  QcfLines lines(qcfPath);
  if (!lines.isOpen()) return false;
  lines.options = options;
  lines.beginLine = [q](int g, int n, std::string_view caption) {
    int index = (g - 1) * 6 + (n - 1);
    if (!caption.empty() && index >= 0 && index < 14 && n <= (g == 3 ? 2 : 6))
      q->optionCaption[index] = std::string(caption.substr(0, 80));
  };
  // The output keys are read with the session's reader rules on a one-line script.
  std::string raw, text;
  while (lines.next(raw, text)) {
    std::string tok = firstToken(text);
    if (tok.empty()) continue;
    for (int g = 0; g < 3; ++g) {
      std::string key = "Group" + std::to_string(g + 1) + "Caption=";
      size_t at = text.find(key);
      if (at != std::string::npos) q->groupCaption[g] = firstToken(text.substr(at + key.size())).substr(0, 80);
    }
    auto value = [&](const char* key) -> std::optional<std::string> {
      size_t at = tok.find(key);
      if (at == std::string::npos) return std::nullopt;
      return tok.substr(at + std::strlen(key));
    };
    if (auto v = value("QtlHeader=")) {
      size_t at = raw.find("QtlHeader=");
      q->qtlHeader = at == std::string::npos ? *v : raw.substr(at + 10).substr(0, 1080);
    } else if (auto v = value("File=")) {
      if (!v->empty()) q->localFile = true;
    } else if (auto v = value("OutputDateFormat=")) {
      quova::strcpy(q->outputFormat.outDateFormat, v->c_str(), 13);
    } else if (auto v = value("SymSearch=")) {
      q->symSearch = v->substr(0, 380);
    } else if (auto v = value("BrowserLink=")) {
      q->browserLink = v->substr(0, 380);
    } else if (auto v = value("OutputDelimeter=")) {
      q->outputFormat.delimiter = iequal(*v, "comma") ? DELIM_COMMA : DELIM_COLUMNS;
    } else if (tok.find("OutputFormat=") != std::string::npos ||
               tok.find("OutputFieldPositions=") != std::string::npos) {
      DownloadSettings s;
      s.outputFormat = q->outputFormat;
      if (applyOutputKey(raw, &s.outputFormat)) q->outputFormat = s.outputFormat;
    } else if (auto v = value("Header=")) {
      quova::strcpy(q->outputFormat.headerTemplate, iequal(*v, "none") ? "None.day" : v->c_str(), 181);
    } else if (iequal(tok, "by_options")) {
      q->byOptions = true;
    }
  }
  return true;
}

}  // namespace quova
