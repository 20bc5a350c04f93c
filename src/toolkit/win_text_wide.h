// Inside the passage of text into and out of windows (win_text.h): the
// wide functions, found at run time, and the conversion between the
// program's text and UTF-16 that every win_text_*.cpp uses. Not for use
// elsewhere: the rest of the program goes through win_text.h.
#pragma once

#include <windows.h>

#include <stddef.h>

#include "base/codepage.h"
#include "base/utf8.h"
#include "toolkit/win_text.h"

namespace widetext {

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

extern WideFunctions wide;

// True once every wide function was found (Windows NT); false on 95, 98
// and ME, where the ANSI functions serve.
bool useWide();

// The program's text (UTF-8) in UTF-16, NUL-terminated, cut to
// kWindowTextChars characters: what a Unicode window takes.
struct Wide {
    WCHAR s[kWindowTextChars + 1];
    int length;
    explicit Wide(const char* text)
    {
        size_t n = text ? strlen(text) : 0;
        length = (int)utf8ToUtf16(text, n, (Utf16Unit*)s, kWindowTextChars);
        s[length] = L'\0';
    }
};

// The program's text in the conversion code page, NUL-terminated, cut to
// kWindowTextChars characters, "?" for every character the code page lacks:
// what the ANSI functions of Windows 95, 98 and ME take.
struct Ansi {
    char s[kWindowTextChars + 1];
    int length;
    explicit Ansi(const char* text)
    {
        size_t n = text ? strlen(text) : 0;
        length = (int)utf8ToCodePage(conversionText(), text, n, s, kWindowTextChars);
        s[length] = '\0';
    }
    // null stays null, for the functions that take none.
    const char* orNull(const char* text) const { return text ? s : nullptr; }
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

// n UTF-16 units into the program's text, cut to cap - 1 bytes (whole
// characters) and terminated; returns the length.
size_t narrow(const WCHAR* units, size_t n, char* text, size_t cap);

// n bytes of the conversion code page (what an ANSI function gave) into the
// program's text, the same way.
size_t fromAnsi(const char* bytes, size_t n, char* text, size_t cap);

// How many UTF-16 units to ask for when cap bytes are to be filled.
inline size_t unitsFor(size_t cap) { return cap < kWindowTextChars + 1 ? cap : kWindowTextChars + 1; }

inline LPARAM lp(const WCHAR* s) { return (LPARAM)s; }

} // namespace widetext
