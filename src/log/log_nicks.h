// The nick under a point of the chat log, found in the text of the line
// under it: the text between the nearest "<" before the point and the
// nearest ">" after it.
#pragma once

#include <stddef.h>

enum {
    kLogLineChars = 2047,                   // characters of a log line searched for a nick
    kLogLineBytes = 3 * kLogLineChars + 1,  // the same in UTF-8, with the NUL
    kLogNickChars = 63,                     // longest nick between the brackets
    kLogNickBytes = 3 * kLogNickChars + 1,
};

// Finds the nick around byte p of line (length bytes, no NUL needed). Searching back from p, p included, the nearest bracket must be
// "<"; searching forward from p, p included, the nearest bracket before the
// end must be ">"; the text strictly between them, 1 to 63 characters and
// no NUL, is the nick. So a point on either bracket, or outside every pair, finds
// none. On success the nick is copied into nick (cut to cap) and true is
// returned; otherwise nick is emptied.
bool nickInLine(const char* line, size_t length, size_t p, char* nick, size_t cap);
