#include "log/log_rtf.h"

#include "base/bounded.h"
#include "base/codepage.h"
#include "base/utf8.h"

namespace {

// How the code-page bytes 0x80 to 0xFF are to be written, for the code page
// the program converts with now.
void learnHighBytes(LogRtf& rtf)
{
    char bytes[128];
    for (int i = 0; i < 128; i++)
        bytes[i] = (char)(0x80 + i);
    rtf.highMapped = conversionText().toUtf16(bytes, 128, rtf.highUnits, 128) == 128;
    Cp1251Text cp1251;
    Utf16Unit units1251[128];
    rtf.highAs1251 = rtf.highMapped && cp1251.toUtf16(bytes, 128, units1251, 128) == 128;
    for (int i = 0; i < 128 && rtf.highAs1251; i++)
        rtf.highAs1251 = rtf.highUnits[i] == units1251[i];
}

// Appends to the body as long as there is room; remembers when there was not.
struct Writer {
    char* out;
    size_t length, cap;
    bool full;

    void put(const char* s, size_t n)
    {
        if (full || length + n > cap) {
            full = true;
            return;
        }
        for (size_t i = 0; i < n; i++)
            out[length + i] = s[i];
        length += n;
    }
    void put(const char* s) { put(s, boundedLength(s, cap)); }
};

// A character from U+0080 on; returns the positions it takes. Where the
// program's code page is 1251, which the text declares, its characters go as
// their bytes (\'e0), the form controls read fastest; every other character
// goes by its Unicode value (\u1072), with the code page's byte or "?" after
// it for a control that does not read \u; outside the Basic Multilingual
// Plane as its two UTF-16 halves.
size_t putNonAscii(Writer& w, const LogRtf& rtf, uint32_t c)
{
    char word[24];
    int byte1251 = cp1251Byte(c);
    if (byte1251 >= 0 && rtf.highAs1251) {
        w.put(word, formatText(word, sizeof word, "\\'%02x", byte1251));
        return 1;
    }
    if (c >= 0x10000) {
        c -= 0x10000;
        int high = (int)(0xD800 | (c >> 10)) - 65536, low = (int)(0xDC00 | (c & 0x3FF)) - 65536;
        w.put(word, formatText(word, sizeof word, "\\u%d?\\u%d?", high, low));
        return 2;
    }
    int fallback = -1;
    for (int i = 0; i < 128 && rtf.highMapped; i++)
        if (rtf.highUnits[i] == c)
            fallback = 0x80 + i;
    int unit = c > 32767 ? (int)c - 65536 : (int)c;  // \\u takes a signed 16-bit number
    if (fallback >= 0)
        w.put(word, formatText(word, sizeof word, "\\u%d\\'%02x", unit, fallback));
    else
        w.put(word, formatText(word, sizeof word, "\\u%d?", unit));
    return 1;
}

int colorIndex(LogRtf& rtf, Color c)
{
    for (int i = 0; i < rtf.colorCount; i++)
        if (rtf.colors[i] == c)
            return i + 1;
    if (rtf.colorCount == kLogRtfColors)
        return 0;
    rtf.colors[rtf.colorCount++] = c;
    return rtf.colorCount;
}

} // namespace

void clearLogRtf(LogRtf& rtf)
{
    rtf.bodyLength = 0;
    rtf.colorCount = 0;
    rtf.pieces = 0;
    rtf.underlined = 0;
    rtf.highlighted = 0;
}

bool appendLogRtf(LogRtf& rtf, const char* text, Color color, bool bold, size_t* positions)
{
    return appendLogRtfRun(rtf, text, (size_t)-1, color, bold ? kRunBold : 0, positions);
}

