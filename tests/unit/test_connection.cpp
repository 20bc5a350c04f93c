#include <gtest/gtest.h>

#include <stdio.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

#include "session/dispatch.h"
#include "session/protocol_log.h"
#include "fakes.h"

namespace {

class ConnectionTest : public ::testing::Test, public SessionFixture {
protected:
    void SetUp() override
    {
        protocolLogPath.clear();
        session.loginNick.set("Вася");
        session.password.set("secret");
        session.nickColor.set("#112233");
    }
};

} // namespace

TEST_F(ConnectionTest, HandshakeGoesOutBackToBackAsUtf8WithSingleLf)
{
    connectNow();
    EXPECT_EQ(transport.sent,
              "HELLO Zumbara\t1.0\n"
              "LOGIN \xD0\x92\xD0\xB0\xD1\x81\xD1\x8F\tsecret\t#112233\n");
    EXPECT_EQ(session.connected, 1);
    EXPECT_EQ(session.connectTick, 1000u);
    EXPECT_EQ(connectionState(session), AwaitingWelcome);
    EXPECT_TRUE(host.has("start 4 15000"));
    EXPECT_NE(log.all().find("* Подключение к chat.zumbara.example:4225 ..."), std::string::npos);
    EXPECT_NE(log.all().find("* Соединение установлено."), std::string::npos);
}

TEST_F(ConnectionTest, RegistrationGoesBetweenHelloAndLoginOnce)
{
    session.registrationPending = 1;
    session.registration.login.set("newbie");
    // Pasted TABs and line breaks go out as blanks: no field shifts.
    session.registration.password.set("p\tw");
    session.registration.question.set("q\r\n?");
    session.registration.answer.set("a\tb");
    session.loginNick.set("Ва\tся");
    session.password.set("p\tw");
    connectNow();
    auto lines = transport.sentLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "HELLO Zumbara\t1.0");
    EXPECT_EQ(lines[1], "REG newbie\tp w\tq  ?\ta b");
    EXPECT_EQ(lines[2], "LOGIN \xD0\x92\xD0\xB0 \xD1\x81\xD1\x8F\tp w\t#112233");
    EXPECT_TRUE(session.registration.login.empty());

    // A reconnect while the flag is still set sends no second REG.
    transport.sent.clear();
    connectNow();
    EXPECT_EQ(transport.sentLines().size(), 2u);
}

TEST_F(ConnectionTest, GuestLoginHasAnEmptyPasswordField)
{
    session.password.clear();
    connectNow();
    EXPECT_EQ(transport.sentLines()[1], "LOGIN \xD0\x92\xD0\xB0\xD1\x81\xD1\x8F\t\t#112233");
}

TEST_F(ConnectionTest, RefusedConnectSaysLostAndSendsNothing)
{
    connectToServer();
    onSocketEvent(kSocketConnect, 10061);
    EXPECT_EQ(transport.sent, "");
    EXPECT_EQ(log.lines.back().text, "Соединение потеряно.");
    EXPECT_EQ(log.lines.back().prefix, "* ");
    EXPECT_EQ(connectionState(session), Disconnected);
}

TEST_F(ConnectionTest, ImmediateFailuresAreReportedAndLeaveNoSocket)
{
    transport.resolves = false;
    connectToServer();
    EXPECT_EQ(log.lines.back().text, "Не удалось найти сервер (проверьте адрес и интернет).");
    EXPECT_EQ(log.lines.back().color, kColorError);
    EXPECT_EQ(transport.opened, 0);

    transport.resolves = true;
    transport.opens = false;
    connectToServer();
    EXPECT_EQ(log.lines.back().text, "Не удалось создать сокет.");
    EXPECT_EQ(session.socket, kNoSocket);

    transport.opens = true;
    transport.connectResult = 10051;
    connectToServer();
    EXPECT_EQ(log.lines.back().text, "Ошибка соединения.");
    EXPECT_EQ(session.socket, kNoSocket);
    EXPECT_EQ(transport.closed, 1);
}

