// Time of day, military time-zone letters and the conversion of today's date and the
// current time between the user's zone and a market's zone.
#pragma once

#include <string>

namespace quova {

int GetTimeMsec();   // milliseconds since midnight at hundredth-of-a-second resolution
float GetMilTime();  // hours * 100 + minutes
int TZone(const char* letter);
int TZadjust(const char* zoneA, const char* zoneB, const char* date, char* out, float& hours);
// The current time shifted by adj hours, as "9:05am" or "12:30pm".
std::string MarketTime(float adj);

}  // namespace quova
