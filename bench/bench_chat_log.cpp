// Where the time of one chat line goes on a real rich edit control: the
// program's own logLine on a visible log window, and the same work split into
// its steps (asking the control for its length, selecting the end, setting
// the format, replacing the selection, scrolling), each timed on its own and
// each left out in turn. Also the emptying of a full log. Run under wine64
// with a display (tests/harness/wine-run); figures go to standard output.
//
//   bench_chat_log.exe [LINES] [all|product|single|batched|steps|batch|rtf|clear|length|protocol]
//
// LINES (default 2000) per variant; the mode picks the variants (default
// all; single: only the program's log line by line; batched: only the
// program's log in batches; rtf: only the RTF stream); clear times ways of emptying a log of
// LINES chat lines (16,500 make the 900,000 characters of a full log);
// length times the two length queries on such a log; protocol times the
// protocol log alone.
// Each figure is the wall time per line and, in brackets, the CPU time of
// this process per line.

#include <windows.h>

#include <richedit.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "base/bounded.h"
#include "log/win_chat_log.h"
#include "session/host.h"
#include "session/protocol_log.h"
#include "session/session_state.h"
#include "shell/win_session_host.h"
#include "bench_clock.h"

namespace {

// CPU time of this process (user and kernel) in milliseconds; the work the
// Wine server does for it is not included.
double cpuMs()
{
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    ULARGE_INTEGER k, u;
    k.LowPart = kernel.dwLowDateTime;
    k.HighPart = kernel.dwHighDateTime;
    u.LowPart = user.dwLowDateTime;
    u.HighPart = user.dwHighDateTime;
    return (double)(k.QuadPart + u.QuadPart) / 10000.0;
}

void pump()
{
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
}

HWND parent;

HWND makeLog()
{
    RECT rc;
    GetClientRect(parent, &rc);
    HWND edit = CreateWindowExA(WS_EX_CLIENTEDGE, loadRichEdit(), "",
                                WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 0,
                                0, rc.right, rc.bottom, parent, (HMENU)(INT_PTR)3001, GetModuleHandleA(nullptr),
                                nullptr);
    SendMessageA(edit, EM_EXLIMITTEXT, 0, 2000000);
    UpdateWindow(parent);
    pump();
    return edit;
}

// A 40-character chat text that changes from line to line.
void chatText(int i, bool cyrillic, char* out)
{
    static const char kLatin[] = "abcdefghijklmnopqrstuvwxyz";
    static const char kCyrillic[] = "абвгдеёжзийклмнопрстуфхцчшщъыьэюя";
    const char* letters = cyrillic ? kCyrillic : kLatin;
    size_t count = strlen(letters);
    int n = (int)formatText(out, 16, "%06d ", i);
    for (int k = n; k < 40; k++)
        out[k] = letters[(size_t)(i * 7 + k * 3) % count];
    out[40] = '\0';
}

// The selection takes a piece's look: Arial 9 pt, Cyrillic, colour, weight.
void formatSelection(HWND edit, COLORREF color, bool bold)
{
    CHARFORMATA f = {};
    f.cbSize = sizeof f;
    f.dwMask = CFM_SIZE | CFM_COLOR | CFM_FACE | CFM_CHARSET | CFM_BOLD;
    f.dwEffects = bold ? CFE_BOLD : 0;
    f.yHeight = 180;
    f.crTextColor = color;
    f.bCharSet = RUSSIAN_CHARSET;
    f.bPitchAndFamily = FF_SWISS;
    copyText(f.szFaceName, sizeof f.szFaceName, "Arial");
    SendMessageA(edit, EM_SETCHARFORMAT, SCF_SELECTION, (LPARAM)&f);
}

// Ends a stretch of held redrawing: scrolled to the end, redrawn once.
void redrawAtTheEnd(HWND edit)
{
    SendMessageA(edit, WM_SETREDRAW, TRUE, 0);
    SendMessageA(edit, EM_SCROLLCARET, 0, 0);
    SendMessageA(edit, WM_VSCROLL, SB_BOTTOM, 0);
    InvalidateRect(edit, nullptr, TRUE);
}

// ---- The steps of one line, each timed ---------------------------------

enum Step { StepLength, StepSelect, StepFormat, StepReplace, StepScroll, StepCount };
const char* const kStepNames[StepCount] = {"length query", "select end", "set format", "replace", "scroll"};

struct StepTimes {
    double ms[StepCount];
};

struct Variant {
    const char* name;
    bool length, select, format, scroll, redrawOff;
};

void timedPiece(HWND edit, const char* text, COLORREF color, bool bold, const Variant& v, StepTimes& t)
{
    double t0 = nowMs();
    LRESULT length = 0x7FFFFFF0;  // past the end: the control puts the caret at its end
    if (v.length) {
        length = SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0);
        GETTEXTLENGTHEX q = {GTL_DEFAULT | GTL_NUMCHARS, CP_ACP};
        LRESULT positions = SendMessageA(edit, EM_GETTEXTLENGTHEX, (WPARAM)&q, 0);
        if (positions > 0)
            length = positions;
    }
    double t1 = nowMs();
    if (v.select) {
        CHARRANGE end = {(LONG)length, (LONG)length};
        SendMessageA(edit, EM_EXSETSEL, 0, (LPARAM)&end);
    }
    double t2 = nowMs();
    if (v.format)
        formatSelection(edit, color, bold);
    double t3 = nowMs();
    SendMessageA(edit, EM_REPLACESEL, FALSE, (LPARAM)text);
    double t4 = nowMs();
    t.ms[StepLength] += t1 - t0;
    t.ms[StepSelect] += t2 - t1;
    t.ms[StepFormat] += t3 - t2;
    t.ms[StepReplace] += t4 - t3;
}

