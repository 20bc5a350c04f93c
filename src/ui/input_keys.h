// The input line's keys beyond Enter: Up and Down recall the history, Tab
// and Shift+Tab complete the word before the caret. Tab never moves the
// focus out of the line and never types a tab character into it, whether
// or not a dialog manager (IsDialogMessage) sees the keys first.
#pragma once

#include <windows.h>

// Called first by the input line's window procedure: true when it answered
// the message (with *result), which then must not reach the edit control.
bool handleInputLineKeys(HWND input, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);
