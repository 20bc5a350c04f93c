#include "dialogs/win_login_dialog.h"

#include <string.h>

#include "base/bounded.h"
#include "dialogs/registration.h"
#include "dialogs/win_dialog_buttons.h"
#include "session/connection.h"
#include "session/session_state.h"
#include "session/site.h"
#include "toolkit/palette.h"
#include "toolkit/win_drawing.h"
#include "toolkit/win_text.h"

int (*showRegistrationDialog)(HWND owner) = nullptr;

namespace {

const char kTagline[] = "точка входа в Zumbara  ~  единый аккаунт";

void initDialog(HWND dialog)
{
    SessionState& s = session;
    char text[3 * 256];
    formatText(text, sizeof text, "Вход в чат — аккаунт портала %s", kPortalDomain);
    setWindowText(dialog, text);
    formatText(text, sizeof text,
               "Логин и пароль — от вашего ящика на %s (аккаунт портала один на всё). "
               "Гости входят без пароля с любым свободным ником.",
               kPortalMailSite);
    setItemText(dialog, IDC_LOGIN_NOTE, text);

    setItemText(dialog, IDC_LOGIN_SERVER, s.settings.host.s);
    formatText(text, sizeof text, "%d", s.settings.port);
    setItemText(dialog, IDC_LOGIN_PORT, text);
    setItemText(dialog, IDC_LOGIN_NICK, s.loginNick.s);
    setItemText(dialog, IDC_LOGIN_PASSWORD, s.password.s);
    CheckDlgButton(dialog, IDC_LOGIN_REMEMBER, s.settings.remember ? BST_CHECKED : BST_UNCHECKED);

    HWND colors = GetDlgItem(dialog, IDC_LOGIN_COLOR);
    for (int i = 0; i < kPaletteSize; i++)
        addComboItem(colors, kPalette[i].name);
    int selected = paletteIndexOf(s.nickColor.s);
    SendMessageA(colors, CB_SETCURSEL, (WPARAM)(selected < 0 ? 0 : selected), 0);

    SendDlgItemMessageA(dialog, IDC_LOGIN_NICK, EM_LIMITTEXT, kLoginNickTypingLimit, 0);
}

// "Войти в чат »" and "Гостевой вход": the fields go into the settings in
// memory whatever the outcome; only a complete login saves and closes.
void submit(HWND dialog, bool guest)
{
    SessionState& s = session;
    getItemText(dialog, IDC_LOGIN_SERVER, s.settings.host);
    BOOL isNumber = FALSE;
    UINT port = GetDlgItemInt(dialog, IDC_LOGIN_PORT, &isNumber, FALSE);
    s.settings.port = isNumber ? (int)port : 0;
    getItemText(dialog, IDC_LOGIN_NICK, s.loginNick);
    flattenText(s.loginNick.s);  // a pasted trailing TAB goes with the trim
    trimTypedText(s.loginNick.s);
    if (guest)
        s.password.clear();
    else
        getItemText(dialog, IDC_LOGIN_PASSWORD, s.password);
    s.settings.remember = IsDlgButtonChecked(dialog, IDC_LOGIN_REMEMBER) == BST_CHECKED;
    LRESULT selected = SendDlgItemMessageA(dialog, IDC_LOGIN_COLOR, CB_GETCURSEL, 0, 0);
    s.nickColor.set(paletteValueAt(selected < 0 || selected >= kPaletteSize ? 0 : (int)selected));

    if (s.loginNick.empty()) {
        messageBox(dialog, "Введите ник.", kProductName, MB_OK | MB_ICONWARNING);
    } else if (!s.settings.host.empty() && s.settings.port > 0) {
        saveSettingsNow();
        EndDialog(dialog, IDOK);
    } else {
        messageBox(dialog, "Укажите сервер и порт.", kProductName, MB_OK | MB_ICONWARNING);
    }
}

} // namespace

INT_PTR CALLBACK loginDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        initDialog(dialog);
        return TRUE;  // the focus goes to the first tab stop, the server field

    case WM_COMMAND:
        if (HIWORD(wParam) != BN_CLICKED)
            return FALSE;
        switch (LOWORD(wParam)) {
        case IDOK:
            submit(dialog, false);
            return TRUE;
        case IDC_LOGIN_GUEST:
            submit(dialog, true);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        case IDC_LOGIN_REGISTER:
            EndDialog(dialog, IDC_LOGIN_REGISTER);
            return TRUE;
        case IDC_LOGIN_FORGOT:
            openLink(dialog, kPasswordRecoveryUrl);
            return TRUE;
        }
        return FALSE;

    case WM_DRAWITEM:
        return onHeaderDraw(lParam, IDC_LOGIN_HEADER, portalDomainSuffix(), kTagline);
    }
    return FALSE;
}

int showLoginDialog(HWND owner)
{
    return (int)runDialog(GetModuleHandleA(nullptr), IDD_LOGIN, owner, loginDialogProc, 0);
}

void runLoginFlow(HWND owner)
{
    SessionState& s = session;
    for (;;) {
        int result = showLoginDialog(owner);
        if (result == IDC_LOGIN_REGISTER) {
            // No registration dialog counts as one that was cancelled.
            int accepted = showRegistrationDialog ? showRegistrationDialog(owner) : IDCANCEL;
            if (accepted != IDOK)
                continue;
            connectWithRegistration();
            return;
        }
        if (result == IDOK) {
            // This connection carries no registration request.
            s.registration.login.clear();
            connectToServer();
        }
        return;
    }
}
