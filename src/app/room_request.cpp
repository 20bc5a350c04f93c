#include "room_request.h"

#include <string.h>

#include "connection.h"
#include "host.h"
#include "session_state.h"

namespace {

void blankLineBreaks(char* text)
{
    for (char* c = text; *c; c++)
        if (*c == '\t' || *c == '\r' || *c == '\n')
            *c = ' ';
}

void trimSpaces(char* text)
{
    size_t start = 0;
    while (text[start] == ' ')
        start++;
    size_t len = strlen(text + start);
    memmove(text, text + start, len + 1);
    while (len > 0 && text[len - 1] == ' ')
        text[--len] = '\0';
}

} // namespace

RoomRequestResult requestRoom(char* name, char* description)
{
    blankLineBreaks(name);
    blankLineBreaks(description);
    trimSpaces(name);
    if (*name == '\0')
        return RoomNameMissing;
    // The test sendFormatted makes before it sends: without it the request
    // would vanish and the user would wait for a room that never comes.
    if (session.socket == kNoSocket || session.connected != 1) {
        logError("Вы не подключены. Нажмите F2.");
        return RoomNotConnected;
    }
    sendFormatted("CREATE %s\t%s", name, description);
    return RoomRequestSent;
}
