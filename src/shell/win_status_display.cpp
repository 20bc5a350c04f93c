#include "shell/win_status_display.h"

#include <string.h>

#include "session/host.h"
#include "session/reconnect.h"
#include "session/session_state.h"
#include "session/site.h"
#include "shell/control_ids.h"
#include "shell/status_texts.h"
#include "shell/win_background_calls.h"
#include "shell/win_main_window.h"
#include "toolkit/win_dpi.h"
#include "toolkit/win_drawing.h"
#include "toolkit/win_fonts.h"
#include "toolkit/win_text.h"

namespace {

const COLORREF kClockOnline = RGB(0x00, 0x00, 0x80);
const COLORREF kClockOffline = RGB(0xA0, 0xA0, 0xA0);
const Color kNickFallback = 0x00800000;  // #000080
const char kTagline[] = "точка входа в Zumbara  ~  чат";

uint32_t now() { return ports.host ? ports.host->tickCount() : (uint32_t)GetTickCount(); }

HGDIOBJ font(HFONT f) { return f ? (HGDIOBJ)f : GetStockObject(DEFAULT_GUI_FONT); }

void drawIn(HDC dc, RECT r, const char* text, HFONT f, COLORREF color, UINT format)
{
    SelectObject(dc, font(f));
    SetTextColor(dc, color);
    drawText(dc, text, &r, format | DT_SINGLELINE | DT_NOPREFIX);
}

COLORREF nickColor() { return parseColor(session.nickColor.s, kNickFallback); }

void setPartIfChanged(int i, const char* text)
{
    char old[kStatusPartCap];
    getStatusPart(mainWnd.statusBar, i, old, sizeof old);
    if (strcmp(old, text) != 0)
        setStatusPart(mainWnd.statusBar, i, text);
}

// The right edges of the five parts, set when they differ from the bar's.
// The countdown of a reconnect is longer than the first part; the parts
// after it are empty meanwhile, so the first takes their room.
void setStatusBarParts(bool wideFirstPart)
{
    if (!mainWnd.statusBar)
        return;
    int edges[kStatusBarParts] = {px(wideFirstPart ? 470 : 240), px(wideFirstPart ? 470 : 380), px(470), px(560), -1};
    int now[kStatusBarParts] = {};
    LRESULT count = SendMessageA(mainWnd.statusBar, SB_GETPARTS, kStatusBarParts, (LPARAM)now);
    if (count == kStatusBarParts && now[0] == edges[0] && now[1] == edges[1])
        return;
    SendMessageA(mainWnd.statusBar, SB_SETPARTS, kStatusBarParts, (LPARAM)edges);
}

} // namespace

void refreshStatusDisplays()
{
    const SessionState& s = session;
    char parts[kStatusBarParts][kStatusPartCap];
    statusBarTexts(s, parts);
    setStatusBarParts(!s.connected && reconnectStatusText(parts[0], kStatusPartCap));
    if (mainWnd.statusBar)
        for (int i = 0; i < kStatusBarParts; i++)
            setPartIfChanged(i, parts[i]);

    char title[3 * 200];
    if (int calls = backgroundCallCount())
        formatText(title, sizeof title, "(%d) %s — %s", calls, s.chatTitle.s, kProductName);
    else
        formatText(title, sizeof title, "%s — %s", s.chatTitle.s, kProductName);
    char oldTitle[3 * 200];
    getWindowText(mainWnd.hwnd, oldTitle, sizeof oldTitle);
    if (strcmp(oldTitle, title) != 0)
        setWindowText(mainWnd.hwnd, title);

    repaintLater(mainWnd.header, false);
    repaintLater(mainWnd.nickLabel, false);
    repaintLater(mainWnd.peopleHeader, false);

    if (HMENU menu = GetMenu(mainWnd.hwnd))
        EnableMenuItem(menu, CmdAdminPanel, MF_BYCOMMAND | (adminPanelAvailable(s) ? MF_ENABLED : MF_GRAYED));
}

