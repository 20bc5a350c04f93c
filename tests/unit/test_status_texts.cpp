// Texts and derived colours of the status displays.
#include <gtest/gtest.h>

#include <string>

#include "session_state.h"
#include "status_texts.h"

namespace {

TEST(StatusTexts, TimeOnlineSurvivesLongSessionsAndATickWrap)
{
    struct Case {
        uint32_t connectTick, now;
        const char* text;
    };
    const Case cases[] = {
        {1000, 1000 + 3725 * 1000u, "01:02:05"},
        {0, 100u * 3600 * 1000 + 999, "100:00:00"},
        {0xFFFFF000u, 0x00001000u, "00:00:08"},  // 8,192 ms across the wrap
    };
    SessionState& s = session;
    resetSessionState(s);
    s.connected = 1;
    for (const Case& c : cases) {
        s.connectTick = c.connectTick;
        char header[kPaneTextCap], clock[kPaneTextCap];
        headerTimeText(s, c.now, header, sizeof header);
        clockText(s, c.now, clock, sizeof clock);
        EXPECT_STREQ(header, c.text);
        EXPECT_STREQ(clock, c.text);
    }
}

TEST(StatusTexts, ConnectedAndDisconnected)
{
    SessionState& s = session;
    resetSessionState(s);
    s.connectTick = 5;
    s.ownNick.set("Вася");
    s.lag = 42;
    s.userCount = 3;
    s.currentRoom.set("Главная");
    s.settings.host.set("127.0.0.1");
    s.settings.port = 4225;
    s.globalRole.set("user");

    char text[kPaneTextCap];
    char parts[kStatusBarParts][kStatusPartCap];
    statusBarTexts(s, parts);
    EXPECT_STREQ(parts[0], " Не подключено.  F2 - подключиться");
    for (int i = 1; i < kStatusBarParts; i++)
        EXPECT_STREQ(parts[i], "");
    headerLagText(s, text, sizeof text);
    EXPECT_STREQ(text, "не в сети");
    headerTimeText(s, 99999, text, sizeof text);
    EXPECT_STREQ(text, "--:--:--");
    clockText(s, 99999, text, sizeof text);
    EXPECT_STREQ(text, "00:00:00");
    ownNickLabelText(s, text, sizeof text);
    EXPECT_STREQ(text, "не в сети:");

    s.connected = 1;
    statusBarTexts(s, parts);
    const char* want[kStatusBarParts] = {" Вася @ 127.0.0.1:4225", " Комната: Главная", " Людей: 3", " Лаг: 42 мс",
                                         " пользователь"};
    for (int i = 0; i < kStatusBarParts; i++)
        EXPECT_STREQ(parts[i], want[i]);
    headerLagText(s, text, sizeof text);
    EXPECT_STREQ(text, "Лаг 42 мс");
    ownNickLabelText(s, text, sizeof text);
    EXPECT_STREQ(text, "Вася:");
    peopleHeaderText(s, text, sizeof text);
    EXPECT_STREQ(text, "Сейчас в чате: 3");
}

TEST(StatusTexts, ColoursDerivedFromThePanelStayInRange)
{
    const Color panel = rgbColor(0x99, 0x99, 0xCC);
    EXPECT_EQ(selectedItemColor(panel), rgbColor(0xD5, 0xD5, 0xFF));
    EXPECT_EQ(topicCaptionColor(panel), rgbColor(0x2B, 0x2B, 0x5E));
    EXPECT_EQ(sectionHeaderEndColor(panel), rgbColor(0x71, 0x71, 0xA4));
    EXPECT_EQ(sectionShadowColor(panel), rgbColor(0x3F, 0x3F, 0x72));

    EXPECT_EQ(selectedItemColor(rgbColor(0xFF, 0xFF, 0xFF)), rgbColor(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(selectedItemColor(rgbColor(0xC4, 0x00, 0xF0)), rgbColor(0xFF, 0x3C, 0xFF));
    EXPECT_EQ(topicCaptionColor(rgbColor(0x10, 0x6E, 0xFF)), rgbColor(0x00, 0x00, 0x91));
}

} // namespace
