#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "people/people_view.h"
#include "session/commands.h"
#include "session/dispatch.h"
#include "session/reconnect.h"
#include "shell/main_commands.h"
#include "shell/status_texts.h"
#include "toolkit/palette.h"
#include "fakes.h"

namespace {

// The main window as the commands see it: only the login dialog acts.
struct DialogWindow : MainWindowActions {
    std::function<void()> loginDialog;
    int color = -1, status = -1;  // what the colour and status boxes select
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
    int selectedColor() override { return color; }
    int selectedStatus() override { return status; }
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
        dropHeldLines();
        transport.connectResult = kWouldBlock;
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
    int loggedTimes(const std::string& text) const
    {
        int n = 0;
        std::string all = log.all();
        for (size_t at = all.find(text); at != std::string::npos; at = all.find(text, at + 1))
            n++;
        return n;
    }
    void type(const std::string& text)
    {
        host.input = text;
        submitInputLine();
    }
    void welcome() { deliver(u8"WELCOME Вася\tuser\tЧат\tпривет\n"); }
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
    // After the login the colour box and the status box choose anew.
    window.color = 2;
    runMainCommand(IdColorBox, kNotifySelChange);
    window.status = 1;
    runMainCommand(IdStatusBox, kNotifySelChange);
    onSocketEvent(kSocketClose, 0);
    // A chat line and a private message typed while away wait for the room.
    type("всем привет");
    type("/W Петя как дела");
    EXPECT_TRUE(logged("Отправлю после переподключения: /W Петя как дела"));
    EXPECT_EQ(heldLineCount(), 2);
    EXPECT_EQ(host.input, "");
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

    // The eighth try logs in as the session was: its colour and status.
    size_t logLines = log.lines.size();
    transport.sent.clear();
    tryNow();
    EXPECT_EQ(log.lines.size(), logLines) << "tries after the third are quiet";
    welcome();
    auto sent = transport.sentLines();
    ASSERT_EQ(sent.size(), 4u);
    EXPECT_EQ(sent[0], "HELLO Zumbara\t1.0");
    EXPECT_EQ(sent[1], "LOGIN \xD0\x92\xD0\xB0\xD1\x81\xD1\x8F\tpw\t#FF0000");
    EXPECT_EQ(sent[2], "JOIN \xD0\x9A\xD1\x83\xD1\x85\xD0\xBD\xD1\x8F");
    EXPECT_EQ(sent[3], u8"STATUS отошёл");
    EXPECT_STREQ(session.nickColor.s, "#FF0000");
    EXPECT_EQ(reconnect.phase, ReconnectIdle);

    // Dropped before the server listed the room, and soon: the next try goes
    // on with the schedule and back to the same room.
    deliver(u8"USERLIST Главная\nUSEREND\n");
    onSocketEvent(kSocketClose, 0);
    EXPECT_EQ(reconnect.attempt, 9);
    transport.sent.clear();
    tryNow();
    welcome();
    EXPECT_EQ(transport.sentLines().at(2), sent[2]);
    EXPECT_EQ(transport.sentLines().size(), 4u) << "the typed lines wait for the room";
    // The room is back: the typed lines go out, one per flood limit.
    deliver(u8"USERLIST Кухня\nUSEREND\n");
    EXPECT_EQ(transport.sentLines().back(), u8"MSG всем привет");
    EXPECT_TRUE(host.has("start 9 2250"));
    onTimer(kTimerHeldLines);
    EXPECT_EQ(transport.sentLines().back(), u8"PM Петя\tкак дела");
    EXPECT_TRUE(host.has("stop 9"));
    EXPECT_EQ(heldLineCount(), 0);

    // Lost again in the main room after a minute up: the schedule starts
    // afresh and the try sends no JOIN.
    deliver(u8"USERLIST Главная\nUSEREND\n");
    host.tick += kReconnectStableMs;
    onSocketEvent(kSocketConnect, 10054);
    EXPECT_EQ(reconnect.attempt, 1) << "a session that lasted starts the schedule afresh";
    transport.sent.clear();
    tryNow();
    welcome();
    EXPECT_EQ(transport.sentLines().size(), 3u);
    EXPECT_EQ(transport.sent.find("JOIN"), std::string::npos);

