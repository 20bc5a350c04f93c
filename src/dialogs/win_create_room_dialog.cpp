#include "dialogs/win_create_room_dialog.h"

#include "dialogs/room_request.h"
#include "dialogs/win_dialog_buttons.h"
#include "session/session_state.h"
#include "toolkit/win_text.h"

namespace {

void submit(HWND dialog)
{
    Text<kRoomNameCap> name;
    Text<kRoomDescriptionCap> description;
    getItemText(dialog, IDC_ROOM_NAME, name);
    getItemText(dialog, IDC_ROOM_DESCRIPTION, description);
    switch (requestRoom(name.s, description.s)) {
    case RoomNameMissing:
        messageBox(dialog, "Введите название комнаты.", kProductName, MB_OK | MB_ICONWARNING);
        SendMessageA(dialog, WM_NEXTDLGCTL, (WPARAM)GetDlgItem(dialog, IDC_ROOM_NAME), TRUE);
        break;
    case RoomRequestSent:
        EndDialog(dialog, IDOK);
        break;
    case RoomNotConnected:
        EndDialog(dialog, IDCANCEL);
        break;
    }
}

} // namespace

INT_PTR CALLBACK createRoomDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        SendDlgItemMessageA(dialog, IDC_ROOM_NAME, EM_LIMITTEXT, kRoomNameTypingLimit, 0);
        SendDlgItemMessageA(dialog, IDC_ROOM_DESCRIPTION, EM_LIMITTEXT, kRoomDescriptionCap - 1, 0);
        return TRUE;  // the focus goes to the first tab stop, the name

    case WM_COMMAND:
        return onOkOrCancel(dialog, wParam, submit);
    }
    return FALSE;
}

void runCreateRoomDialog(HWND owner)
{
    runDialog(GetModuleHandleA(nullptr), IDD_CREATE_ROOM, owner, createRoomDialogProc, 0);
}
