#include <gtest/gtest.h>

#include "shell/layout.h"

namespace {

void expectRect(const LayoutRect& r, int l, int t, int w, int h)
{
    EXPECT_EQ(r.left, l);
    EXPECT_EQ(r.top, t);
    EXPECT_EQ(r.width, w);
    EXPECT_EQ(r.height, h);
}

} // namespace

TEST(Layout, ClientAreaOf864By562)
{
    LayoutRect r[LayoutItemCount];
    layoutMainWindow(864, 562, 26, 20, r);  // B = 542
    expectRect(r[LayoutLog], 3, 184, 644, 298);
    expectRect(r[LayoutUserList], 650, 182, 211, 170);
    expectRect(r[LayoutInput], 6, 510, 532, 22);
    expectRect(r[LayoutHeader], 0, 26, 864, 62);
    expectRect(r[LayoutBanner], 0, 88, 864, 71);
    expectRect(r[LayoutCreateRoom], 834, 377, 26, 23);
    expectRect(r[LayoutBottomPanel], 0, 484, 864, 58);
    expectRect(r[LayoutHint], 140, 492, 714, 16);

    // The log ends two pixels above the bottom panel, the user list two
    // above the rooms header.
    EXPECT_EQ(r[LayoutLog].top + r[LayoutLog].height, r[LayoutBottomPanel].top - 2);
    EXPECT_EQ(r[LayoutUserList].top + r[LayoutUserList].height, r[LayoutRoomsHeader].top - 2);
}

TEST(Layout, DegenerateSizesPassThroughUnclamped)
{
    LayoutRect r[LayoutItemCount];
    layoutMainWindow(0, 0, 26, 20, r);  // a minimised window
    EXPECT_EQ(r[LayoutLog].width, -220);
    EXPECT_EQ(r[LayoutLog].height, -20 - 26 - 218);
    EXPECT_EQ(r[LayoutInput].width, -332);
    EXPECT_EQ(r[LayoutExit].left, -70);
}
