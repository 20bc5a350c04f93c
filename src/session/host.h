// The seams between the session core and the platform. The Win32 side
// implements them; the unit tests implement recording fakes.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "session/session_state.h"

struct ParsedLine;

// Window message numbers and timer identifiers of the main window.
enum {
    kMsgSocket = 0x0400 + 1,   // socket events of the chat connection
    kMsgBannerResult = 0x0400 + 2,
};
enum {
    kTimerKeepAlive = 1,   // PING, every 20 s after WELCOME
    kTimerRefresh = 2,     // ROOMS and USERS, every 30 s after WELCOME
    kTimerStatus = 3,      // status bar, every second
    kTimerWelcomeWait = 4, // one shot, 15 s after the connect completed
    kTimerReceive = 5,     // one shot: the rest of a receive pass that paused
    kTimerReconnect = 6,   // reconnect countdown and the silence check, every second
    kTimerJournal = 7,     // the journals' flush, every 5 s while lines are gathered
    kTimerBannerSlots = 8, // while a picture download waits for a free slot
    kTimerHeldLines = 9,   // lines typed while away, one per flood limit once the room is back
};
enum {
    kSocketRead = 0x01,
    kSocketConnect = 0x10,
    kSocketClose = 0x20,
    kWouldBlock = 10035,
};

// The platform's stream sockets, as the chat connection uses them.
struct Transport {
    // Dotted quad, else the first address the name resolves to (blocking).
    // The address is in network byte order.
    virtual bool resolve(const char* host, uint32_t* address) = 0;
    virtual SocketHandle open() = 0;  // kNoSocket on failure
    // Read, connect and close events arrive as kMsgSocket to the main
    // window; the socket becomes non-blocking.
    virtual bool watch(SocketHandle s) = 0;
    // 0 when the connect completed or is under way, else the error code
    // (kWouldBlock also means under way).
    virtual int connect(SocketHandle s, uint32_t address, int port) = 0;
    // Bytes read (> 0), 0 when closed, < 0 on error.
    virtual int receive(SocketHandle s, char* buffer, size_t size) = 0;
    virtual void send(SocketHandle s, const char* bytes, size_t n) = 0;
    virtual void close(SocketHandle s) = 0;

protected:
    ~Transport() = default;
};

enum MessageIcon { IconInformation, IconWarning };

// What the session core asks of the system around it.
struct SessionHost {
    virtual void startTimer(int id, unsigned ms) = 0;
    virtual void stopTimer(int id) = 0;
    virtual uint32_t tickCount() = 0;
    virtual void localTime(int* hour, int* minute, int* second) = 0;
    virtual bool fileExists(const char* path) = 0;
    // Opens the file in the system's plain-text viewer ("notepad.exe").
    virtual void openInTextViewer(const char* path) = 0;
    // A modal message box owned by the main window. It runs a nested message
    // loop: socket events and timers are handled before it returns.
    virtual void messageBox(const char* text, const char* title, MessageIcon icon) = 0;
    // The information beep; and, while the program is in the background,
    // the taskbar button's flash and one more call counted in the title.
    virtual void beep() = 0;
    virtual void flashIfInBackground() = 0;
    // Writes every setting to the settings file.
    virtual void saveSettings() = 0;

protected:
    ~SessionHost() = default;
};

// The views of the main window; each rebuilds itself from the session record.
struct ChatViews {
    // The user table changed: the user list (and with it the status bar).
    virtual void usersChanged() = 0;
    // The room table or current room changed: the room selector.
    virtual void roomsChanged() = 0;
    // Connection, role, title or lag changed: status bar and title.
    virtual void statusChanged() = 0;
    virtual void showTopic(const char* topic) = 0;
    virtual void focusInput() = 0;
    // The input line's text, cut to cap - 1 characters, and emptying it.
    virtual void readInput(char* text, size_t cap) = 0;
    virtual void clearInput() = 0;
    // The chat colours changed: the log background and a repaint of all.
    virtual void colorsChanged() = 0;
    // A session of the user's own login starts available: the status
    // selector shows its first entry again.
    virtual void resetStatusChoice() = 0;

protected:
    ~ChatViews() = default;
};

