// The main window's side of the session core's seams (its views of the
// session record, the panel and banner stand-ins) and of the commands (the
// window actions and the input line).
#include "main_window.h"

#include <shellapi.h>
#include <string.h>

#include "chat_log.h"
#include "codepage.h"
#include "input_actions.h"
#include "login_dialog.h"
#include "main_commands.h"
#include "palette.h"
#include "session_state.h"

namespace {

struct WindowViews final : ChatViews, PanelView, BannerFetcher {
    void usersChanged() override
    {
        HWND l = mainWnd.userList;
        SendMessageA(l, WM_SETREDRAW, FALSE, 0);
        SendMessageA(l, LB_RESETCONTENT, 0, 0);
        for (int i = 0; i < session.userCount; i++)
            SendMessageA(l, LB_ADDSTRING, 0, (LPARAM)session.users[i].nick.s);
        SendMessageA(l, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(l, nullptr, TRUE);
        InvalidateRect(mainWnd.peopleHeader, nullptr, FALSE);
        statusChanged();
    }
    void roomsChanged() override
    {
        HWND b = mainWnd.roomBox;
        SendMessageA(b, CB_RESETCONTENT, 0, 0);
        int current = -1;
        for (int i = 0; i < session.roomCount; i++) {
            char item[96];
            formatText(item, sizeof item, "%s (%d)", session.rooms[i].name.s, (int)session.rooms[i].people);
            SendMessageA(b, CB_ADDSTRING, 0, (LPARAM)item);
            if (current < 0 && sameText(session.rooms[i].name.s, session.currentRoom.s))
                current = i;
        }
        SendMessageA(b, CB_SETCURSEL, current, 0);
    }
    void statusChanged() override
    {
        SessionState& s = session;
        char part[5][160];
        for (auto& p : part)
            p[0] = '\0';
        if (s.connected) {
            formatText(part[0], sizeof part[0], " %s @ %s:%d", s.ownNick.s, s.settings.host.s, s.settings.port);
            formatText(part[1], sizeof part[1], " Комната: %s", s.currentRoom.s);
            formatText(part[2], sizeof part[2], " Людей: %d", s.userCount);
            formatText(part[3], sizeof part[3], " Лаг: %d мс", (int)s.lag);
            formatText(part[4], sizeof part[4], " %s", roleDisplayName(s));
        } else {
            copyText(part[0], sizeof part[0], " Не подключено.  F2 - подключиться");
        }
        for (int i = 0; i < 5; i++) {
            // Only texts set here are in the parts, and they fit the buffer;
            // the length is checked anyway, as SB_GETTEXT copies it all.
            char old[160] = "";
            if (LOWORD(SendMessageA(mainWnd.statusBar, SB_GETTEXTLENGTHA, i, 0)) < sizeof old)
                SendMessageA(mainWnd.statusBar, SB_GETTEXTA, i, (LPARAM)old);
            if (strcmp(old, part[i]) != 0)
                SendMessageA(mainWnd.statusBar, SB_SETTEXTA, i, (LPARAM)part[i]);
        }
        char title[200];
        formatText(title, sizeof title, "%s — %s", s.chatTitle.s, kProductName);
        char oldTitle[200];
        GetWindowTextA(mainWnd.hwnd, oldTitle, sizeof oldTitle);
        if (strcmp(oldTitle, title) != 0)
            SetWindowTextA(mainWnd.hwnd, title);
        HMENU menu = GetMenu(mainWnd.hwnd);
        if (menu)
            EnableMenuItem(menu, CmdAdminPanel, MF_BYCOMMAND | (adminPanelAvailable(s) ? MF_ENABLED : MF_GRAYED));
        InvalidateRect(mainWnd.nickLabel, nullptr, FALSE);
        InvalidateRect(mainWnd.header, nullptr, FALSE);
    }
    void showTopic(const char* topic) override
    {
        SetWindowTextA(mainWnd.topic, topic);
        InvalidateRect(mainWnd.topic, nullptr, TRUE);
    }
    void focusInput() override { SetFocus(mainWnd.input); }
    void readInput(char* text, size_t cap) override
    {
        text[0] = '\0';
        GetWindowTextA(mainWnd.input, text, (int)cap);
    }
    void clearInput() override { SetWindowTextA(mainWnd.input, ""); }
    void colorsChanged() override
    {
        setChatLogBackground(mainWnd.log, session.colors.bg);
        InvalidateRect(mainWnd.hwnd, nullptr, TRUE);
    }

    // The administration panel does not exist yet: it is never open.
    bool isOpen() override { return false; }
    void setStatusText(const char*) override {}
    void setTopic(const char*) override {}
    void postRefresh(int) override {}

    void stripChanged() override { InvalidateRect(mainWnd.banner, nullptr, TRUE); }
    // Picture downloads are not built yet: the strip keeps its placeholder.
    void startFetch(int32_t, const char*) override {}
    void queueResult(int32_t id, int code) override
    {
        PostMessageA(mainWnd.hwnd, kMsgBannerResult, (WPARAM)code, (LPARAM)id);
    }
};

WindowViews windowViews;

int comboSelection(HWND box) { return (int)SendMessageA(box, CB_GETCURSEL, 0, 0); }

struct WindowActions final : MainWindowActions, InputLine {
    void runLoginFlow() override { ::runLoginFlow(mainWnd.hwnd); }
    int showRegistrationDialog() override
    {
        return ::showRegistrationDialog ? ::showRegistrationDialog(mainWnd.hwnd) : 2;
    }
    void showCreateRoomDialog() override
    {
        if (showCreateRoomDialogEntry)
            showCreateRoomDialogEntry(mainWnd.hwnd);
    }
    void showAdminPanel() override
    {
        if (showAdminPanelEntry)
            showAdminPanelEntry(mainWnd.hwnd);
    }
    void showAboutDialog() override
    {
        if (showAboutDialogEntry)
            showAboutDialogEntry(mainWnd.hwnd);
    }
    void destroyWindow() override { DestroyWindow(mainWnd.hwnd); }
    void setMenuCheck(int id, bool checked) override
    {
        CheckMenuItem(GetMenu(mainWnd.hwnd), (UINT)id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
    }
    void openUrl(const char* url) override { ShellExecuteA(nullptr, "open", url, nullptr, nullptr, SW_SHOWNORMAL); }
    int selectedUser() override { return (int)SendMessageA(mainWnd.userList, LB_GETCURSEL, 0, 0); }
    int selectedRoom() override { return comboSelection(mainWnd.roomBox); }
    int selectedColor() override { return comboSelection(mainWnd.colorBox); }
    int selectedStatus() override { return comboSelection(mainWnd.statusBox); }
    void repaintNickViews() override
    {
        InvalidateRect(mainWnd.header, nullptr, FALSE);
        InvalidateRect(mainWnd.nickLabel, nullptr, FALSE);
    }
    void openBannerLink() override
    {
        const CurrentBanner& b = session.banner;
        if (b.shown && !b.link.empty())
            ShellExecuteA(nullptr, "open", b.link.s, nullptr, nullptr, SW_SHOWNORMAL);
    }

    void getText(char* text, size_t cap) override
    {
        text[0] = '\0';
        GetWindowTextA(mainWnd.input, text, (int)cap);
    }
    void setText(const char* text) override { SetWindowTextA(mainWnd.input, text); }
    void focusAtEnd() override
    {
        SetFocus(mainWnd.input);
        int end = GetWindowTextLengthA(mainWnd.input);
        SendMessageA(mainWnd.input, EM_SETSEL, end, end);
    }
};

WindowActions windowActions;

} // namespace

ChatViews& mainWindowViews() { return windowViews; }
PanelView& mainWindowPanel() { return windowViews; }
BannerFetcher& mainWindowBanners() { return windowViews; }

void installWindowActions()
{
    mainWindow = &windowActions;
    inputLine = &windowActions;
}

void onBannerResultMessage(WPARAM wp, LPARAM lp)
{
    if ((int)wp == 6)
        logErrorF("Баннер #%d: ссылка не http:// — старый клиент не умеет https (%s)", (int)lp,
                  session.banner.url.s);
}
