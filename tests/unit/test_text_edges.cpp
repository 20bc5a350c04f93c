// The edges where the program's text (UTF-8) meets other forms: received
// bytes into the program, the program into a window on Windows NT (UTF-16)
// and on 95, 98 and ME (code page 1251, "?" for what it lacks), and a value
// into the settings file and back.
#include <gtest/gtest.h>

#include <string>

#include "app/settings.h"
#include "base/codepage.h"
#include "base/utf8.h"
#include "session/protocol.h"

TEST(TextEdges, FromTheWireToTheWindowsAndTheSettingsFile)
{
    const struct {
        std::string wire;         // as received
        std::string text;         // the program's text
        std::u16string windowNT;  // what a Unicode window is given
        std::string window9x;     // what an ANSI window is given (1251)
        std::string settingsFile; // the value the settings file holds
    } rows[] = {
        {"Привет, Вася", "Привет, Вася", u"Привет, Вася", "\xCF\xF0\xE8\xE2\xE5\xF2, \xC2\xE0\xF1\xFF",
         "\xCF\xF0\xE8\xE2\xE5\xF2, \xC2\xE0\xF1\xFF"},
        {"café ☕ €5 №", "café ☕ €5 №", u"café ☕ €5 №", "caf? ? \x88" "5 \xB9", "\xEF\xBB\xBF" "café ☕ €5 №"},
        {"Вася\xF0\x9F\x98\x80", "Вася😀", u"Вася\xD83D\xDE00", "\xC2\xE0\xF1\xFF?", "\xEF\xBB\xBFВася😀"},
        {"a\x80z\xF8", "a?z?", u"a?z?", "a?z?", "a?z?"},   // malformed bytes
        {"ab\xE2\x82", "ab??", u"ab??", "ab??", "ab??"},     // cut short
        {"\xF0\x9F\x98", "???", u"???", "???", "???"},      // a four-byte character cut short
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.text);
        static char text[kDecodedLineCap];
        size_t n = decodeLine(r.wire.data(), r.wire.size(), text);
        ASSERT_EQ(std::string(text, n), r.text);

        Utf16Unit units[64];
        size_t u = utf8ToUtf16(text, n, units, 64);
        EXPECT_EQ(std::u16string(units, units + u), r.windowNT);
        char back[64];
        EXPECT_EQ(std::string(back, utf16ToUtf8(units, u, back, sizeof back)), r.text);

        Cp1251Text cp1251;
        char ansi[64];
        EXPECT_EQ(std::string(ansi, utf8ToCodePage(cp1251, text, n, ansi, sizeof ansi)), r.window9x);

        char value[128], read[128];
        settingToFile(text, value, sizeof value);
        EXPECT_EQ(std::string(value), r.settingsFile);
        settingFromFile(value, read, sizeof read);
        EXPECT_EQ(std::string(read), r.text);
    }
    // A value with the mark but bytes that are no UTF-8 reads as "?"s, and
    // what an older copy wrote in 1251 reads as ever.
    char read[64];
    settingFromFile("\xEF\xBB\xBF\xFFok", read, sizeof read);
    EXPECT_STREQ(read, "?ok");
    settingFromFile("\xC2\xE0\xF1\xFF", read, sizeof read);
    EXPECT_STREQ(read, "Вася");
}

namespace {

// The system's short names, as a test knows them: one folder has one.
size_t shortNames(const Utf16Unit* path, size_t n, Utf16Unit* out, size_t cap)
{
    const std::u16string longName = u"C:\\Users\\José 日本", shortName = u"C:\\Users\\JOS~1";
    std::u16string p(path, path + n);
    if (p.compare(0, longName.size(), longName) != 0)
        return 0;
    std::u16string s = shortName + p.substr(longName.size());
    if (s.size() >= cap)
        return 0;
    s.copy((char16_t*)out, s.size());
    return s.size();
}

} // namespace

TEST(TextEdges, PathsTheCodePageCannotSpellGoByTheirShortNames)
{
    const struct {
        const char* path;
        std::string forSystem;  // in code page 1251
    } rows[] = {
        {"C:\\Users\\Вася\\Zumbara.ini", "C:\\Users\\\xC2\xE0\xF1\xFF\\Zumbara.ini"},  // spelt: as it is
        {"C:\\Users\\José 日本\\Zumbara.ini", "C:\\Users\\JOS~1\\Zumbara.ini"},
        {"C:\\Users\\José 日本\\Вася ❤.log", "C:\\Users\\JOS~1\\\xC2\xE0\xF1\xFF ?.log"},  // the rest as 1251 spells it
        {"D:\\日本\\Zumbara.ini", "D:\\??\\Zumbara.ini"},  // no short name: "?" as ever
    };
    setPathShortener(shortNames);
    for (const auto& r : rows) {
        SCOPED_TRACE(r.path);
        char out[128];
        EXPECT_EQ(std::string(out, pathForSystem(r.path, out, sizeof out)), r.forSystem);
    }
    setPathShortener(nullptr);
}
