// Price alarms kept in a request line: "ALARMSON"/"ALARMSOFF", "HA=" upper and "LA=" lower
// limit, and the test of a line's close against them.
#pragma once

#include <string>
#include <string_view>

namespace quova {

// The alarm dialog's transfer record.
struct AlarmRecord {
  char overLimit[81] = {};
  char underLimit[81] = {};
  bool alarmsOn = false;
};

// Fills the record from a request line.
void GetAlarmsData(std::string_view line, AlarmRecord* rec);
// The line rebuilt with the record's settings; the display columns are kept after them.
std::string SetAlarmsData(std::string_view line, const AlarmRecord& rec);
// A limit as written in a line: "%10.3f" without its leading blanks; empty when the text
// does not read as a number.
std::string formatAlarmLimit(std::string_view typed);
// The line is in alarm: "ALARMSON" and close >= upper or close <= lower limit; a negative
// or absent limit switches its side off; an unreadable close is no alarm.
bool AlarmLimitsExceeded(std::string_view line);

// What the alarm test reads from a line: the switch, the limits (-99 when absent) and the
// close, when it reads as a number.
struct AlarmState {
  bool on = false;
  double upper = -99, lower = -99, close = 0;
  bool closeRead = false;
  bool overUpper() const { return upper >= 0 && close >= upper; }
  bool underLower() const { return lower >= 0 && close <= lower; }
};
AlarmState ReadAlarmState(std::string_view line);

}  // namespace quova
