// The login dialog from its real resource template, driven in-process: a
// thread timer types into the fields, presses the buttons and answers the
// message boxes while the dialog's own modal loop runs. Also the GDI helpers
// of the header strips, painted into device-independent bitmaps.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "../unit/fakes.h"
#include "app/settings.h"
#include "app/win_settings.h"
#include "dialogs/win_login_dialog.h"
#include "session/connection.h"
#include "session/session_state.h"
#include "session/site.h"
#include "session/win_transport.h"
#include "shell/win_session_host.h"
#include "toolkit/palette.h"
#include "toolkit/win_drawing.h"
#include "toolkit/win_fonts.h"
#include "canvas.h"
#include "dialog_driver.h"
#include "win_support.h"

// The entry point's saveSettingsNow, here writing a temporary settings file
// through the real profile functions and counting the calls.
namespace {
WinProfileStore testStore;
int settingsSaves;
} // namespace

void saveSettingsNow()
{
    settingsSaves++;
    saveSettings(testStore);
}

namespace {

std::string storedValue(const char* key)
{
    char value[256] = "?", text[768];
    GetPrivateProfileStringA("Chat", key, "<missing>", value, sizeof value, testStore.path);
    settingFromFile(value, text, sizeof text);
    return text;
}

// ---------------------------------------------------------------- fixture

class LoginDialogTest : public ::testing::Test {
protected:
    char path[MAX_PATH] = "";

    void SetUp() override
    {
        resetSessionState(session);
        char dir[MAX_PATH];
        GetTempPathA(sizeof dir, dir);
        formatText(path, sizeof path, "%szb-login-%lu.ini", dir, (unsigned long)GetCurrentProcessId());
        DeleteFileA(path);
        testStore.path = path;
        settingsSaves = 0;

        session.settings.host.set("chat.example.net");
        session.settings.port = 4225;
        session.settings.remember = true;
        session.loginNick.set("Вася");
        session.password.set("тайна");
        session.nickColor.set("#ff8000");
    }

    void TearDown() override
    {
        DeleteFileA(path);
        logoImages = nullptr;
    }

    HWND createModeless()
    {
        return CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_LOGIN), nullptr, loginDialogProc,
                                  0);
    }
};

} // namespace

// ---------------------------------------------------------------- the dialog

TEST_F(LoginDialogTest, FieldsStartFromTheSettings)
{
    HWND dlg = createModeless();
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(windowText(dlg), "Вход в чат — аккаунт портала zumbara.example");
    EXPECT_EQ(itemText(dlg, IDC_LOGIN_SERVER), "chat.example.net");
    EXPECT_EQ(itemText(dlg, IDC_LOGIN_PORT), "4225");
    EXPECT_EQ(itemText(dlg, IDC_LOGIN_NICK), "Вася");
    EXPECT_EQ(itemText(dlg, IDC_LOGIN_PASSWORD), "тайна");
    EXPECT_EQ(IsDlgButtonChecked(dlg, IDC_LOGIN_REMEMBER), (UINT)BST_CHECKED);

    // The twelve names in palette order; the stored colour, given in lower
    // case, selects "Оранжевый".
    HWND colors = GetDlgItem(dlg, IDC_LOGIN_COLOR);
    ASSERT_EQ(SendMessageA(colors, CB_GETCOUNT, 0, 0), 12);
    EXPECT_EQ(listItemText(colors, CB_GETLBTEXTLEN, CB_GETLBTEXT, 0), "Тёмно-синий");
    EXPECT_EQ(listItemText(colors, CB_GETLBTEXTLEN, CB_GETLBTEXT, 11), "Малиновый");
    EXPECT_EQ(SendMessageA(colors, CB_GETCURSEL, 0, 0), 7);

    std::string note = itemText(dlg, IDC_LOGIN_NOTE);
    EXPECT_EQ(note.rfind("Логин и пароль — от вашего ящика на mail.zumbara.example (аккаунт", 0), 0u) << note;
    DestroyWindow(dlg);
}

