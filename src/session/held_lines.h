// Lines typed while the client is away. While a reconnect waits or tries, a
// chat line or a private message from the input line is held instead of
// refused; once the room is back the held lines go out in order, one every
// flood_sec seconds, so that the server's flood limit takes every one.
#pragma once

enum {
    kHeldLinesMax = 20,          // a 21st line is refused as while not connected
    kHeldLineDefaultFloodS = 2,  // the flood limit while the server has not told its own
    kHeldLineMarginMs = 250,     // on top of the flood limit, for the lines' way to the server
};

// The typed text, flattened and trimmed as the input line gives it: held
// when it is a chat line or a private message ("/pm", "/msg", "/w" with a
// nick and a text) and the session is away, or lines held earlier are still
// going out (so that the order stays). A held line leaves the input line.
// False when the line is not held and takes its usual way.
bool holdTypedLine(const char* text);

// The room is back: the first held line goes out now, the next ones on
// timer 9.
void releaseHeldLines();
// Timer 9: the next held line, while the session is up.
void sendNextHeldLine();
// Reconnecting ended without a session: the held lines are dropped, and one
// line tells how many.
void dropHeldLines();

int heldLineCount();
