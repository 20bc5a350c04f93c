// The real main window created in-process: its controls, their places after
// a resize, the menu's check marks and the owner-drawn buttons' pixels.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "shell/control_ids.h"
#include "shell/layout.h"
#include "shell/main_commands.h"
#include "shell/win_main_window.h"
#include "toolkit/win_text.h"
#include "toolkit/win_visual_styles.h"
#include "main_window_fixture.h"

TEST_F(MainWindowTest, ChildrenInCreationOrder)
{
    const int want[25] = {IdToolbar, IdHeader,     IdBanner,  IdTopic,    IdLog,      IdPeopleHeader, IdUserList,
                          IdRoomsHeader, IdRoomBox, IdCreateRoomButton, IdPrivate, IdIgnore, -1, IdStatusBox, -1,
                          IdColorBox, IdBottomPanel, IdNickLabel, IdHint, IdInput, IdSend, IdClock, CmdClearLog,
                          CmdDisconnect, IdStatusBar};
    std::vector<int> got;
    for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        got.push_back((int)(short)GetDlgCtrlID(c));
    ASSERT_EQ(got.size(), 25u);
    for (int i = 0; i < 25; i++)
        EXPECT_EQ(got[i], want[i]) << "child " << i;

    char cls[64];
    GetClassNameA(GetDlgItem(window, IdLog), cls, sizeof cls);
    EXPECT_EQ(lstrcmpiA(cls, "RICHEDIT50W"), 0);  // msftedit's, on every Windows NT that has it
    EXPECT_EQ(itemText(window, IdHint),
              "Enter — послать.  Щелчок по нику (в списке или в логе) — обращение, двойной — приват.  /help — команды");
    EXPECT_EQ(SendDlgItemMessageA(window, IdInput, EM_GETLIMITTEXT, 0, 0), 1000);
    EXPECT_EQ(SendDlgItemMessageA(window, IdStatusBox, CB_GETCOUNT, 0, 0), 6);
    EXPECT_EQ(SendDlgItemMessageA(window, IdColorBox, CB_GETCOUNT, 0, 0), 12);
    EXPECT_EQ(SendDlgItemMessageA(window, IdToolbar, TB_BUTTONCOUNT, 0, 0), 14);
    int parts[5];
    EXPECT_EQ(SendDlgItemMessageA(window, IdStatusBar, SB_GETPARTS, 5, (LPARAM)parts), 5);
    EXPECT_EQ(parts[0], 240);
    EXPECT_EQ(parts[3], 560);
}

TEST_F(MainWindowTest, ControlsFollowTheLayoutAfterAResize)
{
    for (int size : {0, 1}) {
        SetWindowPos(window, nullptr, 0, 0, size ? 1000 : 700, size ? 700 : 520, SWP_NOZORDER | SWP_NOMOVE);
        pumpFor(100);
        RECT client;
        GetClientRect(window, &client);
        RECT tb, sb;
        GetWindowRect(GetDlgItem(window, IdToolbar), &tb);
        GetWindowRect(GetDlgItem(window, IdStatusBar), &sb);
        LayoutRect r[LayoutItemCount];
        layoutMainWindow(client.right, client.bottom, tb.bottom - tb.top, sb.bottom - sb.top, r);
        expectAt(IdLog, r[LayoutLog]);
        expectAt(IdUserList, r[LayoutUserList]);
        expectAt(IdInput, r[LayoutInput]);
        expectAt(IdCreateRoomButton, r[LayoutCreateRoom]);
        expectAt(IdHint, r[LayoutHint]);
        expectAt(CmdDisconnect, r[LayoutExit]);
        expectAt(IdColorBox, r[LayoutColorBox]);
    }
    MINMAXINFO mm = {};
    SendMessageA(window, WM_GETMINMAXINFO, 0, (LPARAM)&mm);
    EXPECT_EQ(mm.ptMinTrackSize.x, 640);
    EXPECT_EQ(mm.ptMinTrackSize.y, 480);
}

TEST_F(MainWindowTest, MenuChecksFollowTheSettings)
{
    session.settings.sound = true;
    session.settings.timestamps = false;
    updateMenuChecks();
    HMENU menu = GetMenu(window);
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(GetMenuState(menu, CmdSound, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_FALSE(GetMenuState(menu, CmdTimestamps, MF_BYCOMMAND) & MF_CHECKED);
    SendMessageA(window, WM_COMMAND, CmdSound, 0);
    EXPECT_FALSE(session.settings.sound);
    EXPECT_FALSE(GetMenuState(menu, CmdSound, MF_BYCOMMAND) & MF_CHECKED);
    SendMessageA(window, WM_COMMAND, CmdTimestamps, 0);
    EXPECT_TRUE(GetMenuState(menu, CmdTimestamps, MF_BYCOMMAND) & MF_CHECKED);
    wchar_t text[64];
    GetMenuStringW(menu, CmdConnect, text, 64, MF_BYCOMMAND);
    EXPECT_EQ(utf8Of(text), "&Подключиться...\tF2");
}

TEST_F(MainWindowTest, HintLineColours)
{
    HWND hint = GetDlgItem(window, IdHint);
    HDC dc = GetDC(hint);
    LRESULT brush = SendMessageA(window, WM_CTLCOLORSTATIC, (WPARAM)dc, (LPARAM)hint);
    EXPECT_EQ(GetTextColor(dc), RGB(0x5A, 0x5A, 0x6E));
    EXPECT_EQ(GetBkColor(dc), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ((HBRUSH)brush, GetSysColorBrush(COLOR_BTNFACE));
    ReleaseDC(hint, dc);
}

TEST(OwnerButton, ImageSitsCentredAndMovesWhilePressed)
{
    // A 16 x 16 image of one colour, so its corner is easy to find.
    const COLORREF mark = RGB(10, 200, 30);
    HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 1, 0);
    HDC screen = GetDC(nullptr);
    HBITMAP img = CreateCompatibleBitmap(screen, 16, 16);
    HDC mem = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(mem, img);
    RECT all = {0, 0, 16, 16};
    HBRUSH b = CreateSolidBrush(mark);
    FillRect(mem, &all, b);
    DeleteObject(b);
    SelectObject(mem, old);
    ImageList_AddMasked(list, img, RGB(255, 0, 255));
    DeleteObject(img);

    HBITMAP canvas = CreateCompatibleBitmap(screen, 26, 23);
    old = SelectObject(mem, canvas);
    for (int pressed = 0; pressed < 2; pressed++) {
        DRAWITEMSTRUCT d = {};
        d.CtlType = ODT_BUTTON;
        d.CtlID = IdCreateRoomButton;
        d.hDC = mem;
        d.rcItem = {0, 0, 26, 23};
        d.itemState = pressed ? ODS_SELECTED : 0;
        drawOwnerButton(&d, list, 0, "", nullptr);
        // Only the classic look moves the face while pressed.
        int at = 3 + (visualStylesActive() ? 0 : pressed);
        EXPECT_EQ(GetPixel(mem, at, at), mark) << "pressed " << pressed;
        EXPECT_EQ(GetPixel(mem, at + 15, at + 15), mark);
        EXPECT_NE(GetPixel(mem, at - 1, at - 1), mark);
        EXPECT_NE(GetPixel(mem, at + 16, at + 16), mark);
    }
    SelectObject(mem, old);
    DeleteObject(canvas);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    ImageList_Destroy(list);
}
