// Record lines: composing under a descriptor and parsing back, with the token rules, the
// price fractions, dates and times.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "quote_test_support.h"
#include "quotes/quote_line.h"
#include "support/recording_host.h"
#include "util/clock.h"

using namespace quova;
using namespace quova::test;

namespace {

OFtype formatOf(std::initializer_list<int> codes, int delimiter = DELIM_COLUMNS) {
  OFtype f = DefaultFormat();
  f.nFields = 0;
  for (int c : codes) f.fieldCode[f.nFields++] = static_cast<std::int16_t>(c);
  f.delimiter = delimiter;
  return f;
}

std::string compose(const QuoteData& q, const OFtype& f, bool reformat = true, int size = 181) {
  char line[400];
  MakeQuoteString(line, size, &q, f, reformat);
  return line;
}

QuoteData january4() {
  QuoteData q = makeQuote("IBM", "*", "01/04/1999", "", "", "92 3/4", "1234567", "4:00");
  QSET(q, High, "93.5");
  QSET(q, Low, "91 1/8");
  return q;
}

}  // namespace

TEST(MakeQuoteString, DefaultColumnsOfTheWorkedExample) {
  std::string line = compose(january4(), DefaultFormat());
  ASSERT_EQ(line.back(), '\n');
  EXPECT_EQ(line.substr(0, 10), "01/04/1999");
  EXPECT_EQ(line.substr(15, 4), "93.5");
  EXPECT_EQ(line.substr(29, 6), "91 1/8");
  EXPECT_EQ(line.substr(41, 6), "92 3/4");
  EXPECT_EQ(line.substr(54, 7), "1234567");
  EXPECT_EQ(line.substr(66), "4:00\n");
  for (std::size_t i : {10u, 14u, 19u, 28u, 35u, 40u, 47u, 53u, 61u, 65u}) EXPECT_EQ(line[i], ' ') << i;

  quotetype q;
  ASSERT_EQ(ParseQuote(line.c_str(), &q, DefaultFormat()), 0);
  EXPECT_EQ(q.date, DayCount(1, 4, 1999));
  EXPECT_FLOAT_EQ(q.hi, 93.5f);
  EXPECT_FLOAT_EQ(q.low, 91.125f);
  EXPECT_FLOAT_EQ(q.close, 92.75f);
  EXPECT_FLOAT_EQ(q.volume, 1234567.0f);
  EXPECT_EQ(q.time, 400);
  EXPECT_STREQ(q.low_text, "91 1/8");
  EXPECT_STREQ(q.time_text, "4:00");
}

TEST(MakeQuoteString, OverrunningFieldPushesTheRestAndPaddingNeverTruncates) {
  QuoteData q = january4();
  QSET(q, High, "12345678901234567890");  // runs past column 29
  std::string line = compose(q, DefaultFormat());
  EXPECT_EQ(line.substr(15, 20), "12345678901234567890");
  EXPECT_EQ(line.substr(35, 6), "91 1/8");
}

TEST(MakeQuoteString, CommaDelimitedAndTrailingComma) {
  OFtype f = DefaultFormat();
  f.delimiter = DELIM_COMMA;
  QuoteData q = january4();
  EXPECT_EQ(compose(q, f), "01/04/1999,93.5,91 1/8,92 3/4,1234567,4:00\n");
  QSET(q, Time, "");
  EXPECT_EQ(compose(q, f), "01/04/1999,93.5,91 1/8,92 3/4,1234567\n");
  f.delimiter = DELIM_TAB;
  EXPECT_EQ(compose(q, f), "01/04/1999\t93.5\t91 1/8\t92 3/4\t1234567\t\n");  // only blanks and a comma go
}

TEST(MakeQuoteString, BidAndAskComeFromLowAndHighAndPrefixesAndLeadBlanks) {
  OFtype f = formatOf({FC_DATE, FC_ASK, FC_BID}, DELIM_COMMA);
  std::strcpy(f.prefixText[1], "A=");
  f.leadBlanks[2] = 2;
  EXPECT_EQ(compose(january4(), f), "01/04/1999,A=93.5,  91 1/8\n");
}

