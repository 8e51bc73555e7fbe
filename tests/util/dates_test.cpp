// Day numbers, date texts and the two-digit-year rule, with "now" set by a test clock.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>

#include "support/recording_host.h"
#include "support/temp_dir.h"
#include "util/clock.h"
#include "util/dates.h"
#include "util/filetimes.h"
#include "util/markettime.h"

using namespace quova;
using quova::test::ScopedHost;

namespace {
LocalTime at(int y, int mo, int d, int h = 12, int mi = 0) {
  LocalTime t;
  t.year = y, t.month = mo, t.day = d, t.hour = h, t.minute = mi;
  t.weekday = gregorianWeekday(y, mo, d);
  return t;
}

struct InDecember2026 : ::testing::Test {
  FixedClock clock{at(2026, 12, 8, 17, 30)};
  ScopedHost h;
  void SetUp() override { setClock(&clock); }
  void TearDown() override { setClock(nullptr); }
};
}  // namespace

TEST_F(InDecember2026, DayCountRangeAndTheLimit) {
  EXPECT_EQ(DayCount(1, 1, 1901), 1);
  EXPECT_EQ(DayCount(1, 1, 1980), 28855);
  EXPECT_GT(DayCount(2, 29, 2000), 0);
  EXPECT_EQ(DayCount(2, 29, 1999), -1);
  EXPECT_EQ(DayCount(1, 1, 2101), -1);
  EXPECT_EQ(DayCount(12, 31, 2100), kMaxDayNumber);
  EXPECT_EQ(DayCount(13, 1, 2000), -1);
  EXPECT_EQ(DayCount(12, 25, 99), DayCount(12, 25, 1999));  // three-digit-and-less years count from 1900
  EXPECT_EQ(DayCount(1, 1, 100), DayCount(1, 1, 2000));
}

TEST_F(InDecember2026, TwoDigitYearsFallWithin80YearsBackAnd19Ahead) {
  struct Case {
    int yy, year;
  } cases[] = {{26, 2026}, {0, 2000}, {45, 2045}, {46, 1946}, {99, 1999}, {5, 2005}};
  for (auto c : cases) EXPECT_EQ(expandShortYear(c.yy), c.year) << c.yy;
  FixedClock in1990(at(1990, 6, 1));
  setClock(&in1990);
  EXPECT_EQ(expandShortYear(9), 2009);
  EXPECT_EQ(expandShortYear(10), 1910);
}

TEST_F(InDecember2026, GoodDateForms) {
  struct Case {
    const char* text;
    int code;
    int expected;
  } cases[] = {
      {"12/07/26", 1021, DayCount(12, 7, 2026)},  {"12/25/99", 1021, DayCount(12, 25, 1999)},
      {"12/25/1999", 1021, DayCount(12, 25, 1999)}, {"01/01/00", 1021, DayCount(1, 1, 2000)},
      {"1999/12/25", 1022, DayCount(12, 25, 1999)}, {"1999/12/25", 1021, -1},
      {"25-dec-1999", 1021, DayCount(12, 25, 1999)}, {"12/25/19999", 1021, -1}, {"025-dec-1999", 1021, -1},
      {"12-25-1999", 1021, -1},                     {"12.25.1999", 1021, -1},
      {"/12/25", 1021, -1},                         {"12/25/1999", 1030, -1},
      {"", 1021, -1},                               {"02/30/2000", 1021, -1},
  };
  for (const auto& c : cases) EXPECT_EQ(GoodDate(c.text, c.code), c.expected) << c.text;
}

TEST_F(InDecember2026, RelativeDateShowsItsBox) {
  EXPECT_EQ(relative_date("13/45/99"), -1);
  EXPECT_TRUE(h.host.sawBox("conversion error...possibly bad date string -- 13/45/99", "In relative_date routine"));
}

TEST_F(InDecember2026, DateTexts) {
  EXPECT_STREQ(charDate(static_cast<float>(DayCount(12, 31, 1980)), 1021, 4), "12/31/1980");
  EXPECT_STREQ(charDate(static_cast<float>(DayCount(12, 25, 1999)), 1022, 4), "1999/12/25");
  EXPECT_STREQ(charDate(static_cast<float>(DayCount(1, 1, 2000)), 1021, 2), "01/01/00");
  EXPECT_STREQ(charDate(static_cast<float>(DayCount(2, 29, 2024)), 1021, 4), "02/29/2024");
  EXPECT_STREQ(charDate(static_cast<float>(DayCount(12, 31, 2100)), 1021, 4), "12/31/2100");
  EXPECT_STREQ(charDate(static_cast<float>(DayCount(1, 1, 1901)), 1021, 4), "01/01/1901");
  // Every day of a leap and a common year goes there and back.
  for (int n = DayCount(1, 1, 2024); n <= DayCount(12, 31, 2025); ++n)
    ASSERT_EQ(GoodDate(charDate(static_cast<float>(n), 1021, 4), 1021), n);
  char out[12] = "unchanged";
  EXPECT_EQ(show_date(std::numeric_limits<float>::quiet_NaN(), out, 1021, 4), 1);
  EXPECT_TRUE(h.host.sawBox("printable relative_date conversion ERROR", "in show_date() routine"));
  EXPECT_STREQ(out, "unchanged");
  EXPECT_EQ(Today(), "12/08/2026");
}