TEST_F(LoginDialogTest, FieldsTakeWhatTheirKindAllows)
{
    HWND dlg = createModeless();
    ASSERT_NE(dlg, nullptr);

    // The nick takes 20 typed characters.
    HWND nick = GetDlgItem(dlg, IDC_LOGIN_NICK);
    SetWindowTextA(nick, "");
    for (int i = 0; i < 25; i++)
        SendMessageA(nick, WM_CHAR, 'a', 1);
    EXPECT_EQ(GetWindowTextLengthA(nick), 20);

    // The port takes digits only.
    HWND port = GetDlgItem(dlg, IDC_LOGIN_PORT);
    SetWindowTextA(port, "");
    for (char c : std::string("4x2-2 5"))
        SendMessageA(port, WM_CHAR, (WPARAM)(unsigned char)c, 1);
    EXPECT_EQ(itemText(dlg, IDC_LOGIN_PORT), "4225");

    // The password is masked, the colour list cannot be typed into.
    EXPECT_NE(SendMessageA(GetDlgItem(dlg, IDC_LOGIN_PASSWORD), EM_GETPASSWORDCHAR, 0, 0), 0);
    LONG_PTR comboStyle = GetWindowLongPtrA(GetDlgItem(dlg, IDC_LOGIN_COLOR), GWL_STYLE);
    EXPECT_EQ(comboStyle & 3, (LONG_PTR)CBS_DROPDOWNLIST);

    // The check box toggles itself.
    SendMessageA(GetDlgItem(dlg, IDC_LOGIN_REMEMBER), BM_CLICK, 0, 0);
    EXPECT_EQ(IsDlgButtonChecked(dlg, IDC_LOGIN_REMEMBER), (UINT)BST_UNCHECKED);
    DestroyWindow(dlg);
}

TEST_F(LoginDialogTest, FocusStartsInTheServerField)
{
    Driver d(IDC_LOGIN_HEADER);
    HWND focus = nullptr, server = nullptr;
    d.steps = {[&](HWND dlg) {
        focus = GetFocus();
        server = GetDlgItem(dlg, IDC_LOGIN_SERVER);
    }, click(IDCANCEL)};
    EXPECT_EQ(drive(d, [] { return showLoginDialog(nullptr); }), IDCANCEL);
    EXPECT_EQ(focus, server);
}

TEST_F(LoginDialogTest, NickIsTrimmedAndTheLoginSaved)
{
    Driver d(IDC_LOGIN_HEADER);
    d.steps = {setText(IDC_LOGIN_NICK, "  Ivan  "), setText(IDC_LOGIN_PORT, "4226"), click(IDOK)};
    EXPECT_EQ(drive(d, [] { return showLoginDialog(nullptr); }), IDOK);
    EXPECT_TRUE(d.boxes.empty());
    EXPECT_EQ(std::string(session.loginNick.s), "Ivan");
    EXPECT_EQ(session.settings.port, 4226);
    EXPECT_EQ(std::string(session.password.s), "тайна");  // the typed password is kept as it is
    EXPECT_EQ(settingsSaves, 1);
    EXPECT_EQ(storedValue("Nick"), "Ivan");
    EXPECT_EQ(storedValue("Port"), "4226");
    EXPECT_EQ(storedValue("Server"), "chat.example.net");
    EXPECT_EQ(storedValue("Pass"), "тайна");
    EXPECT_EQ(storedValue("Color"), "#FF8000");
}

TEST_F(LoginDialogTest, EnterInAFieldLogsIn)
{
    Driver d(IDC_LOGIN_HEADER);
    d.steps = {[](HWND dlg) { PostMessageA(GetDlgItem(dlg, IDC_LOGIN_NICK), WM_KEYDOWN, VK_RETURN, 1); }};
    EXPECT_EQ(drive(d, [] { return showLoginDialog(nullptr); }), IDOK);
    EXPECT_EQ(settingsSaves, 1);
}

TEST_F(LoginDialogTest, PasswordIsNotTrimmed)
{
    Driver d(IDC_LOGIN_HEADER);
    d.steps = {setText(IDC_LOGIN_PASSWORD, " pw "), click(IDOK)};
    EXPECT_EQ(drive(d, [] { return showLoginDialog(nullptr); }), IDOK);
    EXPECT_EQ(std::string(session.password.s), " pw ");
}

