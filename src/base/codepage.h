// Single-byte code pages, for the edges that still need one: the windows of
// Windows 95, 98 and ME (the ANSI functions, in the conversion code page),
// file names for the ANSI file functions (the system's ANSI code page), the
// protocol log and the settings file (code page 1251). The platform supplies
// the system's conversions; Cp1251Text is a table-driven one that every
// build has.
#pragma once

#include <stddef.h>
#include <stdint.h>

typedef uint16_t Utf16Unit;

struct CodePage {
    // Converts n bytes of code-page text to UTF-16. Returns the units
    // written, never more than cap.
    virtual size_t toUtf16(const char* src, size_t n, Utf16Unit* dst, size_t cap) = 0;
    // Converts n UTF-16 units to code-page bytes, "?" for characters the
    // code page lacks (never a look-alike). Returns the bytes written, never
    // more than cap; no NUL.
    virtual size_t fromUtf16(const Utf16Unit* src, size_t n, char* dst, size_t cap) = 0;

protected:
    ~CodePage() = default;
};

// The code page of the windows where they are not Unicode windows (1251, or
// the system's ANSI code page where 1251 is not installed). Defaults to a
// Cp1251Text.
CodePage& conversionText();
void setConversionText(CodePage* cp);

// The code page the ANSI file functions take file names in (the system's
// ANSI code page). Defaults to a Cp1251Text.
CodePage& fileNameText();
void setFileNameText(CodePage* cp);

// Windows-1251, by table.
struct Cp1251Text final : CodePage {
    size_t toUtf16(const char* src, size_t n, Utf16Unit* dst, size_t cap) override;
    size_t fromUtf16(const Utf16Unit* src, size_t n, char* dst, size_t cap) override;
};

// The byte of code point c in code page 1251; -1 when 1251 lacks it.
int cp1251Byte(uint32_t c);

// Another name of a path that the system gives where its code page cannot
// spell the path (on NT, the short 8.3 form of the path's folders): writes
// it to out as UTF-16 and returns its units, or 0 when there is none.
typedef size_t (*PathShortener)(const Utf16Unit* path, size_t n, Utf16Unit* out, size_t cap);
PathShortener pathShortener();
void setPathShortener(PathShortener shorten);

// A path of the program's text (UTF-8) as the ANSI file functions take it, in
// fileNameText(): where that cannot spell it, the path shortener's form of
// it, else "?" for what it lacks; and a path they gave back as the program's
// text. Both terminate out and return the length.
size_t pathForSystem(const char* path, char* out, size_t cap);
size_t pathFromSystem(const char* path, char* out, size_t cap);
