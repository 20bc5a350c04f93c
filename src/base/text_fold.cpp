#include "base/text_fold.h"

#include <string.h>

#include "base/utf8.h"

namespace {

// The code point that ends right before p (text begins at start).
uint32_t previous(const char* start, const char* p)
{
    const char* lead = p;
    while (lead > start && p - lead < 4 && (((unsigned char)lead[-1] & 0xC0) == 0x80))
        lead--;
    if (lead > start)
        lead--;
    size_t length;
    return utf8Char(lead, (size_t)(p - lead), &length);
}

// A capital whose small form follows it, in a range where capitals stand on
// even (or odd) code points.
bool pairedCapital(uint32_t c, uint32_t first, uint32_t last, bool even)
{
    return c >= first && c <= last && ((c & 1) == 0) == even;
}

} // namespace

uint32_t foldLetter(uint32_t c)
{
    if (c < 0x80)
        return c >= 'A' && c <= 'Z' ? c + 32 : c;
    if (c < 0x100)
        return c >= 0xC0 && c <= 0xDE && c != 0xD7 ? c + 32 : c;
    if (c < 0x180) {  // Latin Extended-A
        if (c == 0x178)
            return 0xFF;
        if (pairedCapital(c, 0x100, 0x12F, true) || pairedCapital(c, 0x132, 0x137, true) ||
            pairedCapital(c, 0x139, 0x148, false) || pairedCapital(c, 0x14A, 0x177, true) ||
            pairedCapital(c, 0x179, 0x17E, false))
            return c + 1;
        return c;
    }
    if (c >= 0x370 && c < 0x400) {  // Greek
        if (c >= 0x391 && c <= 0x3AB && c != 0x3A2)
            return c + 32;
        if (c == 0x386)
            return 0x3AC;
        if (c >= 0x388 && c <= 0x38A)
            return c + 37;
        if (c == 0x38C)
            return 0x3CC;
        if (c == 0x38E || c == 0x38F)
            return c + 63;
        return c;
    }
    if (c >= 0x400 && c < 0x530) {  // Cyrillic
        if (c < 0x410)
            return c + 80;
        if (c < 0x430)
            return c + 32;
        if (c == 0x4C0)
            return 0x4CF;
        if (pairedCapital(c, 0x460, 0x481, true) || pairedCapital(c, 0x48A, 0x4BF, true) ||
            pairedCapital(c, 0x4C1, 0x4CE, false) || pairedCapital(c, 0x4D0, 0x52F, true))
            return c + 1;
        return c;
    }
    if (pairedCapital(c, 0x1E00, 0x1E95, true) || pairedCapital(c, 0x1EA0, 0x1EFF, true))
        return c + 1;  // Latin Extended Additional (Vietnamese and others)
    return c;
}

bool isWordChar(uint32_t c)
{
    if (c < 0x80)
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    if (c < 0xC0 || c == 0xD7 || c == 0xF7)
        return false;  // the signs and punctuation of Latin-1
    if (c >= 0x482 && c <= 0x489)
        return false;  // Cyrillic signs
    static const uint32_t kNotWords[][2] = {
        {0x2000, 0x2BFF},   // punctuation, currency, letter-like and number forms, arrows, symbols
        {0x2E00, 0x2E7F},   // more punctuation
        // Scripts written without blanks between words: any of their
        // characters stands beside a word as a blank would.
        {0x2E80, 0x9FFF},   // CJK radicals and punctuation, kana, CJK ideographs
        {0xAC00, 0xD7AF},   // Hangul syllables
        {0xD800, 0xF8FF},   // surrogates and private use
        {0xF900, 0xFAFF},   // CJK compatibility ideographs
        {0xFE00, 0xFE0F},   // variation selectors
        {0xFE30, 0xFE6F},   // CJK compatibility and small forms
        {0xFF00, 0xFF0F},   // full-width punctuation
        {0xFFF0, 0xFFFF},   // specials
        {0x1F000, 0x1FAFF}, // emoji and pictographs
        {0x20000, 0x3FFFF}, // more CJK ideographs
        {0xE0000, 0xE007F}, // tags
    };
    for (const uint32_t* range : kNotWords)
        if (c >= range[0] && c <= range[1])
            return false;
    return true;
}

bool sameText(const char* a, const char* b)
{
    for (;;) {
        uint32_t x = foldLetter(utf8Next(&a));
        if (x != foldLetter(utf8Next(&b)))
            return false;
        if (x == 0)
            return true;
    }
}

namespace {

// Does text begin with prefix, letter case folded? *end receives where the
// matched characters of text end.
bool beginsWith(const char* text, const char* prefix, const char** end)
{
    while (*prefix) {
        if (!*text || foldLetter(utf8Next(&text)) != foldLetter(utf8Next(&prefix)))
            return false;
    }
    *end = text;
    return true;
}

} // namespace

bool startsWithText(const char* text, const char* prefix)
{
    const char* end;
    return beginsWith(text, prefix, &end);
}

const char* findWholeWord(const char* text, const char* word)
{
    if (!text || !word || !*word)
        return nullptr;
    for (const char* p = text; *p; utf8Next(&p)) {
        if (p > text && isWordChar(previous(text, p)))
            continue;
        const char* end;
        if (beginsWith(p, word, &end) && !isWordChar(utf8Next(&end)))
            return p;
    }
    return nullptr;
}
