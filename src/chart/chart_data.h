// A chart's quote data: the five parallel arrays of 32-bit floats read from one .day file,
// the loader that fills them (LoadData, Parse) and the extremes derived after each load.
#pragma once

#include <cstdint>
#include <functional>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

namespace quova {

struct OFtype;
struct ChartSettings;

inline constexpr std::int32_t MAX_CHART_QUOTES = 30000;
inline constexpr float kDefaultSpan = 180.0f;  // t_default_span

struct ChartData {
  // Index 0 is the oldest quote; q_date holds day numbers.
  std::vector<float> q_date, q_high, q_low, q_close, q_vol;
  std::int32_t num_quotes = 0;
  bool loaded = false;

  // Over all quotes (find_min_max_scales): dates, prices > 0, volumes > 0.
  float date_min = 0, date_max = 0;
  float price_min = 0, price_max = 0;
  float volume_min = 0, volume_max = 0;
  // The full-scale window (initquotes).
  float t_full_min = 0, t_full_max = 0;
  float t_default_span = kDefaultSpan;

  void clear();
  void reserve(std::size_t n);
  void append(float date, float high, float low, float close, float volume);
};

// One quote as the loader stores it.
struct ChartQuote {
  std::int32_t date = -1;
  float high = -1.0f, low = -1.0f, close = -1.0f, volume = 0.0f;
};
// Parses one record line; false when the line is not a record.
using ChartLineParser = std::function<bool(const char* line, ChartQuote& q)>;
// The loader's parser for a descriptor (ParseQuote).
ChartLineParser chartLineParser(const OFtype& fmt);

// What Parse needs besides the lines.
struct ParseContext {
  ChartLineParser parse;
  std::string quoteFilePath;        // for the repair path
  const bool* closePending = nullptr;  // a close arrived while loading
  std::function<void()> requestRepair;  // sends the repair message (1027) to the main frame
  long progress = 0;                // the progress count shown every 21 lines
  int multiTaskCalls = 0;           // MultiTask's call counter
};

// Reads record lines into data (cleared first). The number of quotes stored, or -2 when
// the user asked for the repair tool.
std::int32_t Parse(std::istream& in, ChartData& data, ParseContext& ctx);

// The progress text in the status bar, refreshed on every (interval + 1)-th call.
void MultiTask(ParseContext& ctx, int interval);

// "..\" + the path relative to the root when the file lies under it, else the absolute
// path (the repair tool runs one folder below the root).
std::string chartRepairPath(std::string_view quoteFilePath);

// The result of a load.
enum class LoadResult { Loaded, NoQuotes, RepairRequested, CannotOpen };

// LoadData without the paint: reads the whole file, fills data and its extremes and
// applies initquotes to the settings' window. NoQuotes shows "No valid quotes found...";
// the window closes for NoQuotes and RepairRequested.
LoadResult LoadData(std::string_view quoteFilePath, ChartData& data, ChartSettings& settings,
                    ParseContext& ctx);

// Extremes over all quotes, starting from +-FLT_MAX.
void find_min_max_scales(ChartData& data);
// The full-scale window and the window clamped into it (t_start below t_end).
void initquotes(ChartData& data, ChartSettings& settings);

}  // namespace quova
