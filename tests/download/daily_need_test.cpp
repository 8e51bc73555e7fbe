// The daily-download due check: weekday switches, the download time and the marker date.
#include "download/daily_need.h"

#include <gtest/gtest.h>

#include "base/log.h"
#include "settings/settings.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"
#include "util/clock.h"
#include "util/filetimes.h"

namespace quova {
namespace {

struct DailyNeed : ::testing::Test {
  test::TempDir dir{true};
  test::ScopedHost h;
  Settings saved = settings();
  void SetUp() override {
    logState().QuovaLogFile = dir.file("quova.log");
    OpenLogFile();
    settings().DownloadControls.DLTime = 1700;
  }
  void TearDown() override {
    setClock(nullptr);
    settings() = saved;
    logState().QuovaLogFile = "quova.log";
  }
  bool at(int y, int mo, int d, int hh, int mm) {
    LocalTime t{y, mo, d, hh, mm, 0, 0, gregorianWeekday(y, mo, d)};
    clock_ = std::make_unique<FixedClock>(t);
    setClock(clock_.get());
    return Is_DL_Needed();
  }
  std::string log() { return dir.read("quova.log"); }
  std::unique_ptr<FixedClock> clock_;
};

TEST_F(DailyNeed, DownloadTimeBoundary) {
  EXPECT_FALSE(at(2026, 12, 7, 16, 59));  // a Monday
  EXPECT_NE(log().find("\nCurrent Time: 1659 is less than required DL time of 1700\nDownload Aborted."),
            std::string::npos);
  OpenLogFile();
  EXPECT_TRUE(at(2026, 12, 7, 17, 0));
  EXPECT_EQ(log(),
            "\nDownloads today are enabled...\nChecking Download Time options..."
            "\nCurrent Time: 1700 is past required DL time of 1700\nDownload Checks Continuing..."
            "\nDownload Enabled.");
}

TEST_F(DailyNeed, DisabledDays) {
  EXPECT_FALSE(at(2026, 12, 5, 18, 0));  // Saturday, off by default
  EXPECT_EQ(log(), "\nDownload on Saturday not enabled.");
  OpenLogFile();
  EXPECT_FALSE(at(2026, 12, 6, 18, 0));
  EXPECT_EQ(log(), "\nDownload on Sunday not enabled.");
  settings().DownloadControls.DLOnSaturday = true;
  EXPECT_TRUE(at(2026, 12, 5, 18, 0));
}

TEST_F(DailyNeed, MarkerOfTodayAndOfAYearAgo) {
  dir.write("daily.dld", "page");
  ASSERT_TRUE(setFileTime("daily.dld", LocalTime{2026, 12, 7, 9, 30, 0, 0, 1}));
  EXPECT_FALSE(at(2026, 12, 7, 18, 0));
  EXPECT_NE(log().find("\ndaily.dld timestamp indicates download already occurred today.\nDownload Aborted."
                       "\nDownload Enabled."),
            std::string::npos);
  ASSERT_TRUE(setFileTime("daily.dld", LocalTime{2025, 12, 7, 9, 30, 0, 0, 0}));
  EXPECT_TRUE(at(2026, 12, 7, 18, 0));
}

}  // namespace
}  // namespace quova