// The administration panel while it is open.
struct PanelView {
    virtual bool isOpen() = 0;
    virtual void setStatusText(const char* text) = 0;
    virtual void setTopic(const char* topic) = 0;
    // Posts the panel its refresh message: 1 configuration, 2 banner catalogue.
    virtual void postRefresh(int what) = 0;

protected:
    ~PanelView() = default;
};

// The banner lines of the server (BANNER, and BANNERLIST ... BANNEREND),
// handed on to the banner rules with their fields as they came.
struct BannerLines {
    virtual void show(const char* id, const char* url, const char* link) = 0;
    virtual void catalogueBegin() = 0;
    virtual void catalogueItem(const char* id, const char* url, const char* link, const char* weight,
                               const char* enabled) = 0;
    virtual void catalogueEnd() = 0;

protected:
    ~BannerLines() = default;
};

// What a journalled line is. The private kinds go to the file of the other
// person (who); the rest to the file of the current room.
enum JournalLineKind {
    JournalChat,         // MSG: "<who> text"
    JournalSystem,       // SYS and the room's system lines: "* text"
    JournalNotice,       // NOTICE: "ОБЪЯВЛЕНИЕ: text"
    JournalPrivateFrom,  // PM: "[приват от who] text"
    JournalPrivateTo,    // PMSENT: "[приват для who] text"
};

inline bool isPrivateJournalLine(JournalLineKind kind)
{
    return kind == JournalPrivateFrom || kind == JournalPrivateTo;
}

// The conversation journals, as the session core feeds them.
struct ConversationJournal {
    // One line of the current room (private kinds: of the conversation with
    // who); nothing while journals are off.
    virtual void line(JournalLineKind kind, const char* who, const char* text) = 0;
    // A batch of received lines ended: what is gathered goes to the files.
    virtual void flush() = 0;

protected:
    ~ConversationJournal() = default;
};

// Marks of a line's text piece: its web links underlined and clickable; a
// mention of the own nick on a light yellow background.
enum LineMarks {
    kLineLinks = 1,
    kLineMention = 2,
};

// The chat log view.
struct ChatLog {
    // Appends one line: an optional time stamp, optional prefix, optional
    // nick in its colour, then the text; prefix and text in textColor.
    // Null pieces are left out.
    virtual void logLine(const char* timestamp, const char* prefix, const char* nick, Color nickColor,
                         const char* text, Color textColor) = 0;
    // logLine with marks (LineMarks) on the text piece. A log that marks
    // nothing writes the plain line.
    virtual void logMarkedLine(const char* timestamp, const char* prefix, const char* nick, Color nickColor,
                               const char* text, Color textColor, unsigned marks)
    {
        (void)marks;
        logLine(timestamp, prefix, nick, nickColor, text, textColor);
    }
    virtual void clearLog() = 0;
    // A receive pass appends its lines between beginBatch and endBatch: they
    // may reach the screen only at endBatch, which then shows the newest
    // line. Outside a batch each line is shown at once. A batch also ends
    // before a message box opens, so that the box never hides lines written
    // before it; endBatch then has nothing left to do. A log that shows every
    // line at once needs neither.
    virtual void beginBatch() {}
    virtual void endBatch() {}

protected:
    ~ChatLog() = default;
};

// Receives every complete, decoded, trimmed, split and non-empty server line.
struct LineHandler {
    virtual void dispatchServerLine(const ParsedLine& line) = 0;

protected:
    ~LineHandler() = default;
};

struct SessionPorts {
    Transport* transport;
    SessionHost* host;
    ChatLog* log;
    LineHandler* lines;
    ChatViews* views;
    PanelView* panel;
    BannerLines* banners;
    ConversationJournal* journal;  // null: no journals
};

extern SessionPorts ports;

// Colours of the fixed line kinds.
const Color kColorError = 0x000000C8;    // #C80000
const Color kColorNotice = 0x000000FF;   // #FF0000
const Color kColorGreeting = 0x000080FF; // #FF8000
const Color kColorUnknown = 0x008C8C8C;  // #8C8C8C

// The chat log's shorthands: "* " in the system colour, "!! " in #C80000.
void logSystem(const char* text);
void logError(const char* text);
void logSystemF(const char* fmt, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
void logErrorF(const char* fmt, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
