#include "log/win_chat_log.h"

#include <richedit.h>

#include "base/bounded.h"
#include "base/utf8.h"
#include "toolkit/win_text.h"

namespace {

const long kMaxLogChars = 900000;      // beyond this the log starts afresh
const size_t kMaxLineText = 1000;      // characters of a line's text shown
const Color kColorTimestamp = 0x00808080;  // #808080
const LONG kPastTheEnd = 0x7FFFFFF0;   // the control puts such a position at the end
// Deleting text costs some rich edit implementations (Wine's) time that grows
// with the square of the lines deleted: a log of more lines than this is
// emptied by replacing the control rather than its text.
const LRESULT kEmptyInPlaceLines = 500;
enum { kOpeningCap = 2048 };           // RTF header with a full colour table

bool present(const char* s) { return s && s[0] != '\0'; }

// The number of character positions in the control, as selection positions
// count them. Rich edit 2 and later keep a paragraph end as a single CR and
// EM_GETTEXTLENGTHEX (GTL_DEFAULT | GTL_NUMCHARS) counts it once; it is
// asked first, as it answers from what the control keeps, whereas
// WM_GETTEXTLENGTH converts the whole text on some implementations (Wine)
// and reports CR LF, two per line. Rich edit 1 keeps CR LF itself, where
// WM_GETTEXTLENGTH is the right count; it does not know EM_GETTEXTLENGTHEX
// and answers 0 to it, as an empty control does.
long characterCount(HWND edit)
{
    GETTEXTLENGTHEX query;
    query.flags = GTL_DEFAULT | GTL_NUMCHARS;
    query.codepage = CP_ACP;
    LRESULT positions = SendMessageA(edit, EM_GETTEXTLENGTHEX, (WPARAM)&query, 0);
    if (positions > 0)
        return (long)positions;
    LRESULT plain = SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0);
    return (long)(plain > 0 ? plain : 0);
}

// Rich edit 1 ("RICHEDIT") keeps a line end as CR LF, two positions.
int breakWidthOf(HWND edit)
{
    char cls[32] = "";
    GetClassNameA(edit, cls, sizeof cls);
    return lstrcmpiA(cls, "RICHEDIT") == 0 ? 2 : 1;
}

void selectEnd(HWND edit)
{
    CHARRANGE end = {kPastTheEnd, kPastTheEnd};
    SendMessageA(edit, EM_EXSETSEL, 0, (LPARAM)&end);
}

// Hands the control the parts of one RTF text in turn.
struct RtfParts {
    const char* data[3];
    size_t size[3];
    int part;
    size_t pos;
};

DWORD CALLBACK readRtfParts(DWORD_PTR cookie, LPBYTE buffer, LONG want, LONG* got)
{
    RtfParts* r = (RtfParts*)cookie;
    LONG n = 0;
    while (n < want && r->part < 3) {
        size_t left = r->size[r->part] - r->pos;
        if (left == 0) {
            r->part++;
            r->pos = 0;
            continue;
        }
        size_t take = left < (size_t)(want - n) ? left : (size_t)(want - n);
        CopyMemory(buffer + n, r->data[r->part] + r->pos, take);
        r->pos += take;
        n += (LONG)take;
    }
    *got = n;
    return 0;
}

}  // namespace

const char* loadRichEdit()
{
    static bool tried;
    static const char* className;
    if (!tried) {
        tried = true;
        // Msftedit's rich edit (Windows XP SP1 on) binds a font to every
        // script and shows characters outside the Basic Multilingual Plane,
        // emoji among them; riched20's of Windows 2000 and XP does neither.
        if (unicodeWindows() && LoadLibraryA("msftedit.dll"))
            className = "RICHEDIT50W";
        else if (LoadLibraryA("riched20.dll"))
            className = unicodeWindows() ? "RichEdit20W" : "RichEdit20A";
        else if (LoadLibraryA("riched32.dll"))
            className = "RICHEDIT";
    }
    return className;
}

void setChatLogBackground(HWND edit, Color c)
{
    SendMessageA(edit, EM_SETBKGNDCOLOR, 0, (LPARAM)(COLORREF)c);
}

void RichEditChatLog::appendPiece(const char* text, Color color, bool bold)
{
    appendRun(text, (size_t)-1, color, bold ? kRunBold : 0);
}

