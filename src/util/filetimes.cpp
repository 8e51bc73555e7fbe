// File modification times read and set in local time.
#include "util/filetimes.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <ctime>
#include <string>

#include "util/paths.h"

namespace quova {

LocalTime backdateStamp() {
  LocalTime t;
  t.year = 1981;
  t.month = 1;
  t.day = 1;
  t.hour = 1;
  t.minute = 1;
  t.second = 2;
  t.weekday = gregorianWeekday(1981, 1, 1);
  return t;
}

std::uint32_t toDosStamp(const LocalTime& t) {
  std::uint32_t date = (static_cast<std::uint32_t>(t.year - 1980) & 0x7F) << 9 |
                       (static_cast<std::uint32_t>(t.month) & 0xF) << 5 | (static_cast<std::uint32_t>(t.day) & 0x1F);
  std::uint32_t time = (static_cast<std::uint32_t>(t.hour) & 0x1F) << 11 |
                       (static_cast<std::uint32_t>(t.minute) & 0x3F) << 5 |
                       (static_cast<std::uint32_t>(t.second / 2) & 0x1F);
  return date << 16 | time;
}

LocalTime fromDosStamp(std::uint32_t stamp) {
  std::uint32_t date = stamp >> 16, time = stamp & 0xFFFF;
  LocalTime t;
  t.year = static_cast<int>((date >> 9) & 0x7F) + 1980;
  t.month = static_cast<int>((date >> 5) & 0xF);
  t.day = static_cast<int>(date & 0x1F);
  t.hour = static_cast<int>((time >> 11) & 0x1F);
  t.minute = static_cast<int>((time >> 5) & 0x3F);
  t.second = static_cast<int>(time & 0x1F) * 2;
  t.weekday = gregorianWeekday(t.year, t.month, t.day);
  return t;
}

std::optional<LocalTime> fileTime(std::string_view path) {
  struct stat st {};
  if (::stat(nativePath(path).c_str(), &st) != 0) return std::nullopt;
  return localTimeOf(st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
}

bool setFileTime(std::string_view path, const LocalTime& t) {
  std::tm tm{};
  tm.tm_year = t.year - 1900;
  tm.tm_mon = t.month - 1;
  tm.tm_mday = t.day;
  tm.tm_hour = t.hour;
  tm.tm_min = t.minute;
  tm.tm_sec = t.second;
  tm.tm_isdst = -1;  // let the zone rules decide, as local time does
  time_t secs = std::mktime(&tm);
  if (secs == static_cast<time_t>(-1) && !(t.year == 1969 || t.year == 1970)) return false;
  timespec times[2];
  times[0].tv_sec = times[1].tv_sec = secs;
  times[0].tv_nsec = times[1].tv_nsec = static_cast<long>(t.msec) * 1000000L;
  return ::utimensat(AT_FDCWD, nativePath(path).c_str(), times, 0) == 0;
}

}  // namespace quova
