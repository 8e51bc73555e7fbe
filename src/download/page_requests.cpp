// Request tables and page addresses of a by-symbol download.
#include "download/page_requests.h"

#include <cctype>

#include "base/host.h"
#include "base/log.h"

namespace quova {

namespace {

// Leading blanks dropped, then the text up to two blanks (tabs count as two blanks).
std::string nextToken(std::string& rest) {
  std::size_t start = rest.find_first_not_of(' ');
  if (start == std::string::npos) {
    rest.clear();
    return {};
  }
  std::size_t end = rest.find("  ", start);
  std::string token = rest.substr(start, end == std::string::npos ? std::string::npos : end - start);
  rest = end == std::string::npos ? std::string() : rest.substr(end + 2);
  return token;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

// A line of the list without its line end, cut to the read size; false at the end.
bool readLine(std::FILE* f, std::string& line) {
  line.clear();
  int c = std::fgetc(f);
  if (c == EOF) return false;
  for (; c != EOF && c != '\n'; c = std::fgetc(f))
    if (line.size() < kRequestLineMax - 1) line.push_back(static_cast<char>(c));
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (c == EOF && !line.empty() && line.back() == '\x1A') line.pop_back();
  return true;
}

}  // namespace

bool parseRequestLine(std::string_view line, PageRequest* r) {
  std::string rest;
  for (char ch : line) {
    if (ch == '\t') rest += "  ";
    else rest.push_back(ch);
  }
  std::string symbol = nextToken(rest);
  if (symbol.size() > 79) symbol.resize(79);
  if (symbol.size() > kSymbolMax) symbol.clear();
  if (symbol.empty() || equalsNoCase(symbol, "SYMBOL")) return false;
  std::string file = nextToken(rest);
  if (file == "*") {
    file = symbol;
    if (auto dot = file.find('.'); dot != std::string::npos) file.erase(dot, 1);
  }
  r->symbol = symbol;
  r->fileName = file;
  r->coName = nextToken(rest);
  return true;
}

PageRequests::PageRequests(DownloadSettings& s, QuoteSaver& saver, std::function<bool()> stopped)
    : s_(s), saver_(saver), stopped_(std::move(stopped)) {}

PageRequests::~PageRequests() {
  if (list_) std::fclose(list_);
}

bool PageRequests::open(const std::string& qtlPath) {
  if (list_) std::fclose(list_);
  list_ = std::fopen(qtlPath.c_str(), "rb");
  s_.histPage = s_.histStart;
  return list_ != nullptr;
}

int PageRequests::GetQuoteRequests() {
  saver_.requests.clear();
  symbols_.clear();
  if (!list_) {
    MessageBox("Could Not assign input stream is", "in GetQuoteRequests", mb::OK | mb::ICONSTOP);
    return 0;
  }
  std::size_t perPage = s_.quotesPerPage > 0 ? static_cast<std::size_t>(s_.quotesPerPage) : 1;
  if (perPage > 10) perPage = 10;  // the table's size
  std::string line;
  while (saver_.requests.size() < perPage && !(stopped_ && stopped_())) {
    if (!readLine(list_, line)) break;
    PageRequest r;
    if (!parseRequestLine(line, &r)) continue;
    if (!saver_.CheckQuotefileStatus(r)) continue;
    if (!symbols_.empty()) symbols_ += s_.separator;
    symbols_ += r.symbol;
    saver_.requests.push_back(std::move(r));
  }
  return static_cast<int>(saver_.requests.size());
}

std::string PageRequests::AddQuotesToPage(long lastPageSaved) {
  if (!s_.historical) {
    if (GetQuoteRequests() == 0) return {};
    return s_.pageAddress + symbols_ + s_.suffix;
  }
  char paging[40];
  for (int round = 0; round < 2; ++round) {
    if (s_.histPage == s_.histStart) {
      if (GetQuoteRequests() == 0) return {};
      std::snprintf(paging, sizeof paging, "&y=%d&z", s_.histPage);
      s_.suffix = paging;
      s_.histPage += s_.histStep;
      return s_.pageAddress + symbols_ + s_.suffix;
    }
    if (lastPageSaved > 0 && s_.histPage <= s_.histEnd) {
      std::snprintf(paging, sizeof paging, "&y=%d&z", s_.histPage);
      s_.suffix = paging;
      s_.histPage += s_.histStep;
      return s_.pageAddress + symbols_ + s_.suffix;
    }
    // The requests just finished are done: repair their files, then the next requests.
    s_.histPage = s_.histStart;
    saver_.CheckMendoraRequest();
  }
  return {};
}

PageStart StartDownload(PageRequests& pages, const DownloadSettings& s) {
  if (s.localFile) return {PageStart::LocalFile, s.pageAddress + s.suffix};
  if (s.requestMode == BY_SYMBOL) {
    std::string address = pages.AddQuotesToPage(0);
    if (address.empty()) return {};
    return {PageStart::Open, address};
  }
  return {PageStart::Open, pages.wholePageAddress()};
}

}  // namespace quova
