// The texts of windows and controls: titles, edit and list texts, status
// bar parts, toolbar labels, tooltips, message boxes and web links.
#include "toolkit/win_text.h"

#include <commctrl.h>
#include <richedit.h>
#include <shellapi.h>
#include <string.h>

#include "toolkit/win_text_wide.h"

using namespace widetext;

namespace {

// A tooltip's text stays here until the next request.
WCHAR tooltipBuffer[256];
char tooltipAnsi[256];

} // namespace

void setWindowText(HWND window, const char* text)
{
    if (!useWide()) {
        Ansi a(text);
        SetWindowTextA(window, a.orNull(text));
        return;
    }
    Wide w(text);
    wide.setWindowText(window, w.s);
}

size_t getWindowText(HWND window, char* text, size_t cap)
{
    if (cap == 0)
        return 0;
    text[0] = '\0';
    if (!useWide()) {
        char a[kWindowTextChars + 1];
        int n = GetWindowTextA(window, a, (int)unitsFor(cap));
        return fromAnsi(a, n > 0 ? (size_t)n : 0, text, cap);
    }
    WCHAR w[kWindowTextChars + 1];
    int n = wide.getWindowText(window, w, (int)unitsFor(cap));
    return narrow(w, n > 0 ? (size_t)n : 0, text, cap);
}

int windowTextLength(HWND window)
{
    return useWide() ? wide.getWindowTextLength(window) : GetWindowTextLengthA(window);
}

void setItemText(HWND dialog, int id, const char* text) { setWindowText(GetDlgItem(dialog, id), text); }

size_t getItemText(HWND dialog, int id, char* text, size_t cap)
{
    return getWindowText(GetDlgItem(dialog, id), text, cap);
}

LRESULT addListItem(HWND list, const char* text)
{
    if (!useWide())
        return SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)Ansi(text).s);
    Wide w(text);
    return wide.sendMessage(list, LB_ADDSTRING, 0, lp(w.s));
}

LRESULT addComboItem(HWND combo, const char* text)
{
    if (!useWide())
        return SendMessageA(combo, CB_ADDSTRING, 0, (LPARAM)Ansi(text).s);
    Wide w(text);
    return wide.sendMessage(combo, CB_ADDSTRING, 0, lp(w.s));
}

void setStatusPart(HWND bar, int part, const char* text)
{
    if (!useWide()) {
        SendMessageA(bar, SB_SETTEXTA, (WPARAM)part, (LPARAM)Ansi(text).s);
        return;
    }
    Wide w(text);
    wide.sendMessage(bar, SB_SETTEXTW, (WPARAM)part, lp(w.s));
}

size_t getStatusPart(HWND bar, int part, char* text, size_t cap)
{
    if (cap == 0)
        return 0;
    text[0] = '\0';
    // SB_GETTEXT copies the whole part: only a part that fits is read.
    if (!useWide()) {
        char a[kWindowTextChars + 1];
        if (LOWORD(SendMessageA(bar, SB_GETTEXTLENGTHA, (WPARAM)part, 0)) > kWindowTextChars)
            return 0;
        size_t n = LOWORD(SendMessageA(bar, SB_GETTEXTA, (WPARAM)part, (LPARAM)a));
        return fromAnsi(a, n, text, cap);
    }
    WCHAR w[kWindowTextChars + 1];
    size_t n = LOWORD(wide.sendMessage(bar, SB_GETTEXTLENGTHW, (WPARAM)part, 0));
    if (n > kWindowTextChars)
        return 0;
    n = LOWORD(wide.sendMessage(bar, SB_GETTEXTW, (WPARAM)part, (LPARAM)w));
    return narrow(w, n, text, cap);
}

void addToolbarLabels(HWND toolbar, const char* labels)
{
    // The whole list with its inner NULs, and the empty label that ends it.
    size_t n = 0;
    while (labels[n] != '\0' || labels[n + 1] != '\0')
        n++;
    n += 2;
    if (!useWide()) {
        char a[kWindowTextChars + 1];
        size_t bytes = utf8ToCodePage(conversionText(), labels, n, a, kWindowTextChars - 1);
        a[bytes] = '\0';
        a[bytes + 1] = '\0';
        SendMessageA(toolbar, TB_ADDSTRINGA, 0, (LPARAM)a);
        return;
    }
    WCHAR w[kWindowTextChars + 1];
    size_t units = utf8ToUtf16(labels, n, (Utf16Unit*)w, kWindowTextChars - 1);
    w[units] = L'\0';
    w[units + 1] = L'\0';
    wide.sendMessage(toolbar, TB_ADDSTRINGW, 0, lp(w));
}

