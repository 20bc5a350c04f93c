#include "shell/win_session_host.h"

#include <shellapi.h>

#include "base/codepage.h"
#include "shell/win_background_calls.h"
#include "toolkit/win_text.h"

void WinSessionHost::startTimer(int id, unsigned ms) { SetTimer(window, (UINT_PTR)id, ms, nullptr); }

void WinSessionHost::stopTimer(int id) { KillTimer(window, (UINT_PTR)id); }

uint32_t WinSessionHost::tickCount() { return (uint32_t)GetTickCount(); }

void WinSessionHost::localTime(int* hour, int* minute, int* second)
{
    SYSTEMTIME t;
    GetLocalTime(&t);
    *hour = t.wHour;
    *minute = t.wMinute;
    *second = t.wSecond;
}

bool WinSessionHost::fileExists(const char* path)
{
    char ansi[3 * MAX_PATH];
    pathForSystem(path, ansi, sizeof ansi);
    return GetFileAttributesA(ansi) != INVALID_FILE_ATTRIBUTES;
}

// The path came from the ANSI file functions, in the system's code page: it
// goes back through an ANSI call.
void WinSessionHost::openInTextViewer(const char* path)
{
    char ansi[3 * MAX_PATH];
    pathForSystem(path, ansi, sizeof ansi);
    ShellExecuteA(nullptr, "open", "notepad.exe", ansi, nullptr, SW_SHOWNORMAL);
}

void WinSessionHost::messageBox(const char* text, const char* title, MessageIcon icon)
{
    // The log shows every line written so far while the box is up.
    if (ports.log)
        ports.log->endBatch();
    ::messageBox(window, text, title, MB_OK | (icon == IconWarning ? MB_ICONWARNING : MB_ICONINFORMATION));
}

void WinSessionHost::beep() { MessageBeep(MB_ICONASTERISK); }

void WinSessionHost::flashIfInBackground() { noteBackgroundCall(window); }

void WinSessionHost::saveSettings()
{
    if (writeSettings)
        writeSettings();
}
