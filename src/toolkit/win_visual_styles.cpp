#include "toolkit/win_visual_styles.h"

#include "toolkit/win_run_time_lookup.h"

namespace {

typedef HANDLE ThemeHandle;

// Parts and states of the "BUTTON" class of a theme.
const int kPushButtonPart = 1;
const int kStateNormal = 1, kStatePressed = 3, kStateDisabled = 4;

struct DllVersion {  // DLLVERSIONINFO
    DWORD size, major, minor, build, platform;
};

struct ThemeFunctions {
    BOOL(WINAPI* isAppThemed)();
    BOOL(WINAPI* isThemeActive)();
    ThemeHandle(WINAPI* open)(HWND, LPCWSTR);
    HRESULT(WINAPI* close)(ThemeHandle);
    HRESULT(WINAPI* drawBackground)(ThemeHandle, HDC, int, int, const RECT*, const RECT*);
};

ThemeFunctions theme;
bool lookedUp;


bool commonControls6()
{
    HMODULE comctl = GetModuleHandleA("comctl32.dll");
    typedef HRESULT(CALLBACK * GetVersionFunction)(DllVersion*);
    GetVersionFunction get = comctl ? (GetVersionFunction)(void*)GetProcAddress(comctl, "DllGetVersion") : nullptr;
    DllVersion v = {sizeof v, 0, 0, 0, 0};
    return get && SUCCEEDED(get(&v)) && v.major >= 6;
}

// Found once: the library stays loaded for the life of the process.
bool themeFunctions()
{
    if (!lookedUp) {
        lookedUp = true;
        HMODULE ux = commonControls6() ? LoadLibraryA("uxtheme.dll") : nullptr;
        bool all = ux != nullptr;
        all = all && lookUpFunction(ux, "IsAppThemed", theme.isAppThemed);
        all = all && lookUpFunction(ux, "IsThemeActive", theme.isThemeActive);
        all = all && lookUpFunction(ux, "OpenThemeData", theme.open);
        all = all && lookUpFunction(ux, "CloseThemeData", theme.close);
        all = all && lookUpFunction(ux, "DrawThemeBackground", theme.drawBackground);
        if (!all)
            theme.open = nullptr;
    }
    return theme.open != nullptr;
}

} // namespace

bool visualStylesActive()
{
    return themeFunctions() && theme.isThemeActive() && theme.isAppThemed();
}

bool drawThemedPushButton(HWND button, HDC dc, const RECT& r, UINT itemState)
{
    if (!visualStylesActive())
        return false;
    ThemeHandle h = theme.open(button, L"BUTTON");
    if (!h)
        return false;
    int state = kStateNormal;
    if (itemState & ODS_DISABLED)
        state = kStateDisabled;
    else if (itemState & ODS_SELECTED)
        state = kStatePressed;
    // The rounded corners show the button face colour, as the window behind.
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    bool drawn = SUCCEEDED(theme.drawBackground(h, dc, kPushButtonPart, state, &r, nullptr));
    theme.close(h);
    return drawn;
}
