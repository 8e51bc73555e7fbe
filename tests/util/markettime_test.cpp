// Market time on the 12-hour dial, the zone letters and the market date across midnight,
// with "now" set by a test clock.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "support/recording_host.h"
#include "util/clock.h"
#include "util/markettime.h"

using namespace quova;

namespace {
LocalTime at(int y, int mo, int d, int h, int mi) {
  LocalTime t;
  t.year = y, t.month = mo, t.day = d, t.hour = h, t.minute = mi;
  t.weekday = gregorianWeekday(y, mo, d);
  return t;
}

struct ClockAt : ::testing::Test {
  FixedClock clock{at(2026, 12, 8, 12, 0)};
  quova::test::ScopedHost h;
  void SetUp() override { setClock(&clock); }
  void TearDown() override { setClock(nullptr); }
  void set(int hour, int minute) { clock.t = at(2026, 12, 8, hour, minute); }
};
}  // namespace

TEST_F(ClockAt, MarketTimeDialAndWrapAround) {
  struct Case { int hour, minute; float adj; const char* text; } cases[] = {
      {0, 0, 0.0f, "12:00am"},   {11, 59, 0.0f, "11:59am"}, {12, 0, 0.0f, "12:00pm"},
      {13, 5, 0.0f, "1:05pm"},   {23, 59, 0.0f, "11:59pm"}, {23, 15, -1.0f, "12:15am"},
      {1, 30, 3.0f, "10:30pm"},  {9, 5, 0.0f, "9:05am"},    {10, 0, 0.5f, "9:00am"},
      {10, 0, -0.5f, "10:00am"}, {5, 0, 48.0f, "5:00am"},   {5, 0, -30.0f, "11:00am"},
  };
  for (const Case& c : cases) {
    set(c.hour, c.minute);
    EXPECT_EQ(MarketTime(c.adj), c.text) << c.hour << ":" << c.minute << " adj " << c.adj;
  }
}

TEST_F(ClockAt, ZoneLetters) {
  struct Case { const char* zone; int hours; } cases[] = {
      {"A", 1}, {"I", 9}, {"K", 10}, {"M", 12}, {"N", -1}, {"R", -5}, {"Y", -12}, {"Z", 0},
      {"J", -99}, {"a", -99}, {"5", -99}, {"", -1}, {"EST", -1}, {nullptr, -1},
  };
  for (const Case& c : cases) EXPECT_EQ(TZone(c.zone), c.hours) << (c.zone ? c.zone : "null");
}

TEST_F(ClockAt, MarketDateAcrossMidnightAndMonthEnds) {
  struct Case { int hour, minute; const char *a, *b, *date, *out; float hours; } cases[] = {
      {2, 0, "A", "R", "12/08/2026", "12/07/2026", 6},    // market still in yesterday
      {6, 0, "A", "R", "12/08/2026", "12/08/2026", 6},    // diff == t keeps today
      {23, 0, "R", "A", "12/31/2026", "01/01/2027", -6},  // market already in tomorrow
      {18, 0, "R", "A", "12/31/2026", "12/31/2026", -6},  // t - diff == 24 exactly keeps today
      {0, 30, "Z", "N", "03/01/2028", "02/29/2028", 1},   // back over a leap day
      {12, 0, "R", "R", "12/08/2026", "12/08/2026", 0},
  };
  for (const Case& c : cases) {
    set(c.hour, c.minute);
    char out[12];
    float hours = 99;
    EXPECT_EQ(TZadjust(c.a, c.b, c.date, out, hours), 0);
    EXPECT_STREQ(out, c.out) << c.a << "->" << c.b << " at " << c.hour;
    EXPECT_FLOAT_EQ(hours, c.hours);
  }
}

TEST_F(ClockAt, MillisecondsOfTheDayInHundredths) {
  clock.t = at(2026, 12, 8, 23, 59);
  clock.t.second = 59, clock.t.msec = 999;
  EXPECT_EQ(GetTimeMsec(), 86399990);
  clock.t = at(2026, 12, 8, 0, 0);
  clock.t.msec = 9;
  EXPECT_EQ(GetTimeMsec(), 0);
  EXPECT_FLOAT_EQ(GetMilTime(), 0.0f);
}
