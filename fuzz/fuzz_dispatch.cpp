// libFuzzer target of the whole path from the socket to the session record:
// server bytes go through the real receive buffer into the real
// dispatchServerLine, typed lines through submitInputLine, and every other
// seam is a recording fake that checks what it is handed.
//
// Input layout: byte 0 holds the number k (bits 0-4) of control bytes that
// follow it and three flags: bit 5 keeps the administration panel open,
// bit 6 turns the sound off, bit 7 starts with a registration pending. The
// rest is the body; its repeat chunks (fuzz_support.h: '*', two count bytes,
// a template) are expanded first, so a short input brings listings past the
// tables' capacities and typed lines by the dozen. The body is then cut into
// chunks after every LF. A chunk that starts with
// '>' is a typed line (the text after the '>'); one that starts with '/' is a
// typed command line as it stands; every other chunk is server data. The
// server data between two typed lines is one segment: the transport hands
// out no byte past it until the typed line after it has been submitted, so
// typed lines and server lines interleave as they stand in the body.
//
// The control bytes are used in turn, cycling, to choose each socket event
// and its read size, each answer of the panel's isOpen, what the nested loop
// of each message box delivers, and the connection flags at each typed line.
// With k = 0 every event is a read of 1,460 bytes, the panel is closed (unless
// bit 5 says otherwise) and message boxes return at once.
//
// After every event the session record is checked: table counts within
// their capacities, every text terminated within its field, the receive
// buffer terminated at its fill, and what a disconnect leaves behind.

#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include <vector>

#include "banners/banner_model.h"
#include "base/bounded.h"
#include "base/codepage.h"
#include "base/text_fold.h"
#include "base/utf8.h"
#include "session/commands.h"
#include "session/connection.h"
#include "session/dispatch.h"
#include "session/host.h"
#include "session/protocol.h"
#include "session/protocol_log.h"
#include "session/session_state.h"
#include "fuzz_support.h"

