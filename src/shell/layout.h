// Placement of the main window's children: pure arithmetic on the client
// size, the heights of the toolbar and the status bar, and the DPI.
#pragma once

#include "toolkit/dpi.h"
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

// W and H: the client area; T: the toolbar's height; S: the status bar's;
// all in the display's pixels. The distances of the table are those at 96
// DPI, scaled to dpi (scaleToDpi) edge by edge; at 96 DPI they are the table
// itself. Nothing is clamped: a tiny or minimised window gives zero or
// negative sizes, which the window system accepts.
void layoutMainWindow(int W, int H, int T, int S, LayoutRect out[LayoutItemCount], int dpi = kBaseDpi);

// The main window's outer size at dpi (880 x 620 at 96 DPI) and its least
// size (640 x 480), each at most the work area's; fitted when the size was
// cut to the work area.
struct MainWindowSize {
    int width, height;
    int minWidth, minHeight;
    bool fitted;
};
MainWindowSize mainWindowSize(int dpi, int workWidth, int workHeight);
