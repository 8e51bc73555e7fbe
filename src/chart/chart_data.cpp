// Loading a .day file into a chart's five arrays: header lines until the first record,
// then record lines (a rejected one asks the user), at most 30000 quotes, then the extremes.
#include "chart/chart_data.h"

#include <algorithm>
#include <cfloat>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "base/host.h"
#include "base/log.h"
#include "base/run_flags.h"
#include "chart/chart_settings.h"
#include "quotes/quote_line.h"
#include "util/paths.h"

namespace quova {

void ChartData::clear() {
  for (auto* v : {&q_date, &q_high, &q_low, &q_close, &q_vol}) v->clear();
  num_quotes = 0;
  loaded = false;
}

void ChartData::reserve(std::size_t n) {
  for (auto* v : {&q_date, &q_high, &q_low, &q_close, &q_vol}) v->reserve(n);
}

void ChartData::append(float date, float high, float low, float close, float volume) {
  q_date.push_back(date);
  q_high.push_back(high);
  q_low.push_back(low);
  q_close.push_back(close);
  q_vol.push_back(volume);
  num_quotes = static_cast<std::int32_t>(q_date.size());
}

ChartLineParser chartLineParser(const OFtype& fmt) {
  // The record is kept between lines: ParseQuote sets every field of it anyway.
  return [&fmt, t = quotetype{}](const char* line, ChartQuote& q) mutable {
    const bool ok = ParseQuote(line, &t, fmt) == 0;
    q.date = t.date;
    q.high = t.hi;
    q.low = t.low;
    q.close = t.close;
    q.volume = t.volume;
    return ok;
  };
}

void MultiTask(ParseContext& ctx, int interval) {
  if (ctx.multiTaskCalls >= interval) {
    ctx.multiTaskCalls = 0;
    MessBar(formatText(181, "Loading Quotes data arrays...%ld", ctx.progress));
  } else {
    ++ctx.multiTaskCalls;
  }
}

std::string chartRepairPath(std::string_view quoteFilePath) {
  std::string path(quoteFilePath);
  std::replace(path.begin(), path.end(), '/', '\\');
  std::string root = runFlags().QuovaPath;
  std::replace(root.begin(), root.end(), '/', '\\');
  const bool absolute = !path.empty() && path[0] == '\\';
  if (!absolute) return "..\\" + path;  // already relative to the root (the working folder)
  if (!root.empty() && path.size() > root.size() && path.compare(0, root.size(), root) == 0)
    return "..\\" + path.substr(root.size());
  return std::string(quoteFilePath);
}

namespace {

// The lines of a stream, read a block at a time: at most 180 characters of each (the rest
// of a longer line is skipped), "\r" before the line feed dropped; a final Ctrl-Z ends the
// file. A line ends at its first NUL.
class BlockLines {
 public:
  explicit BlockLines(std::istream& in) : in_(in) {}

  bool next(char (&buf)[181]) {
    if (!more()) return false;
    std::size_t n = 0;
    bool ended = false;
    while (!ended && more()) {
      const char* from = block_.data() + pos_;
      const std::size_t left = block_.size() - pos_;
      const void* nl = std::memchr(from, '\n', left);
      const std::size_t len = nl ? static_cast<std::size_t>(static_cast<const char*>(nl) - from) : left;
      const std::size_t keep = std::min(len, sizeof buf - 1 - n);
      std::memcpy(buf + n, from, keep);
      n += keep;
      pos_ += nl ? len + 1 : len;
      ended = nl != nullptr;
    }
    buf[n] = 0;
    if (const void* nul = std::memchr(buf, 0, n)) n = static_cast<std::size_t>(static_cast<const char*>(nul) - buf);
    if (n > 0 && buf[n - 1] == '\r') buf[--n] = 0;
    if (n == 1 && buf[0] == 0x1A && !more()) return false;
    return true;
  }

 private:
  static constexpr std::size_t kBlock = 1 << 20;

  // True while bytes are left, reading the next block when this one is used up.
  bool more() {
    if (pos_ < block_.size()) return true;
    block_.resize(kBlock);
    in_.read(block_.data(), static_cast<std::streamsize>(kBlock));
    block_.resize(static_cast<std::size_t>(in_.gcount()));
    pos_ = 0;
    return !block_.empty();
  }

