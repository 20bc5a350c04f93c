// libFuzzer target of the receive path and the line codec.
//
// Input layout: byte 0 gives the number k (bits 0-4) of control bytes that
// follow it; the rest is the byte stream the server sends. When bit 5 of
// byte 0 is set, the repeat chunks of the stream (fuzz_support.h: '*', two
// count bytes, a template) are expanded first, so a short input brings a
// full receive buffer, overlong lines and listings past the tables' sizes. The control bytes
// are used in turn, cycling, to choose each socket event and its read size,
// and what the line handler does with each line (nothing, a nested read, a
// nested close, a disconnect, a reconnect). With k = 0 every event is a read
// of 1,460 bytes and the handler only files the lines into the tables.
//
// After every event the connection's invariants are checked; a stream that
// was received without disturbance is also compared with the lines a plain
// cut at every LF gives. The codec is then run on the input directly.

#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include <vector>

#include <sanitizer/asan_interface.h>

#include "base/bounded.h"
#include "base/codepage.h"
#include "base/utf8.h"
#include "session/connection.h"
#include "session/host.h"
#include "session/protocol.h"
#include "session/protocol_log.h"
#include "session/session_state.h"
#include "fuzz_support.h"

namespace {

using namespace harness;

Script script;
bool disturbed;   // some event other than a plain read happened
int depth;        // nesting of the line handler

// ---------------------------------------------------------------------------
// The seams.

struct StreamTransport final : Transport {
    const uint8_t* data = nullptr;
    size_t size = 0;
    size_t pos = 0;
    size_t readSize = 1460;
    SocketHandle nextHandle = 100;
    bool failOpen = false;
    int connectResult = kWouldBlock;

    bool resolve(const char* hostName, uint32_t* address) override
    {
        CHECK(hostName != nullptr);
        *address = 0x0100007F;
        return true;
    }
    SocketHandle open() override
    {
        if (failOpen)
            return kNoSocket;
        return nextHandle++;
    }
    bool watch(SocketHandle s) override
    {
        CHECK(s != kNoSocket);
        return true;
    }
    int connect(SocketHandle s, uint32_t, int) override
    {
        CHECK(s != kNoSocket);
        return connectResult;
    }
    int receive(SocketHandle s, char* buffer, size_t room) override
    {
        checkReceiveCall(s, buffer, room);
        if (pos == size)
            return 0;  // the peer has closed
        size_t n = handOut(data, size, pos, buffer, readSize < room ? readSize : room);
        noteReceived(n);
        return (int)n;
    }
    void send(SocketHandle s, const char* bytes, size_t n) override
    {
        CHECK(s != kNoSocket);
        CHECK(n >= 1 && n <= kEncodedLineCap);
        CHECK(bytes[n - 1] == '\n');
        volatile char sink = 0;
        for (size_t i = 0; i < n; i++)
            sink = (char)(sink ^ bytes[i]);
        (void)sink;
    }
    void close(SocketHandle s) override { CHECK(s != kNoSocket); }
};

StreamTransport transport;

void nestedEvents();

struct FuzzHost final : SessionHost {
    void startTimer(int, unsigned) override {}
    void stopTimer(int) override {}
    uint32_t tickCount() override { return 12345; }
    void localTime(int* h, int* m, int* s) override
    {
        *h = 23;
        *m = 59;
        *s = 58;
    }
    bool fileExists(const char* path) override
    {
        CHECK(path != nullptr);
        return false;
    }
    void openInTextViewer(const char* path) override { CHECK(path != nullptr); }
    // A message box runs a nested message loop.
    void messageBox(const char* text, const char* title, MessageIcon) override
    {
        CHECK(text != nullptr && title != nullptr);
        nestedEvents();
    }
    void beep() override {}
    void flashIfInBackground() override {}
    void saveSettings() override {}
};

// The length of a string that must end within cap bytes (cap when it does
// not). The library's strnlen runs at native speed, where a byte loop in the
// instrumented build cost a tenth of a run, and the sanitizer checks every
// byte it reads.
size_t terminatedWithin(const char* s, size_t cap) { return strnlen(s, cap); }

// Quiet views but for the topic, which must be a terminated line.
struct FuzzViews final : QuietViews {
    void showTopic(const char* topic) override { CHECK(terminatedWithin(topic, kDecodedLineCap) < kDecodedLineCap); }
};

struct FuzzLog final : ChatLog {
    void logLine(const char* timestamp, const char* prefix, const char* nick, Color, const char* text,
                 Color) override
    {
        const char* pieces[4] = {timestamp, prefix, nick, text};
        for (const char* p : pieces)
            CHECK(!p || terminatedWithin(p, 65536) < 65536);
    }
    void clearLog() override {}
};

FuzzHost host;
FuzzViews views;
FuzzLog chatLog;

// ---------------------------------------------------------------------------
// Invariants.

// The receive buffer and the table counts, after every event.
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
    if (s.socket == kNoSocket)
        CHECK(s.recvFill == 0);
}

