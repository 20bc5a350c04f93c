#include "app/win_settings.h"

#include <windows.h>
#include <shlobj.h>

void WinProfileStore::readString(const char* section, const char* key, const char* fallback, char* out, size_t cap)
{
    GetPrivateProfileStringA(section, key, fallback, out, (DWORD)cap, path);
}

int WinProfileStore::readInt(const char* section, const char* key, int fallback)
{
    return (int)GetPrivateProfileIntA(section, key, fallback, path);
}

void WinProfileStore::writeString(const char* section, const char* key, const char* value)
{
    WritePrivateProfileStringA(section, key, value, path);
}

void WinProfileStore::deleteSection(const char* section) { WritePrivateProfileStringA(section, nullptr, nullptr, path); }

bool WinStartupFiles::exists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

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
        copyText(out, cap, folder);
    return ok;
}

void WinStartupFiles::createFolder(const char* path) { CreateDirectoryA(path, nullptr); }