TEST_F(LoginDialogTest, PortZeroIsRefusedAndTheDialogStays)
{
    Driver d(IDC_LOGIN_HEADER);
    bool openAfterBox = false;
    d.steps = {setText(IDC_LOGIN_PORT, "0"), click(IDOK), [&](HWND dlg) { openAfterBox = IsWindow(dlg) != 0; },
               click(IDCANCEL)};
    EXPECT_EQ(drive(d, [] { return showLoginDialog(nullptr); }), IDCANCEL);
    ASSERT_EQ(d.boxes.size(), 1u);
    EXPECT_EQ(d.boxes[0], "Укажите сервер и порт.");
    EXPECT_TRUE(d.boxesOwnedByDialog);
    EXPECT_TRUE(openAfterBox);
    EXPECT_EQ(settingsSaves, 0);
    EXPECT_EQ(session.settings.port, 0);  // changed in memory all the same
    EXPECT_EQ(GetFileAttributesA(path), INVALID_FILE_ATTRIBUTES);
}

TEST_F(LoginDialogTest, EmptyServerIsRefused)
{
    Driver d(IDC_LOGIN_HEADER);
    d.steps = {setText(IDC_LOGIN_SERVER, ""), click(IDOK), click(IDCANCEL)};
    EXPECT_EQ(drive(d, [] { return showLoginDialog(nullptr); }), IDCANCEL);
    ASSERT_EQ(d.boxes.size(), 1u);
    EXPECT_EQ(d.boxes[0], "Укажите сервер и порт.");
    EXPECT_EQ(settingsSaves, 0);
}

TEST_F(LoginDialogTest, EmptyNickIsReportedBeforeAnEmptyServer)
{
    Driver d(IDC_LOGIN_HEADER);
    d.steps = {setText(IDC_LOGIN_NICK, "   "), setText(IDC_LOGIN_SERVER, ""), click(IDOK), click(IDCANCEL)};
    EXPECT_EQ(drive(d, [] { return showLoginDialog(nullptr); }), IDCANCEL);
    ASSERT_EQ(d.boxes.size(), 1u);
    EXPECT_EQ(d.boxes[0], "Введите ник.");
    EXPECT_EQ(settingsSaves, 0);
    EXPECT_TRUE(session.settings.host.empty());
    EXPECT_TRUE(session.loginNick.empty());
}

TEST_F(LoginDialogTest, GuestLoginDropsTheTypedPasswordAndTheStoredOne)
{
    // A password remembered from before is in the file.
    saveSettingsNow();
    ASSERT_EQ(storedValue("Pass"), "тайна");
    settingsSaves = 0;

    Driver d(IDC_LOGIN_HEADER);
    d.steps = {setText(IDC_LOGIN_PASSWORD, "typed"), click(IDC_LOGIN_GUEST)};
    EXPECT_EQ(drive(d, [] { return showLoginDialog(nullptr); }), IDOK);
    EXPECT_TRUE(session.password.empty());
    EXPECT_TRUE(session.settings.remember);
    EXPECT_EQ(settingsSaves, 1);
    EXPECT_EQ(storedValue("Remember"), "1");
    EXPECT_EQ(storedValue("Pass"), "");
}

TEST_F(LoginDialogTest, UntickingRememberForgetsTheStoredPassword)
{
    Driver d(IDC_LOGIN_HEADER);
    d.steps = {click(IDC_LOGIN_REMEMBER), click(IDOK)};
    EXPECT_EQ(drive(d, [] { return showLoginDialog(nullptr); }), IDOK);
    EXPECT_FALSE(session.settings.remember);
    EXPECT_EQ(std::string(session.password.s), "тайна");  // still used for this login
    EXPECT_EQ(storedValue("Remember"), "0");
    EXPECT_EQ(storedValue("Pass"), "");
}

TEST_F(LoginDialogTest, ColourOutsideThePaletteSelectsTheFirstEntry)
{
    session.nickColor.set("#123456");
    Driver d(IDC_LOGIN_HEADER);
    LRESULT selected = -2;
    d.steps = {[&](HWND dlg) { selected = SendDlgItemMessageA(dlg, IDC_LOGIN_COLOR, CB_GETCURSEL, 0, 0); },
               click(IDOK)};
    EXPECT_EQ(drive(d, [] { return showLoginDialog(nullptr); }), IDOK);
    EXPECT_EQ(selected, 0);
    EXPECT_EQ(std::string(session.nickColor.s), "#000080");
    EXPECT_EQ(storedValue("Color"), "#000080");
}

TEST_F(LoginDialogTest, ChosenColourIsStored)
{
    Driver d(IDC_LOGIN_HEADER);
    d.steps = {[](HWND dlg) { SendDlgItemMessageA(dlg, IDC_LOGIN_COLOR, CB_SETCURSEL, 11, 0); }, click(IDOK)};
    EXPECT_EQ(drive(d, [] { return showLoginDialog(nullptr); }), IDOK);
    EXPECT_EQ(std::string(session.nickColor.s), "#C00060");
}

