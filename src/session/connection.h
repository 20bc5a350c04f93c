// The one TCP connection to the chat server: connect, handshake, the
// receive buffer that cuts the stream into lines, sending, keep-alive, the
// list refresh and the WELCOME wait, and disconnecting.
#pragma once

#include <stdarg.h>
#include <stddef.h>

#include "session/session_state.h"

enum { kFormatBufferSize = 12288 };  // holds the longest line encodeLine sends

void connectToServer();
// Closes and resets the connection fields; message (may be null) is written
// as a system line.
void disconnect(const char* message);

// Encodes and sends one line; the caller checks the state.
void sendLine(const char* text);
// sendLine only while the socket is open and the connect completed.
void sendIfConnected(const char* text);
// Formats into a buffer that holds the longest line encodeLine sends (a
// longer line is cut), then sends as sendIfConnected does.
void sendFormatted(const char* fmt, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// Handler of kMsgSocket: the socket is the word parameter, the event the low
// word of the long parameter, the error code its high word. Events of any
// socket but the connection's current one are dropped.
void onSocketMessage(SocketHandle socket, unsigned event, unsigned error);
// The event of the connection's current socket.
void onSocketEvent(unsigned event, unsigned error);
// Handler of the keep-alive, refresh and WELCOME-wait timers.
void onTimer(int id);

// Menu command: disconnect with QUIT and a goodbye line.
void disconnectCommand();
// Close box of the main window: one bare QUIT while connected.
void quitOnClose();
// Menu command: open the protocol log in the text viewer.
void showProtocolLog();