void runVariant(const Variant& v, int lines, bool cyrillic)
{
    HWND edit = makeLog();
    StepTimes t = {};
    double start = nowMs(), cpu = cpuMs();
    if (v.redrawOff)
        SendMessageA(edit, WM_SETREDRAW, FALSE, 0);
    for (int i = 0; i < lines; i++) {
        char text[48], piece[64];
        chatText(i, cyrillic, text);
        timedPiece(edit, "[12:00] ", RGB(128, 128, 128), false, v, t);
        timedPiece(edit, cyrillic ? "<Петя> " : "<bot> ", RGB(255, 0, 0), true, v, t);
        formatText(piece, sizeof piece, "%s\r\n", text);
        timedPiece(edit, piece, RGB(0, 0, 0), false, v, t);
        if (v.scroll) {
            double s0 = nowMs();
            SendMessageA(edit, EM_SCROLLCARET, 0, 0);
            SendMessageA(edit, WM_VSCROLL, SB_BOTTOM, 0);
            t.ms[StepScroll] += nowMs() - s0;
        }
    }
    if (v.redrawOff)
        redrawAtTheEnd(edit);
    pump();
    double total = nowMs() - start;
    printf("  %-34s %8.1f us/line (cpu %.1f)", v.name, total * 1000.0 / lines, (cpuMs() - cpu) * 1000.0 / lines);
    for (int s = 0; s < StepCount; s++)
        printf("  %s %.1f", kStepNames[s], t.ms[s] * 1000.0 / lines);
    printf("\n");
    fflush(stdout);
    DestroyWindow(edit);
    pump();
}

// ---- Whole passes in one insertion ---------------------------------------

// Lines of one receive pass (1,000 lines, a 64 KB read) put into the control
// at once: as one plain text, as one plain text then formatted piece by
// piece, or as one RTF stream carrying the formats.
enum BatchKind { BatchPlain, BatchPlainFormatted, BatchRtf };

struct RtfSource {
    const char* data;
    size_t size, pos;
};

DWORD CALLBACK readRtf(DWORD_PTR cookie, LPBYTE buffer, LONG cb, LONG* got)
{
    RtfSource* src = (RtfSource*)cookie;
    size_t n = src->size - src->pos < (size_t)cb ? src->size - src->pos : (size_t)cb;
    memcpy(buffer, src->data + src->pos, n);
    src->pos += n;
    *got = (LONG)n;
    return 0;
}

void appendRtfText(std::string& rtf, const char* text)
{
    for (const unsigned char* p = (const unsigned char*)text; *p; p++) {
        if (*p == '\\' || *p == '{' || *p == '}') {
            rtf += '\\';
            rtf += (char)*p;
        } else if (*p >= 0x80) {
            char hex[8];
            formatText(hex, sizeof hex, "\\'%02x", *p);
            rtf += hex;
        } else {
            rtf += (char)*p;
        }
    }
}