TEST_F(LoginDialogTest, CancelRegistrationAndCloseBoxEndTheDialog)
{
    Driver cancel(IDC_LOGIN_HEADER);
    cancel.steps = {setText(IDC_LOGIN_NICK, "Другой"), click(IDCANCEL)};
    EXPECT_EQ(drive(cancel, [] { return showLoginDialog(nullptr); }), IDCANCEL);
    EXPECT_EQ(std::string(session.loginNick.s), "Вася");  // cancel reads nothing

    Driver reg(IDC_LOGIN_HEADER);
    reg.steps = {click(IDC_LOGIN_REGISTER)};
    EXPECT_EQ(drive(reg, [] { return showLoginDialog(nullptr); }), IDC_LOGIN_REGISTER);

    Driver closeBox(IDC_LOGIN_HEADER);
    closeBox.steps = {[](HWND dlg) { SendMessageA(dlg, WM_CLOSE, 0, 0); }};
    EXPECT_EQ(drive(closeBox, [] { return showLoginDialog(nullptr); }), IDCANCEL);

    // Keys go through the dialog's own loop: Escape cancels.
    Driver escape(IDC_LOGIN_HEADER);
    escape.steps = {[](HWND dlg) { PostMessageA(GetDlgItem(dlg, IDC_LOGIN_SERVER), WM_KEYDOWN, VK_ESCAPE, 1); }};
    EXPECT_EQ(drive(escape, [] { return showLoginDialog(nullptr); }), IDCANCEL);
    EXPECT_EQ(settingsSaves, 0);
}

// ---------------------------------------------------------------- the flow

namespace {

int registrationCalls;
int registrationAnswer;

int fakeRegistration(HWND)
{
    registrationCalls++;
    if (registrationAnswer == IDOK) {
        session.registration.login.set("newbie");
        session.registration.password.set("secret2");
        session.registration.question.set("Город детства");
        session.registration.answer.set("Тверь");
    }
    return registrationAnswer;
}

class LoginFlowTest : public LoginDialogTest {
protected:
    LoopbackSession net;
    LoopbackServer& server = net.server;
    HWND& window = net.window;
    FakeHost views;
    FakeLog log;
    RecordingLines lines;

    void SetUp() override
    {
        LoginDialogTest::SetUp();
        ASSERT_TRUE(net.open(&log, &lines, &views, &views, &views));
        net.host.writeSettings = saveSettingsNow;  // as the entry point sets it
        registrationCalls = 0;
        registrationAnswer = IDCANCEL;
        showRegistrationDialog = fakeRegistration;
    }

    void TearDown() override
    {
        showRegistrationDialog = nullptr;
        net.close();
        LoginDialogTest::TearDown();
    }
};

} // namespace

TEST_F(LoginFlowTest, LoginConnectsWithoutARegistration)
{
    // Left over from a registration that never went out.
    session.registration.login.set("stale");
    session.registrationPending = 1;
    Driver d(IDC_LOGIN_HEADER);
    d.steps = {setText(IDC_LOGIN_NICK, "Ivan"), click(IDOK)};
    drive(d, [&] {
        runLoginFlow(window);
        return 0;
    });
    EXPECT_EQ(d.dialogsShown, 1);
    ASSERT_TRUE(server.acceptClient());
    EXPECT_EQ(server.receiveLines(2), "HELLO Zumbara\t1.0\nLOGIN Ivan\t\xD1\x82\xD0\xB0\xD0\xB9\xD0\xBD\xD0\xB0\t#FF8000\n");
    EXPECT_EQ(registrationCalls, 0);
}

