// Finding text in the chat log: the modeless window "Поиск в логе" (Ctrl+F)
// and "Найти далее" (F3). This header is also read by the resource
// compiler, which sees only the identifiers.
#pragma once

#define IDD_FIND_LOG 119

#define IDC_FIND_TEXT 1001
#define IDC_FIND_UP 1002
#define IDC_FIND_DOWN 1003
#define IDC_FIND_CASE 1004

#ifndef RC_INVOKED

#include <windows.h>

struct RichEditChatLog;

// The log searched and whose view is kept still while the window is open.
extern RichEditChatLog* findLogTarget;

// "Найти в логе...": opens the window over main, or brings it forward.
void openFindWindow(HWND main);
// "Найти далее" (F3): finds the next match; opens the window when nothing
// was searched yet.
void findNextInLog(HWND main);

// The find window while it is open, else null: the message loop passes it
// its messages (isDialogMessage).
HWND findLogWindow();

#endif