// Every text of the tables terminated within its field, at the end of a run.
void checkTables()
{
    const SessionState& s = session;
    checkSession();
    checkUserTexts(s);
    checkRoomTexts(s);
    checkIgnoredTexts(s);
    checkCfgTexts(s);
    checkBannerItemTexts(s);
    checkText(s.currentRoom);
    checkText(s.globalRole);
    checkText(s.roomRole);
}

// A dispatched line: a non-empty command without blanks, eight terminated
// fields, the first seven without TABs, all of it no longer than a line.
void checkParsed(const ParsedLine& p)
{
    CHECK(p.command != nullptr);
    size_t total = terminatedWithin(p.command, kDecodedLineCap);
    CHECK(total > 0 && total < kDecodedLineCap);
    CHECK(p.command[0] != ' ');
    CHECK(memchr(p.command, ' ', total) == nullptr);
    for (int i = 0; i < kMaxFields; i++) {
        CHECK(p.field[i] != nullptr);
        size_t n = terminatedWithin(p.field[i], kDecodedLineCap);
        CHECK(n < kDecodedLineCap);
        if (i < kMaxFields - 1)
            CHECK(memchr(p.field[i], '\t', n) == nullptr);
        total += n;
    }
    CHECK(total < kDecodedLineCap);
}

// ---------------------------------------------------------------------------
// Line handling and its record.

uint64_t mix(uint64_t h, const char* s)
{
    for (; *s; s++)
        h = (h ^ (unsigned char)*s) * 0x100000001B3ull;
    return (h ^ 0xFF) * 0x100000001B3ull;
}

uint64_t lineHash(const ParsedLine& p)
{
    uint64_t h = mix(0xCBF29CE484222325ull, p.command);
    for (int i = 0; i < kMaxFields; i++)
        h = mix(h, p.field[i]);
    return h;
}

void readEvent(uint8_t c)
{
    transport.readSize = readSizeFor(c);
    onSocketEvent(kSocketRead, 0);
}

// What a nested message loop delivers while a handler waits.
void nestedEvents()
{
    if (depth > 3)
        return;
    depth++;
    disturbed = true;
    uint8_t c = script.take();
    switch (c & 3) {
    case 0: readEvent(c); break;
    case 1: readEvent(c); readEvent(script.take()); break;
    case 2: onSocketEvent(kSocketClose, 0); break;
    case 3: onSocketEvent(kSocketRead, 10053); break;
    }
    checkSession();
    depth--;
}

