#include "chat_log.h"

#include <richedit.h>

namespace {

const LRESULT kMaxLogChars = 900000;   // beyond this the log starts afresh
const size_t kMaxLineText = 1000;      // characters of a line's text shown
const Color kColorTimestamp = 0x00808080;  // #808080

bool present(const char* s) { return s && s[0] != '\0'; }

// The number of character positions in the control, as selection positions
// count them. Rich edit 2 and later keep a paragraph end as a single CR and
// EM_GETTEXTLENGTHEX (GTL_DEFAULT | GTL_NUMCHARS) counts it once, whereas
// WM_GETTEXTLENGTH reports the text with CR LF and so counts two per line.
// Rich edit 1 keeps CR LF itself, where WM_GETTEXTLENGTH is the right count;
// it does not know EM_GETTEXTLENGTHEX and answers 0 to it.
LRESULT characterCount(HWND edit)
{
    LRESULT plain = SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0);
    if (plain <= 0)
        return 0;
    GETTEXTLENGTHEX query;
    query.flags = GTL_DEFAULT | GTL_NUMCHARS;
    query.codepage = CP_ACP;
    LRESULT positions = SendMessageA(edit, EM_GETTEXTLENGTHEX, (WPARAM)&query, 0);
    return positions > 0 ? positions : plain;
}

}  // namespace

const char* loadRichEdit()
{
    static bool tried;
    static const char* className;
    if (!tried) {
        tried = true;
        if (LoadLibraryA("riched20.dll"))
            className = "RichEdit20A";
        else if (LoadLibraryA("riched32.dll"))
            className = "RICHEDIT";
    }
    return className;
}

void setChatLogBackground(HWND edit, Color c)
{
    SendMessageA(edit, EM_SETBKGNDCOLOR, 0, (LPARAM)(COLORREF)c);
}

void appendPiece(HWND edit, const char* text, Color color, bool bold)
{
    LRESULT length = characterCount(edit);
    if (length > kMaxLogChars) {
        SetWindowTextA(edit, "");
        length = 0;
    }

    // An insertion point at the end. Should the count ever run past the last
    // position (a control counting CR LF as two), the control clamps it to
    // the end of the text.
    CHARRANGE end;
    end.cpMin = (LONG)length;
    end.cpMax = (LONG)length;
    SendMessageA(edit, EM_EXSETSEL, 0, (LPARAM)&end);

    CHARFORMATA format = {};
    format.cbSize = sizeof format;
    format.dwMask = CFM_SIZE | CFM_COLOR | CFM_FACE | CFM_CHARSET | CFM_BOLD;
    format.dwEffects = bold ? CFE_BOLD : 0;
    format.yHeight = 180;  // twips: 9 pt
    format.crTextColor = (COLORREF)color;
    format.bCharSet = RUSSIAN_CHARSET;
    format.bPitchAndFamily = FF_SWISS;
    copyText(format.szFaceName, sizeof format.szFaceName, "Arial");
    SendMessageA(edit, EM_SETCHARFORMAT, SCF_SELECTION, (LPARAM)&format);

    SendMessageA(edit, EM_REPLACESEL, FALSE, (LPARAM)(text ? text : ""));
}

void RichEditChatLog::logLine(const char* timestamp, const char* prefix, const char* nick, Color nickColor,
                              const char* text, Color textColor)
{
    if (!edit)
        return;

    // Time stamps and nicks come from the server with no length limit; the
    // precision cuts each to 255 characters, and the bounded formatting
    // keeps the result inside the buffer whatever the source.
    char piece[kMaxLineText + 8];
    if (session.settings.timestamps && present(timestamp)) {
        formatText(piece, sizeof piece, "[%.255s] ", timestamp);
        appendPiece(edit, piece, kColorTimestamp, false);
    }
    if (present(prefix))
        appendPiece(edit, prefix, textColor, true);
    if (present(nick)) {
        formatText(piece, sizeof piece, "<%.255s> ", nick);
        appendPiece(edit, piece, nickColor, true);
    }
    formatText(piece, sizeof piece, "%.*s\r\n", (int)kMaxLineText, text ? text : "");
    appendPiece(edit, piece, textColor, false);

    // The newest line is shown even when the user had scrolled back.
    SendMessageA(edit, EM_SCROLLCARET, 0, 0);
    SendMessageA(edit, WM_VSCROLL, SB_BOTTOM, 0);
}

void RichEditChatLog::clearLog()
{
    if (edit)
        SetWindowTextA(edit, "");
}
