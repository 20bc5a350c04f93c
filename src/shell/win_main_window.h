// The main window: its child controls, their layout, the owner-drawn panes
// and buttons, and the routing of socket events, timers and commands.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "session/host.h"

extern const char kMainWindowClass[];  // "ZumbaraMain"

struct MainWindow {
    HWND hwnd;
    HWND toolbar, header, banner, topic, log, peopleHeader, userList, roomsHeader, roomBox;
    HWND createRoom, privateButton, ignoreButton, statusLabel, statusBox, colorLabel, colorBox;
    HWND bottomPanel, nickLabel, hint, input, send, clock, clearButton, exitButton, statusBar;
    HIMAGELIST toolbarImages, peopleImages, logoImages;
};
extern MainWindow mainWnd;

bool registerMainWindowClass(HINSTANCE instance);
HWND createMainWindow(HINSTANCE instance);

// The window's views of the session, for the session core's seams (the
// banner strip's lives with the strip, in src/banners).
ChatViews& mainWindowViews();
PanelView& mainWindowPanel();

// Entry points of the dialogs that have screens of their own: each shows its
// dialog modally over the owner. Null while a dialog does not exist, and a
// command for it then ends as if the dialog had been cancelled.
extern void (*showCreateRoomDialogEntry)(HWND owner);
extern void (*showAdminPanelEntry)(HWND owner);
extern void (*showAboutDialogEntry)(HWND owner);
// The administration panel over the main window, reading its user list and
// topic line.
void openAdminPanel(HWND owner);

// Shows the check marks of the sound and time-stamp menu items.
void updateMenuChecks();

// Between the main window's own files: the owner-drawn painting of its
// panes, list items and buttons; the window actions the commands and the
// input line use, installed at creation.
void paintOwnerDrawn(const DRAWITEMSTRUCT* item);
void installWindowActions();

// The window's pictures at uiDpi: the toolbar, people and logo image lists
// from the picture set for that scale; the logo list is also the dialogs'
// and the splash's (logoImages).
void loadMainWindowPictures();
// The window moved to a display of dpi: fonts and pictures made again for
// it and given to the children, the user list's item height, the log's
// zoom and the status bar's parts; the caller lays the window out again.
void applyMainWindowDpi(int dpi);
// Zooms the log's text, which the rich edit sizes at the system's DPI, to
// the display's (uiDpi); no zoom when they are the same.
void zoomLogToDisplay();

// Paints one owner-drawn push button: frame (in the system's visual style
// when one is active), image (when the image list exists) and label, moved
// one pixel while pressed in the classic look, focus rectangle.
void drawOwnerButton(const DRAWITEMSTRUCT* item, HIMAGELIST images, int image, const char* label, HFONT font);
