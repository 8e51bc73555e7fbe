// Cutting a saved quote page into lines (getnextline): text lines, or pieces between the
// QCF's end-of-line string. Memory stays bounded by the buffers whatever the page size.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace quova {

inline constexpr int kPageLineSize = 2000;     // lines of 1999 characters or more are skipped
inline constexpr int kPendingSize = 20000;     // pending text of the end-of-line string mode
inline constexpr int kPageBlockSize = 9999;    // one read of the end-of-line string mode

class PageLineReader {
 public:
  // eol "\n" (the character, or the text "\n" in any case) reads text lines.
  PageLineReader(const std::string& pagePath, const std::string& eol);
  ~PageLineReader();
  PageLineReader(const PageLineReader&) = delete;
  PageLineReader& operator=(const PageLineReader&) = delete;
  bool isOpen() const { return f_ != nullptr; }

  // The next line; false when no more. A line longer than the cap is returned cut to
  // cap + 1 characters, so callers see it is too long. NUL bytes read as blanks; text
  // lines lose a "\r" before "\n", and in the end-of-line string mode the page's own
  // line ends ("\r\n", "\n" or "\r") read as one blank.
  bool getnextline(std::string& line, size_t cap = kPageLineSize - 1);
  // Set when a pending buffer overflowed on this page (the box is shown once).
  bool overflowed() const { return overflowed_; }

 private:
  bool textLine(std::string& line, size_t cap);
  bool eolLine(std::string& line, size_t cap);
  static constexpr size_t kTextBlockSize = 65536;
  std::FILE* f_ = nullptr;
  std::vector<char> block_;  // text lines: the page read a block at a time
  size_t blockAt_ = 0, blockLen_ = 0;
  std::string eol_;
  bool lineMode_ = true;
  std::string pending_;
  size_t searchFrom_ = 0;
  bool heldCR_ = false;
  bool eof_ = false;
  bool overflowed_ = false;
};

}  // namespace quova