namespace {

using namespace harness;

enum {
    kFlagPanelOpen = 0x20,
    kFlagSoundOff = 0x40,
    kFlagRegistration = 0x80,
};

Script script;
uint8_t flags;

// What happened in this run, for the bounds checked at its end.
struct Counts {
    size_t events;       // top-level events and typed lines
    size_t nested;       // events delivered from inside message boxes
    size_t logged;       // chat log lines
    size_t clears;       // chat log clears
    size_t sent;         // lines sent
    size_t boxes;        // message boxes
} counts;

// A piece handed to a seam: a terminated string (read through by strlen, so
// the address sanitizer sees every byte of it).
size_t checkPiece(const char* p)
{
    CHECK(p != nullptr);
    return strlen(p);
}

// ---------------------------------------------------------------------------
// Invariants of the session record.

void checkUsers()
{
    const SessionState& s = session;
    CHECK(s.userCount >= 0 && s.userCount <= kMaxUsers);
    checkUserTexts(s);
}

void checkRooms()
{
    const SessionState& s = session;
    CHECK(s.roomCount >= 0 && s.roomCount <= kMaxRooms);
    checkRoomTexts(s);
    checkText(s.currentRoom);
}

void checkIdentity()
{
    const SessionState& s = session;
    checkText(s.ownNick);
    checkText(s.globalRole);
    checkText(s.roomRole);
    checkText(s.chatTitle);
    checkText(s.currentRoom);
    checkText(s.loginNick);
    checkText(s.nickColor);
}

// Whether the tables may have changed since their texts were last checked.
// Set by every dispatched line and every event other than a plain read: a
// read that completes no line only appends to the receive buffer, and
// scanning full tables after each of thousands of small reads took a third
// of a run.
bool tablesTouched = true;

// The counts and the connection as they were at the last table check.
struct TableMarks {
    int users, rooms, ignored, cfg, bannerItems;
    SocketHandle socket;
    int connected;
    bool operator==(const TableMarks& o) const
    {
        return users == o.users && rooms == o.rooms && ignored == o.ignored && cfg == o.cfg &&
               bannerItems == o.bannerItems && socket == o.socket && connected == o.connected;
    }
};

TableMarks tableMarks()
{
    const SessionState& s = session;
    return {s.userCount, s.roomCount, s.ignoredCount, s.cfgCount, s.bannerItemCount, s.socket, s.connected};
}

TableMarks lastMarks;

void checkSession()
{
    const SessionState& s = session;
    notePeaks(s);
    CHECK(s.recvFill < kRecvBufferSize);
    CHECK(s.recvBuffer[s.recvFill] == '\0');
    CHECK(s.userCount >= 0 && s.userCount <= kMaxUsers);
    CHECK(s.roomCount >= 0 && s.roomCount <= kMaxRooms);
    CHECK(s.ignoredCount >= 0 && s.ignoredCount <= kMaxIgnored);
    CHECK(s.cfgCount >= 0 && s.cfgCount <= kMaxCfg);
    CHECK(s.bannerItemCount >= 0 && s.bannerItemCount <= kMaxBannerItems);
    // A count or the connection that moved without a line is a change too.
    // The texts of the record change only with the tables (a dispatched line
    // or an event other than a plain read), and checking them after each of
    // thousands of reads that complete no line took a fifth of a run.
    TableMarks marks = tableMarks();
    if (tablesTouched || !(marks == lastMarks)) {
        checkIdentity();
        checkUsers();
        checkRooms();
        checkIgnoredTexts(s);
        checkCfgTexts(s);
        checkBannerItemTexts(s);
        checkText(s.banner.url);
        checkText(s.banner.link);
        checkText(s.registration.login);
        checkText(s.settings.host);
        tablesTouched = false;
        lastMarks = marks;
    }

    // What a disconnect leaves, and every state without a socket starts from.
    if (s.socket == kNoSocket) {
        CHECK(s.recvFill == 0);
        CHECK(s.connected == 0 && s.welcomed == 0);
        CHECK(s.userCount == 0);
        CHECK(s.currentRoom.empty());
        CHECK(strcmp(s.globalRole.s, kRoleGuest) == 0);
        CHECK(strcmp(s.roomRole.s, kRoleGuest) == 0);
    }
}

// ---------------------------------------------------------------------------
// The input split into server data and typed lines.

struct Body {
    std::vector<char> server;          // every server chunk, in order
    std::vector<size_t> typedBegin;    // typed line i: body offset and length
    std::vector<size_t> typedLength;
    std::vector<size_t> typedAt;       // server bytes before typed line i
    const uint8_t* bytes = nullptr;
    size_t lfs = 0;                    // LFs of the server data

    void split(const uint8_t* data, size_t size)
    {
        bytes = data;
        server.clear();
        typedBegin.clear();
        typedLength.clear();
        typedAt.clear();
        lfs = 0;
        size_t start = 0;
        while (start < size) {
            const void* lf = memchr(data + start, '\n', size - start);
            size_t end = lf ? (size_t)((const uint8_t*)lf - data) + 1 : size;
            uint8_t first = data[start];
            if (first == '>' || first == '/') {
                size_t from = first == '>' ? start + 1 : start;
                size_t to = lf ? end - 1 : end;
                typedBegin.push_back(from);
                typedLength.push_back(to - from);
                typedAt.push_back(server.size());
            } else {
                server.insert(server.end(), data + start, data + end);
                lfs += lf ? 1 : 0;
            }
            start = end;
        }
    }
};

Body body;

// ---------------------------------------------------------------------------
// The seams.

void nestedLoop();

struct StreamTransport final : Transport {
    size_t pos = 0;           // server bytes handed out
    size_t limit = 0;         // end of the segment being received
    size_t readSize = 1460;
    SocketHandle nextHandle = 100;
    size_t sendsInSubmit = 0;
    char lastSent[8] = {};    // the first bytes of the latest line sent

