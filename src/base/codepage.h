// Conversion between the single-byte text the program holds (the Windows
// ANSI code page it converts with) and UTF-16. The platform supplies the real
// conversion; Cp1251Text is a table-driven one for builds without Windows.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "base/text_fold.h"

typedef uint16_t Utf16Unit;

struct CodePage {
    // Converts n bytes of code-page text to UTF-16. Returns the units
    // written, never more than cap.
    virtual size_t toUtf16(const char* src, size_t n, Utf16Unit* dst, size_t cap) = 0;
    // Converts n UTF-16 units to code-page bytes, "?" for characters the
    // code page lacks. Returns the bytes written, never more than cap; no NUL.
    virtual size_t fromUtf16(const Utf16Unit* src, size_t n, char* dst, size_t cap) = 0;

protected:
    ~CodePage() = default;
};

// The code page the program converts with. Defaults to a Cp1251Text.
CodePage& conversionText();
void setConversionText(CodePage* cp);

// Windows-1251, by table.
struct Cp1251Text final : CodePage {
    size_t toUtf16(const char* src, size_t n, Utf16Unit* dst, size_t cap) override;
    size_t fromUtf16(const Utf16Unit* src, size_t n, char* dst, size_t cap) override;
};
