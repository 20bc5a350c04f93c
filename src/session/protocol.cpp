#include "session/protocol.h"

#include <string.h>

#include "base/utf8.h"

size_t encodeLine(const char* text, char* out)
{
    size_t n = 0, units = 0;
    for (const char* p = text; *p && n <= kEncodeStopBytes;) {
        uint32_t c = utf8Next(&p);
        units += utf16Units(c);
        if (units > kMaxSendChars)
            break;
        n += utf8Put(c, out + n);
    }
    return n;
}

size_t decodeLine(const char* bytes, size_t n, char* out)
{
    const unsigned char* b = (const unsigned char*)bytes;
    size_t i = 0, units = 0, len = 0;
    while (i < n) {
        // Runs of ASCII, most of a line, go straight across.
        while (i < n && units < kMaxDecodeUnits && b[i] - 1u < 0x7Fu) {
            out[len++] = (char)b[i++];
            units++;
        }
        if (i == n)
            break;
        unsigned c = b[i];
        uint32_t v;
        size_t take;
        if (c < 0x80) {
            v = c ? c : '?';
            take = 1;
        } else {
            size_t follow = (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : 0;
            if (follow == 0) {
                v = '?';
                take = 1;
            } else if (n - i <= follow) {
                // Cut short by the end of the line: one "?" for every byte left.
                while (i < n && units < kMaxDecodeUnits) {
                    out[len++] = '?';
                    units++;
                    i++;
                }
                break;
            } else {
                if (follow == 1)
                    v = ((c & 0x1F) << 6) | (b[i + 1] & 0x3F);
                else if (follow == 2)
                    v = ((c & 0x0F) << 12) | ((b[i + 1] & 0x3F) << 6) | (b[i + 2] & 0x3F);
                else
                    v = ((uint32_t)(c & 0x07) << 18) | ((uint32_t)(b[i + 1] & 0x3F) << 12) |
                        ((b[i + 2] & 0x3F) << 6) | (b[i + 3] & 0x3F);
                if (v == 0 || (v >= 0xD800 && v <= 0xDFFF) || (follow == 3 && (v < 0x10000 || v > 0x10FFFF)))
                    v = '?';
                take = follow + 1;
            }
        }
        if (units + utf16Units(v) > kMaxDecodeUnits)
            break;
        units += utf16Units(v);
        len += utf8Put(v, out + len);
        i += take;
    }
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
