#include "admin/win_admin_panel.h"

#include "admin/admin_actions.h"
#include "session/session_state.h"
#include "toolkit/win_text.h"

HWND adminPanel;

namespace {

// The main window's user list and topic line, while the panel is open.
HWND ownerUsers, ownerTopic;

struct DialogForm final : PanelForm {
    HWND dialog = nullptr;

    HWND item(int id) { return GetDlgItem(dialog, id); }
    HWND list() { return item(IDC_PANEL_BANNERS); }

    void getText(int id, char* text, size_t cap) override { getItemText(dialog, id, text, cap); }
    void setText(int id, const char* text) override { setItemText(dialog, id, text); }
    bool isChecked(int id) override { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
    void setChecked(int id, bool checked) override
    {
        CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
    }
    void enable(int id, bool enabled) override { EnableWindow(item(id), enabled ? TRUE : FALSE); }
    void clearRows() override { SendMessageA(list(), LB_RESETCONTENT, 0, 0); }
    void addRow(const char* text) override { addListItem(list(), text); }
    int selectedRow() override { return (int)SendMessageA(list(), LB_GETCURSEL, 0, 0); }
    bool askYesNo(const char* text) override
    {
        return messageBox(dialog, text, kProductName, MB_YESNO | MB_ICONQUESTION) == IDYES;
    }
    int selectedUser() override
    {
        return ownerUsers ? (int)SendMessageA(ownerUsers, LB_GETCURSEL, 0, 0) : -1;
    }
    void mainTopic(char* text, size_t cap) override
    {
        if (ownerTopic)
            getWindowText(ownerTopic, text, cap);
        else if (cap > 0)
            text[0] = '\0';
    }
};

struct OpenPanelView final : PanelView {
    bool isOpen() override { return adminPanel != nullptr; }
    void setStatusText(const char* text) override { setItemText(adminPanel, IDC_PANEL_STATUS, text); }
    void setTopic(const char* topic) override { setItemText(adminPanel, IDC_PANEL_TOPIC, topic); }
    void postRefresh(int what) override { PostMessageA(adminPanel, kMsgPanelRefresh, (WPARAM)what, 0); }
};

OpenPanelView panelView;

DialogForm formOf(HWND dialog)
{
    DialogForm form;
    form.dialog = dialog;
    return form;
}

} // namespace

INT_PTR CALLBACK adminPanelProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG: {
        adminPanel = dialog;
        DialogForm form = formOf(dialog);
        initAdminPanel(form);
        return TRUE;  // the focus goes to the first enabled tab stop
    }

    case kMsgPanelRefresh: {
        DialogForm form = formOf(dialog);
        if (wParam == 1)
            fillAdminPanel(form);
        else if (wParam == 2)
            rebuildBannerList(form);
        return TRUE;
    }

    case WM_COMMAND: {
        int id = LOWORD(wParam);
        if (id == IDCANCEL) {  // "Закрыть", Esc and the close box
            adminPanel = nullptr;
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        if (id == IDOK)  // Enter: the panel has no default command
            return TRUE;
        DialogForm form = formOf(dialog);
        runPanelCommand(form, id, HIWORD(wParam));
        return TRUE;
    }
    }
    return FALSE;
}

void showAdminPanel(HWND owner, HWND userList, HWND topicLine)
{
    ownerUsers = userList;
    ownerTopic = topicLine;
    runDialog(GetModuleHandleA(nullptr), IDD_ADMIN_PANEL, owner, adminPanelProc, 0);
    adminPanel = nullptr;
    ownerUsers = ownerTopic = nullptr;
}

PanelView& adminPanelView() { return panelView; }