TEST_F(ConnectionTest, ReconnectWhileLoggedInDisconnectsSilently)
{
    connectNow();
    session.welcomed = 1;
    session.currentRoom.set("Главная");
    appendUser(session, "x", 0, "", "");
    transport.sent.clear();
    size_t before = log.lines.size();
    connectToServer();
    EXPECT_EQ(transport.sent, "");  // no QUIT
    EXPECT_EQ(transport.closed, 1);
    EXPECT_EQ(session.userCount, 0);
    EXPECT_STREQ(session.currentRoom.s, "");
    EXPECT_EQ(log.lines[before].text, "Подключение к chat.zumbara.example:4225 ...");
}

TEST_F(ConnectionTest, LinesAreCutAtLfAcrossReads)
{
    connectNow();
    deliver("SYS 1\tone\nSYS 2\ttwo\r\nSYS 3\tth");
    ASSERT_EQ(lines.got.size(), 2u);
    EXPECT_EQ(lines.got[0], "SYS|1|one");
    EXPECT_EQ(lines.got[1], "SYS|2|two");
    deliver("ree\n");
    ASSERT_EQ(lines.got.size(), 3u);
    EXPECT_EQ(lines.got[2], "SYS|3|three");
    deliver("\r\n   \n");  // empty after trimming: not dispatched
    EXPECT_EQ(lines.got.size(), 3u);
    EXPECT_EQ(session.recvFill, 0u);
}

TEST_F(ConnectionTest, NulInsideALineHidesNothing)
{
    connectNow();
    deliver(std::string("SYS 1\ta\0b\nSYS 2\tafter\n", 23));
    ASSERT_EQ(lines.got.size(), 2u);
    EXPECT_EQ(lines.got[0], "SYS|1|a?b");
    EXPECT_EQ(lines.got[1], "SYS|2|after");
}

TEST_F(ConnectionTest, OverlongPartialLineIsDiscardedAndReadingGoesOn)
{
    connectNow();
    deliver(std::string(65533, 'k'));
    EXPECT_EQ(session.recvFill, 65533u);  // kept: it may still end
    // One read per event: two bytes fit now, the rest is read when the
    // platform announces the waiting data again.
    deliver("\nSYS 1\tok\n");
    ASSERT_EQ(lines.got.size(), 1u);
    onSocketEvent(kSocketRead, 0);
    ASSERT_EQ(lines.got.size(), 2u);
    EXPECT_EQ(lines.got[0].size(), 4095u);  // decoded to its cap
    EXPECT_EQ(lines.got[1], "SYS|1|ok");

    deliver(std::string(65534, 'z'));
    EXPECT_EQ(session.recvFill, 0u);
    deliver("SYS 2\tnext\n");
    EXPECT_EQ(lines.got.back(), "SYS|2|next");
}

TEST_F(ConnectionTest, OneReadNeverOverfillsTheBuffer)
{
    connectNow();
    transport.incoming.push_back(std::string(70000, 'a'));
    onSocketEvent(kSocketRead, 0);
    EXPECT_EQ(transport.lastReceiveRoom, 65535u);
    EXPECT_EQ(session.recvFill, 0u);  // 65,535 bytes without LF are dropped
}

TEST_F(ConnectionTest, ReadDuringANestedLoopOnlyAppendsAndThePassDispatchesInOrder)
{
    connectNow();
    lines.onLine = [&](const ParsedLine& p) {
        if (std::string(p.command) == "BOX") {
            // A message box's nested loop delivers more data now.
            transport.incoming.push_back("SYS 3\tc\nSYS 4\t");
            onSocketEvent(kSocketRead, 0);
            EXPECT_EQ(lines.got.size(), 2u);  // nothing dispatched inside
            transport.incoming.push_back("d\n");
            onSocketEvent(kSocketRead, 0);
        }
    };
    deliver("SYS 1\ta\nBOX\nSYS 2\tb\n");
    ASSERT_EQ(lines.got.size(), 5u);
    EXPECT_EQ(lines.got[1], "BOX");
    EXPECT_EQ(lines.got[2], "SYS|2|b");
    EXPECT_EQ(lines.got[3], "SYS|3|c");
    EXPECT_EQ(lines.got[4], "SYS|4|d");
    EXPECT_EQ(session.recvFill, 0u);
}

