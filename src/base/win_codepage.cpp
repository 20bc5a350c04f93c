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

namespace {

#ifndef WC_NO_BEST_FIT_CHARS
#define WC_NO_BEST_FIT_CHARS 0x00000400
#endif

// Windows 95, 98, ME and NT 4 know no WC_NO_BEST_FIT_CHARS and would give
// é as e: there every character of a single-byte code page is converted
// back, and one that does not come back as it was becomes "?".
void undoBestFit(unsigned codePage, const Utf16Unit* src, char* dst, size_t n)
{
    CPINFO info;
    if (!GetCPInfo(codePage, &info) || info.MaxCharSize != 1)
        return;
    for (size_t i = 0; i < n; i++) {
        WCHAR back = 0;
        if (MultiByteToWideChar(codePage, 0, dst + i, 1, &back, 1) != 1 || back != src[i])
            dst[i] = '?';
    }
}

} // namespace

size_t WinCodePage::fromUtf16(const Utf16Unit* src, size_t n, char* dst, size_t cap)
{
    if (n == 0 || cap == 0)
        return 0;
    int r = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, (LPCWSTR)src, (int)n, dst, (int)cap, "?", nullptr);
    if (r <= 0 && GetLastError() == ERROR_INVALID_FLAGS) {
        r = WideCharToMultiByte(codePage, 0, (LPCWSTR)src, (int)n, dst, (int)cap, "?", nullptr);
        if (r > 0 && (size_t)r == n)
            undoBestFit(codePage, src, dst, n);
    }
    if (r <= 0 && n > cap / 2) {
        // A double-byte code page may need more room than given: convert
        // less rather than nothing.
        r = WideCharToMultiByte(codePage, 0, (LPCWSTR)src, (int)(cap / 2), dst, (int)cap, "?", nullptr);
    }
    return r > 0 ? (size_t)r : 0;
}
