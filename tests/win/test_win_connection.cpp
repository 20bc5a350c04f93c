// The connection over a real Winsock 1.1 socket to a server on loopback.
#include <gtest/gtest.h>

#include <stdio.h>

#include <regex>
#include <string>

#include "../unit/fakes.h"
#include "base/codepage.h"
#include "base/utf8.h"
#include "log/win_chat_log.h"
#include "session/dispatch.h"
#include "session/protocol_log.h"
#include "session/win_transport.h"
#include "shell/win_session_host.h"
#include "win_support.h"

namespace {

class WinConnectionTest : public ::testing::Test {
protected:
    LoopbackSession net;
    WinSessionHost& host = net.host;
    LoopbackServer& server = net.server;
    FakeHost views;
    FakeLog log;
    RecordingLines lines;
    char logPath[MAX_PATH] = "";

    void SetUp() override
    {
        resetSessionState(session);
        ASSERT_TRUE(net.open(&log, &lines, &views, &views, &views));
        session.loginNick.set("Вася");
        protocolLogPath.clear();
    }

    void TearDown() override
    {
        net.close();
        if (logPath[0])
            DeleteFileA(logPath);
    }

    bool logged(const std::string& text) const
    {
        for (auto& l : log.lines)
            if (l.text == text)
                return true;
        return false;
    }

    void useProtocolLog()
    {
        char dir[MAX_PATH];
        GetTempPathA(sizeof dir, dir);
        formatText(logPath, sizeof logPath, "%szb-win-%lu-protocol.log", dir, (unsigned long)GetCurrentProcessId());
        DeleteFileA(logPath);
        protocolLogPath.set(logPath);
    }
};

} // namespace

TEST_F(WinConnectionTest, HandshakeArrivesAtTheServerAsUtf8Lines)
{
    connectToServer();
    ASSERT_EQ(connectionState(session), Connecting);
    ASSERT_TRUE(server.acceptClient());
    std::string got = server.receiveLines(2);
    EXPECT_EQ(got, "HELLO Zumbara\t1.0\nLOGIN \xD0\x92\xD0\xB0\xD1\x81\xD1\x8F\t\t#000080\n");
    EXPECT_EQ(connectionState(session), AwaitingWelcome);
    EXPECT_TRUE(logged("Соединение установлено."));
}

TEST_F(WinConnectionTest, ServerCloseAfterDataDispatchesTheDataFirst)
{
    connectToServer();
    ASSERT_TRUE(server.acceptClient());
    server.receiveLines(2);
    server.sendText("SYS 1\t\xD0\xBF\xD0\xBE\xD0\xBA\xD0\xB0\nSYS 2\tlast");
    server.sendText("\n");
    server.closePeer();
    ASSERT_TRUE(pumpUntil([&] { return connectionState(session) == Disconnected; }));
    ASSERT_EQ(lines.got.size(), 2u);
    EXPECT_EQ(lines.got[0], "SYS|1|пока");
    EXPECT_EQ(lines.got[1], "SYS|2|last");
    EXPECT_EQ(log.lines.back().text, "Сервер закрыл соединение.");
}

TEST_F(WinConnectionTest, RefusedConnectSaysLostAndSendsNoHello)
{
    // A port nobody listens on: take one and give it back.
    SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a = {};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = inet_addr("127.0.0.1");
    bind(s, (sockaddr*)&a, sizeof a);
    int len = sizeof a;
    getsockname(s, (sockaddr*)&a, &len);
    closesocket(s);
    session.settings.port = ntohs(a.sin_port);
    useProtocolLog();

    connectToServer();
    ASSERT_TRUE(pumpUntil([&] { return connectionState(session) == Disconnected; }));
    EXPECT_EQ(log.lines.back().text, "Соединение потеряно.");
    EXPECT_FALSE(logged("Соединение установлено."));
    EXPECT_EQ(GetFileAttributesA(logPath), INVALID_FILE_ATTRIBUTES);  // nothing was sent
}

TEST_F(WinConnectionTest, UnknownHostIsReported)
{
    session.settings.host.set("no-such-host.invalid");
    connectToServer();
    EXPECT_EQ(log.lines.back().text, "Не удалось найти сервер (проверьте адрес и интернет).");
    EXPECT_EQ(connectionState(session), Disconnected);
}

TEST_F(WinConnectionTest, ProtocolLogFileHoldsEveryLineOfTheRun)
{
    useProtocolLog();
    connectToServer();
    ASSERT_TRUE(server.acceptClient());
    server.receiveLines(2);
    server.sendText("MSG 12:00\t\xD0\x92\xD0\xB0\xD1\x81\xD1\x8F\t#FF0000\tok\n");
    ASSERT_TRUE(pumpUntil([&] { return lines.got.size() == 1; }));
    sendFormatted("MSG %s", "ответ");
    server.receiveLines(1);

    // The file is code page 1251; compared as the program's text.
    std::string bytes = readFile(logPath);
    std::string text(bytes.size() * 3, '\0');
    Cp1251Text cp1251;
    text.resize(codePageToUtf8(cp1251, bytes.data(), bytes.size(), &text[0], text.size()));
    std::regex want("\\d\\d:\\d\\d:\\d\\d C> HELLO Zumbara\\|1\\.0\r\n"
                    "\\d\\d:\\d\\d:\\d\\d C> LOGIN Вася\\|\\|#000080\r\n"
                    "\\d\\d:\\d\\d:\\d\\d S> MSG 12:00\\|Вася\\|#FF0000\\|ok\r\n"
                    "\\d\\d:\\d\\d:\\d\\d C> MSG ответ\r\n");
    EXPECT_TRUE(std::regex_match(text, want)) << text;

    // The viewer command opens an existing log rather than reporting it empty.
    EXPECT_TRUE(host.fileExists(logPath));
}

