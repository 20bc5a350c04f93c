#include "input/input_completion.h"

#include <string.h>

#include "base/text_fold.h"
#include "base/utf8.h"

namespace {

// The commands of the help text in its order, then help; the short aliases
// (msg, w, j, s) are not offered.
const char* const kCommandWords[] = {
    "pm", "me", "join", "create", "status", "topic", "ignore", "kick", "ban", "unban", "rooms", "clear", "help",
};
const int kCommandCount = (int)(sizeof kCommandWords / sizeof kCommandWords[0]);

// The matches of a word, in the order Tab offers them.
struct Matches {
    const char* items[kMaxUsers + 1];
    int count;
    bool commands;
};

void findMatches(const char* word, bool command, const CompletionNicks& nicks, Matches* m)
{
    m->count = 0;
    m->commands = command;
    if (command) {
        for (int i = 0; i < kCommandCount; i++)
            if (startsWithText(kCommandWords[i], word + 1))
                m->items[m->count++] = kCommandWords[i];
        return;
    }
    const char* own = nullptr;
    for (int i = 0; i < nicks.count && i < kMaxUsers; i++) {
        const char* nick = nicks.users[i].nick.s;
        if (!*nick || !startsWithText(nick, word))
            continue;
        if (!own && nicks.ownNick && sameText(nick, nicks.ownNick))
            own = nick;
        else
            m->items[m->count++] = nick;
    }
    if (own)
        m->items[m->count++] = own;
}

// The text that stands for match i at wordStart.
void formatMatch(const Matches& m, int i, size_t wordStart, CompletionEdit* edit)
{
    if (m.commands)
        formatText(edit->insert.s, sizeof edit->insert.s, "/%s ", m.items[i]);
    else
        formatText(edit->insert.s, sizeof edit->insert.s, wordStart == 0 ? "%s, " : "%s ", m.items[i]);
}

} // namespace

CompletionNicks roomNicks() { return {session.users, session.userCount, session.ownNick.s}; }

void endCompletion(CompletionCycle& cycle) { cycle.active = false; }

bool completeWord(CompletionCycle& cycle, const char* line, size_t caret, bool backwards,
                  const CompletionNicks& nicks, CompletionEdit* edit)
{
    size_t length = boundedLength(line, kCompletionLineCap);
    if (caret > length || length >= kCompletionLineCap)
        return false;
    bool going = cycle.active && caret == cycle.caret && strcmp(line, cycle.line) == 0;
    if (!going) {
        endCompletion(cycle);
        size_t start = caret;
        while (start > 0 && line[start - 1] != ' ')
            start--;
        if (start == caret || utf8UnitCount(line + start, caret - start) >= kCompletionWordCap)
            return false;  // an empty word, or longer than any nick
        cycle.wordStart = start;
        cycle.word.setN(line + start, caret - start);
        cycle.index = backwards ? 0 : -1;  // the step below lands on the last or the first
    }

    Matches matches;
    bool command = cycle.wordStart == 0 && line[0] == '/';
    findMatches(cycle.word.s, command, nicks, &matches);
    if (matches.count == 0)
        return false;

    size_t kept = utf8UnitCount(line, length) - utf8UnitCount(line + cycle.wordStart, caret - cycle.wordStart);
    int step = backwards ? -1 : 1;
    int i = cycle.index;
    for (int tried = 0; tried < matches.count; tried++) {
        i = ((i + step) % matches.count + matches.count) % matches.count;
        formatMatch(matches, i, cycle.wordStart, edit);
        size_t added = edit->insert.length();
        if (kept + utf8UnitCount(edit->insert.s, added) > kCompletionMaxLine)
            continue;
        edit->start = cycle.wordStart;
        edit->end = caret;
        // The line as it will be, to recognise it at the next Tab.
        char next[kCompletionLineCap];
        copyTextN(next, sizeof next, line, cycle.wordStart);
        appendText(next, sizeof next, edit->insert.s);
        appendText(next, sizeof next, line + caret);
        copyText(cycle.line, sizeof cycle.line, next);
        cycle.caret = cycle.wordStart + added;
        cycle.index = i;
        cycle.active = true;
        return true;
    }
    return false;
}
