#include "log_rtf.h"

#include "bounded.h"
#include "codepage.h"

namespace {

// The UTF-16 values of the code-page bytes 0x80 to 0xFF in the code page
// the program converts with; null when that code page does not map them one
// to one (a double-byte code page), and the bytes are written as they are.
const Utf16Unit* highUnits()
{
    static CodePage* source;
    static Utf16Unit units[128];
    static bool oneToOne;
    CodePage* cp = &conversionText();
    if (source != cp) {
        char bytes[128];
        for (int i = 0; i < 128; i++)
            bytes[i] = (char)(0x80 + i);
        oneToOne = cp->toUtf16(bytes, 128, units, 128) == 128;
        source = cp;
    }
    return oneToOne ? units : nullptr;
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
}

bool appendLogRtf(LogRtf& rtf, const char* text, Color color, bool bold, size_t* positions)
{
    *positions = 0;
    int colorsBefore = rtf.colorCount;
    int index = colorIndex(rtf, color);
    if (index == 0)
        return false;
    const Utf16Unit* high = highUnits();
    Writer w = {rtf.body, rtf.bodyLength, kLogRtfBodyCap, false};
    char word[24];
    w.put(word, formatText(word, sizeof word, "\\cf%d\\b%s ", index, bold ? "" : "0"));
    size_t count = 0;
    for (const unsigned char* p = (const unsigned char*)(text ? text : ""); *p && !w.full; p++) {
        size_t mark = w.length;
        unsigned char c = *p;
        size_t takes = 1;
        if (c == '\r' || c == '\n') {
            if (c == '\r' && p[1] == '\n')
                p++;
            w.put("\\par ");
            takes = (size_t)rtf.breakWidth;
        } else if (c == '\t') {
            w.put("\\tab ");
        } else if (c == '\\' || c == '{' || c == '}') {
            char escaped[2] = {'\\', (char)c};
            w.put(escaped, 2);
        } else if (c >= 0x20 && c < 0x80) {
            w.put((const char*)p, 1);
        } else {
            // By Unicode value, then the byte itself for a control that does
            // not read \u (it skips one character after it).
            int unit = c < 0x80 ? c : high ? high[c - 0x80] : -1;
            if (unit > 32767)
                unit -= 65536;  // \u takes a signed 16-bit number
            size_t n = unit == -1 ? formatText(word, sizeof word, "\\'%02x", c)
                                  : formatText(word, sizeof word, "\\u%d\\'%02x", unit, c);
            w.put(word, n);
        }
        if (w.full) {
            w.length = mark;  // the character that did not fit is left out
            break;
        }
        count += takes;
    }
    if (w.full && rtf.pieces > 0) {
        rtf.colorCount = colorsBefore;
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
