// The painting dispatch of the main window's owner-drawn panes, list items
// and buttons, and the owner-drawn push button.
#include "shell/win_main_window.h"

#include "banners/win_banners.h"
#include "people/win_people_list.h"
#include "shell/control_ids.h"
#include "shell/win_status_display.h"
#include "toolkit/win_dpi.h"
#include "toolkit/win_drawing.h"
#include "toolkit/win_fonts.h"
#include "toolkit/win_text.h"
#include "toolkit/win_visual_styles.h"

void paintOwnerDrawn(const DRAWITEMSTRUCT* d)
{
    if (d->CtlType == ODT_STATIC) {
        switch (d->CtlID) {
        case IdBanner: paintBannerStrip(d->hDC, d->rcItem); break;
        case IdTopic: paintTopicLine(d); break;
        case IdHeader: paintHeaderStrip(d); break;
        case IdPeopleHeader: paintPeopleHeader(d); break;
        case IdRoomsHeader: paintRoomsHeader(d); break;
        case IdNickLabel: paintNickLabel(d); break;
        case IdClock: paintClock(d); break;
        case IdBottomPanel: {
            RECT r = d->rcItem;
            FillRect(d->hDC, &r, GetSysColorBrush(COLOR_BTNFACE));
            DrawEdge(d->hDC, &r, EDGE_RAISED, BF_TOP | BF_BOTTOM);
            break;
        }
        default: break;
        }
        return;
    }
    if (d->CtlID == IdUserList) {
        paintUserItem(d, mainWnd.peopleImages);
        return;
    }
    if (d->CtlType == ODT_BUTTON) {
        switch (d->CtlID) {
        case CmdDisconnect: drawOwnerButton(d, mainWnd.toolbarImages, 11, "Выход", fontUi); break;
        case CmdClearLog: drawOwnerButton(d, mainWnd.toolbarImages, 7, "Очистить", fontUi); break;
        case IdSend: drawOwnerButton(d, mainWnd.toolbarImages, 12, "Послать", fontUi); break;
        case IdPrivate: drawOwnerButton(d, mainWnd.toolbarImages, 5, "Приват", fontUi); break;
        case IdIgnore: drawOwnerButton(d, mainWnd.toolbarImages, 6, "Игнор", fontUi); break;
        case IdCreateRoomButton: drawOwnerButton(d, mainWnd.toolbarImages, 3, "", fontUi); break;
        default: break;
        }
    }
}

void drawOwnerButton(const DRAWITEMSTRUCT* item, HIMAGELIST images, int image, const char* label, HFONT font)
{
    HDC dc = item->hDC;
    RECT r = item->rcItem;
    // In the system's visual style the face stays put while pressed.
    bool themed = drawThemedPushButton(item->hwndItem, dc, r, item->itemState);
    if (!themed) {
        FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
        UINT frame = DFCS_BUTTONPUSH;
        if (item->itemState & ODS_SELECTED)
            frame |= DFCS_PUSHED;
        if (item->itemState & ODS_DISABLED)
            frame |= DFCS_INACTIVE;
        DrawFrameControl(dc, &r, DFC_BUTTON, frame);
    }

    HGDIOBJ oldFont = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
    int oldMode = SetBkMode(dc, TRANSPARENT);
    int w = (int)textExtent(dc, label).cx;
    int d = (!themed && (item->itemState & ODS_SELECTED)) ? px(1) : 0;
    int x = d + (r.left + r.right - w - px(20)) / 2;
    if (images) {
        ImageList_Draw(images, image, dc, x, d + (r.top + r.bottom - px(16)) / 2, ILD_TRANSPARENT);
        x += px(20);
    }
    RECT t = {x, r.top + d, x + w + px(2), r.bottom};
    SetTextColor(dc, GetSysColor((item->itemState & ODS_DISABLED) ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    drawText(dc, label, &t, DT_SINGLELINE | DT_VCENTER);
    SetBkMode(dc, oldMode);
    SelectObject(dc, oldFont);

    if (item->itemState & ODS_FOCUS) {
        RECT f = {r.left + px(4), r.top + px(4), r.right - px(4), r.bottom - px(4)};
        DrawFocusRect(dc, &f);
    }
}