bool answerTooltip(NMHDR* notification, const char* (*textOf)(int id))
{
    if (notification->code == TTN_GETDISPINFOA) {
        NMTTDISPINFOA* info = (NMTTDISPINFOA*)notification;
        const char* text = textOf((int)notification->idFrom);
        size_t n = text ? strlen(text) : 0;
        tooltipAnsi[utf8ToCodePage(conversionText(), text, n, tooltipAnsi, sizeof tooltipAnsi - 1)] = '\0';
        info->lpszText = tooltipAnsi;
        info->hinst = nullptr;
        return true;
    }
    if (notification->code == TTN_GETDISPINFOW) {
        NMTTDISPINFOW* info = (NMTTDISPINFOW*)notification;
        const char* text = textOf((int)notification->idFrom);
        size_t n = text ? strlen(text) : 0;
        size_t cap = sizeof tooltipBuffer / sizeof tooltipBuffer[0] - 1;
        tooltipBuffer[utf8ToUtf16(text, n, (Utf16Unit*)tooltipBuffer, cap)] = L'\0';
        info->lpszText = tooltipBuffer;
        info->hinst = nullptr;
        return true;
    }
    return false;
}

size_t getEditLine(HWND edit, int line, char* text, size_t cap)
{
    if (cap == 0)
        return 0;
    text[0] = '\0';
    // EM_GETLINE reads the buffer's size, in characters, from its first
    // word and copies the line without a terminating NUL.
    LRESULT n;
    if (!useWide()) {
        char a[kWindowTextChars + 1];
        WORD size = (WORD)(unitsFor(cap) - 1);
        memcpy(a, &size, sizeof size);
        n = SendMessageA(edit, EM_GETLINE, (WPARAM)line, (LPARAM)a);
        n = n < 0 ? 0 : (n > (LRESULT)size ? (LRESULT)size : n);
        n = (LRESULT)fromAnsi(a, (size_t)n, text, cap);
    } else {
        WCHAR w[kWindowTextChars + 1];
        WORD size = (WORD)(unitsFor(cap) - 1);
        memcpy(w, &size, sizeof size);
        n = wide.sendMessage(edit, EM_GETLINE, (WPARAM)line, lp(w));
        n = n < 0 ? 0 : (n > (LRESULT)size ? (LRESULT)size : n);
        n = (LRESULT)narrow(w, (size_t)n, text, cap);
    }
    while (n > 0 && (text[n - 1] == '\r' || text[n - 1] == '\n'))
        text[--n] = '\0';
    return (size_t)n;
}

void replaceEditSelection(HWND edit, const char* text)
{
    if (!useWide()) {
        SendMessageA(edit, EM_REPLACESEL, TRUE, (LPARAM)Ansi(text).s);
        return;
    }
    Wide w(text);
    wide.sendMessage(edit, EM_REPLACESEL, TRUE, lp(w.s));
}

size_t getTextRange(HWND edit, long from, long to, char* text, size_t cap)
{
    if (cap == 0)
        return 0;
    text[0] = '\0';
    if (to <= from || from < 0)
        return 0;
    // EM_GETTEXTRANGE is not converted by the system: a Unicode rich edit
    // writes UTF-16, an ANSI one ANSI text.
    if (!IsWindowUnicode(edit)) {
        char a[kWindowTextChars + 1];
        if ((size_t)(to - from) > unitsFor(cap) - 1)
            to = from + (long)(unitsFor(cap) - 1);
        TEXTRANGEA r = {{from, to}, a};
        LRESULT n = SendMessageA(edit, EM_GETTEXTRANGE, 0, (LPARAM)&r);
        n = n < 0 ? 0 : (n > to - from ? to - from : n);
        return fromAnsi(a, (size_t)n, text, cap);
    }
    WCHAR w[kWindowTextChars + 1];
    if ((size_t)(to - from) > unitsFor(cap) - 1)
        to = from + (long)(unitsFor(cap) - 1);
    TEXTRANGEW r = {{from, to}, w};
    LRESULT n = SendMessageA(edit, EM_GETTEXTRANGE, 0, (LPARAM)&r);
    n = n < 0 ? 0 : (n > to - from ? to - from : n);
    return narrow(w, (size_t)n, text, cap);
}

int messageBox(HWND owner, const char* text, const char* title, UINT flags)
{
    if (!useWide())
        return MessageBoxA(owner, Ansi(text).s, Ansi(title).s, flags);
    Wide w(text);
    Wide t(title);
    return wide.messageBox(owner, w.s, t.s, flags);
}

void openLink(HWND owner, const char* url)
{
    if (!useWide() || !wide.shellExecute) {
        ShellExecuteA(owner, "open", Ansi(url).s, nullptr, nullptr, SW_SHOWNORMAL);
        return;
    }
    Wide w(url);
    wide.shellExecute(owner, L"open", w.s, nullptr, nullptr, SW_SHOWNORMAL);
}