TEST_F(WinConnectionTest, WelcomeWaitTimerReportsOnceAndKeepsTheConnection)
{
    connectToServer();
    ASSERT_TRUE(server.acceptClient());
    server.receiveLines(2);
    // Fire the wait at once instead of after 15 s: same timer, same handler.
    host.startTimer(kTimerWelcomeWait, 10);
    ASSERT_TRUE(pumpUntil([&] { return logged("Сервер за 15 секунд не прислал WELCOME — он говорит не по протоколу ZBP/1."); }));
    size_t n = log.lines.size();
    pumpFor(200);
    EXPECT_EQ(log.lines.size(), n);  // the timer was stopped: once only
    EXPECT_EQ(connectionState(session), AwaitingWelcome);
}

namespace {

LoopbackServer* floodServer;
std::string floodText;

// Runs in the message box's nested loop: the server sends more than the
// receive buffer holds, and a moment later the user closes the box.
void CALLBACK floodWhileBoxIsOpen(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND box = FindWindowA("#32770", "box");
    if (!box)
        return;
    if (!floodText.empty()) {
        floodServer->sendText(floodText);
        floodText.clear();
        return;
    }
    KillTimer(nullptr, id);
    SendMessageA(box, WM_COMMAND, IDOK, 0);
}

} // namespace

TEST_F(WinConnectionTest, MoreThanTheBufferHoldsDuringAMessageBoxIsAllDispatchedAfterIt)
{
    connectToServer();
    ASSERT_TRUE(server.acceptClient());
    server.receiveLines(2);
    std::vector<std::string> want = {"BOX"};
    floodText = sysLines(2000, want);
    ASSERT_GT(floodText.size(), (size_t)kRecvBufferSize);
    floodServer = &server;
    lines.onLine = [&](const ParsedLine& p) {
        if (std::string(p.command) == "BOX")
            host.messageBox("a box", "box", IconInformation);
    };
    SetTimer(nullptr, 0, 200, floodWhileBoxIsOpen);
    server.sendText("BOX\n");
    pumpUntil([&] { return lines.got.size() == want.size(); }, 10000);
    ASSERT_EQ(lines.got.size(), want.size());
    EXPECT_EQ(lines.got, want);
}

TEST_F(WinConnectionTest, EventQueuedForTheOldSocketLeavesTheNewConnectionAlone)
{
    connectToServer();
    ASSERT_TRUE(server.acceptClient());
    server.receiveLines(2);
    // The server closes; the close event waits in the queue, unhandled.
    server.closePeer();
    MSG m;
    DWORD start = GetTickCount();
    while (!PeekMessageA(&m, net.window, kMsgSocket, kMsgSocket, PM_NOREMOVE) && GetTickCount() - start < 5000)
        Sleep(5);
    ASSERT_EQ(WSAGETSELECTEVENT(m.lParam), FD_CLOSE);

    // The user connects again before the queue is handled.
    connectToServer();
    ASSERT_TRUE(server.acceptClient());
    EXPECT_EQ(server.receiveLines(2).substr(0, 6), "HELLO ");
    pumpFor(200);
    EXPECT_EQ(connectionState(session), AwaitingWelcome);
    EXPECT_FALSE(logged("Сервер закрыл соединение."));
}

TEST_F(WinConnectionTest, FloodOfTwoThousandLinesReachesTheLogAndTheProtocolLogWhole)
{
    HWND edit = CreateWindowExA(0, loadRichEdit(), "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY,
                                0, 0, 300, 200, net.window, nullptr, nullptr, nullptr);
    RichEditChatLog richLog;
    richLog.edit = edit;
    richLog.windowCopy = &edit;
    ports.log = &richLog;
    ports.lines = &serverLineDispatcher();
    session.settings.timestamps = true;
    useProtocolLog();
    connectToServer();
    ASSERT_TRUE(server.acceptClient());
    server.receiveLines(2);
    std::vector<std::string> dispatched;
    server.sendText(sysLines(2000, dispatched));
    auto shown = [&] { return windowText(edit); };
    ASSERT_TRUE(pumpUntil([&] { return shown().find("[1999] * ") != std::string::npos; }, 30000));
    disconnect(nullptr);  // closes the protocol log

    // Each line once, in order, in the log and in the protocol log.
    std::string log = shown(), file = readFile(logPath), wantLog, wantProtocol, protocol;
    for (int i = 0; i < 2000; i++) {
        wantLog += "[" + std::to_string(i) + "] * line of some forty bytes\r\n";
        wantProtocol += "S> SYS " + std::to_string(i) + "|line of some forty bytes\r\n";
    }
    size_t at = log.find(wantLog);
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(log.erase(at, wantLog.size()).find("] * line"), std::string::npos);
    for (size_t from = 0, end; (end = file.find("\r\n", from)) != std::string::npos; from = end + 2)
        if (file.compare(from + 9, 6, "S> SYS") == 0)
            protocol += file.substr(from + 9, end + 2 - from - 9);
    EXPECT_TRUE(protocol == wantProtocol);
    DestroyWindow(edit);
}
