// Reading a QCF line by line: lines hold at most 180 characters; "\r" before "\n", a final
// 0x1A and NUL bytes are dealt with; tabs, "//" comments and option blocks are applied.
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

#include "download/qcf.h"

namespace quova {

class QcfLines {
 public:
  explicit QcfLines(const std::string& path);
  ~QcfLines();
  QcfLines(const QcfLines&) = delete;
  QcfLines& operator=(const QcfLines&) = delete;
  bool isOpen() const { return f_ != nullptr; }

  // The next line to work on: raw gets the line as read, line the line after tabs,
  // comments and option blocks. False at the end of the file. Over-long lines are
  // reported through tooLong and skipped. beginLine gets the rest of a "Begin" line
  // (the caption text after the option number) with its group and option number.
  bool next(std::string& raw, std::string& line);

  std::function<void(std::string_view)> tooLong;
  std::function<void(int group, int option, std::string_view caption)> beginLine;
  DLOptions options{};

 private:
  int readRaw(std::string& raw);  // 0 end, 1 line, 2 over-long
  bool optionBlock(const std::string& line);
  std::FILE* f_ = nullptr;
  int blockNumber_[3] = {0, 0, 0};
};

// Tabs to two blanks, "//" at the start empties the line, " //" cuts the rest.
std::string qcfStripComments(std::string_view raw);
// The first token of text (leading blanks skipped, ends at a run of two blanks, trailing
// blanks cut); *rest gets the text after the token's end.
std::string firstToken(std::string_view text, std::string_view* rest = nullptr);

// OutputFormat= and OutputFieldPositions= of a raw line into a descriptor; false (fmt
// unchanged) when an OutputFormat= entry is no field name, count or quoted text.
bool parseOutputFormat(const std::string& raw, OFtype* fmt);
void parseOutputPositions(const std::string& raw, OFtype* fmt);
bool applyOutputKey(const std::string& raw, OFtype* fmt);

}  // namespace quova
