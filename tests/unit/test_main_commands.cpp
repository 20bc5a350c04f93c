#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "input/input_actions.h"
#include "people/people_view.h"
#include "session/protocol.h"
#include "session/protocol_log.h"
#include "session/site.h"
#include "shell/main_commands.h"
#include "fakes.h"

namespace {

// The settings as the settings file receives them at one save.
struct Saved {
    bool sound, timestamps, remember;
    std::string loginNick, password, nickColor;
    int ignoredCount;
    bool socketOpen;
};

// The fixture's host, also keeping what the record held at each save and at
// each user-list rebuild.
struct SnapshotHost : FakeHost {
    std::vector<Saved> saves;
    std::vector<int> ignoredAtRebuild;

    void saveSettings() override
    {
        const SessionState& s = session;
        saves.push_back({s.settings.sound, s.settings.timestamps, s.settings.remember, s.loginNick.s, s.password.s,
                         s.nickColor.s, s.ignoredCount, s.socket != kNoSocket});
        FakeHost::saveSettings();
    }
    void usersChanged() override
    {
        ignoredAtRebuild.push_back(session.ignoredCount);
        FakeHost::usersChanged();
    }
};

// The chat log, with clearing recorded among the host's events.
struct EventLog : FakeLog {
    FakeHost* events = nullptr;
    void clearLog() override
    {
        FakeLog::clearLog();
        events->record("clear log");
    }
};

struct FakeWindow : MainWindowActions {
    FakeHost* events = nullptr;
    int user = -1, room = -1, color = -1, status = -1;
    int registrationResult = 0;
    std::function<void()> whileRegistering;  // the user filling the dialog

    void record(const std::string& e) { events->record("window " + e); }

    void runLoginFlow() override { record("login flow"); }
    int showRegistrationDialog() override
    {
        record("registration dialog");
        if (whileRegistering)
            whileRegistering();
        return registrationResult;
    }
    void showCreateRoomDialog() override { record("create-room dialog"); }
    void showAdminPanel() override { record("admin panel"); }
    void showAboutDialog() override { record("about dialog"); }
    void destroyWindow() override { record("destroy"); }
    void setMenuCheck(int id, bool on) override { record("check " + std::to_string(id) + (on ? " on" : " off")); }
    void openUrl(const char* url) override { record(std::string("open ") + url); }
    int selectedUser() override { return user; }
    int selectedRoom() override { return room; }
    int selectedColor() override { return color; }
    int selectedStatus() override { return status; }
    void repaintNickViews() override { record("repaint nick views"); }
    void openBannerLink() override { record("banner link"); }
};

struct FakeInputLine : InputLine {
    FakeHost* events = nullptr;
    std::string text;
    size_t lastCap = 0;

    void getText(char* out, size_t cap) override
    {
        lastCap = cap;
        copyText(out, cap, text.c_str());
    }
    void setText(const char* t) override
    {
        text = t;
        events->record("input text " + text);
    }
    void focusAtEnd() override { events->record("input focus at end"); }
};

// SessionFixture with the window, the input line and the snapshots; host and
// log replace the fixture's own, so that every call lands in host.events.
struct CommandRig : SessionFixture {
    SnapshotHost host;
    EventLog log;
    FakeWindow window;
    FakeInputLine input;

    CommandRig()
    {
        ports.host = &host;
        ports.views = &host;
        ports.panel = &host;
        ports.banners = &bannerModel();
        bannerFetcher = &host;
        ports.log = &log;
        log.events = &host;
        window.events = &host;
        input.events = &host;
        mainWindow = &window;
        inputLine = &input;
        session.ownNick.set("Я");
    }
    ~CommandRig()
    {
        mainWindow = nullptr;
        inputLine = nullptr;
    }

    void forget()
    {
        transport.sent.clear();
        log.lines.clear();
        host.events.clear();
        host.saves.clear();
        host.ignoredAtRebuild.clear();
    }

    void reach(ConnectionState state)
    {
        if (state >= Connecting)
            connectToServer();
        if (state >= AwaitingWelcome)
            onSocketEvent(kSocketConnect, 0);
        if (state == LoggedIn)
            session.welcomed = 1;
        ASSERT_EQ(connectionState(session), state);
        forget();
    }

