#include "shell/layout.h"

void layoutMainWindow(int W, int H, int T, int S, LayoutRect r[LayoutItemCount])
{
    const int B = H - S;  // bottom of the usable area
    r[LayoutHeader] = {0, T, W, 62};
    r[LayoutBanner] = {0, T + 62, W, 71};
    r[LayoutTopic] = {3, T + 136, W - 220, 20};
    r[LayoutLog] = {3, T + 158, W - 220, B - T - 218};
    r[LayoutPeopleHeader] = {W - 214, T + 136, 211, 20};
    r[LayoutUserList] = {W - 214, T + 156, 211, B - T - 346};
    r[LayoutRoomsHeader] = {W - 214, B - 188, 211, 20};
    r[LayoutRoomBox] = {W - 210, B - 164, 178, 200};
    r[LayoutCreateRoom] = {W - 30, B - 165, 26, 23};
    r[LayoutPrivate] = {W - 210, B - 138, 101, 24};
    r[LayoutIgnore] = {W - 105, B - 138, 101, 24};
    r[LayoutStatusLabel] = {W - 210, B - 110, 48, 16};
    r[LayoutStatusBox] = {W - 160, B - 112, 152, 200};
    r[LayoutColorLabel] = {W - 210, B - 88, 48, 16};
    r[LayoutColorBox] = {W - 160, B - 90, 152, 200};
    r[LayoutBottomPanel] = {0, B - 58, W, 58};
    r[LayoutNickLabel] = {6, B - 50, 120, 16};
    r[LayoutInput] = {6, B - 32, W - 332, 22};
    r[LayoutSend] = {W - 314, B - 33, 96, 24};
    r[LayoutClock] = {W - 214, B - 33, 66, 24};
    r[LayoutClear] = {W - 146, B - 33, 74, 24};
    r[LayoutExit] = {W - 70, B - 33, 66, 24};
    r[LayoutHint] = {140, B - 50, W - 150, 16};
}
