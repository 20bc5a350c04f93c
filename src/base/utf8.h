// The program keeps its text in UTF-8, the wire's own form; these are the
// conversions at the edges that need something else (UTF-16 for the windows
// and file names of Windows NT, a single-byte code page for Windows 95, 98
// and ME, the protocol log and the settings file) and the measures of a text
// in the units the bounds count.
//
// Text inside the program is always well-formed UTF-8: every way in (the
// wire's decoder, the windows, the settings file) repairs what it takes, so
// the functions here may assume it. Lengths count UTF-16 units, as Windows
// counts the characters of a control: a character outside the Basic
// Multilingual Plane (an emoji) is two.
#pragma once

#include <stddef.h>
#include <stdint.h>

typedef uint16_t Utf16Unit;
struct CodePage;

// The code point of the character at s (n bytes available, n > 0) and its
// length in bytes. A byte that does not begin a well-formed sequence gives
// "?" and a length of 1.
uint32_t utf8Char(const char* s, size_t n, size_t* length);

// The code point at *p of a terminated text, moving *p past it; 0, not
// moving, at the NUL. Never reads past the NUL.
uint32_t utf8Next(const char** p);

// Writes code point c (at most 0x10FFFF, not a surrogate) as 1 to 4 bytes;
// returns the count.
size_t utf8Put(uint32_t c, char* out);

// UTF-16 units of a code point: 2 outside the Basic Multilingual Plane.
inline size_t utf16Units(uint32_t c) { return c >= 0x10000 ? 2 : 1; }

// The length of the longest start of s[0, n) that ends with a whole
// character: the bytes of a sequence cut short at the end are left out.
size_t utf8Whole(const char* s, size_t n);

// UTF-16 units of the first n bytes of s (up to a NUL).
size_t utf8UnitCount(const char* s, size_t n);

// The bytes of s (up to n, or its NUL) that hold at most units UTF-16 units
// of whole characters.
size_t utf8BytesForUnits(const char* s, size_t n, size_t units);

// n bytes of UTF-8 as UTF-16 into out; stops before a character that does
// not fit in cap units (a surrogate pair is never split). Returns the units
// written, no NUL.
size_t utf8ToUtf16(const char* s, size_t n, Utf16Unit* out, size_t cap);

// n UTF-16 units as UTF-8 into out, a lone surrogate as "?". Stops before a
// character that does not fit in cap bytes. Returns the bytes written, no
// NUL; *taken (when given) receives the units converted.
size_t utf16ToUtf8(const Utf16Unit* s, size_t n, char* out, size_t cap, size_t* taken = nullptr);

// n bytes of UTF-8 in the single-byte code page cp, "?" for every character
// it lacks (never a look-alike). Returns the bytes written (at most cap), no
// NUL.
size_t utf8ToCodePage(CodePage& cp, const char* s, size_t n, char* out, size_t cap);

// n bytes of the code page cp as UTF-8, whole characters that fit in cap
// bytes. Returns the bytes written, no NUL.
size_t codePageToUtf8(CodePage& cp, const char* s, size_t n, char* out, size_t cap);

// Makes n bytes that claim to be UTF-8 well-formed in place: every byte that
// is not part of a well-formed sequence becomes "?"; a NUL stays. Returns n.
size_t repairUtf8(char* s, size_t n);
