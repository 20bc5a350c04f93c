#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "session/dispatch.h"
#include "session/reconnect.h"
#include "shell/main_commands.h"
#include "shell/status_texts.h"
#include "fakes.h"

namespace {

// The main window as the commands see it: only the login dialog acts.
struct DialogWindow : MainWindowActions {
    std::function<void()> loginDialog;
    void runLoginFlow() override { if (loginDialog) loginDialog(); }
    int showRegistrationDialog() override { return 0; }
    void showCreateRoomDialog() override {}
    void showAdminPanel() override {}
    void showAboutDialog() override {}
    void destroyWindow() override {}
    void setMenuCheck(int, bool) override {}
    void openUrl(const char*) override {}
    int selectedUser() override { return -1; }
    int selectedRoom() override { return -1; }
    int selectedColor() override { return -1; }
    int selectedStatus() override { return -1; }
    void repaintNickViews() override {}
    void openBannerLink() override {}
};

class ReconnectTest : public ::testing::Test, public SessionFixture {
public:
    DialogWindow window;

    void SetUp() override
    {
        ports.lines = &serverLineDispatcher();
        mainWindow = &window;
    }
    void TearDown() override { mainWindow = nullptr; }

    // A fresh record and log, logged in to room.
    void loggedInIn(const char* room)
    {
        resetSessionState(session);
        reconnect = ReconnectState();
        log.lines.clear();
        host.events.clear();
        session.loginNick.set("Вася");
        session.password.set("pw");
        session.nickColor.set("#112233");
        connectNow();
        deliver(std::string(u8"WELCOME Вася\tuser\tЧат\tпривет\nUSERLIST ") + room + "\nUSEREND\n");
    }
    bool waiting() const { return reconnect.phase == ReconnectWaiting; }
    bool logged(const std::string& text) const { return log.all().find(text) != std::string::npos; }
    // Lets the wait run out; the try connects and its connect completes.
    void tryNow()
    {
        host.tick += reconnect.remainingMs;
        onTimer(kTimerReconnect);
        ASSERT_EQ(reconnect.phase, ReconnectTrying);
        onSocketEvent(kSocketConnect, 0);
    }
};

} // namespace

TEST_F(ReconnectTest, ScheduleGrowsToAMinuteWithJitterAndComesBackToTheRoom)
{
    struct Row {
        int attempt;
        uint32_t base;
    } rows[] = {{1, 2}, {2, 4}, {3, 8}, {4, 16}, {5, 30}, {6, 60}, {7, 60}, {500, 60}};
    for (const Row& r : rows) {
        EXPECT_EQ(reconnectBaseSeconds(r.attempt), r.base) << r.attempt;
        EXPECT_EQ(reconnectDelayMs(r.attempt, 0), r.base * 1000);
        EXPECT_EQ(reconnectDelayMs(r.attempt, r.base * 200), r.base * 1200);  // at most 20 % more
        EXPECT_EQ(reconnectDelayMs(r.attempt, r.base * 200 + 1), r.base * 1000);
    }

    loggedInIn(u8"Кухня");
    onSocketEvent(kSocketClose, 0);
    // The user changes the login dialog's fields and cancels it: a try still
    // connects as the lost session did, to its address, resolving nothing.
    session.loginNick.set("Другой");
    session.settings.host.set("elsewhere.example");
    transport.resolves = false;
    for (int i = 0; i < 7; i++) {
        const Row& r = rows[i];
        ASSERT_TRUE(waiting());
        EXPECT_EQ(reconnect.attempt, r.attempt);
        EXPECT_GE(reconnect.remainingMs, r.base * 1000);
        EXPECT_LE(reconnect.remainingMs, r.base * 1200);
        int opened = transport.opened;
        host.tick += reconnect.remainingMs - 1;
        onTimer(kTimerReconnect);
        EXPECT_EQ(transport.opened, opened) << "no try before the wait is over";
        host.tick += 1;
        onTimer(kTimerReconnect);
        EXPECT_EQ(transport.opened, opened + 1);
        onSocketEvent(kSocketConnect, 10061);  // refused: the next wait
    }
    EXPECT_TRUE(logged("Переподключение через 2 с (попытка 1)..."));
    EXPECT_TRUE(logged(" с (попытка 3)...") && !logged(" с (попытка 4)..."));
    char status[kStatusBarParts][kStatusPartCap];
    statusBarTexts(session, status);
    EXPECT_EQ(std::string(status[0]).find(" Переподключение через "), 0u);
    EXPECT_NE(std::string(status[0]).find(" с (попытка 8)..."), std::string::npos);

    // The eighth try logs in: the same handshake, then back to the room.
    size_t logLines = log.lines.size();
    transport.sent.clear();
    tryNow();
    EXPECT_EQ(log.lines.size(), logLines) << "tries after the third are quiet";
    deliver(u8"WELCOME Вася\tuser\tЧат\tпривет\n");
    auto sent = transport.sentLines();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[0], "HELLO Zumbara\t1.0");
    EXPECT_EQ(sent[1], "LOGIN \xD0\x92\xD0\xB0\xD1\x81\xD1\x8F\tpw\t#112233");
    EXPECT_EQ(sent[2], "JOIN \xD0\x9A\xD1\x83\xD1\x85\xD0\xBD\xD1\x8F");
    EXPECT_EQ(reconnect.phase, ReconnectIdle);

    // Lost again in the main room: the try sends no JOIN.
    deliver(u8"USERLIST Главная\nUSEREND\n");
    onSocketEvent(kSocketConnect, 10054);
    EXPECT_EQ(reconnect.attempt, 1) << "a logged-in session starts the schedule afresh";
    transport.sent.clear();
    tryNow();
    deliver(u8"WELCOME Вася\tuser\tЧат\tпривет\n");
    EXPECT_EQ(transport.sentLines().size(), 2u);
}

