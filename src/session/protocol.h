// ZBP/1 line codec: code-page text to UTF-8 for sending, UTF-8 to code-page
// text for receiving, trimming and splitting a line into its fields.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "base/codepage.h"

enum {
    kMaxSendChars = 4095,      // characters of one outgoing line before encoding
    kEncodeStopBytes = 8185,   // no character starts after this many bytes
    kEncodedLineCap = 8192,    // room for the encoded line and its LF
    kMaxDecodeUnits = 4095,    // UTF-16 units kept of one incoming line
    kDecodedLineCap = 8192,    // code-page bytes of one incoming line, with NUL
    kMaxFields = 8,
};

// Encodes terminated code-page text as UTF-8 into out, which holds at least
// kEncodedLineCap bytes. Writes no terminator; returns the byte count, at
// most 8,188.
size_t encodeLine(const char* text, char* out);

// Decodes n bytes of UTF-8 into at most kMaxDecodeUnits UTF-16 units.
// Lenient by design: continuation bytes are not validated, a four-byte
// sequence becomes one "?", any other byte of 0x80 or above that cannot
// start a sequence becomes "?", a sequence cut short by the end becomes one
// "?" per byte present, and a NUL (however encoded) becomes "?" so that it
// can never end the text early.
size_t decodeUtf8(const char* bytes, size_t n, Utf16Unit* out);

// decodeUtf8 followed by the conversion to the code page: writes a
// terminated line of at most kDecodedLineCap - 1 bytes into out (which holds
// kDecodedLineCap bytes). Returns its length.
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
