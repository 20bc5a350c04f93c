#include "base/utf8.h"

#include <string.h>

#include "base/codepage.h"

namespace {

bool continuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Bytes of the sequence a lead byte begins; 0 for a byte that begins none.
size_t sequenceLength(unsigned char c)
{
    if (c < 0x80)
        return 1;
    if (c >= 0xC2 && c <= 0xDF)
        return 2;
    if (c >= 0xE0 && c <= 0xEF)
        return 3;
    if (c >= 0xF0 && c <= 0xF4)
        return 4;
    return 0;
}

enum { kChunkUnits = 256 };

} // namespace

uint32_t utf8Char(const char* s, size_t n, size_t* length)
{
    const unsigned char* b = (const unsigned char*)s;
    *length = 1;
    size_t need = sequenceLength(b[0]);
    if (need == 1)
        return b[0];
    if (need == 0 || need > n)
        return '?';
    for (size_t i = 1; i < need; i++)
        if (!continuation(b[i]))
            return '?';
    uint32_t c;
    if (need == 2)
        c = ((uint32_t)(b[0] & 0x1F) << 6) | (b[1] & 0x3F);
    else if (need == 3)
        c = ((uint32_t)(b[0] & 0x0F) << 12) | ((uint32_t)(b[1] & 0x3F) << 6) | (b[2] & 0x3F);
    else
        c = ((uint32_t)(b[0] & 0x07) << 18) | ((uint32_t)(b[1] & 0x3F) << 12) | ((uint32_t)(b[2] & 0x3F) << 6) |
            (b[3] & 0x3F);
    // Overlong forms, surrogates and values past the last code point are no
    // characters.
    if ((need == 3 && c < 0x800) || (need == 4 && (c < 0x10000 || c > 0x10FFFF)) || (c >= 0xD800 && c <= 0xDFFF))
        return '?';
    *length = need;
    return c;
}

uint32_t utf8Next(const char** p)
{
    if (!**p)
        return 0;
    // A NUL among the four bytes ends the sequence as a byte that is no
    // continuation would: utf8Char stops reading there.
    size_t length;
    uint32_t c = utf8Char(*p, 4, &length);
    *p += length;
    return c;
}

size_t utf8Put(uint32_t c, char* out)
{
    if (c < 0x80) {
        out[0] = (char)c;
        return 1;
    }
    if (c < 0x800) {
        out[0] = (char)(0xC0 | (c >> 6));
        out[1] = (char)(0x80 | (c & 0x3F));
        return 2;
    }
    if (c < 0x10000) {
        out[0] = (char)(0xE0 | (c >> 12));
        out[1] = (char)(0x80 | ((c >> 6) & 0x3F));
        out[2] = (char)(0x80 | (c & 0x3F));
        return 3;
    }
    out[0] = (char)(0xF0 | (c >> 18));
    out[1] = (char)(0x80 | ((c >> 12) & 0x3F));
    out[2] = (char)(0x80 | ((c >> 6) & 0x3F));
    out[3] = (char)(0x80 | (c & 0x3F));
    return 4;
}

size_t utf8Whole(const char* s, size_t n)
{
    // The last lead byte, at most three bytes back, and whether its sequence
    // has all its bytes.
    size_t back = 0;
    while (back < n && back < 4 && continuation((unsigned char)s[n - 1 - back]))
        back++;
    if (back == n || back == 4)
        return n;  // no lead byte near the end: nothing was cut here
    size_t lead = n - 1 - back;
    size_t need = sequenceLength((unsigned char)s[lead]);
    return need > back + 1 ? lead : n;
}

size_t utf8UnitCount(const char* s, size_t n)
{
    size_t units = 0;
    for (size_t i = 0; i < n && s[i]; i++) {
        unsigned char c = (unsigned char)s[i];
        if (!continuation(c))
            units += c >= 0xF0 ? 2 : 1;
    }
    return units;
}

size_t utf8BytesForUnits(const char* s, size_t n, size_t units)
{
    size_t i = 0, used = 0;
    while (i < n && s[i]) {
        size_t length;
        uint32_t c = utf8Char(s + i, n - i, &length);
        used += utf16Units(c);
        if (used > units)
            break;
        i += length;
    }
    return i;
}