// Files lines into the tables as the handlers of such lines would.
void fileLine(const ParsedLine& p)
{
    SessionState& s = session;
    const char* const* f = p.field;
    switch (p.command[0]) {
    case 'J': appendUser(s, f[0], parseColor(f[1], 0), f[2], f[3]); break;
    case 'P': removeUserAt(s, findUser(s, f[0])); break;
    case 'R': appendRoom(s, f[0], parseDecimal(f[1]), f[2], f[3]); break;
    case 'C': setCfgValue(s, f[0], f[1]); break;
    case 'I': addIgnored(s, f[0]); break;
    case 'U': removeIgnoredAt(s, findIgnored(s, f[0])); break;
    case 'B': appendBannerItem(s, parseDecimal(f[0]), f[1], f[2], parseDecimal(f[3]), parseDecimal(f[4])); break;
    case 'X': clearUsers(s); clearRooms(s); clearBannerItems(s); break;
    case 'W': s.welcomed = 1; break;
    default: break;
    }
    CHECK((unsigned)classifyStatus(f[2]) <= StatusDoNotDisturb);
}

struct FuzzLines final : LineHandler {
    size_t dispatched = 0;
    uint64_t hash = 0;

    void dispatchServerLine(const ParsedLine& p) override
    {
        checkParsed(p);
        dispatched++;
        hash = hash * 31 + lineHash(p);
        fileLine(p);
        notePeaks(session);
        if (depth > 3)
            return;
        uint8_t c = script.take();
        depth++;
        switch (c & 15) {
        case 10:
            disturbed = true;
            readEvent(script.take());
            break;
        case 11:
            nestedEvents();
            break;
        case 12:
            disturbed = true;
            onSocketEvent(kSocketClose, 0);
            break;
        case 13:
            disturbed = true;
            disconnect((c & 16) ? "Отключено." : nullptr);
            break;
        case 14:
            // A reconnect from inside a handler, and what a message loop
            // then delivers.
            disturbed = true;
            connectToServer();
            if (c & 16)
                onSocketEvent(kSocketConnect, 0);
            if (c & 32)
                nestedEvents();
            break;
        case 15:
            host.messageBox("Сообщение", "Zumbara", IconInformation);
            break;
        default:
            break;
        }
        depth--;
        checkSession();
    }
};

FuzzLines lines;

void installPorts()
{
    resetSession({&transport, &host, &chatLog, &lines, &views, nullptr, nullptr, nullptr});
}

// The lines a plain cut at every LF gives, for a stream without lines long
// enough to be dropped. Returns false when the stream has such a line.
bool expectedLines(const uint8_t* data, size_t size, size_t* count, uint64_t* hash)
{
    static char text[kDecodedLineCap];
    *count = 0;
    *hash = 0;
    size_t start = 0;
    for (size_t i = 0; i < size; i++) {
        if (data[i] != '\n')
            continue;
        if (i - start > kRecvBufferSize / 2)
            return false;
        decodeLine((const char*)data + start, i - start, text);
        start = i + 1;
        char* line = trimLine(text);
        if (*line == '\0')
            continue;
        ParsedLine p;
        splitLine(line, p);
        (*count)++;
        *hash = *hash * 31 + lineHash(p);
    }
    return size - start <= kRecvBufferSize / 2;
}

