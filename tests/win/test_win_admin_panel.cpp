// The administration panel from its real template over the real main
// window, opened by command 2030, with a loopback server in place of the
// chat server. A thread timer plays the user while the panel's modal loop
// runs: each step is retried on every tick until it reports done.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "admin_panel.h"
#include "dispatch.h"
#include "fonts.h"
#include "main_commands.h"
#include "main_window.h"
#include "protocol.h"
#include "win_support.h"

namespace {

using Step = std::function<bool(HWND panel)>;
std::vector<Step> steps;
size_t nextStep;
int ticks;

// The visible window the panel owns (its question box), or null.
HWND ownedBox(HWND panel)
{
    struct Find {
        HWND owner, box;
    } f = {panel, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND w, LPARAM lp) {
            Find* f = (Find*)lp;
            if (GetWindow(w, GW_OWNER) == f->owner && IsWindowVisible(w))
                f->box = w;
            return TRUE;
        },
        (LPARAM)&f);
    return f.box;
}

VOID CALLBACK panelTick(HWND, UINT, UINT_PTR, DWORD)
{
    if (!adminPanel)
        return;
    if (++ticks > 500 || nextStep == steps.size()) {  // done, or stuck: close it
        PostMessageA(ownedBox(adminPanel), WM_COMMAND, IDNO, 0);
        PostMessageA(adminPanel, WM_COMMAND, IDCANCEL, 0);
    } else if (steps[nextStep](adminPanel)) {
        nextStep++;
    }
}

// Lines as the wire carries them.
std::string wire(std::initializer_list<const char*> lines)
{
    static char out[kEncodedLineCap];
    std::string s;
    for (const char* l : lines)
        s += std::string(out, encodeLine(l, out)) + "\n";
    return s;
}

std::string itemText(HWND dialog, int id)
{
    char text[512] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

class AdminPanelWinTest : public ::testing::Test {
protected:
    static HWND window;
    static WinsockTransport transport;
    static WinSessionHost host;
    LoopbackServer server;
    std::string received;  // by the server since the login

    static void SetUpTestSuite()
    {
        createFonts();
        InitCommonControls();
        registerMainWindowClass(GetModuleHandleA(nullptr));  // another suite may have registered it
        ports = SessionPorts{&transport, &host, nullptr, &serverLineDispatcher(), &mainWindowViews(),
                             &mainWindowPanel(), &mainWindowBanners()};
        window = createMainWindow(GetModuleHandleA(nullptr));
        ASSERT_NE(window, nullptr);
        transport.notifyWindow = host.window = window;
    }
    static void TearDownTestSuite()
    {
        DestroyWindow(window);
        MSG m;
        while (PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        UnregisterClassA(kMainWindowClass, GetModuleHandleA(nullptr));
    }
    void TearDown() override { disconnect(nullptr); }

    // Logged in with the given roles, in a room of three.
    void logIn(const char* welcome, const char* ownUser)
    {
        resetSessionState(session);
        session.settings.host.set("127.0.0.1");
        session.settings.port = server.port;
        connectToServer();
        ASSERT_TRUE(server.acceptClient());
        server.receiveLines(2);
        server.sendText(wire({welcome, "USERLIST Главная", ownUser, "USER Петя\t\t\tuser", "USER Вася", "USEREND"}));
        ASSERT_TRUE(pumpUntil([] { return session.userCount == 3; }));
    }
    // Opens the panel through the main window's command and plays the steps.
    void run(std::vector<Step> list)
    {
        steps = std::move(list);
        nextStep = 0;
        ticks = 0;
        UINT_PTR timer = SetTimer(nullptr, 0, 20, panelTick);
        runMainCommand(CmdAdminPanel, 0);
        KillTimer(nullptr, timer);
        EXPECT_EQ(nextStep, steps.size()) << "the panel closed before every step was done";
        EXPECT_EQ(adminPanel, nullptr);
    }
    // Waits until the server has received exactly `text` since the login.
    Step receives(const std::string& text)
    {
        return [this, text](HWND) {
            char buf[4096];
            int n;
            while (LoopbackServer::readable(server.peer) && (n = recv(server.peer, buf, sizeof buf, 0)) > 0)
                received.append(buf, (size_t)n);
            return received == text;
        };
    }
    static Step pause(int n)
    {
        return [n, left = n](HWND) mutable { return --left <= 0; };
    }
};

HWND AdminPanelWinTest::window;
WinsockTransport AdminPanelWinTest::transport;
WinSessionHost AdminPanelWinTest::host;

} // namespace

TEST_F(AdminPanelWinTest, ModeratorGetsOnlyTheModerationArea)
{
    logIn("WELCOME Я\tuser\tЧат\t", "USER Я\t\t\tmod");
    run({receives("CFG\n"), pause(10), [&](HWND p) {
             EXPECT_EQ(received, "CFG\n");  // no BANNERS for a moderator
             for (int id = IDC_PANEL_TITLE; id <= IDC_PANEL_STATUS; id++)
                 EXPECT_EQ(IsWindowEnabled(GetDlgItem(p, id)) != 0, id > IDC_PANEL_TOGGLE) << id;
             EXPECT_EQ(itemText(p, IDC_PANEL_STATUS), "Вы модератор комнаты: доступна только модерация.");
             EXPECT_EQ(itemText(p, IDC_PANEL_NICK), "");  // nobody selected
             PostMessageA(GetDlgItem(p, IDC_PANEL_NICK), WM_KEYDOWN, VK_RETURN, 1);
             return true;
         },
         pause(5), [](HWND p) { return IsWindowVisible(p) != 0; }});  // Enter left it open
}

TEST_F(AdminPanelWinTest, AdminPanelTakesTheSelectedNickAndRefillsWhileOpen)
{
    logIn("WELCOME Я\tadmin\tЧат\t", "USER Я");
    SendMessageA(mainWnd.userList, LB_SETCURSEL, 1, 0);
    run({receives("CFG\nBANNERS\n"),
         [&](HWND p) {
             EXPECT_EQ(itemText(p, IDC_PANEL_NICK), "Петя");
             SetDlgItemTextA(p, IDC_PANEL_MOTD, "набрано и не сохранено");
             server.sendText(wire({"CFG chat_title\tНазвание", "CFG guest_allowed\t0", "CFGEND", "BANNERLIST",
                                   "BANNERITEM 7\thttp://h/b.gif\t\t3\t0", "BANNEREND", "TOPIC Новая тема\tПетя",
                                   "ERR 403\tнет прав"}));
             return true;
         },
         [](HWND p) { return SendDlgItemMessageA(p, IDC_PANEL_BANNERS, LB_GETCOUNT, 0, 0) == 1; },
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
    logIn("WELCOME Я\tuser\tЧат\t", "USER Я\t\t\tadmin");
    std::string question;
    auto answer = [&](WPARAM button) {
        return [&question, button](HWND p) {
            HWND box = ownedBox(p);
            if (box) {
                question = itemText(box, 0xFFFF);
                PostMessageA(box, WM_COMMAND, button, 0);
            }
            return box != nullptr;
        };
    };
    Step clickDelete = [](HWND p) { return PostMessageA(GetDlgItem(p, IDC_PANEL_DELETE_ROOM), BM_CLICK, 0, 0) != 0; };
    run({receives("CFG\n"), clickDelete, answer(IDNO), pause(10), receives("CFG\n"), clickDelete, answer(IDYES),
         receives("CFG\n" + wire({"ROOMDEL Главная"}))});
    EXPECT_EQ(question, "Удалить комнату «Главная»? Все будут переведены в Главную.");
}
