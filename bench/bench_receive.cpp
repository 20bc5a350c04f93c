// Throughput of the receive path: a prepared byte stream arrives in reads of
// 1,460 bytes (one TCP segment) through onSocketEvent(kSocketRead), and every
// line is cut, decoded into the program's text (UTF-8), trimmed, split and
// handed to a line handler that only counts. Heap allocations made while the stream
// is received are counted and reported per line.

#include <benchmark/benchmark.h>

#include <stddef.h>
#include <stdint.h>

#include <new>
#include <string>

#include "../fuzz/shared_seams.h"
#include "session/connection.h"
#include "session/host.h"
#include "session/protocol.h"
#include "session/protocol_log.h"
#include "session/session_state.h"

// ---------------------------------------------------------------------------
// Allocation counting. Every allocation of the process goes through these
// replacements; they count only while countingAllocations is set, which the
// benchmark does around the work of each iteration.

namespace {
bool countingAllocations;
size_t allocationCount;

inline void noteAllocation()
{
    if (countingAllocations)
        allocationCount++;
}
} // namespace

extern "C" {
void* __libc_malloc(size_t n);
void __libc_free(void* p);
void* __libc_calloc(size_t count, size_t n);
void* __libc_realloc(void* p, size_t n);
void* __libc_memalign(size_t alignment, size_t n);

void* malloc(size_t n)
{
    noteAllocation();
    return __libc_malloc(n);
}

void free(void* p) { __libc_free(p); }

void* calloc(size_t count, size_t n)
{
    noteAllocation();
    return __libc_calloc(count, n);
}

void* realloc(void* p, size_t n)
{
    noteAllocation();
    return __libc_realloc(p, n);
}

void* aligned_alloc(size_t alignment, size_t n)
{
    noteAllocation();
    return __libc_memalign(alignment, n);
}

void* memalign(size_t alignment, size_t n)
{
    noteAllocation();
    return __libc_memalign(alignment, n);
}

int posix_memalign(void** out, size_t alignment, size_t n)
{
    noteAllocation();
    void* p = __libc_memalign(alignment, n);
    if (!p)
        return 12;  // ENOMEM
    *out = p;
    return 0;
}
} // extern "C"

namespace {
void* allocateOrThrow(size_t n)
{
    noteAllocation();
    void* p = __libc_malloc(n ? n : 1);
    if (!p)
        throw std::bad_alloc();
    return p;
}

void* allocateAlignedOrThrow(size_t n, std::align_val_t a)
{
    noteAllocation();
    void* p = __libc_memalign((size_t)a, n ? n : 1);
    if (!p)
        throw std::bad_alloc();
    return p;
}
} // namespace

void* operator new(size_t n) { return allocateOrThrow(n); }
void* operator new[](size_t n) { return allocateOrThrow(n); }
void* operator new(size_t n, const std::nothrow_t&) noexcept
{
    noteAllocation();
    return __libc_malloc(n ? n : 1);
}
void* operator new[](size_t n, const std::nothrow_t&) noexcept
{
    noteAllocation();
    return __libc_malloc(n ? n : 1);
}
void* operator new(size_t n, std::align_val_t a) { return allocateAlignedOrThrow(n, a); }
void* operator new[](size_t n, std::align_val_t a) { return allocateAlignedOrThrow(n, a); }

