// The chart settings file: byte layout against a hand-built image, defaults, the short-file
// rule and the checks that keep a damaged file from breaking a paint.
#include "chart/chart_settings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>

#include "base/run_flags.h"
#include "support/temp_dir.h"

namespace quova {
namespace {

void put32(std::string& s, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) s += static_cast<char>(v >> (8 * i) & 0xFF);
}
void putF(std::string& s, float f) {
  std::uint32_t u;
  std::memcpy(&u, &f, 4);
  put32(s, u);
}

// The default record as it lies on disk, built by hand in the file's order.
std::string handBuiltDefaults() {
  std::string s(kFitRecordSize, '\0');
  for (std::uint32_t v : {2u, 5u, 1u, 1u, 10u}) put32(s, v);
  putF(s, -1.0e16f);
  putF(s, 1.0e16f);
  for (std::uint32_t v : {1u, 1u, 1u, 21u, 20u, 20u, 500u, 220u}) put32(s, v);
  s += '\0';
  s += '\0';
  for (std::uint32_t v : {105u, 280u, 0u, 0u, 10u, 1u, 20u, 0u, 50u, 0u, 100u, 0u}) put32(s, v);
  putF(s, 100.0f);
  putF(s, 0.0f);
  s += '\1';
  for (std::uint32_t v : {21u, 1u, 5u, 1u}) put32(s, v);
  s += std::string(14, '\0');
  return s;
}

TEST(ChartSettings, DefaultImageMatchesTheHandBuiltLayout) {
  const std::string image = chartConfigImage(ChartSettings{});
  EXPECT_EQ(image.size(), 1743u);
  EXPECT_EQ(image, handBuiltDefaults());
}

TEST(ChartSettings, EveryFieldRoundTripsAtItsOffset) {
  ChartSettings s;
  s.fitImage[0] = 1;
  s.fitImage[1593] = 0xAB;
  s.poly_order = 7;
  s.t_start = 30000.5f;
  s.t_end = 31000.25f;
  s.sma_days = {3, 4, 5};
  s.win_left = -5;
  s.maximised = 1;
  s.vol_days = {2, 3, 4, 6};
  s.vol_display = {0, 1, 0, 1};
  s.vol_auto_scale = 0;
  s.stoch_d_display = 0;
  const std::string image = chartConfigImage(s);
  ASSERT_EQ(image.size(), 1743u);
  EXPECT_EQ(static_cast<unsigned char>(image[1593]), 0xAB);
  EXPECT_EQ(image[1594], 7);                    // poly_order first after the fit
  EXPECT_EQ(image[1594 + 20 + 8 + 16 + 16 + 1], 1);  // maximised
  ChartSettings back;
  readChartConfigImage(image, back);
  EXPECT_EQ(chartConfigImage(back), image);
  EXPECT_TRUE(back.fitStored());
}

TEST(ChartSettings, StoredFitTravelsInTheFile) {
  Fit_Type fit;
  fit.valid = 1;
  fit.t_min = 30000;
  fit.t_max = 30500.5L;
  fit.poly_order = 3;
  fit.poly_coef[3] = -1.25e-7L;
  fit.omega = 0.0123L;
  ChartSettings s;
  storeFit(s, fit);
  ChartSettings back;
  readChartConfigImage(chartConfigImage(s), back);
  ASSERT_TRUE(back.fitStored());
  const Fit_Type f = storedFit(back);
  EXPECT_EQ(f.t_max, 30500.5L);
  EXPECT_EQ(f.poly_coef[3], -1.25e-7L);
  EXPECT_EQ(f.omega, 0.0123L);
}

TEST(ChartSettings, ShortFileKeepsDefaultsForWhatItDoesNotReach) {
  ChartSettings s;
  s.poly_order = 9;
  s.t_start = 100;
  s.t_end = 200;
  std::string image = chartConfigImage(s);
  // Cut inside t_end: the window goes back to the full range, the rest keeps defaults.
  ChartSettings back;
  readChartConfigImage(std::string_view(image).substr(0, 1594 + 20 + 6), back);
  EXPECT_EQ(back.poly_order, 9);
  EXPECT_EQ(back.t_start, 100);
  EXPECT_EQ(back.t_end, 1.0e16f);
  EXPECT_EQ(back.sma_days[0], 21);
  // A file shorter than the fit record keeps an empty fit.
  ChartSettings tiny;
  readChartConfigImage("\x01\x00", tiny);
  EXPECT_FALSE(tiny.fitStored());
  EXPECT_EQ(chartConfigImage(tiny), handBuiltDefaults());
}

TEST(ChartSettings, ValidationOfDamagedFields) {
  struct Case {
    const char* what;
    void (*damage)(ChartSettings&);
    bool (*check)(const ChartSettings&);
  };
  const Case cases[] = {
      {"poly_order 60", [](ChartSettings& s) { s.poly_order = 60; },
       [](const ChartSettings& s) { return s.poly_order == 2 && !s.poly_enabled && !s.lsf_display && s.four_enabled; }},
      {"four_order -1", [](ChartSettings& s) { s.four_order = -1; },
       [](const ChartSettings& s) { return s.four_order == 5 && !s.four_enabled && !s.lsf_display && s.poly_enabled; }},
      {"n_bisects 1001", [](ChartSettings& s) { s.n_bisects = 1001; },
       [](const ChartSettings& s) { return s.n_bisects == 10; }},
      {"n_bisects 0 stays", [](ChartSettings& s) { s.n_bisects = 0; },
       [](const ChartSettings& s) { return s.n_bisects == 0; }},
      {"sma_days 0", [](ChartSettings& s) { s.sma_days[1] = 0; },
       [](const ChartSettings& s) { return s.sma_days[1] == 105; }},
      {"stoch_d_days 0", [](ChartSettings& s) { s.stoch_d_days = 0; },
       [](const ChartSettings& s) { return s.stoch_d_days == 5; }},
      {"vol_days 5001", [](ChartSettings& s) { s.vol_days[3] = 5001; },
       [](const ChartSettings& s) { return s.vol_days[3] == 100; }},
      {"reversed window", [](ChartSettings& s) { s.t_start = 500; s.t_end = 100; },
       [](const ChartSettings& s) { return s.t_start == -1.0e16f && s.t_end == 1.0e16f; }},
      {"NaN start", [](ChartSettings& s) { s.t_start = NAN; },
       [](const ChartSettings& s) { return s.t_start == -1.0e16f; }},
      {"infinite scale", [](ChartSettings& s) { s.vol_scale_max = INFINITY; s.vol_scale_min = NAN; },
       [](const ChartSettings& s) { return s.vol_scale_max == 100.0f && s.vol_scale_min == 0.0f; }},
  };
  for (const Case& c : cases) {
    ChartSettings s;
    c.damage(s);
    ChartSettings back;
    readChartConfigImage(chartConfigImage(s), back);
    EXPECT_TRUE(c.check(back)) << c.what;
  }
}

TEST(ChartSettings, FileUnderTheRootByBaseName) {
  test::TempDir dir;
  runFlags().QuovaPath = dir.path() + "/";
  EXPECT_EQ(chartConfigPath("quotes.day\\funds\\funds_VFINX.day"), dir.path() + "/config\\funds_VFINX.cfg");
  // Missing file: defaults.
  EXPECT_EQ(chartConfigImage(GetConfig("quotes.day\\IBM.day")), handBuiltDefaults());
  std::filesystem::create_directory(dir.path() + "/config");
  ChartSettings s;
  s.stoch_k_days = 14;
  ASSERT_TRUE(SaveConfig("quotes.day\\IBM.day", s));
  EXPECT_EQ(dir.read("config/IBM.cfg").size(), 1743u);
  EXPECT_EQ(GetConfig("QUOTES.DAY\\IBM.DAY").stoch_k_days, 14);
  runFlags().QuovaPath.clear();
}

}  // namespace
}  // namespace quova
