#include "shell/win_main_window.h"

#include <richedit.h>
#include <shellapi.h>
#include <string.h>

#include "admin/win_admin_panel.h"
#include "banners/win_banners.h"
#include "base/codepage.h"
#include "dialogs/win_login_dialog.h"
#include "input/input_actions.h"
#include "input/input_history.h"
#include "input/win_input_keys.h"
#include "journal/journal.h"
#include "log/win_chat_log.h"
#include "log/win_log_clicks.h"
#include "log/win_log_find.h"
#include "people/win_people_list.h"
#include "session/commands.h"
#include "session/connection.h"
#include "session/reconnect.h"
#include "session/session_state.h"
#include "shell/control_ids.h"
#include "shell/layout.h"
#include "shell/main_commands.h"
#include "shell/win_background_calls.h"
#include "shell/win_status_display.h"
#include "toolkit/win_dpi.h"
#include "toolkit/win_drawing.h"
#include "toolkit/win_fonts.h"
#include "toolkit/win_text.h"

const char kMainWindowClass[] = "ZumbaraMain";
MainWindow mainWnd;

void (*showCreateRoomDialogEntry)(HWND owner);
void (*showAdminPanelEntry)(HWND owner) = openAdminPanel;

void openAdminPanel(HWND owner) { showAdminPanel(owner, mainWnd.userList, mainWnd.topic); }
void (*showAboutDialogEntry)(HWND owner);