TEST_F(ReconnectTest, WhichEndingsReconnect)
{
    struct Row {
        const char* ending;
        std::function<void(ReconnectTest&)> run;
        bool reconnects;
    } rows[] = {
        // Each row starts logged in; a new connectNow() is a connection that
        // has not reached WELCOME.
        {"the server closes", [](ReconnectTest&) { onSocketEvent(kSocketClose, 0); }, true},
        {"the connection is lost", [](ReconnectTest&) { onSocketEvent(kSocketRead, 10054); }, true},
        {"Отключиться", [](ReconnectTest&) { runMainCommand(CmdDisconnect, 0); }, false},
        {"closing the window", [](ReconnectTest&) { quitOnClose(), endReconnect(), disconnect(nullptr); }, false},
        {"KICKED", [](ReconnectTest& t) { t.deliver(u8"KICKED хватит\n"), onSocketEvent(kSocketClose, 0); }, false},
        {"BANNED", [](ReconnectTest& t) { t.deliver(u8"BANNED 2030\tспам\n"), onSocketEvent(kSocketClose, 0); }, false},
        {"a failed first connect", [](ReconnectTest& t) { t.connectNow(), onSocketEvent(kSocketClose, 10061); }, false},
        {"a refused login",
         [](ReconnectTest& t) { t.connectNow(), t.deliver(u8"ERR 409\tзанят\n"), onSocketEvent(kSocketClose, 0); }, false},
        {"a failed registration",
         [](ReconnectTest& t) { session.registrationPending = 1, t.connectNow(), t.deliver(u8"ERR 409\tзанят\n"); }, false},
        {"the setting is off",
         [](ReconnectTest&) { session.settings.reconnect = false, onSocketEvent(kSocketClose, 0); }, false},
    };
    for (auto& r : rows) {
        loggedInIn(u8"Кухня");
        r.run(*this);
        EXPECT_EQ(waiting(), r.reconnects) << r.ending;
        EXPECT_EQ(logged("Переподключение через 2 с (попытка 1)..."), r.reconnects) << r.ending;
        EXPECT_EQ(connectionState(session), Disconnected) << r.ending;
    }
}

