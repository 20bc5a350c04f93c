// What the user types into the input line: chat text or a slash command.
#pragma once

enum {
    kInputLineChars = 1000,                     // the input line holds at most this many characters
    kInputLineBytes = 3 * kInputLineChars + 1,  // its text in UTF-8, with the NUL
};

// Reads the input line and sends it as a chat message or runs it as a
// command; empties the line unless the text is kept for correcting.
void submitInputLine();

// Adds the nick to the ignore list or takes it off, with a notice; the
// user list is redrawn and the settings saved after a change.
void toggleIgnore(const char* nick);
