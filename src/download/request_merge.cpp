// The merge of a quote list with the update image of its session.
#include "download/request_merge.h"

#include <vector>

#include "base/log.h"
#include "quotes/quotelist.h"
#include "quotes/text_lines.h"
#include "util/filecopy.h"
#include "util/paths.h"
#include "util/strtools.h"

namespace quova {

namespace {

bool sameRequest(const std::vector<std::string>& a, const std::vector<std::string>& b, bool matchFilePath) {
  if (a.empty() || b.empty() || !iequals(a[0], b[0])) return false;
  if (!matchFilePath) return true;
  std::string fa = a.size() > 1 ? a[1] : std::string(), fb = b.size() > 1 ? b[1] : std::string();
  return iequals(fa, fb);
}

bool listedIn(const std::vector<std::vector<std::string>>& table, const std::vector<std::string>& fields,
              bool matchFilePath, std::size_t* at = nullptr) {
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (sameRequest(table[i], fields, matchFilePath)) {
      if (at) *at = i;
      return true;
    }
  }
  return false;
}

}  // namespace

RequestMergeResult UDQuoteRequests(const std::string& qtlPath, const std::string& tmpPath,
                                   const std::string& updPath, bool matchFilePath,
                                   const std::function<void(std::string_view)>& report) {
  RequestMergeResult r;
  std::vector<std::string> list, image;
  if (!readTextLines(qtlPath, list)) {
    report(formatText(1000, "Cannot Open Input Stream for QuoteList -- %s", qtlPath.c_str()));
    return r;
  }
  if (!readTextLines(tmpPath, image)) {
    report(formatText(1000, "Cannot Open Input Stream for temp File -- %s", tmpPath.c_str()));
    return r;
  }
  std::vector<std::vector<std::string>> listFields, imageFields;
  for (const std::string& l : list) listFields.push_back(twoBlankFields(l));
  for (const std::string& l : image) imageFields.push_back(twoBlankFields(l));

  std::string out;
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (list[i].empty() || listedIn(imageFields, listFields[i], matchFilePath)) continue;
    out += list[i] + "\n";
    ++r.kept;
    AppMessBar(formatText(181, "Quotes Read from Quotelist...%ld", r.kept));
  }
  for (std::size_t i = 0; i < image.size(); ++i) {
    if (image[i].find_first_not_of(' ') == std::string::npos) continue;
    std::size_t at = 0;
    if (listedIn(listFields, imageFields[i], matchFilePath, &at)) {
      out += list[at] + "\n";
      ++r.listed;
      continue;
    }
    std::string line;
    for (std::size_t k = 0; k < imageFields[i].size() && k < 3; ++k) line += (k ? "   " : "") + imageFields[i][k];
    out += line + "\n";
    ++r.added;
    AppMessBar(formatText(181, "New Quotes Read...%ld", r.added));
  }
  if (!replaceFileContent(nativePath(updPath), out)) {
    report(formatText(1000, "Cannot Open Output Stream for QuoteList -- %s", updPath.c_str()));
    return r;
  }
  if (FileCopy(nativePath(qtlPath), nativePath(updPath), false) < 0) {
    report(formatText(1000, "Cannot Open Output Stream for QuoteList -- %s", qtlPath.c_str()));
    return r;
  }
  r.ok = true;
  return r;
}

}  // namespace quova
