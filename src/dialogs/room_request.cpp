#include "dialogs/room_request.h"

#include "base/bounded.h"
#include "session/connection.h"
#include "session/host.h"
#include "session/session_state.h"

RoomRequestResult requestRoom(char* name, char* description)
{
    flattenText(name);
    flattenText(description);
    trimTypedText(name);
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