    // The user's own new login starts available: the status selector shows
    // its first entry, and a later reconnect sends no old status.
    runMainCommand(CmdDisconnect, 0);
    transport.resolves = true;
    host.events.clear();
    connectNow();
    welcome();
    EXPECT_TRUE(host.has("status choice reset"));
    onSocketEvent(kSocketClose, 0);
    transport.sent.clear();
    tryNow();
    welcome();
    EXPECT_EQ(transport.sent.find("STATUS"), std::string::npos);
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
        {"a try's session dropped within a minute of its WELCOME",
         [](ReconnectTest& t) {
             onSocketEvent(kSocketClose, 0);
             t.tryNow();
             t.welcome();
             t.host.tick += kReconnectStableMs - 1;
             onSocketEvent(kSocketClose, 0);
             EXPECT_EQ(reconnect.attempt, 2) << "the schedule goes on";
         },
         true},
        {"tries whose connect call fails at once",
         [](ReconnectTest& t) {
             onSocketEvent(kSocketClose, 0);
             t.transport.connectResult = 10051;  // no network
             for (int i = 0; i < 5; i++) {
                 t.host.tick += reconnect.remainingMs;
                 onTimer(kTimerReconnect);
             }
             EXPECT_EQ(reconnect.attempt, 6);
             EXPECT_EQ(t.loggedTimes("Ошибка соединения."), 3) << "only the first three tries speak";
             EXPECT_EQ(t.loggedTimes("Подключение к "), 4);
         },
         true},
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
        int attempt;  // of the try refused; after the third, a refusal that goes on is quiet
        bool box;
        bool goesOn;
        bool givesUp;
    } rows[] = {
        {"409", 0, 1, false, true, false},  {"503", 7, 1, false, true, false}, {"409", 19, 1, false, false, true},
        {"503", 19, 1, false, false, true}, {"401", 0, 1, true, false, false}, {"423", 3, 1, true, false, false},
        {"409", 0, 4, false, true, false},  {"503", 19, 4, false, false, true}, {"401", 0, 5, true, false, false},
    };
    for (const Row& r : rows) {
        loggedInIn(u8"Кухня");
        onSocketEvent(kSocketClose, 0);
        reconnect.refusals = r.refusalsBefore;
        reconnect.attempt = r.attempt;
        tryNow();
        // The server refuses and closes at once: one close event carries both.
        transport.incoming.push_back(std::string(u8"HELLO ZBP/1\tпир\nERR ") + r.code + u8"\tнельзя\n");
        onSocketEvent(kSocketClose, 0);
        bool quiet = r.attempt > kReconnectLoggedLines && r.goesOn;
        std::string code = std::to_string(r.attempt) + " " + r.code;
        EXPECT_EQ(logged(std::string("Ошибка ") + r.code + ": нельзя"), !quiet) << code;
        EXPECT_EQ(logged("Сервер: пир (ZBP/1)"), r.attempt <= kReconnectLoggedLines) << code;
        EXPECT_EQ(host.has("box warning Вход не удался: нельзя"), r.box) << code;
        EXPECT_EQ(logged("Переподключение прекращено."), r.givesUp) << code;
        EXPECT_EQ(waiting(), r.goesOn) << code;
        std::string next = " с (попытка " + std::to_string(r.attempt + 1) + ")...";
        EXPECT_EQ(logged(next), r.goesOn && r.attempt < kReconnectLoggedLines) << code;
        if (r.goesOn) {
            EXPECT_EQ(reconnect.refusals, r.refusalsBefore + 1);
        }
        EXPECT_EQ(connectionState(session), Disconnected);
    }
}

TEST_F(ReconnectTest, CancelPaths)
{
    // Each row's reconnect holds two typed lines; whatever ends it without a
    // session says how many were not sent.
    struct Row {
        const char* path;
        std::function<void(ReconnectTest&)> run;
        bool cancelledLine;
        ReconnectPhase after;
        int unsent;
    } rows[] = {
        {"Отключиться while waiting", [](ReconnectTest&) { runMainCommand(CmdDisconnect, 0); }, true, ReconnectIdle,
         2},
        {"Отключиться during a try still connecting",
         [](ReconnectTest& t) {
             t.host.tick += reconnect.remainingMs;
             onTimer(kTimerReconnect);
             runMainCommand(CmdDisconnect, 0);
             EXPECT_EQ(session.socket, kNoSocket);
         },
         true, ReconnectIdle, 2},
        {"the setting turned off",
         [](ReconnectTest&) {
             runMainCommand(CmdReconnect, 0);
             EXPECT_FALSE(session.settings.reconnect);
         },
         true, ReconnectIdle, 2},
        {"the login dialog's OK",
         [](ReconnectTest& t) {
             t.window.loginDialog = [] { connectToServer(); };
             runMainCommand(CmdConnect, 0);
             EXPECT_EQ(connectionState(session), Connecting);
         },
         false, ReconnectIdle, 2},
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
         false, ReconnectWaiting, 0},
        {"closing the window", [](ReconnectTest&) { endReconnect(); }, false, ReconnectIdle, 2},
        {"BANNED at a try", [](ReconnectTest& t) { t.tryNow(), t.deliver(u8"BANNED 2030\tспам\n"); }, false,
         ReconnectIdle, 2},
        {"Отключиться while the typed lines go out",
         [](ReconnectTest& t) {
             t.tryNow();
             t.welcome();
             t.deliver(u8"USERLIST Кухня\nUSEREND\n");
             EXPECT_EQ(t.transport.sentLines().back(), u8"MSG раз");
             runMainCommand(CmdDisconnect, 0);
         },
         false, ReconnectIdle, 1},
    };
    for (auto& r : rows) {
        window.loginDialog = nullptr;
        loggedInIn(u8"Кухня");
        onSocketEvent(kSocketClose, 0);
        type("раз");
        type("/msg Петя два");
        log.lines.clear();
        r.run(*this);
        EXPECT_EQ(logged("Переподключение отменено."), r.cancelledLine) << r.path;
        EXPECT_EQ(reconnect.phase, r.after) << r.path;
        if (r.cancelledLine) {
            EXPECT_FALSE(logged("Вы вышли из чата")) << r.path;
        }
        EXPECT_EQ(loggedTimes("Не отправлено строк: "), r.unsent ? 1 : 0) << r.path;
        EXPECT_EQ(logged("Не отправлено строк: " + std::to_string(r.unsent) + "."), r.unsent != 0) << r.path;
        EXPECT_EQ(heldLineCount(), r.unsent ? 0 : 2) << r.path;
    }

    // Twenty lines wait at most; the 21st, and any other command, is refused
    // as while not connected and stays in the input line.
    loggedInIn(u8"Кухня");
    onSocketEvent(kSocketClose, 0);
    for (int i = 1; i <= kHeldLinesMax; i++)
        type("line " + std::to_string(i));
    for (const char* refused : {"line 21", "/me here", "/pm alone"}) {
        type(refused);
        EXPECT_EQ(host.input, refused);
    }
    EXPECT_EQ(loggedTimes("Вы не подключены. Нажмите F2."), 3);
    EXPECT_EQ(heldLineCount(), kHeldLinesMax);
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
