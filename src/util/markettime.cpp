// Time of day and market time zones.
#include "util/markettime.h"

#include <cstdio>
#include <cstring>

#include "util/clock.h"
#include "util/dates.h"
#include "util/strtools.h"

namespace quova {

int GetTimeMsec() {
  LocalTime t = now();
  return ((t.hour * 60 + t.minute) * 60 + t.second) * 1000 + (t.msec / 10) * 10;
}

float GetMilTime() {
  LocalTime t = now();
  return static_cast<float>(t.hour * 100 + t.minute);
}

int TZone(const char* letter) {
  if (!letter || std::strlen(letter) != 1) return -1;
  char c = letter[0];
  if (c >= 'A' && c <= 'I') return c - 'A' + 1;
  if (c >= 'K' && c <= 'M') return c - 'K' + 10;
  if (c >= 'N' && c <= 'Y') return -(c - 'N' + 1);
  if (c == 'Z') return 0;
  return -99;
}

int TZadjust(const char* zoneA, const char* zoneB, const char* date, char* out, float& hours) {
  float diff = static_cast<float>(TZone(zoneA) - TZone(zoneB));
  hours = diff;
  float t = GetMilTime() * 0.01f;
  if (diff <= t) {
    if (t - diff <= 24.0f)
      quova::strcpy(out, date, 12);
    else
      quova::strcpy(out, charDate(static_cast<float>(GoodDate(date, DATE_FMT_US) + 1), DATE_FMT_US, 4), 12);
  } else {
    quova::strcpy(out, charDate(static_cast<float>(GoodDate(date, DATE_FMT_US) - 1), DATE_FMT_US, 4), 12);
  }
  return 0;
}

std::string MarketTime(float adj) {
  LocalTime t = now();
  float shifted = static_cast<float>(t.hour) - adj;
  if (!(shifted > -1.0e6f && shifted < 1.0e6f)) shifted = static_cast<float>(t.hour);  // no wild zones
  int h = static_cast<int>(shifted) % 24;
  if (h < 0) h += 24;
  const char* suffix = h < 12 ? "am" : "pm";
  if (h > 12) h -= 12;
  if (h == 0) h = 12;
  char text[16];
  std::snprintf(text, sizeof text, "%d:%02d%s", h, t.minute, suffix);
  return text;
}

}  // namespace quova
