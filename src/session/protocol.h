// ZBP/1 line codec: the program's text (UTF-8) to a line for sending, the
// bytes of a received line to the program's text, trimming and splitting a
// line into its fields.
#pragma once

#include <stddef.h>
#include <stdint.h>

enum {
    kMaxSendChars = 4095,      // characters (UTF-16 units) of one outgoing line
    kEncodeStopBytes = 8185,   // no character starts after this many bytes
    kEncodedLineCap = 8192,    // room for the encoded line and its LF
    kMaxDecodeUnits = 4095,    // characters (UTF-16 units) kept of one incoming line
    kDecodedLineCap = 3 * kMaxDecodeUnits + 3,  // bytes of one incoming line, with NUL
    kMaxFields = 8,
};

// Copies the terminated text into out, which holds at least kEncodedLineCap
// bytes: at most 4,095 characters, and no character once more than 8,185
// bytes are written. Writes no terminator; returns the byte count, at most
// 8,189.
size_t encodeLine(const char* text, char* out);

// Decodes n received bytes into the program's text: a terminated line of
// at most 4,095 characters (UTF-16 units) in out, which holds
// kDecodedLineCap bytes. Lenient by design: continuation bytes are not
// validated (a sequence is read from the low bits of its bytes); a sequence
// that gives no character (a surrogate, a value past U+10FFFF or below
// U+10000 in four bytes) becomes one "?", as does any other byte of 0x80 or
// above that cannot start a sequence; a sequence cut short by the end
// becomes one "?" per byte present; a NUL (however encoded) becomes "?" so
// that it can never end the text early. Returns the line's length.
size_t decodeLine(const char* bytes, size_t n, char* out);

// Removes leading blanks and trailing LF, CR and blanks in place; returns the
// start of what is left. Trailing TABs stay.
char* trimLine(char* line);

// A received line cut into its command word and up to eight fields. The
// pointers point into the line given to splitLine (or at an empty string).
struct ParsedLine {
    const char* command;
    const char* field[kMaxFields];
};

// Splits a trimmed line in place: the command word runs to the first blank,
// the rest is cut at TABs into at most eight fields, the eighth keeping any
// further TABs. Missing fields are empty strings.
void splitLine(char* line, ParsedLine& out);
