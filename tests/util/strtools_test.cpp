// The toolkit's results at the edges, which decide what the parsers accept.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "support/recording_host.h"
#include "util/strtools.h"

using namespace quova;
using quova::test::ScopedHost;

TEST(StrTools, CopiesAndConcatenationsCutAtCapacityMinusOne) {
  char s[181];
  std::string longText(200, 'x');
  quova::strcpy(s, longText.c_str(), 181);
  EXPECT_EQ(std::strlen(s), 180u);

  char small[6] = "abcde";
  quova::strcat(small, "fgh", 6);  // already full
  EXPECT_STREQ(small, "abcde");

  char t[10] = "ab";
  quova::strcat(t, "cdefghijkl", 10);
  EXPECT_STREQ(t, "abcdefghi");
  quova::strcpym(t, "hello", 3, 10);
  EXPECT_STREQ(t, "hel");
  quova::strcpym(t, "hello", 30, 4);
  EXPECT_STREQ(t, "hel");
  quova::strcpyis(t, "hello world", 6, 3, 10);
  EXPECT_STREQ(t, "wor");
  quova::strcpyis(t, "hello", 4, 10, 10);  // stops at the terminator
  EXPECT_STREQ(t, "o");
  quova::strcpyis(t, "hi", 9, 3, 10);  // a start beyond the end gives an empty piece
  EXPECT_STREQ(t, "");
  quova::strcpy(t, "ab", 10);
  quova::strcatm(t, "cdef", 2, 10);
  EXPECT_STREQ(t, "abcd");
  quova::strcatis(t, "0123456", 5, 9, 10);
  EXPECT_STREQ(t, "abcd56");
  quova::strcatis(t, "01", 7, 1, 10);
  EXPECT_STREQ(t, "abcd56");
}

TEST(StrTools, MissingArgumentsWarnThroughTheHost) {
  ScopedHost h;
  char s[10] = "keep";
  quova::strcpy(s, nullptr, 10);
  EXPECT_STREQ(s, "");
  EXPECT_TRUE(h.host.boxes.empty());  // strcpy's missing source is silent
  quova::strcpym(s, nullptr, 3, 10);
  EXPECT_TRUE(h.host.sawBox("source string = NULL!!!", "strcpym Warning Message"));
  EXPECT_EQ(strpos(nullptr, "a", true), -2);
  EXPECT_TRUE(h.host.sawBox("str string = NULL!!!", "strpos Warning Message"));
  EXPECT_EQ(strposdelall(s, nullptr, 10), -2);
  EXPECT_TRUE(h.host.sawBox("key string = NULL!!!", "strposdelall Warning Message"));
  quova::strcat(nullptr, "x", 5);
  EXPECT_TRUE(h.host.sawBox("dest string = NULL!!!", "strcat Warning Message"));
  EXPECT_EQ(h.host.boxes.back().flags, mb::ICONSTOP);
  EXPECT_EQ(h.host.beeps, static_cast<int>(h.host.boxes.size()));
}

TEST(StrTools, Searches) {
  struct Case {
    const char* s;
    const char* key;
    bool cs;
    int expected;
  } cases[] = {
      {"Close 12.5", "close", false, 0}, {"Close 12.5", "close", true, -1}, {"abc", "", true, 0},
      {"", "", true, -1},                {"", "a", true, -1},               {"xxLast:", "Last:", true, 2},
      {"ab", "abc", true, -1},
  };
  for (const auto& c : cases) EXPECT_EQ(strpos(c.s, c.key, c.cs), c.expected) << c.s << " / " << c.key;
  EXPECT_EQ(strposst("abcabc", "abc", 1), 3);
  EXPECT_EQ(strposst("abc", "b", 3), -1);
  EXPECT_EQ(strposst("abc", "b", 4), -1);
  EXPECT_EQ(strposst("abc", "b", 5), -2);
  EXPECT_EQ(find("abc", "x"), 0);
  EXPECT_EQ(find("abc", "a"), 0);
  EXPECT_EQ(find("abc", "cz"), 2);
  EXPECT_EQ(pos("abc", 'c'), 2);
  EXPECT_EQ(pos("abc", 'z'), -1);
  EXPECT_EQ(posnextchar("   x"), 3);
  EXPECT_EQ(posnextchar("   "), -1);
  EXPECT_EQ(posnextchar(""), -1);
  EXPECT_TRUE(IsNumeric(""));
  EXPECT_TRUE(IsNumeric("12/31/99"));
  EXPECT_TRUE(IsNumeric("-1.5+"));
  EXPECT_FALSE(IsNumeric("1e5"));
  EXPECT_FALSE(IsNumeric("12\r"));
}

