// The chart settings file config\<base>.cfg: written and read field by field in its order,
// then checked so a damaged or stale file cannot hang or break a paint.
#include "chart/chart_settings.h"

#include <cmath>
#include <fstream>

#include "base/binary_image.h"
#include "base/host.h"
#include "base/log.h"
#include "base/run_flags.h"
#include "quotes/format_file.h"
#include "util/file_bytes.h"
#include "util/paths.h"

namespace quova {

namespace {

// The record in file order; a short image stops the reader at the first field it lacks.
template <class IO, FieldsOf<ChartSettings> S>
void fields(IO& io, S& s) {
  io.block(s.fitImage.data(), s.fitImage.size());
  io.i32(s.poly_order);
  io.i32(s.four_order);
  io.i32(s.poly_enabled);
  io.i32(s.four_enabled);
  io.i32(s.n_bisects);
  io.f32(s.t_start);
  io.f32(s.t_end);
  io.i32(s.lsf_display);
  io.i32(s.sma_display[0]);
  io.i32(s.volume_display);
  io.i32(s.sma_days[0]);
  io.i32(s.win_left);
  io.i32(s.win_top);
  io.i32(s.win_width);
  io.i32(s.win_height);
  io.byte(s.minimised);
  io.byte(s.maximised);
  io.i32(s.sma_days[1]);
  io.i32(s.sma_days[2]);
  io.i32(s.sma_display[1]);
  io.i32(s.sma_display[2]);
  for (int i = 0; i < 4; ++i) {
    io.i32(s.vol_days[i]);
    io.i32(s.vol_display[i]);
  }
  io.f32(s.vol_scale_max);
  io.f32(s.vol_scale_min);
  io.byte(s.vol_auto_scale);
  io.i32(s.stoch_k_days);
  io.i32(s.stoch_k_display);
  io.i32(s.stoch_d_days);
  io.i32(s.stoch_d_display);
  for (auto& b : s.tail) io.byte(b);
}

void dayCount(std::int32_t& v, std::int32_t dflt) {
  if (v < kMinChartDays || v > kMaxChartDays) v = dflt;
}

}  // namespace

bool ChartSettings::fitStored() const {
  std::uint32_t valid = fitImage[0] | fitImage[1] << 8 | fitImage[2] << 16 |
                        static_cast<std::uint32_t>(fitImage[3]) << 24;
  return valid == 1;
}

bool ChartSettings::anyVolatilityShown() const {
  for (auto d : vol_display)
    if (d) return true;
  return false;
}

static_assert(kFitTypeSize == kFitRecordSize);

Fit_Type storedFit(const ChartSettings& s) { return readFitType(s.fitImage); }

void storeFit(ChartSettings& s, const Fit_Type& fit) { s.fitImage = fitTypeImage(fit); }

std::string chartConfigImage(const ChartSettings& s) {
  ImageWriter w;
  fields(w, s);
  return w.bytes();
}

void readChartConfigImage(std::string_view bytes, ChartSettings& s) {
  // The time window an image does not reach is the whole axis, not what s held.
  s.t_start = -1.0e16f;
  s.t_end = 1.0e16f;
  ImageReader r(bytes);
  fields(r, s);
  validateChartSettings(s);
}

void validateChartSettings(ChartSettings& s) {
  const ChartSettings d;
  if (s.poly_order < 0 || s.poly_order > 50) {
    s.poly_order = 2;
    s.poly_enabled = 0;
    s.lsf_display = 0;
  }
  if (s.four_order < 0 || s.four_order > 50) {
    s.four_order = 5;
    s.four_enabled = 0;
    s.lsf_display = 0;
  }
  if (s.n_bisects < 0 || s.n_bisects > 1000) s.n_bisects = 10;
  // A damaged window would make the time axis walk forever or divide by zero.
  if (!std::isfinite(s.t_start) || !std::isfinite(s.t_end) || !(s.t_start < s.t_end)) {
    s.t_start = -1.0e16f;
    s.t_end = 1.0e16f;
  }
  for (int i = 0; i < 3; ++i) dayCount(s.sma_days[i], d.sma_days[i]);
  for (int i = 0; i < 4; ++i) dayCount(s.vol_days[i], d.vol_days[i]);
  dayCount(s.stoch_k_days, d.stoch_k_days);
  dayCount(s.stoch_d_days, d.stoch_d_days);
  if (!std::isfinite(s.vol_scale_max)) s.vol_scale_max = d.vol_scale_max;
  if (!std::isfinite(s.vol_scale_min)) s.vol_scale_min = d.vol_scale_min;
}

std::string chartConfigPath(std::string_view quoteFilePath) {
  return runFlags().QuovaPath + "config\\" + GetBaseFileName(quoteFilePath) + ".cfg";
}

ChartSettings GetConfig(std::string_view quoteFilePath) {
  ChartSettings s;
  std::string bytes;
  if (readFileBytes(chartConfigPath(quoteFilePath), bytes, kChartConfigSize))
    readChartConfigImage(bytes, s);
  return s;
}

bool SaveConfig(std::string_view quoteFilePath, const ChartSettings& s) {
  const std::string path = chartConfigPath(quoteFilePath);
  std::ofstream out(nativePath(path), std::ios::binary | std::ios::trunc);
  const std::string image = chartConfigImage(s);
  if (out) out.write(image.data(), static_cast<std::streamsize>(image.size()));
  if (!out) {
    LogBox("Cannot open Chart Configuration File -- " + path, "Quote Processing ERRORS",
           mb::OK | mb::ICONEXCLAMATION);
    return false;
  }
  return true;
}

}  // namespace quova
