#include "log/win_log_clicks.h"

#include <richedit.h>

#include "base/utf8.h"
#include "input/input_actions.h"
#include "log/log_nicks.h"
#include "toolkit/win_text.h"
#include "toolkit/win_web_open.h"

const LinkSpans* logLinks;

namespace {

WNDPROC previousLogProc;

enum { kAddressCap = 1024 };

bool linkHit(HWND w, LPARAM lp, char* address)
{
    return logLinks && linkAtPoint(w, *logLinks, (short)LOWORD(lp), (short)HIWORD(lp), address, kAddressCap);
}

LRESULT CALLBACK logProc(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
    char nick[kLogNickBytes];
    char address[kAddressCap];
    switch (msg) {
    case WM_LBUTTONDOWN:
        if (linkHit(w, lp, address)) {
            openWebAddress(address);
            return 0;
        }
        // Consumed whenever a nick is hit, so the click neither moves the
        // caret nor starts a selection; the own nick is not addressed.
        if (nickAtPoint(w, (short)LOWORD(lp), (short)HIWORD(lp), nick, sizeof nick)) {
            addressClickedNick(nick);
            return 0;
        }
        break;
    case WM_LBUTTONDBLCLK:
        if (linkHit(w, lp, address))
            return 0;
        if (nickAtPoint(w, (short)LOWORD(lp), (short)HIWORD(lp), nick, sizeof nick)) {
            startPrivate(nick);
            return 0;
        }
        break;
    case WM_SETCURSOR:
        // Over the client area only: over the scroll bar the nearest
        // character of the text would otherwise still count.
        if (LOWORD(lp) == HTCLIENT) {
            POINT p;
            HCURSOR hand = LoadCursorA(nullptr, (LPCSTR)IDC_HAND);
            if (hand && GetCursorPos(&p) && ScreenToClient(w, &p) &&
                ((logLinks && linkAtPoint(w, *logLinks, p.x, p.y, address, sizeof address)) ||
                 nickAtPoint(w, p.x, p.y, nick, sizeof nick))) {
                SetCursor(hand);
                return TRUE;
            }
        }
        break;
    }
    return callWindowProcedure(previousLogProc, w, msg, wp, lp);
}

} // namespace

bool nickAtPoint(HWND log, int x, int y, char* nick, size_t cap)
{
    if (cap > 0)
        nick[0] = '\0';
    POINTL point = {x, y};
    LRESULT at = SendMessageA(log, EM_CHARFROMPOS, 0, (LPARAM)&point);
    if (at < 0)
        return false;
    LRESULT line = SendMessageA(log, EM_EXLINEFROMCHAR, 0, at);
    LRESULT first = SendMessageA(log, EM_LINEINDEX, (WPARAM)line, 0);
    if (first < 0 || first > at)
        return false;

    char text[kLogLineBytes];
    size_t n = getEditLine(log, (int)line, text, sizeof text);
    // The control's position counts characters (UTF-16 units); the line is
    // searched by its bytes.
    size_t p = utf8BytesForUnits(text, n, (size_t)(at - first));
    return nickInLine(text, n, p, nick, cap);
}

bool linkAtPoint(HWND log, const LinkSpans& links, int x, int y, char* address, size_t cap)
{
    if (cap > 0)
        address[0] = '\0';
    if (links.count == 0)
        return false;
    POINTL point = {x, y};
    LRESULT at = SendMessageA(log, EM_CHARFROMPOS, 0, (LPARAM)&point);
    int32_t start = 0, end = 0;
    if (at < 0 || !linkSpanAt(links, (int32_t)at, &start, &end))
        return false;
    char link[kAddressCap];
    size_t n = getTextRange(log, start, end, link, sizeof link);
    return linkAddress(link, n, address, cap);
}

void wrapLogProcedure(HWND log)
{
    if (!log)
        return;
    previousLogProc = subclassWindow(log, logProc);
}
