// The one source of the display's DPI on Win32, and the DPI the user
// interface is drawn at.
#pragma once

#include <windows.h>

#include "toolkit/dpi.h"

// Sent to a per-monitor aware window that Windows moved to a display of
// another scale (Windows 8.1 on); the program's target headers leave it out.
#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

// The DPI the fonts, pictures and pixel numbers of the user interface are
// made for: the main window's. 96 until start-up sets it; the main window
// changes it when Windows moves it to a display of another scale.
extern int uiDpi;

// n pixels at 96 DPI, at uiDpi (scaleToDpi).
inline int px(int n) { return scaleToDpi(n, uiDpi); }

// The DPI window is shown at, by the newest means the system has:
// GetDpiForWindow (Windows 10 1607), else GetDpiForMonitor of the window's
// monitor (8.1, shcore.dll), else the screen's LOGPIXELSY (every Windows; 98
// with large fonts gives 120). All of them are looked up at run time. A null
// window asks for the primary display, where a new window opens.
int dpiOfWindow(HWND window);

// The work area (the display without the task bar) of the display window is
// on, or of the primary display for a null window.
RECT workAreaOf(HWND window);

// Asks Windows 10 1607 to scale the caption and menu of window with its
// DPI, which a per-monitor (v1) window must ask for on WM_NCCREATE (v2
// gets it anyway). Does nothing where the function does not exist.
void scaleNonClientArea(HWND window);
