// The two buttons of the program's form dialogs: "OK" (also Enter) runs the
// dialog's own accept step, which ends the dialog or warns and keeps it
// open; "Отмена" (also Escape and the close box) ends it with IDCANCEL.
#pragma once

#include <windows.h>

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
