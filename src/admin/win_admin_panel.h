// The administration panel as a Win32 dialog (template IDD_ADMIN_PANEL),
// modal over the main window, and the session core's view of it.
#pragma once

#include <windows.h>

#include "admin/admin_ids.h"
#include "session/host.h"

// The open panel; null while it is closed. Set when the dialog starts and
// cleared when it closes and again when the modal call returns.
extern HWND adminPanel;

// Message the panel is posted to refill itself: 1 its fields from the
// configuration, 2 its banner list from the catalogue.
enum { kMsgPanelRefresh = WM_APP };

// Shows the panel modally over owner, the main window, whose user list and
// topic line it reads (either may be null). The caller has checked the login
// and the role.
void showAdminPanel(HWND owner, HWND userList, HWND topicLine);

// The dialog procedure of the template IDD_ADMIN_PANEL.
INT_PTR CALLBACK adminPanelProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// What the dispatcher writes into the panel while it is open.
PanelView& adminPanelView();
