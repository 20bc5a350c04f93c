#include "people/people_view.h"

#include <string.h>

#include "base/codepage.h"
#include "base/text_fold.h"

const char* const kStatusChoices[kStatusChoiceCount] = {
    "ON-LINE", "отошёл", "занят", "сплю", "кушаю", "не беспокоить",
};

int userStatusImage(const SessionState& s, const UserEntry& u)
{
    if (isIgnored(s, u.nick.s))
        return PeopleImageIgnored;
    return (int)classifyStatus(u.status.s);
}

int userRoleImage(const char* role)
{
    if (!role)
        return PeopleImageNone;
    if (strcmp(role, kRoleAdmin) == 0)
        return PeopleImageAdmin;
    if (strcmp(role, kRoleMod) == 0)
        return PeopleImageModerator;
    if (strcmp(role, kRoleGuest) == 0)
        return PeopleImageGuest;
    return PeopleImageNone;
}

size_t userSearchText(const SessionState& s, const UserEntry& u, char* out, size_t cap)
{
    const char* ignoreMark = isIgnored(s, u.nick.s) ? "(x) " : "";
    const char* roleMark = "";
    if (strcmp(u.role.s, kRoleAdmin) == 0)
        roleMark = "@";
    else if (strcmp(u.role.s, kRoleMod) == 0)
        roleMark = "+";
    const char* separator = u.status.empty() ? "" : "  — ";
    return formatText(out, cap, "%s%s%s%s%s", ignoreMark, roleMark, u.nick.s, separator, u.status.s);
}

size_t roomEntryText(const RoomEntry& r, char* out, size_t cap)
{
    return formatText(out, cap, "%s (%d)", r.name.s, (int)r.people);
}

void rebuildUserItems(const SessionState& s, ItemList& list)
{
    int selected = list.selection();
    list.removeAll();
    for (int i = 0; i < s.userCount; i++) {
        char text[kSearchTextCap];
        userSearchText(s, s.users[i], text, sizeof text);
        list.append(text, s.users[i].color);
    }
    if (selected >= 0 && selected < s.userCount)
        list.select(selected);
}

void rebuildRoomItems(const SessionState& s, ItemList& list)
{
    list.removeAll();
    if (s.roomCount == 0)
        return;
    int current = -1;
    for (int i = 0; i < s.roomCount; i++) {
        char text[kRoomEntryCap];
        roomEntryText(s.rooms[i], text, sizeof text);
        list.append(text, 0);
        if (sameText(s.rooms[i].name.s, s.currentRoom.s))
            current = i;
    }
    if (current >= 0)
        list.select(current);
}