void operator delete(void* p) noexcept { __libc_free(p); }
void operator delete[](void* p) noexcept { __libc_free(p); }
void operator delete(void* p, size_t) noexcept { __libc_free(p); }
void operator delete[](void* p, size_t) noexcept { __libc_free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { __libc_free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { __libc_free(p); }
void operator delete(void* p, std::align_val_t) noexcept { __libc_free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { __libc_free(p); }
void operator delete(void* p, size_t, std::align_val_t) noexcept { __libc_free(p); }
void operator delete[](void* p, size_t, std::align_val_t) noexcept { __libc_free(p); }

// ---------------------------------------------------------------------------
// The seams, as quiet as the platform side could be.

namespace {

using harness::QuietViews;

enum { kSegmentBytes = 1460, kBenchSocket = 7 };

// Hands out the next segment of a prepared stream on every receive call.
struct SegmentTransport final : Transport {
    const char* data = nullptr;
    size_t size = 0;
    size_t pos = 0;

    bool resolve(const char*, uint32_t* address) override
    {
        *address = 0x0100007F;
        return true;
    }
    SocketHandle open() override { return kBenchSocket; }
    bool watch(SocketHandle) override { return true; }
    int connect(SocketHandle, uint32_t, int) override { return kWouldBlock; }
    int receive(SocketHandle, char* buffer, size_t room) override
    {
        size_t most = room < kSegmentBytes ? room : (size_t)kSegmentBytes;
        size_t n = harness::handOut(data, size, pos, buffer, most);
        if (n == 0)
            return -1;  // nothing more has arrived
        return (int)n;
    }
    void send(SocketHandle, const char*, size_t) override {}
    void close(SocketHandle) override {}
};

struct QuietHost final : SessionHost {
    void startTimer(int, unsigned) override {}
    void stopTimer(int) override {}
    uint32_t tickCount() override { return 0; }
    void localTime(int* h, int* m, int* s) override { *h = *m = *s = 0; }
    bool fileExists(const char*) override { return false; }
    void openInTextViewer(const char*) override {}
    void messageBox(const char*, const char*, MessageIcon) override {}
    void beep() override {}
    void flashIfInBackground() override {}
    void saveSettings() override {}
};

struct QuietLog final : ChatLog {
    void logLine(const char*, const char*, const char*, Color, const char*, Color) override {}
    void clearLog() override {}
};

// Counts lines; keeps the first one so the setup can check what arrived.
struct CountingLines final : LineHandler {
    size_t count = 0;
    bool keepFirst = false;
    std::string firstCommand, firstText;

    void dispatchServerLine(const ParsedLine& p) override
    {
        if (keepFirst && count == 0) {
            firstCommand = p.command;
            firstText = p.field[3];
        }
        count++;
    }
};

SegmentTransport transport;
QuietHost host;
QuietViews views;
QuietLog chatLog;
CountingLines counter;

void installPorts()
{
    harness::resetSession({&transport, &host, &chatLog, &counter, &views, nullptr, nullptr, nullptr});
    // An established connection, as after the connect event.
    session.socket = kBenchSocket;
    session.connected = 1;
}

// ---------------------------------------------------------------------------
// The prepared streams.

enum { kLineBytes = 60, kStreamLines = 16384 };  // about 1 MB of lines

const char kPrefix[] = "MSG 12:34:56\tnick\t#FF0000\t";  // 26 bytes

void appendUtf8(std::string& out, unsigned code)
{
    if (code < 0x80) {
        out += (char)code;
    } else if (code < 0x800) {
        out += (char)(0xC0 | (code >> 6));
        out += (char)(0x80 | (code & 0x3F));
    } else {
        out += (char)(0xE0 | (code >> 12));
        out += (char)(0x80 | ((code >> 6) & 0x3F));
        out += (char)(0x80 | (code & 0x3F));
    }
}

struct Stream {
    std::string bytes;
    size_t lines = 0;
    std::string firstText;  // the text field of the first line
};

// Lines of exactly kLineBytes bytes: the prefix, a text that varies from line
// to line, and LF. ASCII text is one byte a character; Cyrillic text is two
// UTF-8 bytes a letter, padded with an ASCII "." to the same length.
Stream makeStream(bool cyrillic)
{
    Stream st;
    const size_t textBytes = kLineBytes - (sizeof kPrefix - 1) - 1;
    for (size_t i = 0; i < kStreamLines; i++) {
        std::string text;
        unsigned seed = (unsigned)i * 2654435761u;
        while (text.size() < textBytes) {
            seed = seed * 1103515245u + 12345u;
            unsigned r = (seed >> 16) % 33;
            if (cyrillic && text.size() + 2 <= textBytes) {
                unsigned code = r == 32 ? 0x0451 : 0x0430 + r;  // а..я and ё
                if (r % 7 == 0 && code != 0x0451)
                    code -= 0x20;  // some capitals
                appendUtf8(text, code);
            } else if (cyrillic) {
                text += '.';
            } else {
                text += r == 32 ? ' ' : (char)('a' + r % 26);
            }
        }
        if (text.back() == ' ')
            text.back() = '!';  // trailing blanks are trimmed away
        if (i == 0)
            st.firstText = text;
        st.bytes += kPrefix;
        st.bytes += text;
        st.bytes += '\n';
        st.lines++;
    }
    return st;
}

// Delivers the whole stream once, as the window procedure would on each read
// notification: one onSocketEvent per segment.
inline void deliverStream(const Stream& st)
{
    transport.data = st.bytes.data();
    transport.size = st.bytes.size();
    transport.pos = 0;
    while (transport.pos < transport.size)
        onSocketEvent(kSocketRead, 0);
}

// The counter sees both kinds of allocation; a zero it reports is a real zero.
bool allocationCounterWorks()
{
    void* (*volatile cMalloc)(size_t) = malloc;
    void* (*volatile cppNew)(size_t) = static_cast<void* (*)(size_t)>(::operator new);
    allocationCount = 0;
    countingAllocations = true;
    void* a = cMalloc(24);
    void* b = cppNew(24);
    countingAllocations = false;
    free(a);
    ::operator delete(b);
    bool works = allocationCount == 2;
    allocationCount = 0;
    return works;
}

void receiveStream(benchmark::State& state, bool cyrillic)
{
    if (!allocationCounterWorks()) {
        state.SkipWithError("the allocation counter does not see allocations");
        return;
    }
    const Stream st = makeStream(cyrillic);
    if (st.bytes.size() != st.lines * kLineBytes) {
        state.SkipWithError("prepared lines are not all 60 bytes long");
        return;
    }
    installPorts();

    // One untimed pass checks that every line arrives whole and decoded.
    counter.count = 0;
    counter.keepFirst = true;
    deliverStream(st);
    counter.keepFirst = false;
    if (counter.count != st.lines || session.recvFill != 0 || counter.firstCommand != "MSG" ||
        counter.firstText != st.firstText) {
        state.SkipWithError("the receive path did not deliver the prepared lines intact");
        return;
    }

    counter.count = 0;
    allocationCount = 0;
    for (auto _ : state) {
        countingAllocations = true;
        deliverStream(st);
        countingAllocations = false;
    }
    const size_t allocations = allocationCount;

    const size_t expected = st.lines * (size_t)state.iterations();
    if (counter.count != expected || session.recvFill != 0) {
        state.SkipWithError("lines were lost or left in the buffer");
        return;
    }
    state.SetBytesProcessed((int64_t)(st.bytes.size() * (size_t)state.iterations()));
    state.counters["lines"] = benchmark::Counter((double)counter.count, benchmark::Counter::kIsRate);
    state.counters["allocs_per_line"] =
        benchmark::Counter(counter.count ? (double)allocations / (double)counter.count : 0.0);
}

void BM_ReceiveAsciiMsg(benchmark::State& state) { receiveStream(state, false); }
void BM_ReceiveCyrillicMsg(benchmark::State& state) { receiveStream(state, true); }

} // namespace

BENCHMARK(BM_ReceiveAsciiMsg)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReceiveCyrillicMsg)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
