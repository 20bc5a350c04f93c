// The create-room dialog: a name and a description for a new room, sent to
// the server as one request. This header is also read by the resource
// compiler, which sees only the identifiers.
#pragma once

#define IDD_CREATE_ROOM 102

#define IDC_ROOM_NAME 1010
#define IDC_ROOM_DESCRIPTION 1011

#ifndef RC_INVOKED

#include <windows.h>

// The dialog procedure of the template IDD_CREATE_ROOM. "Создать" refuses
// an empty name with a warning and keeps the dialog open; otherwise it ends
// the dialog with IDOK when the request went out, or with IDCANCEL after
// writing the not-connected error line when the connection is gone.
INT_PTR CALLBACK createRoomDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Shows the dialog modally over owner; the fields start empty every time.
// The server's answer arrives later as ordinary lines.
void runCreateRoomDialog(HWND owner);

#endif
