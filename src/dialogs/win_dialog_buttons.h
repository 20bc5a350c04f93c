// What the program's dialogs share: the two buttons of the form dialogs
// ("OK", also Enter, runs the dialog's own accept step, which ends the dialog
// or warns and keeps it open; "Отмена", also Escape and the close box, ends
// it with IDCANCEL), and the owner-drawn header strip at their top.
#pragma once

#include <windows.h>

#include "toolkit/win_drawing.h"

// For WM_COMMAND: TRUE when the command was one of the two and is handled.
inline INT_PTR onOkOrCancel(HWND dialog, WPARAM wParam, void (*accept)(HWND))
{
    if (HIWORD(wParam) != BN_CLICKED)
        return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK:
        accept(dialog);
        return TRUE;
    case IDCANCEL:
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}

// For WM_DRAWITEM: paints the dialog's header control headerId with the
// wordmark suffix and the tagline; FALSE, drawing nothing, for any other item.
inline INT_PTR onHeaderDraw(LPARAM lParam, int headerId, const char* suffix, const char* tagline)
{
    const DRAWITEMSTRUCT* item = (const DRAWITEMSTRUCT*)lParam;
    if (!item || item->CtlID != (UINT)headerId)
        return FALSE;
    drawDialogHeader(item, suffix, tagline, logoImages, fontLogo, fontSmall);
    return TRUE;
}