  std::istream& in_;
  std::string block_;
  std::size_t pos_ = 0;
};

}  // namespace

std::int32_t Parse(std::istream& in, ChartData& data, ParseContext& ctx) {
  data.clear();
  if (!ctx.parse) return 0;
  data.reserve(MAX_CHART_QUOTES);  // no copies while the arrays grow; the load trims them
  MultiTask(ctx, 0);
  bool inData = false, limitShown = false;
  float lastDate = -1.0f;
  char line[181];
  BlockLines lines(in);
  while (lines.next(line)) {
    if (runFlags().Quit || (ctx.closePending && *ctx.closePending)) break;
    KeepWindowsHappy();
    ChartQuote q;
    if (!inData) {
      // Header lines ("SYMBOL:", "COMPANY NAME:" and any other text) are skipped.
      if (!ctx.parse(line, q)) continue;
      inData = true;  // the first record is handled as a data line
      MultiTask(ctx, 20);
    } else {
      MultiTask(ctx, 20);
      if (limitShown) continue;
      q = ChartQuote{};
      if (!ctx.parse(line, q)) {
        std::string text = line;
        if (q.date > 0 && static_cast<float>(q.date) == lastDate)
          text += " -- duplicate date...use Mendora??";
        else
          text += " -- corrupted Quote Date...use Mendora??";
        const int answer =
            LogBox(text, "Quote Processing ERRORS", mb::YESNOCANCEL | mb::ICONEXCLAMATION);
        if (answer == IDCANCEL) {
          Log("\nLoadData exit 4.\n");
          return data.num_quotes;
        }
        if (answer == IDYES) {
          runFlags().FileToFixPath = chartRepairPath(ctx.quoteFilePath);
          if (ctx.requestRepair) ctx.requestRepair();
          Log("\nLoadData exit 3.\n");
          return -2;
        }
        continue;
      }
    }
    data.append(static_cast<float>(q.date), q.high, q.low, q.close, q.volume);
    lastDate = static_cast<float>(q.date);
    ++ctx.progress;
    if (data.num_quotes >= MAX_CHART_QUOTES) {
      limitShown = true;
      LogBox(formatText(181, "Maximum (%ld) number of quotes exceeded", static_cast<long>(MAX_CHART_QUOTES)),
             "Quote Processing ERRORS", mb::YESNOCANCEL | mb::ICONEXCLAMATION);
    }
  }
  Log("\nLoadData normal exit.\n");
  return data.num_quotes;
}

void find_min_max_scales(ChartData& d) {
  float dmin = FLT_MAX, dmax = -FLT_MAX, pmin = FLT_MAX, pmax = -FLT_MAX, vmin = FLT_MAX,
        vmax = -FLT_MAX;
  for (int i = 0; i < d.num_quotes; ++i) {
    dmin = std::min(dmin, d.q_date[i]);
    dmax = std::max(dmax, d.q_date[i]);
    for (float p : {d.q_high[i], d.q_low[i], d.q_close[i]})
      if (p > 0) {
        pmin = std::min(pmin, p);
        pmax = std::max(pmax, p);
      }
    if (d.q_vol[i] > 0) {
      vmin = std::min(vmin, d.q_vol[i]);
      vmax = std::max(vmax, d.q_vol[i]);
    }
  }
  d.date_min = dmin;
  d.date_max = dmax;
  d.price_min = pmin;
  d.price_max = pmax;
  d.volume_min = vmin;
  d.volume_max = vmax;
}

void initquotes(ChartData& d, ChartSettings& s) {
  d.t_default_span = kDefaultSpan;
  d.t_full_min = d.date_min - 1.0f;
  d.t_full_max = d.date_max + 30.0f;
  if (s.t_start < d.t_full_min) s.t_start = d.t_full_min;
  if (s.t_end > d.t_full_max) s.t_end = d.t_full_max;
  // A window beyond the data would leave nothing between start and end.
  if (!(s.t_start < s.t_end)) s.t_start = d.t_full_min;
  if (!(s.t_start < s.t_end)) s.t_end = d.t_full_max;
}

LoadResult LoadData(std::string_view quoteFilePath, ChartData& data, ChartSettings& settings,
                    ParseContext& ctx) {
  Log("\nLoadData entered.\n");
  std::ifstream in(nativePath(quoteFilePath), std::ios::binary);
  if (!in) return LoadResult::CannotOpen;
  ctx.progress = 0;
  ctx.quoteFilePath = std::string(quoteFilePath);
  const std::int32_t n = Parse(in, data, ctx);
  if (n == 0) {
    LogBox("No valid quotes found...\n\nThis Window will close", "Quote Processing ERRORS", mb::OK);
    data.clear();
    return LoadResult::NoQuotes;
  }
  if (n < 0) {
    data.clear();
    return LoadResult::RepairRequested;
  }
  MessBar("Transfering to permanent storage");
  for (auto* v : {&data.q_date, &data.q_high, &data.q_low, &data.q_close, &data.q_vol})
    v->shrink_to_fit();
  data.loaded = true;
  MessBar("Finding min/max quotes and dates");
  find_min_max_scales(data);
  initquotes(data, settings);
  MessBar("Ploting Quotes Data");
  return LoadResult::Loaded;
}

}  // namespace quova
