#include "session/commands.h"

#include <string.h>

#include "base/codepage.h"
#include "base/text_fold.h"
#include "session/connection.h"
#include "session/held_lines.h"
#include "session/host.h"
#include "session/session_state.h"

namespace {

const char kHelpText[] =
    "Команды: /pm ник текст, /me текст, /join комната, /create комната, /status текст, /topic текст, "
    "/ignore ник, /kick ник причина, /ban ник минуты, /unban ник, /rooms, /clear";

// An argument of the form "nick rest", split in place at its first blank.
struct NickAndRest {
    const char* nick;
    const char* rest;  // null when the argument has no blank
};

NickAndRest splitNick(char* arg)
{
    char* blank = strchr(arg, ' ');
    if (!blank)
        return {arg, nullptr};
    *blank = '\0';
    return {arg, blank + 1};
}

enum Outcome { Done, KeepText };

Outcome usageError()
{
    logError("Использование: /pm ник текст");
    return KeepText;
}

Outcome cmdPm(char* arg)
{
    NickAndRest a = splitNick(arg);
    if (!a.rest)
        return usageError();
    sendFormatted("PM %s\t%s", a.nick, a.rest);
    return Done;
}

Outcome cmdMe(char* arg) { sendFormatted("ME %s", arg); return Done; }
Outcome cmdJoin(char* arg) { sendFormatted("JOIN %s", arg); return Done; }
Outcome cmdCreate(char* arg) { sendFormatted("CREATE %s\t", arg); return Done; }
Outcome cmdStatus(char* arg) { sendFormatted("STATUS %s", arg); return Done; }
Outcome cmdTopic(char* arg) { sendFormatted("TOPIC %s", arg); return Done; }
Outcome cmdUnban(char* arg) { sendFormatted("UNBAN %s", arg); return Done; }
Outcome cmdRooms(char*) { sendIfConnected("ROOMS"); return Done; }
Outcome cmdClear(char*) { ports.log->clearLog(); return Done; }
Outcome cmdHelp(char*) { logSystem(kHelpText); return Done; }
Outcome cmdIgnore(char* arg) { toggleIgnore(arg); return Done; }

Outcome cmdKick(char* arg)
{
    NickAndRest a = splitNick(arg);
    sendFormatted("KICK %s\t%s", a.nick, a.rest ? a.rest : "");
    return Done;
}

Outcome cmdBan(char* arg)
{
    NickAndRest a = splitNick(arg);
    sendFormatted("BAN %s\t%s\t", a.nick, a.rest ? a.rest : "0");
    return Done;
}

struct Command {
    const char* word;
    Outcome (*run)(char* argument);
};

const Command kCommands[] = {
    {"pm", cmdPm},         {"msg", cmdPm},       {"w", cmdPm},
    {"me", cmdMe},         {"join", cmdJoin},    {"j", cmdJoin},
    {"create", cmdCreate}, {"status", cmdStatus}, {"s", cmdStatus},
    {"topic", cmdTopic},   {"kick", cmdKick},    {"ban", cmdBan},
    {"unban", cmdUnban},   {"ignore", cmdIgnore}, {"clear", cmdClear},
    {"rooms", cmdRooms},   {"help", cmdHelp},
};

bool asciiEqualNoCase(const char* a, const char* b)
{
    for (;; a++, b++) {
        char x = (*a >= 'A' && *a <= 'Z') ? (char)(*a + 32) : *a;
        char y = (*b >= 'A' && *b <= 'Z') ? (char)(*b + 32) : *b;
        if (x != y)
            return false;
        if (!x)
            return true;
    }
}

Outcome runCommand(char* text)
{
    char* word = text + 1;
    char* blank = strchr(word, ' ');
    char* arg;
    if (blank) {
        *blank = '\0';
        arg = blank + 1;
    } else {
        arg = word + strlen(word);
    }
    for (const Command& c : kCommands) {
        if (asciiEqualNoCase(word, c.word)) {
            // A private message needs at least a blank after the word.
            if (c.run == cmdPm && !blank)
                return usageError();
            return c.run(arg);
        }
    }
    logError("Неизвестная команда. /help — список.");
    return Done;
}

} // namespace

void submitInputLine()
{
    char buffer[kInputLineBytes];
    ports.views->readInput(buffer, sizeof buffer);
    flattenText(buffer);
    char* text = buffer;
    while (*text == ' ')
        text++;
    size_t len = strlen(text);
    while (len > 0 && text[len - 1] == ' ')
        text[--len] = '\0';
    if (len == 0)
        return;

    if (holdTypedLine(text))
        return;
    if (session.connected == 0 || session.welcomed == 0) {
        logError("Вы не подключены. Нажмите F2.");
        return;
    }
    if (text[0] != '/') {
        sendFormatted("MSG %s", text);
        ports.views->clearInput();
        return;
    }
    if (runCommand(text) == Done)
        ports.views->clearInput();
}

void toggleIgnore(const char* nick)
{
    if (!nick || !*nick || sameText(nick, session.ownNick.s))
        return;
    int i = findIgnored(session, nick);
    if (i >= 0) {
        removeIgnoredAt(session, i);
        logSystemF("Игнор с %s снят", nick);
    } else {
        if (!addIgnored(session, nick))
            return;
        logSystemF("%s в игноре", nick);
    }
    ports.views->usersChanged();
    ports.host->saveSettings();
}
