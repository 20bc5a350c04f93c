// The chat log view: a read-only rich edit control that receives the session's
// lines, each piece of a line in its own colour and weight.
#pragma once

#include <windows.h>

#include "host.h"

// Loads the rich edit library on the first call and returns the window class
// to create: "RichEdit20A" from riched20.dll, else "RICHEDIT" from
// riched32.dll; null when neither library loads. Later calls return the
// first answer.
const char* loadRichEdit();

// The control's background colour.
void setChatLogBackground(HWND edit, Color c);

// Appends text at the end of the control in Arial 9 pt, Cyrillic character
// set, the colour, bold or regular, without an undo step. Any selection the
// user made is lost. A control holding more than 900,000 characters is
// emptied first.
void appendPiece(HWND edit, const char* text, Color color, bool bold);

// The session's chat log on a rich edit control. Every line ends with the
// view scrolled to the bottom.
struct RichEditChatLog final : ChatLog {
    HWND edit = nullptr;

    // The pieces, in this order, each when present and non-empty: the time
    // stamp "[time] " in grey (only with time stamps switched on), the prefix
    // in bold, "<nick> " in bold in the nick colour; then the text, cut to
    // 1000 characters, and the line break. Prefix and text in textColor.
    void logLine(const char* timestamp, const char* prefix, const char* nick, Color nickColor, const char* text,
                 Color textColor) override;
    void clearLog() override;
};
