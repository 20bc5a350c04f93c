// The registration, create-room and about dialogs from their real resource
// templates, driven in-process through their controls while their own
// modal loops run.
#include <gtest/gtest.h>

#include <windows.h>

#include <iterator>
#include <string>
#include <vector>

#include "../unit/fakes.h"
#include "dialogs/registration.h"
#include "dialogs/win_about_dialog.h"
#include "dialogs/win_create_room_dialog.h"
#include "dialogs/win_registration_dialog.h"
#include "session/session_state.h"
#include "dialog_driver.h"
#include "win_support.h"

namespace {

HWND createModeless(int id, DLGPROC proc)
{
    return CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), nullptr, proc, 0);
}

// Types count characters into the control; returns how many it took.
int typed(HWND dialog, int id, int count)
{
    HWND edit = GetDlgItem(dialog, id);
    SetWindowTextA(edit, "");
    for (int i = 0; i < count; i++)
        SendMessageA(edit, WM_CHAR, 'a', 1);
    return GetWindowTextLengthA(edit);
}

class RegistrationDialogTest : public ::testing::Test {
protected:
    void SetUp() override { resetSessionState(session); }
};

} // namespace

TEST_F(RegistrationDialogTest, TypingLimitsAndMaskedPasswords)
{
    // The question list and its first entry selected, and that a question
    // can be typed over it, show in the refusals below; the title end to end.
    HWND dlg = createModeless(IDD_REGISTRATION, registrationDialogProc);
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(typed(dlg, IDC_REG_LOGIN, 25), 20);
    EXPECT_EQ(typed(dlg, IDC_REG_PASSWORD, 45), 40);
    EXPECT_EQ(typed(dlg, IDC_REG_REPEAT, 45), 40);
    EXPECT_EQ(typed(dlg, IDC_REG_ANSWER, 105), 100);
    EXPECT_NE(SendDlgItemMessageA(dlg, IDC_REG_PASSWORD, EM_GETPASSWORDCHAR, 0, 0), 0);
    EXPECT_NE(SendDlgItemMessageA(dlg, IDC_REG_REPEAT, EM_GETPASSWORDCHAR, 0, 0), 0);
    DestroyWindow(dlg);
}

TEST_F(RegistrationDialogTest, EachRefusalWarnsAndMovesTheFocusToItsField)
{
    struct Refusal {
        const char *login, *password, *repeated, *answer;
        const char* message;
        int focus;
    };
    const Refusal refusals[] = {
        {"ab", "1", "2", "", "Логин: 3-20 символов, только латинские буквы, цифры, точка, дефис, подчёркивание.",
         IDC_REG_LOGIN},
        {"ivan+x", "secret", "secret", "a", "Логин: 3-20 символов, только латинские буквы, цифры, точка, дефис, "
                                            "подчёркивание.",
         IDC_REG_LOGIN},
        {"ivan", "12345", "12345", "a", "Пароль — не короче 6 символов.", IDC_REG_PASSWORD},
        {"ivan", "secret", "secreT", "a", "Пароли не совпадают.", IDC_REG_REPEAT},
        {"ivan", "secret", "secret", "", "Заполните секретный вопрос и ответ — без них пароль не восстановить.",
         IDC_REG_ANSWER},
    };
    Driver d(IDC_REG_HEADER);
    std::vector<int> focused;
    d.steps.push_back([&](HWND) { focused.push_back(GetDlgCtrlID(GetFocus())); });
    for (const Refusal& r : refusals) {
        d.steps.push_back(setText(IDC_REG_LOGIN, r.login));
        d.steps.push_back(setText(IDC_REG_PASSWORD, r.password));
        d.steps.push_back(setText(IDC_REG_REPEAT, r.repeated));
        d.steps.push_back(setText(IDC_REG_ANSWER, r.answer));
        d.steps.push_back(click(IDOK));
        d.steps.push_back([&](HWND) { focused.push_back(GetDlgCtrlID(GetFocus())); });
    }
    // The last refusal's form stays in the request, as read.
    d.steps.push_back([&](HWND) {
        EXPECT_STREQ(session.registration.login.s, "ivan");
        EXPECT_STREQ(session.registration.question.s, "Любимая книга");
        EXPECT_STREQ(session.registration.answer.s, "");
    });
    // A question of one's own, typed over the list, and an answer of blanks.
    d.steps.push_back(setText(IDC_REG_QUESTION, "Мой вопрос?"));
    d.steps.push_back(setText(IDC_REG_ANSWER, "   "));
    d.steps.push_back(setText(IDC_REG_LOGIN, "ivan.petrov-1_x"));
    d.steps.push_back(click(IDOK));

    EXPECT_EQ(drive(d, [] { return runRegistrationDialog(nullptr); }), IDOK);
    ASSERT_EQ(d.boxes.size(), std::size(refusals));
    ASSERT_EQ(focused.size(), std::size(refusals) + 1);
    EXPECT_EQ(focused[0], IDC_REG_LOGIN);  // at start, the first field
    for (size_t i = 0; i < d.boxes.size(); i++) {
        EXPECT_EQ(d.boxes[i], refusals[i].message) << i;
        EXPECT_EQ(d.boxTitles[i], "Регистрация") << i;
        EXPECT_EQ(focused[i + 1], refusals[i].focus) << i;
    }
    EXPECT_TRUE(d.boxesOwnedByDialog);
    EXPECT_STREQ(session.registration.login.s, "ivan.petrov-1_x");
    EXPECT_STREQ(session.registration.password.s, "secret");
    EXPECT_STREQ(session.registration.question.s, "Мой вопрос?");
    EXPECT_STREQ(session.registration.answer.s, "   ");
}