    bool resolve(const char* hostName, uint32_t* address) override
    {
        checkPiece(hostName);
        *address = 0x0100007F;
        return true;
    }
    SocketHandle open() override { return nextHandle++; }
    bool watch(SocketHandle s) override
    {
        CHECK(s != kNoSocket);
        return true;
    }
    int connect(SocketHandle s, uint32_t, int port) override
    {
        CHECK(s != kNoSocket);
        CHECK(port == session.settings.port);
        return kWouldBlock;
    }
    int receive(SocketHandle s, char* buffer, size_t room) override
    {
        checkReceiveCall(s, buffer, room);
        if (pos == limit)
            return pos == body.server.size() ? 0 : -1;  // closed, or nothing yet
        size_t n = handOut(body.server.data(), limit, pos, buffer, readSize < room ? readSize : room);
        noteReceived(n);
        return (int)n;
    }
    // Largest number of TABs a line the client sends may hold, by its
    // command word; -1 for a word the client never sends.
    static int tabsAllowed(const char* word, size_t n)
    {
        static const struct {
            const char* word;
            int tabs;
        } kWords[] = {
            {"HELLO", 1}, {"LOGIN", 2}, {"REG", 3},    {"PING", 0},  {"ROOMS", 0},  {"USERS", 0},
            {"BANNERS", 0}, {"QUIT", 0}, {"MSG", 0},   {"ME", 0},    {"JOIN", 0},   {"CREATE", 1},
            {"STATUS", 0}, {"TOPIC", 0}, {"UNBAN", 0}, {"PM", 1},    {"KICK", 1},   {"BAN", 2},
        };
        for (const auto& w : kWords)
            if (strlen(w.word) == n && memcmp(w.word, word, n) == 0)
                return w.tabs;
        return -1;
    }
    void send(SocketHandle s, const char* bytes, size_t n) override
    {
        // One whole line to the session's socket: an upper-case command
        // word, no CR, LF or NUL but the final LF, and no more TABs than the
        // command has fields, so typed text can never add a field or a line.
        CHECK(s != kNoSocket && s == session.socket);
        CHECK(n >= 2 && n <= kEncodedLineCap);
        CHECK(bytes[n - 1] == '\n');
        size_t word = 0;
        while (word < n - 1 && bytes[word] >= 'A' && bytes[word] <= 'Z')
            word++;
        CHECK(word > 0 && (bytes[word] == ' ' || word == n - 1));
        int tabs = 0;
        for (size_t i = 0; i + 1 < n; i++) {
            CHECK(bytes[i] != '\n' && bytes[i] != '\r' && bytes[i] != '\0');
            tabs += bytes[i] == '\t';
        }
        int allowed = tabsAllowed(bytes, word);
        CHECK(allowed >= 0);
        CHECK(tabs <= allowed);
        memset(lastSent, 0, sizeof lastSent);
        memcpy(lastSent, bytes, n < sizeof lastSent - 1 ? n : sizeof lastSent - 1);
        counts.sent++;
        sendsInSubmit++;
    }
    void close(SocketHandle s) override
    {
        CHECK(s != kNoSocket && s == session.socket);
    }
};

StreamTransport transport;

struct FuzzHost final : SessionHost {
    uint32_t tick = 1000;
    int depth = 0;

    static bool sessionTimer(int id)
    {
        return (id >= kTimerKeepAlive && id <= kTimerReconnect) || id == kTimerHeldLines;
    }
    void startTimer(int id, unsigned ms) override
    {
        CHECK(sessionTimer(id));
        CHECK(ms > 0);
    }
    void stopTimer(int id) override { CHECK(sessionTimer(id)); }
    uint32_t tickCount() override { return tick += 37; }
    void localTime(int* h, int* m, int* s) override
    {
        *h = 23;
        *m = 59;
        *s = 58;
    }
    bool fileExists(const char* path) override
    {
        checkPiece(path);
        return false;
    }
    void openInTextViewer(const char* path) override { checkPiece(path); }
    // A message box runs a nested message loop: what it delivers meanwhile
    // comes from the control bytes.
    void messageBox(const char* text, const char* title, MessageIcon icon) override
    {
        checkPiece(text);
        checkPiece(title);
        CHECK(icon == IconInformation || icon == IconWarning);
        counts.boxes++;
        if (depth >= 3)
            return;
        depth++;
        nestedLoop();
        depth--;
    }
    void beep() override { CHECK(session.settings.sound); }
    void flashIfInBackground() override {}
    void saveSettings() override {}
};

FuzzHost host;

// The state of the typed line being submitted.
struct Typing {
    bool active = false;
    const char* text = nullptr;
    size_t length = 0;
    bool read = false;
    int clears = 0;
    char given[kInputLineBytes];  // what readInput handed out
};

Typing typing;

struct FuzzViews final : ChatViews, PanelView, BannerFetcher {
    bool lastOpenAnswer = false;

