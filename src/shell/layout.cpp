#include "shell/layout.h"

#include "toolkit/dpi.h"

namespace {

// Where an edge is measured from: the client area's left or top edge, the
// toolbar's bottom (T), the client area's right edge (W) or the bottom of
// the usable area above the status bar (B).
enum Anchor { FromZero, FromToolbar, FromRight, FromBottom };

// An edge: its anchor plus pixels at 96 DPI (negative: to the left or up).
struct Edge {
    Anchor anchor;
    int pixels;
};

// A control's rectangle by its four edges. The edges, not the sizes, are
// scaled, so that what touches or keeps a gap at 96 DPI still does at any
// scale: the log still ends above the bottom panel, the user list above the
// rooms header, and a control measured from the right keeps its distance
// from the right edge.
struct Placement {
    Edge left, top, right, bottom;
};

const Placement kPlacements[LayoutItemCount] = {
    /* LayoutHeader       */ {{FromZero, 0}, {FromToolbar, 0}, {FromRight, 0}, {FromToolbar, 62}},
    /* LayoutBanner       */ {{FromZero, 0}, {FromToolbar, 62}, {FromRight, 0}, {FromToolbar, 133}},
    /* LayoutTopic        */ {{FromZero, 3}, {FromToolbar, 136}, {FromRight, -217}, {FromToolbar, 156}},
    /* LayoutLog          */ {{FromZero, 3}, {FromToolbar, 158}, {FromRight, -217}, {FromBottom, -60}},
    /* LayoutPeopleHeader */ {{FromRight, -214}, {FromToolbar, 136}, {FromRight, -3}, {FromToolbar, 156}},
    /* LayoutUserList     */ {{FromRight, -214}, {FromToolbar, 156}, {FromRight, -3}, {FromBottom, -190}},
    /* LayoutRoomsHeader  */ {{FromRight, -214}, {FromBottom, -188}, {FromRight, -3}, {FromBottom, -168}},
    /* LayoutRoomBox      */ {{FromRight, -210}, {FromBottom, -164}, {FromRight, -32}, {FromBottom, 36}},
    /* LayoutCreateRoom   */ {{FromRight, -30}, {FromBottom, -165}, {FromRight, -4}, {FromBottom, -142}},
    /* LayoutPrivate      */ {{FromRight, -210}, {FromBottom, -138}, {FromRight, -109}, {FromBottom, -114}},
    /* LayoutIgnore       */ {{FromRight, -105}, {FromBottom, -138}, {FromRight, -4}, {FromBottom, -114}},
    /* LayoutStatusLabel  */ {{FromRight, -210}, {FromBottom, -110}, {FromRight, -162}, {FromBottom, -94}},
    /* LayoutStatusBox    */ {{FromRight, -160}, {FromBottom, -112}, {FromRight, -8}, {FromBottom, 88}},
    /* LayoutColorLabel   */ {{FromRight, -210}, {FromBottom, -88}, {FromRight, -162}, {FromBottom, -72}},
    /* LayoutColorBox     */ {{FromRight, -160}, {FromBottom, -90}, {FromRight, -8}, {FromBottom, 110}},
    /* LayoutBottomPanel  */ {{FromZero, 0}, {FromBottom, -58}, {FromRight, 0}, {FromBottom, 0}},
    /* LayoutNickLabel    */ {{FromZero, 6}, {FromBottom, -50}, {FromZero, 126}, {FromBottom, -34}},
    /* LayoutInput        */ {{FromZero, 6}, {FromBottom, -32}, {FromRight, -326}, {FromBottom, -10}},
    /* LayoutSend         */ {{FromRight, -314}, {FromBottom, -33}, {FromRight, -218}, {FromBottom, -9}},
    /* LayoutClock        */ {{FromRight, -214}, {FromBottom, -33}, {FromRight, -148}, {FromBottom, -9}},
    /* LayoutClear        */ {{FromRight, -146}, {FromBottom, -33}, {FromRight, -72}, {FromBottom, -9}},
    /* LayoutExit         */ {{FromRight, -70}, {FromBottom, -33}, {FromRight, -4}, {FromBottom, -9}},
    /* LayoutHint         */ {{FromZero, 140}, {FromBottom, -50}, {FromRight, -10}, {FromBottom, -34}},
};

} // namespace

void layoutMainWindow(int W, int H, int T, int S, LayoutRect r[LayoutItemCount], int dpi)
{
    const int B = H - S;  // bottom of the usable area
    const int anchors[] = {0, T, W, B};
    for (int i = 0; i < LayoutItemCount; i++) {
        const Placement& p = kPlacements[i];
        int left = anchors[p.left.anchor] + scaleToDpi(p.left.pixels, dpi);
        int top = anchors[p.top.anchor] + scaleToDpi(p.top.pixels, dpi);
        int right = anchors[p.right.anchor] + scaleToDpi(p.right.pixels, dpi);
        int bottom = anchors[p.bottom.anchor] + scaleToDpi(p.bottom.pixels, dpi);
        r[i] = {left, top, right - left, bottom - top};
    }
}

MainWindowSize mainWindowSize(int dpi, int workWidth, int workHeight)
{
    MainWindowSize s;
    s.width = scaleToDpi(880, dpi);
    s.height = scaleToDpi(620, dpi);
    s.minWidth = scaleToDpi(640, dpi);
    s.minHeight = scaleToDpi(480, dpi);
    // A display too small for the scaled window gets a window of its whole
    // work area, which the user can still make smaller down to the least
    // size that fits it.
    s.fitted = s.width > workWidth || s.height > workHeight;
    if (s.width > workWidth)
        s.width = workWidth;
    if (s.height > workHeight)
        s.height = workHeight;
    if (s.minWidth > workWidth)
        s.minWidth = workWidth;
    if (s.minHeight > workHeight)
        s.minHeight = workHeight;
    return s;
}
