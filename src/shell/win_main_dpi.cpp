// The main window at the display's scale: its pictures, and what it makes
// again when Windows moves it to a display of another scale.
#include "shell/win_main_window.h"

#include <richedit.h>

#include "shell/control_ids.h"
#include "shell/win_status_display.h"
#include "toolkit/win_dpi.h"
#include "toolkit/win_drawing.h"
#include "toolkit/win_fonts.h"
#include "toolkit/win_picture_sets.h"

namespace {

HINSTANCE instanceOf(HWND window) { return (HINSTANCE)GetWindowLongPtrA(window, GWLP_HINSTANCE); }

void destroyList(HIMAGELIST list)
{
    if (list)
        ImageList_Destroy(list);
}

// Every child takes fontUi but the hint line, which takes fontSmall, and the
// log, whose text carries its own fonts in points (they follow the DPI by
// themselves); a new default font would change the text already there.
void giveChildrenFonts()
{
    for (HWND c = GetWindow(mainWnd.hwnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (c == mainWnd.log)
            continue;
        SendMessageA(c, WM_SETFONT, (WPARAM)(c == mainWnd.hint ? fontSmall : fontUi), FALSE);
    }
}

bool logZoomed;

} // namespace

// The log's text is sized in points, which the rich edit turns into pixels
// at the DPI its device context reports: the system's, which stays what it
// was at log-on while the window moves between displays. On a display of
// another scale the text is zoomed by the ratio (rich edit 3.0 on; the older
// ones ignore the message, and their systems never change the scale).
void zoomLogToDisplay()
{
    HWND log = mainWnd.log;
    if (!log)
        return;
    HDC dc = GetDC(log);
    int textDpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 0;
    if (dc)
        ReleaseDC(log, dc);
    if (textDpi > 0 && textDpi != uiDpi) {
        SendMessageA(log, EM_SETZOOM, (WPARAM)uiDpi, (LPARAM)textDpi);
        logZoomed = true;
    } else if (logZoomed) {
        SendMessageA(log, EM_SETZOOM, 0, 0);
        logZoomed = false;
    }
}

void loadMainWindowPictures()
{
    HINSTANCE instance = instanceOf(mainWnd.hwnd);
    mainWnd.peopleImages = loadPictureSet(instance, IdPeopleBitmap, 16, 11, uiDpi);
    mainWnd.toolbarImages = loadPictureSet(instance, IdToolbarBitmap, 16, 13, uiDpi);
    // Start-up may have made the logo already, for the splash, at this scale.
    int logoWidth = 0, logoHeight = 0;
    if (logoImages && (!ImageList_GetIconSize(logoImages, &logoWidth, &logoHeight) || logoWidth != px(48))) {
        ImageList_Destroy(logoImages);
        logoImages = nullptr;
    }
    mainWnd.logoImages = logoImages ? logoImages : loadPictureSet(instance, IdLogoBitmap, 48, 1, uiDpi);
    logoImages = mainWnd.logoImages;
}

void applyMainWindowDpi(int dpi)
{
    if (dpi <= 0 || dpi == uiDpi)
        return;
    uiDpi = dpi;
    createFonts(dpi);
    giveChildrenFonts();
    deleteEarlierFonts();

    HIMAGELIST people = mainWnd.peopleImages, toolbar = mainWnd.toolbarImages, logo = mainWnd.logoImages;
    logoImages = nullptr;
    loadMainWindowPictures();
    if (HWND tb = mainWnd.toolbar) {
        SendMessageA(tb, TB_SETIMAGELIST, 0, (LPARAM)mainWnd.toolbarImages);
        SendMessageA(tb, TB_SETBITMAPSIZE, 0, MAKELPARAM(px(16), px(16)));
        SendMessageA(tb, TB_AUTOSIZE, 0, 0);
    }
    destroyList(people);
    destroyList(toolbar);
    destroyList(logo);

    if (mainWnd.userList)
        SendMessageA(mainWnd.userList, LB_SETITEMHEIGHT, 0, px(18));
    zoomLogToDisplay();
    refreshStatusDisplays();  // the status bar's parts at the new scale
    repaintLater(mainWnd.hwnd, true);
}
