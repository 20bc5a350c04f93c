// The chat log view: a read-only rich edit control that receives the session's
// lines, each piece of a line in its own colour and weight.
#pragma once

#include <windows.h>

#include "log/log_links.h"
#include "log/log_rtf.h"
#include "session/host.h"

// Loads the rich edit library on the first call and returns the window class
// to create: where windows are Unicode windows (win_text.h), "RICHEDIT50W"
// from msftedit.dll when it loads; else from riched20.dll "RichEdit20W"
// (Unicode windows) or "RichEdit20A"; else "RICHEDIT" from riched32.dll;
// null when no library loads. Later calls return the first answer.
const char* loadRichEdit();

// The control's background colour.
void setChatLogBackground(HWND edit, Color c);

// The session's chat log on a rich edit control.
//
// Pieces are composed as RTF and go into the control together: at the end of
// each line, or, within a batch, when the composition is full and at the end
// of the batch; while a batch is in the control, its redrawing is held, and
// the newest line is scrolled into view once, at the end. The log counts the
// characters it appends itself and asks the control only at the first piece
// of a batch (or of a line outside one).
//
// Emptying a long log (clearLog, and always the 900,000-character rule)
// replaces the control with a fresh, empty one of the same kind, in the same
// place, with the same styles, font, background, limit, event mask and window
// procedure: some rich edit implementations take time that grows with the
// square of the lines to delete text (40 s and more for a full log under
// Wine). Whoever keeps the control's handle other than in `edit` registers
// the variable in windowCopy.
struct RichEditChatLog final : ChatLog {
    HWND edit = nullptr;
    HWND* windowCopy = nullptr;

    // The pieces, in this order, each when present and non-empty: the time
    // stamp "[time] " in grey (only with time stamps switched on), the prefix
    // in bold, "<nick> " in bold in the nick colour; then the text, cut to
    // 1000 characters, and the line break. Prefix and text in textColor.
    void logLine(const char* timestamp, const char* prefix, const char* nick, Color nickColor, const char* text,
                 Color textColor) override;
    // The same line with the web links of its text underlined (and recorded
    // in links) and, for a mention, its text black on light yellow; the
    // line end carries neither.
    void logMarkedLine(const char* timestamp, const char* prefix, const char* nick, Color nickColor,
                       const char* text, Color textColor, unsigned marks) override;
    void clearLog() override;
    void beginBatch() override;
    void endBatch() override;

    // Appends one piece in Arial 9 pt, Cyrillic character set, the colour,
    // bold or regular, without an undo step. A log holding more than 900,000
    // characters is emptied first. Outside a line and a batch the piece goes
    // into the control at once.
    void appendPiece(const char* text, Color color, bool bold);

    // The characters the control holds by the log's own count, as of the
    // last piece (a line end is one character in rich edit 2 and later).
    long length() const { return count; }

    // While the view is kept (the find window is open), new lines go in
    // without moving the view or the selection; giving it back scrolls to
    // the newest line (the selection stays until the next line).
    void keepView(bool keep);

    // The character positions of the newest links in the control.
    LinkSpans links = {};

private:
    // appendPiece for length bytes of text (or up to a NUL) in a style of
    // LogRunStyle; returns the position the run begins at.
    long appendRun(const char* text, size_t length, Color color, unsigned style);
    void putPiecesIn();
    void showNewest();
    void emptyControl();
    void replaceControl();

    LogRtf rtf = {};
    long count = 0;
    bool countStale = true;  // read the control's count before the next piece
    bool batching = false;
    bool inLine = false;
    bool redrawHeld = false;
    bool viewKept = false;
};
