// probe_target: a window laid out like the chat client's main window, for
// testing the probe against real controls in another process.  Narrow string
// literals are code page 1251 (its build gives -fexec-charset=CP1251).
//
// What the probe does to it shows up in the event line (static 3013, text
// "N: event") and in the window title:
//   list box 3002 LBN_SELCHANGE   -> "list INDEX TEXT"
//   combo 3003 CBN_SELCHANGE      -> "combo INDEX TEXT"
//   Enter in edit 3004            -> title "entered: TEXT", "enter focus=0|1"
//   check box 3006 BN_CLICKED     -> "check 0|1"
//   button 3007 (disabled)        -> "clicked 3007" (must never appear)
//   button 3005                   -> modal dialog; "dialog ok NAME CHECK SERVER"
//                                    or "dialog cancel"; its button 1004 opens a
//                                    message box owned by the dialog
//   button 3010                   -> message box; "msgbox RESULT"
//   menu and toolbar commands     -> "command ID"; 103 also appends 4000 lines
//                                    to the log, 105 adds a 700-letter item to
//                                    the list
// It exits with 0 when the window is closed.

#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

enum {
    IdLog = 3001,
    IdUsers = 3002,
    IdRoom = 3003,
    IdInput = 3004,
    IdLogin = 3005,
    IdSound = 3006,
    IdDisabled = 3007,
    IdStatus = 3008,
    IdHidden = 3009,
    IdMessage = 3010,
    IdEvents = 3013,
    IdToolbar = 3015,

    CmdConnect = 101,
    CmdDisconnect = 102,
    CmdFill = 103,
    CmdExit = 104,
    CmdLongItem = 105,
    CmdUsers = 201,
    CmdLight = 211,
    CmdDark = 212,
    CmdHelp = 301,

    DlgName = 1001,
    DlgRemember = 1002,
    DlgServer = 1003,
    DlgHelp = 1004,
};

HWND g_main;
HWND g_events;
WNDPROC g_inputProc;
int g_eventCount;

void event(const std::string &text)
{
    ++g_eventCount;
    std::string line = std::to_string(g_eventCount) + ": " + text;
    SetWindowTextA(g_events, line.c_str());
}

std::string textOf(HWND h)
{
    int n = GetWindowTextLengthA(h);
    std::string s(n + 1, '\0');
    n = GetWindowTextA(h, &s[0], n + 1);
    s.resize(n > 0 ? n : 0);
    return s;
}

std::string listText(HWND list, int i)
{
    LRESULT n = SendMessageA(list, LB_GETTEXTLEN, i, 0);
    if (n == LB_ERR)
        return std::string();
    std::string s(n + 1, '\0');
    n = SendMessageA(list, LB_GETTEXT, i, (LPARAM)&s[0]);
    s.resize(n > 0 ? n : 0);
    return s;
}

std::string comboText(HWND combo, int i)
{
    LRESULT n = SendMessageA(combo, CB_GETLBTEXTLEN, i, 0);
    if (n == CB_ERR)
        return std::string();
    std::string s(n + 1, '\0');
    n = SendMessageA(combo, CB_GETLBTEXT, i, (LPARAM)&s[0]);
    s.resize(n > 0 ? n : 0);
    return s;
}

// ------------------------------------------------------------------ dialog

// An in-memory DLGTEMPLATE: WORDs, items DWORD-aligned.
class Template {
public:
    void header(DWORD style, WORD items, short cx, short cy, const wchar_t *title)
    {
        dword(style);
        dword(0);  // extended style
        w_.push_back(items);
        w_.push_back(0);
        w_.push_back(0);
        w_.push_back((WORD)cx);
        w_.push_back((WORD)cy);
        w_.push_back(0);  // no menu
        w_.push_back(0);  // default class
        text(title);
    }
    void item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD atom,
              const wchar_t *title)
    {
        if (w_.size() % 2)
            w_.push_back(0);
        dword(style | WS_CHILD | WS_VISIBLE);
        dword(0);
        w_.push_back((WORD)x);
        w_.push_back((WORD)y);
        w_.push_back((WORD)cx);
        w_.push_back((WORD)cy);
        w_.push_back(id);
        w_.push_back(0xFFFF);
        w_.push_back(atom);
        text(title);
        w_.push_back(0);  // no creation data
    }
    const DLGTEMPLATE *get() const { return reinterpret_cast<const DLGTEMPLATE *>(w_.data()); }

private:
    void dword(DWORD d)
    {
        w_.push_back(LOWORD(d));
        w_.push_back(HIWORD(d));
    }
    void text(const wchar_t *s)
    {
        for (; *s; ++s)
            w_.push_back((WORD)*s);
        w_.push_back(0);
    }
    std::vector<WORD> w_;
};

