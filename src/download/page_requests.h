// The pages of a quote list download: the request table read from the list (at most the
// QCF's quotes per page), the symbols part of the page address, and historical paging.
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

#include "download/qcf.h"
#include "download/quote_save.h"

namespace quova {

inline constexpr std::size_t kRequestLineMax = 240;  // quote list lines are read in this size
inline constexpr std::size_t kSymbolMax = 60;        // a longer symbol counts as empty

// One quote list line as a request; false for a heading or a line without a symbol.
bool parseRequestLine(std::string_view line, PageRequest* r);

class PageRequests {
 public:
  // stopped: the user's stop, polled between lines.
  PageRequests(DownloadSettings& s, QuoteSaver& saver, std::function<bool()> stopped = {});
  ~PageRequests();
  PageRequests(const PageRequests&) = delete;
  PageRequests& operator=(const PageRequests&) = delete;

  bool open(const std::string& qtlPath);  // the quote list stream
  // Fills the saver's request table and the symbols part; the count (0 at the end).
  int GetQuoteRequests();
  // The address of the next by-symbol page, or "" when no request is left.
  // lastPageSaved: quotes the page just done saved (historical paging goes on while > 0).
  std::string AddQuotesToPage(long lastPageSaved);
  // The first page's address in the by-page and by-options modes.
  std::string wholePageAddress() const { return s_.pageAddress + s_.suffix; }
  const std::string& symbols() const { return symbols_; }

 private:
  DownloadSettings& s_;
  QuoteSaver& saver_;
  std::function<bool()> stopped_;
  std::FILE* list_ = nullptr;
  std::string symbols_;
};

// What the first page of a download is: a local file to copy and parse, a page to open,
// or nothing (no request needs a quote).
struct PageStart {
  enum Kind { LocalFile, Open, None } kind = None;
  std::string address;  // the file or the page address, suffix included
};
PageStart StartDownload(PageRequests& pages, const DownloadSettings& s);

}  // namespace quova
