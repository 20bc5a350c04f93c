// The user list's icons and item texts, and the rebuilds of the user list
// and the room box.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "people/people_view.h"
#include "session/session_state.h"

namespace {

TEST(PeopleView, IconsAndSearchTextOfEachPerson)
{
    const struct {
        const char *nick, *status, *role;
        int statusImage, roleImage;
        const char* text;
    } cases[] = {
        {"Маша", "Отошёл на обед", "user", 1, PeopleImageNone, "Маша  — Отошёл на обед"},  // capital О
        {"Иван", "ем суп", "admin", 4, PeopleImageAdmin, "@Иван  — ем суп"},
        {"Гена", "great", "mod", 4, PeopleImageModerator, "+Гена  — great"},  // "eat" anywhere
        {"Оля", "On-LiNe", "Admin", 0, PeopleImageNone, "Оля  — On-LiNe"},    // roles compare exactly
        {"Катя", "ON-LINE!", "guest", 1, PeopleImageGuest, "Катя  — ON-LINE!"},
        {"Петя", "занят", "mod", PeopleImageIgnored, PeopleImageModerator, "(x) +Петя  — занят"},
        {"Боря", "", "mod ", 0, PeopleImageNone, "Боря"},
    };
    resetSessionState(session);
    addIgnored(session, "пЕТЯ");
    for (auto& c : cases) {
        UserEntry u = {};
        u.nick.set(c.nick);
        u.status.set(c.status);
        u.role.set(c.role);
        char text[kSearchTextCap];
        userSearchText(session, u, text, sizeof text);
        EXPECT_EQ(userStatusImage(session, u), c.statusImage) << c.nick;
        EXPECT_EQ(userRoleImage(c.role), c.roleImage) << c.nick;
        EXPECT_STREQ(text, c.text);
    }
}

// A list control: its item texts, data values and selection.
struct FakeList : ItemList {
    std::vector<std::string> texts;
    std::vector<uint32_t> data;
    int selected = -1;
    int selection() override { return selected; }
    void removeAll() override { *this = FakeList(); }
    void append(const char* text, uint32_t d) override
    {
        texts.push_back(text);
        data.push_back(d);
    }
    void select(int index) override { selected = index; }
};

TEST(PeopleView, SelectionKeepsItsPositionAfterAPartAboveIt)
{
    resetSessionState(session);
    unsigned blue = 0;
    for (const char* nick : {"Аня", "Боря", "Вика", "Гена", "Даша"})
        appendUser(session, nick, rgbColor(0, 0, ++blue), "", "user");
    FakeList list;
    rebuildUserItems(session, list);
    EXPECT_EQ(list.data[4], rgbColor(0, 0, 5));
    list.selected = 2;
    removeUserAt(session, 0);  // Аня leaves
    rebuildUserItems(session, list);
    EXPECT_EQ(list.texts[(size_t)list.selected], "Гена");
    removeUserAt(session, 3);
    removeUserAt(session, 2);
    rebuildUserItems(session, list);
    EXPECT_EQ(list.selected, -1);
}

TEST(PeopleView, RoomBoxSelectsTheLastEntryOfTheCurrentRoom)
{
    resetSessionState(session);
    session.currentRoom.set("главная");
    appendRoom(session, "Главная", 12, "", "");
    appendRoom(session, "Флуд", 0, "", "");
    appendRoom(session, "ГЛАВНАЯ", 3, "", "");
    FakeList box;
    rebuildRoomItems(session, box);
    EXPECT_EQ(box.texts, (std::vector<std::string>{"Главная (12)", "Флуд (0)", "ГЛАВНАЯ (3)"}));
    EXPECT_EQ(box.selected, 2);
    session.currentRoom.set("Другая");
    rebuildRoomItems(session, box);
    EXPECT_EQ(box.selected, -1);
}

} // namespace