TEST_F(InDecember2026, FreeFormDates) {
  struct Case {
    const char* text;
    int expected;
  } cases[] = {
      {"12/25/99", DayCount(12, 25, 1999)},    {"12-25-1999", DayCount(12, 25, 1999)},
      {"Dec/25/1999", DayCount(12, 25, 1999)}, {"25-Dec-99", DayCount(12, 25, 1999)},
      {"1999/12/25", DayCount(12, 25, 1999)},  {"1999-Dec-25", DayCount(12, 25, 1999)},
      {"25-Dec-1999", DayCount(12, 25, 1999)}, {"Dec-25-1999", DayCount(12, 25, 1999)},
      {"12 / 07 / 26", DayCount(12, 7, 2026)}, {"25/12/99", -1},
      {"Foo/25/1999", -1},                     {"1225", -1},
      {"12/25", -1},
  };
  for (const auto& c : cases) {
    char buf[81];
    std::strcpy(buf, c.text);
    EXPECT_EQ(PrepDate(buf), c.expected) << c.text;
  }
}

TEST_F(InDecember2026, LayoutsAndMonthNames) {
  struct Case {
    const char* date;
    const char* layout;
    bool ok;
    const char* result;
  } cases[] = {
      {"2002-07-31", "yyyy-mm-dd", true, "07/31/2002"}, {"31.jul.02", "dd.mon.yy", true, "07/31/02"},
      {"31-Jul-2002", "day-mon-year", true, "07/31/2002"}, {"31-Jux-2002", "Day-Mon-Year", false, ""},
      {"31-07", "dd-mm", true, "07/31/2026"},  // year from the reference date
      {"07/2002", "mm/yyyy", false, ""},           {"07/31/02", "mm/dd/yyyy", true, "07/31/02"},
      {"2002-07", "yyyy-mm-dd", false, ""},
  };
  for (const auto& c : cases) {
    char d[12];
    std::strcpy(d, c.date);
    EXPECT_EQ(PreProcessDate(d, c.layout, "12/08/2026"), c.ok) << c.date;
    if (c.ok) {
      EXPECT_STREQ(d, c.result) << c.date;
    }
  }
  char m[5] = "DeC";
  EXPECT_EQ(nummon(m), 12);
  EXPECT_STREQ(m, "dec");
  char out[3];
  char mon[5] = "Mar";
  EXPECT_TRUE(ConvMonth(out, mon));
  EXPECT_STREQ(out, "03");
  EXPECT_EQ(get_next_month("02/10/2000"), 20);
  EXPECT_EQ(get_next_month("12/31/2026"), 1);
  DateStruct ds;
  filldatestruct("05/06/99", ds);
  EXPECT_EQ(ds.year, 1999);
  filldatestruct("05/06/05", ds);
  EXPECT_EQ(ds.year, 2005);
  EXPECT_EQ(ds.month, 5);
  EXPECT_EQ(ds.day, 6);
}

TEST_F(InDecember2026, FileDates) {
  quova::test::TempDir dir(true);
  dir.write("a.day", "x");
  ASSERT_TRUE(setFileTime("a.day", at(2026, 12, 7, 16, 0)));
  char out[80];
  EXPECT_EQ(get_file_date("a.day", out), 0);
  EXPECT_STREQ(out, "12/ 7/26");
  EXPECT_EQ(get_file_date("none.day", out), -1);
  EXPECT_STREQ(out, "01/01/81");
  char d[13], name[12];
  dayofweek(d, name, 1022);
  EXPECT_STREQ(d, "2026/12/08");
  EXPECT_STREQ(name, "Tuesday");
}

