#include "journal/win_journal_files.h"

#include <windows.h>
#include <shellapi.h>
#include <string.h>

#include "base/utf8.h"
#include "journal/journal.h"
#include "toolkit/win_run_time_lookup.h"

static_assert(sizeof(WCHAR) == sizeof(Utf16Unit), "UTF-16 units are WCHAR on Windows");

namespace {

// The wide functions, found at run time: Windows 95, 98 and ME lack them or
// have only stubs that fail, and the program must load there.
struct WideFileFunctions {
    HANDLE(WINAPI* createFile)(LPCWSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE);
    BOOL(WINAPI* createDirectory)(LPCWSTR, LPSECURITY_ATTRIBUTES);
    DWORD(WINAPI* getFileAttributes)(LPCWSTR);
    HINSTANCE(WINAPI* shellExecute)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
};

// The hidden file a running copy holds open, unshared, in the journal folder.
const char kLockName[] = "Zumbara.lock";

struct WinJournalFiles final : JournalFiles {
    WideFileFunctions wide;
    bool useWide = false;
    HANDLE lock = INVALID_HANDLE_VALUE;

    void lookUpFunctions()
    {
        if (windows9x())
            return;
        HMODULE kernel = GetModuleHandleA("kernel32.dll");
        bool all = lookUpFunction(kernel, "CreateFileW", wide.createFile);
        all &= lookUpFunction(kernel, "CreateDirectoryW", wide.createDirectory);
        all &= lookUpFunction(kernel, "GetFileAttributesW", wide.getFileAttributes);
        HMODULE shell = LoadLibraryA("shell32.dll");  // kept: the program uses it to the end
        all &= lookUpFunction(shell, "ShellExecuteW", wide.shellExecute);
        useWide = all;
    }

    // A path for the ANSI functions, in the system's code page.
    static bool ansiPath(const Utf16Unit* path, char* out, int cap)
    {
        int n = WideCharToMultiByte(CP_ACP, 0, (LPCWSTR)path, -1, out, cap, nullptr, nullptr);
        return n > 0;
    }

    void now(JournalClock* t) override
    {
        SYSTEMTIME s;
        GetLocalTime(&s);
        *t = JournalClock{s.wYear, s.wMonth, s.wDay, s.wHour, s.wMinute, s.wSecond};
    }

    size_t systemName(const Utf16Unit* name, size_t n, Utf16Unit* out, size_t cap) override
    {
        if (useWide) {
            size_t k = n < cap ? n : cap;
            memcpy(out, name, k * sizeof *name);
            return k;
        }
        char ansi[MAX_PATH * 2];
        int bytes = n ? WideCharToMultiByte(CP_ACP, 0, (LPCWSTR)name, (int)n, ansi, sizeof ansi, nullptr, nullptr) : 0;
        int units = bytes > 0 ? MultiByteToWideChar(CP_ACP, 0, ansi, bytes, (LPWSTR)out, (int)cap) : 0;
        return units > 0 ? (size_t)units : 0;
    }

    bool makeFolder(const Utf16Unit* path) override
    {
        DWORD attributes;
        if (useWide) {
            wide.createDirectory((LPCWSTR)path, nullptr);
            attributes = wide.getFileAttributes((LPCWSTR)path);
        } else {
            char ansi[MAX_PATH * 2];
            if (!ansiPath(path, ansi, sizeof ansi))
                return false;
            CreateDirectoryA(ansi, nullptr);
            attributes = GetFileAttributesA(ansi);
        }
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    }

    FolderLock lockFolder(const Utf16Unit* path) override
    {
        if (lock != INVALID_HANDLE_VALUE)
            return FolderLocked;  // taken already by this copy
        WCHAR wideName[MAX_PATH * 2];
        size_t n = 0;
        while (path[n] && n < MAX_PATH)
            n++;
        if (n + 1 + sizeof kLockName > sizeof wideName / sizeof wideName[0])
            return FolderLockFailed;
        memcpy(wideName, path, n * sizeof(WCHAR));
        wideName[n++] = L'\\';
        for (const char* c = kLockName; *c; c++)
            wideName[n++] = (WCHAR)*c;
        wideName[n] = L'\0';
        // Nobody may share it; on NT it goes when the last handle does.
        if (useWide) {
            lock = wide.createFile(wideName, GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                   FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        } else {
            char ansi[MAX_PATH * 2];
            if (!ansiPath((const Utf16Unit*)wideName, ansi, sizeof ansi))
                return FolderLockFailed;
            lock = CreateFileA(ansi, GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN, nullptr);
        }
        if (lock != INVALID_HANDLE_VALUE)
            return FolderLocked;
        return GetLastError() == ERROR_SHARING_VIOLATION ? FolderHeldElsewhere : FolderLockFailed;
    }

    JournalFile open(const Utf16Unit* path, bool* created) override
    {
        HANDLE h;
        // Windows 95, 98 and ME may leave an earlier error in place when the
        // file is new (a folder that existed, say).
        SetLastError(0);
        if (useWide) {
            // Append-only access: every write lands at the end, even with
            // another program appending to the same file. The user may
            // rename or delete the file meanwhile.
            h = wide.createFile((LPCWSTR)path, FILE_APPEND_DATA | FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
        } else {
            char ansi[MAX_PATH * 2];
            if (!ansiPath(path, ansi, sizeof ansi))
                return nullptr;
            h = CreateFileA(ansi, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
        }
        if (h == INVALID_HANDLE_VALUE)
            return nullptr;
        *created = GetLastError() != ERROR_ALREADY_EXISTS;
        return (JournalFile)h;
    }

    bool append(JournalFile file, const char* bytes, size_t n) override
    {
        HANDLE h = (HANDLE)file;
        // Windows 95, 98 and ME know no append-only access: the end is
        // sought before every write.
        SetFilePointer(h, 0, nullptr, FILE_END);
        while (n > 0) {
            DWORD written = 0;
            DWORD piece = n > 0x100000 ? 0x100000 : (DWORD)n;
            if (!WriteFile(h, bytes, piece, &written, nullptr) || written == 0)
                return false;
            bytes += written;
            n -= written;
        }
        return true;
    }

    void close(JournalFile file) override { CloseHandle((HANDLE)file); }

    void openFolder(const Utf16Unit* path) override
    {
        if (useWide) {
            wide.shellExecute(nullptr, L"open", (LPCWSTR)path, nullptr, nullptr, SW_SHOWNORMAL);
            return;
        }
        char ansi[MAX_PATH * 2];
        if (ansiPath(path, ansi, sizeof ansi))
            ShellExecuteA(nullptr, "open", ansi, nullptr, nullptr, SW_SHOWNORMAL);
    }
};

WinJournalFiles files;

} // namespace

void startWinJournals(const char* settingsFolder)
{
    files.lookUpFunctions();
    WCHAR wideFolder[MAX_PATH * 2];
    size_t n = utf8ToUtf16(settingsFolder, strlen(settingsFolder), (Utf16Unit*)wideFolder, MAX_PATH * 2 - 1);
    wideFolder[n] = L'\0';
    startJournals(&files, (const Utf16Unit*)wideFolder);
}
