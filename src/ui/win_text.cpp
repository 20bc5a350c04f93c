#include "win_text.h"

#include <commctrl.h>
#include <richedit.h>
#include <shellapi.h>
#include <string.h>

#include "codepage.h"
#include "run_time_lookup.h"

static_assert(sizeof(WCHAR) == sizeof(Utf16Unit), "UTF-16 units are WCHAR on Windows");

namespace {

// The wide functions, found at run time: Windows 95, 98 and ME have most of
// them only as stubs that fail, and the program must load there.
struct WideFunctions {
    ATOM(WINAPI* registerClass)(const WNDCLASSW*);
    HWND(WINAPI* createWindowEx)(DWORD, LPCWSTR, LPCWSTR, DWORD, int, int, int, int, HWND, HMENU, HINSTANCE, LPVOID);
    LRESULT(WINAPI* defWindowProc)(HWND, UINT, WPARAM, LPARAM);
    LRESULT(WINAPI* callWindowProc)(WNDPROC, HWND, UINT, WPARAM, LPARAM);
    LONG_PTR(WINAPI* setWindowLongPtr)(HWND, int, LONG_PTR);
    LONG_PTR(WINAPI* getWindowLongPtr)(HWND, int);
    INT_PTR(WINAPI* dialogBoxParam)(HINSTANCE, LPCWSTR, HWND, DLGPROC, LPARAM);
    HWND(WINAPI* createDialogParam)(HINSTANCE, LPCWSTR, HWND, DLGPROC, LPARAM);
    BOOL(WINAPI* isDialogMessage)(HWND, LPMSG);
    BOOL(WINAPI* getMessage)(LPMSG, HWND, UINT, UINT);
    LRESULT(WINAPI* dispatchMessage)(const MSG*);
    BOOL(WINAPI* setWindowText)(HWND, LPCWSTR);
    int(WINAPI* getWindowText)(HWND, LPWSTR, int);
    int(WINAPI* getWindowTextLength)(HWND);
    LRESULT(WINAPI* sendMessage)(HWND, UINT, WPARAM, LPARAM);
    int(WINAPI* messageBox)(HWND, LPCWSTR, LPCWSTR, UINT);
    int(WINAPI* drawText)(HDC, LPCWSTR, int, LPRECT, UINT);
    BOOL(WINAPI* textOut)(HDC, int, int, LPCWSTR, int);
    BOOL(WINAPI* getTextExtentPoint32)(HDC, LPCWSTR, int, LPSIZE);
    HINSTANCE(WINAPI* shellExecute)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);  // may be missing
};

WideFunctions wide;
enum { NotLookedUp, Unicode, Ansi } kind = NotLookedUp;


bool lookUpWideFunctions()
{
    if (windows9x())
        return false;
    HMODULE user = GetModuleHandleA("user32.dll");
    HMODULE gdi = GetModuleHandleA("gdi32.dll");
    bool all = true;
    all &= lookUpFunction(user, "RegisterClassW", wide.registerClass);
    all &= lookUpFunction(user, "CreateWindowExW", wide.createWindowEx);
    all &= lookUpFunction(user, "DefWindowProcW", wide.defWindowProc);
    all &= lookUpFunction(user, "CallWindowProcW", wide.callWindowProc);
#ifdef _WIN64
    all &= lookUpFunction(user, "SetWindowLongPtrW", wide.setWindowLongPtr);
    all &= lookUpFunction(user, "GetWindowLongPtrW", wide.getWindowLongPtr);
#else
    // 32-bit user32 has no ...LongPtr entry points; the Long ones are those.
    all &= lookUpFunction(user, "SetWindowLongW", wide.setWindowLongPtr);
    all &= lookUpFunction(user, "GetWindowLongW", wide.getWindowLongPtr);
#endif
    all &= lookUpFunction(user, "DialogBoxParamW", wide.dialogBoxParam);
    all &= lookUpFunction(user, "CreateDialogParamW", wide.createDialogParam);
    all &= lookUpFunction(user, "IsDialogMessageW", wide.isDialogMessage);
    all &= lookUpFunction(user, "GetMessageW", wide.getMessage);
    all &= lookUpFunction(user, "DispatchMessageW", wide.dispatchMessage);
    all &= lookUpFunction(user, "SetWindowTextW", wide.setWindowText);
    all &= lookUpFunction(user, "GetWindowTextW", wide.getWindowText);
    all &= lookUpFunction(user, "GetWindowTextLengthW", wide.getWindowTextLength);
    all &= lookUpFunction(user, "SendMessageW", wide.sendMessage);
    all &= lookUpFunction(user, "MessageBoxW", wide.messageBox);
    all &= lookUpFunction(user, "DrawTextW", wide.drawText);
    all &= lookUpFunction(gdi, "TextOutW", wide.textOut);
    all &= lookUpFunction(gdi, "GetTextExtentPoint32W", wide.getTextExtentPoint32);
    lookUpFunction(GetModuleHandleA("shell32.dll"), "ShellExecuteW", wide.shellExecute);
    return all;
}

bool useWide()
{
    if (kind == NotLookedUp)
        kind = lookUpWideFunctions() ? Unicode : Ansi;
    return kind == Unicode;
}