TEST_F(ReconnectTest, RefusalsOfATry)
{
    struct Row {
        const char* code;
        int refusalsBefore;
        bool box;
        bool goesOn;
        bool givesUp;
    } rows[] = {
        {"409", 0, false, true, false},  {"503", 7, false, true, false}, {"409", 19, false, false, true},
        {"503", 19, false, false, true}, {"401", 0, true, false, false}, {"423", 3, true, false, false},
    };
    for (const Row& r : rows) {
        loggedInIn(u8"Кухня");
        onSocketEvent(kSocketClose, 0);
        reconnect.refusals = r.refusalsBefore;
        tryNow();
        // The server refuses and closes at once: one close event carries both.
        transport.incoming.push_back(std::string("ERR ") + r.code + u8"\tнельзя\n");
        onSocketEvent(kSocketClose, 0);
        EXPECT_TRUE(logged(std::string("Ошибка ") + r.code + ": нельзя")) << r.code;
        EXPECT_EQ(host.has("box warning Вход не удался: нельзя"), r.box) << r.code;
        EXPECT_EQ(logged("Переподключение прекращено."), r.givesUp) << r.code;
        EXPECT_EQ(waiting(), r.goesOn) << r.code;
        EXPECT_EQ(logged(" с (попытка 2)..."), r.goesOn) << r.code;
        if (r.goesOn) {
            EXPECT_EQ(reconnect.refusals, r.refusalsBefore + 1);
        }
        EXPECT_EQ(connectionState(session), Disconnected);
    }
}

TEST_F(ReconnectTest, CancelPaths)
{
    struct Row {
        const char* path;
        std::function<void(ReconnectTest&)> run;
        bool cancelledLine;
        ReconnectPhase after;
    } rows[] = {
        {"Отключиться while waiting", [](ReconnectTest&) { runMainCommand(CmdDisconnect, 0); }, true, ReconnectIdle},
        {"Отключиться during a try still connecting",
         [](ReconnectTest& t) {
             t.host.tick += reconnect.remainingMs;
             onTimer(kTimerReconnect);
             runMainCommand(CmdDisconnect, 0);
             EXPECT_EQ(session.socket, kNoSocket);
         },
         true, ReconnectIdle},
        {"the setting turned off",
         [](ReconnectTest&) {
             runMainCommand(CmdReconnect, 0);
             EXPECT_FALSE(session.settings.reconnect);
         },
         true, ReconnectIdle},
        {"the login dialog's OK",
         [](ReconnectTest& t) {
             t.window.loginDialog = [] { connectToServer(); };
             runMainCommand(CmdConnect, 0);
             EXPECT_EQ(connectionState(session), Connecting);
         },
         false, ReconnectIdle},
        {"the login dialog's Cancel after a minute",
         [](ReconnectTest& t) {
             uint32_t left = reconnect.remainingMs;
             t.window.loginDialog = [&t] {
                 t.host.tick += 60000;
                 onTimer(kTimerReconnect);
             };
             runMainCommand(CmdConnect, 0);
             EXPECT_EQ(reconnect.remainingMs, left) << "the countdown stood";
         },
         false, ReconnectWaiting},
        {"closing the window", [](ReconnectTest&) { endReconnect(); }, false, ReconnectIdle},
    };
    for (auto& r : rows) {
        window.loginDialog = nullptr;
        loggedInIn(u8"Кухня");
        onSocketEvent(kSocketClose, 0);
        log.lines.clear();
        r.run(*this);
        EXPECT_EQ(logged("Переподключение отменено."), r.cancelledLine) << r.path;
        EXPECT_EQ(reconnect.phase, r.after) << r.path;
        EXPECT_FALSE(logged("Вы вышли из чата")) << r.path;
    }
}

TEST_F(ReconnectTest, DeadConnectionLimit)
{
    struct Row {
        int limit;
        uint32_t silentMs;
        int dataAtMs;  // a line from the server after this long; -1: none
        bool lost;
    } rows[] = {
        {70, 69999, -1, false}, {70, 70000, -1, true}, {5, 5000, -1, true},
        {5, 8000, 4000, false}, {0, 3600000, -1, false}, {2000000000, 4000000000u, -1, false},
    };
    for (const Row& r : rows) {
        loggedInIn(u8"Кухня");
        session.settings.keepAliveTimeout = r.limit;
        uint32_t start = host.tick;
        if (r.dataAtMs >= 0) {
            host.tick = start + (uint32_t)r.dataAtMs;
            deliver(u8"PONG 1\n");
        }
        host.tick = start + r.silentMs;
        onTimer(kTimerReconnect);
        std::string line = "Сервер не отвечает " + std::to_string(r.limit) + " секунд — соединение потеряно.";
        EXPECT_EQ(logged(line), r.lost) << r.limit << " " << r.silentMs;
        EXPECT_EQ(connectionState(session) == Disconnected, r.lost);
        EXPECT_EQ(waiting(), r.lost) << "a dead connection reconnects";
    }
}
