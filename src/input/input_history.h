// The input line's history: the texts Enter (or the send button) took out of
// the line, recalled with Up and Down. It lives in memory only and is never
// written anywhere, since a command may hold a password.
#pragma once

#include "base/bounded.h"
#include "session/commands.h"

enum {
    kHistoryEntries = 100,                    // the oldest entry goes when a 101st comes
    kHistoryTextCap = kInputLineChars + 1,    // characters of one entry, with its NUL
};

struct InputHistory {
    Text<kHistoryTextCap> entries[kHistoryEntries];  // a ring, oldest at `oldest`
    int oldest;
    int count;
    // How far back the line is: 0 while no entry is recalled (the line holds
    // what is being typed), k while the k-th newest entry is in the line.
    int back;
    // What was in the line before the first Up, given back by Down past the
    // newest entry.
    Text<kHistoryTextCap> draft;
};

extern InputHistory inputHistory;

// Appends a text taken out of the line, as it stood there: empty texts and a
// text equal to the newest entry are not stored. Any recall ends.
void rememberInput(InputHistory& history, const char* text);

// Up: the entry before the one in the line (the newest when none is
// recalled, keeping `current` as the draft). Null when nothing changes: the
// history is empty or the oldest entry is in the line already.
const char* recallOlder(InputHistory& history, const char* current);

// Down: the entry after the one in the line, or the draft past the newest.
// Null when no entry is recalled.
const char* recallNewer(InputHistory& history);

// Enter and the send button: submits the input line (submitInputLine) and,
// when that took the text out of the line, remembers the text as it stood.
void submitAndRemember();