void runReceive(const uint8_t* data, size_t size)
{
    installPorts();
    transport.data = data;
    transport.size = size;
    transport.pos = 0;
    transport.readSize = 1460;
    transport.failOpen = false;
    transport.connectResult = kWouldBlock;
    lines.dispatched = 0;
    lines.hash = 0;
    disturbed = false;
    depth = 0;

    connectNow();
    checkSession();

    size_t events = 0;
    const size_t maxEvents = 2 * size + 64;
    while (transport.pos < transport.size && events++ < maxEvents) {
        uint8_t c = script.take();
        unsigned kind = c & 7;
        if (session.socket == kNoSocket && kind < 5) {
            // Reconnect now and then with a failing open or connect first.
            transport.failOpen = (c & 0xF8) == 0xF8;
            transport.connectResult = (c & 0xF8) == 0xF0 ? 10061 : kWouldBlock;
            connectNow();
            transport.failOpen = false;
            transport.connectResult = kWouldBlock;
            checkSession();
            if (session.socket == kNoSocket)
                continue;
        }
        size_t before = transport.pos;
        switch (kind) {
        case 0: case 1: case 2: case 3:
            readEvent(c);
            // A read that took nothing found the buffer full under a paused
            // pass. The socket signals no more data until it is read, so
            // what the message loop delivers next is the pass's timer.
            if (transport.pos == before)
                onTimer(kTimerReceive);
            break;
        case 4:
            disturbed = true;
            onSocketEvent(kSocketRead, 10054);  // read with an error
            break;
        case 5:
            disturbed = true;
            onSocketEvent(kSocketClose, 0);
            break;
        case 6:
            disturbed = true;
            connectNow();
            break;
        case 7:
            onTimer(1 + ((c >> 3) % 4));
            break;
        }
        checkSession();
    }
    onSocketEvent(kSocketClose, 0);
    checkSession();
    CHECK(session.socket == kNoSocket && session.recvFill == 0);
    checkTables();

    size_t lfs = 0;
    for (size_t i = 0; i < size; i++)
        lfs += data[i] == '\n';
    CHECK(lines.dispatched <= lfs);

    size_t count;
    uint64_t hash;
    if (!disturbed && transport.pos == size && expectedLines(data, size, &count, &hash)) {
        CHECK(lines.dispatched == count);
        CHECK(lines.hash == hash);
    }
}

// ---------------------------------------------------------------------------
// The codec and the table operations, on the input directly.

int32_t referenceDecimal(const char* t)
{
    while (*t == ' ' || *t == '\t')
        t++;
    bool negative = *t == '-';
    if (*t == '-' || *t == '+')
        t++;
    long long v = 0;
    for (; *t >= '0' && *t <= '9'; t++)
        if (v < 10000000000LL)
            v = v * 10 + (*t - '0');
    if (negative)
        v = -v;
    if (v > 2147483647LL)
        return 2147483647;
    if (v < -2147483648LL)
        return -2147483647 - 1;
    return (int32_t)v;
}

void checkFields(const char* a, const char* b, const char* c, const char* d)
{
    SessionState& s = session;
    CHECK(parseDecimal(a) == referenceDecimal(a));
    CHECK(parseColor(a, 0x01020304) == 0x01020304 || parseColor(a, 0x01020304) <= 0xFFFFFF);
    CHECK((unsigned)classifyStatus(a) <= StatusDoNotDisturb);

    // A value set under a key is read back under the key as stored.
    Text<48> key;
    key.set(a);
    Text<256> value;
    value.set(b);
    bool present = getCfgValue(s, key.s) != nullptr;
    bool room = s.cfgCount < kMaxCfg;
    setCfgValue(s, a, b);
    const char* got = getCfgValue(s, key.s);
    if (present || room) {
        CHECK(got != nullptr);
        CHECK(strcmp(got, value.s) == 0);
    }

    Text<64> nick;
    nick.set(c);
    if (appendUser(s, c, parseColor(d, 0), d, b))
        CHECK(findUser(s, nick.s) >= 0 && findUser(s, nick.s) < s.userCount);
    if (addIgnored(s, d)) {
        Text<64> ig;
        ig.set(d);
        CHECK(isIgnored(s, ig.s));
    }
    appendRoom(s, a, parseDecimal(b), c, d);
}