// A text in UTF-16, NUL-terminated, cut to kWindowTextChars characters.
struct Wide {
    WCHAR s[kWindowTextChars + 1];
    int length;
    explicit Wide(const char* text)
    {
        size_t n = text ? strlen(text) : 0;
        length = (int)conversionText().toUtf16(text, n, (Utf16Unit*)s, kWindowTextChars);
        s[length] = L'\0';
    }
};

// A window class name (ASCII), for which Wide's buffer would be wasteful.
struct WideName {
    WCHAR s[64];
    explicit WideName(const char* name)
    {
        size_t n = 0;
        for (; name && name[n] && n + 1 < sizeof s / sizeof s[0]; n++)
            s[n] = (WCHAR)(unsigned char)name[n];
        s[n] = L'\0';
    }
};

// n UTF-16 units into text in the conversion code page, cut to cap - 1
// bytes and terminated; returns the length.
size_t narrow(const WCHAR* units, size_t n, char* text, size_t cap)
{
    if (cap == 0)
        return 0;
    size_t got = conversionText().fromUtf16((const Utf16Unit*)units, n, text, cap - 1);
    text[got] = '\0';
    return got;
}

// How many UTF-16 units to ask for when cap bytes are to be filled.
size_t unitsFor(size_t cap) { return cap < kWindowTextChars + 1 ? cap : kWindowTextChars + 1; }

LPARAM lp(const WCHAR* s) { return (LPARAM)s; }

WCHAR tooltipBuffer[256];  // a wide tooltip text stays here until the next request

} // namespace

bool unicodeWindows() { return useWide(); }

ATOM registerWindowClass(const WNDCLASSA& wc)
{
    if (!useWide())
        return RegisterClassA(&wc);
    WideName name(wc.lpszClassName);
    WideName menu(IS_INTRESOURCE(wc.lpszMenuName) ? nullptr : wc.lpszMenuName);
    WNDCLASSW w;
    memcpy(&w, &wc, sizeof w);  // the same layout but for the two names
    w.lpszClassName = name.s;
    w.lpszMenuName = IS_INTRESOURCE(wc.lpszMenuName) ? (LPCWSTR)wc.lpszMenuName : menu.s;
    return wide.registerClass(&w);
}

HWND createWindow(DWORD exStyle, const char* className, const char* text, DWORD style, int x, int y, int width,
                  int height, HWND parent, HMENU menuOrId, HINSTANCE instance)
{
    if (!useWide())
        return CreateWindowExA(exStyle, className, text, style, x, y, width, height, parent, menuOrId, instance,
                               nullptr);
    WideName cls(className);
    Wide title(text);
    return wide.createWindowEx(exStyle, cls.s, text ? title.s : nullptr, style, x, y, width, height, parent,
                               menuOrId, instance, nullptr);
}

LRESULT defaultWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return useWide() ? wide.defWindowProc(window, message, wParam, lParam)
                     : DefWindowProcA(window, message, wParam, lParam);
}

WNDPROC subclassWindow(HWND window, WNDPROC procedure)
{
    return useWide() ? (WNDPROC)wide.setWindowLongPtr(window, GWLP_WNDPROC, (LONG_PTR)procedure)
                     : (WNDPROC)SetWindowLongPtrA(window, GWLP_WNDPROC, (LONG_PTR)procedure);
}

WNDPROC windowProcedure(HWND window)
{
    return useWide() ? (WNDPROC)wide.getWindowLongPtr(window, GWLP_WNDPROC)
                     : (WNDPROC)GetWindowLongPtrA(window, GWLP_WNDPROC);
}

LRESULT callWindowProcedure(WNDPROC previous, HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return useWide() ? wide.callWindowProc(previous, window, message, wParam, lParam)
                     : CallWindowProcA(previous, window, message, wParam, lParam);
}

INT_PTR runDialog(HINSTANCE instance, int templateId, HWND owner, DLGPROC procedure, LPARAM param)
{
    if (!useWide())
        return DialogBoxParamA(instance, MAKEINTRESOURCEA(templateId), owner, procedure, param);
    return wide.dialogBoxParam(instance, MAKEINTRESOURCEW(templateId), owner, procedure, param);
}

HWND createDialog(HINSTANCE instance, int templateId, HWND owner, DLGPROC procedure, LPARAM param)
{
    if (!useWide())
        return CreateDialogParamA(instance, MAKEINTRESOURCEA(templateId), owner, procedure, param);
    return wide.createDialogParam(instance, MAKEINTRESOURCEW(templateId), owner, procedure, param);
}

bool isDialogMessage(HWND dialog, MSG* message)
{
    if (!dialog)
        return false;
    return (useWide() ? wide.isDialogMessage(dialog, message) : IsDialogMessageA(dialog, message)) != FALSE;
}

BOOL getMessage(MSG* message)
{
    return useWide() ? wide.getMessage(message, nullptr, 0, 0) : GetMessageA(message, nullptr, 0, 0);
}

LRESULT dispatchMessage(const MSG* message)
{
    return useWide() ? wide.dispatchMessage(message) : DispatchMessageA(message);
}

