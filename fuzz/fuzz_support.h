// What the libFuzzer targets share: the check that aborts, the control bytes
// taken from the head of an input, the read sizes they choose from, and the
// checks of the session record and of the reads a fake transport is asked for.

#pragma once

#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

#include "base/bounded.h"
#include "session/connection.h"
#include "session/host.h"
#include "session/session_state.h"
#include "shared_seams.h"

#define CHECK(cond)                                                                   \
    do {                                                                              \
        if (!(cond)) {                                                                \
            fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond); \
            abort();                                                                  \
        }                                                                             \
    } while (0)

namespace harness {

// ---------------------------------------------------------------------------
// Control bytes.

struct Script {
    const uint8_t* bytes = nullptr;
    size_t count = 0;
    size_t next = 0;

    // Takes the control bytes of a non-empty input: byte 0 gives their number
    // (bits 0-4, cut to what follows) and they follow it. Returns where the
    // rest of the input starts.
    size_t load(const uint8_t* data, size_t size)
    {
        size_t k = data[0] & 31;
        if (k > size - 1)
            k = size - 1;
        bytes = data + 1;
        count = k;
        next = 0;
        return 1 + k;
    }

    // The next control byte; 0 when there are none. Each cycle through the
    // bytes rotates them, so a short script does not repeat exactly.
    uint8_t take()
    {
        if (count == 0)
            return 0;
        uint8_t b = bytes[next % count];
        unsigned turn = (unsigned)((next / count) % 8);
        next++;
        return (uint8_t)((b << turn) | (b >> ((8 - turn) % 8)));
    }
};

// ---------------------------------------------------------------------------
// Repeat chunks: a short input that stands for a big listing or a long line.
//
// A chunk is the bytes up to and with an LF (or the end). One that starts
// with '*' and two count bytes b0 b1 stands for the rest of it, the
// template, n = 1 + (b0 | (b1 & 7) << 8) times (1 to 2,048). Bit 3 of b1
// joins the copies without their LF and ends the whole with the template's
// LF, if it has one: one long line. Bit 4 of b1 writes the copy's number in
// decimal (0, 1, 2, ...) for every '%' of the template, so 600 USER lines
// carry 600 nicks. Any line can still be had: "*", 0, 0 and the line itself.
// The expansion stops at kExpandCap bytes, room for more than a full receive
// buffer (64 KiB) and for listings past the 512 users and 128 rooms the
// tables hold; with mutated inputs of a few hundred bytes the big tables and
// the full buffer cost a run only when the input asks for them.

inline constexpr size_t kExpandCap = 80 * 1024;

inline void appendCapped(std::vector<uint8_t>& out, const uint8_t* p, size_t n)
{
    if (n > kExpandCap - out.size())
        n = kExpandCap - out.size();
    out.insert(out.end(), p, p + n);
}

// Writes the expansion of data into out (cleared first).
inline void expandRepeats(const uint8_t* data, size_t size, std::vector<uint8_t>& out)
{
    out.clear();
    size_t start = 0;
    while (start < size && out.size() < kExpandCap) {
        const void* lf = memchr(data + start, '\n', size - start);
        size_t end = lf ? (size_t)((const uint8_t*)lf - data) + 1 : size;
        if (data[start] != '*' || end - start < 3) {
            appendCapped(out, data + start, end - start);
            start = end;
            continue;
        }
        uint8_t b0 = data[start + 1], b1 = data[start + 2];
        size_t copies = 1 + (b0 | (size_t)(b1 & 7) << 8);
        bool joined = (b1 & 0x08) != 0;
        bool numbered = (b1 & 0x10) != 0;
        const uint8_t* tpl = data + start + 3;
        size_t tplLen = end - start - 3;
        bool hasLf = tplLen > 0 && tpl[tplLen - 1] == '\n';
        size_t body = joined && hasLf ? tplLen - 1 : tplLen;
        for (size_t i = 0; i < copies && out.size() < kExpandCap; i++) {
            size_t j = 0;
            while (j < body && out.size() < kExpandCap) {
                const void* mark = numbered ? memchr(tpl + j, '%', body - j) : nullptr;
                size_t stop = mark ? (size_t)((const uint8_t*)mark - tpl) : body;
                appendCapped(out, tpl + j, stop - j);
                if (!mark)
                    break;
                char digits[24];
                size_t d = sizeof digits;
                size_t v = i;
                do {
                    digits[--d] = (char)('0' + v % 10);
                    v /= 10;
                } while (v);
                appendCapped(out, (const uint8_t*)digits + d, sizeof digits - d);
                j = stop + 1;
            }
        }
        if (joined && hasLf && out.size() < kExpandCap)
            out.push_back('\n');
        start = end;
    }
}

inline constexpr size_t kReadSizes[32] = {
    1460, 1, 2, 3, 4, 5, 7, 8, 13, 16, 31, 59, 60, 61, 64, 127,
    128, 255, 256, 511, 1024, 1459, 1461, 2920, 4095, 4096, 8191, 8192, 16384, 32767, 65534, 65535,
};

// The read size a control byte chooses, by its bits 3-7.
inline size_t readSizeFor(uint8_t c) { return kReadSizes[(c >> 3) & 31]; }

// ---------------------------------------------------------------------------
// The session record.

// A NUL within the field's bytes. The library's search runs at native speed
// where a byte loop in the instrumented build costs some 50 ns a field, and
// the tables are checked after every event.
template <size_t N>
void checkText(const Text<N>& t)
{
    CHECK(memchr(t.s, '\0', sizeof t.s) != nullptr);
}

// Every text of a table terminated within its field.
inline void checkUserTexts(const SessionState& s)
{
    for (int i = 0; i < s.userCount; i++) {
        checkText(s.users[i].nick);
        checkText(s.users[i].status);
        checkText(s.users[i].role);
    }
}

inline void checkRoomTexts(const SessionState& s)
{
    for (int i = 0; i < s.roomCount; i++) {
        checkText(s.rooms[i].name);
        checkText(s.rooms[i].third);
        checkText(s.rooms[i].fourth);
    }
}

inline void checkIgnoredTexts(const SessionState& s)
{
    for (int i = 0; i < s.ignoredCount; i++)
        checkText(s.ignored[i]);
}

inline void checkCfgTexts(const SessionState& s)
{
    for (int i = 0; i < s.cfgCount; i++) {
        checkText(s.cfg[i].key);
        checkText(s.cfg[i].value);
    }
}

inline void checkBannerItemTexts(const SessionState& s)
{
    for (int i = 0; i < s.bannerItemCount; i++) {
        checkText(s.bannerItems[i].url);
        checkText(s.bannerItems[i].link);
    }
}

// ---------------------------------------------------------------------------
// The highest fill of each table and of the receive buffer in this process,
// printed when it ends: proof that a run reaches the capacities although its
// inputs are short.

struct Peaks {
    int users, rooms, ignored, cfg, bannerItems;
    size_t received;    // receive buffer fill right after a read
    bool printing;
};

inline Peaks peaks;

inline void printPeaks()
{
    fprintf(stderr,
            "peaks: users %d/%d, rooms %d/%d, ignored %d/%d, cfg %d/%d, banner items %d/%d, "
            "receive buffer %zu/%d\n",
            peaks.users, (int)kMaxUsers, peaks.rooms, (int)kMaxRooms, peaks.ignored, (int)kMaxIgnored,
            peaks.cfg, (int)kMaxCfg, peaks.bannerItems, (int)kMaxBannerItems, peaks.received,
            (int)kRecvBufferSize - 1);
}

inline void notePeak(int& peak, int value)
{
    if (value > peak)
        peak = value;
}

inline void notePeaks(const SessionState& s)
{
    notePeak(peaks.users, s.userCount);
    notePeak(peaks.rooms, s.roomCount);
    notePeak(peaks.ignored, s.ignoredCount);
    notePeak(peaks.cfg, s.cfgCount);
    notePeak(peaks.bannerItems, s.bannerItemCount);
    if (!peaks.printing) {
        peaks.printing = true;
        atexit(printPeaks);
    }
}

// A read of n bytes into the buffer at its present fill.
inline void noteReceived(size_t n)
{
    if (session.recvFill + n > peaks.received)
        peaks.received = session.recvFill + n;
}

// ---------------------------------------------------------------------------
// Socket events.

inline void connectNow()
{
    connectToServer();
    onSocketEvent(kSocketConnect, 0);
}

// A read goes to the socket of the session, into the free part of its
// buffer, leaving the byte for the terminator.
inline void checkReceiveCall(SocketHandle s, const char* buffer, size_t room)
{
    CHECK(s != kNoSocket && s == session.socket);
    CHECK(buffer == session.recvBuffer + session.recvFill);
    CHECK(room > 0 && session.recvFill + room <= kRecvBufferSize - 1);
}

} // namespace harness