TEST(MakeQuoteString, OutputDatePatterns) {
  struct Case {
    const char* pattern;
    const char* date;
    const char* expected;
  } cases[] = {
      {"yyyymmdd", "01/04/1999", "19990104"},
      {"dd-mm-yy", "01/04/1999", "04-01-99"},
      {"yyyy", "01/04/05", "2005"},
      {"yyyy", "01/04/85", "1985"},
      {"y.mm", "01/04/1999", "9.01"},
      {"", "1/4/1999", "1/4/1999"},  // empty pattern: the date as stored
  };
  for (const Case& c : cases) {
    OFtype f = formatOf({FC_DATE});
    std::strcpy(f.outDateFormat, c.pattern);
    QuoteData q = january4();
    QSET(q, Date, c.date);
    EXPECT_EQ(compose(q, f), std::string(c.expected) + "\n") << c.pattern;
  }
  // Date reformatting off writes the stored text.
  OFtype f = formatOf({FC_DATE});
  std::strcpy(f.outDateFormat, "yyyymmdd");
  EXPECT_EQ(compose(january4(), f, false), "01/04/1999\n");
}

TEST(ReFormatDate, TwoDigitYearsUseTheSlidingCentury) {
  char out[16];
  ReFormatDate("12/07/26", out, "yyyy");
  EXPECT_STREQ(out, "2026");
  ReFormatDate("12/07/45", out, "yyyy");
  EXPECT_STREQ(out, "2045");
  ReFormatDate("12/07/46", out, "yyyy");
  EXPECT_STREQ(out, "1946");
  ReFormatDate("12/07/2026", out, "mm/dd/yyyy--xxxxxxxxxxx");  // at most 15 characters
  EXPECT_STREQ(out, "12/07/2026--xxx");
}

TEST(MakeQuoteString, LongRecordKeepsItsLineEnd) {
  OFtype f = formatOf({FC_CO_NAME, FC_CO_NAME, FC_CO_NAME, FC_DATE}, DELIM_COMMA);
  QuoteData q = january4();
  QSET(q, Co_name, std::string(80, 'N').c_str());
  std::string line = compose(q, f);
  EXPECT_EQ(line.size(), 180u);
  EXPECT_EQ(line.back(), '\n');
  EXPECT_EQ(line.find('\n'), 179u);
  // Smaller buffers too.
  line = compose(q, f, true, 20);
  EXPECT_EQ(line.size(), 19u);
  EXPECT_EQ(line.back(), '\n');
}

TEST(MakeQuoteString, NumShowsTheToolkitWarning) {
  ScopedHost h;
  OFtype f = formatOf({FC_DATE, FC_NUM, FC_CLOSE}, DELIM_COMMA);
  EXPECT_EQ(compose(january4(), f), "01/04/1999,,92 3/4\n");
  EXPECT_TRUE(h.host.sawBox("source string = NULL!!!", "strcat Warning Message"));
}

TEST(ParseQuote, FractionsAndFields) {
  OFtype dc = formatOf({FC_DATE, FC_CLOSE});
  struct Case {
    const char* line;
    int result;
    float close, hi;
    const char* closeText;
  } cases[] = {
      {"01/04/1999   3/8", 0, 0.375f, -1.0f, "3/8"},
      {"01/04/1999   12 3/8", 0, 12.375f, -1.0f, "12 3/8"},
      {"01/04/1999   n/a", 1, 0, 0, ""},
      {"01/04/1999   3/0", 1, 0, 0, ""},  // a zero denominator is unreadable
      {"01/04/1999   inf", 1, 0, 0, ""},
      {"01/04/1999   nan", 1, 0, 0, ""},
      {"01/04/1999   0x1p3", 1, 0, 0, ""},
      {"01/04/1999   1e60", 1, 0, 0, ""},  // beyond a 32-bit float
      {"01/04/1999   12.5x", 1, 0, 0, ""},
      {"01/04/1999   3/8x", 1, 0, 0, ""},
      {"01/04/1999   -1.5e2", 0, -150.0f, -1.0f, "-1.5e2"},
      {"01/04/1999", 1, 0, 0, ""},  // no close: an empty price is unreadable
  };
  // Two blanks make two fields: 12 and 3/8 are not 12.375.
  quotetype two;
  ASSERT_EQ(ParseQuote("01/04/1999   12  3/8", &two, formatOf({FC_DATE, FC_CLOSE, FC_HI})), 0);
  EXPECT_FLOAT_EQ(two.close, 12.0f);
  EXPECT_FLOAT_EQ(two.hi, 0.375f);
  for (const Case& c : cases) {
    quotetype q;
    ASSERT_EQ(ParseQuote(c.line, &q, dc), c.result) << c.line;
    if (c.result != 0) continue;
    EXPECT_FLOAT_EQ(q.close, c.close) << c.line;
    EXPECT_FLOAT_EQ(q.hi, c.hi) << c.line;
    EXPECT_STREQ(q.close_text, c.closeText) << c.line;
  }
}

