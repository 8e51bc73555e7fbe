// The chart settings file config\<base>.cfg: written and read field by field in its order,
// then checked so a damaged or stale file cannot hang or break a paint.
#include "chart/chart_settings.h"

#include <cmath>
#include <cstring>
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

void putF32(ImageWriter& w, float v) {
  std::uint32_t u;
  std::memcpy(&u, &v, 4);
  w.u32(u);
}

bool getF32(ImageReader& r, float& v) {
  std::uint32_t u;
  if (!r.u32(u)) return false;
  std::memcpy(&v, &u, 4);
  return true;
}

bool getByte(ImageReader& r, std::uint8_t& v) { return r.byte(v); }

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
  for (auto b : s.fitImage) w.byte(b);
  w.i32(s.poly_order);
  w.i32(s.four_order);
  w.i32(s.poly_enabled);
  w.i32(s.four_enabled);
  w.i32(s.n_bisects);
  putF32(w, s.t_start);
  putF32(w, s.t_end);
  w.i32(s.lsf_display);
  w.i32(s.sma_display[0]);
  w.i32(s.volume_display);
  w.i32(s.sma_days[0]);
  w.i32(s.win_left);
  w.i32(s.win_top);
  w.i32(s.win_width);
  w.i32(s.win_height);
  w.byte(s.minimised);
  w.byte(s.maximised);
  w.i32(s.sma_days[1]);
  w.i32(s.sma_days[2]);
  w.i32(s.sma_display[1]);
  w.i32(s.sma_display[2]);
  for (int i = 0; i < 4; ++i) {
    w.i32(s.vol_days[i]);
    w.i32(s.vol_display[i]);
  }
  putF32(w, s.vol_scale_max);
  putF32(w, s.vol_scale_min);
  w.byte(s.vol_auto_scale);
  w.i32(s.stoch_k_days);
  w.i32(s.stoch_k_display);
  w.i32(s.stoch_d_days);
  w.i32(s.stoch_d_display);
  for (auto b : s.tail) w.byte(b);
  return w.bytes();
}

void readChartConfigImage(std::string_view bytes, ChartSettings& s) {
  ImageReader r(bytes);
  if (bytes.size() >= kFitRecordSize) std::memcpy(s.fitImage.data(), bytes.data(), kFitRecordSize);
  std::uint8_t skip;
  for (std::size_t i = 0; i < kFitRecordSize; ++i) r.byte(skip);
  r.i32(s.poly_order);
  r.i32(s.four_order);
  r.i32(s.poly_enabled);
  r.i32(s.four_enabled);
  r.i32(s.n_bisects);
  if (!getF32(r, s.t_start)) s.t_start = -1.0e16f;
  if (!getF32(r, s.t_end)) s.t_end = 1.0e16f;
  r.i32(s.lsf_display);
  r.i32(s.sma_display[0]);
  r.i32(s.volume_display);
  r.i32(s.sma_days[0]);
  r.i32(s.win_left);
  r.i32(s.win_top);
  r.i32(s.win_width);
  r.i32(s.win_height);
  getByte(r, s.minimised);
  getByte(r, s.maximised);
  r.i32(s.sma_days[1]);
  r.i32(s.sma_days[2]);
  r.i32(s.sma_display[1]);
  r.i32(s.sma_display[2]);
  for (int i = 0; i < 4; ++i) {
    r.i32(s.vol_days[i]);
    r.i32(s.vol_display[i]);
  }
  getF32(r, s.vol_scale_max);
  getF32(r, s.vol_scale_min);
  getByte(r, s.vol_auto_scale);
  r.i32(s.stoch_k_days);
  r.i32(s.stoch_k_display);
  r.i32(s.stoch_d_days);
  r.i32(s.stoch_d_display);
  for (auto& b : s.tail) getByte(r, b);
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
