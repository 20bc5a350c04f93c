// The pieces of a conversation journal that follow fixed rules: the folder
// name a room or nick becomes, the file name of a day, and the lines.
#pragma once

#include <stddef.h>

#include "base/codepage.h"
#include "session/host.h"
#include "session/protocol.h"

enum {
    kJournalNameUnits = 64,  // a folder name is cut to this many characters
    // A formatted line in program text, with its NUL: the longest received
    // line (in UTF-8) with the time and the line's form around it, with room
    // to spare.
    kJournalLineCap = 2 * kDecodedLineCap,
};

// Local date and time, as the journals write them.
struct JournalClock {
    int year, month, day, hour, minute, second;
};

// Makes a room or nick (n UTF-16 units) one folder name inside its parent,
// never a path outside it: the characters a file name cannot hold
// (\ / : * ? " < > | and control characters) become "_", the name is cut to
// 64 characters, trailing dots and blanks go, an empty result becomes "_",
// and a reserved device name (CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to
// LPT9, with or without an extension, in any letter case) gets "_" in front.
// Writes a terminated name into out (cap > 64); returns its length.
size_t cleanJournalName(const Utf16Unit* name, size_t n, Utf16Unit* out, size_t cap);

// "%04d-%02d-%02d.txt" with the local date.
void formatJournalFileName(const JournalClock& t, char* out, size_t cap);

// One line in program text, "[hh:mm:ss] " with the local time in front and
// no line end; control characters inside become blanks, so a line stays one
// line. Returns the length.
size_t formatJournalLine(JournalLineKind kind, const JournalClock& t, const char* who, const char* text, char* out,
                         size_t cap);

// The line that opens a file's lines of a run:
// "—— 2026-12-07 19:32:05, <room or "приват с nick">, сервер host:port, ник own ——".
size_t formatJournalHeader(const JournalClock& t, bool isPrivate, const char* name, const char* host, int port,
                           const char* ownNick, char* out, size_t cap);
