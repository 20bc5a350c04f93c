// Server lines dispatched while a real message box runs its nested loop.
#include <gtest/gtest.h>

#include <string>

#include "../unit/fakes.h"
#include "session/dispatch.h"
#include "session/win_transport.h"
#include "shell/win_session_host.h"
#include "win_support.h"

namespace {

LoopbackServer* activeServer;
FakeLog* activeLog;
bool dispatchedWhileBoxOpen;
int boxSteps;

// Runs inside the message box's loop: first more data arrives from the
// server, then (later) the user closes the box.
void CALLBACK boxTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    boxSteps++;
    if (boxSteps == 1) {
        activeServer->sendText("SYS 1\tafter the box\nSYS 2\tand more\n");
        return;
    }
    HWND box = FindWindowW(L"#32770", L"Вход не удался");
    if (!box)
        return;
    for (auto& l : activeLog->lines)
        if (l.text == "after the box")
            dispatchedWhileBoxOpen = true;
    KillTimer(nullptr, id);
    SendMessageA(box, WM_COMMAND, IDOK, 0);
}

class WinDispatchTest : public ::testing::Test {
protected:
    LoopbackSession net;
    LoopbackServer& server = net.server;
    FakeHost views;
    FakeLog log;

    void SetUp() override
    {
        resetSessionState(session);
        ASSERT_TRUE(net.open(&log, &serverLineDispatcher(), &views, &views, &views));
        session.loginNick.set("nick");
        activeServer = &server;
        activeLog = &log;
        dispatchedWhileBoxOpen = false;
        boxSteps = 0;
    }
    void TearDown() override { net.close(); }
    size_t indexOf(const std::string& text)
    {
        for (size_t i = 0; i < log.lines.size(); i++)
            if (log.lines[i].text == text)
                return i;
        return (size_t)-1;
    }
};

} // namespace

TEST_F(WinDispatchTest, LinesArrivingDuringAMessageBoxAreDispatchedAfterItInOrder)
{
    connectToServer();
    ASSERT_TRUE(server.acceptClient());
    server.receiveLines(2);
    SetTimer(nullptr, 0, 300, boxTimer);
    server.sendText("ERR 409\tnick taken\nSYS 0\tbefore the box\n");
    ASSERT_TRUE(pumpUntil([&] { return indexOf("and more") != (size_t)-1; }, 10000));
    EXPECT_FALSE(dispatchedWhileBoxOpen);
    EXPECT_GE(boxSteps, 2);
    size_t err = indexOf("Ошибка 409: nick taken");
    size_t before = indexOf("before the box");
    size_t after = indexOf("after the box");
    size_t more = indexOf("and more");
    EXPECT_LT(err, before);
    EXPECT_LT(before, after);
    EXPECT_LT(after, more);
    EXPECT_EQ(connectionState(session), AwaitingWelcome);
}

TEST_F(WinDispatchTest, ServerCloseDuringTheBoxEndsThePass)
{
    session.registrationPending = 1;
    session.registration.login.set("newbie");
    connectToServer();
    ASSERT_TRUE(server.acceptClient());
    server.receiveLines(3);
    // The failed-registration box: the server closes while it is open.
    struct Closer {
        static void CALLBACK tick(HWND, UINT, UINT_PTR id, DWORD)
        {
            HWND box = FindWindowW(L"#32770", L"Регистрация не удалась");
            if (!box)
                return;
            if (activeServer->peer != INVALID_SOCKET) {
                activeServer->sendText("SYS 9\tlate\n");
                activeServer->closePeer();
                return;
            }
            KillTimer(nullptr, id);
            SendMessageA(box, WM_COMMAND, IDOK, 0);
        }
    };
    SetTimer(nullptr, 0, 300, Closer::tick);
    server.sendText("ERR 400\tlogin taken\nSYS 1\tdropped\n");
    ASSERT_TRUE(pumpUntil([&] { return connectionState(session) == Disconnected && session.registrationPending == 0; },
                          10000));
    pumpFor(300);
    EXPECT_EQ(indexOf("dropped"), (size_t)-1);
    EXPECT_EQ(indexOf("late"), (size_t)-1);
    EXPECT_EQ(session.recvFill, 0u);
    EXPECT_NE(indexOf("Ошибка 400: login taken"), (size_t)-1);
}