const WORD AtomButton = 0x0080, AtomEdit = 0x0081, AtomStatic = 0x0082, AtomCombo = 0x0085;

INT_PTR CALLBACK dialogProc(HWND d, UINT msg, WPARAM wp, LPARAM)
{
    switch (msg) {
    case WM_INITDIALOG: {
        SetDlgItemTextA(d, DlgName, "гость");
        HWND combo = GetDlgItem(d, DlgServer);
        SendMessageA(combo, CB_ADDSTRING, 0, (LPARAM) "Сервер один");
        SendMessageA(combo, CB_ADDSTRING, 0, (LPARAM) "Сервер два");
        SendMessageA(combo, CB_SETCURSEL, 1, 0);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wp) == IDOK) {
            HWND combo = GetDlgItem(d, DlgServer);
            std::string server = comboText(combo, (int)SendMessageA(combo, CB_GETCURSEL, 0, 0));
            std::string r = "dialog ok " + textOf(GetDlgItem(d, DlgName)) + " " +
                            std::to_string(IsDlgButtonChecked(d, DlgRemember)) + " " + server;
            event(r);
            EndDialog(d, IDOK);
            return TRUE;
        }
        if (LOWORD(wp) == DlgHelp) {
            MessageBoxA(d, "Справка по входу", "Справка", MB_OK);
            return TRUE;
        }
        if (LOWORD(wp) == IDCANCEL) {
            event("dialog cancel");
            EndDialog(d, IDCANCEL);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

void runDialog(HWND owner)
{
    Template t;
    t.header(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 7, 200, 100, L"Вход");
    t.item(SS_LEFT, 8, 10, 40, 10, 0xFFFF, AtomStatic, L"Имя:");
    t.item(ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 50, 8, 140, 14, DlgName, AtomEdit, L"");
    t.item(BS_AUTOCHECKBOX | WS_TABSTOP, 8, 28, 100, 12, DlgRemember, AtomButton, L"Запомнить");
    t.item(BS_PUSHBUTTON | WS_TABSTOP, 130, 28, 60, 14, DlgHelp, AtomButton, L"Справка");
    t.item(CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 8, 44, 120, 60, DlgServer, AtomCombo, L"");
    t.item(BS_DEFPUSHBUTTON | WS_TABSTOP, 40, 78, 60, 14, IDOK, AtomButton, L"ОК");
    t.item(BS_PUSHBUTTON | WS_TABSTOP, 110, 78, 60, 14, IDCANCEL, AtomButton, L"Отмена");
    DialogBoxIndirectParamA(GetModuleHandleA(nullptr), t.get(), owner, dialogProc, 0);
}

// ------------------------------------------------------------------ main window

LRESULT CALLBACK inputProc(HWND h, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_KEYDOWN && wp == VK_RETURN) {
        std::string title = "entered: " + textOf(h);
        SetWindowTextA(g_main, title.c_str());
        event(std::string("enter focus=") + (GetFocus() == h ? "1" : "0"));
        return 0;
    }
    if (msg == WM_CHAR && wp == '\r')
        return 0;
    return CallWindowProcA(g_inputProc, h, msg, wp, lp);
}

HMENU buildMenu()
{
    HMENU file = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, CmdConnect, "&Подключиться\tCtrl+O");
    AppendMenuA(file, MF_STRING | MF_GRAYED, CmdDisconnect, "&Отключиться");
    AppendMenuA(file, MF_STRING, CmdFill, "Много строк");
    AppendMenuA(file, MF_STRING, CmdLongItem, "Длинное имя");
    AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(file, MF_STRING, CmdExit, "В&ыход");

    HMENU theme = CreatePopupMenu();
    AppendMenuA(theme, MF_STRING, CmdLight, "Светлая");
    AppendMenuA(theme, MF_STRING, CmdDark, "Тёмная");
    CheckMenuRadioItem(theme, CmdLight, CmdDark, CmdLight, MF_BYCOMMAND);

    HMENU view = CreatePopupMenu();
    AppendMenuA(view, MF_STRING | MF_CHECKED, CmdUsers, "Список пользователей");
    AppendMenuA(view, MF_POPUP, (UINT_PTR)theme, "Тема");

    HMENU bar = CreateMenu();
    AppendMenuA(bar, MF_POPUP, (UINT_PTR)file, "&Файл");
    AppendMenuA(bar, MF_POPUP, (UINT_PTR)view, "&Вид");
    AppendMenuA(bar, MF_STRING, CmdHelp, "&Справка");
    return bar;
}

