// Web links and nicks in the chat log under the mouse: a click on a link
// opens it, a click on a nick addresses it in the input line, a double-click
// on a nick starts a private message to it, and the pointer turns into a
// hand over either. A link wins over a nick it overlaps. Everything else
// reaches the log as before.
#pragma once

#include <windows.h>

#include <stddef.h>

#include "log/log_links.h"

// The nick under the point (x, y) of the log's client area, copied into
// nick (cut to cap); false, with nick emptied, when there is none.
bool nickAtPoint(HWND log, int x, int y, char* nick, size_t cap);

// The address of the link under the point, ready to open (http:// in front
// of "www."), looked up in links; false, with address emptied, when there
// is none.
bool linkAtPoint(HWND log, const LinkSpans& links, int x, int y, char* address, size_t cap);

// The links of the log whose procedure is wrapped; none while null.
extern const LinkSpans* logLinks;

// Wraps the log's window procedure with the link and nick clicks. A log
// control that takes the place of this one (RichEditChatLog's emptying)
// carries the wrapped procedure over.
void wrapLogProcedure(HWND log);
