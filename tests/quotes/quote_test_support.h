// Helpers of the quote data tests: a download session that records what the writer
// reports, a root folder set as QUOVA, and quick QuoteData filling.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "base/run_flags.h"
#include "quotes/quote_data.h"
#include "quotes/quote_format.h"
#include "quotes/quotefile.h"
#include "support/temp_dir.h"
#include "util/dates.h"

namespace quova::test {

struct RecordingSession : QuoteFileSession {
  OFtype fmt = DefaultFormat();
  bool forced = false;
  bool needClose = true;
  int market = DayCount(12, 7, 2026);
  std::vector<std::string> texts, errors, saved;

  const OFtype& outputFormat() const override { return fmt; }
  bool forcedAppends() const override { return forced; }
  bool closeRequired(int) const override { return needClose; }
  int marketDay() const override { return market; }
  void sessionText(std::string_view t) override { texts.emplace_back(t); }
  void errorReport(std::string_view t) override { errors.emplace_back(t); }
  void saveQtl(const QuoteData&, const char* line) override { saved.emplace_back(line); }
};

// A temporary root used as QUOVA (and as the working directory) for one test.
struct TestRoot {
  TempDir dir{true};
  std::string previous = runFlags().QUOVAPATH;
  TestRoot() { runFlags().QUOVAPATH = dir.path() + "/"; }
  ~TestRoot() { runFlags().QUOVAPATH = previous; }
  std::string file(const std::string& name) const { return dir.file(name); }
  void write(const std::string& name, const std::string& content) const { dir.write(name, content); }
  std::string read(const std::string& name) const { return dir.read(name); }
};

inline void set(char* field, std::size_t size, const char* text) {
  std::strncpy(field, text, size - 1);
  field[size - 1] = 0;
}
#define QSET(q, field, text) ::quova::test::set((q).field, sizeof((q).field), text)

// A downloaded quote with the usual fields.
inline QuoteData makeQuote(const char* symbol, const char* file, const char* date, const char* hi,
                           const char* low, const char* close, const char* volume = "",
                           const char* time = "") {
  QuoteData q;
  QuoteDataClear(&q);
  QSET(q, Symbol, symbol);
  QSET(q, FileName, file);
  QSET(q, Co_name, "Test Company");
  QSET(q, Date, date);
  QSET(q, HiParsed, hi);
  QSET(q, LowParsed, low);
  QSET(q, Close, close);
  QSET(q, Volume, volume);
  QSET(q, Time, time);
  return q;
}

}  // namespace quova::test