TEST_F(ConnectionTest, BufferFilledDuringANestedLoopIsReadAgainOnceThePassMadeRoom)
{
    connectNow();
    // While a box is open the server sends more than the buffer holds.
    std::vector<std::string> want = {"BOX"};
    std::string flood = sysLines(2000, want);
    lines.onLine = [&](const ParsedLine& p) {
        if (std::string(p.command) == "BOX") {
            arrive(flood);
            pumpReads();
        }
    };
    arrive("BOX\n");
    pumpReads();
    ASSERT_EQ(lines.got.size(), want.size());
    EXPECT_EQ(lines.got, want);
}

TEST_F(ConnectionTest, LongPassPausesForTheWindowAndTheTimerFinishesIt)
{
    connectNow();
    std::vector<std::string> want;
    std::string burst = sysLines(1001, want);
    lines.onLine = [&](const ParsedLine&) { host.tick += 1; };  // a line takes 1 ms
    size_t last = burst.rfind('\n', burst.size() - 2) + 1;
    deliver(burst.substr(0, last));  // all but the last line
    size_t first = lines.got.size();
    EXPECT_GT(first, 0u);  // stopped on time, as one batch of the log
    EXPECT_LT(first, 1000u);
    EXPECT_EQ(host.events.back(), "start 5 1");
    EXPECT_EQ(log.batchesEnded, 1);
    deliver(burst.substr(last));  // waits behind the lines left
    EXPECT_EQ(lines.got.size(), first);
    onTimer(kTimerReceive);
    EXPECT_EQ(lines.got.size(), 2 * first);
    onSocketEvent(kSocketClose, 0);  // finishes the pass, then disconnects
    EXPECT_EQ(lines.got, want);
    EXPECT_EQ(log.lines.back().text, "Сервер закрыл соединение.");
    EXPECT_EQ(log.batchesBegun, log.batchesEnded);
}

TEST_F(ConnectionTest, DisconnectDuringThePassEndsItWithAnEmptyBuffer)
{
    connectNow();
    lines.onLine = [&](const ParsedLine& p) {
        if (std::string(p.command) == "BOX") {
            transport.incoming.push_back("SYS 9\tlate\n");
            onSocketEvent(kSocketClose, 0);
        }
    };
    deliver("SYS 1\ta\nBOX\nSYS 2\tb\npartial");
    ASSERT_EQ(lines.got.size(), 2u);
    EXPECT_EQ(session.recvFill, 0u);
    EXPECT_EQ(connectionState(session), Disconnected);
    EXPECT_EQ(log.lines.back().text, "Сервер закрыл соединение.");
}

TEST_F(ConnectionTest, DispatcherThatDisconnectsEndsThePass)
{
    connectNow();
    lines.onLine = [&](const ParsedLine& p) {
        if (std::string(p.command) == "ERR")
            disconnect(nullptr);
    };
    deliver("ERR 500\tno\nSYS 1\tdropped\n");
    EXPECT_EQ(lines.got.size(), 1u);
    EXPECT_EQ(session.recvFill, 0u);
}

TEST_F(ConnectionTest, CloseDispatchesTheLastDataFirst)
{
    connectNow();
    transport.incoming.push_back("SYS 1\tbye\n");
    onSocketEvent(kSocketClose, 0);
    ASSERT_EQ(lines.got.size(), 1u);
    EXPECT_EQ(log.lines.back().text, "Сервер закрыл соединение.");
    EXPECT_EQ(connectionState(session), Disconnected);
}

TEST_F(ConnectionTest, DisconnectResetsExactlyTheConnectionFields)
{
    connectNow();
    session.welcomed = 1;
    session.lag = 77;
    session.ownNick.set("me");
    session.globalRole.set("admin");
    session.roomRole.set("mod");
    session.currentRoom.set("r");
    appendUser(session, "u", 0, "", "");
    appendRoom(session, "r", 1, "", "");
    addIgnored(session, "i");
    setCfgValue(session, "k", "v");
    session.chatTitle.set("T");
    host.events.clear();
    disconnect("bye");
    EXPECT_EQ(connectionState(session), Disconnected);
    EXPECT_STREQ(session.globalRole.s, "guest");
    EXPECT_STREQ(session.roomRole.s, "guest");
    EXPECT_STREQ(session.currentRoom.s, "");
    EXPECT_EQ(session.userCount, 0);
    // Kept:
    EXPECT_STREQ(session.ownNick.s, "me");
    EXPECT_EQ(session.lag, 77);
    EXPECT_EQ(session.roomCount, 1);
    EXPECT_EQ(session.ignoredCount, 1);
    EXPECT_EQ(session.cfgCount, 1);
    EXPECT_STREQ(session.chatTitle.s, "T");
    EXPECT_TRUE(host.has("users"));
    EXPECT_TRUE(host.has("stop 1"));
    EXPECT_TRUE(host.has("stop 2"));
    EXPECT_TRUE(host.has("stop 4"));
    EXPECT_EQ(host.events.back(), "status");
    EXPECT_EQ(log.lines.back().text, "bye");
}

