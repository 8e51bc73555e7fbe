// "Now": one small interface over the system clock, so that tests can set the time.
// The real clock reads CLOCK_REALTIME in local time, so libfaketime moves the whole program.
#pragma once

#include <optional>

namespace quova {

struct LocalTime {
  int year = 1901;  // four digits
  int month = 1;    // 1..12
  int day = 1;      // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
  int msec = 0;     // 0..999
  int weekday = 0;  // 0 = Sunday .. 6 = Saturday
  long msecOfDay() const { return ((hour * 60L + minute) * 60L + second) * 1000L + msec; }
};

struct Clock {
  virtual ~Clock() = default;
  virtual LocalTime now() const = 0;
};

// The clock in use: the system clock unless a test has set another.
const Clock& clock();
void setClock(const Clock* c);  // nullptr restores the system clock
LocalTime now();

// A clock that stands still at a given time until moved; for tests.
struct FixedClock final : Clock {
  LocalTime t;
  explicit FixedClock(LocalTime at) : t(at) {}
  LocalTime now() const override { return t; }
};

// The local time of a moment of the system clock (seconds and nanoseconds of the epoch).
LocalTime localTimeOf(long long seconds, long nanoseconds);

// Weekday (0 = Sunday) of a Gregorian date.
int gregorianWeekday(int year, int month, int day);

}  // namespace quova