TEST_F(InDecember2026, MarketTimeAndZones) {
  FixedClock late(at(2026, 12, 8, 23, 15));
  setClock(&late);
  EXPECT_EQ(MarketTime(-1.0f), "12:15am");
  EXPECT_EQ(MarketTime(14.0f), "9:15am");
  EXPECT_EQ(MarketTime(11.0f), "12:15pm");
  EXPECT_EQ(MarketTime(1.0e30f), "11:15pm");
  EXPECT_EQ(TZone("R"), -5);
  EXPECT_EQ(TZone("Z"), 0);
  EXPECT_EQ(TZone("J"), -99);
  EXPECT_EQ(TZone("EST"), -1);
  EXPECT_EQ(TZone("A"), 1);
  EXPECT_EQ(TZone("M"), 12);
  EXPECT_EQ(TZone("Y"), -12);
  float hours = 0;
  char out[12];
  FixedClock morning(at(2026, 12, 8, 2, 0));
  setClock(&morning);
  TZadjust("A", "R", "12/08/2026", out, hours);  // +1 to -5: 6 hours behind at 02:00 is yesterday
  EXPECT_FLOAT_EQ(hours, 6.0f);
  EXPECT_STREQ(out, "12/07/2026");
  TZadjust("R", "R", "12/08/2026", out, hours);
  EXPECT_STREQ(out, "12/08/2026");
  FixedClock t(at(2026, 12, 8, 14, 30));
  t.t.second = 5, t.t.msec = 678;
  setClock(&t);
  EXPECT_EQ(GetTimeMsec(), ((14 * 60 + 30) * 60 + 5) * 1000 + 670);
  EXPECT_FLOAT_EQ(GetMilTime(), 1430.0f);
}

// The year window moves with the clock: the same text means another year in another "now".
TEST(TwoDigitYearWindow, FollowsTheClocksYear) {
  struct Case { int now; int yy; int year; } cases[] = {
      {2026, 26, 2026}, {2026, 45, 2045}, {2026, 46, 1946}, {2026, 0, 2000},
      {1999, 99, 1999}, {1999, 18, 2018}, {1999, 19, 1919}, {1999, 0, 2000},
      {2080, 0, 2000},  {2080, 99, 2099}, {2081, 0, 2100},  {2050, 70, 1970}, {2050, 69, 2069},
  };
  for (const Case& c : cases) {
    FixedClock clock(at(c.now, 6, 1));
    setClock(&clock);
    EXPECT_EQ(expandShortYear(c.yy), c.year) << c.now << " " << c.yy;
    setClock(nullptr);
  }
  FixedClock in1999(at(1999, 6, 1));
  setClock(&in1999);
  EXPECT_EQ(GoodDate("12/07/26", DATE_FMT_US), DayCount(12, 7, 1926));
  setClock(nullptr);
}

TEST_F(InDecember2026, ShortAndLongYearsInRecordsAndTexts) {
  struct Case { const char* text; int year; } cases[] = {
      {"5/6/7", 2007}, {"05/06/99", 1999}, {"05/06/45", 2045}, {"05/06/100", 2000},
      {"05/06/1926", 1926}, {"12/ 7/26", 2026},
  };
  for (const Case& c : cases) {
    DateStruct ds;
    filldatestruct(c.text, ds);
    EXPECT_EQ(ds.year, c.year) << c.text;
  }
  // Two-digit output reads back as the same day through the window.
  for (int day : {DayCount(1, 1, 2000), DayCount(12, 31, 1999), DayCount(2, 29, 2044), DayCount(7, 4, 1946)})
    EXPECT_EQ(GoodDate(charDate(static_cast<float>(day), DATE_FMT_US, 2), DATE_FMT_US), day) << day;
  // The 3-digit years of old two-digit output still read.
  EXPECT_EQ(GoodDate("01/01/100", DATE_FMT_US), DayCount(1, 1, 2000));
}

TEST_F(InDecember2026, EveryDayNumberReadsBack) {
  for (int n = 1; n <= kMaxDayNumber; ++n) {
    const char* text = charDate(static_cast<float>(n), DATE_FMT_US, 4);
    ASSERT_EQ(GoodDate(text, DATE_FMT_US), n) << text;
  }
  EXPECT_STREQ(charDate(kMaxDayNumber, DATE_FMT_INTL, 4), "2100/12/31");
}

TEST_F(InDecember2026, FailedConversionLeavesNoStaleDate) {
  EXPECT_STREQ(charDate(100.0f, DATE_FMT_US, 4), "04/10/1901");
  EXPECT_STREQ(charDate(std::numeric_limits<float>::quiet_NaN(), DATE_FMT_US, 4), "");
  ASSERT_EQ(h.host.boxes.size(), 1u);
  EXPECT_EQ(h.host.boxes[0].caption, "in show_date() routine");
}

TEST_F(InDecember2026, DayNameComesFromTheDate) {
  FixedClock wrongWeekday(at(2026, 12, 7));
  wrongWeekday.t.weekday = 4;  // a clock whose weekday field disagrees with its date
  setClock(&wrongWeekday);
  char d[13], name[12];
  dayofweek(d, name, DATE_FMT_US);
  EXPECT_STREQ(d, "12/07/2026");
  EXPECT_STREQ(name, "Monday");
}
