#include "shell/win_background_calls.h"

#include "session/host.h"

namespace {

int calls;

// FlashWindowEx, which Windows 95 and NT 4 lack.
typedef BOOL(WINAPI* FlashWindowExFunction)(PFLASHWINFO);

FlashWindowExFunction flashWindowEx()
{
    static bool tried;
    static FlashWindowExFunction function;
    if (!tried) {
        tried = true;
        function = (FlashWindowExFunction)(void*)GetProcAddress(GetModuleHandleA("user32.dll"), "FlashWindowEx");
    }
    return function;
}

void flash(HWND main, DWORD flags)
{
    FlashWindowExFunction f = flashWindowEx();
    if (!f) {
        FlashWindow(main, flags != FLASHW_STOP);
        return;
    }
    FLASHWINFO info;
    info.cbSize = sizeof info;
    info.hwnd = main;
    info.dwFlags = flags;
    info.uCount = 0;
    info.dwTimeout = 0;
    f(&info);
}

// The title is written by the status refresh, which puts the count in.
void refreshTitle()
{
    if (ports.views)
        ports.views->statusChanged();
}

} // namespace

bool programInBackground(HWND main)
{
    if (!main)
        return false;
    if (IsIconic(main))
        return true;
    HWND front = GetForegroundWindow();
    if (!front)
        return false;
    DWORD process = 0;
    GetWindowThreadProcessId(front, &process);
    return process != GetCurrentProcessId();
}

void noteBackgroundCall(HWND main)
{
    if (!programInBackground(main))
        return;
    calls++;
    flash(main, FLASHW_TRAY | FLASHW_TIMERNOFG);
    refreshTitle();
}

int backgroundCallCount() { return calls; }

void checkForeground(HWND main)
{
    if (calls == 0 || programInBackground(main))
        return;
    calls = 0;
    flash(main, FLASHW_STOP);
    refreshTitle();
}
