// Tab completion in the input line: the word that ends at the caret becomes
// a command word ("/ignore ") or a nick of the room ("Ник, " at the line
// start, "Ник " elsewhere); Tab again steps to the next match, Shift+Tab to
// the one before, wrapping round.
#pragma once

#include <stddef.h>

#include "base/bounded.h"
#include "session/commands.h"
#include "session/session_state.h"

enum {
    kCompletionLineCap = kInputLineBytes,     // bytes of the line a completion works on, with its NUL
    kCompletionMaxLine = kInputLineChars,     // a completion never makes the line longer (characters)
    kCompletionWordCap = 64,                  // no word longer than a nick completes (characters)
};

// The completion in progress. It goes on while the line and the caret stay
// as the last completion left them and nothing ended it.
struct CompletionCycle {
    bool active;
    int index;                      // the match now in the line
    size_t wordStart;               // where the completed word begins
    Text<kCompletionWordCap> word;  // the word as typed, before the first Tab
    size_t caret;                   // where the last completion left the caret
    char line[kCompletionLineCap];  // the line as the last completion left it
};

// What to do to the line: replace the bytes from start up to end (the caret)
// by insert and put the caret after it. Positions here are byte offsets into
// the line's text; the window side turns them into its characters.
struct CompletionEdit {
    size_t start;
    size_t end;
    Text<kCompletionWordCap + 8> insert;
};

// The people of the current room in the order the list shows them, and the
// user's own nick, which comes last among the matches.
struct CompletionNicks {
    const UserEntry* users;
    int count;
    const char* ownNick;
};

// The session's people list and own nick.
CompletionNicks roomNicks();

// Tab (backwards: Shift+Tab) with the caret at byte `caret` of `line`. Fills edit
// and returns true when the line changes; the cycle then expects the edited
// line next. False, with nothing to do, for an empty word, no match, or when
// every match would make the line longer than kCompletionMaxLine.
bool completeWord(CompletionCycle& cycle, const char* line, size_t caret, bool backwards,
                  const CompletionNicks& nicks, CompletionEdit* edit);

// A key, a click or a change of the text from elsewhere: the next Tab
// completes the word then before the caret.
void endCompletion(CompletionCycle& cycle);
