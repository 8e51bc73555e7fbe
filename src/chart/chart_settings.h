// The per-chart settings and their file config\<base>.cfg: the stored fit record (1594
// bytes) followed by 149 bytes of display and analysis settings, little-endian, no header.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/run_flags.h"
#include "chart/fit_type.h"

namespace quova {

inline constexpr std::size_t kFitRecordSize = 1594;
inline constexpr std::size_t kChartSettingsSize = 149;
inline constexpr std::size_t kChartConfigSize = kFitRecordSize + kChartSettingsSize;  // 1743

// Window limits every day count of a chart lies in.
inline constexpr std::int32_t kMinChartDays = 1, kMaxChartDays = 5000;

struct ChartSettings {
  // The stored fit exactly as it lies in the file (the Fit_Type image); its first 32-bit
  // word is 1 when a fit is stored. fit_type.h turns it into a record and back.
  std::array<std::uint8_t, kFitRecordSize> fitImage{};

  std::int32_t poly_order = 2;
  std::int32_t four_order = 5;
  std::int32_t poly_enabled = 1;
  std::int32_t four_enabled = 1;
  std::int32_t n_bisects = 10;
  float t_start = -1.0e16f;
  float t_end = 1.0e16f;
  std::int32_t lsf_display = 1;
  std::array<std::int32_t, 3> sma_days{21, 105, 280};
  std::array<std::int32_t, 3> sma_display{1, 0, 0};
  std::int32_t volume_display = 1;
  // The frame window: left and top relative to the client area of the main window.
  std::int32_t win_left = 20, win_top = 20, win_width = 500, win_height = 220;
  std::uint8_t minimised = 0, maximised = 0;
  std::array<std::int32_t, 4> vol_days{10, 20, 50, 100};
  std::array<std::int32_t, 4> vol_display{1, 0, 0, 0};
  float vol_scale_max = 100.0f;
  float vol_scale_min = 0.0f;
  std::uint8_t vol_auto_scale = 1;
  std::int32_t stoch_k_days = 21;
  std::int32_t stoch_k_display = 1;
  std::int32_t stoch_d_days = 5;
  std::int32_t stoch_d_display = 1;
  // The fields above take 135 of the record's 149 bytes; the last 14 bytes are kept as read
  // and written back unchanged (zero in a new file), so the file keeps its 1743 bytes.
  std::array<std::uint8_t, 14> tail{};

  bool fitStored() const;  // the record's valid word is 1
  bool anyVolatilityShown() const;
  bool stochasticShown() const { return stoch_k_display || stoch_d_display; }
};

// The stored fit as a record, and a record stored (written to the file at close).
Fit_Type storedFit(const ChartSettings& s);
void storeFit(ChartSettings& s, const Fit_Type& fit);

// The file image, field by field in the file's order.
std::string chartConfigImage(const ChartSettings& s);
// Reads an image over s (whose fields hold the defaults): a short image leaves the fields
// it does not reach as they are, t_start/t_end go back to +-1e16 when their read fails.
// Then validates (validateChartSettings).
void readChartConfigImage(std::string_view bytes, ChartSettings& s);
// The checks after reading: orders 0..50 (else 2 / 5 and that fit and the curve display
// off), n_bisects 0..1000 (else 10), day counts 1..5000 (else their defaults), a
// non-finite or reversed window (+-1e16), non-finite volatility scales (their defaults).
void validateChartSettings(ChartSettings& s);

// "config\<base>.cfg" under the root (runFlags().QuovaPath) for a quote file path.
std::string chartConfigPath(std::string_view quoteFilePath);

// GetConfig: the defaults, then the file when it opens (a missing file keeps defaults).
ChartSettings GetConfig(std::string_view quoteFilePath);
// SaveConfig: writes the whole record (created or truncated). When the file cannot be
// written, the box names it; false then.
bool SaveConfig(std::string_view quoteFilePath, const ChartSettings& s);

}  // namespace quova
