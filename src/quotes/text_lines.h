// Reading the system's text files line by line: "\r" before "\n" is dropped, a 0x1A as the
// last byte ends the file, and a line longer than the cap keeps its first part while the
// rest is dropped (never turned into a line of its own).
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace quova {

inline constexpr std::size_t kLineCap = 64 * 1024;

class TextLineReader {
 public:
  explicit TextLineReader(std::string_view path);  // path mapped with nativePath
  ~TextLineReader();
  TextLineReader(const TextLineReader&) = delete;
  TextLineReader& operator=(const TextLineReader&) = delete;
  bool isOpen() const { return f_ != nullptr; }
  // The next line without its line end; false at the end of the file. A last line without
  // a line end is still a line; an empty remainder is not.
  bool next(std::string& line, std::size_t cap = kLineCap);
  void rewind();

 private:
  std::FILE* f_ = nullptr;
  bool atEnd_ = false;
};

// All lines of a file; false when it cannot be opened.
bool readTextLines(std::string_view path, std::vector<std::string>& lines,
                   std::size_t cap = kLineCap);

// Joins lines with "\n" after each and replaces the file atomically.
bool writeTextLines(std::string_view path, const std::vector<std::string>& lines);

}  // namespace quova