void setFormat(HWND edit, LONG from, LONG to, COLORREF color, bool bold)
{
    CHARRANGE r = {from, to};
    SendMessageA(edit, EM_EXSETSEL, 0, (LPARAM)&r);
    formatSelection(edit, color, bold);
}

void runBatched(BatchKind kind, int lines, bool cyrillic)
{
    static const char* const kNames[] = {"plain text, one insert a pass", "plain, then formatted per piece",
                                         "RTF stream, one a pass"};
    HWND edit = makeLog();
    const char* nick = cyrillic ? "<Петя> " : "<bot> ";
    double start = nowMs(), cpu = cpuMs();
    for (int first = 0; first < lines; first += 1000) {
        int last = first + 1000 < lines ? first + 1000 : lines;
        SendMessageA(edit, WM_SETREDRAW, FALSE, 0);
        CHARRANGE end = {0x7FFFFFF0, 0x7FFFFFF0};
        SendMessageA(edit, EM_EXSETSEL, 0, (LPARAM)&end);
        CHARRANGE at = {};
        SendMessageA(edit, EM_EXGETSEL, 0, (LPARAM)&at);
        if (kind == BatchRtf) {
            std::string rtf = "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset204 Arial;}}"
                              "{\\colortbl;\\red128\\green128\\blue128;\\red255\\green0\\blue0;\\red0\\green0\\blue0;}"
                              "\\f0\\fs18 ";
            for (int i = first; i < last; i++) {
                char text[48];
                chatText(i, cyrillic, text);
                rtf += "\\cf1\\b0 [12:00] \\cf2\\b ";
                appendRtfText(rtf, nick);
                rtf += "\\cf3\\b0 ";
                appendRtfText(rtf, text);
                rtf += "\\par\n";
            }
            rtf += "}";
            RtfSource src = {rtf.data(), rtf.size(), 0};
            EDITSTREAM es = {(DWORD_PTR)&src, 0, readRtf};
            SendMessageA(edit, EM_STREAMIN, SF_RTF | SFF_SELECTION, (LPARAM)&es);
        } else {
            std::string plain;
            for (int i = first; i < last; i++) {
                char text[48];
                chatText(i, cyrillic, text);
                plain += "[12:00] ";
                plain += nick;
                plain += text;
                plain += "\r\n";
            }
            SendMessageA(edit, EM_REPLACESEL, FALSE, (LPARAM)plain.c_str());
            if (kind == BatchPlainFormatted) {
                LONG pos = at.cpMin;
                LONG nickLen = (LONG)strlen(nick);
                for (int i = first; i < last; i++) {
                    setFormat(edit, pos, pos + 8, RGB(128, 128, 128), false);
                    setFormat(edit, pos + 8, pos + 8 + nickLen, RGB(255, 0, 0), true);
                    setFormat(edit, pos + 8 + nickLen, pos + 8 + nickLen + 41, RGB(0, 0, 0), false);
                    pos += 8 + nickLen + 41;
                }
            }
        }
        SendMessageA(edit, EM_EXSETSEL, 0, (LPARAM)&end);
        redrawAtTheEnd(edit);
        pump();
    }
    double total = nowMs() - start;
    printf("  %-34s %8.1f us/line (cpu %.1f)\n", kNames[kind], total * 1000.0 / lines,
           (cpuMs() - cpu) * 1000.0 / lines);
    fflush(stdout);
    DestroyWindow(edit);
    pump();
}

// ---- The program's own log ----------------------------------------------

void runProduct(int lines, bool cyrillic, bool batched)
{
    HWND edit = makeLog();
    RichEditChatLog log;
    log.edit = edit;
    double start = nowMs(), cpu = cpuMs(), block = start;
    for (int i = 0; i < lines; i++) {
        char text[48];
        chatText(i, cyrillic, text);
        // A receive pass of 1,000 lines (a 64 KB read) is one batch of the
        // log, then the message loop runs.
        if (batched && i % 1000 == 0)
            log.beginBatch();
        log.logLine("12:00", nullptr, cyrillic ? "Петя" : "bot", 0x000000FF, text, 0);
        if (batched && (i % 1000 == 999 || i == lines - 1)) {
            log.endBatch();
            pump();
        }
        if (batched && i % 4000 == 3999) {
            printf("    lines to %5d: %6.1f us/line\n", i + 1, (nowMs() - block) * 1000.0 / 4000);
            block = nowMs();
        }
    }
    pump();
    double total = nowMs() - start;
    printf("  %-34s %8.1f us/line (cpu %.1f)\n", batched ? "logLine, batches of 1000 lines" : "logLine",
           total * 1000.0 / lines, (cpuMs() - cpu) * 1000.0 / lines);
    fflush(stdout);
    DestroyWindow(edit);
    pump();
}