long RichEditChatLog::appendRun(const char* text, size_t length, Color color, unsigned style)
{
    if (!edit)
        return 0;
    if (countStale) {
        count = characterCount(edit);
        rtf.breakWidth = breakWidthOf(edit);
        countStale = false;
    }
    if (count > kMaxLogChars) {
        // Every earlier line is lost, the pieces not yet in the control too.
        emptyControl();
        clearLogRtf(rtf);
        clearLinkSpans(links);
        count = 0;
    }
    long begins = count;
    size_t positions = 0;
    if (!appendLogRtfRun(rtf, text ? text : "", length, color, style, &positions)) {
        putPiecesIn();
        appendLogRtfRun(rtf, text ? text : "", length, color, style, &positions);  // an empty composition takes it
    }
    count += (long)positions;
    if (!inLine && !batching)
        showNewest();
    return begins;
}

// The composed pieces go into the control at its end, in one insertion,
// without an undo step; its redrawing is held until showNewest.
void RichEditChatLog::putPiecesIn()
{
    if (rtf.pieces == 0)
        return;
    if (!redrawHeld) {
        SendMessageA(edit, WM_SETREDRAW, FALSE, 0);
        redrawHeld = true;
    }
    char opening[kOpeningCap];
    size_t n = logRtfOpening(rtf, opening, sizeof opening);
    RtfParts parts = {{opening, rtf.body, "}"}, {n, rtf.bodyLength, 1}, 0, 0};
    EDITSTREAM stream = {(DWORD_PTR)&parts, 0, readRtfParts};
    CHARRANGE selection = {0, 0};
    POINT scrolled = {0, 0};
    LRESULT firstLine = 0;
    if (viewKept) {
        SendMessageA(edit, EM_EXGETSEL, 0, (LPARAM)&selection);
        SendMessageA(edit, EM_GETSCROLLPOS, 0, (LPARAM)&scrolled);
        firstLine = SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0);
    }
    selectEnd(edit);
    SendMessageA(edit, EM_STREAMIN, SF_RTF | SFF_SELECTION, (LPARAM)&stream);
    SendMessageA(edit, EM_EMPTYUNDOBUFFER, 0, 0);
    clearLogRtf(rtf);
    if (viewKept) {
        SendMessageA(edit, EM_EXSETSEL, 0, (LPARAM)&selection);
        // Rich edit 1 knows no scroll position: its first line is put back.
        if (rtf.breakWidth == 2)
            SendMessageA(edit, EM_LINESCROLL, 0, firstLine - SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0));
        else
            SendMessageA(edit, EM_SETSCROLLPOS, 0, (LPARAM)&scrolled);
    }
}

