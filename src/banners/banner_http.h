// The decisions of the banner picture download, apart from its sockets:
// where an "http://" address points, the request text, how the receive
// buffer grows, and what a complete response means.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "bounded.h"

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
};

// The receive buffer's capacity before the next read: doubled (65536 the
// first time) when received + 8191 reaches it, else unchanged.
size_t nextReceiveCapacity(size_t received, size_t capacity);

// What a complete response means: FETCH_OK with the body's offset in
// *bodyStart (the body runs to the end of the data, maybe empty), or the
// failure outcome. data holds n bytes and a NUL after them.
int classifyBannerResponse(const char* data, size_t n, size_t* bodyStart);