TEST(StrTools, EditsInPlace) {
  char s[20] = "Last: 12.50";
  EXPECT_EQ(strposdelupto(s, "Last:", 20), 5);
  EXPECT_STREQ(s, " 12.50");
  EXPECT_EQ(strposdelupto(s, "none", 20), -1);
  EXPECT_STREQ(s, " 12.50");

  char d[20] = "abcdef";
  strdel(d, 1, 2, 20);
  EXPECT_STREQ(d, "adef");
  strdel(d, 3, 5, 20);  // beyond the end: unchanged
  EXPECT_STREQ(d, "adef");

  char i[6] = "abcd";
  EXPECT_TRUE(strins(i, 'X', 4, 6));
  EXPECT_STREQ(i, "abcdX");
  EXPECT_FALSE(strins(i, 'Y', 0, 6));  // would exceed max-1
  char j[10] = "ab";
  EXPECT_FALSE(strins(j, 'Y', 5, 10));  // beyond the text: unchanged
  EXPECT_FALSE(strinsstr(j, "zz", 3, 10));
  EXPECT_TRUE(strinsstr(j, "123", 1, 10));
  EXPECT_STREQ(j, "a123b");
  EXPECT_FALSE(strinsstr(j, "12345", 0, 10));
  EXPECT_STREQ(j, "a123b");

  char k[8] = "a-b-c";
  EXPECT_TRUE(strsub(k, '-', '+'));
  EXPECT_STREQ(k, "a+b+c");
  EXPECT_FALSE(strsub(k, '-', '+'));

  char m[8] = "abcdef";
  EXPECT_EQ(strsubstr(m, "cd", "WXYZ", 8), 0);  // old text deleted although new does not fit
  EXPECT_STREQ(m, "abef");
  EXPECT_EQ(strsubstr(m, "q", "r", 8), -1);

  char n[30] = "a&nbsp;b&nbsp;&nbsp;c";
  EXPECT_EQ(strposdelall(n, "&nbsp;", 30), 3);
  EXPECT_STREQ(n, "abc");
  EXPECT_EQ(strposdelall(n, "", 30), 0);  // never loops
  EXPECT_EQ(strposdel(n, "b", 30), 1);
  EXPECT_STREQ(n, "ac");

  char w[20] = "   ";
  remtrailWS(w);
  EXPECT_STREQ(w, "");
  char u[30] = "  1 234\xC2\xA0" "5\xA0 ";
  remAllWS(u, 30);
  EXPECT_STREQ(u, "12345");
  char up[10] = "aZ9\xE4";
  strtoupper(up);
  EXPECT_STREQ(up, "AZ9\xE4");
  strtolower(up);
  EXPECT_STREQ(up, "az9\xE4");
}

TEST(StrTools, CharactersToBlanks) {
  char a[10] = "a\tb";
  convTabs(a, 10);
  EXPECT_STREQ(a, "a  b");
  char b[6] = "1,2,3";
  convCommas(b, 6);  // 1__2__3 cut to 5 characters
  EXPECT_STREQ(b, "1  2 ");
  char c[5] = ",,,,";
  convCommas(c, 5);
  EXPECT_STREQ(c, "    ");
}

TEST(StrTools, GetNextTakesFieldsUpToTheDelimiter) {
  char src[40] = "  IBM  12.5";
  char f[20];
  EXPECT_TRUE(getnext(f, src, "  ", 20, 40));
  EXPECT_STREQ(f, "IBM");
  EXPECT_STREQ(src, "12.5");
  EXPECT_FALSE(getnext(f, src, "  ", 20, 40));
  EXPECT_STREQ(f, "12.5");
  EXPECT_STREQ(src, "");

  // p beyond dmax: the field keeps dmax-1 characters and the rest of it stays in src.
  char s2[40] = "ABCDEFGH  rest";
  EXPECT_TRUE(getnext(f, s2, "  ", 4, 40));
  EXPECT_STREQ(f, "ABC");
  EXPECT_STREQ(s2, "GH  rest");

  char s3[10] = "abc";
  EXPECT_TRUE(getnext(f, s3, "", 20, 10));  // an empty delimiter gives an empty field
  EXPECT_STREQ(f, "");
  EXPECT_STREQ(s3, "abc");

  char s4[40] = "  a b  c";
  EXPECT_TRUE(getnextnd(f, s4, "  ", 20, 40));
  EXPECT_STREQ(f, "a b");
  EXPECT_STREQ(s4, "  a b  c");  // never changed
  std::string longSrc(300, 'x');
  EXPECT_FALSE(getnextnd(f, longSrc.c_str(), "  ", 20, 181));
  EXPECT_EQ(std::string(f), std::string(19, 'x'));
}