// Puts in what is composed, then shows the end of the log: the caret after
// the last character and the view scrolled to the very bottom, even when the
// user had scrolled back; then the control redraws once.
void RichEditChatLog::showNewest()
{
    putPiecesIn();
    if (redrawHeld) {
        if (!viewKept) {
            selectEnd(edit);
            SendMessageA(edit, EM_SCROLLCARET, 0, 0);
            SendMessageA(edit, WM_VSCROLL, SB_BOTTOM, 0);
        }
        SendMessageA(edit, WM_SETREDRAW, TRUE, 0);
        redrawHeld = false;
        RedrawWindow(edit, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
    }
    countStale = true;
}

void RichEditChatLog::logLine(const char* timestamp, const char* prefix, const char* nick, Color nickColor,
                              const char* text, Color textColor)
{
    logMarkedLine(timestamp, prefix, nick, nickColor, text, textColor, 0);
}

void RichEditChatLog::logMarkedLine(const char* timestamp, const char* prefix, const char* nick, Color nickColor,
                                    const char* text, Color textColor, unsigned marks)
{
    if (!edit)
        return;

    // Time stamps and nicks come from the server with no length limit: each
    // is cut to 255 characters, and the bounded formatting keeps the result
    // inside the buffer whatever the source.
    inLine = true;
    char piece[3 * kMaxLineText + 8];
    char cut[3 * 255 + 1];
    if (session.settings.timestamps && present(timestamp)) {
        copyUnits(cut, sizeof cut, timestamp, (size_t)-1, 255);
        formatText(piece, sizeof piece, "[%s] ", cut);
        appendPiece(piece, kColorTimestamp, false);
    }
    if (present(prefix))
        appendPiece(prefix, textColor, true);
    if (present(nick)) {
        copyUnits(cut, sizeof cut, nick, (size_t)-1, 255);
        formatText(piece, sizeof piece, "<%s> ", cut);
        appendPiece(piece, nickColor, true);
    }
    const char* t = text ? text : "";
    size_t n = utf8BytesForUnits(t, (size_t)-1, kMaxLineText);
    unsigned style = (marks & kLineMention) ? kRunMarked : 0;
    size_t at = 0, start = 0, end = 0;
    while ((marks & kLineLinks) && findLink(t, n, at, &start, &end)) {
        if (start > at)
            appendRun(t + at, start - at, textColor, style);
        long begins = appendRun(t + start, end - start, textColor, style | kRunUnderline);
        addLinkSpan(links, (int32_t)begins, (int32_t)count);
        at = end;
    }
    if (style == 0) {
        formatText(piece, sizeof piece, "%.*s\r\n", (int)(n - at), t + at);
        appendPiece(piece, textColor, false);
    } else {
        if (n > at)
            appendRun(t + at, n - at, textColor, style);
        appendRun("\r\n", 2, textColor, 0);
    }
    inLine = false;
    if (!batching)
        showNewest();
}

void RichEditChatLog::keepView(bool keep)
{
    viewKept = keep;
    // The last match stays selected, for the next search to go on from.
    if (!keep && edit && !batching)
        SendMessageA(edit, WM_VSCROLL, SB_BOTTOM, 0);
}

void RichEditChatLog::clearLog()
{
    if (!edit)
        return;
    emptyControl();
    clearLogRtf(rtf);
    clearLinkSpans(links);
    count = 0;
}

void RichEditChatLog::emptyControl()
{
    if (SendMessageA(edit, EM_GETLINECOUNT, 0, 0) > kEmptyInPlaceLines)
        replaceControl();
    else
        setWindowText(edit, "");
}

void RichEditChatLog::beginBatch()
{
    batching = true;
    countStale = true;
}

void RichEditChatLog::endBatch()
{
    if (!batching)
        return;
    batching = false;
    if (edit && (rtf.pieces > 0 || redrawHeld))
        showNewest();
}

// A fresh control takes the place of the current one, which is destroyed
// with its text: the window order, position, styles, font, background, text
// limit, event mask, window procedure (a subclass wraps the class procedure
// both share), user data and the keyboard focus carry over.
void RichEditChatLog::replaceControl()
{
    HWND old = edit;
    if (redrawHeld) {
        SendMessageA(old, WM_SETREDRAW, TRUE, 0);  // gives the style back its visibility
        redrawHeld = false;
    }
    HWND parent = GetParent(old);
    char cls[32] = "";
    GetClassNameA(old, cls, sizeof cls);
    RECT r;
    GetWindowRect(old, &r);
    MapWindowPoints(HWND_DESKTOP, parent, (POINT*)&r, 2);
    HWND fresh = createWindow((DWORD)GetWindowLongPtrA(old, GWL_EXSTYLE), cls, "", (DWORD)GetWindowLongPtrA(old, GWL_STYLE),
                              r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                              (HMENU)(INT_PTR)GetDlgCtrlID(old), (HINSTANCE)GetWindowLongPtrA(old, GWLP_HINSTANCE));
    if (!fresh) {
        setWindowText(old, "");  // slow for a long log, but emptied all the same
        return;
    }
    if (HFONT font = (HFONT)SendMessageA(old, WM_GETFONT, 0, 0))
        SendMessageA(fresh, WM_SETFONT, (WPARAM)font, FALSE);
    SendMessageA(fresh, EM_EXLIMITTEXT, 0, SendMessageA(old, EM_GETLIMITTEXT, 0, 0));
    SendMessageA(fresh, EM_SETEVENTMASK, 0, SendMessageA(old, EM_GETEVENTMASK, 0, 0));
    // The control answers a new background with the one it had.
    COLORREF background = (COLORREF)SendMessageA(old, EM_SETBKGNDCOLOR, 0, 0);
    SendMessageA(fresh, EM_SETBKGNDCOLOR, 0, (LPARAM)background);
    WNDPROC procedure = windowProcedure(old);
    if (procedure != windowProcedure(fresh))
        subclassWindow(fresh, procedure);
    SetWindowLongPtrA(fresh, GWLP_USERDATA, GetWindowLongPtrA(old, GWLP_USERDATA));
    SetWindowPos(fresh, old, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    bool focused = GetFocus() == old;
    DestroyWindow(old);
    if (focused)
        SetFocus(fresh);
    edit = fresh;
    if (windowCopy)
        *windowCopy = fresh;
}
