// The about dialog: the header strip, what the program is and runs on, and
// a notice. This header is also read by the resource compiler, which sees
// only the identifiers.
#pragma once

#define IDD_ABOUT 104

#define IDC_ABOUT_HEADER 3023  // owner-drawn header strip

#ifndef RC_INVOKED

#include <windows.h>

// The dialog procedure of the template IDD_ABOUT: draws the header, ends
// with 0 on "OK", Enter, Escape and the close box.
INT_PTR CALLBACK aboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Shows the dialog modally over owner.
void runAboutDialog(HWND owner);

#endif
