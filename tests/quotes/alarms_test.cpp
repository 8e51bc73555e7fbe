// Alarm fields and the alarm test.
#include <gtest/gtest.h>

#include <cstring>

#include "quotes/alarms.h"

using namespace quova;

namespace {
const char kDisplay[] = "12/07/2026     51.000     49.000     %s      0.500       1000   4:00";
std::string line(const char* alarms, const char* close) {
  char d[200];
  std::snprintf(d, sizeof d, kDisplay, close);
  return std::string("IBM   *   Intl  Business   ") + alarms + d;
}
}  // namespace

TEST(AlarmLimitsExceeded, EdgesOfTheLimits) {
  struct Case {
    const char* alarms;
    const char* close;
    bool alarm;
  } cases[] = {
      {"ALARMSON   HA=50.000   ", "50.000", true},  // equality counts
      {"ALARMSON   HA=50.000   ", "49.999", false},
      {"ALARMSON   LA=40.000   ", "40.000", true},
      {"ALARMSON   LA=40.000   ", "40.001", false},
      {"ALARMSON   HA=60.000   LA=40.000   ", "39", true},
      {"ALARMSOFF   HA=50.000   LA=60.000   ", "55", false},
      {"ALARMSON   HA=-5.000   ", "1", false},  // a negative limit switches its side off
      {"ALARMSON   LA=-5.000   ", "-6", false},
      {"ALARMSON   HA=50.000   ", "unavail.", false},
      {"ALARMSON   ", "1000", false},
      {"", "1000", false},
  };
  for (const Case& c : cases) EXPECT_EQ(AlarmLimitsExceeded(line(c.alarms, c.close)), c.alarm) << c.alarms << c.close;
}

TEST(AlarmData, ReadAndRebuildKeepTheDisplayColumns) {
  std::string l = line("ALARMSOFF   HA=50.000   ", "45.000");
  AlarmRecord rec;
  GetAlarmsData(l, &rec);
  EXPECT_FALSE(rec.alarmsOn);
  EXPECT_STREQ(rec.overLimit, "50.000");
  EXPECT_STREQ(rec.underLimit, "");

  rec.alarmsOn = true;
  std::strcpy(rec.overLimit, "120");
  std::strcpy(rec.underLimit, " 95.5 ");
  std::string s = SetAlarmsData(l, rec);
  EXPECT_EQ(s, "IBM  *  Intl  Business   ALARMSON  HA=120.000  LA=95.500  12/07/2026  51.000  49.000  45.000  "
               "0.500  1000  4:00  ");
  EXPECT_TRUE(AlarmLimitsExceeded(s));  // 45 is below the lower limit
  // Not-a-number limits are dropped silently; old alarm fields never repeat.
  std::strcpy(rec.overLimit, "abc");
  std::strcpy(rec.underLimit, "inf");
  rec.alarmsOn = false;
  EXPECT_EQ(SetAlarmsData(s, rec),
            "IBM  *  Intl  Business   ALARMSOFF  12/07/2026  51.000  49.000  45.000  0.500  1000  4:00  ");
  EXPECT_EQ(formatAlarmLimit("-5"), "-5.000");
}
