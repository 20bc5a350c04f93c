// Finding the nick under a point of a chat-log line.
#include <gtest/gtest.h>

#include <string>

#include "log/log_nicks.h"

namespace {

TEST(NickInLine, OnlyStrictlyBetweenAPairOfBrackets)
{
    // Positions are bytes of the UTF-8 line: "<" at 8, ">" at 17.
    const std::string line = "[12:00] <Иван> привет";
    std::string n63(63, 'n'), n64(64, 'n'), cyr63, cyr64;
    for (int i = 0; i < 63; i++)
        cyr63 += "ж";
    cyr64 = cyr63 + "ж";
    const struct {
        std::string line;
        size_t p;
        const char* nick;  // null: none
    } cases[] = {
        {line, 9, "Иван"},   {line, 16, "Иван"},   {line, 8, nullptr},  {line, 17, nullptr},
        {line, 20, nullptr}, {line, 2, nullptr},   {line, 31, nullptr},  // past the end
        {"<a> <b>", 3, nullptr},  {"<Иван> a<b>c", 13, "b"},  // any pair counts
        {"<" + n63 + ">", 30, n63.c_str()}, {"<" + n64 + ">", 30, nullptr},
        {"<" + cyr63 + ">", 30, cyr63.c_str()}, {"<" + cyr64 + ">", 30, nullptr},  // characters, not bytes
        {"<Ivan😀>", 2, "Ivan😀"},
        {"x <Иван", 4, nullptr}, {std::string("<a\0b>", 5), 1, nullptr},
    };
    for (auto& c : cases) {
        char nick[kLogNickBytes] = "garbage";
        EXPECT_EQ(nickInLine(c.line.data(), c.line.size(), c.p, nick, sizeof nick), c.nick != nullptr)
            << c.line << " at " << c.p;
        EXPECT_STREQ(nick, c.nick ? c.nick : "") << c.line << " at " << c.p;
    }
    char nick[4];
    EXPECT_FALSE(nickInLine("<Иван>", 9, 2, nick, sizeof nick));  // ">" lies past the length
    EXPECT_TRUE(nickInLine("<Иван>", 10, 2, nick, sizeof nick));
    EXPECT_STREQ(nick, "И");  // cut between whole characters
}

} // namespace
