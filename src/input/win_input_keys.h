// The input line's keys: Enter sends (submitAndRemember), Up and Down
// recall the history, Tab and Shift+Tab complete the word before the caret.
// Tab never moves the focus out of the line and never types a tab character
// into it, whether or not a dialog manager (IsDialogMessage) sees the keys
// first.
#pragma once

#include <windows.h>

// Wraps the edit control's window procedure with the keys.
void wrapInputProcedure(HWND input);