TEST_F(LoginFlowTest, AcceptedRegistrationConnectsAsTheNewAccount)
{
    registrationAnswer = IDOK;
    session.settings.remember = false;
    Driver d(IDC_LOGIN_HEADER);
    d.steps = {click(IDC_LOGIN_REGISTER)};
    drive(d, [&] {
        runLoginFlow(window);
        return 0;
    });
    EXPECT_EQ(d.dialogsShown, 1);  // not shown again
    EXPECT_EQ(registrationCalls, 1);
    EXPECT_EQ(std::string(session.loginNick.s), "newbie");
    EXPECT_TRUE(session.settings.remember);
    EXPECT_EQ(settingsSaves, 1);
    EXPECT_EQ(storedValue("Nick"), "newbie");
    EXPECT_EQ(storedValue("Remember"), "1");
    EXPECT_EQ(storedValue("Pass"), "secret2");
    ASSERT_TRUE(server.acceptClient());
    EXPECT_EQ(server.receiveLines(3), "HELLO Zumbara\t1.0\n"
                                      "REG newbie\tsecret2\t\xD0\x93\xD0\xBE\xD1\x80\xD0\xBE\xD0\xB4 "
                                      "\xD0\xB4\xD0\xB5\xD1\x82\xD1\x81\xD1\x82\xD0\xB2\xD0\xB0\t"
                                      "\xD0\xA2\xD0\xB2\xD0\xB5\xD1\x80\xD1\x8C\n"
                                      "LOGIN newbie\tsecret2\t#ff8000\n");  // the colour as stored
}

TEST_F(LoginFlowTest, CancelledRegistrationReturnsToTheLoginDialog)
{
    registrationAnswer = IDCANCEL;
    Driver d(IDC_LOGIN_HEADER);
    d.steps = {click(IDC_LOGIN_REGISTER), click(IDCANCEL)};
    drive(d, [&] {
        runLoginFlow(window);
        return 0;
    });
    EXPECT_EQ(registrationCalls, 1);
    EXPECT_EQ(d.dialogsShown, 2);
    EXPECT_EQ(session.socket, kNoSocket);  // no connect
    EXPECT_EQ(settingsSaves, 0);
}

TEST_F(LoginFlowTest, MissingRegistrationDialogCountsAsCancelled)
{
    showRegistrationDialog = nullptr;
    Driver d(IDC_LOGIN_HEADER);
    d.steps = {click(IDC_LOGIN_REGISTER), setText(IDC_LOGIN_NICK, "Гость"), click(IDC_LOGIN_GUEST)};
    drive(d, [&] {
        runLoginFlow(window);
        return 0;
    });
    EXPECT_EQ(d.dialogsShown, 2);
    ASSERT_TRUE(server.acceptClient());
    EXPECT_EQ(server.receiveLines(2), "HELLO Zumbara\t1.0\nLOGIN \xD0\x93\xD0\xBE\xD1\x81\xD1\x82\xD1\x8C\t\t#FF8000\n");
}

TEST_F(LoginFlowTest, CancelKeepsAnOpenConnection)
{
    connectToServer();
    ASSERT_TRUE(server.acceptClient());
    server.receiveLines(2);
    ASSERT_EQ(connectionState(session), AwaitingWelcome);
    Driver d(IDC_LOGIN_HEADER);
    d.steps = {click(IDCANCEL)};
    drive(d, [&] {
        runLoginFlow(window);
        return 0;
    });
    EXPECT_EQ(connectionState(session), AwaitingWelcome);
}

// ---------------------------------------------------------------- drawing

namespace {

struct Box {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    void add(int x, int y)
    {
        left = x < left ? x : left;
        top = y < top ? y : top;
        right = x > right ? x : right;
        bottom = y > bottom ? y : bottom;
    }
};

HFONT plainFont(int height)
{
    return CreateFontA(-height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, VARIABLE_PITCH | FF_SWISS, "Tahoma");
}

const COLORREF kMagenta = RGB(0xFF, 0x00, 0xFF);

} // namespace

