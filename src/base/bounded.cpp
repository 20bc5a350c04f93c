#include "base/bounded.h"

#include <stdio.h>
#include <string.h>

#include "base/utf8.h"

size_t copyText(char* dst, size_t cap, const char* src)
{
    return copyTextN(dst, cap, src, (size_t)-1);
}

size_t copyTextN(char* dst, size_t cap, const char* src, size_t n)
{
    if (cap == 0)
        return 0;
    size_t len = 0;
    if (src) {
        size_t limit = cap - 1 < n ? cap - 1 : n;
        while (len < limit && src[len] != '\0')
            len++;
        len = utf8Whole(src, len);  // a character cut short is left out
        // Source and destination may overlap when a field is cut in place.
        memmove(dst, src, len);
    }
    dst[len] = '\0';
    return len;
}

size_t formatTextV(char* dst, size_t cap, const char* fmt, va_list ap)
{
    if (cap == 0)
        return 0;
    dst[0] = '\0';
    int n = vsnprintf(dst, cap, fmt, ap);
    // Some C libraries leave the buffer unterminated on truncation and
    // return -1; terminate in every case so the field is always a string.
    dst[cap - 1] = '\0';
    if (n < 0 || (size_t)n >= cap) {
        size_t len = utf8Whole(dst, boundedLength(dst, cap));
        dst[len] = '\0';
        return len;
    }
    return (size_t)n;
}

size_t formatText(char* dst, size_t cap, const char* fmt, ...)
{
    va_list ap;
    va_start(ap, fmt);
    size_t n = formatTextV(dst, cap, fmt, ap);
    va_end(ap);
    return n;
}

size_t appendText(char* dst, size_t cap, const char* src)
{
    size_t len = boundedLength(dst, cap);
    if (len >= cap)
        return len;
    return len + copyText(dst + len, cap - len, src);
}

size_t copyUnits(char* dst, size_t cap, const char* src, size_t n, size_t units)
{
    if (cap == 0)
        return 0;
    size_t len = src ? utf8BytesForUnits(src, n, units) : 0;
    return copyTextN(dst, cap, src, len);
}

size_t boundedLength(const char* s, size_t cap)
{
    size_t n = 0;
    while (n < cap && s[n] != '\0')
        n++;
    return n;
}

void trimTypedText(char* text)
{
    size_t start = 0;
    while (text[start] == ' ')
        start++;
    size_t len = strlen(text + start);
    memmove(text, text + start, len + 1);
    while (len > 0 && (text[len - 1] == ' ' || text[len - 1] == '\r' || text[len - 1] == '\n'))
        text[--len] = '\0';
}

void flattenText(char* text)
{
    for (char* c = text; *c; c++)
        if (*c == '\t' || *c == '\n' || *c == '\r')
            *c = ' ';
}
