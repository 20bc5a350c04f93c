#include "log_clicks.h"

#include <richedit.h>

#include "input_actions.h"
#include "log_nicks.h"
#include "main_window.h"
#include "win_text.h"

namespace {

LRESULT CALLBACK logProc(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
    char nick[kLogNickChars + 1];
    switch (msg) {
    case WM_LBUTTONDOWN:
        // Consumed whenever a nick is hit, so the click neither moves the
        // caret nor starts a selection; the own nick is not addressed.
        if (nickAtPoint(w, (short)LOWORD(lp), (short)HIWORD(lp), nick, sizeof nick)) {
            addressClickedNick(nick);
            return 0;
        }
        break;
    case WM_LBUTTONDBLCLK:
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
                nickAtPoint(w, p.x, p.y, nick, sizeof nick)) {
                SetCursor(hand);
                return TRUE;
            }
        }
        break;
    }
    return callWindowProcedure(mainWnd.previousLogProc, w, msg, wp, lp);
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

    char text[kLogLineChars + 1];
    size_t n = getEditLine(log, (int)line, text, sizeof text);
    return nickInLine(text, n, (size_t)(at - first), nick, cap);
}

void wrapLogProcedure(HWND log)
{
    if (!log)
        return;
    mainWnd.previousLogProc = subclassWindow(log, logProc);
}
