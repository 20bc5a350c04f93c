// Where the banner strip puts its parts: the framed box the artwork is made
// for (at most 472 x 61 at 96 DPI, 708 x 92 at 144), the promotional panel of
// a wide strip, the "реклама" label, and the picture inside the box. Pure
// arithmetic; the pixel numbers are those at 96 DPI, scaled to dpi.
#pragma once

#include "session/session_state.h"
#include "toolkit/dpi.h"
#include "toolkit/layout_rect.h"

struct BannerStripLayout {
    LayoutRect box;    // the picture's box, without its 3-pixel frame
    bool hasPanel;     // the strip is wide enough for the promotional panel
    LayoutRect panel;  // the panel with its sunken edge
    bool hasLabel;     // there is room right of the box for the label
    LayoutRect label;
};

// The strip occupies left, top, width x height, in the display's pixels.
BannerStripLayout layoutBannerStrip(int left, int top, int width, int height, int dpi = kBaseDpi);

// Where a width x height picture goes in box: at its own size and centred
// when it fits, else scaled down to the box keeping its proportions, against
// the box's left edge (wider than the box's shape) or its top edge, and
// centred the other way. Never enlarged. Empty when nothing fits.
LayoutRect placeBannerPicture(const LayoutRect& box, int width, int height);

// The same for a picture of width x height pixels shown at dpi: the artwork
// is made for 96 DPI, so it is placed at its size scaled to dpi, as Windows
// would show it in a program that does not scale itself (a 472 x 61 picture
// fills the 708 x 92 box at 144 DPI).
LayoutRect placeBannerPictureAt(const LayoutRect& box, int width, int height, int dpi);

// The size a width x height picture is kept at for drawing at dpi: the size
// it is drawn at in the largest box (472 x 61 at 96 DPI), the most the strip
// ever shows of it, and at least 1 x 1. A large picture kept whole would
// make every paint scale all of its pixels down.
void keptPictureSize(int width, int height, int* keptWidth, int* keptHeight, int dpi = kBaseDpi);
