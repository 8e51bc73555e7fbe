// The QCF line reader shared by the session's reader and the quote list window's reader.
#include "download/qcf_lines.h"

#include <cstdlib>
#include <cstring>

#include "util/paths.h"

namespace quova {

QcfLines::QcfLines(const std::string& path) { f_ = std::fopen(nativePath(path).c_str(), "rb"); }

QcfLines::~QcfLines() {
  if (f_) std::fclose(f_);
}

int QcfLines::readRaw(std::string& raw) {
  raw.clear();
  int c;
  while ((c = std::fgetc(f_)) != EOF) {
    if (c == '\n') {
      if (!raw.empty() && raw.back() == '\r') raw.pop_back();
      return 1;
    }
    if (raw.size() >= static_cast<size_t>(kQcfLineMax)) {
      // No line end within 181 bytes: the line is reported and the rest of it dropped.
      if (c == '\r') {
        int d = std::fgetc(f_);
        if (d == '\n' || d == EOF) return 1;
        std::ungetc(d, f_);
      }
      raw.push_back(static_cast<char>(c));
      while ((c = std::fgetc(f_)) != EOF && c != '\n') {
      }
      raw.resize(kQcfLineMax);
      return 2;
    }
    raw.push_back(c == 0 ? ' ' : static_cast<char>(c));
  }
  // A last line without a line end is a normal line; a final 0x1A or "\r" is no text.
  if (!raw.empty() && raw.back() == '\x1a') raw.pop_back();
  if (!raw.empty() && raw.back() == '\r') raw.pop_back();
  return raw.empty() ? 0 : 1;
}

std::string qcfStripComments(std::string_view raw) {
  std::string line;
  line.reserve(raw.size() * 2);
  for (char c : raw) {
    if (c == '\t')
      line += "  ";
    else
      line += c;
  }
  if (line.compare(0, 2, "//") == 0) return {};
  size_t cut = line.find(" //");
  if (cut != std::string::npos) line.erase(cut);
  return line;
}

std::string firstToken(std::string_view text, std::string_view* rest) {
  size_t b = text.find_first_not_of(' ');
  if (b == std::string_view::npos) {
    if (rest) *rest = {};
    return {};
  }
  text.remove_prefix(b);
  size_t e = text.find("  ");
  std::string tok(text.substr(0, e));
  while (!tok.empty() && tok.back() == ' ') tok.pop_back();
  if (rest) *rest = e == std::string_view::npos ? std::string_view{} : text.substr(e);
  return tok;
}

bool QcfLines::optionBlock(const std::string& line) {
  static const char* names[3] = {"Group1Option", "Group2Option", "Group3Option"};
  bool begin = line.compare(0, 5, "Begin") == 0;
  bool end = line.compare(0, 4, "End ") == 0;
  if (!begin && !end) return false;
  for (int g = 0; g < 3; ++g) {
    size_t at = line.find(names[g]);
    if (at == std::string::npos) continue;
    if (end) {
      blockNumber_[g] = 0;
      return true;
    }
    const char* p = line.c_str() + at + std::strlen(names[g]);
    char* after = nullptr;
    long n = std::strtol(p, &after, 10);
    if (after == p) n = 0;
    blockNumber_[g] = n > 0 && n < 100 ? static_cast<int>(n) : 0;
    if (beginLine && blockNumber_[g] > 0) {
      std::string caption = firstToken(after);
      beginLine(g + 1, blockNumber_[g], caption);
    }
    return true;
  }
  return false;
}

bool QcfLines::next(std::string& raw, std::string& line) {
  if (!f_) return false;
  for (;;) {
    int r = readRaw(raw);
    if (r == 0) return false;
    if (r == 2) {
      if (tooLong)
        tooLong("Line Length Exceeds 180 characters or missing CR.\nLine Ignored.\n\n" + raw);
      continue;
    }
    if (!raw.empty() && raw[0] == '/') continue;
    line = qcfStripComments(raw);
    if (optionBlock(line)) continue;
    bool skip = false;
    for (int g = 0; g < 3; ++g) {
      int n = blockNumber_[g];
      int count = g == 2 ? 2 : 6;
      if (n >= 1 && n <= count && !optionOn(options, g + 1, n)) skip = true;
    }
    if (skip) continue;
    return true;
  }
}

}  // namespace quova
