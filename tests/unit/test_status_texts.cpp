// Texts and derived colours of the status displays.
#include <gtest/gtest.h>

#include "session/session_state.h"
#include "shell/status_texts.h"
#include "toolkit/palette.h"

namespace {

TEST(StatusTexts, TimeOnlineSurvivesLongSessionsAndATickWrap)
{
    const struct {
        uint32_t connectTick, now;
        const char* text;
    } cases[] = {
        {1000, 1000 + 3725 * 1000u, "01:02:05"},
        {0, 100u * 3600 * 1000 + 999, "100:00:00"},
        {0xFFFFF000u, 0x00001000u, "00:00:08"},  // 8,192 ms across the wrap
    };
    resetSessionState(session);
    session.connected = 1;
    char header[kPaneTextCap], clock[kPaneTextCap];
    for (auto& c : cases) {
        session.connectTick = c.connectTick;
        headerTimeText(session, c.now, header, sizeof header);
        clockText(session, c.now, clock, sizeof clock);
        EXPECT_STREQ(header, c.text);
        EXPECT_STREQ(clock, c.text);
    }
    session.connected = 0;
    headerTimeText(session, 99999, header, sizeof header);
    clockText(session, 99999, clock, sizeof clock);
    EXPECT_STREQ(header, "--:--:--");
    EXPECT_STREQ(clock, "00:00:00");
}

TEST(StatusTexts, ColoursDerivedFromThePanelStayInRange)
{
    const Color panel = rgbColor(0x99, 0x99, 0xCC);
    EXPECT_EQ(selectedItemColor(panel), rgbColor(0xD5, 0xD5, 0xFF));
    EXPECT_EQ(topicCaptionColor(panel), rgbColor(0x2B, 0x2B, 0x5E));
    EXPECT_EQ(sectionHeaderEndColor(panel), rgbColor(0x71, 0x71, 0xA4));
    EXPECT_EQ(sectionShadowColor(panel), rgbColor(0x3F, 0x3F, 0x72));
    EXPECT_EQ(selectedItemColor(rgbColor(0xFF, 0xFF, 0xFF)), rgbColor(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(topicCaptionColor(rgbColor(0x10, 0x6E, 0xFF)), rgbColor(0x00, 0x00, 0x91));
}

} // namespace