namespace {

const char kHintText[] =
    "Enter — послать.  Щелчок по нику (в списке или в логе) — обращение, двойной — приват.  /help — команды";

const COLORREF kHintColor = RGB(0x5A, 0x5A, 0x6E);

HWND makeChild(const char* cls, const char* text, DWORD style, DWORD exStyle, int id, HFONT font)
{
    HWND w = createWindow(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10, mainWnd.hwnd,
                          (HMENU)(INT_PTR)id, (HINSTANCE)GetWindowLongPtrA(mainWnd.hwnd, GWLP_HINSTANCE));
    if (w && font)
        SendMessageA(w, WM_SETFONT, (WPARAM)font, FALSE);
    return w;
}

void createToolbar()
{
    HWND tb = makeChild(TOOLBARCLASSNAMEA, "", TBSTYLE_LIST | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_TOP,
                        0, IdToolbar, nullptr);
    mainWnd.toolbar = tb;
    if (!tb)
        return;
    SetWindowPos(tb, nullptr, 0, 0, 0, 0, SWP_NOZORDER | SWP_NOMOVE);
    SendMessageA(tb, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(tb, TB_SETBITMAPSIZE, 0, MAKELPARAM(px(16), px(16)));
    SendMessageA(tb, TB_SETIMAGELIST, 0, (LPARAM)mainWnd.toolbarImages);

    static const char kLabels[] = "Войти\0Выйти\0Регистрация\0Комната+\0Обновить\0Приват\0Игнор\0Очистить\0"
                                  "Админка\0Сайт\0Справка\0";
    addToolbarLabels(tb, kLabels);

    struct Button {
        int image, command;
    };
    static const Button kButtons[14] = {
        {0, CmdConnect}, {1, CmdDisconnect}, {2, CmdRegister}, {-1, 0},        {3, CmdCreateRoom},
        {4, CmdRefresh}, {-1, 0},           {5, IdPrivate},   {6, IdIgnore},  {7, CmdClearLog},
        {-1, 0},         {8, CmdAdminPanel}, {9, CmdWebSite},  {10, CmdAbout},
    };
    TBBUTTON buttons[14];
    memset(buttons, 0, sizeof buttons);
    for (int i = 0; i < 14; i++) {
        if (kButtons[i].image < 0) {
            buttons[i].fsStyle = TBSTYLE_SEP;
            continue;
        }
        buttons[i].iBitmap = kButtons[i].image;
        buttons[i].idCommand = kButtons[i].command;
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].fsStyle = TBSTYLE_BUTTON | TBSTYLE_AUTOSIZE;
        buttons[i].iString = kButtons[i].image;  // labels are in image order
    }
    SendMessageA(tb, TB_ADDBUTTONSA, 14, (LPARAM)buttons);
    SendMessageA(tb, WM_SETFONT, (WPARAM)fontUi, FALSE);
    SendMessageA(tb, TB_AUTOSIZE, 0, 0);
}

RichEditChatLog chatLog;

void onCreate(HWND hwnd)
{
    mainWnd.hwnd = hwnd;
    installWindowActions();
    const char* richClass = loadRichEdit();
    // The window may open on a display of another scale than the one
    // start-up made the fonts for.
    int dpi = dpiOfWindow(hwnd);
    if (dpi != uiDpi) {
        uiDpi = dpi;
        createFonts(dpi);
        deleteEarlierFonts();
    }
    loadMainWindowPictures();
    createToolbar();

    HFONT f = fontUi;
    mainWnd.header = makeChild("STATIC", "", SS_OWNERDRAW, 0, IdHeader, f);
    mainWnd.banner = makeChild("STATIC", "", SS_OWNERDRAW | SS_NOTIFY, 0, IdBanner, f);
    bannerWindows = BannerWindows{hwnd, mainWnd.banner};
    mainWnd.topic = makeChild("STATIC", "", SS_OWNERDRAW | SS_NOPREFIX, 0, IdTopic, f);
    mainWnd.log = makeChild(richClass ? richClass : "RICHEDIT", "",
                            WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY | ES_NOHIDESEL, WS_EX_CLIENTEDGE,
                            IdLog, f);
    if (mainWnd.log) {
        SendMessageA(mainWnd.log, EM_EXLIMITTEXT, 0, 2000000);
        setChatLogBackground(mainWnd.log, session.colors.bg);
        wrapLogProcedure(mainWnd.log);
        zoomLogToDisplay();
    }
    chatLog.edit = mainWnd.log;
    chatLog.windowCopy = &mainWnd.log;
    ports.log = &chatLog;
    logLinks = &chatLog.links;
    findLogTarget = &chatLog;

    mainWnd.peopleHeader = makeChild("STATIC", "", SS_OWNERDRAW, 0, IdPeopleHeader, f);
    mainWnd.userList = makeChild("LISTBOX", nullptr,
                                 WS_VSCROLL | WS_TABSTOP | LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS |
                                     LBS_OWNERDRAWFIXED | LBS_NOTIFY,
                                 WS_EX_CLIENTEDGE, IdUserList, f);
    mainWnd.roomsHeader = makeChild("STATIC", "", SS_OWNERDRAW, 0, IdRoomsHeader, f);
    mainWnd.roomBox = makeChild("COMBOBOX", nullptr, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0, IdRoomBox, f);
    mainWnd.createRoom = makeChild("BUTTON", "+", BS_OWNERDRAW | WS_TABSTOP, 0, IdCreateRoomButton, f);
    mainWnd.privateButton = makeChild("BUTTON", "Приват", BS_OWNERDRAW | WS_TABSTOP, 0, IdPrivate, f);
    mainWnd.ignoreButton = makeChild("BUTTON", "Игнор", BS_OWNERDRAW | WS_TABSTOP, 0, IdIgnore, f);
    mainWnd.statusLabel = makeChild("STATIC", "Статус:", SS_CENTERIMAGE, 0, -1, f);
    mainWnd.statusBox = makeChild("COMBOBOX", nullptr, CBS_DROPDOWN | WS_VSCROLL | WS_TABSTOP, 0, IdStatusBox, f);
    fillStatusBox(mainWnd.statusBox);
    mainWnd.colorLabel = makeChild("STATIC", "Цвет:", SS_CENTERIMAGE, 0, -1, f);
    mainWnd.colorBox = makeChild("COMBOBOX", nullptr, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0, IdColorBox, f);
    fillColorBox(mainWnd.colorBox);
    mainWnd.bottomPanel = makeChild("STATIC", "", SS_OWNERDRAW, 0, IdBottomPanel, f);
    mainWnd.nickLabel = makeChild("STATIC", "", SS_OWNERDRAW | SS_NOPREFIX, 0, IdNickLabel, f);
    mainWnd.hint = makeChild("STATIC", kHintText, SS_NOPREFIX | SS_CENTERIMAGE, 0, IdHint, f);
    SendMessageA(mainWnd.hint, WM_SETFONT, (WPARAM)fontSmall, FALSE);
    mainWnd.input = makeChild("EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, IdInput, f);
    SendMessageA(mainWnd.input, EM_LIMITTEXT, kInputLineChars, 0);
    wrapInputProcedure(mainWnd.input);
    mainWnd.send = makeChild("BUTTON", "Послать", BS_OWNERDRAW | WS_TABSTOP, 0, IdSend, f);
    mainWnd.clock = makeChild("STATIC", "00:00:00", SS_OWNERDRAW, 0, IdClock, f);
    mainWnd.clearButton = makeChild("BUTTON", "Очистить", BS_OWNERDRAW | WS_TABSTOP, 0, CmdClearLog, f);
    mainWnd.exitButton = makeChild("BUTTON", "Выход", BS_OWNERDRAW | WS_TABSTOP, 0, CmdDisconnect, f);
    mainWnd.statusBar = makeChild(STATUSCLASSNAMEA, "", SBARS_SIZEGRIP, 0, IdStatusBar, f);
    SetWindowPos(mainWnd.statusBar, nullptr, 0, 0, 0, 0, SWP_NOZORDER | SWP_NOMOVE);

    SetTimer(hwnd, kTimerStatus, 1000, nullptr);
    refreshStatusDisplays();  // sets the status bar's parts too
}

void moveTo(HWND w, const LayoutRect& r)
{
    if (w)
        MoveWindow(w, r.left, r.top, r.width, r.height, TRUE);
}

int windowHeight(HWND w)
{
    RECT r;
    if (!w || !GetWindowRect(w, &r))
        return 0;
    return r.bottom - r.top;
}

void onSize(HWND hwnd, int W, int H)
{
    SendMessageA(mainWnd.toolbar, TB_AUTOSIZE, 0, 0);
    int T = windowHeight(mainWnd.toolbar);
    SendMessageA(mainWnd.statusBar, WM_SIZE, 0, 0);
    int S = windowHeight(mainWnd.statusBar);
    LayoutRect r[LayoutItemCount];
    layoutMainWindow(W, H, T, S, r, uiDpi);
    MainWindow& m = mainWnd;
    HWND order[LayoutItemCount] = {
        m.header,     m.banner,      m.topic,        m.log,       m.peopleHeader, m.userList,
        m.roomsHeader, m.roomBox,    m.createRoom,   m.privateButton, m.ignoreButton, m.statusLabel,
        m.statusBox,  m.colorLabel,  m.colorBox,     m.bottomPanel, m.nickLabel,  m.input,
        m.send,       m.clock,       m.clearButton,  m.exitButton, m.hint,
    };
    for (int i = 0; i < LayoutItemCount; i++)
        moveTo(order[i], r[i]);
    InvalidateRect(hwnd, nullptr, TRUE);
}

bool isPushButton(HWND w)
{
    char cls[16];
    return GetClassNameA(w, cls, sizeof cls) && lstrcmpiA(cls, "Button") == 0;
}

// ---- The window procedure --------------------------------------------

LRESULT CALLBACK mainWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_CREATE:
        onCreate(hwnd);
        return 0;
    case WM_SIZE:
        onSize(hwnd, LOWORD(lp), HIWORD(lp));
        checkForeground(hwnd);
        return 0;
    case WM_ACTIVATE:
    case WM_ACTIVATEAPP:
        checkForeground(hwnd);
        break;
    case WM_NCCREATE:
        scaleNonClientArea(hwnd);
        break;
    case WM_DPICHANGED: {
        // Moved to a display of another scale: the new fonts and pictures
        // first, then the rectangle Windows suggests for the new scale.
        applyMainWindowDpi(HIWORD(wp));
        const RECT* r = (const RECT*)lp;
        SetWindowPos(hwnd, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        RECT client;
        GetClientRect(hwnd, &client);
        onSize(hwnd, client.right, client.bottom);  // also when the size stayed
        return 0;
    }
    case WM_GETMINMAXINFO: {
        MINMAXINFO* mm = (MINMAXINFO*)lp;
        RECT work = workAreaOf(hwnd);
        MainWindowSize size = mainWindowSize(uiDpi, work.right - work.left, work.bottom - work.top);
        mm->ptMinTrackSize.x = size.minWidth;
        mm->ptMinTrackSize.y = size.minHeight;
        return 0;
    }
    case WM_SETFOCUS:
        if (mainWnd.input)
            SetFocus(mainWnd.input);
        return 0;
    case WM_CLOSE:
        quitOnClose();
        DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        KillTimer(hwnd, kTimerStatus);
        endReconnect();
        disconnect(nullptr);
        closeJournals();
        PostQuitMessage(0);
        return 0;
    case WM_ENDSESSION:
        if (wp)
            closeJournals();  // the process may end without WM_DESTROY
        return 0;
    case WM_MEASUREITEM:
        ((MEASUREITEMSTRUCT*)lp)->itemHeight = px(18);
        return TRUE;
    case WM_DRAWITEM:
        paintOwnerDrawn((const DRAWITEMSTRUCT*)lp);
        return TRUE;
    case WM_CTLCOLORSTATIC:
        if ((HWND)lp == mainWnd.hint) {
            HDC dc = (HDC)wp;
            SetTextColor(dc, kHintColor);
            SetBkMode(dc, OPAQUE);
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            return (LRESULT)GetSysColorBrush(COLOR_BTNFACE);
        }
        break;
    case WM_COMMAND:
        // Owner-drawn buttons also report double clicks; a click is a click.
        if (lp && HIWORD(wp) == BN_DOUBLECLICKED && isPushButton((HWND)lp))
            return 0;
        if (LOWORD(wp) == CmdFindInLog)
            openFindWindow(hwnd);
        else if (LOWORD(wp) == CmdFindNext)
            findNextInLog(hwnd);
        else
            runMainCommand(LOWORD(wp), HIWORD(wp));
        return 0;
    case WM_NOTIFY:
        if (answerTooltip((NMHDR*)lp, tooltipText))
            return 0;
        break;
    case WM_TIMER:
        if (wp == kTimerStatus)
            onStatusTick();
        else if (wp == kTimerJournal)
            flushJournals();
        else
            onTimer((int)wp);
        return 0;
    case kMsgSocket:
        onSocketMessage((SocketHandle)wp, LOWORD(lp), HIWORD(lp));
        return 0;
    case kMsgBannerResult:
        onBannerResult(wp, lp);
        return 0;
    }
    return defaultWindowProc(hwnd, msg, wp, lp);
}

} // namespace