    // Every view reads the part of the record it shows: the user list each
    // user's status icon, the status bar the state and the role.
    void usersChanged() override
    {
        checkUsers();
        // The class depends on the text alone: a status is classified again
        // only when the text at its row changed.
        static decltype(UserEntry::status) classified[kMaxUsers];
        static bool known[kMaxUsers];
        for (int i = 0; i < session.userCount; i++) {
            const char* status = session.users[i].status.s;
            if (known[i] && strcmp(classified[i].s, status) == 0)
                continue;
            CHECK((unsigned)classifyStatus(status) <= StatusDoNotDisturb);
            classified[i].set(status);
            known[i] = true;
        }
    }
    void roomsChanged() override { checkRooms(); }
    void statusChanged() override
    {
        checkIdentity();
        CHECK((unsigned)connectionState(session) <= LoggedIn);
        CHECK(checkPiece(roleDisplayName(session)) > 0);
        volatile bool panelOffered = adminPanelAvailable(session);
        (void)panelOffered;
    }
    void showTopic(const char* topic) override { CHECK(checkPiece(topic) < kDecodedLineCap); }
    void focusInput() override {}
    void readInput(char* text, size_t cap) override
    {
        CHECK(typing.active && !typing.read);
        CHECK(cap > 0);
        // A window's text is the program's text: well-formed UTF-8.
        copyTextN(text, cap, typing.text, typing.length);
        repairUtf8(text, strlen(text));
        copyText(typing.given, sizeof typing.given, text);
        CHECK(strlen(text) < cap);
        typing.read = true;
    }
    void clearInput() override
    {
        CHECK(typing.active && typing.read);
        typing.clears++;
    }
    void colorsChanged() override {}
    void resetStatusChoice() override {}

    bool isOpen() override
    {
        lastOpenAnswer = (flags & kFlagPanelOpen) != 0 || (script.take() & 0x40) != 0;
        return lastOpenAnswer;
    }
    // The panel is written only after it said it is open.
    void setStatusText(const char* text) override
    {
        CHECK(lastOpenAnswer);
        checkPiece(text);
    }
    void setTopic(const char* topic) override
    {
        CHECK(lastOpenAnswer);
        CHECK(checkPiece(topic) < kDecodedLineCap);
    }
    void postRefresh(int what) override
    {
        CHECK(lastOpenAnswer);
        CHECK(what == 1 || what == 2);
    }

