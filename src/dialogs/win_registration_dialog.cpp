#include "dialogs/win_registration_dialog.h"

#include "base/bounded.h"
#include "dialogs/registration.h"
#include "dialogs/win_dialog_buttons.h"
#include "dialogs/win_login_dialog.h"
#include "session/session_state.h"
#include "session/site.h"
#include "toolkit/win_drawing.h"
#include "toolkit/win_text.h"

namespace {

const char kTagline[] = "регистрация  ~  один логин на почту, чат и весь портал";
const char kBoxTitle[] = "Регистрация";

void initDialog(HWND dialog)
{
    char text[3 * 512];
    formatText(text, sizeof text, "Регистрация на портале %s", kPortalDomain);
    setWindowText(dialog, text);
    formatText(text, sizeof text, "@%s", kPortalDomain);
    setItemText(dialog, IDC_REG_DOMAIN, text);
    formatText(text, sizeof text,
               "Это единый логин портала %s: он же — почтовый ящик логин@%s, вход в этот чат, веб-чат и "
               "другие продукты сайта.",
               kPortalDomain, kPortalDomain);
    setItemText(dialog, IDC_REG_NOTE, text);

    HWND questions = GetDlgItem(dialog, IDC_REG_QUESTION);
    for (const char* q : kSecretQuestions)
        addComboItem(questions, q);
    SendMessageA(questions, CB_SETCURSEL, 0, 0);
    // A question of the user's own is read up to the field's bound: he sees all that goes out.
    SendMessageA(questions, CB_LIMITTEXT, session.registration.question.capacity - 1, 0);

    SendDlgItemMessageA(dialog, IDC_REG_LOGIN, EM_LIMITTEXT, kRegistrationLoginTypingLimit, 0);
    SendDlgItemMessageA(dialog, IDC_REG_PASSWORD, EM_LIMITTEXT, kRegistrationPasswordTypingLimit, 0);
    SendDlgItemMessageA(dialog, IDC_REG_REPEAT, EM_LIMITTEXT, kRegistrationPasswordTypingLimit, 0);
    SendDlgItemMessageA(dialog, IDC_REG_ANSWER, EM_LIMITTEXT, kRegistrationAnswerTypingLimit, 0);
}

int fieldToMend(RegistrationFault fault)
{
    switch (fault) {
    case RegistrationBadLogin: return IDC_REG_LOGIN;
    case RegistrationShortPassword: return IDC_REG_PASSWORD;
    case RegistrationPasswordsDiffer: return IDC_REG_REPEAT;
    default: return IDC_REG_ANSWER;
    }
}

// "Зарегистрировать »": the form goes into session.registration whatever
// the outcome; only a form that passes every rule ends the dialog.
void submit(HWND dialog)
{
    RegistrationRequest& r = session.registration;
    getItemText(dialog, IDC_REG_LOGIN, r.login);
    getItemText(dialog, IDC_REG_PASSWORD, r.password);
    Text<64> repeated;
    getItemText(dialog, IDC_REG_REPEAT, repeated);
    getItemText(dialog, IDC_REG_QUESTION, r.question);
    getItemText(dialog, IDC_REG_ANSWER, r.answer);

    RegistrationFault fault = checkRegistration(r, repeated.s);
    if (fault == RegistrationAccepted) {
        EndDialog(dialog, IDOK);
        return;
    }
    messageBox(dialog, registrationFaultText(fault), kBoxTitle, MB_OK | MB_ICONWARNING);
    // As a Tab would: the field gets the focus with its text selected.
    SendMessageA(dialog, WM_NEXTDLGCTL, (WPARAM)GetDlgItem(dialog, fieldToMend(fault)), TRUE);
}

} // namespace

INT_PTR CALLBACK registrationDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        initDialog(dialog);
        return TRUE;  // the focus goes to the first tab stop, the login field

    case WM_COMMAND:
        return onOkOrCancel(dialog, wParam, submit);

    case WM_DRAWITEM:
        return onHeaderDraw(lParam, IDC_REG_HEADER, portalDomainSuffix(), kTagline);
    }
    return FALSE;
}

int runRegistrationDialog(HWND owner)
{
    return (int)runDialog(GetModuleHandleA(nullptr), IDD_REGISTRATION, owner, registrationDialogProc, 0);
}