TEST(ParseQuote, CommasTabsAndDelimiters) {
  OFtype f = DefaultFormat();
  quotetype q;
  ASSERT_EQ(ParseQuote("01/04/1999,93.5,91.125,92.75,1000,4:00", &q, f), 0);
  EXPECT_FLOAT_EQ(q.low, 91.125f);
  EXPECT_FLOAT_EQ(q.volume, 1000.0f);
  ASSERT_EQ(ParseQuote("01/04/1999\t93.5\t91\t92\t1000\t4:00\r\n", &q, f), 0);
  EXPECT_EQ(q.time, 400);
  f.delimiter = DELIM_COMMA;
  ASSERT_EQ(ParseQuote("01/04/1999,93.5,91 1/8,92 3/4,1000,4:00", &q, f), 0);
  EXPECT_FLOAT_EQ(q.low, 91.125f);
  // An empty CSV field is dropped, so the next fields shift (volume reads the time).
  EXPECT_EQ(ParseQuote("01/04/1999,93.5,,92.75,1000,4:00", &q, f), 1);
}

TEST(ParseQuote, PrefixTextsAreStrippedAndEqualTokensDropped) {
  OFtype f = formatOf({FC_DATE, FC_HI, FC_CLOSE});
  std::strcpy(f.prefixText[1], "H:");
  quotetype q;
  ASSERT_EQ(ParseQuote("01/04/1999   H:93.5   92", &q, f), 0);
  EXPECT_FLOAT_EQ(q.hi, 93.5f);
  ASSERT_EQ(ParseQuote("01/04/1999   H:H:   93.5   92", &q, f), 0);
  EXPECT_FLOAT_EQ(q.hi, 93.5f);
  EXPECT_FLOAT_EQ(q.close, 92.0f);
}

TEST(ParseQuote, TimesWithAmPm) {
  OFtype f = formatOf({FC_DATE, FC_CLOSE, FC_TIME});
  struct Case {
    const char* time;
    int value;
    const char* text;
  } cases[] = {
      {"4:00", 400, "4:00"},       {"4:00 PM", 1600, "4:00 PM"}, {"12:30 PM", 1230, "12:30 PM"},
      {"12:05 am", 5, "12:05 AM"}, {"9:15 AM", 915, "9:15 AM"},  {":", 0, ":"},
      {"16:30", 1630, "16:30"},
  };
  for (const Case& c : cases) {
    quotetype q;
    std::string line = std::string("01/04/1999   92   ") + c.time;
    ASSERT_EQ(ParseQuote(line.c_str(), &q, f), 0) << c.time;
    EXPECT_EQ(q.time, c.value) << c.time;
    EXPECT_STREQ(q.time_text, c.text) << c.time;
  }
}

TEST(ParseQuote, DatesAndTheDayNumberRange) {
  OFtype f = formatOf({FC_DATE, FC_CLOSE});
  quotetype q;
  ASSERT_EQ(ParseQuote("12/07/2026   92", &q, f), 0);  // long after 7 July 2010
  EXPECT_EQ(q.date, DayCount(12, 7, 2026));
  ASSERT_EQ(ParseQuote("12/31/2100   92", &q, f), 0);
  EXPECT_EQ(q.date, kMaxDayNumber);
  EXPECT_EQ(ParseQuote("01/01/2101   92", &q, f), 1);
  EXPECT_EQ(ParseQuote("13/01/2026   92", &q, f), 1);
  EXPECT_EQ(ParseQuote("SYMBOL: IBM", &q, f), 1);
  EXPECT_EQ(ParseQuote("", &q, f), 1);
  // A date pattern of the list: yyyymmdd records.
  std::strcpy(f.outDateFormat, "yyyymmdd");
  ASSERT_EQ(ParseQuote("19990104   92", &q, f), 0);
  EXPECT_EQ(q.date, DayCount(1, 4, 1999));
  EXPECT_EQ(ParseQuote("01/04/1999   92", &q, f), 1);
}