TEST(Drawing, VerticalGradientRowsTruncateTowardZero)
{
    Canvas c(4, 65, kMagenta);
    RECT r = {0, 0, 4, 65};
    fillGradientV(c.dc, r, RGB(0xFF, 0xFF, 0xFF), RGB(0xDE, 0xE4, 0xEE));
    EXPECT_EQ(c.at(0, 0), RGB(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(c.at(3, 0), RGB(0xFF, 0xFF, 0xFF));
    // 255 + (222 - 255) * 64 / 65 = 255 - 32: the last row stops short.
    EXPECT_EQ(c.at(0, 64), RGB(0xDF, 0xE5, 0xEF));
    EXPECT_EQ(c.at(2, 32), RGB(255 - 33 * 32 / 65, 255 - 27 * 32 / 65, 255 - 17 * 32 / 65));
}

TEST(Drawing, HorizontalGradientGoesByColumns)
{
    Canvas c(6, 3, kMagenta);
    RECT r = {1, 0, 5, 3};
    fillGradient(c.dc, r, RGB(0, 0, 0), RGB(255, 0, 8), false);
    EXPECT_EQ(c.at(0, 1), kMagenta);
    EXPECT_EQ(c.at(1, 1), RGB(0, 0, 0));
    EXPECT_EQ(c.at(2, 2), RGB(63, 0, 2));
    EXPECT_EQ(c.at(3, 0), RGB(127, 0, 4));
    EXPECT_EQ(c.at(4, 1), RGB(191, 0, 6));
    EXPECT_EQ(c.at(5, 1), kMagenta);
}

TEST(Drawing, GradientOverAnEmptyRectangleDrawsNothing)
{
    Canvas c(8, 8, kMagenta);
    RECT flat = {2, 3, 6, 3};
    RECT inverted = {2, 6, 6, 1};
    fillGradientV(c.dc, flat, 0, 0);
    fillGradientV(c.dc, inverted, 0, 0);
    RECT narrow = {6, 0, 2, 8};
    fillGradient(c.dc, narrow, 0, 0, false);
    for (int y = 0; y < 8; y++)
        for (int x = 0; x < 8; x++)
            ASSERT_EQ(c.at(x, y), kMagenta) << x << "," << y;
}

TEST(Drawing, ScopedSelectPutsThePreviousObjectBack)
{
    Canvas c(4, 4, 0);
    HGDIOBJ before = GetCurrentObject(c.dc, OBJ_BRUSH);
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    {
        ScopedSelect selected(c.dc, brush);
        EXPECT_EQ(GetCurrentObject(c.dc, OBJ_BRUSH), (HGDIOBJ)brush);
        {
            ScopedSelect nothing(c.dc, nullptr);  // selects nothing, restores nothing
            EXPECT_EQ(GetCurrentObject(c.dc, OBJ_BRUSH), (HGDIOBJ)brush);
        }
        EXPECT_EQ(GetCurrentObject(c.dc, OBJ_BRUSH), (HGDIOBJ)brush);
    }
    EXPECT_EQ(GetCurrentObject(c.dc, OBJ_BRUSH), before);
    DeleteObject(brush);
}

TEST(Drawing, GdiObjectDeletesWhatItHolds)
{
    HBRUSH brush = CreateSolidBrush(RGB(9, 8, 7));
    ASSERT_EQ(GetObjectType(brush), (DWORD)OBJ_BRUSH);
    {
        GdiObject<HBRUSH> held(brush);
        EXPECT_EQ(held.get(), brush);
    }
    EXPECT_EQ(GetObjectType(brush), 0u);
}

namespace {

// Draws red text with a blue shadow through draw and checks that the shadow
// shows only one pixel right of and below the text.
template <class Draw>
void expectShadowBelowRight(Draw draw)
{
    Canvas c(60, 40, RGB(255, 255, 255));
    HFONT font = plainFont(20);
    const COLORREF red = RGB(255, 0, 0), blue = RGB(0, 0, 255);
    {
        ScopedSelect selected(c.dc, font);
        draw(c.dc, red, blue);
    }
    Box redBox, all;
    bool sawBlue = false;
    for (int y = 0; y < c.h; y++)
        for (int x = 0; x < c.w; x++) {
            COLORREF p = c.at(x, y);
            if (p == RGB(255, 255, 255))
                continue;
            ASSERT_TRUE(p == red || p == blue) << std::hex << p;
            all.add(x, y);
            if (p == red)
                redBox.add(x, y);
            else
                sawBlue = true;
        }
    ASSERT_TRUE(sawBlue);
    ASSERT_GE(redBox.right, 0);
    EXPECT_EQ(all.left, redBox.left);
    EXPECT_EQ(all.top, redBox.top);
    EXPECT_EQ(all.right, redBox.right + 1);
    EXPECT_EQ(all.bottom, redBox.bottom + 1);
    EXPECT_EQ(GetBkMode(c.dc), TRANSPARENT);
    DeleteObject(font);
}

} // namespace

TEST(Drawing, ShadowLiesOnePixelRightAndDown)
{
    expectShadowBelowRight([](HDC dc, COLORREF color, COLORREF shadow) {
        drawShadowText(dc, 10, 8, "HW", color, shadow);
    });
}

TEST(Drawing, ShadowInARectangleLiesOnePixelRightAndDown)
{
    expectShadowBelowRight([](HDC dc, COLORREF color, COLORREF shadow) {
        RECT r = {10, 8, 58, 38};
        drawShadowTextRect(dc, "HW", r, DT_SINGLELINE | DT_NOPREFIX, color, shadow);
    });
}

TEST(Drawing, WordmarkPutsTheSuffixAfterTheBrandWord)
{
    Canvas c(300, 40, RGB(255, 255, 255));
    HFONT font = plainFont(22);
    HGDIOBJ before = GetCurrentObject(c.dc, OBJ_FONT);
    int width = drawWordmark(c.dc, 5, 4, font, ".example");
    EXPECT_EQ(GetCurrentObject(c.dc, OBJ_FONT), before);

    SIZE brand = {0, 0};
    {
        ScopedSelect selected(c.dc, font);
        GetTextExtentPoint32A(c.dc, "Zumbara", 7, &brand);
    }
    ASSERT_GT(brand.cx, 0);
    EXPECT_GT(width, (int)brand.cx);
    Box blue, orange, any;
    for (int y = 0; y < c.h; y++)
        for (int x = 0; x < c.w; x++) {
            COLORREF p = c.at(x, y);
            if (p == RGB(255, 255, 255))
                continue;
            any.add(x, y);
            if (p == kBrandBlue)
                blue.add(x, y);
            if (p == kBrandOrange)
                orange.add(x, y);
        }
    ASSERT_GE(blue.right, 0);
    ASSERT_GE(orange.right, 0);
    EXPECT_LT(blue.right, 5 + (int)brand.cx);
    EXPECT_GE(orange.left, 5 + (int)brand.cx);
    EXPECT_LE(any.right, 5 + width + 1);  // the width covers both, shadow aside
    EXPECT_TRUE(c.anyNear(0, 0, c.w, c.h, kBrandShadow, 0));
    DeleteObject(font);
}

TEST(Drawing, WordmarkWithoutAFontUsesTheStockGuiFont)
{
    Canvas c(200, 30, RGB(255, 255, 255));
    int width = drawWordmark(c.dc, 0, 0, nullptr, "!");
    SIZE a = {0, 0}, b = {0, 0};
    {
        ScopedSelect selected(c.dc, GetStockObject(DEFAULT_GUI_FONT));
        GetTextExtentPoint32A(c.dc, "Zumbara", 7, &a);
        GetTextExtentPoint32A(c.dc, "!", 1, &b);
    }
    EXPECT_EQ(width, (int)(a.cx + b.cx));
    EXPECT_TRUE(c.anyNear(0, 0, c.w, c.h, kBrandBlue, 40));
}

// ---------------------------------------------------------------- header

namespace {

// An image list of one 48 by 48 image: red, with a magenta (transparent)
// square of 4 pixels in its top left corner.
HIMAGELIST makeTestLogo()
{
    HIMAGELIST list = ImageList_Create(48, 48, ILC_COLOR24 | ILC_MASK, 1, 0);
    Canvas pic(48, 48, RGB(255, 0, 0));
    RECT corner = {0, 0, 4, 4};
    fillSolid(pic.dc, corner, kMagenta);
    SelectObject(pic.dc, pic.previous);  // the bitmap must not be selected when added
    ImageList_AddMasked(list, pic.bitmap, kMagenta);
    pic.previous = SelectObject(pic.dc, pic.bitmap);
    return list;
}

} // namespace

TEST_F(LoginDialogTest, HeaderPaintsThroughTheDialog)
{
    createFonts();
    HIMAGELIST logo = makeTestLogo();
    ASSERT_NE(logo, nullptr);
    logoImages = logo;

    HWND dlg = createModeless();
    ASSERT_NE(dlg, nullptr);
    HWND header = GetDlgItem(dlg, IDC_LOGIN_HEADER);
    RECT rc;
    GetClientRect(header, &rc);
    int w = rc.right, h = rc.bottom;
    ASSERT_GE(w, 300);  // 240 dialog units
    ASSERT_GE(h, 56);   // 40 dialog units: room for the tagline
    Canvas c(w, h, kMagenta);

    HFONT stockFont = (HFONT)GetStockObject(ANSI_FIXED_FONT);
    SelectObject(c.dc, stockFont);
    SetTextColor(c.dc, RGB(0x12, 0x34, 0x56));
    SetBkMode(c.dc, OPAQUE);

    DRAWITEMSTRUCT di = {};
    di.CtlType = ODT_STATIC;
    di.CtlID = IDC_LOGIN_HEADER;
    di.itemAction = ODA_DRAWENTIRE;
    di.hwndItem = header;
    di.hDC = c.dc;
    di.rcItem = rc;
    SendMessageA(dlg, WM_DRAWITEM, IDC_LOGIN_HEADER, (LPARAM)&di);

    // The DC is left as it was given.
    EXPECT_EQ(GetCurrentObject(c.dc, OBJ_FONT), (HGDIOBJ)stockFont);
    EXPECT_EQ(GetTextColor(c.dc), RGB(0x12, 0x34, 0x56));
    EXPECT_EQ(GetBkMode(c.dc), OPAQUE);

    for (int x = 0; x < w; x++) {
        ASSERT_EQ(c.at(x, 0), RGB(0xFF, 0xFF, 0xFF)) << x;
        ASSERT_EQ(c.at(x, h - 1), kBrandOrange) << x;
        ASSERT_EQ(c.at(x, h - 2), kBrandOrange) << x;
    }
    EXPECT_EQ(c.at(w - 1, h - 3), gradientColor(kHeaderTop, kHeaderBottom, h - 3, h));
    EXPECT_TRUE(c.isNear(w - 1, h - 3, kHeaderBottom, 3));

    // The logo at (8, (h - 48) / 2), its magenta corner left out.
    int ly = (h - 48) / 2;
    EXPECT_EQ(c.at(8 + 24, ly + 24), RGB(255, 0, 0));
    EXPECT_EQ(c.at(8 + 47, ly + 47), RGB(255, 0, 0));
    EXPECT_EQ(c.at(8 + 4, ly), RGB(255, 0, 0));
    EXPECT_NE(c.at(7, ly + 24), RGB(255, 0, 0));
    EXPECT_NE(c.at(8 + 48, ly + 24), RGB(255, 0, 0));
    EXPECT_EQ(c.at(8, ly), gradientColor(kHeaderTop, kHeaderBottom, ly, h));

    // Wordmark from (64, 8): the brand blue, the orange suffix, the shadow.
    EXPECT_TRUE(c.anyNear(64, 8, w, 40, kBrandBlue, 16));
    EXPECT_TRUE(c.anyNear(64, 8, w, 40, kBrandOrange, 16));
    EXPECT_TRUE(c.anyNear(64, 8, w, 40, kBrandShadow, 8));
    EXPECT_FALSE(c.anyNear(0, 0, 64, h - 2, kBrandBlue, 16));
    // Tagline from (66, 40) in grey.
    EXPECT_TRUE(c.anyNear(66, 40, w, 54, kCaptionGrey, 24));
    EXPECT_FALSE(c.anyNear(0, 40, 66, 54, kCaptionGrey, 24));

    DestroyWindow(dlg);
    ImageList_Destroy(logo);
}

TEST_F(LoginDialogTest, HeaderWithoutALogoIsOnlyTheGradient)
{
    Canvas c(360, 65, kMagenta);
    DRAWITEMSTRUCT di = {};
    di.hDC = c.dc;
    di.rcItem = {0, 0, 360, 65};
    drawDialogHeader(&di, portalDomainSuffix(), nullptr, nullptr, nullptr, nullptr);
    for (int y = 0; y < 63; y += 7)
        for (int x = 0; x < 60; x++)
            ASSERT_EQ(c.at(x, y), gradientColor(kHeaderTop, kHeaderBottom, y, 65)) << x << "," << y;
    EXPECT_STREQ(portalDomainSuffix(), ".example");
}

TEST_F(LoginDialogTest, LogoIsCentredVertically)
{
    HIMAGELIST logo = makeTestLogo();
    Canvas c(200, 101, kMagenta);
    DRAWITEMSTRUCT di = {};
    di.hDC = c.dc;
    di.rcItem = {0, 0, 200, 101};
    drawDialogHeader(&di, "", nullptr, logo, nullptr, nullptr);
    // (101 - 48) / 2 = 26: rows 26 to 73 hold the picture.
    EXPECT_NE(c.at(30, 25), RGB(255, 0, 0));
    EXPECT_EQ(c.at(30, 26), RGB(255, 0, 0));
    EXPECT_EQ(c.at(30, 73), RGB(255, 0, 0));
    EXPECT_NE(c.at(30, 74), RGB(255, 0, 0));
    EXPECT_EQ(c.at(8, 26), gradientColor(kHeaderTop, kHeaderBottom, 26, 101));  // the transparent corner
    ImageList_Destroy(logo);
}
