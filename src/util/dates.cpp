// Day numbers, the accepted date texts and the two-digit-year rule.
#include "util/dates.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "base/host.h"
#include "base/log.h"
#include "base/run_flags.h"
#include "util/clock.h"
#include "util/filetimes.h"
#include "util/strtools.h"

namespace quova {
namespace {

const int kMonthOffset[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
const char* const kMonths[12] = {"jan", "feb", "mar", "apr", "may", "jun",
                                 "jul", "aug", "sep", "oct", "nov", "dec"};
const char* const kDays[7] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

int daysInMonth(int month, int year) {
  static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return days[month - 1] + ((month == 2 && leap(year)) ? 1 : 0);
}

// Reads an optionally signed decimal integer of at most width digits after leading
// blanks, as "%Nd" does; returns false when no digit is there. digits gets the count.
bool scanInt(const char*& p, int width, int& value, int& digits) {
  while (*p == ' ' || *p == '\t') ++p;
  bool neg = false;
  const char* start = p;
  if (*p == '+' || *p == '-') {
    neg = *p == '-';
    ++p;
  }
  int v = 0;
  digits = 0;
  while (std::isdigit(static_cast<unsigned char>(*p)) && (p - start) < width) {
    v = v * 10 + (*p - '0');
    ++digits;
    ++p;
  }
  if (digits == 0) {
    p = start;
    return false;
  }
  value = neg ? -v : v;
  return true;
}

bool scanChar(const char*& p, char& c) {
  if (*p == 0) return false;
  c = *p++;
  return true;
}

int toInt(const char* s) {
  int v = 0, digits = 0;
  const char* p = s;
  return scanInt(p, 9, v, digits) ? v : 0;
}

}  // namespace

int expandShortYear(int yy) {
  int base = now().year - 80;
  int year = base - base % 100 + yy % 100;
  if (year < base) year += 100;
  return year;
}

int yearFromText(int value, int digits) { return (digits <= 2 && value >= 0) ? expandShortYear(value) : value; }

bool leap(int year) { return year % 4 == 0; }

int DayCount(int month, int day, int year) {
  if (month < 1 || month > 12 || day < 1 || day > daysInMonth(month, year)) return -1;
  int offset = kMonthOffset[month - 1] + ((month > 2 && leap(year)) ? 1 : 0);
  if (year > 999) year -= 1900;
  int y1 = year - 1;
  if (y1 < 0 || y1 > 199) return -1;
  return offset + day + y1 * 365 + y1 / 4;
}

int GoodDate(const char* text, int code) {
  if (!text) return -1;
  // "mm/dd/yyyy", the layout of every record line, read straight: the scan below takes the
  // same three numbers from it.
  auto digit = [text](int i) { return text[i] >= '0' && text[i] <= '9'; };
  if (code == DATE_FMT_US && digit(0) && digit(1) && text[2] == '/' && digit(3) && digit(4) && text[5] == '/' &&
      digit(6) && digit(7) && digit(8) && digit(9) && text[10] == 0) {
    auto number = [text](int i, int n) {
      int v = 0;
      for (int k = i; k < i + n; ++k) v = v * 10 + (text[k] - '0');
      return v;
    };
    return DayCount(number(0, 2), number(3, 2), number(6, 4));
  }
  const char* slash = std::strchr(text, '/');
  const char* dash = std::strchr(text, '-');
  // 'dd-Mon-yyyy' has 11 characters and is a valid date; other forms stop at 10.
  std::size_t longest = (!(slash && slash > text) && dash && dash > text) ? 11 : 10;
  if (std::strlen(text) > longest) return -1;
  int a = 0, b = 0, c = 0, da = 0, db = 0, dc = 0;
  char s1 = 0, s2 = 0;
  const char* p = text;
  if (slash && slash > text) {
    if (code == DATE_FMT_US) {
      if (!scanInt(p, 2, a, da) || !scanChar(p, s1) || !scanInt(p, 2, b, db) || !scanChar(p, s2) ||
          !scanInt(p, 4, c, dc))
        return -1;
      if (s1 != '/' || s2 != '/') return -1;
      return DayCount(a, b, yearFromText(c, dc));
    }
    if (code == DATE_FMT_INTL) {
      if (!scanInt(p, 4, a, da) || !scanChar(p, s1) || !scanInt(p, 2, b, db) || !scanChar(p, s2) ||
          !scanInt(p, 2, c, dc))
        return -1;
      if (s1 != '/' || s2 != '/') return -1;
      return DayCount(b, c, yearFromText(a, da));
    }
    return -1;
  }
  if (dash && dash > text) {
    char mon[4] = {0};
    if (!scanInt(p, 2, a, da) || !scanChar(p, s1)) return -1;
    for (int i = 0; i < 3; ++i)
      if (!scanChar(p, mon[i])) return -1;
    if (!scanChar(p, s2) || !scanInt(p, 4, c, dc)) return -1;
    if (s1 != '-' || s2 != '-') return -1;
    int m = nummon(mon);
    if (m < 0) return -1;
    return DayCount(m, a, yearFromText(c, dc));
  }
  return -1;
}

int relative_date(const char* text) {
  int count = GoodDate(text, DATE_FMT_US);
  if (count == -1) {
    runFlags().io = formatText(181, "conversion error...possibly bad date string -- %s", text ? text : "");
    MessageBox(runFlags().io, "In relative_date routine", mb::OK);
  }
  return count;
}

int show_date(float count, char* out, int code, int digits) {
  auto fail = [] {
    MessageBox("printable relative_date conversion ERROR", "in show_date() routine", mb::ICONEXCLAMATION);
    return 1;
  };
  if (!std::isfinite(count) || count < -1.0e6f || count > 1.0e6f) return fail();
  long n = static_cast<long>(count);
  long y = n / 365;
  long rest = n - (y * 365 + y / 4);
  long year = y + 1901;
  if (rest <= 0) {
    year -= 1;
    rest += 365 + (leap(static_cast<int>(year)) ? 1 : 0);
  }
  if (rest <= 0) return fail();
  int month = 1;
  for (int m = 12; m >= 1; --m) {
    long off = kMonthOffset[m - 1] + ((m > 2 && leap(static_cast<int>(year))) ? 1 : 0);
    if (off < rest) {
      month = m;
      break;
    }
  }
  long day = rest - (kMonthOffset[month - 1] + ((month > 2 && leap(static_cast<int>(year))) ? 1 : 0));
  long shown = digits == 2 ? year % 100 : year;  // two digits print the last two of the year
  if (code == DATE_FMT_US)
    std::snprintf(out, 12, "%02d/%02d/%02d", month, static_cast<int>(day), static_cast<int>(shown));
  else if (code == DATE_FMT_INTL)
    std::snprintf(out, 12, "%02d/%02d/%02d", static_cast<int>(shown), month, static_cast<int>(day));
  return 0;
}

const char* charDate(float count, int code, int digits) {
  static char buffer[12];
  // A failed conversion leaves the buffer empty, never the previous call's date.
  if (show_date(count, buffer, code, digits) != 0) buffer[0] = 0;
  return buffer;
}

void today(char* out, int max) {
  LocalTime t = now();
  std::snprintf(out, static_cast<std::size_t>(max), "%02d/%02d/%04d", t.month, t.day, t.year);
}

std::string Today() {
  char text[13];
  today(text);
  return charDate(static_cast<float>(relative_date(text)), DATE_FMT_US, 4);
}

int nummon(char* text) {
  if (!text) return -1;
  strtolower(text);
  for (int i = 0; i < 12; ++i)
    if (std::strcmp(text, kMonths[i]) == 0) return i + 1;
  return -1;
}

bool ConvMonth(char* out, char* month) {
  int m = nummon(month);
  if (m < 0) return false;
  std::snprintf(out, 3, "%02d", m);
  return true;
}

int get_next_month(const char* date) {
  int parts[3] = {0, 0, 0};
  DecodeDate(date, parts);
  if (parts[0] < 1 || parts[0] > 12) return 0;
  return daysInMonth(parts[0], parts[2]) - parts[1] + 1;
}

void DecodeDate(const char* text, int parts[3]) {
  if (!text) return;
  const char* p = text;
  int v = 0, d = 0;
  char sep = 0;
  if (!scanInt(p, 2, v, d)) return;
  parts[0] = v;
  if (!scanChar(p, sep) || !scanInt(p, 2, v, d)) return;
  parts[1] = v;
  if (!scanChar(p, sep) || !scanInt(p, 4, v, d)) return;
  parts[2] = v;
}

namespace {

// month + "/" + day + "/" + year into the 12-character date, each step bounded.
void composeDate(char* date, const char* month, const char* day, const char* year) {
  char result[12] = {0};
  quova::strcpy(result, month, 12);
  quova::strcat(result, "/", 12);
  quova::strcat(result, day, 12);
  quova::strcat(result, "/", 12);
  quova::strcat(result, year, 12);
  quova::strcpy(date, result, 12);
}

}  // namespace

bool PreProcessDate(char* date, const char* layout, const char* ref) {
  if (!date || !layout || layout[0] == 0) return true;
  char lay[81];
  quova::strcpy(lay, layout, 81);
  char layLower[81];
  quova::strcpy(layLower, layout, 81);
  strtolower(layLower);
  if (std::strcmp(layLower, "day-mon-year") == 0) {
    const char* d1 = std::strchr(date, '-');
    if (!d1) return false;
    const char* d2 = std::strchr(d1 + 1, '-');
    if (!d2) return false;
    char day[3], mon[5], year[12];
    strcpyi(day, date, static_cast<int>(d1 - date), 3);
    strcpyi(mon, d1 + 1, static_cast<int>(d2 - d1 - 1), 5);
    quova::strcpy(year, d2 + 1, 12);
    char num[3];
    if (!ConvMonth(num, mon)) return false;
    composeDate(date, num, day, year);
    return true;
  }
  int ld = static_cast<int>(std::strlen(date)), ll = static_cast<int>(std::strlen(lay));
  int py4 = strpos(lay, "yyyy", true);
  if (!(ld == ll || (py4 >= 0 && ld == ll - 2))) return false;
  char year[5] = {0}, day[3] = {0}, month[4] = {0};
  int py2 = strpos(lay, "yy", true);
  if (py4 >= 0 && py4 < ld)
    strcpyis(year, date, py4, ld == ll ? 4 : 2, 5);
  else if (py2 >= 0 && py2 < ld)
    strcpyis(year, date, py2, 2, 5);
  else if (ref && std::strlen(ref) >= 10)
    strcpyis(year, ref, 6, 4, 5);
  int pd = strpos(lay, "dd", true);
  if (pd < 0 || pd >= ld) return false;
  strcpyis(day, date, pd, 2, 3);
  int pm = strpos(lay, "mm", true);
  int pmon = strpos(lay, "mon", true);
  if (pm >= 0 && pm < ld) {
    strcpyis(month, date, pm, 2, 3);
  } else if (pmon >= 0 && pmon < ld) {
    char name[4];
    strcpyis(name, date, pmon, 3, 4);
    if (!ConvMonth(month, name)) return false;
  } else {
    return false;
  }
  composeDate(date, month, day, year);
  return true;
}

namespace {

enum class FieldKind { Unknown, Month, Year, Day };

bool isThreeLetters(const char* f) {
  return std::strlen(f) == 3 && std::isalpha(static_cast<unsigned char>(f[0])) &&
         std::isalpha(static_cast<unsigned char>(f[1])) && std::isalpha(static_cast<unsigned char>(f[2]));
}

// The number in a field and how many digits it has.
int fieldNumber(const char* f, int& digits) {
  const char* p = f;
  int v = -1;
  if (!scanInt(p, 9, v, digits)) {
    digits = 0;
    return -1;
  }
  return v;
}

}  // namespace

int PrepDate(char* text) {
  if (!text) return -1;
  int cap = static_cast<int>(std::strlen(text)) + 1;
  strposdelall(text, " ", cap);
  strsub(text, '-', '/');
  char field[81];
  // The working capacity is the whole text, so '25-Dec-1999' fits.
  if (!getnext(field, text, "/", 81, cap)) return -1;
  if (pos(text, '/') < 0) return -1;
  int month = -1, day = -1, year = -1, digits = 0;
  FieldKind first = FieldKind::Unknown;
  if (isThreeLetters(field)) {
    month = nummon(field);
    if (month < 0) return -1;
    first = FieldKind::Month;
  } else {
    int v = fieldNumber(field, digits);
    if (v >= 32) {
      year = yearFromText(v, digits);
      first = FieldKind::Year;
    } else if (v >= 0 && v <= 12) {
      month = v;
      first = FieldKind::Month;
    } else if (v >= 13 && v <= 31) {
      day = v;
      first = FieldKind::Day;
    }
  }
  getnext(field, text, "/", 81, cap);
  if (isThreeLetters(field)) {
    if (month >= 0) return -1;
    month = nummon(field);
    if (month < 0) return -1;
  } else {
    int v = fieldNumber(field, digits);
    if (first == FieldKind::Year)
      (v <= 12 ? month : day) = v;
    else if (first == FieldKind::Month)
      day = v;
  }
  char rest[81];
  quova::strcpy(rest, text, 81);
  if (isThreeLetters(rest)) {
    if (month >= 0) return -1;
    month = nummon(rest);
    if (month < 0) return -1;
  } else {
    int v = fieldNumber(rest, digits);
    if (first == FieldKind::Year) {
      if (month >= 0) day = v;
    } else {
      year = v < 0 ? -1 : yearFromText(v, digits);
    }
  }
  if (month < 0 || day < 0 || year < 0) return -1;
  return DayCount(month, day, year);
}

int filldatestruct(const char* text, DateStruct& d) {
  char src[81], m[10], dd[10], y[10];
  quova::strcpy(src, text, 81);
  getnext(m, src, "/", 10, 81);
  getnext(dd, src, "/", 10, 81);
  getnext(y, src, "/", 10, 81);
  int year = toInt(y);
  // One or two digits go through the year window; three (<= 999) count from 1900 as in DayCount.
  std::size_t n = std::strlen(y);
  if (n >= 1 && n <= 2 && year >= 0) year = expandShortYear(year);
  else if (n == 3 && year >= 0) year += 1900;
  d.year = year;
  d.month = static_cast<unsigned char>(toInt(m));
  d.day = static_cast<unsigned char>(toInt(dd));
  return 0;
}

int get_file_date(const char* path, char* out) {
  auto fail = [&] {
    runFlags().io = std::string("Invalid File Datestamp for file -- ") + (path ? path : "");
    if (runFlags().io.size() > 180) runFlags().io.resize(180);
    quova::strcpy(out, "01/01/81", 80);
    return -1;
  };
  if (!path) return fail();
  auto t = fileTime(path);
  if (!t || t->year < 1970) return fail();
  std::snprintf(out, 80, "%02d/%2d/%02d", t->month, t->day, t->year % 100);
  return 0;
}

void dayofweek(char* outDate, char* outName, int code) {
  LocalTime t = now();
  if (code == DATE_FMT_INTL)
    std::snprintf(outDate, 13, "%04d/%02d/%02d", t.year, t.month, t.day);
  else
    std::snprintf(outDate, 13, "%02d/%02d/%04d", t.month, t.day, t.year);
  quova::strcpy(outName, kDays[gregorianWeekday(t.year, t.month, t.day)], 12);  // from the date itself
}

}  // namespace quova
