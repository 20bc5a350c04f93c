#include <gtest/gtest.h>

#include <string>

#include "session/protocol.h"

namespace {

std::string encode(const std::string& cp)
{
    static char out[kEncodedLineCap];
    size_t n = encodeLine(cp.c_str(), out);
    return std::string(out, n);
}

std::string decode(const std::string& utf8)
{
    static char out[kDecodedLineCap];
    size_t n = decodeLine(utf8.data(), utf8.size(), out);
    EXPECT_EQ(out[n], '\0');
    return std::string(out, n);
}

// "CMD|f1|...|f8" with every field, empty ones too.
std::string split(const std::string& text)
{
    static char line[kDecodedLineCap];
    snprintf(line, sizeof line, "%s", text.c_str());
    ParsedLine p;
    splitLine(trimLine(line), p);
    std::string s = p.command;
    for (int i = 0; i < kMaxFields; i++)
        s += std::string("|") + p.field[i];
    return s;
}

} // namespace

TEST(Encode, TextLeavesAsItsOwnUtf8)
{
    EXPECT_EQ(encode("MSG Привет"), "MSG \xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82");
    EXPECT_EQ(encode("Ёё№ café ☕ 你好 😀"), "Ёё№ café ☕ 你好 \xF0\x9F\x98\x80");
    EXPECT_EQ(encode(""), "");
}

TEST(Encode, StopsAtTheCharacterAndByteLimits)
{
    auto repeat = [](const char* piece, int n) {
        std::string s;
        for (int i = 0; i < n; i++)
            s += piece;
        return s;
    };
    // 4,095 characters at most.
    EXPECT_EQ(encode(std::string(5000, 'a')).size(), 4095u);

    // Three-byte characters: no character starts after 8,185 bytes, so the
    // text is 2,729 characters (8,187 bytes) long.
    EXPECT_EQ(encode(repeat("—", 4000)).size(), 8187u);

    // Two-byte letters after one ASCII byte: the 4,093rd letter starts at
    // byte 8,185 and is the last one written.
    EXPECT_EQ(encode("a" + repeat("А", 4094)).size(), 1u + 4093u * 2u);

    // An emoji counts two characters, as in a window: after one ASCII
    // character, 2,047 of them fill the 4,095, the last starting at byte
    // 8,185.
    EXPECT_EQ(encode("a" + repeat("😀", 3000)).size(), 1u + 2047u * 4u);
}

TEST(Decode, EveryCharacterArrivesWhole)
{
    const char* texts[] = {"Привет", "a😀z", "€5", "你好", "mañana", "Тема ★ и café"};
    for (const char* t : texts)
        EXPECT_EQ(decode(t), t);
}

TEST(Decode, MalformedBytesFollowTheLenientRules)
{
    EXPECT_EQ(decode("a\x80" "b"), "a?b");         // stray continuation byte
    EXPECT_EQ(decode("\xF8\xFF"), "??");          // bytes that start nothing
    EXPECT_EQ(decode("ab\xD0"), "ab?");           // cut short: lead byte only
    EXPECT_EQ(decode("ab\xE2\x82"), "ab??");      // cut short: lead + one continuation
    EXPECT_EQ(decode("\xF0\x9F\x98"), "???");     // four-byte lead cut short
    EXPECT_EQ(decode("\xF7\xBF\xBF\xBFz"), "?z"); // four bytes past U+10FFFF
    EXPECT_EQ(decode("\xED\xA0\x80z"), "?z");     // a surrogate is no character
    // Continuation bytes are not validated: D0 41 decodes from the low bits.
    EXPECT_EQ(decode("\xD0\x41z"), "Ёz");
}

TEST(Decode, NulNeverEndsTheLineEarly)
{
    EXPECT_EQ(decode(std::string("MSG a\0b", 7)), "MSG a?b");
    EXPECT_EQ(decode("x\xC0\x80y"), "x?y");  // an overlong NUL too
}

TEST(Decode, KeepsAtMost4095Units)
{
    EXPECT_EQ(decode(std::string(5000, 'q')).size(), 4095u);
    std::string cyr, emoji;
    for (int i = 0; i < 5000; i++) {
        cyr += "ж";
        emoji += "😀";
    }
    EXPECT_EQ(decode(cyr), cyr.substr(0, 4095 * 2));
    EXPECT_EQ(decode(emoji), emoji.substr(0, 2047 * 4));  // two units each
}

TEST(Split, CommandWordAndUpToEightFields)
{
    EXPECT_EQ(split("PONG"), "PONG||||||||");
    EXPECT_EQ(split("MSG 12:00\tВася\t#FF0000\tпривет"), "MSG|12:00|Вася|#FF0000|привет||||");
    EXPECT_EQ(split("X 1\t2\t3\t4\t5\t6\t7\t8\t9"), "X|1|2|3|4|5|6|7|8\t9");
    EXPECT_EQ(split("X a b\tc"), "X|a b|c||||||");  // only the first blank separates
    EXPECT_EQ(split("X "), "X||||||||");
    EXPECT_EQ(split("X\tY"), "X\tY||||||||");
    EXPECT_EQ(split("USER a\t\t\tmod"), "USER|a|||mod||||");
}

TEST(Trim, CrLfAndLfAloneAreTheSame)
{
    EXPECT_EQ(split("SYS t\ttext\r"), split("SYS t\ttext"));
    char line[32] = "   WORD a\t \r\n";
    EXPECT_STREQ(trimLine(line), "WORD a\t");  // trailing TABs stay
    char blanks[8] = "  \r ";
    EXPECT_STREQ(trimLine(blanks), "");
}