void setWindowText(HWND window, const char* text)
{
    if (!useWide()) {
        SetWindowTextA(window, text);
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
        int n = GetWindowTextA(window, text, (int)cap);
        return n > 0 ? (size_t)n : 0;
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
        return SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)text);
    Wide w(text);
    return wide.sendMessage(list, LB_ADDSTRING, 0, lp(w.s));
}

LRESULT addComboItem(HWND combo, const char* text)
{
    if (!useWide())
        return SendMessageA(combo, CB_ADDSTRING, 0, (LPARAM)text);
    Wide w(text);
    return wide.sendMessage(combo, CB_ADDSTRING, 0, lp(w.s));
}

void setStatusPart(HWND bar, int part, const char* text)
{
    if (!useWide()) {
        SendMessageA(bar, SB_SETTEXTA, (WPARAM)part, (LPARAM)text);
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
        if (LOWORD(SendMessageA(bar, SB_GETTEXTLENGTHA, (WPARAM)part, 0)) >= cap)
            return 0;
        return LOWORD(SendMessageA(bar, SB_GETTEXTA, (WPARAM)part, (LPARAM)text));
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
    if (!useWide()) {
        SendMessageA(toolbar, TB_ADDSTRINGA, 0, (LPARAM)labels);
        return;
    }
    // The whole list with its inner NULs, and the empty label that ends it.
    size_t n = 0;
    while (labels[n] != '\0' || labels[n + 1] != '\0')
        n++;
    n += 2;
    WCHAR w[kWindowTextChars + 1];
    size_t units = conversionText().toUtf16(labels, n, (Utf16Unit*)w, kWindowTextChars - 1);
    w[units] = L'\0';
    w[units + 1] = L'\0';
    wide.sendMessage(toolbar, TB_ADDSTRINGW, 0, lp(w));
}

bool answerTooltip(NMHDR* notification, const char* (*textOf)(int id))
{
    if (notification->code == TTN_GETDISPINFOA) {
        NMTTDISPINFOA* info = (NMTTDISPINFOA*)notification;
        const char* text = textOf((int)notification->idFrom);
        info->lpszText = (LPSTR)(text ? text : "");
        info->hinst = nullptr;
        return true;
    }
    if (notification->code == TTN_GETDISPINFOW) {
        NMTTDISPINFOW* info = (NMTTDISPINFOW*)notification;
        const char* text = textOf((int)notification->idFrom);
        size_t n = text ? strlen(text) : 0;
        size_t cap = sizeof tooltipBuffer / sizeof tooltipBuffer[0] - 1;
        tooltipBuffer[conversionText().toUtf16(text, n, (Utf16Unit*)tooltipBuffer, cap)] = L'\0';
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
        if (cap < sizeof(WORD) + 1)
            return 0;
        WORD size = (WORD)(cap - 1 < 0xFFFF ? cap - 1 : 0xFFFF);
        memcpy(text, &size, sizeof size);
        n = SendMessageA(edit, EM_GETLINE, (WPARAM)line, (LPARAM)text);
        n = n < 0 ? 0 : (n > (LRESULT)(cap - 1) ? (LRESULT)(cap - 1) : n);
        text[n] = '\0';
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
        SendMessageA(edit, EM_REPLACESEL, TRUE, (LPARAM)text);
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
        if ((size_t)(to - from) >= cap)
            to = from + (long)(cap - 1);
        TEXTRANGEA r = {{from, to}, text};
        LRESULT n = SendMessageA(edit, EM_GETTEXTRANGE, 0, (LPARAM)&r);
        n = n < 0 ? 0 : (n > (LRESULT)(cap - 1) ? (LRESULT)(cap - 1) : n);
        text[n] = '\0';
        return (size_t)n;
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
        return MessageBoxA(owner, text, title, flags);
    Wide w(text);
    Wide t(title);
    return wide.messageBox(owner, w.s, t.s, flags);
}

void openLink(HWND owner, const char* url)
{
    if (!useWide() || !wide.shellExecute) {
        ShellExecuteA(owner, "open", url, nullptr, nullptr, SW_SHOWNORMAL);
        return;
    }
    Wide w(url);
    wide.shellExecute(owner, L"open", w.s, nullptr, nullptr, SW_SHOWNORMAL);
}

int drawText(HDC dc, const char* text, RECT* r, UINT format)
{
    if (!useWide())
        return DrawTextA(dc, text, -1, r, format);
    Wide w(text);
    return wide.drawText(dc, w.s, -1, r, format);
}

void textOut(HDC dc, int x, int y, const char* text)
{
    if (!useWide()) {
        TextOutA(dc, x, y, text, (int)strlen(text));
        return;
    }
    Wide w(text);
    wide.textOut(dc, x, y, w.s, w.length);
}

SIZE textExtent(HDC dc, const char* text)
{
    SIZE size = {0, 0};
    if (!useWide()) {
        GetTextExtentPoint32A(dc, text, (int)strlen(text), &size);
        return size;
    }
    Wide w(text);
    wide.getTextExtentPoint32(dc, w.s, w.length, &size);
    return size;
}