TEST(ParseQuote, NumRejectsAndTempExpCharExpYrConsumeNothing) {
  quotetype q;
  EXPECT_EQ(ParseQuote("01/04/1999   92", &q, formatOf({FC_DATE, FC_NUM})), 1);
  EXPECT_EQ(ParseQuote("01/04/1999   92", &q, formatOf({FC_DATE, 99})), 1);
  ASSERT_EQ(ParseQuote("01/04/1999   92   93", &q,
                       formatOf({FC_TEMP, FC_EXPCHAR, FC_DATE, FC_EXPYR, FC_CLOSE, FC_HI})), 0);
  EXPECT_FLOAT_EQ(q.close, 92.0f);
  EXPECT_FLOAT_EQ(q.hi, 93.0f);
}

TEST(ParseQuote, MissingHighAndLowTakeTheCloseTextAndRestKeepsTheNextWord) {
  OFtype f = formatOf({FC_DATE, FC_CLOSE, FC_SYMBOL});
  quotetype q;
  ASSERT_EQ(ParseQuote("01/04/1999   92 3/4   IBM Corp   extra words", &q, f), 0);
  EXPECT_STREQ(q.hi_text, "92 3/4");
  EXPECT_STREQ(q.low_text, "92 3/4");
  EXPECT_FLOAT_EQ(q.hi, -1.0f);
  EXPECT_STREQ(q.symbol, "IBM Corp");
  EXPECT_STREQ(q.rest, "extra");
}

TEST(ParseQuote, LongAndStrangeLinesStayInBounds) {
  std::string junk(5000, 'x');
  for (std::size_t i = 0; i < junk.size(); i += 7) junk[i] = (i % 3) ? ',' : '\t';
  quotetype q;
  EXPECT_EQ(ParseQuote(junk.c_str(), &q, DefaultFormat()), 1);
  std::string longToken = "01/04/1999   " + std::string(300, '9');
  EXPECT_EQ(ParseQuote(longToken.c_str(), &q, DefaultFormat()), 1);
}

TEST(ParseQuote, TokenEdgesLongTokensAndTheLineCut) {
  const std::string a40(40, 'a'), blanks(165, ' ');
  OFtype prefixed = formatOf({FC_DATE, FC_CLOSE});
  std::strcpy(prefixed.prefixText[2], "X");  // a prefix on a field past the line's tokens
  struct Case {
    std::string line;
    OFtype fmt;
    float close, hi;
    const char* symbol;
    const char* rest;
  } cases[] = {
      {"01/04/1999   92 ", formatOf({FC_DATE, FC_CLOSE}), 92, -1, "", ""},
      {"   01/04/1999      92      ", formatOf({FC_DATE, FC_CLOSE}), 92, -1, "", ""},
      // A token of 40 characters is whole; a longer one keeps 40, and its 41st to 43rd are lost.
      {"01/04/1999   " + a40 + "  8  9", formatOf({FC_DATE, FC_SYMBOL, FC_CLOSE, FC_HI}), 8, 9, a40.c_str(), ""},
      {"01/04/1999   " + a40 + "5ab8  9", formatOf({FC_DATE, FC_SYMBOL, FC_CLOSE, FC_HI}), 8, 9, a40.c_str(), ""},
      // The line ends at 180 characters, blanks or not.
      {"01/04/1999   92" + blanks + "   7", formatOf({FC_DATE, FC_CLOSE}), 92, -1, "", ""},
      {"01/04/1999   92" + blanks + "   7", prefixed, 92, -1, "", ""},
      {"01/04/1999   92" + blanks.substr(0, 100) + "7", prefixed, 92, -1, "", "7"},
  };
  for (const Case& c : cases) {
    quotetype q;
    ASSERT_EQ(ParseQuote(c.line.c_str(), &q, c.fmt), 0) << c.line;
    EXPECT_FLOAT_EQ(q.close, c.close) << c.line;
    EXPECT_FLOAT_EQ(q.hi, c.hi) << c.line;
    EXPECT_STREQ(q.symbol, c.symbol) << c.line;
    EXPECT_STREQ(q.rest, c.rest) << c.line;
  }
}
