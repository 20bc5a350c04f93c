// probe_menu.dll: loaded by the probe into the process that owns a window, it
// reads the window's menu bar there, where the menu handles are valid, and
// writes the listing into the block the probe allocated in that process.

#include "probe_menu.h"

extern "C" __declspec(dllexport) DWORD WINAPI probe_menu_read(void *param)
{
    ProbeMenuRequest *req = static_cast<ProbeMenuRequest *>(param);
    char *text = reinterpret_cast<char *>(req + 1);
    req->length = 0;
    HMENU menu = GetMenu(reinterpret_cast<HWND>(static_cast<UINT_PTR>(req->hwnd)));
    if (!menu) {
        req->status = kProbeMenuNoMenu;
        return 0;
    }
    std::string listing;
    if (!probeMenuFormat(menu, std::string(), listing)) {
        req->status = kProbeMenuBadMenu;
        return 0;
    }
    if (listing.size() > req->capacity) {
        req->status = kProbeMenuTooLong;
        return 0;
    }
    memcpy(text, listing.data(), listing.size());
    req->length = static_cast<UINT32>(listing.size());
    req->status = kProbeMenuOk;
    return 1;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID)
{
    return TRUE;
}
