// The page line reader of the parser and the AddOn reader.
#include "download/page_lines.h"

#include <cstring>

#include "base/host.h"
#include "base/log.h"
#include "util/paths.h"

namespace quova {

namespace {

bool isLineEol(const std::string& eol) {
  if (eol == "\n") return true;
  return eol.size() == 2 && eol[0] == '\\' && (eol[1] == 'n' || eol[1] == 'N');
}

}  // namespace

PageLineReader::PageLineReader(const std::string& pagePath, const std::string& eol)
    : eol_(eol.empty() ? "\n" : eol), lineMode_(isLineEol(eol.empty() ? "\n" : eol)) {
  f_ = std::fopen(nativePath(pagePath).c_str(), "rb");
}

PageLineReader::~PageLineReader() {
  if (f_) std::fclose(f_);
}

bool PageLineReader::textLine(std::string& line, size_t cap) {
  line.clear();
  if (eof_) return false;
  // Blocks of the page into a buffer of our own, and memchr to the next line feed: a page
  // of megabytes is read a character at a time otherwise.
  if (block_.empty()) block_.resize(kTextBlockSize);
  bool any = false;
  for (;;) {
    if (blockAt_ == blockLen_) {
      blockAt_ = 0;
      blockLen_ = std::fread(block_.data(), 1, block_.size(), f_);
      if (blockLen_ == 0) {
        eof_ = true;
        break;
      }
    }
    any = true;
    const char* from = block_.data() + blockAt_;
    const size_t avail = blockLen_ - blockAt_;
    const char* feed = static_cast<const char*>(std::memchr(from, '\n', avail));
    const size_t length = feed ? static_cast<size_t>(feed - from) : avail;
    // At most cap + 1 characters are kept; NUL bytes read as blanks.
    const size_t room = line.size() <= cap ? cap + 1 - line.size() : 0;
    const size_t kept = length < room ? length : room;
    const size_t old = line.size();
    line.append(from, kept);
    for (const char* z = from; (z = static_cast<const char*>(std::memchr(z, 0, kept - (z - from)))); ++z)
      line[old + (z - from)] = ' ';
    blockAt_ += length + (feed ? 1 : 0);
    if (feed) break;
  }
  if (!any) return false;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (eof_ && line.size() == 1 && line[0] == '\x1a') line.clear();
  return true;
}

bool PageLineReader::eolLine(std::string& line, size_t cap) {
  for (;;) {
    size_t from = searchFrom_ > eol_.size() ? searchFrom_ - eol_.size() : 0;
    size_t at = pending_.find(eol_, from);
    if (at != std::string::npos) {
      line.assign(pending_, 0, at > cap + 1 ? cap + 1 : at);
      pending_.erase(0, at + eol_.size());
      searchFrom_ = 0;
      return true;
    }
    searchFrom_ = pending_.size();
    if (eof_) {
      // The text after the last end-of-line string is the last line.
      if (pending_.empty()) return false;
      line.assign(pending_, 0, cap + 1);
      pending_.clear();
      searchFrom_ = 0;
      return true;
    }
    char block[kPageBlockSize];
    size_t n = std::fread(block, 1, sizeof block, f_);
    if (n == 0) {
      eof_ = true;
      if (heldCR_) pending_.push_back(' ');
      heldCR_ = false;
      continue;
    }
    if (pending_.size() + n > static_cast<size_t>(kPendingSize - 1)) {
      if (!overflowed_)
        LogBox("Buffer OverFlow occurred!\n\nPlease report this error for investigation along with your "
               "quova.log file.",
               "In DownLoadView::getnextline", mb::OK | mb::ICONEXCLAMATION);
      overflowed_ = true;
      // The pending text becomes a line of its own, and the block starts a new one.
      line.assign(pending_, 0, cap + 1);
      pending_.clear();
      searchFrom_ = 0;
      std::fseek(f_, -static_cast<long>(n), SEEK_CUR);
      return true;
    }
    std::string text;
    text.reserve(n + 1);
    if (heldCR_) text.push_back('\r');
    heldCR_ = false;
    for (size_t i = 0; i < n; ++i) {
      char c = block[i];
      if (c == '\r') {
        if (i + 1 == n) {
          heldCR_ = true;  // decided by the next block
          continue;
        }
        if (block[i + 1] == '\n') continue;
      }
      if (c == '\n' && !text.empty() && text.back() == '\r') text.pop_back();
      text.push_back(c ? c : ' ');
    }
    // The page's own line ends inside a piece separate fields as blanks do; kept, they
    // would start every piece after a "</tr>\n" and fail its first field.
    for (char& ch : text)
      if (ch == '\n' || ch == '\r') ch = ' ';
    pending_ += text;
  }
}

bool PageLineReader::getnextline(std::string& line, size_t cap) {
  if (!f_) return false;
  return lineMode_ ? textLine(line, cap) : eolLine(line, cap);
}

}  // namespace quova
