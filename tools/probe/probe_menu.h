// The menu listing shared by probe.exe and probe_menu.dll: the request block
// the probe writes into the target process, and the formatter that reads a
// menu in the process owning it.
#pragma once

#include <windows.h>

#include <cstring>
#include <string>

const char kProbeMenuDll[] = "probe_menu.dll";
const char kProbeMenuEntry[] = "probe_menu_read";
const unsigned kProbeMenuTextSize = 256 * 1024;

enum ProbeMenuStatus : UINT32 {
    kProbeMenuPending = 0,
    kProbeMenuOk = 1,
    kProbeMenuNoMenu = 2,   // the window has no menu bar
    kProbeMenuBadMenu = 3,  // GetMenuItemInfoA refused the menu
    kProbeMenuTooLong = 4,  // the listing does not fit the buffer
};

// Laid out alike in both modules; the listing (ANSI text, no terminator
// needed) follows it in the same block.
struct ProbeMenuRequest {
    UINT64 hwnd;      // in: the window whose menu bar is read
    UINT32 capacity;  // in: bytes available after this structure
    UINT32 status;    // out: a ProbeMenuStatus
    UINT32 length;    // out: bytes of the listing
    UINT32 reserved;
};

// Backslash, tab, CR and LF escaped, so that a text is one tab-free field.
inline std::string probeMenuField(const char *s)
{
    std::string r;
    for (; *s; ++s) {
        switch (*s) {
        case '\\': r += "\\\\"; break;
        case '\t': r += "\\t"; break;
        case '\r': r += "\\r"; break;
        case '\n': r += "\\n"; break;
        default: r += *s;
        }
    }
    return r;
}

inline std::string probeMenuFlags(UINT type, UINT state, bool popup)
{
    std::string f;
    auto add = [&f](const char *s) {
        if (!f.empty())
            f += ',';
        f += s;
    };
    if (popup)
        add("popup");
    if (type & MFT_SEPARATOR)
        add("separator");
    if (type & MFT_RADIOCHECK)
        add("radio");
    if (state & MFS_CHECKED)
        add("checked");
    // A separator cannot be chosen anyway; systems differ in marking it grayed.
    if ((state & MF_GRAYED) && !(type & MFT_SEPARATOR))
        add("grayed");
    if ((state & MF_DISABLED) && !(type & MFT_SEPARATOR))
        add("disabled");
    if (state & MFS_DEFAULT)
        add("default");
    return f.empty() ? "-" : f;
}

// Appends one line per item, depth first: PATH TAB ID TAB FLAGS TAB TEXT,
// PATH being the positions from the menu bar down ("1/0"), ID "-" for a
// popup, TEXT the item's ANSI text as stored (with '&').  False when the
// system refuses the menu handle.
inline bool probeMenuFormat(HMENU menu, const std::string &path, std::string &out, int depth = 0)
{
    int n = GetMenuItemCount(menu);
    if (n < 0)
        return false;
    for (int i = 0; i < n && depth < 8; ++i) {
        char buf[1024];
        buf[0] = '\0';
        MENUITEMINFOA mi;
        memset(&mi, 0, sizeof mi);
        mi.cbSize = sizeof mi;
        mi.fMask = MIIM_TYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU;
        mi.dwTypeData = buf;
        mi.cch = sizeof buf - 1;
        if (!GetMenuItemInfoA(menu, (UINT)i, TRUE, &mi))
            return false;
        if (mi.fType & (MFT_OWNERDRAW | MFT_SEPARATOR | MFT_BITMAP))
            buf[0] = '\0';
        buf[sizeof buf - 1] = '\0';
        std::string p = path.empty() ? std::to_string(i) : path + "/" + std::to_string(i);
        std::string id = mi.hSubMenu ? std::string("-") : std::to_string((int)mi.wID);
        out += p + "\t" + id + "\t" + probeMenuFlags(mi.fType, mi.fState, mi.hSubMenu != nullptr) +
               "\t" + probeMenuField(buf) + "\n";
        if (mi.hSubMenu && !probeMenuFormat(mi.hSubMenu, p, out, depth + 1))
            return false;
    }
    return true;
}
