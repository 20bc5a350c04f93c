#include "log/log_links.h"

#include "base/bounded.h"
#include "toolkit/web_address.h"

namespace {

// « and » in UTF-8.
const char kOpenQuote[] = "\xC2\xAB";
const char kCloseQuote[] = "\xC2\xBB";

bool isBlank(unsigned char c) { return c <= 0x20; }

// Does the text before position i end with a character a link may follow?
bool opensLink(const unsigned char* t, size_t i)
{
    unsigned char c = t[i - 1];
    if (isBlank(c) || c == '(' || c == '"' || c == '\'')
        return true;
    return i >= 2 && t[i - 2] == (unsigned char)kOpenQuote[0] && c == (unsigned char)kOpenQuote[1];
}

// The bytes of a character that ends a link's run but is not part of it,
// ending right before position e; 0 when there is none.
size_t trailerBefore(const unsigned char* t, size_t e)
{
    switch (t[e - 1]) {
    case '.': case ',': case ';': case ':': case '!': case '?': case ')': case '"': case '\'':
        return 1;
    }
    if (e >= 2 && t[e - 2] == (unsigned char)kCloseQuote[0] && t[e - 1] == (unsigned char)kCloseQuote[1])
        return 2;
    return 0;
}

// The length of the link prefix text[at] begins with, 0 when none.
size_t prefixAt(const unsigned char* text, size_t length, size_t at)
{
    static const char* const kPrefixes[] = {"http://", "https://", "www."};
    for (const char* prefix : kPrefixes) {
        size_t n = 0;
        while (prefix[n] && at + n < length) {
            unsigned char c = text[at + n];
            if (c >= 'A' && c <= 'Z')
                c = (unsigned char)(c - 'A' + 'a');
            if (c != (unsigned char)prefix[n])
                break;
            n++;
        }
        if (!prefix[n])
            return n;
    }
    return 0;
}

} // namespace

bool findLink(const char* text, size_t length, size_t from, size_t* start, size_t* end)
{
    const unsigned char* t = (const unsigned char*)text;
    if (!t)
        return false;
    for (size_t i = from; i < length; i++) {
        if (i > 0 && !opensLink(t, i))
            continue;
        size_t prefix = prefixAt(t, length, i);
        if (prefix == 0)
            continue;
        size_t e = i + prefix;
        while (e < length && !isBlank(t[e]))
            e++;
        while (e > i + prefix) {
            size_t trailer = trailerBefore(t, e);
            if (trailer == 0 || e - trailer < i + prefix)
                break;
            e -= trailer;
        }
        if (e > i + prefix) {
            *start = i;
            *end = e;
            return true;
        }
        i = e;  // a bare prefix: look on after it
    }
    return false;
}

bool linkAddress(const char* link, size_t length, char* address, size_t cap)
{
    if (cap == 0)
        return false;
    address[0] = '\0';
    if (!link)
        return false;
    bool bare = length >= 4 && prefixAt((const unsigned char*)link, length, 0) == 4;
    size_t need = (bare ? 7 : 0) + length;
    if (need >= cap)
        return false;
    copyText(address, cap, bare ? "http://" : "");
    copyTextN(address + (bare ? 7 : 0), cap - (bare ? 7 : 0), link, length);
    if (!isWebAddress(address)) {
        address[0] = '\0';
        return false;
    }
    return true;
}

void clearLinkSpans(LinkSpans& spans)
{
    spans.first = 0;
    spans.count = 0;
}

void addLinkSpan(LinkSpans& spans, int32_t start, int32_t end)
{
    size_t slot = (spans.first + spans.count) % kLinkSpans;
    if (spans.count == kLinkSpans)
        spans.first = (spans.first + 1) % kLinkSpans;
    else
        spans.count++;
    spans.start[slot] = start;
    spans.end[slot] = end;
}

bool linkSpanAt(const LinkSpans& spans, int32_t position, int32_t* start, int32_t* end)
{
    // The spans are in the order of their positions: the last one starting
    // at or before the position is the only candidate.
    size_t lo = 0, hi = spans.count;
    while (lo < hi) {
        size_t mid = (lo + hi) / 2;
        if (spans.start[(spans.first + mid) % kLinkSpans] <= position)
            lo = mid + 1;
        else
            hi = mid;
    }
    if (lo == 0)
        return false;
    size_t slot = (spans.first + lo - 1) % kLinkSpans;
    if (position >= spans.end[slot])
        return false;
    *start = spans.start[slot];
    *end = spans.end[slot];
    return true;
}
