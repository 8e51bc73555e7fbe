// Is_DL_Needed: the check an unattended "/download" start makes before any window opens.
#include "download/daily_need.h"

#include <cstdio>

#include "base/log.h"
#include "settings/settings.h"
#include "util/clock.h"
#include "util/dates.h"
#include "util/paths.h"

namespace quova {

namespace {

const char* const kDayNames[7] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

bool dayEnabled(const DownloadControlsRecord& c, int weekday) {
  switch (weekday) {
    case 0: return c.DLOnSunday;
    case 1: return c.DLOnMonday;
    case 2: return c.DLOnTuesday;
    case 3: return c.DLOnWednesday;
    case 4: return c.DLOnThursday;
    case 5: return c.DLOnFriday;
    case 6: return c.DLOnSaturday;
    default: return false;
  }
}

// The marker's date equals today in month, day and the year's last two digits.
bool markedToday(const LocalTime& t) {
  char stamp[80] = {};
  if (get_file_date(kDailyQuotefileName, stamp) != 0) return false;
  int month = 0, day = 0, year = 0;
  if (std::sscanf(stamp, "%d/%d/%d", &month, &day, &year) != 3) return false;
  return month == t.month && day == t.day && year == t.year % 100;
}

}  // namespace

bool Is_DL_Needed() {
  const DownloadControlsRecord& c = settings().DownloadControls;
  const LocalTime t = now();
  if (t.weekday < 0 || t.weekday > 6) {
    Log("\nNot a valid day option.");
    return false;
  }
  if (!dayEnabled(c, t.weekday)) {
    Log("\nDownload on %s not enabled.", kDayNames[t.weekday]);
    return false;
  }
  Log("\nDownloads today are enabled...");
  Log("\nChecking Download Time options...");
  const int hhmm = t.hour * 100 + t.minute;
  if (hhmm < c.DLTime) {
    Log("\nCurrent Time: %02d%02d is less than required DL time of %02d", t.hour, t.minute, c.DLTime);
    Log("\nDownload Aborted.");
    return false;
  }
  Log("\nCurrent Time: %02d%02d is past required DL time of %02d", t.hour, t.minute, c.DLTime);
  Log("\nDownload Checks Continuing...");
  bool due = true;
  if (fileExists(kDailyQuotefileName) && markedToday(t)) {
    Log("\n%s timestamp indicates download already occurred today.", kDailyQuotefileName);
    Log("\nDownload Aborted.");
    due = false;
  }
  Log("\nDownload Enabled.");
  return due;
}

}  // namespace quova
