// The main window's side of the session core's seams (its views of the
// session record, the administration panel's view) and of the commands
// (the window actions and the input line).
#include "shell/win_main_window.h"

#include <string.h>

#include "admin/win_admin_panel.h"
#include "banners/win_banners.h"
#include "base/codepage.h"
#include "dialogs/win_login_dialog.h"
#include "input/input_actions.h"
#include "log/win_chat_log.h"
#include "people/win_people_list.h"
#include "session/session_state.h"
#include "shell/main_commands.h"
#include "shell/win_status_display.h"
#include "toolkit/palette.h"
#include "toolkit/win_drawing.h"
#include "toolkit/win_text.h"

namespace {

struct WindowViews final : ChatViews {
    void usersChanged() override
    {
        rebuildUserList(mainWnd.userList);
        repaintLater(mainWnd.peopleHeader, false);
        refreshStatusDisplays();
    }
    void roomsChanged() override { rebuildRoomBox(mainWnd.roomBox); }
    void statusChanged() override
    {
        refreshStatusDisplays();
        showNickColor(mainWnd.colorBox);
    }
    void showTopic(const char* topic) override { showTopicText(mainWnd.topic, topic); }
    // Only while the main window is the active one: SetFocus would otherwise
    // activate it and take the keyboard from the find window or a dialog
    // the user is typing in.
    void focusInput() override
    {
        if (GetActiveWindow() == mainWnd.hwnd)
            SetFocus(mainWnd.input);
    }
    void readInput(char* text, size_t cap) override { getWindowText(mainWnd.input, text, cap); }
    void clearInput() override { setWindowText(mainWnd.input, ""); }
    void colorsChanged() override
    {
        setChatLogBackground(mainWnd.log, session.colors.bg);
        repaintLater(mainWnd.hwnd, true);
    }
    void resetStatusChoice() override { SendMessageA(mainWnd.statusBox, CB_SETCURSEL, 0, 0); }
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
    void openUrl(const char* url) override { openLink(nullptr, url); }
    int selectedUser() override { return (int)SendMessageA(mainWnd.userList, LB_GETCURSEL, 0, 0); }
    int selectedRoom() override { return comboSelection(mainWnd.roomBox); }
    int selectedColor() override { return comboSelection(mainWnd.colorBox); }
    int selectedStatus() override { return comboSelection(mainWnd.statusBox); }
    void repaintNickViews() override
    {
        repaintLater(mainWnd.header, false);
        repaintLater(mainWnd.nickLabel, false);
    }
    void openBannerLink() override { ::openBannerLink(); }

    void getText(char* text, size_t cap) override { getWindowText(mainWnd.input, text, cap); }
    void setText(const char* text) override { setWindowText(mainWnd.input, text); }
    void focusAtEnd() override
    {
        SetFocus(mainWnd.input);
        int end = windowTextLength(mainWnd.input);
        SendMessageA(mainWnd.input, EM_SETSEL, end, end);
    }
};

WindowActions windowActions;

} // namespace

ChatViews& mainWindowViews() { return windowViews; }
PanelView& mainWindowPanel() { return adminPanelView(); }

void installWindowActions()
{
    mainWindow = &windowActions;
    inputLine = &windowActions;
}
