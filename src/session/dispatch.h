// What every line from the server does to the session record and the views.
#pragma once

#include "session/host.h"
#include "session/protocol.h"

void dispatchServerLine(const ParsedLine& line);

// The LineHandler that hands received lines to dispatchServerLine.
LineHandler& serverLineDispatcher();