void onStatusTick()
{
    repaintLater(mainWnd.clock, false);
    if (session.connected && mainWnd.header) {
        RECT r;
        GetClientRect(mainWnd.header, &r);
        r.left = r.right - px(kHeaderClockWidth);
        repaintLater(mainWnd.header, false, &r);
    }
}

void paintHeaderStrip(const DRAWITEMSTRUCT* item)
{
    HDC dc = item->hDC;
    const RECT& r = item->rcItem;
    ScopedDcState state(dc);

    fillBrandBand(dc, r);
    if (mainWnd.logoImages)
        ImageList_Draw(mainWnd.logoImages, 0, dc, r.left + px(8), r.top + (r.bottom - r.top - px(48)) / 2 - px(1),
                       ILD_TRANSPARENT);
    int w = drawWordmark(dc, r.left + px(62), r.top + px(8), fontLogo, portalDomainSuffix());

    SetBkMode(dc, TRANSPARENT);
    RECT tagline = {r.left + px(64), r.top + px(40), r.left + w + px(124), r.top + px(54)};
    drawIn(dc, tagline, kTagline, fontSmall, kCaptionGrey, DT_LEFT | DT_TOP);

    RECT title = {r.left + px(62) + w + px(40), r.top, r.right - px(kHeaderClockWidth), r.bottom};
    if (title.right - title.left > px(kTitleMinWidth)) {
        SelectObject(dc, font(fontTitle));
        drawShadowTextRect(dc, session.chatTitle.s, title,
                           DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS, kBrandBlue,
                           RGB(0xFF, 0xFF, 0xFF));
    }

    char text[kPaneTextCap];
    headerLagText(session, text, sizeof text);
    RECT lag = {r.right - px(124), r.top + px(6), r.right - px(6), r.top + px(20)};
    drawIn(dc, lag, text, fontUiBold, kCaptionGrey, DT_RIGHT);

    headerTimeText(session, now(), text, sizeof text);
    RECT online = {r.right - px(124), r.top + px(21), r.right - px(6), r.top + px(35)};
    drawIn(dc, online, text, fontMono, kBrandBlue, DT_RIGHT);

    RECT swatch = {r.right - px(46), r.top + px(38), r.right - px(6), r.top + px(50)};
    fillSolid(dc, swatch, nickColor());
    DrawEdge(dc, &swatch, EDGE_SUNKEN, BF_RECT);
}

void paintPeopleHeader(const DRAWITEMSTRUCT* item)
{
    char text[kPaneTextCap];
    peopleHeaderText(session, text, sizeof text);
    drawSectionHeader(item->hDC, item->rcItem, text, mainWnd.peopleImages, 0, session.colors.panel);
}

void paintRoomsHeader(const DRAWITEMSTRUCT* item)
{
    drawSectionHeader(item->hDC, item->rcItem, "Комнаты и команды", mainWnd.toolbarImages, 3, session.colors.panel);
}

void paintNickLabel(const DRAWITEMSTRUCT* item)
{
    HDC dc = item->hDC;
    ScopedDcState state(dc);
    fillSolid(dc, item->rcItem, GetSysColor(COLOR_BTNFACE));
    SetBkMode(dc, TRANSPARENT);
    char text[kPaneTextCap];
    ownNickLabelText(session, text, sizeof text);
    COLORREF color = session.connected ? nickColor() : GetSysColor(COLOR_GRAYTEXT);
    drawIn(dc, item->rcItem, text, fontUiBold, color, DT_LEFT | DT_VCENTER);
}

void paintClock(const DRAWITEMSTRUCT* item)
{
    HDC dc = item->hDC;
    ScopedDcState state(dc);
    RECT r = item->rcItem;
    fillSolid(dc, r, RGB(0xFF, 0xFF, 0xFF));
    DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT);
    SetBkMode(dc, TRANSPARENT);
    char text[kPaneTextCap];
    clockText(session, now(), text, sizeof text);
    drawIn(dc, item->rcItem, text, fontMono, session.connected ? kClockOnline : kClockOffline,
           DT_CENTER | DT_VCENTER);
}
