// The login dialog: the chat server and port, the nick, the password (none
// for a guest), the nick colour and whether to keep the password; and the
// login flow that shows it, branches to the registration dialog and ends in
// the connect. This header is also read by the resource compiler, which sees
// only the identifiers.
#pragma once

// Resource identifier of the dialog template (the registration, create-room,
// administration and about dialogs are 101 to 104).
#define IDD_LOGIN 100

// Controls of the dialog.
#define IDC_LOGIN_HEADER 3023    // owner-drawn header strip
#define IDC_LOGIN_SERVER 1001
#define IDC_LOGIN_PORT 1002
#define IDC_LOGIN_NICK 1003
#define IDC_LOGIN_PASSWORD 1004
#define IDC_LOGIN_COLOR 1005
#define IDC_LOGIN_REMEMBER 1006
#define IDC_LOGIN_GUEST 1007     // "Гостевой вход"
#define IDC_LOGIN_REGISTER 1008  // "Регистрация"; also the dialog result
#define IDC_LOGIN_FORGOT 3024    // "Забыл пароль..."
#define IDC_LOGIN_NOTE 3028      // the explanatory label, filled at start

#ifndef RC_INVOKED

#include <windows.h>

#include "session/site.h"

// Characters the nick field lets the user type.
enum { kLoginNickTypingLimit = 20 };

// Writes every setting to the settings file. The entry point defines it.
void saveSettingsNow();

// Shows the registration dialog modally over owner and returns 1 when the
// user accepted it (session.registration is then filled). Null while there
// is no registration dialog, which counts as cancelled.
extern int (*showRegistrationDialog)(HWND owner);

// The suffix of the login and registration headers is portalDomainSuffix()
// of site.h, which the main window's header strip shares.

// The dialog procedure of the template IDD_LOGIN. It reads the settings into
// the fields at start and writes them back on "Войти в чат »" and
// "Гостевой вход".
INT_PTR CALLBACK loginDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Shows the login dialog modally over owner. Returns 1 (log in, also as a
// guest; the settings are saved), 2 (cancelled) or 1008 (registration
// wanted); -1 when the dialog could not be created.
int showLoginDialog(HWND owner);

// The login dialog, then either the registration dialog (back to the login
// dialog unless accepted) or the connect; nothing when cancelled.
void runLoginFlow(HWND owner);

#endif
