// The bounded string toolkit: every text of the program lives in a fixed-capacity,
// zero-terminated buffer, and these routines never write past the capacity `max`
// (terminator included) nor read past a terminator, whatever the input. The page parser
// feeds them internet text, so their results at the edges decide what the parsers accept.
#pragma once

namespace quova {

// Copy and concatenate (s = destination, src = source).
void strcpy(char* s, const char* src, int max);
void strcpym(char* s, const char* src, int n, int max);
void strcpyi(char* s, const char* src, int n, int max);
void strcpyis(char* s, const char* src, int start, int n, int max);
void strcat(char* s, const char* src, int max);
void strcatm(char* s, const char* src, int n, int max);
void strcatis(char* s, const char* src, int start, int n, int max);

// Search: position of the match, -1 when none, -2 when an argument is missing.
int strpos(const char* s, const char* key, bool caseSensitive);
int strposst(const char* s, const char* key, int start);
int pos(const char* s, char c);
int find(const char* s, const char* key);  // 0 both for "not found" and for position 0
int posnextchar(const char* s);
bool IsNumeric(const char* s);  // digits . + - / only; "" is numeric

// Edit in place.
void strdel(char* s, int start, int count, int max);
bool strins(char* s, char c, int at, int max);
bool strinsstr(char* s, const char* ins, int at, int max);
bool strsub(char* s, char c1, char c2);
int strsubstr(char* s, const char* oldText, const char* newText, int max);
int strposdel(char* s, const char* key, int max);
int strposdelupto(char* s, const char* key, int max);
int strposdelall(char* s, const char* key, int max);
void strtolower(char* s);
void strtoupper(char* s);
void remleadWS(char* s, int max);
void remtrailWS(char* s);
void remAllWS(char* s, int max);
void convCharToSpaces(char* s, int max, char c);
void convTabs(char* s, int max);
void convCommas(char* s, int max);

// Field extraction (dst = field out, src = the text being consumed).
bool getnext(char* dst, char* src, const char* delim, int dmax, int smax);
bool getnextnd(char* dst, const char* src, const char* delim, int dmax, int smax);
bool getbetween(char* dst, char* src, const char* startKey, const char* endKey, int dmax, int smax);

}  // namespace quova
