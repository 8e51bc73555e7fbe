// The bounded string toolkit. Lengths are taken with strlen on the caller's terminated
// buffers; every write is checked against the capacity it was given.
#include "util/strtools.h"

#include <cstring>

#include "base/host.h"
#include "base/log.h"

namespace quova {
namespace {

int len(const char* s) { return static_cast<int>(std::strlen(s)); }

void warn(const char* text, const char* caption) {
  host().beep();
  LogBox(text, caption, mb::ICONSTOP);
}

char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Copies at most n characters of src (stopping at its terminator) into s, cut to max-1.
void copyBounded(char* s, const char* src, int n, int max) {
  if (max <= 0) return;
  if (n > max - 1) n = max - 1;
  int k = 0;
  while (k < n && src[k] != 0) ++k;
  std::memmove(s, src, static_cast<std::size_t>(k));
  s[k] = 0;
}

// Appends at most n characters of src while s is shorter than max-1.
void appendBounded(char* s, const char* src, int n, int max) {
  if (max <= 0) return;
  if (n > max - 1) n = max - 1;
  int l = len(s);
  int k = 0;
  while (k < n && src[k] != 0 && l < max - 1) s[l++] = src[k++];
  if (l < max) s[l] = 0;
}

// The search itself, without the missing-argument checks.
int search(const char* s, const char* key, bool caseSensitive) {
  int ls = len(s), lk = len(key);
  if (ls == 0) return -1;
  if (lk == 0) return 0;
  for (int i = 0; i + lk <= ls; ++i) {
    int j = 0;
    if (caseSensitive)
      while (j < lk && s[i + j] == key[j]) ++j;
    else
      while (j < lk && upper(s[i + j]) == upper(key[j])) ++j;
    if (j == lk) return i;
  }
  return -1;
}

// Takes the next field; the shared body of getnext and getbetween. n may come out
// negative when the capacity left is exhausted; no characters are then taken.
bool takeField(char* dst, char* src, const char* delim, int dmax, int smax) {
  remleadWS(src, smax);
  int p = delim ? search(src, delim, true) : -1;
  if (p < 0) {
    copyBounded(dst, src, dmax, dmax);
    src[0] = 0;
    return false;
  }
  int n = p;
  if (smax < n) n = smax;
  if (dmax < n) n = dmax;
  if (n < 0) n = 0;
  copyBounded(dst, src, n, dmax);
  strdel(src, 0, n, smax > 0 ? smax : len(src) + 1);
  strdel(src, 0, len(delim), smax > 0 ? smax : len(src) + 1);
  return true;
}

}  // namespace

void strcpy(char* s, const char* src, int max) {
  if (!s) return warn("Destination string = NULL!!!", "strcpy Warning Message");
  if (max <= 0) return;
  if (!src) {
    s[0] = 0;
    return;
  }
  copyBounded(s, src, max - 1, max);
}

void strcpym(char* s, const char* src, int n, int max) {
  if (!s) return warn("dest string = NULL!!!", "strcpym Warning Message");
  if (max <= 0) return;
  if (!src) {
    s[0] = 0;
    return warn("source string = NULL!!!", "strcpym Warning Message");
  }
  copyBounded(s, src, n < 0 ? 0 : n, max);
}

void strcpyi(char* s, const char* src, int n, int max) {
  if (!s || max <= 0) return;
  if (!src) {
    s[0] = 0;
    return;
  }
  copyBounded(s, src, n < 0 ? 0 : n, max);
}

void strcpyis(char* s, const char* src, int start, int n, int max) {
  if (!s || max <= 0) return;
  if (!src || start < 0 || start > len(src) || n < 0) {
    s[0] = 0;
    return;
  }
  copyBounded(s, src + start, n, max);
}

void strcat(char* s, const char* src, int max) {
  if (!s) return warn("dest string = NULL!!!", "strcat Warning Message");
  if (!src) return warn("source string = NULL!!!", "strcat Warning Message");
  appendBounded(s, src, max - 1, max);
}

void strcatm(char* s, const char* src, int n, int max) {
  if (!s) return warn("dest string = NULL!!!", "strcatm Warning Message");
  if (!src) return warn("source string = NULL!!!", "strcatm Warning Message");
  appendBounded(s, src, n < 0 ? 0 : n, max);
}

void strcatis(char* s, const char* src, int start, int n, int max) {
  if (!s) return warn("dest string = NULL!!!", "strcatis Warning Message");
  if (!src) return warn("source string = NULL!!!", "strcatis Warning Message");
  if (start < 0 || start > len(src) || n < 0) return;
  appendBounded(s, src + start, n, max);
}

int strpos(const char* s, const char* key, bool caseSensitive) {
  if (!s) {
    warn("str string = NULL!!!", "strpos Warning Message");
    return -2;
  }
  if (!key) {
    warn("key string = NULL!!!", "strpos Warning Message");
    return -2;
  }
  return search(s, key, caseSensitive);
}

int strposst(const char* s, const char* key, int start) {
  if (!s || !key) return -2;
  int ls = len(s), lk = len(key);
  if (start > ls + lk) return -2;
  if (start < 0) start = 0;
  if (start >= ls) return -1;
  int p = search(s + start, key, true);
  return p < 0 ? -1 : p + start;
}

int pos(const char* s, char c) {
  if (!s) return -1;
  const char* p = std::strchr(s, c);
  return (p && c != 0) ? static_cast<int>(p - s) : -1;
}

int find(const char* s, const char* key) {
  if (!s || !key || key[0] == 0) return 0;
  int p = pos(s, key[0]);
  return p < 0 ? 0 : p;
}

int posnextchar(const char* s) {
  if (!s) return -1;
  for (int i = 0; s[i]; ++i)
    if (s[i] != ' ') return i;
  return -1;
}

bool IsNumeric(const char* s) {
  if (!s) return false;
  for (; *s; ++s) {
    char c = *s;
    if (!((c >= '0' && c <= '9') || c == '.' || c == '+' || c == '-' || c == '/')) return false;
  }
  return true;
}

void strdel(char* s, int start, int count, int max) {
  if (!s || start < 0 || count < 0) return;
  int l = len(s);
  if (start + count > l) return;
  // Move the tail (with its terminator) left, never writing at or beyond max.
  for (int j = start; j < max; ++j) {
    s[j] = s[j + count];
    if (s[j] == 0) break;
  }
}

bool strins(char* s, char c, int at, int max) {
  if (!s || c == 0) return false;
  int l = len(s);
  if (at < 0 || at > max - 1 || at > l || l + 1 > max - 1) return false;
  std::memmove(s + at + 1, s + at, static_cast<std::size_t>(l - at + 1));
  s[at] = c;
  return true;
}

bool strinsstr(char* s, const char* ins, int at, int max) {
  if (!s || !ins) return false;
  int l = len(s), li = len(ins);
  if (at < 0 || at > l || l + li > max - 1) return false;
  std::memmove(s + at + li, s + at, static_cast<std::size_t>(l - at + 1));
  std::memcpy(s + at, ins, static_cast<std::size_t>(li));
  return true;
}

bool strsub(char* s, char c1, char c2) {
  if (!s || c1 == 0) return false;
  bool any = false;
  for (; *s; ++s)
    if (*s == c1) {
      *s = c2;
      any = true;
      if (c2 == 0) break;  // the string ends here now
    }
  return any;
}

int strsubstr(char* s, const char* oldText, const char* newText, int max) {
  if (!s || !oldText || !newText) return -1;
  int p = search(s, oldText, true);
  if (p < 0) return -1;
  strdel(s, p, len(oldText), max);
  strinsstr(s, newText, p, max);  // when the new text does not fit, the old one is gone all the same
  return 0;
}

int strposdel(char* s, const char* key, int max) {
  if (!s) {
    warn("str string = NULL!!!", "strposdel Warning Message");
    return -2;
  }
  if (!key) {
    warn("key string = NULL!!!", "strposdel Warning Message");
    return -2;
  }
  int p = search(s, key, true);
  if (p < 0) return -1;
  strdel(s, p, len(key), max);
  return p;
}

int strposdelupto(char* s, const char* key, int max) {
  if (!s) {
    warn("str string = NULL!!!", "strposdelupto Warning Message");
    return -2;
  }
  if (!key) {
    warn("key string = NULL!!!", "strposdelupto Warning Message");
    return -2;
  }
  int p = search(s, key, true);
  if (p < 0) return -1;
  int end = p + len(key);
  strdel(s, 0, end, max);
  return end;
}

int strposdelall(char* s, const char* key, int max) {
  if (!s) {
    warn("str string = NULL!!!", "strposdelall Warning Message");
    return -2;
  }
  if (!key) {
    warn("key string = NULL!!!", "strposdelall Warning Message");
    return -2;
  }
  if (key[0] == 0) return 0;
  int count = 0;
  for (;;) {
    int before = len(s);
    int p = search(s, key, true);
    if (p < 0) break;
    strdel(s, p, len(key), max);
    ++count;
    // A text longer than max (or a max of 0) cannot shrink: stop instead of finding the
    // same key again for ever.
    if (len(s) >= before) break;
  }
  return count;
}

void strtolower(char* s) {
  if (s)
    for (; *s; ++s) *s = lower(*s);
}

void strtoupper(char* s) {
  if (s)
    for (; *s; ++s) *s = upper(*s);
}

void remleadWS(char* s, int max) {
  if (!s) return;
  int n = 0;
  while (s[n] == ' ') ++n;
  if (n > 0) std::memmove(s, s + n, static_cast<std::size_t>(len(s + n) + 1));
}

void remtrailWS(char* s) {
  if (!s) return;
  int l = len(s);
  while (l > 0 && s[l - 1] == ' ') --l;
  s[l] = 0;
}

void remAllWS(char* s, int max) {
  if (!s) return;
  remleadWS(s, max);
  remtrailWS(s);
  // Blanks and non-breaking spaces go, the UTF-8 one (C2 A0) as one unit.
  int w = 0;
  for (int r = 0; s[r]; ++r) {
    unsigned char c = static_cast<unsigned char>(s[r]);
    if (c == ' ' || c == 0xA0) continue;
    if (c == 0xC2 && static_cast<unsigned char>(s[r + 1]) == 0xA0) {
      ++r;
      continue;
    }
    s[w++] = s[r];
  }
  s[w] = 0;
}

void convCharToSpaces(char* s, int max, char c) {
  if (!s || max <= 0 || c == 0) return;
  int l = len(s);
  // Find how much of the input the result (cut to max-1 characters) consumes.
  int limit = max - 1, produced = 0, k = 0;
  while (k < l && produced < limit) produced += (s[k++] == c) ? 2 : 1;
  int result = produced < limit ? produced : limit;
  // Fill from the back, so the expansion can be done in place.
  int w = produced - 1;
  for (int i = k - 1; i >= 0; --i) {
    char ch = s[i];
    if (ch == c) {
      if (w < result) s[w] = ' ';
      --w;
      if (w < result) s[w] = ' ';
      --w;
    } else {
      if (w < result) s[w] = ch;
      --w;
    }
  }
  s[result] = 0;
}

void convTabs(char* s, int max) { convCharToSpaces(s, max, '\t'); }
void convCommas(char* s, int max) { convCharToSpaces(s, max, ','); }

bool getnext(char* dst, char* src, const char* delim, int dmax, int smax) {
  if (!dst || !src) return false;
  return takeField(dst, src, delim, dmax, smax);
}

bool getnextnd(char* dst, const char* src, const char* delim, int dmax, int smax) {
  if (!dst || !src) return false;
  // The field is read from what a copy of smax characters would hold; src stays as it is.
  int l = len(src);
  if (smax - 1 < l) l = smax > 0 ? smax - 1 : 0;
  int start = 0;
  while (start < l && src[start] == ' ') ++start;
  const char* rest = src + start;
  int lr = l - start;
  int p = -1;
  if (delim && lr > 0) {
    int ld = len(delim);
    if (ld == 0) p = 0;
    for (int i = 0; ld > 0 && i + ld <= lr; ++i)
      if (std::memcmp(rest + i, delim, static_cast<std::size_t>(ld)) == 0) {
        p = i;
        break;
      }
  }
  if (p < 0) {
    copyBounded(dst, rest, lr < dmax ? lr : dmax, dmax);
    return false;
  }
  int n = p;
  if (smax < n) n = smax;
  if (dmax < n) n = dmax;
  copyBounded(dst, rest, n, dmax);
  return true;
}

bool getbetween(char* dst, char* src, const char* startKey, const char* endKey, int dmax, int smax) {
  if (!dst || !src) return false;
  remleadWS(src, smax);
  int q = strposdelupto(src, startKey, smax);
  if (q < 0) return false;
  return getnext(dst, src, endKey, dmax, smax - q);
}

bool iequals(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (upper(a[i]) != upper(b[i])) return false;
  return true;
}

}  // namespace quova
