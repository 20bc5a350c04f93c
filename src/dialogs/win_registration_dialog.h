// The registration dialog: a new portal account's login, the password typed
// twice, a secret question and its answer, checked before they are handed
// over. This header is also read by the resource compiler, which sees only
// the identifiers.
#pragma once

#define IDD_REGISTRATION 101

// Controls of the dialog.
#define IDC_REG_HEADER 3027    // owner-drawn header strip
#define IDC_REG_LOGIN 1003
#define IDC_REG_PASSWORD 1004
#define IDC_REG_REPEAT 1009    // the password once more
#define IDC_REG_QUESTION 3025  // editable drop-down of secret questions
#define IDC_REG_ANSWER 3026
#define IDC_REG_DOMAIN 3029    // "@" and the portal domain, filled at start
#define IDC_REG_NOTE 3030      // what the account is good for, filled at start

#ifndef RC_INVOKED

#include <windows.h>

// The dialog procedure of the template IDD_REGISTRATION. "Зарегистрировать »"
// reads the form into session.registration and ends the dialog with IDOK
// only when every rule holds; otherwise it warns and keeps the dialog open
// with the focus on the field to mend.
INT_PTR CALLBACK registrationDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Shows the dialog modally over owner: IDOK (1) when accepted, IDCANCEL (2)
// when cancelled, -1 when it could not be created. The caller does the
// hand-over (connectWithRegistration).
int runRegistrationDialog(HWND owner);

#endif
