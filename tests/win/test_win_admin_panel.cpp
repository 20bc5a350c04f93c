// The administration panel from its real template over the real main
// window, opened by command 2030, with a loopback server in place of the
// chat server. A thread timer plays the user while the panel's own modal
// loop runs: each step is retried on every tick until it reports done.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "admin_panel.h"
#include "control_ids.h"
#include "dispatch.h"
#include "fonts.h"
#include "main_commands.h"
#include "main_window.h"
#include "protocol.h"
#include "session_state.h"
#include "win_support.h"

namespace {

using Step = std::function<bool(HWND panel)>;

struct PanelDriver {
    std::vector<Step> steps;
    size_t next = 0;
    int ticks = 0;
};
PanelDriver* driver;

VOID CALLBACK panelTick(HWND, UINT, UINT_PTR, DWORD)
{
    PanelDriver& d = *driver;
    if (!adminPanel)
        return;
    if (++d.ticks > 500 || d.next == d.steps.size()) {  // done, or stuck: close as the user would
        PostMessageA(adminPanel, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    Step step = d.steps[d.next];
    if (step(adminPanel))
        d.next++;
}

// The line as the wire carries it.
std::string wire(const char* text)
{
    static char out[kEncodedLineCap];
    return std::string(out, encodeLine(text, out)) + "\n";
}

std::string itemText(HWND dialog, int id)
{
    char text[512] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

// The message box the panel owns, or null.
HWND openQuestion()
{
    HWND box = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND w, LPARAM lp) -> BOOL {
            HWND* found = (HWND*)lp;
            if (GetWindow(w, GW_OWNER) == adminPanel && IsWindowVisible(w))
                *found = w;
            return TRUE;
        },
        (LPARAM)&box);
    return box;
}

class AdminPanelWinTest : public ::testing::Test {
protected:
    static HWND window;
    static WinsockTransport transport;
    static WinSessionHost host;
    LoopbackServer server;
    std::string received;  // what the server got since the panel opened

    static void SetUpTestSuite()
    {
        createFonts();
        InitCommonControls();
        HINSTANCE inst = GetModuleHandleA(nullptr);
        registerMainWindowClass(inst);  // another suite may have registered it
        ports = SessionPorts{&transport,         &host,
                             nullptr,            &serverLineDispatcher(),
                             &mainWindowViews(), &mainWindowPanel(),
                             &mainWindowBanners()};
        window = createMainWindow(inst);
        ASSERT_NE(window, nullptr);
        transport.notifyWindow = window;
        host.window = window;
    }
    static void TearDownTestSuite()
    {
        DestroyWindow(window);
        MSG m;
        while (PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        UnregisterClassA(kMainWindowClass, GetModuleHandleA(nullptr));
    }

    // Logged in with the given roles, in a room of three.
    void SetUp() override
    {
        resetSessionState(session);
        session.settings.host.set("127.0.0.1");
        session.settings.port = server.port;
        session.loginNick.set("Я");
        connectToServer();
        ASSERT_TRUE(server.acceptClient());
        server.receiveLines(2);
    }
    void logIn(const char* globalRole, const char* roomRole)
    {
        server.sendText(wire((std::string("WELCOME Я\t") + globalRole + "\tЧат\tпривет").c_str()) +
                        wire("USERLIST Главная") + wire((std::string("USER Я\t\t\t") + roomRole).c_str()) +
                        wire("USER Петя\t\t\tuser") + wire("USER Вася\t\t\tuser") + wire("USEREND"));
        ASSERT_TRUE(pumpUntil([] { return session.userCount == 3; }));
    }
    void TearDown() override { disconnect(nullptr); }

    // Opens the panel through the main window's command and plays the steps.
    void run(std::vector<Step> steps)
    {
        PanelDriver d;
        d.steps = std::move(steps);
        driver = &d;
        UINT_PTR timer = SetTimer(nullptr, 0, 20, panelTick);
        runMainCommand(CmdAdminPanel, 0);
        KillTimer(nullptr, timer);
        driver = nullptr;
        EXPECT_EQ(d.next, d.steps.size()) << "the panel closed before every step was done";
        EXPECT_EQ(adminPanel, nullptr);
    }
    // A step that waits until the server has received `text` since the
    // panel opened.
    Step receives(const std::string& text)
    {
        return [this, text](HWND) {
            while (LoopbackServer::readable(server.peer)) {
                char buf[4096];
                int n = recv(server.peer, buf, sizeof buf, 0);
                if (n <= 0)
                    break;
                received.append(buf, (size_t)n);
            }
            return received.find(text) != std::string::npos;
        };
    }
    Step serverSays(const std::string& lines)
    {
        return [this, lines](HWND) { return server.sendText(lines), true; };
    }
    static Step waitFor(std::function<bool(HWND)> cond) { return cond; }
    static Step pause(int ticks)
    {
        auto left = std::make_shared<int>(ticks);
        return [left](HWND) { return --*left <= 0; };
    }
};

HWND AdminPanelWinTest::window;
WinsockTransport AdminPanelWinTest::transport;
WinSessionHost AdminPanelWinTest::host;

} // namespace

TEST_F(AdminPanelWinTest, ModeratorGetsOnlyTheModerationArea)
{
    logIn("user", "mod");
    bool enter = false;
    run({receives("CFG\n"), pause(10), [&](HWND p) {
             EXPECT_EQ(received, "CFG\n");  // no BANNERS for a moderator
             for (int id = IDC_PANEL_TITLE; id <= IDC_PANEL_STATUS; id++)
                 EXPECT_EQ(IsWindowEnabled(GetDlgItem(p, id)) != 0, id > IDC_PANEL_TOGGLE) << id;
             EXPECT_EQ(itemText(p, IDC_PANEL_STATUS), "Вы модератор комнаты: доступна только модерация.");
             EXPECT_EQ(itemText(p, IDC_PANEL_MINUTES), "60");
             PostMessageA(GetDlgItem(p, IDC_PANEL_NICK), WM_KEYDOWN, VK_RETURN, 1);
             return true;
         },
         pause(5), [&](HWND p) { return enter = IsWindowVisible(p) != 0; }});
    EXPECT_TRUE(enter) << "Enter closed the panel";
}

TEST_F(AdminPanelWinTest, AdminPanelTakesTheSelectedNickAndRefillsWhileOpen)
{
    logIn("admin", "guest");
    SendMessageA(mainWnd.userList, LB_SETCURSEL, 1, 0);
    run({receives("CFG\nBANNERS\n"),
         [](HWND p) {
             EXPECT_EQ(itemText(p, IDC_PANEL_NICK), "Петя");
             EXPECT_TRUE(IsWindowEnabled(GetDlgItem(p, IDC_PANEL_SAVE)));
             SetDlgItemTextA(p, IDC_PANEL_MOTD, "набрано и не сохранено");
             return true;
         },
         serverSays(wire("CFG chat_title\tНазвание") + wire("CFG guest_allowed\t0") + wire("CFGEND") +
                    wire("BANNERLIST") + wire("BANNERITEM 7\thttp://h/b.gif\t\t3\t0") + wire("BANNEREND") +
                    wire("TOPIC Новая тема\tПетя") + wire("ERR 403\tнет прав")),
         waitFor([](HWND p) { return SendDlgItemMessageA(p, IDC_PANEL_BANNERS, LB_GETCOUNT, 0, 0) == 1; }),
         [](HWND p) {
             EXPECT_EQ(itemText(p, IDC_PANEL_TITLE), "Название");
             EXPECT_EQ(itemText(p, IDC_PANEL_MOTD), "");
             EXPECT_EQ(IsDlgButtonChecked(p, IDC_PANEL_GUESTS), (UINT)BST_UNCHECKED);
             char row[128] = "";
             SendDlgItemMessageA(p, IDC_PANEL_BANNERS, LB_GETTEXT, 0, (LPARAM)row);
             EXPECT_STREQ(row, "(выкл) #7 w3 http://h/b.gif");
             EXPECT_EQ(itemText(p, IDC_PANEL_TOPIC), "Новая тема");
             EXPECT_EQ(itemText(p, IDC_PANEL_STATUS), "Ошибка 403: нет прав");
             return true;
         }});
}

TEST_F(AdminPanelWinTest, RoomDeletionAsksFirstAndNoSendsNothing)
{
    logIn("user", "admin");
    std::string question;
    auto answer = [&](int button) {
        return [&, button](HWND) {
            HWND box = openQuestion();
            if (box) {
                question = itemText(box, 0xFFFF);
                PostMessageA(box, WM_COMMAND, (WPARAM)button, 0);
            }
            return box != nullptr;
        };
    };
    auto clickDelete = [](HWND p) { return PostMessageA(GetDlgItem(p, IDC_PANEL_DELETE_ROOM), BM_CLICK, 0, 0), true; };
    run({receives("CFG\n"), clickDelete, answer(IDNO), pause(10), [&](HWND) {
             EXPECT_EQ(received, "CFG\n");
             return true;
         },
         clickDelete, answer(IDYES), receives(wire("ROOMDEL Главная"))});
    EXPECT_EQ(question, "Удалить комнату «Главная»? Все будут переведены в Главную.");
}