// Puts `lines` chat lines into the log in passes of 1,000 lines, each one
// RTF stream (the fastest way in), so that a full log is quick to make.
void fillWithLines(HWND edit, int lines)
{
    for (int first = 0; first < lines; first += 1000) {
        std::string rtf = "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset204 Arial;}}"
                          "{\\colortbl;\\red128\\green128\\blue128;\\red255\\green0\\blue0;\\red0\\green0\\blue0;}"
                          "\\f0\\fs18 ";
        for (int i = first; i < first + 1000 && i < lines; i++) {
            char text[48];
            chatText(i, false, text);
            rtf += "\\cf1\\b0 [12:00] \\cf2\\b <bot> \\cf3\\b0 ";
            rtf += text;
            rtf += "\\par\n";
        }
        rtf += "}";
        CHARRANGE end = {0x7FFFFFF0, 0x7FFFFFF0};
        SendMessageA(edit, EM_EXSETSEL, 0, (LPARAM)&end);
        RtfSource src = {rtf.data(), rtf.size(), 0};
        EDITSTREAM es = {(DWORD_PTR)&src, 0, readRtf};
        SendMessageA(edit, EM_STREAMIN, SF_RTF | SFF_SELECTION, (LPARAM)&es);
    }
    pump();
}

// Empties a log of `lines` chat lines (16,500 are some 900,000 characters)
// in several ways and times each.
void runClear(int lines)
{
    static const char* const kWays[] = {
        "WM_SETTEXT, redraw held",
        "WM_SETTEXT, no undo, redraw held",
        "from the end, 500 lines a step",
        "DestroyWindow",
    };
    for (int way = 0; way < 4; way++) {
        HWND edit = makeLog();
        fillWithLines(edit, lines);
        GETTEXTLENGTHEX q = {GTL_DEFAULT | GTL_NUMCHARS, CP_ACP};
        LRESULT had = SendMessageA(edit, EM_GETTEXTLENGTHEX, (WPARAM)&q, 0);
        double t0 = nowMs();
        if (way == 3) {
            DestroyWindow(edit);
            edit = nullptr;
        } else {
            SendMessageA(edit, WM_SETREDRAW, FALSE, 0);
            if (way == 1)
                SendMessageA(edit, EM_SETUNDOLIMIT, 0, 0);
            if (way < 2) {
                SetWindowTextA(edit, "");
            } else {
                LRESULT paragraphs = SendMessageA(edit, EM_GETLINECOUNT, 0, 0);
                for (LRESULT line = paragraphs - 1; line > 0; line -= 500) {
                    LRESULT from = SendMessageA(edit, EM_LINEINDEX, line > 500 ? line - 500 : 0, 0);
                    CHARRANGE r = {(LONG)from, -1};
                    SendMessageA(edit, EM_EXSETSEL, 0, (LPARAM)&r);
                    SendMessageA(edit, EM_REPLACESEL, FALSE, (LPARAM)"");
                }
            }
            SendMessageA(edit, WM_SETREDRAW, TRUE, 0);
            InvalidateRect(edit, nullptr, TRUE);
        }
        pump();
        printf("  emptying %ld characters, %-40s %8.1f ms\n", (long)had, kWays[way], nowMs() - t0);
        fflush(stdout);
        if (edit)
            DestroyWindow(edit);
        pump();
    }
}

