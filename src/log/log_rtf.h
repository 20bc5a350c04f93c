// Pieces of chat-log lines composed as one RTF text, so that all the lines of
// a receive pass go into the rich edit control in one insertion instead of a
// select-format-replace sequence per piece. Every piece is Arial 9 pt,
// Cyrillic character set, Swiss family, in its colour, bold or regular: the
// look the log gives each piece.
#pragma once

#include <stddef.h>

#include "base/codepage.h"
#include "session/session_state.h"

enum {
    kLogRtfBodyCap = 16384,  // bytes of composed pieces held before they must go in
    kLogRtfColors = 32,      // distinct colours held
};

struct LogRtf {
    char body[kLogRtfBodyCap];
    size_t bodyLength;
    Color colors[kLogRtfColors];  // colour table entries 1 to colorCount
    int colorCount;
    int pieces;
    // Positions a paragraph end takes in the control: 1 for rich edit 2 and
    // later, 2 for rich edit 1, which keeps CR LF.
    int breakWidth;
    // The RTF text declares code page 1251 (the font's Cyrillic character
    // set). Where the program's code page for windows is 1251, a character of
    // 1251 is written as its byte ("\'e0"); every other character by its
    // Unicode value with the code page's byte (or "?") as the fallback
    // ("\u1072\'e0"), which some controls read much more slowly (under Wine
    // each such character costs more the longer the log is). Learnt at the
    // first piece of each composition: highUnits are the characters of the
    // code page's bytes 0x80 to 0xFF.
    bool highAs1251, highMapped;
    Utf16Unit highUnits[128];
    // Underline (0 or 1) and background colour index (0: none) as the body
    // leaves them. A composition starts with both off: every line ends in
    // a plain run, so the text it goes after is plain too. Control words
    // for them are written only around marked runs: a background said even
    // as "none" makes some controls (Wine's) paint each run's background.
    int underlined, highlighted;
};

// How a run of text looks besides its colour.
enum LogRunStyle {
    kRunBold = 1,
    kRunUnderline = 2,   // a web link
    kRunMarked = 4,      // a mention: black on light yellow; in rich edit 1, which
                         // knows no background, bold in its own colour
};

const Color kLogMarkBackground = 0x00B0F2FF;  // #FFF2B0

// Empties the composition; breakWidth stays.
void clearLogRtf(LogRtf& rtf);

// Appends one piece of UTF-8 text. Line ends in the text (CR LF, or a CR or
// an LF alone) become paragraph ends, a TAB a tab; RTF's own characters are
// escaped, every other byte below 0x20 is written as a hexadecimal escape
// and every character from U+0080 as above, so no text can change the
// formatting. *positions receives the character positions (UTF-16 units) the
// piece takes in the control. Returns false, changing nothing, when the piece
// does not fit beside the pieces held (the caller puts those into the control
// and starts again); a piece too long even for an empty composition is cut.
bool appendLogRtf(LogRtf& rtf, const char* text, Color color, bool bold, size_t* positions);

// The same for the first length bytes of text (or up to a NUL), in a style
// of LogRunStyle. Rich edit 1 (breakWidth 2) knows no background: a marked
// run is bold there instead.
bool appendLogRtfRun(LogRtf& rtf, const char* text, size_t length, Color color, unsigned style, size_t* positions);

// Writes the opening of the RTF text for the pieces held: header, font table
// and colour table. The whole text is the opening, the body, and "}".
// Returns the length written (cut to cap).
size_t logRtfOpening(const LogRtf& rtf, char* out, size_t cap);
