// The end-of-download alarm summary: after each list update the requests in alarm are
// added to the alarm list "alarms.qtl" and to the alarm message; at the end of the
// download the message is shown once.
#pragma once

#include <functional>
#include <string>

namespace quova {

struct AlarmSummary {
  bool exceeded = false;  // some request of this download is in alarm
  std::string message;    // one line per request in alarm
};

// Clears the flag and the message (a download starts).
void ResetDownloadAlarms();

// Adds every request line of the updated list that is in alarm to the alarm list and the
// message; the number added. The alarm list itself is never scanned.
int CollectListAlarms(const std::string& qtlPath);

// The check at the end of a download: with the flag set, beep and show the message
// captioned "QUOVA Download Status Message"; with "Open Alarms.qtl after Download" on,
// reopenAlarmList gets the alarm list's path. True when the message was shown.
bool CheckDownloadAlarms(const std::function<void(const std::string&)>& reopenAlarmList = {});

// The alarm list's path under the root.
std::string alarmListPath();

}  // namespace quova
