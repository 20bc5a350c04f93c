// The user list's icons and item texts, and the rebuilds of the user list
// and the room box driven by real server lines through the dispatcher.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dispatch.h"
#include "fakes.h"
#include "people_view.h"

namespace {

TEST(PeopleIcons, StatusTextsThatTripClassification)
{
    struct Case {
        const char* status;
        const char* role;
        int statusImage, roleImage;
    };
    const Case cases[] = {
        {"Отошёл на обед", "user", 1, PeopleImageNone},  // capital О: only the final rule
        {"ем суп", "admin", 4, PeopleImageAdmin},
        {"great", "mod", 4, PeopleImageModerator},        // "eat" anywhere
        {"ON-LINE", "guest", 0, PeopleImageGuest},
        {"On-LiNe", "Admin", 0, PeopleImageNone},          // roles compare exactly
        {"oNlInE", "", 0, PeopleImageNone},
        {"ON-LINE!", "user", 1, PeopleImageNone},
        {"не беспокоить", "mod ", 5, PeopleImageNone},
        {"", "guest", 0, PeopleImageGuest},
    };
    SessionState& s = session;
    resetSessionState(s);
    for (const Case& c : cases) {
        UserEntry u = {};
        u.nick.set("Иван");
        u.status.set(c.status);
        EXPECT_EQ(userStatusImage(s, u), c.statusImage) << c.status;
        EXPECT_EQ(userRoleImage(c.role), c.roleImage) << c.role;
    }
    UserEntry ignored = {};
    ignored.nick.set("Петя");
    ignored.status.set("занят");
    addIgnored(s, "пЕТЯ");
    EXPECT_EQ(userStatusImage(s, ignored), PeopleImageIgnored);
}

TEST(PeopleSearchText, MarksNickAndStatus)
{
    SessionState& s = session;
    resetSessionState(s);
    addIgnored(s, "ПЕТЯ");
    struct Case {
        const char *nick, *status, *role, *text;
    };
    const Case cases[] = {
        {"Петя", "занят", "mod", "(x) +Петя  — занят"},  // an ignored moderator
        {"Иван", "", "admin", "@Иван"},
        {"Борис", "", "guest", "Борис"},
        {"Маша", "кушаю", "user", "Маша  — кушаю"},
    };
    for (const Case& c : cases) {
        UserEntry u = {};
        u.nick.set(c.nick);
        u.status.set(c.status);
        u.role.set(c.role);
        char text[kSearchTextCap];
        userSearchText(s, u, text, sizeof text);
        EXPECT_STREQ(text, c.text);
    }
    // The longest fields all fit the item text.
    UserEntry u = {};
    u.nick.set(std::string(63, 'n').c_str());
    u.status.set(std::string(63, 's').c_str());
    u.role.set("admin");
    addIgnored(s, u.nick.s);
    char text[kSearchTextCap];
    EXPECT_EQ(userSearchText(s, u, text, sizeof text), 4 + 1 + 63 + 4 + 63u);
}

// A list control: its items and its selection.
struct FakeList : ItemList {
    std::vector<std::string> texts;
    std::vector<uint32_t> data;
    int selected = -1;
    int selection() override { return selected; }
    void removeAll() override
    {
        texts.clear();
        data.clear();
        selected = -1;
    }
    void append(const char* text, uint32_t d) override
    {
        texts.push_back(text);
        data.push_back(d);
    }
    void select(int index) override { selected = index; }
};

// Views that rebuild the two fake lists as the window rebuilds its own.
struct ListHost : FakeHost {
    FakeList users, rooms;
    void usersChanged() override { rebuildUserItems(session, users); }
    void roomsChanged() override { rebuildRoomItems(session, rooms); }
};

class ListRebuild : public ::testing::Test, public SessionFixture {
protected:
    ListHost lists;
    void SetUp() override { ports.views = &lists; }
    void says(const std::string& text)
    {
        static char line[kDecodedLineCap];
        copyText(line, sizeof line, text.c_str());
        ParsedLine p;
        splitLine(trimLine(line), p);
        dispatchServerLine(p);
    }
    std::string selectedUser() const
    {
        int i = lists.users.selected;
        return i < 0 ? "(none)" : lists.users.texts[(size_t)i];
    }
};

TEST_F(ListRebuild, SelectionKeepsItsPositionAcrossRebuilds)
{
    says("USERLIST Главная");
    for (const char* u : {"Аня\t#FF0000\t\tuser", "Боря\t#00FF00\t\tuser", "Вика\t#0000FF\t\tuser",
                          "Гена\t#808080\tзанят\tmod", "Даша\t#000080\t\tuser"})
        says(std::string("USER ") + u);
    says("USEREND");
    ASSERT_EQ(lists.users.texts.size(), 5u);
    EXPECT_EQ(lists.users.data[0], 0x0000FFu);
    EXPECT_EQ(lists.users.data[3], 0x808080u);

    lists.users.selected = 2;  // the user picks Вика
    says("STATUS Вика\tотошёл");
    EXPECT_EQ(selectedUser(), "Вика  — отошёл");
    says("PART Аня");
    EXPECT_EQ(selectedUser(), "+Гена  — занят");  // the position, not the person
    says("PART Даша");
    says("PART Гена");
    EXPECT_EQ(selectedUser(), "(none)");            // the position is gone
}

TEST_F(ListRebuild, RoomBoxSelectsTheLastEntryOfTheCurrentRoom)
{
    says("USERLIST главная");
    says("USEREND");
    says("ROOMLIST");
    says("ROOM Главная\t12");
    says("ROOM Флуд\tx");
    says("ROOM ГЛАВНАЯ\t3");
    says("ROOMEND");
    EXPECT_EQ(lists.rooms.texts, (std::vector<std::string>{"Главная (12)", "Флуд (0)", "ГЛАВНАЯ (3)"}));
    EXPECT_EQ(lists.rooms.selected, 2);

    says("ROOMLIST");
    says("ROOM Флуд\t1");
    says("ROOMEND");
    EXPECT_EQ(lists.rooms.selected, -1);
    says("ROOMLIST");
    says("ROOMEND");
    EXPECT_TRUE(lists.rooms.texts.empty());
}

} // namespace