TEST(StrTools, GetBetween) {
  char src[40] = "<b>High</b> 14";
  char f[20] = "old";
  EXPECT_TRUE(getbetween(f, src, "<b>", "</b>", 20, 40));
  EXPECT_STREQ(f, "High");
  EXPECT_STREQ(src, " 14");
  std::strcpy(f, "old");
  EXPECT_FALSE(getbetween(f, src, "<i>", "</i>", 20, 40));
  EXPECT_STREQ(f, "old");
  char s2[40] = "x<b>tail";
  EXPECT_FALSE(getbetween(f, s2, "<b>", "</b>", 20, 40));
  EXPECT_STREQ(f, "tail");
  EXPECT_STREQ(s2, "");
}

// Random bytes and capacities: nothing may read or write out of bounds (run under ASan).
TEST(StrTools, AnyInputStaysInBounds) {
  unsigned seed = 12345;
  auto rnd = [&] { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7FFF; };
  const char alphabet[] = " \t,<>/ab&;\xC2\xA0" "12";
  for (int round = 0; round < 2000; ++round) {
    int cap = 1 + static_cast<int>(rnd() % 40);
    std::string text;
    int n = static_cast<int>(rnd() % static_cast<unsigned>(cap));
    for (int i = 0; i < n; ++i) text += alphabet[rnd() % (sizeof alphabet - 1)];
    std::string buf = text;
    buf.resize(static_cast<std::size_t>(cap), '\0');
    std::string dst(static_cast<std::size_t>(1 + rnd() % 20), '\0');
    int dmax = static_cast<int>(dst.size());
    switch (round % 7) {
      case 0: getnext(dst.data(), buf.data(), "  ", dmax, cap); break;
      case 1: getbetween(dst.data(), buf.data(), "<", ">", dmax, cap); break;
      case 2: convCommas(buf.data(), cap); break;
      case 3: remAllWS(buf.data(), cap); break;
      case 4: strdel(buf.data(), static_cast<int>(rnd() % 50), static_cast<int>(rnd() % 50), cap); break;
      case 5: strinsstr(buf.data(), "xyz", static_cast<int>(rnd() % 50), cap); break;
      case 6: strcatis(buf.data(), "0123456789", static_cast<int>(rnd() % 12), static_cast<int>(rnd() % 12), cap); break;
    }
    ASSERT_LT(std::strlen(buf.c_str()), static_cast<std::size_t>(cap));
    ASSERT_LT(std::strlen(dst.c_str()), dst.size());
  }
}

// Deleting every key must end even when the text cannot shrink (a text longer than the
// capacity given, or a capacity of 0): the loop stops instead of finding the key again.
TEST(StrTools, DeleteAllNeverLoops) {
  struct Case {
    const char* text;
    const char* key;
    int max;
    int expected;
  } cases[] = {
      {"aaaaaaaaaa", "a", 5, 1}, {"xax", "a", 0, 1}, {"abab", "ab", 10, 2}, {"aaa", "aa", 10, 1},
  };
  for (const auto& c : cases) {
    char s[40];
    std::strcpy(s, c.text);
    EXPECT_EQ(strposdelall(s, c.key, c.max), c.expected) << c.text;
    EXPECT_LT(std::strlen(s), sizeof s);
  }
}

TEST(StrTools, SubstituteAnEmptyOldTextInsertsAtTheStart) {
  char s[10] = "bc";
  EXPECT_EQ(strsubstr(s, "", "a", 10), 0);  // an empty key is found at 0
  EXPECT_STREQ(s, "abc");
  char e[10] = "";
  EXPECT_EQ(strsubstr(e, "", "a", 10), -1);  // nothing is found in an empty text
  EXPECT_STREQ(e, "");
}
