#include "session/protocol.h"

#include <string.h>

size_t encodeLine(const char* text, char* out)
{
    static Utf16Unit wide[kMaxSendChars];
    size_t len = strlen(text);
    if (len > kMaxSendChars)
        len = kMaxSendChars;
    size_t units = conversionText().toUtf16(text, len, wide, kMaxSendChars);

    size_t n = 0;
    for (size_t i = 0; i < units && n <= kEncodeStopBytes; i++) {
        unsigned c = wide[i];
        if (c < 0x80) {
            out[n++] = (char)c;
        } else if (c < 0x800) {
            out[n++] = (char)(0xC0 | (c >> 6));
            out[n++] = (char)(0x80 | (c & 0x3F));
        } else {
            out[n++] = (char)(0xE0 | (c >> 12));
            out[n++] = (char)(0x80 | ((c >> 6) & 0x3F));
            out[n++] = (char)(0x80 | (c & 0x3F));
        }
    }
    return n;
}

size_t decodeUtf8(const char* bytes, size_t n, Utf16Unit* out)
{
    const unsigned char* b = (const unsigned char*)bytes;
    size_t i = 0, u = 0;
    while (i < n && u < kMaxDecodeUnits) {
        unsigned c = b[i];
        if (c < 0x80) {
            out[u++] = c ? (Utf16Unit)c : (Utf16Unit)'?';
            i++;
            continue;
        }
        size_t follow;
        if ((c & 0xE0) == 0xC0)
            follow = 1;
        else if ((c & 0xF0) == 0xE0)
            follow = 2;
        else if ((c & 0xF8) == 0xF0)
            follow = 3;
        else {
            out[u++] = '?';
            i++;
            continue;
        }
        if (n - i <= follow) {
            // Cut short by the end of the line: one "?" for every byte left.
            while (i < n && u < kMaxDecodeUnits) {
                out[u++] = '?';
                i++;
            }
            break;
        }
        unsigned v;
        if (follow == 1)
            v = ((c & 0x1F) << 6) | (b[i + 1] & 0x3F);
        else if (follow == 2)
            v = ((c & 0x0F) << 12) | ((b[i + 1] & 0x3F) << 6) | (b[i + 2] & 0x3F);
        else
            v = '?';  // outside the Basic Multilingual Plane
        out[u++] = v ? (Utf16Unit)v : (Utf16Unit)'?';
        i += follow + 1;
    }
    return u;
}

size_t decodeLine(const char* bytes, size_t n, char* out)
{
    static Utf16Unit wide[kMaxDecodeUnits];
    size_t units = decodeUtf8(bytes, n, wide);
    size_t len = conversionText().fromUtf16(wide, units, out, kDecodedLineCap - 1);
    out[len] = '\0';
    return len;
}

char* trimLine(char* line)
{
    while (*line == ' ')
        line++;
    size_t len = strlen(line);
    while (len > 0 && (line[len - 1] == '\n' || line[len - 1] == '\r' || line[len - 1] == ' '))
        len--;
    line[len] = '\0';
    return line;
}

void splitLine(char* line, ParsedLine& out)
{
    static char empty[1] = "";
    out.command = line;
    for (int i = 0; i < kMaxFields; i++)
        out.field[i] = empty;

    char* blank = strchr(line, ' ');
    if (!blank)
        return;
    *blank = '\0';
    char* p = blank + 1;
    for (int i = 0; i < kMaxFields; i++) {
        out.field[i] = p;
        if (i == kMaxFields - 1)
            break;
        char* tab = strchr(p, '\t');
        if (!tab)
            break;
        *tab = '\0';
        p = tab + 1;
    }
}
