// Nicks in the chat log under the mouse: a click addresses the nick in the
// input line, a double-click starts a private message to it, and the
// pointer turns into a hand over it. Everything else reaches the log as
// before.
#pragma once

#include <windows.h>

#include <stddef.h>

// The nick under the point (x, y) of the log's client area, copied into
// nick (cut to cap); false, with nick emptied, when there is none.
bool nickAtPoint(HWND log, int x, int y, char* nick, size_t cap);

// Wraps the log's window procedure with the nick-click handling; the
// previous procedure is kept in mainWnd.previousLogProc.
void wrapLogProcedure(HWND log);
