#include "app/win_settings.h"

#include <windows.h>
#include <shlobj.h>

#include "base/codepage.h"
#include "base/utf8.h"
#include "toolkit/win_run_time_lookup.h"

namespace {

// The settings file's path as the ANSI profile functions take it.
struct SystemPath {
    char s[3 * MAX_PATH];
    explicit SystemPath(const char* path) { pathForSystem(path, s, sizeof s); }
};

} // namespace

void WinProfileStore::readString(const char* section, const char* key, const char* fallback, char* out, size_t cap)
{
    GetPrivateProfileStringA(section, key, fallback, out, (DWORD)cap, SystemPath(path).s);
}

int WinProfileStore::readInt(const char* section, const char* key, int fallback)
{
    return (int)GetPrivateProfileIntA(section, key, fallback, SystemPath(path).s);
}

void WinProfileStore::writeString(const char* section, const char* key, const char* value)
{
    WritePrivateProfileStringA(section, key, value, SystemPath(path).s);
}

void WinProfileStore::deleteSection(const char* section)
{
    WritePrivateProfileStringA(section, nullptr, nullptr, SystemPath(path).s);
}

bool WinStartupFiles::exists(const char* path) { return GetFileAttributesA(SystemPath(path).s) != INVALID_FILE_ATTRIBUTES; }

namespace {

// A path the wide functions gave as the program's text; false when it does
// not fit.
bool fromWidePath(const WCHAR* path, char* out, size_t cap)
{
    size_t n = 0;
    while (path[n])
        n++;
    size_t taken = 0;
    size_t bytes = cap ? utf16ToUtf8((const Utf16Unit*)path, n, out, cap - 1, &taken) : 0;
    if (cap)
        out[bytes] = '\0';
    return cap && taken == n;
}

} // namespace

bool WinStartupFiles::appDataFolder(char* out, size_t cap)
{
    // shell32 stays loaded: the program uses it for ShellExecute anyway.
    HMODULE shell = LoadLibraryA("shell32.dll");
    BOOL(WINAPI * getWide)(HWND, LPWSTR, int, BOOL) = nullptr;
    if (!windows9x() && lookUpFunction(shell, "SHGetSpecialFolderPathW", getWide)) {
        WCHAR folder[MAX_PATH];
        return getWide(nullptr, folder, CSIDL_APPDATA, TRUE) && fromWidePath(folder, out, cap);
    }
    BOOL(WINAPI * get)(HWND, LPSTR, int, BOOL) = nullptr;
    char folder[MAX_PATH];
    if (!lookUpFunction(shell, "SHGetSpecialFolderPathA", get) || !get(nullptr, folder, CSIDL_APPDATA, TRUE))
        return false;
    pathFromSystem(folder, out, cap);
    return true;
}

void programFileName(char* out, size_t cap)
{
    DWORD(WINAPI * getWide)(HMODULE, LPWSTR, DWORD) = nullptr;
    if (!windows9x() && lookUpFunction(GetModuleHandleA("kernel32.dll"), "GetModuleFileNameW", getWide)) {
        WCHAR wide[MAX_PATH];
        DWORD n = getWide(nullptr, wide, MAX_PATH);
        if (n > 0 && n < MAX_PATH && fromWidePath(wide, out, cap))
            return;
    }
    char ansi[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, ansi, sizeof ansi);
    pathFromSystem(ansi, out, cap);
}

void WinStartupFiles::createFolder(const char* path) { CreateDirectoryA(SystemPath(path).s, nullptr); }
