// Program entry: prepares the process, reads the settings, creates the main
// window, greets, connects or asks for a login, and runs the message loop.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include "about_dialog.h"
#include "connection.h"
#include "create_room_dialog.h"
#include "control_ids.h"
#include "dispatch.h"
#include "drawing.h"
#include "fonts.h"
#include "log_find.h"
#include "login_dialog.h"
#include "main_window.h"
#include "protocol_log.h"
#include "registration_dialog.h"
#include "session_state.h"
#include "settings.h"
#include "site.h"
#include "splash.h"
#include "win_codepage.h"
#include "win_journal_files.h"
#include "win_session_host.h"
#include "win_settings.h"
#include "win_text.h"
#include "win_transport.h"

namespace {

WinCodePage conversion;
WinsockTransport transport;
WinSessionHost host;
WinProfileStore profile;

HACCEL createAccelerators()
{
    ACCEL keys[] = {
        {FVIRTKEY, VK_F2, CmdConnect},
        {FVIRTKEY, VK_F5, CmdRefresh},
        {FVIRTKEY | FCONTROL, 'F', CmdFindInLog},
        {FVIRTKEY, VK_F3, CmdFindNext},
    };
    return CreateAcceleratorTableA(keys, (int)(sizeof keys / sizeof keys[0]));
}

void greet()
{
    logSystemF("Zumbara 1.0 — клиент чата %s", kChatSiteHost);
    if (settingsPaths.portableMode)
        logSystem("Портабельный режим: настройки хранятся рядом с программой.");
    else
        logSystemF("Нажмите F2 или Чат -> Подключиться. Вход — логин и пароль ящика %s, гости — без пароля. "
                   "Команды: /help",
                   kPortalMailSite);
}

} // namespace

void saveSettingsNow() { saveSettings(profile); }

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    OleInitialize(nullptr);
    if (!startWinsock()) {
        messageBox(nullptr, "Не удалось инициализировать Winsock.", kProductName, MB_OK | MB_ICONERROR);
        return 1;
    }
    resetSessionState(session);
    conversion.codePage = chooseConversionCodePage();
    session.settings.codePage = conversion.codePage;
    setConversionText(&conversion);

    char module[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, module, sizeof module);
    WinStartupFiles files;
    chooseSettingsFile(module, files);
    profile.path = settingsPaths.settingsPath.s;
    loadSettings(profile);
    startWinJournals(settingsPaths.settingsPath.s);
    DeleteFileA(protocolLogPath.s);

    createFonts();
    InitCommonControls();

    // The command line without the program name, quoted or not.
    const char* options = skipProgramName(GetCommandLineA());
    CommandLineOptions opts = parseCommandLine(options);
    STARTUPINFOA start;
    start.cb = sizeof start;
    GetStartupInfoA(&start);
    int show = (start.dwFlags & STARTF_USESHOWWINDOW) ? start.wShowWindow : SW_SHOWDEFAULT;

    // The logo is made before the splash, which shows it too.
    logoImages = loadImageStrip(instance, IdLogoBitmap, 48, 1);
    if (!opts.noSplash)
        runSplash(instance);

    registerMainWindowClass(instance);
    // The session's seams are in place before the window exists: its
    // creation already writes to the log and refreshes the status views.
    transport.notifyWindow = nullptr;
    host.writeSettings = saveSettingsNow;
    showRegistrationDialog = runRegistrationDialog;
    showCreateRoomDialogEntry = runCreateRoomDialog;
    showAboutDialogEntry = runAboutDialog;
    ports = SessionPorts{&transport,           &host,
                         nullptr,              &serverLineDispatcher(),
                         &mainWindowViews(),   &mainWindowPanel(),
                         &mainWindowBanners()};
    HWND window = createMainWindow(instance);
    if (!window) {
        stopWinsock();
        OleUninitialize();
        return 1;
    }
    transport.notifyWindow = window;
    host.window = window;
    updateMenuChecks();
    ShowWindow(window, show);
    UpdateWindow(window);
    greet();

    HACCEL accelerators = createAccelerators();
    if (opts.autoConnect && !session.loginNick.empty())
        connectToServer();
    else
        runLoginFlow(window);

    MSG msg;
    while (getMessage(&msg) > 0) {
        // The accelerators are virtual keys, the same to either form.
        if (!TranslateAcceleratorA(window, accelerators, &msg) && !isDialogMessage(findLogWindow(), &msg)) {
            TranslateMessage(&msg);
            dispatchMessage(&msg);
        }
    }
    stopWinsock();
    OleUninitialize();
    return 0;
}
