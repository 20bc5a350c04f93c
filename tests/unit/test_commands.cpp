#include <gtest/gtest.h>

#include <string>

#include "session/commands.h"
#include "session/dispatch.h"
#include "fakes.h"

namespace {

class CommandTest : public ::testing::Test, public SessionFixture {
protected:
    void SetUp() override
    {
        connectNow();
        session.welcomed = 1;
        session.ownNick.set("Я");
        transport.sent.clear();
        host.events.clear();
        log.lines.clear();
    }

    // Types the text and presses Enter; returns what went to the server.
    std::string enter(const std::string& text)
    {
        transport.sent.clear();
        host.input = text;
        submitInputLine();
        return transport.sent;
    }
};

} // namespace

TEST_F(CommandTest, PlainTextBecomesOneMsg)
{
    EXPECT_EQ(enter("привет"), "MSG \xD0\xBF\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82\n");
    EXPECT_EQ(host.input, "");
    EXPECT_EQ(enter("  раз\r\nдва\tтри  "), "MSG \xD1\x80\xD0\xB0\xD0\xB7  \xD0\xB4\xD0\xB2\xD0\xB0 \xD1\x82\xD1\x80\xD0\xB8\n");
    EXPECT_EQ(enter("    "), "");
    EXPECT_EQ(host.input, "    ");  // blanks only: nothing happens
    EXPECT_TRUE(log.lines.empty());
}

TEST_F(CommandTest, PrivateMessagesAndTheirUsageError)
{
    EXPECT_EQ(enter("/PM Вася как дела"), "PM \xD0\x92\xD0\xB0\xD1\x81\xD1\x8F\t\xD0\xBA\xD0\xB0\xD0\xBA \xD0\xB4\xD0\xB5\xD0\xBB\xD0\xB0\n");
    EXPECT_EQ(enter("/msg a b"), "PM a\tb\n");
    EXPECT_EQ(enter("/w Вася"), "");
    EXPECT_EQ(log.lines.back().text, "Использование: /pm ник текст");
    EXPECT_EQ(host.input, "/w Вася");
    EXPECT_EQ(enter("/pm"), "");
    EXPECT_EQ(host.input, "/pm");
}

TEST_F(CommandTest, PrivateMessageWithTrailingBlankIsAUsageError)
{
    // Trimming removes the blank after the nick, so no text is left.
    EXPECT_EQ(enter("/pm Вася   "), "");
    EXPECT_EQ(log.lines.back().text, "Использование: /pm ник текст");
}

TEST_F(CommandTest, ArgumentsPassAsTyped)
{
    EXPECT_EQ(enter("/me машет"), "ME \xD0\xBC\xD0\xB0\xD1\x88\xD0\xB5\xD1\x82\n");
    EXPECT_EQ(enter("/me"), "ME \n");
    EXPECT_EQ(enter("/join"), "JOIN \n");
    EXPECT_EQ(enter("/J Room two"), "JOIN Room two\n");
    EXPECT_EQ(enter("/create R"), "CREATE R\t\n");
    EXPECT_EQ(enter("/s away"), "STATUS away\n");
    EXPECT_EQ(enter("/topic  two  blanks"), "TOPIC  two  blanks\n");
    EXPECT_EQ(enter("/unban x"), "UNBAN x\n");
    EXPECT_EQ(enter("/rooms"), "ROOMS\n");
}

TEST_F(CommandTest, KickAndBanSplitTheirArguments)
{
    EXPECT_EQ(enter("/kick bob"), "KICK bob\t\n");
    EXPECT_EQ(enter("/kick bob too loud"), "KICK bob\ttoo loud\n");
    EXPECT_EQ(enter("/ban bob"), "BAN bob\t0\t\n");
    EXPECT_EQ(enter("/ban bob 30 spam"), "BAN bob\t30 spam\t\n");
}

TEST_F(CommandTest, LocalCommands)
{
    enter("/clear");
    EXPECT_EQ(log.clears, 1);
    EXPECT_EQ(host.input, "");
    enter("/HELP");
    EXPECT_EQ(log.lines.back().text.find("Команды: /pm ник текст, /me текст,"), 0u);
    EXPECT_EQ(log.lines.back().prefix, "* ");
    EXPECT_EQ(enter("/frobnicate x"), "");
    EXPECT_EQ(log.lines.back().text, "Неизвестная команда. /help — список.");
    EXPECT_EQ(host.input, "");
}

TEST_F(CommandTest, EverythingBeforeLoginKeepsTheText)
{
    session.welcomed = 0;
    for (const char* t : {"привет", "/clear", "/help"}) {
        EXPECT_EQ(enter(t), "");
        EXPECT_EQ(log.lines.back().text, "Вы не подключены. Нажмите F2.");
        EXPECT_EQ(host.input, t);
    }
    EXPECT_EQ(log.clears, 0);
}

TEST_F(CommandTest, IgnoreToggles)
{
    enter("/ignore Ivan");
    EXPECT_EQ(log.lines.back().text, "Ivan в игноре");
    EXPECT_TRUE(isIgnored(session, "ivan"));
    EXPECT_EQ(host.count("save"), 1);
    EXPECT_EQ(host.count("users"), 1);
    enter("/ignore IVAN");
    EXPECT_EQ(log.lines.back().text, "Игнор с IVAN снят");
    EXPECT_EQ(session.ignoredCount, 0);
    EXPECT_EQ(host.count("save"), 2);

    size_t n = log.lines.size();
    enter("/ignore я");  // own nick
    enter("/ignore");
    EXPECT_EQ(log.lines.size(), n);
    EXPECT_EQ(session.ignoredCount, 0);

    for (int i = 0; i < 64; i++)
        toggleIgnore(("n" + std::to_string(i)).c_str());
    n = log.lines.size();
    int saves = host.count("save");
    toggleIgnore("n64");
    EXPECT_EQ(log.lines.size(), n);
    EXPECT_EQ(host.count("save"), saves);
    EXPECT_EQ(session.ignoredCount, 64);
}

TEST_F(CommandTest, LongIgnoreArgumentIsStoredCutAndStillToggles)
{
    std::string nick(200, 'x');
    toggleIgnore(nick.c_str());
    EXPECT_EQ(std::string(session.ignored[0].s), std::string(63, 'x'));
    EXPECT_EQ(log.lines.back().text, nick + " в игноре");
    toggleIgnore(nick.c_str());
    EXPECT_EQ(session.ignoredCount, 0);
}
