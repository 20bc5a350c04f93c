// The two ways other controls fill the input line: addressing a nick and
// starting a private message. Both work on the line through InputLine.
#pragma once

#include <stddef.h>

// The input line as these actions see it. The Win32 side wraps the edit
// control 3004; the unit tests use a recording fake.
struct InputLine {
    // The line's text, cut to cap - 1 characters and terminated.
    virtual void getText(char* text, size_t cap) = 0;
    // Replaces the whole text; no length limit applies.
    virtual void setText(const char* text) = 0;
    // Gives the line the keyboard focus and puts the caret after the last
    // character.
    virtual void focusAtEnd() = 0;

protected:
    ~InputLine() = default;
};

// Set once the main window has created its input line.
extern InputLine* inputLine;

enum {
    kAddressReadChars = 1099,  // characters of the current text addressNick reads
};

// Appends "nick, " to the line: the whole text when the line is empty, after
// one separating blank otherwise (none when the text already ends in a
// blank). A line that begins with "/" (a command being typed) is left as it
// is. In every case the line takes the focus with the caret at the end.
void addressNick(const char* nick);

// Replaces the line with "/pm nick " and focuses it, caret at the end.
void startPrivate(const char* nick);

// A click on a nick, in the chat log or the user list: addresses the nick
// unless it is empty or the user's own (compared ignoring case), in which
// case nothing happens.
void addressClickedNick(const char* nick);