size_t utf8ToUtf16(const char* s, size_t n, Utf16Unit* out, size_t cap)
{
    size_t i = 0, u = 0;
    while (i < n) {
        size_t length;
        uint32_t c = utf8Char(s + i, n - i, &length);
        if (c >= 0x10000) {
            if (u + 2 > cap)
                break;
            c -= 0x10000;
            out[u++] = (Utf16Unit)(0xD800 | (c >> 10));
            out[u++] = (Utf16Unit)(0xDC00 | (c & 0x3FF));
        } else {
            if (u + 1 > cap)
                break;
            out[u++] = (Utf16Unit)c;
        }
        i += length;
    }
    return u;
}

size_t utf16ToUtf8(const Utf16Unit* s, size_t n, char* out, size_t cap, size_t* taken)
{
    size_t written = 0, i = 0;
    while (i < n) {
        uint32_t c = s[i];
        size_t units = 1;
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < n && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
            units = 2;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = '?';
        }
        char bytes[4];
        size_t k = utf8Put(c, bytes);
        if (written + k > cap)
            break;
        for (size_t j = 0; j < k; j++)
            out[written + j] = bytes[j];
        written += k;
        i += units;
    }
    if (taken)
        *taken = i;
    return written;
}

size_t utf8ToCodePage(CodePage& cp, const char* s, size_t n, char* out, size_t cap)
{
    // In chunks through UTF-16; a character outside the Basic Multilingual
    // Plane is one character, so one "?".
    Utf16Unit units[kChunkUnits];
    size_t i = 0, written = 0;
    while (i < n && written < cap) {
        size_t u = 0;
        while (i < n && u < kChunkUnits) {
            size_t length;
            uint32_t c = utf8Char(s + i, n - i, &length);
            units[u++] = c >= 0x10000 ? (Utf16Unit)'?' : (Utf16Unit)c;
            i += length;
        }
        written += cp.fromUtf16(units, u, out + written, cap - written);
    }
    return written;
}

size_t codePageToUtf8(CodePage& cp, const char* s, size_t n, char* out, size_t cap)
{
    Utf16Unit units[kChunkUnits];
    size_t i = 0, written = 0;
    while (i < n) {
        size_t take = n - i < (size_t)kChunkUnits ? n - i : (size_t)kChunkUnits;
        size_t u = cp.toUtf16(s + i, take, units, kChunkUnits);
        size_t taken = 0;
        written += utf16ToUtf8(units, u, out + written, cap - written, &taken);
        if (u < take || taken < u)
            break;  // the output is full
        i += take;
    }
    return written;
}

size_t repairUtf8(char* s, size_t n)
{
    size_t i = 0;
    while (i < n) {
        size_t length;
        uint32_t c = utf8Char(s + i, n - i, &length);
        if (c == '?' && s[i] != '?')
            s[i] = '?';
        i += length;
    }
    return n;
}

namespace {

size_t questionMarks(const char* s, size_t n)
{
    size_t count = 0;
    for (size_t i = 0; i < n; i++)
        count += s[i] == '?';
    return count;
}

} // namespace

size_t pathForSystem(const char* path, char* out, size_t cap)
{
    if (cap == 0)
        return 0;
    size_t length = path ? strlen(path) : 0;
    size_t n = length ? utf8ToCodePage(fileNameText(), path, length, out, cap - 1) : 0;
    PathShortener shorten = pathShortener();
    if (shorten && questionMarks(out, n) > questionMarks(path, length)) {
        // The code page lost characters: the system's other name of the
        // path, where it has one, reaches the same file.
        enum { kPathUnits = 3 * 260 };
        Utf16Unit whole[kPathUnits], shorter[kPathUnits];
        size_t units = utf8ToUtf16(path, length, whole, kPathUnits);
        size_t s = units < kPathUnits ? shorten(whole, units, shorter, kPathUnits) : 0;
        if (s)
            n = fileNameText().fromUtf16(shorter, s, out, cap - 1);
    }
    out[n] = '\0';
    return n;
}

size_t pathFromSystem(const char* path, char* out, size_t cap)
{
    if (cap == 0)
        return 0;
    size_t n = path ? codePageToUtf8(fileNameText(), path, strlen(path), out, cap - 1) : 0;
    out[n] = '\0';
    return n;
}