// ---------------------------------------------------------------- create room

namespace {

int showCreateRoom(HWND owner)
{
    return (int)DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_CREATE_ROOM), owner,
                                createRoomDialogProc, 0);
}

class CreateRoomTest : public ::testing::Test {
protected:
    LoopbackSession net;
    LoopbackServer& server = net.server;
    FakeHost views;
    FakeLog log;
    RecordingLines lines;

    void SetUp() override
    {
        resetSessionState(session);
        ASSERT_TRUE(net.open(&log, &lines, &views, &views, &views));
        session.loginNick.set("Вася");
        connectToServer();
        ASSERT_TRUE(server.acceptClient());
        ASSERT_EQ(server.receiveLines(2).substr(0, 5), "HELLO");
        session.welcomed = 1;
        session.globalRole.set("user");
    }
    void TearDown() override { net.close(); }
};

} // namespace

// What a name and a description become on the wire is pinned natively and end
// to end; here the refusals and the typing limit of the real controls.
TEST_F(CreateRoomTest, RefusesAnEmptyNameAndTakesAtMost24Characters)
{
    Driver d(IDC_ROOM_NAME);
    int nameTook = 0;
    d.steps = {[&](HWND dlg) { nameTook = typed(dlg, IDC_ROOM_NAME, 30); },
               setText(IDC_ROOM_NAME, ""),
               click(IDOK),
               setText(IDC_ROOM_NAME, "    "),
               click(IDOK),
               setText(IDC_ROOM_NAME, "Комната"),
               click(IDOK)};
    EXPECT_EQ(drive(d, [&] { return showCreateRoom(net.window); }), IDOK);
    EXPECT_EQ(nameTook, 24);
    ASSERT_EQ(d.boxes.size(), 2u);
    for (size_t i = 0; i < 2; i++) {
        EXPECT_EQ(d.boxes[i], "Введите название комнаты.");
        EXPECT_EQ(d.boxTitles[i], "Zumbara");
    }
}

TEST_F(CreateRoomTest, ConnectionLostMeanwhileIsReportedAndNothingSent)
{
    Driver d(IDC_ROOM_NAME);
    d.steps = {setText(IDC_ROOM_NAME, "Комната"),
               [&](HWND) { server.closePeer(); },
               waitUntil(d, [] { return connectionState(session) == Disconnected; }),
               click(IDOK)};
    EXPECT_EQ(drive(d, [&] { return showCreateRoom(net.window); }), IDCANCEL);  // closed, and not as a request that went out
    EXPECT_TRUE(d.boxes.empty());
    ASSERT_FALSE(log.lines.empty());
    EXPECT_EQ(log.lines.back().prefix + log.lines.back().text, "!! Вы не подключены. Нажмите F2.");
}

// ---------------------------------------------------------------- about

TEST(AboutDialog, EveryWayOutEndsItWithZero)
{
    std::vector<std::function<void(HWND)>> ways = {
        click(IDOK),
        [](HWND dlg) { PostMessageA(GetDlgItem(dlg, IDOK), WM_KEYDOWN, VK_RETURN, 1); },
        [](HWND dlg) { PostMessageA(GetDlgItem(dlg, IDOK), WM_KEYDOWN, VK_ESCAPE, 1); },
        [](HWND dlg) { SendMessageA(dlg, WM_CLOSE, 0, 0); },
    };
    for (size_t i = 0; i < ways.size(); i++) {
        Driver d(IDC_ABOUT_HEADER);
        std::string title;
        d.steps = {[&](HWND dlg) { title = windowText(dlg); }, ways[i]};
        int result = drive(d, [] {
            return (int)DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ABOUT), nullptr,
                                        aboutDialogProc, 0);
        });
        EXPECT_EQ(result, 0) << i;
        EXPECT_EQ(title, "О программе");
    }
}