TEST_F(ConnectionTest, KeepAliveRefreshAndWelcomeWait)
{
    connectNow();
    transport.sent.clear();
    host.tick = 4000000000u;
    onTimer(kTimerKeepAlive);
    EXPECT_EQ(transport.sent, "PING 4000000000\n");
    EXPECT_EQ(session.pingTick, 4000000000u);

    transport.sent.clear();
    onTimer(kTimerRefresh);
    EXPECT_EQ(transport.sent, "ROOMS\nUSERS\n");
    EXPECT_EQ(session.suppressRoomLine, 1);

    size_t before = log.lines.size();
    protocolLogPath.set("C:\\z\\Zumbara-protocol.log");
    onTimer(kTimerWelcomeWait);
    ASSERT_EQ(log.lines.size(), before + 2);
    EXPECT_EQ(log.lines[before].text, "Сервер за 15 секунд не прислал WELCOME — он говорит не по протоколу ZBP/1.");
    EXPECT_EQ(log.lines[before + 1].text,
              "Всё, что он прислал, записано в файл: C:\\z\\Zumbara-protocol.log. Отправьте его разработчику клиента.");
    EXPECT_TRUE(host.has("stop 4"));
    EXPECT_EQ(connectionState(session), AwaitingWelcome);  // only reported

    session.welcomed = 1;
    before = log.lines.size();
    onTimer(kTimerWelcomeWait);
    EXPECT_EQ(log.lines.size(), before);

    disconnect(nullptr);
    transport.sent.clear();
    onTimer(kTimerRefresh);
    onTimer(kTimerKeepAlive);
    EXPECT_EQ(transport.sent, "");  // nothing sent while disconnected
}

TEST_F(ConnectionTest, QuitVariants)
{
    disconnectCommand();  // not connected: nothing
    EXPECT_EQ(transport.sent, "");
    connectNow();
    transport.sent.clear();
    disconnectCommand();
    EXPECT_EQ(transport.sent, "QUIT \xD0\xBF\xD0\xBE\xD0\xBB\xD1\x8C\xD0\xB7\xD0\xBE\xD0\xB2\xD0\xB0\xD1\x82\xD0\xB5\xD0\xBB\xD1\x8C"
                              " \xD0\xB2\xD1\x8B\xD1\x88\xD0\xB5\xD0\xBB\n");
    EXPECT_EQ(log.lines.back().text, "Вы вышли из чата. Заходите ещё!");

    connectNow();
    transport.sent.clear();
    quitOnClose();
    EXPECT_EQ(transport.sent, "QUIT\n");
    disconnect(nullptr);
    transport.sent.clear();
    quitOnClose();
    EXPECT_EQ(transport.sent, "");
}

TEST_F(ConnectionTest, SendFormattedCutsAtItsBufferAndSkipsWhenNotConnected)
{
    sendFormatted("MSG %s", "early");
    EXPECT_EQ(transport.sent, "");
    connectToServer();
    sendFormatted("MSG %s", "connecting");  // socket open, connect not completed
    EXPECT_EQ(transport.sent, "");
    onSocketEvent(kSocketConnect, 0);
    transport.sent.clear();
    std::string big(7000, 'b');
    sendFormatted("MSG %s", big.c_str());
    // The line is cut to the formatting buffer and then to the 4,095
    // characters one line may carry.
    EXPECT_EQ(transport.sent.size(), 4095u + 1u);
    EXPECT_EQ(transport.sent.back(), '\n');
}