    void stripChanged() override { checkText(session.banner.url); }
    // Downloads are started for http:// pictures of the current banner only.
    void startFetch(int32_t id, const char* url) override
    {
        CHECK(id != 0 && id == session.banner.id);
        // The whole field goes to the download; the banner keeps its head.
        size_t n = checkPiece(url);
        size_t kept = strlen(session.banner.url.s);
        CHECK(strncmp(url, "http://", 7) == 0);
        CHECK(n >= kept && strncmp(url, session.banner.url.s, kept) == 0);
        CHECK(n == kept || kept == sizeof session.banner.url.s - 1);
    }
    void queueResult(int32_t id, int code) override
    {
        CHECK(id != 0 && id == session.banner.id);
        CHECK(code == FETCH_NOT_HTTP);
        CHECK(strncmp(session.banner.url.s, "http://", 7) != 0);
    }
};

FuzzViews views;

struct FuzzLog final : ChatLog {
    // Every piece that is there is a terminated string.
    void logLine(const char* timestamp, const char* prefix, const char* nick, Color, const char* text,
                 Color) override
    {
        const char* pieces[4] = {timestamp, prefix, nick, text};
        for (const char* p : pieces)
            if (p)
                checkPiece(p);
        counts.logged++;
    }
    void clearLog() override { counts.clears++; }
};

FuzzLog chatLog;

// ---------------------------------------------------------------------------
// Events.

void readEvent(uint8_t c)
{
    transport.readSize = readSizeFor(c);
    onSocketEvent(kSocketRead, 0);
}

// What a message box's nested loop delivers before it returns: socket
// events and timers, never input.
void nestedLoop()
{
    uint8_t c = script.take();
    switch (c & 7) {
    case 0: case 1: case 2:
        return;
    case 3: readEvent(c); break;
    case 4: readEvent(c); readEvent(script.take()); break;
    case 5: onSocketEvent(kSocketClose, 0); break;
    case 6: onSocketEvent(kSocketRead, 10053); break;
    case 7: onTimer(1 + ((c >> 3) % 4)); break;
    }
    counts.nested++;
    tablesTouched = true;
    checkSession();
}

// The registration dialog's submit: the request, then a fresh connection
// that carries it.
void startRegistration()
{
    SessionState& s = session;
    s.registrationPending = 1;
    s.registration.login.set("newbie");
    s.registration.password.set("secret");
    s.registration.question.set("pet?");
    s.registration.answer.set("cat");
    s.loginNick.set("newbie");
    connectNow();
}

// The ignore command of the user list's menu, on a nick the control byte picks.
void toggleIgnoreEvent(uint8_t c)
{
    SessionState& s = session;
    const char* nick = "";
    unsigned pick = c >> 6;
    unsigned index = (c >> 4) & 3;
    if (pick == 0 && s.userCount > 0)
        nick = s.users[index % s.userCount].nick.s;
    else if (pick == 1)
        nick = s.ownNick.s;
    else if (pick == 2 && s.ignoredCount > 0)
        nick = s.ignored[index % s.ignoredCount].s;
    Text<64> copy;
    copy.set(nick);
    int before = s.ignoredCount;
    bool own = sameText(copy.s, s.ownNick.s);
    toggleIgnore(copy.s);
    CHECK(s.ignoredCount >= before - 1 && s.ignoredCount <= before + 1);
    if (copy.empty() || own)
        CHECK(s.ignoredCount == before);
}

// Typed line i is entered; the control byte may first bring the connection
// to the state where the line is sent.
void submitTyped(size_t i)
{
    SessionState& s = session;
    uint8_t c = script.take();
    if (c & 0x40) {
        if (s.socket == kNoSocket)
            connectNow();
        else if (s.connected == 0)
            onSocketEvent(kSocketConnect, 0);
        if (c & 0x80)
            s.welcomed = s.socket != kNoSocket && s.connected == 1;
    }
    bool online = s.socket != kNoSocket && s.connected == 1 && s.welcomed == 1;

    typing.active = true;
    typing.text = (const char*)body.bytes + body.typedBegin[i];
    typing.length = body.typedLength[i];
    typing.read = false;
    typing.clears = 0;
    typing.given[0] = '\0';
    transport.sendsInSubmit = 0;
    size_t loggedBefore = counts.logged;
    int heldBefore = heldLineCount();
    submitInputLine();
    typing.active = false;

    // One typed line reads the input once and sends at most one line.
    CHECK(typing.read);
    CHECK(transport.sendsInSubmit <= 1);
    CHECK(typing.clears <= 1);

    // The text as the line holds it: control characters as blanks, trimmed.
    char* text = typing.given;
    for (char* p = text; *p; p++)
        if (*p == '\t' || *p == '\n' || *p == '\r')
            *p = ' ';
    while (*text == ' ')
        text++;
    size_t len = strlen(text);
    while (len > 0 && text[len - 1] == ' ')
        len--;
    if (len == 0) {
        CHECK(transport.sendsInSubmit == 0 && typing.clears == 0);
    } else if (heldLineCount() > heldBefore) {
        // Held while away, or behind lines still held: nothing sent yet, the
        // line emptied.
        CHECK(heldLineCount() == heldBefore + 1 && heldBefore < kHeldLinesMax);
        CHECK(transport.sendsInSubmit == 0 && typing.clears == 1);
    } else if (!online) {
        CHECK(transport.sendsInSubmit == 0 && typing.clears == 0);
        CHECK(counts.logged > loggedBefore);
    } else if (text[0] != '/') {
        // Chat text: one MSG, and the line emptied.
        CHECK(transport.sendsInSubmit == 1);
        CHECK(memcmp(transport.lastSent, "MSG ", 4) == 0);
        CHECK(typing.clears == 1);
    } else if (transport.sendsInSubmit == 1) {
        // A command that sent its line has emptied the input.
        CHECK(typing.clears == 1);
    }
}

// The real dispatcher; every line it handles may change the tables (also
// after a message box's nested loop inside it has checked them).
struct MarkingLines final : LineHandler {
    void dispatchServerLine(const ParsedLine& p) override
    {
        tablesTouched = true;
        serverLineDispatcher().dispatchServerLine(p);
        tablesTouched = true;
        notePeaks(session);
    }
};

MarkingLines markingLines;

void installPorts()
{
    resetSession({&transport, &host, &chatLog, &markingLines, &views, &views, &bannerModel(), nullptr});
    bannerFetcher = &views;
    tablesTouched = true;
    session.loginNick.set("tester");
    session.password.set("pw");
    session.settings.sound = (flags & kFlagSoundOff) == 0;
}

// The body with its repeat chunks expanded.
std::vector<uint8_t> expanded;

void run(const uint8_t* input, size_t inputSize)
{
    installPorts();
    expandRepeats(input, inputSize, expanded);
    const uint8_t* data = expanded.data();
    size_t size = expanded.size();
    body.split(data, size);
    transport.pos = 0;
    transport.readSize = 1460;
    transport.sendsInSubmit = 0;
    host.depth = 0;
    views.lastOpenAnswer = false;
    counts = Counts();

    if (flags & kFlagRegistration)
        startRegistration();
    else
        connectNow();
    checkSession();

    size_t typedNext = 0;
    const size_t typedCount = body.typedBegin.size();
    const size_t maxEvents = 2 * size + 64;
    while (counts.events < maxEvents) {
        transport.limit = typedNext < typedCount ? body.typedAt[typedNext] : body.server.size();
        if (transport.pos == transport.limit) {
            if (typedNext == typedCount)
                break;
            submitTyped(typedNext++);
            counts.events++;
            tablesTouched = true;
            checkSession();
            continue;
        }
        counts.events++;
        uint8_t c = script.take();
        unsigned kind = c & 15;
        bool plainRead = kind < 8 || kind == 15;
        if (kind < 9) {
            // Data arrives only on a socket whose connect has completed.
            if (session.socket == kNoSocket) {
                connectNow();
                plainRead = false;
            } else if (session.connected == 0) {
                onSocketEvent(kSocketConnect, 0);
                plainRead = false;
            }
        }
        size_t before = transport.pos;
        switch (kind) {
        case 0: case 1: case 2: case 3: case 4: case 5: case 6: case 7:
            readEvent(c);
            break;
        case 8:
            onSocketEvent(kSocketRead, 10054);  // read with an error
            break;
        case 9:
            onSocketEvent(kSocketClose, 0);
            break;
        case 10:
            // Reconnect; the connect completes now or at a later event.
            connectToServer();
            if (c & 0x10)
                onSocketEvent(kSocketConnect, 0);
            break;
        case 11:
            onTimer(1 + ((c >> 4) % 6));
            break;
        case 12:
            startRegistration();
            break;
        case 13:
            switch ((c >> 4) & 3) {
            case 0: disconnectCommand(); break;
            case 1: quitOnClose(); break;
            case 2: showProtocolLog(); break;
            case 3: host.messageBox("Сообщение", "Zumbara", IconInformation); break;
            }
            break;
        case 14:
            toggleIgnoreEvent(c);
            break;
        case 15:
            readEvent(0);
            break;
        }
        // A read that took nothing found the buffer full under a paused
        // pass. The socket signals no more data until it is read, so what
        // the message loop delivers next is the pass's timer; reading again
        // would only repeat the same nothing.
        if (plainRead && transport.pos == before) {
            onTimer(kTimerReceive);
            plainRead = false;
        }
        if (!plainRead)
            tablesTouched = true;
        checkSession();
    }
    onSocketEvent(kSocketClose, 0);
    tablesTouched = true;
    checkSession();
    CHECK(session.socket == kNoSocket);

    // No runaway output: each server line, event and typed line writes a
    // few log lines at most.
    size_t steps = counts.events + counts.nested + 1;
    CHECK(counts.logged <= 3 * (body.lfs + 1) + 4 * steps + 8);
    CHECK(counts.sent <= 2 * (body.lfs + 1) + 5 * steps + 8);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    flags = data[0] & 0xE0;
    size_t head = script.load(data, size);
    run(data + head, size - head);
    return 0;
}
