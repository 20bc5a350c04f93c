// The request for a new room, as the create-room dialog makes it: the name
// and description cleaned for the line they travel on, the empty name
// refused, and the request sent or the user told it cannot be.
#pragma once

#include <stddef.h>

// Characters the room-name field lets the user type.
enum { kRoomNameTypingLimit = 24 };

// How much of each field is read.
enum { kRoomNameCap = 64, kRoomDescriptionCap = 128 };

enum RoomRequestResult {
    RoomRequestSent,
    RoomNameMissing,     // empty, or nothing but blanks
    RoomNotConnected,    // nothing sent; the error line is written
};

// Cleans both texts in place: every TAB, CR and LF becomes a space, so the
// line keeps its two fields; then the name loses its leading and trailing
// spaces. The description keeps its spaces. A name left empty is refused;
// otherwise "CREATE name<TAB>description" goes out while the connection is
// up, and without one the error line "Вы не подключены. Нажмите F2." tells
// the user that no room is being made.
RoomRequestResult requestRoom(char* name, char* description);
