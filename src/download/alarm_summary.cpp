// Requests in alarm after a download, gathered into alarms.qtl and one message.
#include "download/alarm_summary.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "base/host.h"
#include "base/log.h"
#include "base/root_path.h"
#include "download/download_state.h"
#include "quotes/alarms.h"
#include "quotes/list_window.h"
#include "quotes/quote_names.h"
#include "quotes/quotelist.h"
#include "quotes/text_lines.h"
#include "settings/settings.h"
#include "util/paths.h"

namespace quova {

void ResetDownloadAlarms() { downloadState().alarms = AlarmSummary{}; }

std::string alarmListPath() { return rootPath("alarms.qtl"); }

namespace {
// What goes before the first request added to the alarm list: a header line when the list
// has none yet (its window never shows line 1 as a request), the list's own header or
// else the label row's; a line end when the last line lacks one.
std::string alarmListLead(const std::string& alarmFile, const std::string& listHeader) {
  std::vector<std::string> held;
  readTextLines(alarmFile, held);
  // The window drops empty lines: a list of blank lines has no header either.
  const bool headed = std::any_of(held.begin(), held.end(), [](const std::string& l) { return !l.empty(); });
  if (!headed) return (listHeader.empty() ? std::string(kListLabelText) : listHeader) + "\n";
  std::FILE* f = std::fopen(alarmFile.c_str(), "rb");
  int last = EOF;
  if (f && std::fseek(f, -1, SEEK_END) == 0) last = std::fgetc(f);
  if (f) std::fclose(f);
  return last == '\n' || last == EOF ? std::string() : std::string("\n");
}
}  // namespace

int CollectListAlarms(const std::string& qtlPath) {
  if (sameFile(nativePath(qtlPath), nativePath(alarmListPath()))) return 0;
  std::vector<std::string> lines;
  if (!readTextLines(qtlPath, lines)) return 0;
  std::string add;
  int count = 0;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    if (!AlarmLimitsExceeded(lines[i])) continue;
    add += lines[i] + "\n";
    AlarmState a = ReadAlarmState(lines[i]);
    RequestFields r = splitRequestLine(lines[i]);
    downloadState().alarms.message += a.overUpper()
        ? formatText(400, "%s   close %.3f at or above %.3f\n", r.symbol.c_str(), a.close, a.upper)
        : formatText(400, "%s   close %.3f at or below %.3f\n", r.symbol.c_str(), a.close, a.lower);
    ++count;
  }
  if (count == 0) return 0;
  downloadState().alarms.exceeded = true;
  std::string path = nativePath(alarmListPath());
  add = alarmListLead(path, lines[0]) + add;
  std::FILE* f = std::fopen(path.c_str(), "ab");
  bool ok = f && std::fwrite(add.data(), 1, add.size(), f) == add.size();
  if (f && std::fclose(f) != 0) ok = false;
  if (!ok) Log("\nCannot Open Output Stream for QuoteList -- %s", path.c_str());
  return count;
}

bool CheckDownloadAlarms(const std::function<void(const std::string&)>& reopenAlarmList) {
  if (!downloadState().alarms.exceeded) return false;
  host().beep();
  LogBox("Price alarms were exceeded in this download:\n\n" + downloadState().alarms.message,
         "QUOVA Download Status Message", mb::OK | mb::ICONINFORMATION);
  if (settings().DownloadControls.OpenAlarmsQTL && reopenAlarmList) reopenAlarmList(alarmListPath());
  return true;
}

}  // namespace quova
