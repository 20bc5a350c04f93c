#include "banners/banner_http.h"

#include <string.h>

#include "banners/banner_model.h"
#include "session/session_state.h"

bool splitBannerUrl(const char* url, BannerFetchRequest& out)
{
    if (strncmp(url, "http://", 7) != 0)
        return false;
    const char* rest = url + 7;
    const char* slash = strchr(rest, '/');
    size_t hostPart = slash ? (size_t)(slash - rest) : strlen(rest);
    const char* colon = (const char*)memchr(rest, ':', hostPart);
    size_t hostLength = colon ? (size_t)(colon - rest) : hostPart;

    // An empty name would resolve to this machine itself.
    if (hostLength == 0 || hostLength >= out.host.capacity)  // a name of more than 127 bytes is none
        return false;
    out.host.setN(rest, hostLength);
    if (out.host.length() != hostLength)
        return false;  // not kept whole: bytes that are no characters
    out.port = 80;
    if (colon)
        out.port = parseDecimal(colon + 1);  // its digits end at the "/" at the latest
    out.path.set(slash ? slash : "/");
    return true;
}

size_t formatBannerRequest(const BannerFetchRequest& r, char* out, size_t cap)
{
    return formatText(out, cap, "GET %s HTTP/1.0\r\nHost: %s\r\nUser-Agent: %s/%s\r\nConnection: close\r\n\r\n",
                      r.path.s, r.host.s, kProductName, kProductVersion);
}

size_t nextReceiveCapacity(size_t received, size_t capacity)
{
    if (received + kBannerReadRoom < capacity)
        return capacity;
    if (capacity == 0)
        return kBannerFirstCapacity;
    // Reading stops once more than the response cap arrived, so the last
    // step needs only a little room past it, not a doubling.
    return capacity * 2 < (size_t)kBannerBufferLimit ? capacity * 2 : (size_t)kBannerBufferLimit;
}

int classifyBannerResponse(const char* data, size_t n, size_t* bodyStart)
{
    *bodyStart = n;
    if (n < 16 || memcmp(data, "HTTP/", 5) != 0)
        return FETCH_BAD_RESPONSE;
    const char* status = data + 9;
    if (memcmp(status, "301", 3) == 0 || memcmp(status, "302", 3) == 0)
        return FETCH_REDIRECT;
    if (memcmp(status, "200", 3) != 0) {
        // A status without digits is 0; a negative "status" is no HTTP.
        int32_t code = parseDecimal(status);
        if (code < 0)
            return FETCH_BAD_RESPONSE;
        if (code > INT32_MAX - FETCH_HTTP_STATUS_BASE)
            code = INT32_MAX - FETCH_HTTP_STATUS_BASE;
        return FETCH_HTTP_STATUS_BASE + code;
    }
    // The body may hold NUL bytes, and so may a hostile header: search the
    // bytes, not a string.
    for (size_t i = 0; i + 4 <= n; i++)
        if (memcmp(data + i, "\r\n\r\n", 4) == 0) {
            *bodyStart = i + 4;
            return FETCH_OK;
        }
    return FETCH_BAD_RESPONSE;
}

int bannerDownloadLimitS(int configured)
{
    return configured >= 1 && configured <= kBannerDownloadLimitS ? configured : kBannerDownloadLimitS;
}

FetchDeadline startFetchDeadline(uint32_t now, int limitS)
{
    FetchDeadline d;
    d.start = now;
    d.stepStart = now;
    d.limitMs = (uint32_t)bannerDownloadLimitS(limitS) * 1000u;
    return d;
}

void startFetchStep(FetchDeadline& d, uint32_t now) { d.stepStart = now; }

namespace {

// What is left of a limit of `limit` ms begun at `since`; 0 once it passed.
uint32_t leftOf(uint32_t since, uint32_t limit, uint32_t now)
{
    uint32_t spent = now - since;
    return spent < limit ? limit - spent : 0;
}

} // namespace

uint32_t fetchWaitMs(const FetchDeadline& d, uint32_t now)
{
    uint32_t whole = leftOf(d.start, d.limitMs, now);
    uint32_t step = leftOf(d.stepStart, kBannerFetchTimeoutMs, now);
    uint32_t wait = whole < step ? whole : step;
    return wait < kBannerWaitSliceMs ? wait : kBannerWaitSliceMs;
}

int fetchTimedOut(const FetchDeadline& d, uint32_t now)
{
    // Both limits as time left when the step began: the one that ends
    // first is the one that fires.
    uint32_t wholeAtStep = leftOf(d.start, d.limitMs, d.stepStart);
    if (wholeAtStep <= kBannerFetchTimeoutMs)
        return leftOf(d.start, d.limitMs, now) == 0 ? FETCH_TIMED_OUT_BASE + (int)(d.limitMs / 1000u) : 0;
    return leftOf(d.stepStart, kBannerFetchTimeoutMs, now) == 0
               ? FETCH_TIMED_OUT_BASE + (int)(kBannerFetchTimeoutMs / 1000u)
               : 0;
}
