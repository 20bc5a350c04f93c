// The decisions of the banner picture download, apart from its sockets:
// where an "http://" address points, the request text, how the receive
// buffer grows, and what a complete response means.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "base/bounded.h"

// One download, handed whole to the worker that runs it.
struct BannerFetchRequest {
    Text<128> host;  // name or dotted IPv4 address
    int32_t port;    // only the low 16 bits are used
    Text<512> path;  // request target, always beginning with "/"
    int32_t bannerId;
};

// Splits an "http://" address into host, port and path: the host part runs
// to the first "/" (a "?" or "#" before it stays in the host); ":port" is
// read like atoi (nothing or letters give 0); the path is everything from
// that "/" on, query and fragment included, cut to 511 characters, or "/".
// False when the address has no usable host: none at all, or one longer
// than the field holds. The id is left alone.
bool splitBannerUrl(const char* url, BannerFetchRequest& out);

// The GET request for the download; returns its length. The Host header
// names the host alone, without the port. cap of 1024 always suffices.
size_t formatBannerRequest(const BannerFetchRequest& r, char* out, size_t cap);

enum {
    kBannerResponseCap = 4194304,  // reading stops once more than this arrived
    kBannerFirstCapacity = 65536,
    kBannerReadRoom = 8191,        // the buffer grows when less is left
    kBannerBufferLimit = kBannerResponseCap + 65536,  // the receive buffer never grows past this
};

// The receive buffer's capacity before the next read: doubled (65536 the
// first time) when received + 8191 reaches it, but never past 4 MiB + 64 KiB,
// else unchanged. Below the cap there is always room for a read.
size_t nextReceiveCapacity(size_t received, size_t capacity);

// Time limits of a download. The connect and each read may wait 30 s; the
// whole download, from the start of its connect, at most 60 s, or less when
// the settings say so. Name resolution comes before and is not bounded here:
// the system's resolver cannot be interrupted.
const uint32_t kBannerFetchTimeoutMs = 30000;  // the connect, and each read
const int kBannerDownloadLimitS = 60;          // the whole download, in seconds
const uint32_t kBannerWaitSliceMs = 250;       // a worker looks at its give-up flag at least this often

// The whole download's limit in seconds from the settings value: 1 to 60,
// anything else (missing, 0, negative, longer) the 60 s.
int bannerDownloadLimitS(int configured);

// The clock of one download in milliseconds of a tick counter that wraps
// (differences are taken modulo 2^32).
struct FetchDeadline {
    uint32_t start;      // the connect began
    uint32_t limitMs;    // the whole download may take this long
    uint32_t stepStart;  // the current wait (the connect, a send or a read) began
};
FetchDeadline startFetchDeadline(uint32_t now, int limitS);
// The next wait begins: the connect, a send, or a read.
void startFetchStep(FetchDeadline& d, uint32_t now);
// How long the next select may wait: at most one slice, never past either
// limit; 0 once a limit has passed.
uint32_t fetchWaitMs(const FetchDeadline& d, uint32_t now);
// The limit that has passed, as a failure outcome (FETCH_TIMED_OUT_BASE +
// its seconds), or 0 while both still run. When both have passed, the one
// that ended first counts.
int fetchTimedOut(const FetchDeadline& d, uint32_t now);

// What a complete response means: FETCH_OK with the body's offset in
// *bodyStart (the body runs to the end of the data, maybe empty), or the
// failure outcome. data holds n bytes and a NUL after them.
int classifyBannerResponse(const char* data, size_t n, size_t* bodyStart);