bool appendLogRtfRun(LogRtf& rtf, const char* text, size_t length, Color color, unsigned style, size_t* positions)
{
    *positions = 0;
    if (rtf.pieces == 0) {
        rtf.underlined = 0;
        rtf.highlighted = 0;
    }
    int colorsBefore = rtf.colorCount;
    int underlinedBefore = rtf.underlined, highlightedBefore = rtf.highlighted;
    bool marked = (style & kRunMarked) != 0;
    int index = colorIndex(rtf, marked && rtf.breakWidth != 2 ? 0 : color);
    bool bold = (style & kRunBold) || (marked && rtf.breakWidth == 2);
    int highlight = marked && rtf.breakWidth != 2 ? colorIndex(rtf, kLogMarkBackground) : 0;
    if (index == 0 || (marked && rtf.breakWidth != 2 && highlight == 0)) {
        rtf.colorCount = colorsBefore;
        return false;
    }
    if (rtf.pieces == 0)
        learnHighBytes(rtf);
    Writer w = {rtf.body, rtf.bodyLength, kLogRtfBodyCap, false};
    char word[24];
    w.put(word, formatText(word, sizeof word, "\\cf%d\\b%s", index, bold ? "" : "0"));
    int underline = (style & kRunUnderline) ? 1 : 0;
    if (underline != rtf.underlined) {
        w.put(underline ? "\\ul" : "\\ulnone");
        rtf.underlined = underline;
    }
    if (highlight != rtf.highlighted) {
        w.put(word, formatText(word, sizeof word, "\\highlight%d", highlight));
        rtf.highlighted = highlight;
    }
    w.put(" ");
    size_t count = 0;
    const unsigned char* begin = (const unsigned char*)(text ? text : "");
    const unsigned char* stop = length == (size_t)-1 ? nullptr : begin + length;
    for (const unsigned char* p = begin; p != stop && *p && !w.full;) {
        size_t mark = w.length;
        unsigned char c = *p;
        size_t takes = 1;
        size_t length = 1;
        if (c == '\r' || c == '\n') {
            if (c == '\r' && p + 1 != stop && p[1] == '\n')
                length = 2;
            w.put("\\par ");
            takes = (size_t)rtf.breakWidth;
        } else if (c == '\t') {
            w.put("\\tab ");
        } else if (c == '\\' || c == '{' || c == '}') {
            char escaped[2] = {'\\', (char)c};
            w.put(escaped, 2);
        } else if (c >= 0x20 && c < 0x80) {
            w.put((const char*)p, 1);
        } else if (c < 0x80) {
            w.put(word, formatText(word, sizeof word, "\\'%02x", c));
        } else {
            size_t left = stop ? (size_t)(stop - p) : 4;
            uint32_t code = utf8Char((const char*)p, left < 4 ? left : 4, &length);
            takes = putNonAscii(w, rtf, code);
        }
        if (w.full) {
            w.length = mark;  // the character that did not fit is left out
            break;
        }
        count += takes;
        p += length;
    }
    if (w.full && rtf.pieces > 0) {
        rtf.colorCount = colorsBefore;
        rtf.underlined = underlinedBefore;
        rtf.highlighted = highlightedBefore;
        return false;
    }
    rtf.bodyLength = w.length;
    rtf.pieces++;
    *positions = count;
    return true;
}

size_t logRtfOpening(const LogRtf& rtf, char* out, size_t cap)
{
    if (cap == 0)
        return 0;
    Writer w = {out, 0, cap - 1, false};
    w.put("{\\rtf1\\ansi\\ansicpg1251\\deff0\\uc1{\\fonttbl{\\f0\\fswiss\\fcharset204 Arial;}}{\\colortbl;");
    for (int i = 0; i < rtf.colorCount; i++) {
        char entry[48];
        Color c = rtf.colors[i];
        w.put(entry, formatText(entry, sizeof entry, "\\red%u\\green%u\\blue%u;", (unsigned)(c & 0xFF),
                                (unsigned)((c >> 8) & 0xFF), (unsigned)((c >> 16) & 0xFF)));
    }
    w.put("}\\f0\\fs18 ");
    out[w.length] = '\0';
    return w.length;
}
