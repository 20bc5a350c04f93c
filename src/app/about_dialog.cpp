#include "about_dialog.h"

#include "bounded.h"
#include "drawing.h"
#include "site.h"
#include "win_text.h"

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
        const DRAWITEMSTRUCT* item = (const DRAWITEMSTRUCT*)lParam;
        if (!item || item->CtlID != IDC_ABOUT_HEADER)
            return FALSE;
        char tagline[160];
        formatText(tagline, sizeof tagline, "клиент чата %s для Windows 98-11", kChatSiteHost);
        drawDialogHeader(item, " Chat 1.0", tagline, logoImages, fontLogo, fontSmall);
        return TRUE;
    }
    }
    return FALSE;
}

void runAboutDialog(HWND owner)
{
    runDialog(GetModuleHandleA(nullptr), IDD_ABOUT, owner, aboutDialogProc, 0);
}
