// The string toolkit: bounded routines on zero-terminated char buffers.
//
// Every routine that writes takes the capacity `max` of the buffer it writes (terminator
// included): it stores at most max - 1 characters and always the terminator. Positions are
// zero-based ints; searches give -1 for "not found" and -2 for a missing (null) argument.
// White space means the blank (32) only. The parsers of quote pages, quote formats, quote
// lists and configuration files are built from these, so their edges are deliberate:
// callers rely on them exactly as documented here.
#pragma once

#include <string_view>

namespace quova {

// ---- copy and concatenate (s = destination, src = source) ----

// s = src cut to max - 1 characters; a null src gives "" silently.
void strcpy(char* s, const char* src, int max);
// s = the first min(n, max - 1) characters of src; a null src gives "" and a warning.
void strcpym(char* s, const char* src, int n, int max);
// s = the first n characters of src, cut to max - 1; a null src gives "" silently.
void strcpyi(char* s, const char* src, int n, int max);
// s = src[start .. start+n-1], stopping at src's end, cut to max - 1; a start beyond
// src's end (or negative) gives "".
void strcpyis(char* s, const char* src, int start, int n, int max);
// Appends src while len(s) < max - 1.
void strcat(char* s, const char* src, int max);
// Appends at most n characters of src (n first reduced to max - 1) while len(s) < max - 1.
void strcatm(char* s, const char* src, int n, int max);
// Appends src[start .. start+n-1] (n first reduced to max - 1), stopping at src's end,
// while len(s) < max - 1; a start beyond src's end appends nothing.
void strcatis(char* s, const char* src, int start, int n, int max);

// ---- search (nothing is changed) ----

// First occurrence of key in s; -1 none, -2 (and a warning) when s or key is null.
// Case-insensitive compares both sides in upper case (A-Z only). An empty key is found
// at 0 in a non-empty s and not at all (-1) in an empty s.
int strpos(const char* s, const char* key, bool caseSensitive);
// strpos (case-sensitive) from position start on; the result is a position in s.
// -1 when not found or start lies beyond the end of s; -2 when start > len(s) + len(key)
// or an argument is null.
int strposst(const char* s, const char* key, int start);
// Position of the first character c, or -1.
int pos(const char* s, char c);
// Position of the first occurrence of key's first character in s; 0 when there is none
// (so "not found" and "found at 0" look the same).
int find(const char* s, const char* key);
// Position of the first non-blank character; -1 when s is empty or all blanks.
int posnextchar(const char* s);
// True when every character is a digit, '.', '+', '-' or '/'; "" is numeric, null is not.
bool IsNumeric(const char* s);

// ---- edit in place ----

// Deletes count characters at start by moving the tail left, writing only positions
// below max (a tail that does not fit below max is moved up to position max - 1 and the
// rest stays). Unchanged when start + count > len(s) or an argument is negative.
void strdel(char* s, int start, int count, int max);
// Inserts c at position at (0 <= at <= len(s)); false and s unchanged when the result
// would exceed max - 1 characters or at is outside 0 .. len(s).
bool strins(char* s, char c, int at, int max);
// Inserts ins at position at (0 <= at <= len(s)); false and s unchanged when
// len(s) + len(ins) > max - 1 or at is outside 0 .. len(s).
bool strinsstr(char* s, const char* ins, int at, int max);
// Replaces every c1 by c2; true when at least one was replaced.
bool strsub(char* s, char c1, char c2);
// Replaces the first occurrence of oldText by newText (the old text is deleted even when
// the new one does not fit); 0 when oldText was found, -1 when not.
int strsubstr(char* s, const char* oldText, const char* newText, int max);
// Deletes the first occurrence of key; its position, -1 if none, -2 if s or key is null.
int strposdel(char* s, const char* key, int max);
// Deletes s from its start up to and including the first key; returns the position just
// after the key before the deletion, -1 if none (s unchanged), -2 if s or key is null.
int strposdelupto(char* s, const char* key, int max);
// Deletes every occurrence of key; the count deleted, -2 if s or key is null. An empty
// key deletes nothing and gives 0.
int strposdelall(char* s, const char* key, int max);
// Only the letters A-Z / a-z change.
void strtolower(char* s);
void strtoupper(char* s);
// Deletes the leading blanks.
void remleadWS(char* s, int max);
// Deletes the trailing blanks ("   " becomes "").
void remtrailWS(char* s);
// Deletes every blank and every non-breaking space (the UTF-8 pair C2 A0 as one unit,
// and a lone A0) anywhere in s.
void remAllWS(char* s, int max);
// Replaces every character c by two blanks; the result is cut to max - 1 characters.
void convCharToSpaces(char* s, int max, char c);
void convTabs(char* s, int max);    // convCharToSpaces with '\t'
void convCommas(char* s, int max);  // convCharToSpaces with ','

// ---- field extraction (dst = field out, src = the text consumed, dmax/smax = capacities) ----

// Drops src's leading blanks, then takes the field up to delim into dst and removes it
// and the delimiter from src; true when delim was found. Not found: dst = the rest
// (cut to dmax - 1), src = "", false. Found at p: n = min(p, smax, dmax) characters go
// to dst (cut to dmax - 1), then n + len(delim) characters leave the front of src; so a
// field longer than dmax or smax leaves its rest and its delimiter in src. Trailing
// blanks of a field are kept; an empty delim yields an empty field at once.
bool getnext(char* dst, char* src, const char* delim, int dmax, int smax);
// Like getnext on a copy of src's first smax - 1 characters; src itself never changes.
bool getnextnd(char* dst, const char* src, const char* delim, int dmax, int smax);
// Drops src's leading blanks, removes src up to and including startKey, then getnext with
// endKey. False, with dst untouched, when startKey is missing.
bool getbetween(char* dst, char* src, const char* startKey, const char* endKey, int dmax, int smax);

// Equal texts when the letters A-Z and a-z are compared without regard to case.
bool iequals(std::string_view a, std::string_view b);

}  // namespace quova
