#include <gtest/gtest.h>

#include <string>

#include "base/codepage.h"
#include "base/text_fold.h"
#include "session/session_state.h"

class SessionStateTest : public ::testing::Test {
protected:
    void SetUp() override { resetSessionState(session); }
    SessionState& s = session;
};

TEST_F(SessionStateTest, InitialValues)
{
    EXPECT_EQ(s.socket, kNoSocket);
    EXPECT_EQ(connectionState(s), Disconnected);
    EXPECT_STREQ(s.nickColor.s, "#000080");
    EXPECT_STREQ(s.globalRole.s, "guest");
    EXPECT_STREQ(s.roomRole.s, "guest");
    EXPECT_STREQ(s.chatTitle.s, "Zumbara");
    EXPECT_EQ(s.colors.bg, 0xFFFFFFu);
    EXPECT_EQ(s.colors.sys, 0x008000u);
    EXPECT_EQ(s.colors.pm, 0x800080u);
    EXPECT_EQ(s.colors.panel, rgbColor(0x99, 0x99, 0xCC));
    EXPECT_EQ(s.settings.port, 4225);
    EXPECT_TRUE(s.settings.timestamps);
    EXPECT_TRUE(s.settings.sound);
}

TEST_F(SessionStateTest, UserTableHoldsAtMost512AndKeepsOrderOnRemoval)
{
    for (int i = 0; i < 513; i++)
        appendUser(s, ("user" + std::to_string(i)).c_str(), 0, "", "");
    EXPECT_EQ(s.userCount, 512);
    EXPECT_EQ(findUser(s, "user512"), -1);
    EXPECT_EQ(findUser(s, "USER511"), 511);

    removeUserAt(s, 1);
    EXPECT_EQ(s.userCount, 511);
    EXPECT_STREQ(s.users[0].nick.s, "user0");
    EXPECT_STREQ(s.users[1].nick.s, "user2");
    EXPECT_STREQ(s.users[510].nick.s, "user511");
    removeUserAt(s, 600);  // out of range: nothing
    EXPECT_EQ(s.userCount, 511);
}

TEST_F(SessionStateTest, NewUserEntryIsZeroFilledAndFieldsAreCut)
{
    appendUser(s, "a", 1, "s", "mod");
    removeUserAt(s, 0);
    std::string nick70(70, 'N');
    appendUser(s, nick70.c_str(), 5, "", "");
    EXPECT_EQ(std::string(s.users[0].nick.s), std::string(63, 'N'));
    EXPECT_STREQ(s.users[0].role.s, "");
    EXPECT_STREQ(s.users[0].status.s, "");
}

TEST_F(SessionStateTest, NicksMatchCaseInsensitivelyInCyrillicToo)
{
    appendUser(s, "Ёжик", 0, "", "");
    EXPECT_EQ(findUser(s, "ёЖИК"), 0);
    EXPECT_EQ(findUser(s, "ежик"), -1);  // Ё and Е are different letters
    addIgnored(s, "Вася");
    EXPECT_TRUE(isIgnored(s, "ВАСЯ"));
    EXPECT_FALSE(isIgnored(s, "Вас"));
}

// Folding is by code page 1251 whatever conversion is active, so a system
// whose own code page lacks a pair (1252: Ё, Ч, Я) compares the same.
TEST(TextFold, EqualityPrefixAndWholeWord)
{
    struct Row {
        const char *text, *word;
        bool same, prefix;
        int wordAt;  // byte offset of the whole word; -1: none
    };
    const Row rows[] = {
        // Cyrillic of code page 1251, as it always folded.
        {"Яна", "яна", true, true, 0},
        {"ЁЖИК Чук", "ёжик", false, true, 0},
        {"ЁЖИК Чук", "чук", false, false, 9},
        {"Ђура", "ђура", true, true, 0},
        {"Привет, Вика!", "вика", false, false, 14},
        {"Викарий и Вика2", "вика", false, true, -1},
        {"ёлка", "елка", false, false, -1},
        {"Anna_1", "anna", false, true, 0},
        {"", "", true, true, -1},
        // Latin letters with their accents, other scripts, emoji beside words.
        {"ÉMILE Ÿves", "émile ÿves", true, true, 0},
        {"ŁUKASZ", "łukasz", true, true, 0},
        {"ΣΟΦΙΑ", "σοφια", true, true, 0},
        {"Ñandú", "ñandu", false, false, -1},  // no look-alikes: ú is not u
        {"☕café☕", "CAFÉ", false, false, 3},
        {"Ivan😀", "ivan", false, true, 0},
        {"Ivanéz", "ivan", false, true, -1},
        {"你好Вася", "вася", false, false, 6},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        EXPECT_EQ(sameText(r.text, r.word), r.same);
        EXPECT_EQ(startsWithText(r.text, r.word), r.prefix);
        const char* at = findWholeWord(r.text, r.word);
        EXPECT_EQ(at ? (int)(at - r.text) : -1, r.wordAt);
    }
}