void updateMenuChecks()
{
    HMENU menu = GetMenu(mainWnd.hwnd);
    CheckMenuItem(menu, CmdSound, MF_BYCOMMAND | (session.settings.sound ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuItem(menu, CmdTimestamps, MF_BYCOMMAND | (session.settings.timestamps ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuItem(menu, CmdJournals, MF_BYCOMMAND | (session.settings.journal ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuItem(menu, CmdReconnect, MF_BYCOMMAND | (session.settings.reconnect ? MF_CHECKED : MF_UNCHECKED));
}

bool registerMainWindowClass(HINSTANCE instance)
{
    WNDCLASSA wc;
    memset(&wc, 0, sizeof wc);
    wc.lpfnWndProc = mainWindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IdAppIcon));
    wc.hCursor = LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszMenuName = MAKEINTRESOURCEA(IdMainMenu);
    wc.lpszClassName = kMainWindowClass;
    return registerWindowClass(wc) != 0;
}

HWND createMainWindow(HINSTANCE instance)
{
    // At the primary display's scale, where the window opens; on a display
    // too small for it, over the whole work area.
    RECT work = workAreaOf(nullptr);
    MainWindowSize size = mainWindowSize(uiDpi, work.right - work.left, work.bottom - work.top);
    int x = size.fitted ? work.left + (work.right - work.left - size.width) / 2 : CW_USEDEFAULT;
    int y = size.fitted ? work.top + (work.bottom - work.top - size.height) / 2 : CW_USEDEFAULT;
    int opened = uiDpi;
    HWND window = createWindow(0, kMainWindowClass, kProductName, WS_OVERLAPPEDWINDOW, x, y, size.width, size.height,
                               nullptr, nullptr, instance);
    // Creation found the window on a display of another scale (onCreate):
    // the size follows that display.
    if (window && uiDpi != opened) {
        work = workAreaOf(window);
        size = mainWindowSize(uiDpi, work.right - work.left, work.bottom - work.top);
        SetWindowPos(window, nullptr, 0, 0, size.width, size.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return window;
}
