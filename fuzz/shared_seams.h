// Seams shared by the fuzz targets and the receive benchmark: a fresh session
// with a given set of ports, views that show nothing, and the copy a fake
// transport makes from a prepared stream. Nothing here allocates.

#pragma once

#include <stddef.h>
#include <string.h>

#include "session/held_lines.h"
#include "session/host.h"
#include "session/protocol_log.h"
#include "session/reconnect.h"
#include "session/session_state.h"

namespace harness {

// A fresh session record, no protocol log, no held lines, and these ports.
inline void resetSession(const SessionPorts& seams)
{
    resetSessionState(session);
    reconnect = ReconnectState();
    protocolLogPath.clear();
    ports = seams;
    dropHeldLines();
}

// Chat views that show nothing; the input line is always empty.
struct QuietViews : ChatViews {
    void usersChanged() override {}
    void roomsChanged() override {}
    void statusChanged() override {}
    void showTopic(const char*) override {}
    void focusInput() override {}
    void readInput(char* text, size_t cap) override
    {
        if (cap)
            text[0] = '\0';
    }
    void clearInput() override {}
    void colorsChanged() override {}
    void resetStatusChoice() override {}
};

// Copies the bytes of stream from pos on, up to end and at most `most` of
// them, into buffer; moves pos past them and returns how many there were.
inline size_t handOut(const void* stream, size_t end, size_t& pos, char* buffer, size_t most)
{
    size_t n = end - pos;
    if (n > most)
        n = most;
    memcpy(buffer, (const char*)stream + pos, n);
    pos += n;
    return n;
}

} // namespace harness
