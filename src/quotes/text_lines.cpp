// Whole-line reading of text files with a memory cap, and whole-file writing by rename.
#include "quotes/text_lines.h"

#include "util/paths.h"

namespace quova {

TextLineReader::TextLineReader(std::string_view path) {
  f_ = std::fopen(nativePath(path).c_str(), "rb");
}

TextLineReader::~TextLineReader() {
  if (f_) std::fclose(f_);
}

void TextLineReader::rewind() {
  if (!f_) return;
  std::rewind(f_);
  atEnd_ = false;
}

bool TextLineReader::next(std::string& line, std::size_t cap) {
  line.clear();
  if (!f_ || atEnd_) return false;
  bool sawEnd = false;  // a line end was read
  int c;
  while ((c = getc(f_)) != EOF) {
    if (c == '\n') {
      sawEnd = true;
      break;
    }
    if (c == 0x1A) {
      // A Ctrl-Z as the last byte of the file ends it.
      int d = getc(f_);
      if (d == EOF) break;
      std::ungetc(d, f_);
    }
    if (line.size() < cap) line.push_back(static_cast<char>(c));
  }
  if (!sawEnd) atEnd_ = true;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return sawEnd || !line.empty();  // an empty remainder is no line
}

bool readTextLines(std::string_view path, std::vector<std::string>& lines, std::size_t cap) {
  TextLineReader r(path);
  if (!r.isOpen()) return false;
  lines.clear();
  std::string line;
  while (r.next(line, cap)) lines.push_back(line);
  return true;
}

bool writeTextLines(std::string_view path, const std::vector<std::string>& lines) {
  std::string content;
  for (const std::string& l : lines) {
    content += l;
    content += '\n';
  }
  return replaceFileContent(path, content);
}

}  // namespace quova