TEST_F(ConnectionTest, ProtocolLogHoldsExactLines)
{
    char path[] = "/tmp/zb-protolog-XXXXXX";
    int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    close(fd);
    unlink(path);
    protocolLogPath.set(path);

    // No password and no secret answer reach the log; empty fields stay so.
    session.registrationPending = 1;
    session.registration.login.set("newbie");
    session.registration.password.set("pw");
    session.registration.question.set("q");
    connectNow();
    deliver("MSG 12:00\tВася\t#FF0000\thi 😀 café №\r\n");
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    // Code page 1251, one byte a character, "?" for what it lacks.
    EXPECT_EQ(ss.str(),
              "09:05:07 C> HELLO Zumbara|1.0\r\n"
              "09:05:07 C> REG newbie|***|q|\r\n"
              "09:05:07 C> LOGIN \xC2\xE0\xF1\xFF|***|#112233\r\n"
              "09:05:07 S> MSG 12:00|\xC2\xE0\xF1\xFF|#FF0000|hi ? caf? \xB9\r\r\n");
    unlink(path);

    // Lines are cut to 8,190 characters.
    char out[9000];
    std::string longLine(9000, 'x');
    size_t n = formatProtocolLogLine(out, sizeof out, 1, 2, 3, "S>", longLine.c_str());
    EXPECT_EQ(n, 12u + 8190u + 2u);
    // A small buffer is never overrun.
    char small[16];
    n = formatProtocolLogLine(small, sizeof small, 1, 2, 3, "S>", "abcdefghij");
    EXPECT_LT(n, sizeof small);
    EXPECT_EQ(small[n], '\0');
}

TEST_F(ConnectionTest, ProtocolLogViewer)
{
    protocolLogPath.set("C:\\x\\Zumbara-protocol.log");
    showProtocolLog();
    EXPECT_EQ(log.lines.back().text, "Лог протокола ещё пуст.");
    EXPECT_EQ(host.opened, "");
    host.logExists = true;
    showProtocolLog();
    EXPECT_EQ(host.opened, "C:\\x\\Zumbara-protocol.log");
}

TEST_F(ConnectionTest, ReconnectDuringThePassHandsTheBufferToTheNewConnection)
{
    connectNow();
    bool reconnected = false;
    lines.onLine = [&](const ParsedLine& p) {
        if (!reconnected && std::string(p.command) == "BOX") {
            reconnected = true;
            // The user reconnects from a nested loop and the new connection's
            // data arrives before the old pass regains control.
            connectNow();
            transport.incoming.push_back("SYS 1\tnew\n");
            onSocketEvent(kSocketRead, 0);
        }
    };
    deliver("BOX\nSYS 0\told\n");
    ASSERT_EQ(lines.got.size(), 2u);
    EXPECT_EQ(lines.got[1], "SYS|1|new");
    EXPECT_EQ(session.recvFill, 0u);
    deliver("SYS 2\tnext\n");
    EXPECT_EQ(lines.got.back(), "SYS|2|next");
}

TEST_F(ConnectionTest, RegistrationWithoutAnswerEndsWithItsConnection)
{
    ports.lines = &serverLineDispatcher();
    const std::function<void()> endings[] = {
        [&] { transport.resolves = false; connectToServer(); transport.resolves = true; },
        [&] { connectToServer(); onSocketEvent(kSocketConnect, 10061); },  // refused
        [&] { connectNow(); onSocketEvent(kSocketClose, 0); },
    };
    for (const auto& end : endings) {
        session.registrationPending = 1;
        session.registration.login.set("newbie");
        end();
        session.registration.login.clear();  // an ordinary login follows
        host.events.clear();
        connectNow();
        deliver("ERR 401\tno such nick\nWELCOME vasya\tuser\tchat\thi\nERR 403\tnot allowed\n");
        EXPECT_TRUE(host.has("box warning Вход не удался: no such nick"));
        EXPECT_EQ(connectionState(session), LoggedIn);
        EXPECT_EQ(log.lines.back().text, "Ошибка 403: not allowed");
    }
    // A registration started while connected still goes out with its REG.
    session.registrationPending = 1;
    session.registration.login.set("newbie");
    connectNow();
    EXPECT_NE(transport.sent.find("REG newbie\t"), std::string::npos);
}
