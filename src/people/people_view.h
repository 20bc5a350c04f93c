// What the user list and the room box show, worked out from the session
// record: each person's icons and search text, each room's entry, and the
// whole-list rebuilds over a small list interface the Win32 side implements
// on the list box and the combo box.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "session/session_state.h"

// Images of the people image list (bitmap 11), by index. The first six
// follow the status classes.
enum PeopleImage {
    PeopleImageIgnored = 6,
    PeopleImageAdmin = 7,
    PeopleImageModerator = 8,
    PeopleImageBlank = 9,
    PeopleImageGuest = 10,
    PeopleImageNone = -1,  // no role icon
};

enum {
    kUserItemHeight = 18,     // pixels of one user-list item
    kStatusDrawChars = 60,    // characters of a status drawn in the list
    kTopicShownChars = 299,   // characters of the topic the topic line shows
    kSearchTextCap = 3 * 160,  // holds "(x) ", a role mark, nick, separator, status
    kRoomEntryCap = 3 * 96,    // holds a room name, its head count and brackets
};

// The fixed entries of the status box, in their order; the first stands for
// the empty status.
enum { kStatusChoiceCount = 6 };
extern const char* const kStatusChoices[kStatusChoiceCount];

// The status icon: ignored people get PeopleImageIgnored whatever their
// status, everyone else the icon of classifyStatus.
int userStatusImage(const SessionState& s, const UserEntry& u);

// The role icon of an exact role word; PeopleImageNone for ordinary users.
int userRoleImage(const char* role);

// The item string of a person: "(x) " when ignored, "@" for "admin" or "+"
// for "mod", the nick, and "  — " with the status when there is one.
// Returns the length written into out (cut to cap).
size_t userSearchText(const SessionState& s, const UserEntry& u, char* out, size_t cap);

// "name (people)" of a room entry.
size_t roomEntryText(const RoomEntry& r, char* out, size_t cap);

// A list control as the rebuilds fill it.
struct ItemList {
    // Index of the selected item; -1 when none is.
    virtual int selection() = 0;
    virtual void removeAll() = 0;
    // Appends an item at the end with its text and data value.
    virtual void append(const char* text, uint32_t data) = 0;
    // Selects the item at index; -1 leaves nothing selected.
    virtual void select(int index) = 0;

protected:
    ~ItemList() = default;
};

// Refills the list with one item per user entry, in table order, the
// entry's colour as item data, and selects again the position that was
// selected before when the new list still has it. The selection follows
// the position, not the person.
void rebuildUserItems(const SessionState& s, ItemList& list);

// Refills the room box with one entry per room, in table order, and selects
// the last entry named like the current room (ignoring case); none when no
// entry is.
void rebuildRoomItems(const SessionState& s, ItemList& list);
