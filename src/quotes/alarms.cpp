// Price alarms in request lines: reading and rebuilding the alarm fields, and the test of
// the close that the list update wrote against the limits.
#include "quotes/alarms.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "quotes/number_text.h"
#include "quotes/quotelist.h"
#include "util/strtools.h"

namespace quova {
namespace {

// The two-blank field right after key in the line; empty when key is absent.
std::string fieldAfter(std::string_view line, const char* key) {
  std::size_t at = line.find(key);
  if (at == std::string_view::npos) return {};
  std::vector<std::string> f = twoBlankFields(line.substr(at + std::strlen(key)));
  return f.empty() ? std::string() : f[0];
}

bool readLimit(std::string_view text, double* v) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return readDecimal(text, v);
}

bool isAlarmField(const std::string& f) {
  return f.find("ALARMSON") != std::string::npos || f.find("ALARMSOFF") != std::string::npos ||
         f.find("HA=") != std::string::npos || f.find("LA=") != std::string::npos;
}

}  // namespace

void GetAlarmsData(std::string_view line, AlarmRecord* rec) {
  rec->alarmsOn = line.find("ALARMSON") != std::string_view::npos;
  quova::strcpy(rec->overLimit, fieldAfter(line, "HA=").c_str(), sizeof rec->overLimit);
  quova::strcpy(rec->underLimit, fieldAfter(line, "LA=").c_str(), sizeof rec->underLimit);
}

std::string formatAlarmLimit(std::string_view typed) {
  double v = 0;
  if (!readLimit(typed, &v)) return {};
  char buf[64];
  std::snprintf(buf, sizeof buf, "%10.3f", v);
  std::string s = buf;
  s.erase(0, s.find_first_not_of(' '));
  return s;
}

std::string SetAlarmsData(std::string_view line, const AlarmRecord& rec) {
  RequestFields f = splitRequestLine(line);
  std::string s = f.symbol + "  " + f.fileName + "  " + f.coName + "   ";
  s += rec.alarmsOn ? "ALARMSON  " : "ALARMSOFF  ";
  std::string over = formatAlarmLimit(rec.overLimit), under = formatAlarmLimit(rec.underLimit);
  if (!over.empty()) s += "HA=" + over + "  ";
  if (!under.empty()) s += "LA=" + under + "  ";
  for (const std::string& field : twoBlankFields(f.rest))
    if (!isAlarmField(field)) s += field + "  ";
  return s;
}

AlarmState ReadAlarmState(std::string_view line) {
  AlarmState a;
  std::size_t on = line.find("ALARMSON");
  if (on == std::string_view::npos) return a;
  a.on = true;
  std::string_view rest = line.substr(on + 8);
  if (rest.find("HA=") != std::string_view::npos && !readLimit(fieldAfter(rest, "HA="), &a.upper)) a.upper = -99;
  if (rest.find("LA=") != std::string_view::npos && !readLimit(fieldAfter(rest, "LA="), &a.lower)) a.lower = -99;
  std::vector<std::string> fields = twoBlankFields(rest);
  std::size_t i = 0;
  while (i < fields.size() && (fields[i].find("HA=") != std::string::npos || fields[i].find("LA=") != std::string::npos))
    ++i;
  // date, high, low, close
  if (i + 3 < fields.size()) a.closeRead = readLimit(fields[i + 3], &a.close);
  return a;
}

bool AlarmLimitsExceeded(std::string_view line) {
  AlarmState a = ReadAlarmState(line);
  return a.on && a.closeRead && (a.overUpper() || a.underLower());
}

}  // namespace quova
