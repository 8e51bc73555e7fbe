// The day-number calendar and the text forms of dates. A day number counts the days since
// 31 December 1900 (1 January 1901 is 1); -1 means "not a valid date". Every year divisible
// by 4 is a leap year, 2100 included.
#pragma once

#include <string>

namespace quova {

inline constexpr int DATE_FMT_US = 1021;    // mm/dd/yyyy
inline constexpr int DATE_FMT_INTL = 1022;  // yyyy/mm/dd

// The last valid day number, 31 December 2100: every reader and writer of dates uses it.
inline constexpr int kMaxDayNumber = 73050;

// A one- or two-digit year yy as the year ending in yy that lies from 80 years before to
// 19 years after the current year (in 2026: 0..45 give 20yy, 46..99 give 19yy).
int expandShortYear(int yy);
// A year as read from text with the given number of digits: 1-2 digits are expanded as
// above; 3 digits (<= 999) and 4 digits stay as they are (DayCount counts 3 from 1900).
int yearFromText(int value, int digits);

struct DateStruct {
  int year = 0;
  unsigned char day = 0;
  unsigned char month = 0;
};

bool leap(int year);
int DayCount(int month, int day, int year);
int GoodDate(const char* text, int code);
int relative_date(const char* text);
// Writes the date of a day number into out (at least 12 characters); 0, or 1 after the box.
int show_date(float count, char* out, int code, int digits);
// show_date into one shared 12-character buffer (overwritten by the next call).
const char* charDate(float count, int code, int digits);
void today(char* out, int max = 13);
std::string Today();
int nummon(char* text);
bool ConvMonth(char* out, char* month);
int get_next_month(const char* date);
void DecodeDate(const char* text, int parts[3]);
bool PreProcessDate(char* date, const char* layout, const char* ref);
int PrepDate(char* text);
int filldatestruct(const char* text, DateStruct& d);
// The file's modification date as "mm/dd/yy" with a blank-padded day ("12/ 7/26");
// "01/01/81" and -1 when the file has none. out holds at least 80 characters.
int get_file_date(const char* path, char* out);
void dayofweek(char* outDate, char* outName, int code);

}  // namespace quova