    // The lines sent to the server, back in the code page.
    std::vector<std::string> sent() const
    {
        std::vector<std::string> out;
        for (const std::string& wire : transport.sentLines()) {
            static char text[kDecodedLineCap];
            decodeLine(wire.data(), wire.size(), text);
            out.push_back(text);
        }
        return out;
    }

    std::vector<std::string> logged() const
    {
        std::vector<std::string> out;
        for (const LoggedLine& l : log.lines)
            out.push_back(l.prefix + l.text);
        return out;
    }

    // What the user sees happen: dialogs, web pages, the input line, the
    // focus, saves, rebuilds and clearing.
    std::vector<std::string> effects() const
    {
        std::vector<std::string> out;
        for (const std::string& e : host.events)
            if (e.rfind("window ", 0) == 0 || e.rfind("input ", 0) == 0 || e == "save" || e == "focus" ||
                e == "users" || e == "clear log" || e == "clear input")
                out.push_back(e);
        return out;
    }

    bool nothingHappened() const { return sent().empty() && logged().empty() && effects().empty(); }
};

typedef std::vector<std::string> Lines;

// ---------------------------------------------------------------------------
// Every command in every connection state.

struct Outcome {
    Lines sent, logged, effects;
};

struct Row {
    std::string name;
    int id, code;
    std::function<void(CommandRig&)> prepare;
    std::array<Outcome, 4> in;  // Disconnected, Connecting, AwaitingWelcome, LoggedIn
};

void PrintTo(const Row& row, std::ostream* os) { *os << row.name; }

std::array<Outcome, 4> always(const Outcome& o) { return {o, o, o, o}; }
std::array<Outcome, 4> onceConnected(const Outcome& o) { return {Outcome{}, Outcome{}, o, o}; }

const char kLogInFirst[] = "!! Сначала войдите в чат.";
const char kChooseSomeone[] = "!! Выберите человека в списке справа.";

void withIvan(CommandRig& r)
{
    appendUser(session, "Ivan", 0, "", "user");
    r.window.user = 0;
}

void withRooms(CommandRig& r)
{
    appendRoom(session, "Главная", 12, "", "");
    appendRoom(session, "Флуд", 3, "", "");
    session.currentRoom.set("Главная");
    r.window.room = 1;
}

std::vector<Row> stateTable()
{
    auto nothing = [](CommandRig&) {};
    auto role = [](const char* global, const char* room) {
        return [global, room](CommandRig&) {
            session.globalRole.set(global);
            session.roomRole.set(room);
        };
    };
    Outcome loginFlow{{}, {}, {"window login flow"}};
    Outcome createDialog{{}, {}, {"window create-room dialog"}};
    Outcome mustLogIn{{}, {kLogInFirst}, {}};
    Outcome refreshed{{"ROOMS", "USERS"}, {}, {}};
    Outcome ivanPrivate{{}, {}, {"input text /pm Ivan ", "input focus at end"}};
    Outcome noSelection{{}, {kChooseSomeone}, {}};

    return {
        {"Connect", CmdConnect, 0, nothing, always(loginFlow)},
        {"ConnectByF2", CmdConnect, kNotifyAccelerator, nothing, always(loginFlow)},
        {"Leave", CmdDisconnect, 0, nothing,
         onceConnected({{"QUIT пользователь вышел"}, {"* Вы вышли из чата. Заходите ещё!"}, {"users"}})},
        {"Register", CmdRegister, 0, nothing,
         {Outcome{{}, {}, {"window registration dialog"}}, Outcome{{}, {}, {"window registration dialog"}},
          Outcome{{}, {"!! Сначала выйдите из чата (Чат -> Выйти), потом регистрируйтесь."}, {}},
          Outcome{{}, {"!! Сначала выйдите из чата (Чат -> Выйти), потом регистрируйтесь."}, {}}}},
        {"Exit", CmdExit, 0, nothing, always({{}, {}, {"window destroy"}})},
        {"CreateRoom", CmdCreateRoom, 0, role("user", "user"), {mustLogIn, mustLogIn, mustLogIn, createDialog}},
        {"CreateRoomButton", IdCreateRoomButton, 0, role("user", "user"),
         {mustLogIn, mustLogIn, mustLogIn, createDialog}},
        {"CreateRoomAsGuest", CmdCreateRoom, 0, role("guest", "guest"),
         {mustLogIn, mustLogIn, mustLogIn,
          Outcome{{}, {"!! Гости не могут создавать комнаты. Зарегистрируйтесь."}, {}}}},
        {"Refresh", CmdRefresh, 0, nothing, onceConnected(refreshed)},
        {"RefreshByF5", CmdRefresh, kNotifyAccelerator, nothing, onceConnected(refreshed)},
        {"MainRoom", CmdMainRoom, 0, nothing, onceConnected({{"JOIN Главная"}, {}, {}})},
        {"ClearLog", CmdClearLog, 0, nothing, always({{}, {}, {"clear log", "focus"}})},
        {"Sound", CmdSound, 0, nothing, always({{}, {}, {"window check 2021 off", "save"}})},
        {"Timestamps", CmdTimestamps, 0, nothing, always({{}, {}, {"window check 2022 off", "save"}})},
        {"UnignoreAll", CmdUnignoreAll, 0, [](CommandRig&) { addIgnored(session, "Petr"); },
         always({{}, {"* Игнор-лист очищен."}, {"save", "users"}})},
        {"AdminPanelForAdmin", CmdAdminPanel, 0, role("admin", "user"),
         {mustLogIn, mustLogIn, mustLogIn, Outcome{{}, {}, {"window admin panel"}}}},
        {"AdminPanelRefused", CmdAdminPanel, 0, role("user", "user"),
         {mustLogIn, mustLogIn, mustLogIn,
          Outcome{{}, {"!! Панель доступна администраторам и модераторам комнаты."}, {}}}},
        {"About", CmdAbout, 0, nothing, always({{}, {}, {"window about dialog"}})},
        {"WebSite", CmdWebSite, 0, nothing, always({{}, {}, {std::string("window open ") + kHomePageUrl}})},
        {"ProtocolLogStillEmpty", CmdProtocolLog, 0, nothing, always({{}, {"!! Лог протокола ещё пуст."}, {}})},
        {"ForgottenPassword", CmdForgotPassword, 0, nothing,
         always({{}, {}, {std::string("window open ") + kPasswordRecoveryUrl}})},
        {"Send", IdSend, 0, [](CommandRig& r) { r.host.input = "привет"; },
         {Outcome{{}, {"!! Вы не подключены. Нажмите F2."}, {}}, Outcome{{}, {"!! Вы не подключены. Нажмите F2."}, {}},
          Outcome{{}, {"!! Вы не подключены. Нажмите F2."}, {}}, Outcome{{"MSG привет"}, {}, {"clear input"}}}},
        {"Private", IdPrivate, 0, withIvan, always(ivanPrivate)},
        {"PrivateWithoutSelection", IdPrivate, 0, nothing, always(noSelection)},
        {"Ignore", IdIgnore, 0, withIvan, always({{}, {"* Ivan в игноре"}, {"users", "save"}})},
        {"IgnoreWithoutSelection", IdIgnore, 0, nothing, always(noSelection)},
        {"UserListSelection", IdUserList, kNotifySelChange, withIvan,
         always({{}, {}, {"input text Ivan, ", "input focus at end"}})},
        {"UserListDoubleClick", IdUserList, kNotifyDoubleClick, withIvan, always(ivanPrivate)},
        {"RoomBox", IdRoomBox, kNotifySelChange, withRooms,
         {Outcome{{}, {}, {"focus"}}, Outcome{{}, {}, {"focus"}}, Outcome{{"JOIN Флуд"}, {}, {"focus"}},
          Outcome{{"JOIN Флуд"}, {}, {"focus"}}}},
        {"ColorBox", IdColorBox, kNotifySelChange, [](CommandRig& r) { r.window.color = 2; },
         {Outcome{{}, {}, {"save", "window repaint nick views"}}, Outcome{{}, {}, {"save", "window repaint nick views"}},
          Outcome{{}, {}, {"save", "window repaint nick views"}},
          Outcome{{"COLOR #FF0000"}, {}, {"save", "window repaint nick views"}}}},
        {"StatusBox", IdStatusBox, kNotifySelChange, [](CommandRig& r) { r.window.status = 5; },
         onceConnected({{"STATUS не беспокоить"}, {}, {}})},
        {"StatusBoxConfirmedOnline", IdStatusBox, kNotifySelEndOk, [](CommandRig& r) { r.window.status = 0; },
         onceConnected({{"STATUS "}, {}, {}})},
        {"BannerClick", IdBanner, kNotifyClicked, nothing, always({{}, {}, {"window banner link"}})},
    };
}

const ConnectionState kStates[] = {Disconnected, Connecting, AwaitingWelcome, LoggedIn};
const char* const kStateNames[] = {"Disconnected", "Connecting", "AwaitingWelcome", "LoggedIn"};

class MainCommandStates : public ::testing::TestWithParam<std::tuple<Row, ConnectionState>>, public CommandRig {};

TEST_P(MainCommandStates, SendsLogsAndOpensAsTheStateAllows)
{
    const Row& row = std::get<0>(GetParam());
    ConnectionState state = std::get<1>(GetParam());
    reach(state);
    row.prepare(*this);
    runMainCommand(row.id, row.code);
    const Outcome& want = row.in[state];
    EXPECT_EQ(sent(), want.sent);
    EXPECT_EQ(logged(), want.logged);
    EXPECT_EQ(effects(), want.effects);
}

INSTANTIATE_TEST_SUITE_P(MainCommandTable, MainCommandStates,
                         ::testing::Combine(::testing::ValuesIn(stateTable()), ::testing::ValuesIn(kStates)),
                         [](const ::testing::TestParamInfo<MainCommandStates::ParamType>& info) {
                             return std::get<0>(info.param).name + "_" +
                                    kStateNames[std::get<1>(info.param)];
                         });

// ---------------------------------------------------------------------------
// The edge cases, each group on a fresh record.

class MainCommandTest : public ::testing::Test, public CommandRig {};

TEST_F(MainCommandTest, AcceptedRegistrationLogsTheNewAccountIn)
{
    session.loginNick.set("old");
    session.password.set("oldpass");
    session.settings.remember = false;
    window.registrationResult = 1;
    window.whileRegistering = [] {
        session.registration.login.set("Новичок");
        session.registration.password.set("секрет");
        session.registration.question.set("кот?");
        session.registration.answer.set("Барсик");
    };
    runMainCommand(CmdRegister, 0);

    EXPECT_STREQ(session.loginNick.s, "Новичок");
    EXPECT_STREQ(session.password.s, "секрет");
    EXPECT_TRUE(session.settings.remember);
    EXPECT_EQ(session.registrationPending, 1);
    // Saved with the new account and remember on, before the connect starts.
    ASSERT_EQ(host.saves.size(), 1u);
    EXPECT_EQ(host.saves[0].loginNick, "Новичок");
    EXPECT_EQ(host.saves[0].password, "секрет");
    EXPECT_TRUE(host.saves[0].remember);
    EXPECT_FALSE(host.saves[0].socketOpen);
    EXPECT_EQ(transport.opened, 1);

    onSocketEvent(kSocketConnect, 0);
    EXPECT_EQ(sent(), (Lines{"HELLO Zumbara\t1.0", "REG Новичок\tсекрет\tкот?\tБарсик",
                             "LOGIN Новичок\tсекрет\t#000080"}));
}

TEST_F(MainCommandTest, RegistrationCopiesAtMost63Characters)
{
    std::string login(63, 'l'), password(63, 'p');
    window.registrationResult = 1;
    window.whileRegistering = [&] {
        session.registration.login.set((login + "XYZ").c_str());
        session.registration.password.set((password + "XYZ").c_str());
    };
    runMainCommand(CmdRegister, 0);
    EXPECT_EQ(std::string(session.loginNick.s), login);
    EXPECT_EQ(std::string(session.password.s), password);
}

TEST_F(MainCommandTest, CancelledOrRefusedRegistrationChangesNothing)
{
    session.loginNick.set("old");
    window.whileRegistering = [] { session.registration.login.set("Новичок"); };
    for (int result : {0, 2, -1}) {
        window.registrationResult = result;
        runMainCommand(CmdRegister, 0);
    }
    EXPECT_STREQ(session.loginNick.s, "old");
    EXPECT_FALSE(session.settings.remember);
    EXPECT_EQ(session.registrationPending, 0);
    EXPECT_TRUE(host.saves.empty());
    EXPECT_EQ(transport.opened, 0);
    EXPECT_TRUE(logged().empty());
}

TEST_F(MainCommandTest, LoginFlowCancelledWhileLoggedInLeavesTheConnection)
{
    reach(LoggedIn);
    SocketHandle before = session.socket;
    runMainCommand(CmdConnect, kNotifyAccelerator);
    EXPECT_EQ(effects(), (Lines{"window login flow"}));
    EXPECT_EQ(session.socket, before);
    EXPECT_EQ(connectionState(session), LoggedIn);
    EXPECT_EQ(transport.closed, 0);
    EXPECT_TRUE(sent().empty());
}

TEST_F(MainCommandTest, SoundAndTimestampsFlipIndependentlyAndAreSavedFlipped)
{
    session.settings.sound = false;
    session.settings.timestamps = true;
    runMainCommand(CmdSound, 0);
    runMainCommand(CmdSound, 0);
    runMainCommand(CmdTimestamps, 0);
    runMainCommand(CmdTimestamps, 0);
    EXPECT_EQ(effects(), (Lines{"window check 2021 on", "save", "window check 2021 off", "save",
                                "window check 2022 off", "save", "window check 2022 on", "save"}));
    ASSERT_EQ(host.saves.size(), 4u);
    EXPECT_TRUE(host.saves[0].sound);
    EXPECT_FALSE(host.saves[1].sound);
    EXPECT_FALSE(host.saves[2].timestamps);
    EXPECT_FALSE(host.saves[2].sound);
    EXPECT_TRUE(host.saves[3].timestamps);
}

TEST_F(MainCommandTest, UnignoreAllEmptiesTheListBeforeSavingAndRebuilding)
{
    addIgnored(session, "a");
    addIgnored(session, "b");
    addIgnored(session, "c");
    appendUser(session, "a", 0, "", "user");
    runMainCommand(CmdUnignoreAll, 0);
    EXPECT_EQ(session.ignoredCount, 0);
    EXPECT_FALSE(isIgnored(session, "a"));
    ASSERT_EQ(host.saves.size(), 1u);
    EXPECT_EQ(host.saves[0].ignoredCount, 0);
    EXPECT_EQ(host.ignoredAtRebuild, (std::vector<int>{0}));
    EXPECT_EQ(logged(), (Lines{"* Игнор-лист очищен."}));
}

TEST_F(MainCommandTest, IgnoreButtonTogglesTheSelectedPerson)
{
    appendUser(session, "Ivan", 0, "", "user");
    appendUser(session, "Petr", 0, "", "user");
    window.user = 1;
    runMainCommand(IdIgnore, 0);
    runMainCommand(IdIgnore, 0);
    EXPECT_EQ(logged(), (Lines{"* Petr в игноре", "* Игнор с Petr снят"}));
    EXPECT_EQ(session.ignoredCount, 0);
}

TEST_F(MainCommandTest, PrivateNeedsAnIndexBelowTheUserCount)
{
    appendUser(session, "Ivan", 0, "", "user");
    appendUser(session, "Petr", 0, "", "user");
    input.text = "привет";
    for (int index : {-1, 2, 3}) {
        window.user = index;
        runMainCommand(IdPrivate, 0);
        runMainCommand(IdIgnore, 0);
    }
    EXPECT_EQ(logged(), Lines(6, kChooseSomeone));
    EXPECT_EQ(input.text, "привет");
    EXPECT_TRUE(effects().empty());  // not even the focus moves
    EXPECT_EQ(session.ignoredCount, 0);

    window.user = 1;
    runMainCommand(IdPrivate, 0);
    EXPECT_EQ(input.text, "/pm Petr ");
}

TEST_F(MainCommandTest, SelectingAPersonAddressesOthersOnly)
{
    session.ownNick.set("Иван");
    appendUser(session, "иВАН", 0, "", "user");  // the own nick in other letter case
    appendUser(session, "", 0, "", "user");
    appendUser(session, "Petr", 0, "", "user");
    input.text = "привет";
    for (int index : {0, 1, 3, -1}) {
        window.user = index;
        runMainCommand(IdUserList, kNotifySelChange);
    }
    EXPECT_TRUE(nothingHappened());

    window.user = 2;
    for (int code : {0, 3, 4, 5})  // no selection change, no double click
        runMainCommand(IdUserList, code);
    EXPECT_TRUE(nothingHappened());

    runMainCommand(IdUserList, kNotifySelChange);
    EXPECT_EQ(input.text, "привет Petr, ");
}

TEST_F(MainCommandTest, DoubleClickOnTheOwnEntryStillStartsAPrivate)
{
    session.ownNick.set("Иван");
    appendUser(session, "Иван", 0, "", "user");
    window.user = 0;
    runMainCommand(IdUserList, kNotifyDoubleClick);
    EXPECT_EQ(input.text, "/pm Иван ");
    window.user = 5;
    runMainCommand(IdUserList, kNotifyDoubleClick);
    EXPECT_EQ(logged(), (Lines{kChooseSomeone}));
}

TEST_F(MainCommandTest, RoomBoxJoinsOnlyAnotherRoomButAlwaysFocuses)
{
    reach(LoggedIn);
    appendRoom(session, "Главная", 12, "", "");
    appendRoom(session, "Флуд", 3, "", "");
    session.currentRoom.set("ГЛАВНАЯ");
    for (int index : {0, -1, 2}) {
        window.room = index;
        runMainCommand(IdRoomBox, kNotifySelChange);
    }
    EXPECT_TRUE(sent().empty());
    EXPECT_EQ(effects(), (Lines{"focus", "focus", "focus"}));

    forget();
    window.room = 1;
    for (int code : {0, 2, 7, 8, 9})  // only a selection change counts
        runMainCommand(IdRoomBox, code);
    EXPECT_TRUE(nothingHappened());
    runMainCommand(IdRoomBox, kNotifySelChange);
    EXPECT_EQ(sent(), (Lines{"JOIN Флуд"}));  // the name, not the shown "Флуд (3)"
}

TEST_F(MainCommandTest, ColorBoxStoresTheSavedValueAndTheNextLoginCarriesIt)
{
    reach(Connecting);
    window.color = 11;
    runMainCommand(IdColorBox, kNotifySelChange);
    EXPECT_STREQ(session.nickColor.s, "#C00060");
    ASSERT_EQ(host.saves.size(), 1u);
    EXPECT_EQ(host.saves[0].nickColor, "#C00060");
    onSocketEvent(kSocketConnect, 0);
    EXPECT_EQ(sent().back(), "LOGIN \t\t#C00060");

    session.welcomed = 1;
    forget();
    window.color = 0;
    runMainCommand(IdColorBox, kNotifySelChange);
    EXPECT_EQ(sent(), (Lines{"COLOR #000080"}));
}

TEST_F(MainCommandTest, ColorBoxWithoutAValidEntryOrOnOtherCodesDoesNothing)
{
    reach(LoggedIn);
    for (int index : {-1, 12, 100}) {
        window.color = index;
        runMainCommand(IdColorBox, kNotifySelChange);
    }
    window.color = 3;
    for (int code : {0, 2, 5, 9})
        runMainCommand(IdColorBox, code);
    EXPECT_TRUE(nothingHappened());
    EXPECT_STREQ(session.nickColor.s, "#000080");
}

TEST_F(MainCommandTest, StatusBoxSendsEachEntryAndOnlineAsTheEmptyStatus)
{
    reach(LoggedIn);
    for (int index = 0; index < kStatusChoiceCount; index++) {
        window.status = index;
        runMainCommand(IdStatusBox, index % 2 ? kNotifySelChange : kNotifySelEndOk);
    }
    EXPECT_EQ(sent(), (Lines{"STATUS ", "STATUS отошёл", "STATUS занят", "STATUS сплю", "STATUS кушаю",
                             "STATUS не беспокоить"}));
    EXPECT_EQ(transport.sentLines()[0], "STATUS ");
}

TEST_F(MainCommandTest, StatusBoxIgnoresTypingAndMissingSelections)
{
    reach(LoggedIn);
    window.status = 2;
    for (int code : {0, 2, 3, 4, 5, 6, 7, 8, 10})  // edit changes, drop-downs, focus
        runMainCommand(IdStatusBox, code);
    for (int index : {-1, (int)kStatusChoiceCount}) {
        window.status = index;
        runMainCommand(IdStatusBox, kNotifySelChange);
        runMainCommand(IdStatusBox, kNotifySelEndOk);
    }
    EXPECT_TRUE(nothingHappened());
}

TEST_F(MainCommandTest, AdminPanelGoesToGlobalAdminsAndRoomModerators)
{
    struct Case {
        const char *global, *room;
        bool opens;
    };
    const Case cases[] = {
        {"admin", "guest", true}, {"user", "mod", true}, {"guest", "admin", true},
        {"mod", "user", false},   {"Admin", "Mod", false}, {"user", "", false},
    };
    reach(LoggedIn);
    for (const Case& c : cases) {
        forget();
        session.globalRole.set(c.global);
        session.roomRole.set(c.room);
        runMainCommand(CmdAdminPanel, 0);
        if (c.opens) {
            EXPECT_EQ(effects(), (Lines{"window admin panel"})) << c.global << "/" << c.room;
            EXPECT_TRUE(logged().empty());
        } else {
            EXPECT_TRUE(effects().empty()) << c.global << "/" << c.room;
            EXPECT_EQ(logged(), (Lines{"!! Панель доступна администраторам и модераторам комнаты."}));
        }
    }
}

TEST_F(MainCommandTest, BeforeWelcomeTheRoleDoesNotMatter)
{
    reach(AwaitingWelcome);
    session.globalRole.set("admin");
    session.roomRole.set("mod");
    runMainCommand(CmdAdminPanel, 0);
    runMainCommand(CmdCreateRoom, 0);
    session.globalRole.set("guest");
    runMainCommand(IdCreateRoomButton, 0);
    EXPECT_EQ(logged(), Lines(3, kLogInFirst));
    EXPECT_TRUE(effects().empty());
}

TEST_F(MainCommandTest, OnlyTheExactGuestRoleIsRefusedARoom)
{
    reach(LoggedIn);
    session.globalRole.set("Guest");
    runMainCommand(CmdCreateRoom, 0);
    session.globalRole.set("admin");
    runMainCommand(IdCreateRoomButton, 0);
    EXPECT_EQ(effects(), (Lines{"window create-room dialog", "window create-room dialog"}));
    EXPECT_TRUE(logged().empty());
}

TEST_F(MainCommandTest, RefreshLeavesTheRoomLineSuppressionAlone)
{
    reach(LoggedIn);
    for (int suppress : {0, 1}) {
        session.suppressRoomLine = suppress;
        runMainCommand(CmdRefresh, 0);
        EXPECT_EQ(session.suppressRoomLine, suppress);
    }
    EXPECT_EQ(sent(), (Lines{"ROOMS", "USERS", "ROOMS", "USERS"}));
}

TEST_F(MainCommandTest, LeavingWhileDisconnectedIsSilent)
{
    runMainCommand(CmdDisconnect, 0);
    EXPECT_TRUE(nothingHappened());
    EXPECT_TRUE(host.events.empty());
}

TEST_F(MainCommandTest, ProtocolLogOpensInTheViewerOnceItExists)
{
    protocolLogPath.set("/nonexistent-dir/Zumbara-protocol.log");
    host.logExists = true;
    runMainCommand(CmdProtocolLog, 0);
    protocolLogPath.clear();
    EXPECT_EQ(host.opened, "/nonexistent-dir/Zumbara-protocol.log");
    EXPECT_TRUE(logged().empty());
}

TEST_F(MainCommandTest, BannerStripOpensTheLinkOnAPlainClickOnly)
{
    for (int code : {1, 2, 3, 4})  // double click, enable, disable
        runMainCommand(IdBanner, code);
    EXPECT_TRUE(nothingHappened());
    runMainCommand(IdBanner, kNotifyClicked);
    EXPECT_EQ(effects(), (Lines{"window banner link"}));
}

TEST_F(MainCommandTest, OtherIdentifiersDoNothing)
{
    reach(LoggedIn);
    appendUser(session, "Ivan", 0, "", "user");
    window.user = window.room = window.color = window.status = 0;
    const int ids[] = {0,     2000,        2005,    2013,      2024,     2031,        2044,    IdLog,
                       IdInput, IdStatusBar, IdTopic, IdToolbar, IdHeader, IdNickLabel, IdClock, 3023};
    for (int id : ids)
        runMainCommand(id, 0);
    EXPECT_TRUE(nothingHappened());
}

TEST(MainCommandTooltip, EachToolbarButtonHasItsText)
{
    const std::pair<int, std::string> expected[] = {
        {CmdConnect, "Подключиться к чату (F2)"},
        {CmdDisconnect, "Выйти из чата"},
        {CmdRegister, std::string("Регистрация: единый логин портала ") + kPortalDomain +
                          " (почта, чат и всё остальное)"},
        {CmdCreateRoom, "Создать свою комнату"},
        {CmdRefresh, "Обновить списки (F5)"},
        {CmdClearLog, "Очистить окно"},
        {CmdAdminPanel, "Панель администратора"},
        {CmdAbout, "О программе"},
        {CmdWebSite, kHomePageUrl},
        {IdPrivate, "Приват выбранному человеку"},
        {IdIgnore, "Игнорировать / снять игнор"},
    };
    for (const auto& e : expected) {
        ASSERT_NE(tooltipText(e.first), nullptr) << e.first;
        EXPECT_EQ(tooltipText(e.first), e.second) << e.first;
    }
    // The built texts stay where they are for the toolbar to read later.
    EXPECT_EQ(tooltipText(CmdRegister), tooltipText(CmdRegister));
    EXPECT_EQ(tooltipText(CmdWebSite), tooltipText(CmdWebSite));
}

TEST(MainCommandTooltip, OtherIdentifiersHaveNone)
{
    const int ids[] = {0,      CmdExit,           CmdMainRoom, CmdSound,           CmdTimestamps, CmdUnignoreAll, CmdProtocolLog,
                       CmdForgotPassword, IdSend, IdCreateRoomButton, IdUserList, IdStatusBox, 9999};
    for (int id : ids)
        EXPECT_EQ(tooltipText(id), nullptr) << id;
}

// ---------------------------------------------------------------------------
// Filling the input line.

class InputActions : public ::testing::Test, public CommandRig {};

TEST_F(InputActions, AddressingPutsTheNickAfterTheTextWithOneBlank)
{
    struct Case {
        std::string before, after;
    };
    const Case cases[] = {
        {"", "Ivan, "},
        {"привет", "привет Ivan, "},
        {"привет ", "привет Ivan, "},
        {" ", " Ivan, "},
        {"Petr, ", "Petr, Ivan, "},
        {"a  ", "a  Ivan, "},
    };
    for (const Case& c : cases) {
        host.events.clear();
        input.text = c.before;
        addressNick("Ivan");
        EXPECT_EQ(input.text, c.after) << c.before;
        EXPECT_EQ(host.events, (Lines{"input text " + c.after, "input focus at end"})) << c.before;
    }
}

TEST_F(InputActions, AddressingLeavesACommandAloneButFocusesIt)
{
    input.text = "/me машет";
    addressNick("Ivan");
    EXPECT_EQ(input.text, "/me машет");
    EXPECT_EQ(host.events, (Lines{"input focus at end"}));
}

TEST_F(InputActions, AddressingReadsAtMost1099Characters)
{
    input.text = std::string(1500, 'x');
    addressNick("Ivan");
    EXPECT_EQ(input.text, std::string(1099, 'x') + " Ivan, ");
    std::string cyrillic;
    for (int i = 0; i < 1500; i++)
        cyrillic += "ж";
    input.text = cyrillic;
    addressNick("Ivan");
    EXPECT_EQ(input.text, cyrillic.substr(0, 1099 * 2) + " Ivan, ");  // characters, not bytes
}

TEST_F(InputActions, AddressingKeepsALongNickWhole)
{
    std::string nick(63, 'n');
    input.text = std::string(1099, 'x');
    addressNick(nick.c_str());
    EXPECT_EQ(input.text, std::string(1099, 'x') + " " + nick + ", ");
}

TEST_F(InputActions, StartingAPrivateReplacesWhateverWasTyped)
{
    for (const char* before : {"", "привет всем", "/me машет"}) {
        host.events.clear();
        input.text = before;
        startPrivate("Ivan");
        EXPECT_EQ(input.text, "/pm Ivan ") << before;
        EXPECT_EQ(host.events, (Lines{"input text /pm Ivan ", "input focus at end"}));
    }
}

} // namespace
