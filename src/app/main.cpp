// Program entry: initialises OLE and Windows Sockets 1.1 and the conversion
// code page, and releases them again on the way out.
#include <windows.h>
#include <ole2.h>

#include "win_codepage.h"
#include "win_transport.h"
#include "host.h"
#include "session_state.h"

static WinCodePage conversion;
static WinsockTransport transport;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    OleInitialize(nullptr);
    if (!startWinsock()) {
        MessageBoxA(nullptr, "Не удалось инициализировать Winsock.", kProductName, MB_OK | MB_ICONERROR);
        OleUninitialize();
        return 1;
    }
    resetSessionState(session);
    conversion.codePage = chooseConversionCodePage();
    session.settings.codePage = conversion.codePage;
    setConversionText(&conversion);
    ports.transport = &transport;

    stopWinsock();
    OleUninitialize();
    return 0;
}
