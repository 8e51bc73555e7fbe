// The system clock behind the Clock interface.
#include "util/clock.h"

#include <ctime>

namespace quova {
namespace {

struct SystemClock final : Clock {
  LocalTime now() const override {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return localTimeOf(ts.tv_sec, ts.tv_nsec);
  }
};

SystemClock systemClock;
const Clock* current = &systemClock;

}  // namespace

const Clock& clock() { return *current; }
void setClock(const Clock* c) { current = c ? c : &systemClock; }
LocalTime now() { return current->now(); }

LocalTime localTimeOf(long long seconds, long nanoseconds) {
  std::tm tm{};
  time_t secs = static_cast<time_t>(seconds);
  localtime_r(&secs, &tm);
  LocalTime t;
  t.year = tm.tm_year + 1900;
  t.month = tm.tm_mon + 1;
  t.day = tm.tm_mday;
  t.hour = tm.tm_hour;
  t.minute = tm.tm_min;
  t.second = tm.tm_sec;
  t.msec = static_cast<int>(nanoseconds / 1000000);
  t.weekday = tm.tm_wday;
  return t;
}

int gregorianWeekday(int year, int month, int day) {
  static const int offsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  if (month < 3) year -= 1;
  return (year + year / 4 - year / 100 + year / 400 + offsets[(month - 1) % 12] + day) % 7;
}

}  // namespace quova
