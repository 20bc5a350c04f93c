// Private messages and mentions that arrive while the program is in the
// background: the taskbar button flashes until the program comes back to the
// foreground, and the title counts them.
#pragma once

#include <windows.h>

// The foreground window belongs to another program (the program's own
// dialogs and find window do not count), or the main window is minimised.
bool programInBackground(HWND main);

// A private message or mention arrived. In the background: one more in the
// count, the taskbar button flashes until the program is in front again
// (FlashWindowEx, looked up at run time; else one FlashWindow), and the
// title is refreshed.
void noteBackgroundCall(HWND main);

// The calls counted since the program went to the background; 0 while it is
// in front.
int backgroundCallCount();

// The main window was activated or restored: once the program is in front,
// the count and the flash end and the title is refreshed.
void checkForeground(HWND main);
