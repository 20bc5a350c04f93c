#include "base/text_fold.h"

#include <string.h>

unsigned char cp1251Lower(unsigned char c)
{
    if (c < 0x80)
        return (c >= 'A' && c <= 'Z') ? (unsigned char)(c + 32) : c;
    if (c >= 0xC0 && c <= 0xDF)
        return (unsigned char)(c + 32);
    switch (c) {
    case 0x80: return 0x90;
    case 0x81: return 0x83;
    case 0x8A: case 0x8C: case 0x8D: case 0x8E: case 0x8F: return (unsigned char)(c + 0x10);
    case 0xA1: return 0xA2;
    case 0xA3: return 0xBC;
    case 0xA5: return 0xB4;
    case 0xA8: case 0xAA: case 0xAF: return (unsigned char)(c + 0x10);
    case 0xB2: return 0xB3;
    case 0xBD: return 0xBE;
    default: return c;
    }
}

bool isWordChar1251(unsigned char c)
{
    if ((c >= '0' && c <= '9') || c >= 0xC0)
        return true;
    if (cp1251Lower(c) != c)
        return true;  // a capital
    switch (c) {      // the small letters whose capitals lie elsewhere
    case 0x83: case 0x90: case 0x9A: case 0x9C: case 0x9D: case 0x9E: case 0x9F:
    case 0xA2: case 0xB3: case 0xB4: case 0xB8: case 0xBA: case 0xBC: case 0xBE: case 0xBF:
        return true;
    default:
        return c >= 'a' && c <= 'z';
    }
}

bool sameText(const char* a, const char* b)
{
    for (;; a++, b++) {
        unsigned char x = cp1251Lower((unsigned char)*a);
        if (x != cp1251Lower((unsigned char)*b))
            return false;
        if (x == 0)
            return true;
    }
}

bool startsWithText(const char* text, const char* prefix)
{
    for (; *prefix; text++, prefix++)
        if (!*text || cp1251Lower((unsigned char)*text) != cp1251Lower((unsigned char)*prefix))
            return false;
    return true;
}

const char* findWholeWord(const char* text, const char* word)
{
    if (!text || !word || !*word)
        return nullptr;
    size_t n = strlen(word);
    for (const char* p = text; *p; p++) {
        if (p > text && isWordChar1251((unsigned char)p[-1]))
            continue;
        if (startsWithText(p, word) && !isWordChar1251((unsigned char)p[n]))
            return p;
    }
    return nullptr;
}
