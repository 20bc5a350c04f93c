#include "base/codepage.h"

namespace {

// Code points of bytes 0x80..0xBF; 0xC0..0xFF are U+0410..U+044F in order.
const Utf16Unit kHigh1251[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};

Cp1251Text defaultText;
CodePage* activeText = &defaultText;
CodePage* fileNames = &defaultText;

} // namespace

int cp1251Byte(uint32_t c)
{
    if (c < 0x80)
        return (int)c;
    if (c >= 0x0410 && c <= 0x044F)
        return (int)(0xC0 + (c - 0x0410));
    for (int i = 0; i < 64; i++)
        if (kHigh1251[i] == c)
            return 0x80 + i;
    return -1;
}

CodePage& conversionText() { return *activeText; }

void setConversionText(CodePage* cp) { activeText = cp ? cp : &defaultText; }

CodePage& fileNameText() { return *fileNames; }

void setFileNameText(CodePage* cp) { fileNames = cp ? cp : &defaultText; }

namespace {
PathShortener shortener = nullptr;
}

PathShortener pathShortener() { return shortener; }

void setPathShortener(PathShortener shorten) { shortener = shorten; }

size_t Cp1251Text::toUtf16(const char* src, size_t n, Utf16Unit* dst, size_t cap)
{
    size_t count = n < cap ? n : cap;
    for (size_t i = 0; i < count; i++) {
        unsigned char c = (unsigned char)src[i];
        if (c < 0x80)
            dst[i] = c;
        else if (c < 0xC0)
            dst[i] = kHigh1251[c - 0x80];
        else
            dst[i] = (Utf16Unit)(0x0410 + (c - 0xC0));
    }
    return count;
}

size_t Cp1251Text::fromUtf16(const Utf16Unit* src, size_t n, char* dst, size_t cap)
{
    size_t count = n < cap ? n : cap;
    for (size_t i = 0; i < count; i++) {
        int b = cp1251Byte(src[i]);
        dst[i] = (char)(b < 0 ? '?' : b);
    }
    return count;
}
