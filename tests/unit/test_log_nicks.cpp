// Finding the nick under a point of a chat-log line.
#include <gtest/gtest.h>

#include <string>

#include "log_nicks.h"

namespace {

TEST(NickInLine, OnlyBetweenAPairOfBrackets)
{
    const std::string nick63(63, 'n');
    const std::string nick64(64, 'n');
    struct Case {
        std::string line;
        size_t p;
        const char* nick;  // null: none
    };
    const Case cases[] = {
        {"[12:00] <Иван> привет", 9, "Иван"},
        {"[12:00] <Иван> привет", 12, "Иван"},
        {"[12:00] <Иван> привет", 8, nullptr},    // on "<"
        {"[12:00] <Иван> привет", 13, nullptr},   // on ">"
        {"[12:00] <Иван> привет", 16, nullptr},   // in the text after ">"
        {"[12:00] <Иван> привет", 2, nullptr},    // before any bracket
        {"<a> <b>", 3, nullptr},                  // between two pairs
        {"<Иван> смотри a<b>c", 16, "b"},         // any pair counts
        {"<" + nick63 + ">", 30, nick63.c_str()},
        {"<" + nick64 + ">", 30, nullptr},
        {"<>", 0, nullptr},
        {"x <Иван", 4, nullptr},                  // no closing bracket
        {"<Иван>", 6, nullptr},                   // past the end
    };
    for (const Case& c : cases) {
        char nick[kLogNickChars + 1] = "garbage";
        bool found = nickInLine(c.line.data(), c.line.size(), c.p, nick, sizeof nick);
        EXPECT_EQ(found, c.nick != nullptr) << c.line << " at " << c.p;
        EXPECT_STREQ(nick, c.nick ? c.nick : "") << c.line << " at " << c.p;
    }
}

TEST(NickInLine, ReadsNoFurtherThanTheGivenLength)
{
    // The line is not terminated where the length ends.
    const char text[] = "<Иван>xx";
    char nick[8];
    EXPECT_FALSE(nickInLine(text, 5, 2, nick, sizeof nick));  // ">" lies past the length
    EXPECT_TRUE(nickInLine(text, 6, 2, nick, 4));              // cut to the buffer
    EXPECT_STREQ(nick, "Ива");
    const char withNul[] = "<a\0b>";
    EXPECT_FALSE(nickInLine(withNul, 5, 1, nick, sizeof nick));
}

} // namespace
