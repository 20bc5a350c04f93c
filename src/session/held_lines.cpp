#include "session/held_lines.h"

#include <string.h>

#include "base/bounded.h"
#include "base/text_fold.h"
#include "session/commands.h"
#include "session/connection.h"
#include "session/host.h"
#include "session/reconnect.h"
#include "session/session_state.h"

namespace {

// A held protocol line: a typed line (the input line's text) and its
// command word.
enum { kHeldLineCap = kInputLineBytes + 8 };

// The protocol line of each held text, as sendFormatted would send it.
struct HeldLines {
    char lines[kHeldLinesMax][kHeldLineCap];
    int count;
    bool releasing;  // the room is back and timer 9 sends them
};

HeldLines held;

// The protocol line of a chat line or a private message; false for any
// other text (a "/pm" without a nick and a text among them).
bool protocolLineOf(const char* text, char* out, size_t cap)
{
    if (text[0] != '/') {
        formatText(out, cap, "MSG %s", text);
        return true;
    }
    const char* blank = strchr(text, ' ');
    if (!blank)
        return false;
    char word[8];
    size_t n = (size_t)(blank - text - 1);
    if (n >= sizeof word)
        return false;
    memcpy(word, text + 1, n);
    word[n] = '\0';
    if (!sameText(word, "pm") && !sameText(word, "msg") && !sameText(word, "w"))
        return false;
    const char* nick = blank + 1;
    const char* rest = strchr(nick, ' ');
    if (!rest)
        return false;
    formatText(out, cap, "PM %.*s\t%s", (int)(rest - nick), nick, rest + 1);
    return true;
}

bool away() { return reconnect.phase != ReconnectIdle; }

uint32_t floodIntervalMs()
{
    const char* value = getCfgValue(session, "flood_sec");
    int32_t seconds = value ? parseDecimal(value) : kHeldLineDefaultFloodS;
    if (seconds < 0)
        seconds = 0;
    if (seconds > 3600)
        seconds = 3600;
    return (uint32_t)seconds * 1000u + kHeldLineMarginMs;
}

void stopSending()
{
    held.releasing = false;
    ports.host->stopTimer(kTimerHeldLines);
}

} // namespace

bool holdTypedLine(const char* text)
{
    if (!away() && (held.count == 0 || session.welcomed != 1))
        return false;
    if (held.count >= kHeldLinesMax)
        return false;
    if (!protocolLineOf(text, held.lines[held.count], kHeldLineCap))
        return false;
    held.count++;
    ports.views->clearInput();
    if (away())
        logSystemF("Отправлю после переподключения: %s", text);
    return true;
}

void releaseHeldLines()
{
    if (held.count == 0)
        return;
    held.releasing = true;
    sendNextHeldLine();
}

void sendNextHeldLine()
{
    if (!held.releasing || held.count == 0 || session.welcomed != 1) {
        // A drop meanwhile: the rest waits for the room to be back again.
        stopSending();
        return;
    }
    sendIfConnected(held.lines[0]);
    held.count--;
    memmove(&held.lines[0], &held.lines[1], (size_t)held.count * sizeof held.lines[0]);
    if (held.count == 0)
        stopSending();
    else
        ports.host->startTimer(kTimerHeldLines, floodIntervalMs());
}

void dropHeldLines()
{
    if (held.releasing)
        stopSending();
    if (held.count == 0)
        return;
    logSystemF("Не отправлено строк: %d.", held.count);
    held.count = 0;
}

int heldLineCount() { return held.count; }
