// The platform's conversion between the ANSI code page and UTF-16.
#pragma once

#include "base/codepage.h"

struct WinCodePage final : CodePage {
    unsigned codePage = 1251;

    size_t toUtf16(const char* src, size_t n, Utf16Unit* dst, size_t cap) override;
    size_t fromUtf16(const Utf16Unit* src, size_t n, char* dst, size_t cap) override;
};

// 1251 where the system has it installed, else the system ANSI code page.
unsigned chooseConversionCodePage();
