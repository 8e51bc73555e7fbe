// The string toolkit: bounded copies, searches, in-place edits and field extraction on
// zero-terminated char buffers. Reads never go past a string's terminator or a stated
// capacity; writes never reach position max or beyond.
#include "util/strtools.h"

#include <cstring>

#include "app/host.h"
#include "app/log.h"

namespace quova {
namespace {

// The warning for a missing argument: a beep and a stop box.
void warn(const char* text, const char* caption) {
  host().beep();
  LogBox(text, caption, mb::OK | mb::ICONSTOP);
}

// Length of s, looking at no more than max characters.
int boundedLen(const char* s, int max) { return max <= 0 ? 0 : static_cast<int>(::strnlen(s, static_cast<std::size_t>(max))); }

int len(const char* s) { return static_cast<int>(std::strlen(s)); }

char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Position of key in the first n characters of s (-1 when none). An empty key is found
// at 0 when n > 0.
int searchIn(const char* s, int n, const char* key, int klen, bool caseSensitive) {
  if (n <= 0) return -1;
  if (klen == 0) return 0;
  for (int i = 0; i + klen <= n; ++i) {
    int j = 0;
    if (caseSensitive) {
      while (j < klen && s[i + j] == key[j]) ++j;
    } else {
      while (j < klen && upper(s[i + j]) == upper(key[j])) ++j;
    }
    if (j == klen) return i;
  }
  return -1;
}

// Copies count characters of from to s (count already bounded by the caller) and
// terminates; the areas may overlap.
void put(char* s, const char* from, int count) {
  if (count > 0) std::memmove(s, from, static_cast<std::size_t>(count));
  s[count < 0 ? 0 : count] = '\0';
}

// Appends up to n characters of from (stopping at its end) while len(s) < max - 1.
void append(char* s, const char* from, int n, int max) {
  if (max <= 0) return;
  int have = boundedLen(s, max);
  if (have >= max - 1) return;  // full, or not terminated within max: leave as it is
  int room = max - 1 - have;
  int take = n < room ? n : room;
  if (take <= 0) return;
  take = boundedLen(from, take);
  std::memmove(s + have, from, static_cast<std::size_t>(take));
  s[have + take] = '\0';
}

int minOf(int a, int b) { return a < b ? a : b; }

}  // namespace

// ---- copy and concatenate ----

void strcpy(char* s, const char* src, int max) {
  if (!s) {
    warn("Destination string = NULL!!!", "strcpy Warning Message");
    return;
  }
  if (max <= 0) return;
  if (!src) {
    s[0] = '\0';
    return;
  }
  put(s, src, boundedLen(src, max - 1));
}

void strcpym(char* s, const char* src, int n, int max) {
  if (!s) {
    warn("dest string = NULL!!!", "strcpym Warning Message");
    return;
  }
  if (max <= 0) return;
  if (!src) {
    s[0] = '\0';
    warn("source string = NULL!!!", "strcpym Warning Message");
    return;
  }
  int take = minOf(n, max - 1);
  put(s, src, take <= 0 ? 0 : boundedLen(src, take));
}

void strcpyi(char* s, const char* src, int n, int max) {
  if (!s || max <= 0) return;
  if (!src) {
    s[0] = '\0';
    return;
  }
  int take = minOf(n, max - 1);
  put(s, src, take <= 0 ? 0 : boundedLen(src, take));
}

void strcpyis(char* s, const char* src, int start, int n, int max) {
  if (!s || max <= 0) return;
  if (!src || start < 0 || start > len(src)) {
    s[0] = '\0';
    return;
  }
  strcpyi(s, src + start, n, max);
}

void strcat(char* s, const char* src, int max) {
  if (!s) {
    warn("dest string = NULL!!!", "strcat Warning Message");
    return;
  }
  if (!src) {
    warn("source string = NULL!!!", "strcat Warning Message");
    return;
  }
  append(s, src, max, max);
}

void strcatm(char* s, const char* src, int n, int max) {
  if (!s) {
    warn("dest string = NULL!!!", "strcatm Warning Message");
    return;
  }
  if (!src) {
    warn("source string = NULL!!!", "strcatm Warning Message");
    return;
  }
  append(s, src, minOf(n, max - 1), max);
}

void strcatis(char* s, const char* src, int start, int n, int max) {
  if (!s) {
    warn("dest string = NULL!!!", "strcatis Warning Message");
    return;
  }
  if (!src) {
    warn("source string = NULL!!!", "strcatis Warning Message");
    return;
  }
  if (start < 0 || start > len(src)) return;
  append(s, src + start, minOf(n, max - 1), max);
}

// ---- search ----

int strpos(const char* s, const char* key, bool caseSensitive) {
  if (!s) {
    warn("str string = NULL!!!", "strpos Warning Message");
    return -2;
  }
  if (!key) {
    warn("key string = NULL!!!", "strpos Warning Message");
    return -2;
  }
  return searchIn(s, len(s), key, len(key), caseSensitive);
}

int strposst(const char* s, const char* key, int start) {
  if (!s || !key) return -2;
  int n = len(s), klen = len(key);
  if (start < 0) start = 0;
  if (start > n + klen) return -2;
  if (start >= n) return -1;
  int p = searchIn(s + start, n - start, key, klen, true);
  return p < 0 ? -1 : start + p;
}

int pos(const char* s, char c) {
  if (!s || c == '\0') return -1;
  for (int i = 0; s[i]; ++i)
    if (s[i] == c) return i;
  return -1;
}

int find(const char* s, const char* key) {
  if (!s || !key || key[0] == '\0') return 0;
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

// ---- edit in place ----

void strdel(char* s, int start, int count, int max) {
  if (!s || start < 0 || count < 0) return;
  int n = len(s);
  if (start + count > n || count == 0) return;
  // The tail with its terminator moves left; only positions below max are written.
  int moved = n - start - count + 1;
  int room = max - start;
  if (room <= 0) return;
  std::memmove(s + start, s + start + count, static_cast<std::size_t>(minOf(moved, room)));
}

bool strins(char* s, char c, int at, int max) {
  if (!s || max <= 0) return false;
  int n = boundedLen(s, max);
  if (at < 0 || at > n || at > max - 1 || n + 1 > max - 1) return false;
  std::memmove(s + at + 1, s + at, static_cast<std::size_t>(n - at + 1));
  s[at] = c;
  return true;
}

bool strinsstr(char* s, const char* ins, int at, int max) {
  if (!s || !ins || max <= 0) return false;
  int n = boundedLen(s, max);
  int k = len(ins);
  if (at < 0 || at > n || n + k > max - 1) return false;
  std::memmove(s + at + k, s + at, static_cast<std::size_t>(n - at + 1));
  std::memcpy(s + at, ins, static_cast<std::size_t>(k));
  return true;
}

bool strsub(char* s, char c1, char c2) {
  if (!s || c1 == '\0') return false;
  bool any = false;
  for (; *s; ++s)
    if (*s == c1) {
      *s = c2;
      any = true;
    }
  return any;
}

int strsubstr(char* s, const char* oldText, const char* newText, int max) {
  int p = strpos(s, oldText, true);
  if (p < 0) return -1;
  strdel(s, p, len(oldText), max);
  if (newText) strinsstr(s, newText, p, max);
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
  int p = searchIn(s, len(s), key, len(key), true);
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
  int k = len(key);
  int p = searchIn(s, len(s), key, k, true);
  if (p < 0) return -1;
  strdel(s, 0, p + k, max);
  return p + k;
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
  int k = len(key);
  if (k == 0) return 0;
  int count = 0;
  for (;;) {
    int before = len(s);
    int p = searchIn(s, before, key, k, true);
    if (p < 0) break;
    strdel(s, p, k, max);
    ++count;
    if (len(s) >= before) break;  // nothing moved (text beyond max): stop rather than loop
  }
  return count;
}

void strtolower(char* s) {
  if (!s) return;
  for (; *s; ++s)
    if (*s >= 'A' && *s <= 'Z') *s = static_cast<char>(*s - 'A' + 'a');
}

void strtoupper(char* s) {
  if (!s) return;
  for (; *s; ++s) *s = upper(*s);
}

void remleadWS(char* s, int max) {
  if (!s) return;
  int i = 0;
  while (s[i] == ' ') ++i;
  strdel(s, 0, i, max);
}

void remtrailWS(char* s) {
  if (!s) return;
  int n = len(s);
  while (n > 0 && s[n - 1] == ' ') --n;
  s[n] = '\0';
}

void remAllWS(char* s, int max) {
  if (!s) return;
  remleadWS(s, max);
  remtrailWS(s);
  auto* u = reinterpret_cast<unsigned char*>(s);
  int out = 0;
  for (int i = 0; u[i]; ++i) {
    if (u[i] == ' ' || u[i] == 0xA0) continue;
    if (u[i] == 0xC2 && u[i + 1] == 0xA0) {
      ++i;
      continue;
    }
    u[out++] = u[i];
  }
  u[out] = '\0';
}

void convCharToSpaces(char* s, int max, char c) {
  if (!s || max <= 0) return;
  int n = boundedLen(s, max);
  if (c == '\0') {
    if (n >= max) s[max - 1] = '\0';
    return;
  }
  // Forward: how many input characters produce the first max - 1 output characters.
  const int limit = max - 1;
  int produced = 0, used = 0;
  while (used < n && produced < limit) {
    produced += s[used] == c ? 2 : 1;
    ++used;
  }
  int outLen = minOf(produced, limit);
  // Backward, in place: every output position lies at or after its input position.
  int o = produced;
  for (int i = used - 1; i >= 0; --i) {
    if (s[i] == c) {
      o -= 2;
      if (o + 1 < outLen) s[o + 1] = ' ';
      s[o] = ' ';
    } else {
      s[--o] = s[i];
    }
  }
  s[outLen] = '\0';
}

void convTabs(char* s, int max) { convCharToSpaces(s, max, '\t'); }
void convCommas(char* s, int max) { convCharToSpaces(s, max, ','); }

// ---- field extraction ----

bool getnext(char* dst, char* src, const char* delim, int dmax, int smax) {
  if (!dst || !src) return false;
  remleadWS(src, smax);
  int p = strpos(src, delim, true);
  if (p < 0) {
    if (dmax > 0) put(dst, src, minOf(len(src), dmax - 1));
    src[0] = '\0';
    return false;
  }
  int n = minOf(p, minOf(smax, dmax));
  if (n < 0) n = 0;
  if (dmax > 0) put(dst, src, minOf(n, dmax - 1));
  strdel(src, 0, n, smax);
  strdel(src, 0, len(delim), smax);
  return true;
}

bool getnextnd(char* dst, const char* src, const char* delim, int dmax, int smax) {
  if (!dst || !src) return false;
  // The view getnext would work on: src cut to smax - 1, without its leading blanks.
  int n = boundedLen(src, smax - 1);
  int lead = 0;
  while (lead < n && src[lead] == ' ') ++lead;
  const char* text = src + lead;
  int tlen = n - lead;
  if (!delim) {
    strpos(text, delim, true);  // the missing-key warning
    if (dmax > 0) put(dst, text, minOf(tlen, dmax - 1));
    return false;
  }
  int p = searchIn(text, tlen, delim, len(delim), true);
  if (p < 0) {
    if (dmax > 0) put(dst, text, minOf(tlen, dmax - 1));
    return false;
  }
  int take = minOf(p, minOf(smax, dmax));
  if (take < 0) take = 0;
  if (dmax > 0) put(dst, text, minOf(take, dmax - 1));
  return true;
}

bool getbetween(char* dst, char* src, const char* startKey, const char* endKey, int dmax, int smax) {
  if (!dst || !src) return false;
  remleadWS(src, smax);
  int q = strposdelupto(src, startKey, smax);
  if (q < 0) return false;
  return getnext(dst, src, endKey, dmax, smax - q);
}

}  // namespace quova
