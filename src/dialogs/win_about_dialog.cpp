#include "dialogs/win_about_dialog.h"

#include "base/bounded.h"
#include "dialogs/win_dialog_buttons.h"
#include "session/site.h"
#include "toolkit/win_drawing.h"
#include "toolkit/win_text.h"

INT_PTR CALLBACK aboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;

    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, 0);
            return TRUE;
        }
        return FALSE;

    case WM_DRAWITEM: {
        char tagline[3 * 160];
        formatText(tagline, sizeof tagline, "клиент чата %s для Windows 98-11", kChatSiteHost);
        return onHeaderDraw(lParam, IDC_ABOUT_HEADER, " Chat 1.0", tagline);
    }
    }
    return FALSE;
}

void runAboutDialog(HWND owner)
{
    runDialog(GetModuleHandleA(nullptr), IDD_ABOUT, owner, aboutDialogProc, 0);
}