// The two ways of asking a log of `lines` chat lines for its length.
void runLengthQueries(int lines)
{
    HWND edit = makeLog();
    fillWithLines(edit, lines);
    double t0 = nowMs();
    LRESULT plain = SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0);
    double t1 = nowMs();
    GETTEXTLENGTHEX q = {GTL_DEFAULT | GTL_NUMCHARS, CP_ACP};
    LRESULT positions = SendMessageA(edit, EM_GETTEXTLENGTHEX, (WPARAM)&q, 0);
    double t2 = nowMs();
    printf("  %d lines: WM_GETTEXTLENGTH %ld in %.2f ms, EM_GETTEXTLENGTHEX %ld in %.3f ms\n", lines, (long)plain,
           t1 - t0, (long)positions, t2 - t1);
    fflush(stdout);
    DestroyWindow(edit);
    pump();
}

// The protocol log: 20,000 received lines appended to a file in the
// temporary folder, each flushed to the system as the program does.
void runProtocolLog()
{
    WinSessionHost host;  // the program's own: the local time of each line
    SessionHost* saved = ports.host;
    ports.host = &host;
    char dir[MAX_PATH];
    GetTempPathA(sizeof dir, dir);
    char path[MAX_PATH];
    formatText(path, sizeof path, "%szb-bench-protocol.log", dir);
    DeleteFileA(path);
    protocolLogPath.set(path);
    double start = nowMs();
    for (int i = 0; i < 20000; i++) {
        char line[96];
        char text[48];
        chatText(i, false, text);
        formatText(line, sizeof line, "MSG 12:00\tbot\t#FF0000\t%s", text);
        logProtocolLine("S>", line);
    }
    closeProtocolLog();
    printf("  protocol log: %.1f us/line\n", (nowMs() - start) * 1000.0 / 20000);
    protocolLogPath.clear();
    DeleteFileA(path);
    ports.host = saved;
}

LRESULT CALLBACK parentProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcA(w, msg, wp, lp); }

} // namespace

int main(int argc, char** argv)
{
    int lines = argc > 1 ? atoi(argv[1]) : 2000;
    if (lines <= 0)
        lines = 2000;
    if (!loadRichEdit()) {
        fprintf(stderr, "no rich edit library\n");
        return 1;
    }
    resetSessionState(session);
    session.settings.timestamps = true;

    WNDCLASSA wc = {};
    wc.lpfnWndProc = parentProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    wc.lpszClassName = "ZbBenchLog";
    RegisterClassA(&wc);
    parent = CreateWindowExA(0, "ZbBenchLog", "bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640, 480, nullptr,
                             nullptr, GetModuleHandleA(nullptr), nullptr);

    static const Variant kVariants[] = {
        {"all steps", true, true, true, true, false},
        {"without the length query", false, true, true, true, false},
        {"without the format", true, true, false, true, false},
        {"without the scrolling", true, true, true, false, false},
        {"all steps, redraw held", true, true, true, true, true},
        {"replace only, redraw held", false, false, false, false, true},
    };
    const char* mode = argc > 2 ? argv[2] : "all";
    bool all = strcmp(mode, "all") == 0;
    bool lineModes = strcmp(mode, "clear") != 0 && strcmp(mode, "protocol") != 0 && strcmp(mode, "length") != 0;
    for (int pass = 0; pass < 2 && lineModes; pass++) {
        bool cyrillic = pass == 1;
        printf("%s, %d lines of 40 characters (time, nick, text):\n", cyrillic ? "Cyrillic" : "ASCII", lines);
        if (all || strcmp(mode, "product") == 0 || strcmp(mode, "single") == 0)
            runProduct(lines, cyrillic, false);
        if (all || strcmp(mode, "product") == 0 || strcmp(mode, "batched") == 0)
            runProduct(lines, cyrillic, true);
        if (all || strcmp(mode, "steps") == 0)
            for (const Variant& v : kVariants)
                runVariant(v, lines, cyrillic);
        if (all || strcmp(mode, "batch") == 0)
            for (int k = BatchPlain; k <= BatchRtf; k++)
                runBatched((BatchKind)k, lines, cyrillic);
        if (strcmp(mode, "rtf") == 0)
            runBatched(BatchRtf, lines, cyrillic);
    }
    if (strcmp(mode, "clear") == 0)
        runClear(lines);
    if (strcmp(mode, "length") == 0)
        runLengthQueries(lines);
    if (all || strcmp(mode, "protocol") == 0)
        runProtocolLog();
    DestroyWindow(parent);
    pump();
    return 0;
}
