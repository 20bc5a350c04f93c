// Finding the nick under a point of a chat-log line.
#include <gtest/gtest.h>

#include <string>

#include "log/log_nicks.h"

namespace {

TEST(NickInLine, OnlyStrictlyBetweenAPairOfBrackets)
{
    const std::string line = "[12:00] <Иван> привет";  // "<" at 8, ">" at 13
    const std::string n63(63, 'n'), n64(64, 'n');
    const struct {
        std::string line;
        size_t p;
        const char* nick;  // null: none
    } cases[] = {
        {line, 9, "Иван"},   {line, 12, "Иван"},   {line, 8, nullptr},  {line, 13, nullptr},
        {line, 16, nullptr}, {line, 2, nullptr},   {line, 21, nullptr},  // past the end
        {"<a> <b>", 3, nullptr},  {"<Иван> a<b>c", 9, "b"},  // any pair counts
        {"<" + n63 + ">", 30, n63.c_str()}, {"<" + n64 + ">", 30, nullptr},
        {"x <Иван", 4, nullptr}, {std::string("<a\0b>", 5), 1, nullptr},
    };
    for (auto& c : cases) {
        char nick[kLogNickChars + 1] = "garbage";
        EXPECT_EQ(nickInLine(c.line.data(), c.line.size(), c.p, nick, sizeof nick), c.nick != nullptr)
            << c.line << " at " << c.p;
        EXPECT_STREQ(nick, c.nick ? c.nick : "") << c.line << " at " << c.p;
    }
    char nick[4];
    EXPECT_FALSE(nickInLine("<Иван>", 5, 2, nick, sizeof nick));  // ">" lies past the length
    EXPECT_TRUE(nickInLine("<Иван>", 6, 2, nick, sizeof nick));
    EXPECT_STREQ(nick, "Ива");
}

} // namespace
