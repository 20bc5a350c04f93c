#include "app/win_settings.h"

#include <windows.h>
#include <shlobj.h>

#include "base/codepage.h"

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

bool WinStartupFiles::appDataFolder(char* out, size_t cap)
{
    typedef BOOL(WINAPI * GetFolderPath)(HWND, LPSTR, int, BOOL);
    HMODULE shell = LoadLibraryA("shell32.dll");
    if (!shell)
        return false;
    GetFolderPath get = (GetFolderPath)(void*)GetProcAddress(shell, "SHGetSpecialFolderPathA");
    char folder[MAX_PATH];
    bool ok = get && get(nullptr, folder, CSIDL_APPDATA, TRUE);
    // shell32 stays loaded: the program uses it for ShellExecuteA anyway.
    if (ok)
        pathFromSystem(folder, out, cap);
    return ok;
}

void WinStartupFiles::createFolder(const char* path) { CreateDirectoryA(SystemPath(path).s, nullptr); }
