// Coming back by itself after a dropped connection, and noticing a dead one.
//
// A connection that reached WELCOME and then ended by a lost connection, a
// close by the server or a silence longer than the keep-alive limit is tried
// again after 2, 4, 8, 16, 30, 60, 60, ... seconds, each wait with up to 20 %
// more at random, until a try logs in. A session that drops again within a
// minute of its WELCOME goes on with the schedule where it was; only one
// that stayed up that long starts again from 2 s. A try uses the server
// address, nick, password and colour of the lost session (the colour as the
// colour box last set it), goes back to its room, which it keeps until the
// server lists it, and sets the status chosen in the status box again. The
// user's own "Отключиться", turning the setting off and the user's own
// connect end it; KICKED and BANNED, closing the window and a connection that
// never logged in (unless it was a try) never start it.
//
// Everything runs on the thread of the main window, driven by its timer 6.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "base/bounded.h"

enum {
    kReconnectRefusalLimit = 20,   // 409 and 503 refusals of tries in a row
    kReconnectTryTimeoutMs = 15000, // a try without WELCOME by then has failed
    kReconnectLoggedLines = 3,     // waits that write a line into the log
    kKeepAliveTimeoutDefault = 70, // seconds of silence before a connection counts as dead
    kReconnectStableMs = 60000,    // a session up this long starts the waits again from 2 s
};

enum ReconnectPhase {
    ReconnectIdle,
    ReconnectWaiting, // counting down to the next try
    ReconnectTrying,  // a try is connecting or waiting for its WELCOME
};

struct ReconnectState {
    ReconnectPhase phase;
    int attempt;           // number of the try waited for or under way, from 1
    int refusals;          // 409 and 503 refusals of tries in a row
    uint32_t remainingMs;  // of the wait
    uint32_t lastTick;     // when remainingMs was last brought up to date
    uint32_t tryStarted;
    bool paused;           // the login dialog is open: the countdown stands
    bool starting;         // a try is inside connectToServer
    bool forbidden;        // KICKED or BANNED: this connection must not come back
    uint32_t lastHeard;    // tick of the last bytes from the server
    uint32_t seed;         // of the jitter
    uint32_t upSince;      // tick of the WELCOME of the session that is up

    // The lost session: where it was, and what it connected with.
    Text<64> room;
    bool roomPending;      // a try asked for the room; the server has not listed it yet
    Text<64> status;       // the status box's last choice, set again after a try
    Text<128> host;
    int port;
    Text<64> nick;
    Text<64> password;
    Text<16> color;
    uint32_t address;      // network byte order
    bool haveAddress;
};

extern ReconnectState reconnect;

// ---- The rules -----------------------------------------------------------

// Seconds of the wait before try attempt (from 1): 2, 4, 8, 16, 30, then 60.
uint32_t reconnectBaseSeconds(int attempt);
// The wait in milliseconds: the base plus random % (a fifth of it + 1 ms),
// so between the base and 1.2 times the base.
uint32_t reconnectDelayMs(int attempt, uint32_t random);

enum RefusalAction {
    RefusalRetry,         // 409 or 503: close, count, go on with the schedule
    RefusalGiveUp,        // the 20th such refusal in a row
    RefusalEndsReconnect, // anything else: as for a login of the user's own
};
RefusalAction reconnectRefusalAction(const char* code, int refusalsBefore);

// Has the server been silent for limitSeconds (0 or less: never)?
bool keepAliveExpired(uint32_t now, uint32_t lastHeard, int limitSeconds);

// Status-bar part 0 while disconnected and reconnecting; false otherwise.
bool reconnectStatusText(char* out, size_t cap);

// ---- Hooks of the connection and the dispatcher ----------------------------

// A connection that was up ended by "Соединение потеряно.", "Сервер закрыл
// соединение." or silence: disconnect with message (left out during quiet
// tries) and, when the ending qualifies, schedule the next try.
void connectionEnded(const char* message);
// Bytes arrived from the server.
void noteServerData();
// connectToServer begins: a connect of the user's own replaces a reconnect
// and becomes the session to come back to.
void reconnectConnectStarting();
// The server's address: a try reuses the lost session's, so that no name is
// resolved while the window waits; any other connect resolves and keeps it.
bool serverAddress(uint32_t* address);
// Tries after the third write no lines into the log: neither the connection
// lines nor a failure or refusal; only the status bar tells of them.
bool reconnectQuiet();
// An ERR before WELCOME that a quiet try takes as "not now" (409, 503): its
// error line is left out.
bool reconnectQuietRefusal(const char* code);
// WELCOME arrived: a try goes back to its room and status; the silence
// check starts.
void reconnectWelcomed();
// USERLIST: the server put the session in room. The room a try asked for is
// back once it is listed; the lines typed while away then go out.
void reconnectRoomListed(const char* room);
// ERR after WELCOME: while a try's JOIN is unanswered, that is its refusal;
// the session stays where the server put it and the typed lines go there.
void reconnectRefusedAfterWelcome();
// ERR before WELCOME: true when it answered a try and was dealt with here
// (409 and 503); other codes end reconnecting and return false.
bool reconnectRefused(const char* code);
// KICKED or BANNED: this connection does not come back.
void reconnectForbid();
// Timer 6: the countdown, the time-out of a try and the silence check.
void reconnectTick();
// Is a try under way (timer 4's lines are then not written)?
bool reconnectTrying();

// ---- The user's side -------------------------------------------------------

// "Отключиться" or the setting turned off: ends a wait or a try with the
// system line message; false when nothing was reconnecting.
bool cancelReconnect(const char* message);
// The login dialog opens (true) or closes (false).
void pauseReconnect(bool paused);
// The colour box set the nick colour: a try logs in with it.
void rememberSessionColor();
// The status box chose status (empty: available): a try sets it again.
void rememberSessionStatus(const char* status);
// The window closes: ends reconnecting without a word.
void endReconnect();
