// Painting of the main window's owner-drawn panes, list items and buttons.
#include "main_window.h"

#include <string.h>

#include "control_ids.h"
#include "drawing.h"
#include "fonts.h"
#include "session_state.h"

namespace {

void drawTextIn(HDC dc, RECT r, const char* text, HFONT font, COLORREF color, UINT flags)
{
    HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, color);
    DrawTextA(dc, text, -1, &r, flags | DT_NOPREFIX);
    SelectObject(dc, old);
}

// The panes whose full drawing comes with the status displays: a plain,
// readable version in the panel colour.
void drawPane(const DRAWITEMSTRUCT* d)
{
    RECT r = d->rcItem;
    char text[256] = "";
    HFONT font = fontUiBold;
    UINT flags = DT_SINGLELINE | DT_VCENTER | DT_LEFT;
    COLORREF bg = session.colors.panel;
    switch (d->CtlID) {
    case IdHeader:
        formatText(text, sizeof text, "  %s", session.chatTitle.s);
        font = fontTitle;
        break;
    case IdPeopleHeader:
        formatText(text, sizeof text, " Сейчас в чате: %d", session.connected ? session.userCount : 0);
        break;
    case IdRoomsHeader:
        copyText(text, sizeof text, " Комнаты и команды");
        break;
    case IdNickLabel:
        copyText(text, sizeof text, session.ownNick.empty() ? session.loginNick.s : session.ownNick.s);
        bg = GetSysColor(COLOR_BTNFACE);
        break;
    case IdClock: {
        DWORD secs = session.connected ? (GetTickCount() - session.connectTick) / 1000 : 0;
        formatText(text, sizeof text, "%02lu:%02lu:%02lu", (unsigned long)(secs / 3600),
                   (unsigned long)(secs / 60 % 60), (unsigned long)(secs % 60));
        font = fontMono;
        flags = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
        bg = GetSysColor(COLOR_BTNFACE);
        break;
    }
    case IdTopic:
        GetWindowTextA(d->hwndItem, text, sizeof text);
        font = fontUi;
        bg = GetSysColor(COLOR_BTNFACE);
        break;
    case IdBanner:
        bg = GetSysColor(COLOR_BTNFACE);
        break;
    default:
        return;
    }
    fillSolid(d->hDC, r, bg);
    drawTextIn(d->hDC, r, text, font, RGB(0, 0, 0), flags);
}

void drawUserItem(const DRAWITEMSTRUCT* d)
{
    if (d->itemID == (UINT)-1)
        return;
    bool selected = (d->itemState & ODS_SELECTED) != 0;
    fillSolid(d->hDC, d->rcItem, GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if ((int)d->itemID >= session.userCount)
        return;
    const UserEntry& u = session.users[d->itemID];
    bool ignored = isIgnored(session, u.nick.s);
    if (mainWnd.peopleImages)
        ImageList_Draw(mainWnd.peopleImages, ignored ? 6 : (int)classifyStatus(u.status.s), d->hDC,
                       d->rcItem.left + 2, d->rcItem.top + 1, ILD_TRANSPARENT);
    RECT r = d->rcItem;
    r.left += 22;
    drawTextIn(d->hDC, r, u.nick.s, fontUiBold, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : u.color,
               DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS);
}

} // namespace

void paintOwnerDrawn(const DRAWITEMSTRUCT* d)
{
    if (d->CtlType == ODT_STATIC) {
        if (d->CtlID == IdBottomPanel) {
            RECT r = d->rcItem;
            FillRect(d->hDC, &r, GetSysColorBrush(COLOR_BTNFACE));
            DrawEdge(d->hDC, &r, EDGE_RAISED, BF_TOP | BF_BOTTOM);
            return;
        }
        drawPane(d);
        return;
    }
    if (d->CtlID == IdUserList) {
        drawUserItem(d);
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
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    UINT frame = DFCS_BUTTONPUSH;
    if (item->itemState & ODS_SELECTED)
        frame |= DFCS_PUSHED;
    if (item->itemState & ODS_DISABLED)
        frame |= DFCS_INACTIVE;
    DrawFrameControl(dc, &r, DFC_BUTTON, frame);

    HGDIOBJ oldFont = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
    int oldMode = SetBkMode(dc, TRANSPARENT);
    SIZE size = {0, 0};
    GetTextExtentPoint32A(dc, label, (int)strlen(label), &size);
    int w = size.cx;
    int d = (item->itemState & ODS_SELECTED) ? 1 : 0;
    int x = d + (r.left + r.right - w - 20) / 2;
    if (images) {
        ImageList_Draw(images, image, dc, x, d + (r.top + r.bottom - 16) / 2, ILD_TRANSPARENT);
        x += 20;
    }
    RECT t = {x, r.top + d, x + w + 2, r.bottom};
    SetTextColor(dc, GetSysColor((item->itemState & ODS_DISABLED) ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    DrawTextA(dc, label, -1, &t, DT_SINGLELINE | DT_VCENTER);
    SetBkMode(dc, oldMode);
    SelectObject(dc, oldFont);

    if (item->itemState & ODS_FOCUS) {
        RECT f = {r.left + 4, r.top + 4, r.right - 4, r.bottom - 4};
        DrawFocusRect(dc, &f);
    }
}

