// Inside the passage of text into and out of windows (win_text.h): the
// wide functions, found at run time, and the conversion between the
// program's text and UTF-16 that every win_text_*.cpp uses. Not for use
// elsewhere: the rest of the program goes through win_text.h.
#pragma once

#include <windows.h>

#include <stddef.h>

#include "base/codepage.h"
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
size_t narrow(const WCHAR* units, size_t n, char* text, size_t cap);

// How many UTF-16 units to ask for when cap bytes are to be filled.
inline size_t unitsFor(size_t cap) { return cap < kWindowTextChars + 1 ? cap : kWindowTextChars + 1; }

inline LPARAM lp(const WCHAR* s) { return (LPARAM)s; }

} // namespace widetext
