#include "toolkit/win_dpi.h"

#include "toolkit/win_run_time_lookup.h"

int uiDpi = kBaseDpi;

namespace {

// The values of the newer headers, which the program's target version
// leaves out.
const DWORD kMonitorDefaultToNearest = 2;  // MONITOR_DEFAULTTONEAREST
const DWORD kMonitorDefaultToPrimary = 1;  // MONITOR_DEFAULTTOPRIMARY
const int kEffectiveDpi = 0;               // MDT_EFFECTIVE_DPI

struct MonitorRecord {  // MONITORINFO
    DWORD size;
    RECT monitor, work;
    DWORD flags;
};

struct DpiFunctions {
    UINT(WINAPI* dpiForWindow)(HWND);
    HANDLE(WINAPI* monitorFromWindow)(HWND, DWORD);
    BOOL(WINAPI* monitorInfo)(HANDLE, MonitorRecord*);
    HRESULT(WINAPI* dpiForMonitor)(HANDLE, int, UINT*, UINT*);
    BOOL(WINAPI* enableNonClientScaling)(HWND);
};

DpiFunctions dpiFunctions;
bool lookedUp;

// Found once; shcore.dll, when there is one, stays loaded for the life of
// the process.
const DpiFunctions& functions()
{
    if (!lookedUp) {
        lookedUp = true;
        HMODULE user = GetModuleHandleA("user32.dll");
        lookUpFunction(user, "GetDpiForWindow", dpiFunctions.dpiForWindow);
        lookUpFunction(user, "MonitorFromWindow", dpiFunctions.monitorFromWindow);
        lookUpFunction(user, "GetMonitorInfoA", dpiFunctions.monitorInfo);
        lookUpFunction(user, "EnableNonClientDpiScaling", dpiFunctions.enableNonClientScaling);
        if (dpiFunctions.monitorFromWindow)
            lookUpFunction(LoadLibraryA("shcore.dll"), "GetDpiForMonitor", dpiFunctions.dpiForMonitor);
    }
    return dpiFunctions;
}

HANDLE monitorOf(HWND window)
{
    const DpiFunctions& f = functions();
    if (!f.monitorFromWindow)
        return nullptr;
    return f.monitorFromWindow(window, window ? kMonitorDefaultToNearest : kMonitorDefaultToPrimary);
}

} // namespace

int dpiOfWindow(HWND window)
{
    const DpiFunctions& f = functions();
    if (window && f.dpiForWindow) {
        UINT dpi = f.dpiForWindow(window);
        if (dpi > 0)
            return (int)dpi;
    }
    if (f.dpiForMonitor) {
        UINT x = 0, y = 0;
        HANDLE monitor = monitorOf(window);
        if (monitor && SUCCEEDED(f.dpiForMonitor(monitor, kEffectiveDpi, &x, &y)) && y > 0)
            return (int)y;
    }
    HDC screen = GetDC(nullptr);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kBaseDpi;
}

RECT workAreaOf(HWND window)
{
    const DpiFunctions& f = functions();
    HANDLE monitor = monitorOf(window);
    MonitorRecord info = {sizeof info, {0, 0, 0, 0}, {0, 0, 0, 0}, 0};
    if (monitor && f.monitorInfo && f.monitorInfo(monitor, &info))
        return info.work;
    RECT work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

void scaleNonClientArea(HWND window)
{
    const DpiFunctions& f = functions();
    if (f.enableNonClientScaling)
        f.enableNonClientScaling(window);
}
