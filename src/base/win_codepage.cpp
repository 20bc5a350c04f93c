#include "base/win_codepage.h"

#include <windows.h>

static_assert(sizeof(wchar_t) == sizeof(Utf16Unit), "UTF-16 units are wchar_t on Windows");

unsigned chooseConversionCodePage()
{
    return IsValidCodePage(1251) ? 1251u : (unsigned)GetACP();
}

size_t WinCodePage::toUtf16(const char* src, size_t n, Utf16Unit* dst, size_t cap)
{
    if (n == 0 || cap == 0)
        return 0;
    // Each byte gives at most one unit, so a source no longer than the
    // destination always fits; cut it rather than fail the whole call.
    if (n > cap)
        n = cap;
    int r = MultiByteToWideChar(codePage, 0, src, (int)n, (LPWSTR)dst, (int)cap);
    return r > 0 ? (size_t)r : 0;
}

size_t WinCodePage::fromUtf16(const Utf16Unit* src, size_t n, char* dst, size_t cap)
{
    if (n == 0 || cap == 0)
        return 0;
    int r = WideCharToMultiByte(codePage, 0, (LPCWSTR)src, (int)n, dst, (int)cap, "?", nullptr);
    if (r <= 0 && n > cap / 2) {
        // A double-byte code page may need more room than given: convert
        // less rather than nothing.
        r = WideCharToMultiByte(codePage, 0, (LPCWSTR)src, (int)(cap / 2), dst, (int)cap, "?", nullptr);
    }
    return r > 0 ? (size_t)r : 0;
}