void runCodec(const uint8_t* data, size_t size)
{
    // The input as terminated program text (UTF-8, repaired as every way
    // into the program repairs it), in a buffer of exactly its size.
    std::vector<char> text(data, data + size);
    text.push_back('\0');
    const size_t textLen = strlen(text.data());
    repairUtf8(text.data(), textLen);

    // The fixed-size outputs live across runs, each a buffer of exactly the
    // size its function writes to, fenced by the sanitizer like the heap:
    // allocating them per input cost more than the rest of the run.
    static char encoded[kEncodedLineCap];
    size_t n = encodeLine(text.data(), encoded);
    CHECK(n <= kEncodedLineCap - 3);

    // Every character but NUL survives the way out and back.
    static char back[kDecodedLineCap];
    size_t backLen = decodeLine(encoded, n, back);
    size_t sentBytes = utf8BytesForUnits(text.data(), textLen, kMaxSendChars);
    CHECK(backLen <= sentBytes);
    CHECK(memcmp(back, text.data(), backLen) == 0);
    if (n <= kEncodeStopBytes)
        CHECK(backLen == sentBytes);

    // Whatever arrives becomes well-formed text of at most 4,095 characters
    // without a NUL inside.
    static char line[kDecodedLineCap];
    size_t len = decodeLine((const char*)data, size, line);
    CHECK(line[len] == '\0' && strlen(line) == len);
    CHECK(utf8UnitCount(line, len) <= kMaxDecodeUnits);
    static char repaired[kDecodedLineCap];
    memcpy(repaired, line, len);
    repairUtf8(repaired, len);
    CHECK(memcmp(repaired, line, len) == 0);

    // A decoded line encodes and decodes to itself.
    n = encodeLine(line, encoded);
    CHECK(n <= kEncodedLineCap - 3);
    backLen = decodeLine(encoded, n, back);
    CHECK(backLen <= len && memcmp(back, line, backLen) == 0);
    if (n <= kEncodeStopBytes)
        CHECK(backLen == len);

    char* trimmed = trimLine(line);
    CHECK(trimmed >= line && trimmed <= line + len);
    size_t tlen = strlen(trimmed);
    CHECK(*trimmed != ' ');
    if (tlen > 0) {
        char last = trimmed[tlen - 1];
        CHECK(last != ' ' && last != '\r' && last != '\n');
    }
    ParsedLine p;
    splitLine(trimmed, p);
    if (tlen > 0)
        checkParsed(p);
    checkFields(p.field[0], p.field[1], p.field[2], p.field[3]);
    checkFields(p.command, p.field[7], p.field[4], p.field[5]);

    // The raw input cut at TABs, as fields.
    std::vector<char> raw(text);
    const char* piece[4] = {"", "", "", ""};
    char* q = raw.data();
    for (int i = 0; i < 4 && q; i++) {
        piece[i] = q;
        q = strchr(q, '\t');
        if (q)
            *q++ = '\0';
    }
    checkFields(piece[0], piece[1], piece[2], piece[3]);
    checkFields(text.data(), piece[3], text.data(), piece[1]);

    // Bounded text helpers with a capacity taken from the input.
    size_t cap = 1 + (size ? data[size - 1] : 0);
    std::vector<char> small(cap);
    size_t copied = copyText(small.data(), cap, text.data());
    CHECK(copied < cap && small[copied] == '\0');
    size_t appended = appendText(small.data(), cap, piece[1]);
    CHECK(appended < cap && small[appended] == '\0' && appended >= copied);
    size_t logged = formatProtocolLogLine(small.data(), cap, 1, 2, 3, "S>", trimmed);
    CHECK(logged < cap && small[logged] == '\0');
    checkTables();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    size_t head = script.load(data, size);
    const uint8_t* stream = data + head;
    size_t streamSize = size - head;
    if ((data[0] & 0x20) == 0) {
        runReceive(stream, streamSize);
        runCodec(stream, streamSize);
        return 0;
    }
    // The expansion goes into a block poisoned past its end, so the
    // sanitizer sees a read past the stream as it does in libFuzzer's own
    // copy; a fresh heap block of up to 80 KiB for every run cost a tenth of
    // the run in page faults.
    static std::vector<uint8_t> expanded;
    alignas(8) static uint8_t block[kExpandCap + 8];
    expandRepeats(stream, streamSize, expanded);
    size_t n = expanded.size();
    ASAN_UNPOISON_MEMORY_REGION(block, sizeof block);
    if (n > 0)
        memcpy(block, expanded.data(), n);
    ASAN_POISON_MEMORY_REGION(block + n, sizeof block - n);
    runReceive(block, n);
    runCodec(block, n);
    return 0;
}