TEST_F(SessionStateTest, ConfigurationTableReplacesInPlaceAndDropsThe49thKey)
{
    for (int i = 0; i < 48; i++)
        setCfgValue(s, ("key" + std::to_string(i)).c_str(), "v");
    setCfgValue(s, "key48", "new");
    EXPECT_EQ(s.cfgCount, 48);
    EXPECT_EQ(getCfgValue(s, "key48"), nullptr);
    setCfgValue(s, "key7", "replaced");
    EXPECT_STREQ(getCfgValue(s, "key7"), "replaced");
    EXPECT_EQ(s.cfgCount, 48);
    EXPECT_EQ(getCfgValue(s, "KEY7"), nullptr);  // keys are case-sensitive

    // A key longer than its field is matched by what was stored of it.
    resetSessionState(s);
    std::string longKey(60, 'k');
    setCfgValue(s, longKey.c_str(), "1");
    setCfgValue(s, longKey.c_str(), "2");
    EXPECT_EQ(s.cfgCount, 1);
    EXPECT_STREQ(s.cfg[0].value.s, "2");
}

TEST_F(SessionStateTest, RoomAndBannerTablesStopAtTheirBounds)
{
    for (int i = 0; i < 130; i++)
        appendRoom(s, "r", i, "", "");
    EXPECT_EQ(s.roomCount, 128);
    for (int i = 0; i < 70; i++)
        appendBannerItem(s, i, "http://x/", "", 10, 1);
    EXPECT_EQ(s.bannerItemCount, 64);
    for (int i = 0; i < 70; i++)
        addIgnored(s, "n");
    EXPECT_EQ(s.ignoredCount, 64);
}

TEST(ParseColor, AcceptsSixHexDigitsWithOrWithoutHash)
{
    const Color fb = 0x123456;
    EXPECT_EQ(parseColor("#12345", fb), fb);
    EXPECT_EQ(parseColor("#zz0000", fb), fb);
    EXPECT_EQ(parseColor(nullptr, fb), fb);
    EXPECT_EQ(parseColor("", fb), fb);
    EXPECT_EQ(parseColor("##00ff00", fb), fb);  // only one "#" is skipped
    EXPECT_EQ(parseColor("00ff00", fb), rgbColor(0, 255, 0));
    EXPECT_EQ(parseColor("#00FF00xyz", fb), rgbColor(0, 255, 0));
    EXPECT_EQ(parseColor("#C80000", fb), 0x0000C8u);
    EXPECT_EQ(parseColor("#aAbBcC", fb), rgbColor(0xAA, 0xBB, 0xCC));
}

TEST(ParseDecimal, LenientAndBounded)
{
    EXPECT_EQ(parseDecimal("42"), 42);
    EXPECT_EQ(parseDecimal("-7x"), -7);
    EXPECT_EQ(parseDecimal("abc"), 0);
    EXPECT_EQ(parseDecimal(""), 0);
    EXPECT_EQ(parseDecimal("99999999999999999999"), 2147483647);
    EXPECT_EQ(parseDecimal("-99999999999999999999"), -2147483647 - 1);
}

TEST(StatusClass, FirstMatchingTestDecides)
{
    EXPECT_EQ(classifyStatus(""), StatusAvailable);
    EXPECT_EQ(classifyStatus("on-line"), StatusAvailable);
    EXPECT_EQ(classifyStatus("ONLINE"), StatusAvailable);
    EXPECT_EQ(classifyStatus("отошёл"), StatusAway);
    EXPECT_EQ(classifyStatus("afk 5 min"), StatusAway);
    EXPECT_EQ(classifyStatus("занят"), StatusBusy);
    EXPECT_EQ(classifyStatus("сплю"), StatusSleeping);
    EXPECT_EQ(classifyStatus("кушаю"), StatusEating);
    EXPECT_EQ(classifyStatus("ем суп"), StatusEating);
    EXPECT_EQ(classifyStatus("не беспокоить"), StatusDoNotDisturb);
    EXPECT_EQ(classifyStatus("dnd"), StatusDoNotDisturb);
    EXPECT_EQ(classifyStatus("BUSY"), StatusAway);   // substring tests are case-sensitive
    EXPECT_EQ(classifyStatus("away busy"), StatusAway);  // away is tested first
    EXPECT_EQ(classifyStatus("гуляю"), StatusAway);
}

TEST_F(SessionStateTest, RoleNamesAndPanelAccess)
{
    EXPECT_STREQ(roleDisplayName(s), "гость");
    EXPECT_FALSE(adminPanelAvailable(s));
    s.globalRole.set("user");
    EXPECT_STREQ(roleDisplayName(s), "пользователь");
    s.roomRole.set("mod");
    EXPECT_STREQ(roleDisplayName(s), "модератор комнаты");
    EXPECT_TRUE(adminPanelAvailable(s));
    s.roomRole.set("Mod");  // roles compare exactly
    EXPECT_FALSE(adminPanelAvailable(s));
    s.globalRole.set("admin");
    EXPECT_STREQ(roleDisplayName(s), "АДМИНИСТРАТОР");
    EXPECT_TRUE(adminPanelAvailable(s));
}
