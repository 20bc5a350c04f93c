#include "base/win_short_path.h"

#include <windows.h>

#include <string.h>

namespace {

typedef DWORD(WINAPI* GetShortPathNameWFunction)(LPCWSTR, LPWSTR, DWORD);

// Looked up: Windows 95, 98 and ME have it only as a failing stub.
GetShortPathNameWFunction shortPathFunction()
{
    static bool looked = false;
    static GetShortPathNameWFunction function = nullptr;
    if (!looked) {
        looked = true;
        if ((GetVersion() & 0x80000000u) == 0)
            function = (GetShortPathNameWFunction)(void*)GetProcAddress(GetModuleHandleA("kernel32.dll"),
                                                                        "GetShortPathNameW");
    }
    return function;
}

} // namespace

size_t shortPathOf(const Utf16Unit* path, size_t n, Utf16Unit* out, size_t cap)
{
    GetShortPathNameWFunction shortName = shortPathFunction();
    enum { kUnits = 3 * 260 };
    if (!shortName || n == 0 || n >= kUnits || cap == 0)
        return 0;
    WCHAR whole[kUnits];
    memcpy(whole, path, n * sizeof *path);
    // The file itself need not exist yet (a settings file about to be
    // written): the longest leading part that does is shortened.
    for (size_t k = n; k > 0;) {
        whole[k] = L'\0';
        DWORD r = shortName(whole, (LPWSTR)out, (DWORD)cap);
        if (r > 0 && r < cap && r + (n - k) < cap) {
            memcpy(out + r, path + k, (n - k) * sizeof *path);
            return r + (n - k);
        }
        do
            k--;
        while (k > 0 && path[k] != L'\\');
    }
    return 0;
}
