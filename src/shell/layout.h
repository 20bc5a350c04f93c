// Placement of the main window's children: pure arithmetic on the client
// size and the heights of the toolbar and the status bar.
#pragma once

#include "toolkit/layout_rect.h"

enum LayoutItem {
    LayoutHeader,       // 3016
    LayoutBanner,       // 3007
    LayoutTopic,        // 3013
    LayoutLog,          // 3001
    LayoutPeopleHeader, // 3017
    LayoutUserList,     // 3002
    LayoutRoomsHeader,  // 3018
    LayoutRoomBox,      // 3003
    LayoutCreateRoom,   // 3011
    LayoutPrivate,      // 3009
    LayoutIgnore,       // 3010
    LayoutStatusLabel,
    LayoutStatusBox,    // 3012
    LayoutColorLabel,
    LayoutColorBox,     // 3006
    LayoutBottomPanel,  // 3019
    LayoutNickLabel,    // 3020
    LayoutInput,        // 3004
    LayoutSend,         // 3005
    LayoutClock,        // 3022
    LayoutClear,        // 2020
    LayoutExit,         // 2002
    LayoutHint,         // 3021
    LayoutItemCount
};

// W and H: the client area; T: the toolbar's height; S: the status bar's.
// Nothing is clamped: a tiny or minimised window gives zero or negative
// sizes, which the window system accepts.
void layoutMainWindow(int W, int H, int T, int S, LayoutRect out[LayoutItemCount]);
