// The administration panel from its real template over the real main
// window, opened by command 2030, with a loopback server in place of the
// chat server; the dialog driver plays the user while the panel's modal
// loop runs.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "admin/win_admin_panel.h"
#include "session/protocol.h"
#include "shell/main_commands.h"
#include "dialog_driver.h"
#include "main_window_fixture.h"

namespace {

// Lines as the wire carries them.
std::string wire(std::initializer_list<const char*> lines)
{
    static char out[kEncodedLineCap];
    std::string s;
    for (const char* l : lines)
        s += std::string(out, encodeLine(l, out)) + "\n";
    return s;
}

class AdminPanelWinTest : public MainWindowTest {
protected:
    LoopbackServer server;
    std::string received;  // by the server since the login

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
    void run(Driver& d)
    {
        drive(d, [] {
            runMainCommand(CmdAdminPanel, 0);
            return 0;
        });
        EXPECT_EQ(d.next, d.steps.size()) << "the panel closed before every step was done";
        EXPECT_EQ(adminPanel, nullptr);
    }
    // A step that waits until the server has received exactly `text` since the login.
    std::function<void(HWND)> receives(Driver& d, const std::string& text)
    {
        return waitUntil(d, [this, text] {
            char buf[4096];
            int n;
            while (LoopbackServer::readable(server.peer) && (n = recv(server.peer, buf, sizeof buf, 0)) > 0)
                received.append(buf, (size_t)n);
            return received == text;
        });
    }
};

} // namespace

TEST_F(AdminPanelWinTest, ModeratorGetsOnlyTheModerationArea)
{
    logIn("WELCOME Я\tuser\tЧат\t", "USER Я\t\t\tmod");
    Driver d(IDC_PANEL_STATUS);
    d.steps = {receives(d, "CFG\n"), [&](HWND p) {
                   Sleep(150);
                   EXPECT_FALSE(LoopbackServer::readable(server.peer));  // no BANNERS for a moderator
                   for (int id = IDC_PANEL_TITLE; id <= IDC_PANEL_STATUS; id++)
                       EXPECT_EQ(IsWindowEnabled(GetDlgItem(p, id)) != 0, id > IDC_PANEL_TOGGLE) << id;
                   EXPECT_EQ(itemText(p, IDC_PANEL_STATUS), "Вы модератор комнаты: доступна только модерация.");
                   EXPECT_EQ(itemText(p, IDC_PANEL_NICK), "");  // nobody selected
                   PostMessageA(GetDlgItem(p, IDC_PANEL_NICK), WM_KEYDOWN, VK_RETURN, 1);
               },
               [](HWND) {}};  // runs only while the panel is still open after Enter
    run(d);
}

TEST_F(AdminPanelWinTest, AdminPanelTakesTheSelectedNickAndRefillsWhileOpen)
{
    logIn("WELCOME Я\tadmin\tЧат\t", "USER Я");
    SendMessageA(mainWnd.userList, LB_SETCURSEL, 1, 0);
    Driver d(IDC_PANEL_STATUS);
    d.steps = {receives(d, "CFG\nBANNERS\n"),
               [&](HWND p) {
                   EXPECT_EQ(itemText(p, IDC_PANEL_NICK), "Петя");
                   SetDlgItemTextW(p, IDC_PANEL_MOTD, wideOf("набрано и не сохранено").c_str());
                   server.sendText(wire({"CFG chat_title\tНазвание", "CFG guest_allowed\t0", "CFGEND", "BANNERLIST",
                                         "BANNERITEM 7\thttp://h/b.gif\t\t3\t0", "BANNEREND",
                                         "TOPIC Новая тема\tПетя", "ERR 403\tнет прав"}));
               },
               waitUntil(d, [] { return SendDlgItemMessageA(adminPanel, IDC_PANEL_BANNERS, LB_GETCOUNT, 0, 0) == 1; }),
               [](HWND p) {
                   EXPECT_EQ(itemText(p, IDC_PANEL_TITLE), "Название");
                   EXPECT_EQ(itemText(p, IDC_PANEL_MOTD), "");
                   EXPECT_EQ(IsDlgButtonChecked(p, IDC_PANEL_GUESTS), (UINT)BST_UNCHECKED);
                   EXPECT_EQ(listItemText(GetDlgItem(p, IDC_PANEL_BANNERS), LB_GETTEXTLEN, LB_GETTEXT, 0),
                             "(выкл) #7 w3 http://h/b.gif");
                   EXPECT_EQ(itemText(p, IDC_PANEL_TOPIC), "Новая тема");
                   EXPECT_EQ(itemText(p, IDC_PANEL_STATUS), "Ошибка 403: нет прав");
               }};
    run(d);
}

TEST_F(AdminPanelWinTest, RoomDeletionAsksFirstAndNoSendsNothing)
{
    logIn("WELCOME Я\tuser\tЧат\t", "USER Я\t\t\tadmin");
    Driver d(IDC_PANEL_STATUS);
    auto deleteAnswering = [&](WPARAM answer) {
        return [&d, answer](HWND p) {
            d.boxAnswer = answer;
            click(IDC_PANEL_DELETE_ROOM)(p);
        };
    };
    d.steps = {receives(d, "CFG\n"), deleteAnswering(IDNO), [](HWND) { Sleep(150); }, receives(d, "CFG\n"),
               deleteAnswering(IDYES), receives(d, "CFG\n" + wire({"ROOMDEL Главная"}))};
    run(d);
    ASSERT_EQ(d.boxes.size(), 2u);
    EXPECT_EQ(d.boxes[0], "Удалить комнату «Главная»? Все будут переведены в Главную.");
    EXPECT_TRUE(d.boxesOwnedByDialog);
}