HWND child(HWND parent, DWORD exStyle, const char *cls, const char *text, DWORD style, int x, int y,
           int w, int h, int id)
{
    return CreateWindowExA(exStyle, cls, text, WS_CHILD | style, x, y, w, h, parent,
                           (HMENU)(INT_PTR)id, GetModuleHandleA(nullptr), nullptr);
}

void createChildren(HWND w)
{
    HWND tb = child(w, 0, TOOLBARCLASSNAMEA, "", WS_VISIBLE | TBSTYLE_LIST | CCS_TOP, 0, 0, 0, 0,
                    IdToolbar);
    SendMessageA(tb, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    INT_PTR s1 = SendMessageA(tb, TB_ADDSTRINGA, 0, (LPARAM) "Войти\0");
    INT_PTR s2 = SendMessageA(tb, TB_ADDSTRINGA, 0, (LPARAM) "Выйти\0");
    TBBUTTON b[3];
    ZeroMemory(b, sizeof b);
    b[0].iBitmap = I_IMAGENONE;
    b[0].idCommand = CmdConnect;
    b[0].fsState = TBSTATE_ENABLED;
    b[0].fsStyle = TBSTYLE_BUTTON;
    b[0].iString = s1;
    b[1].fsStyle = TBSTYLE_SEP;
    b[2].iBitmap = I_IMAGENONE;
    b[2].idCommand = CmdDisconnect;
    b[2].fsState = 0;  // disabled
    b[2].fsStyle = TBSTYLE_BUTTON;
    b[2].iString = s2;
    SendMessageA(tb, TB_ADDBUTTONSA, 3, (LPARAM)b);
    SendMessageA(tb, TB_AUTOSIZE, 0, 0);

    HWND log = child(w, WS_EX_CLIENTEDGE, "RichEdit20A", "",
                     WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY, 10, 40, 400, 200, IdLog);
    SendMessageA(log, EM_EXLIMITTEXT, 0, 1 << 20);
    SetWindowTextA(log, "Первая строка\r\nВторая строка");

    HWND users = child(w, WS_EX_CLIENTEDGE, "ListBox", "",
                       WS_VISIBLE | WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY,
                       420, 40, 160, 120, IdUsers);
    SendMessageA(users, LB_ADDSTRING, 0, (LPARAM) "Алиса");
    SendMessageA(users, LB_ADDSTRING, 0, (LPARAM) "Борис");
    SendMessageA(users, LB_ADDSTRING, 0, (LPARAM) "Вера");
    SendMessageA(users, LB_SETCURSEL, 1, 0);

    HWND room = child(w, 0, "ComboBox", "", WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWN, 420, 170, 160,
                      120, IdRoom);
    SendMessageA(room, CB_ADDSTRING, 0, (LPARAM) "#общий");
    SendMessageA(room, CB_ADDSTRING, 0, (LPARAM) "#флуд");
    SendMessageA(room, CB_ADDSTRING, 0, (LPARAM) "#помощь");
    SendMessageA(room, CB_SETCURSEL, 0, 0);

    HWND input = child(w, WS_EX_CLIENTEDGE, "Edit", "", WS_VISIBLE | ES_AUTOHSCROLL, 10, 250, 300, 22,
                       IdInput);
    g_inputProc = (WNDPROC)SetWindowLongPtrA(input, GWLP_WNDPROC, (LONG_PTR)inputProc);

    child(w, 0, "Button", "Вход...", WS_VISIBLE | BS_PUSHBUTTON, 320, 250, 90, 22, IdLogin);
    child(w, 0, "Button", "Звук", WS_VISIBLE | BS_AUTOCHECKBOX, 420, 200, 100, 20, IdSound);
    child(w, 0, "Button", "Недоступно", WS_VISIBLE | WS_DISABLED | BS_PUSHBUTTON, 420, 225, 100, 22,
          IdDisabled);
    child(w, 0, "Static", "скрыто", SS_LEFT, 420, 300, 100, 20, IdHidden);
    child(w, 0, "Button", "Сообщение", WS_VISIBLE | BS_PUSHBUTTON, 420, 250, 100, 22, IdMessage);
    g_events = child(w, 0, "Static", "0: start", WS_VISIBLE | SS_LEFT, 10, 280, 400, 20, IdEvents);

    HWND status = child(w, 0, STATUSCLASSNAMEA, "", WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, IdStatus);
    int parts[3] = {150, 300, -1};
    SendMessageA(status, SB_SETPARTS, 3, (LPARAM)parts);
    SendMessageA(status, SB_SETTEXTA, 0, (LPARAM) "Подключено");
    SendMessageA(status, SB_SETTEXTA, 1, (LPARAM) "Комната: #общий");
    SendMessageA(status, SB_SETTEXTA, 2, (LPARAM) "3 польз.");
}

void fillLog()
{
    HWND log = GetDlgItem(g_main, IdLog);
    std::string all;
    for (int i = 1; i <= 4000; ++i) {
        char line[64];
        snprintf(line, sizeof line, "\r\nстрока %04d", i);
        all += line;
    }
    SendMessageA(log, EM_SETSEL, (WPARAM)-1, -1);
    SendMessageA(log, EM_REPLACESEL, FALSE, (LPARAM)all.c_str());
}

void onCommand(HWND w, int id, int code, HWND ctl)
{
    switch (id) {
    case IdUsers:
        if (code == LBN_SELCHANGE) {
            int i = (int)SendMessageA(ctl, LB_GETCURSEL, 0, 0);
            event("list " + std::to_string(i) + " " + listText(ctl, i));
        }
        return;
    case IdRoom:
        if (code == CBN_SELCHANGE) {
            int i = (int)SendMessageA(ctl, CB_GETCURSEL, 0, 0);
            event("combo " + std::to_string(i) + " " + comboText(ctl, i));
        }
        return;
    case IdSound:
        if (code == BN_CLICKED)
            event("check " + std::to_string(SendMessageA(ctl, BM_GETCHECK, 0, 0)));
        return;
    case IdDisabled:
        event("clicked 3007");
        return;
    case IdLogin:
        runDialog(w);
        return;
    case IdMessage: {
        int r = MessageBoxA(w, "Текст сообщения", "Внимание", MB_OKCANCEL | MB_ICONINFORMATION);
        event("msgbox " + std::to_string(r));
        return;
    }
    case CmdExit:
        DestroyWindow(w);
        return;
    case CmdFill:
        fillLog();
        break;
    case CmdLongItem:
        SendMessageA(GetDlgItem(w, IdUsers), LB_ADDSTRING, 0,
                     (LPARAM)std::string(700, '\xC6').c_str());  // 'Ж' in code page 1251
        break;
    default:
        // Notifications of other controls (the rich edit's, the edit's).
        if (ctl && ctl != GetDlgItem(w, IdToolbar))
            return;
    }
    event("command " + std::to_string(id));
}

LRESULT CALLBACK mainProc(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_CREATE:
        g_main = w;
        createChildren(w);
        return 0;
    case WM_SIZE:
        SendMessageA(GetDlgItem(w, IdStatus), WM_SIZE, 0, 0);
        SendMessageA(GetDlgItem(w, IdToolbar), TB_AUTOSIZE, 0, 0);
        return 0;
    case WM_MEASUREITEM: {
        MEASUREITEMSTRUCT *mi = reinterpret_cast<MEASUREITEMSTRUCT *>(lp);
        mi->itemHeight = 18;
        return TRUE;
    }
    case WM_DRAWITEM: {
        DRAWITEMSTRUCT *di = reinterpret_cast<DRAWITEMSTRUCT *>(lp);
        if (di->CtlID != IdUsers || di->itemID == (UINT)-1)
            return TRUE;
        bool sel = (di->itemState & ODS_SELECTED) != 0;
        FillRect(di->hDC, &di->rcItem, GetSysColorBrush(sel ? COLOR_HIGHLIGHT : COLOR_WINDOW));
        SetBkMode(di->hDC, TRANSPARENT);
        SetTextColor(di->hDC, GetSysColor(sel ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        std::string s = listText(di->hwndItem, (int)di->itemID);
        RECT r = di->rcItem;
        r.left += 4;
        DrawTextA(di->hDC, s.c_str(), (int)s.size(), &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        return TRUE;
    }
    case WM_COMMAND:
        onCommand(w, LOWORD(wp), HIWORD(wp), (HWND)lp);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(w, msg, wp, lp);
}

}  // namespace

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR, int show)
{
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    if (!LoadLibraryA("riched20.dll"))
        return 2;

    WNDCLASSA wc;
    ZeroMemory(&wc, sizeof wc);
    wc.lpfnWndProc = mainProc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszClassName = "ZumbaraMain";
    if (!RegisterClassA(&wc))
        return 3;
    HWND w = CreateWindowExA(0, "ZumbaraMain", "Zumbara", WS_OVERLAPPEDWINDOW, 50, 50, 620, 400,
                             nullptr, buildMenu(), inst, nullptr);
    if (!w)
        return 4;
    ShowWindow(w, show);
    UpdateWindow(w);
    MSG m;
    while (GetMessageA(&m, nullptr, 0, 0) > 0) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
    return 0;
}
