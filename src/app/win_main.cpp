// Program entry: prepares the process, reads the settings, creates the main
// window, greets, connects or asks for a login, and runs the message loop.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include "app/settings.h"
#include "app/win_settings.h"
#include "banners/win_banners.h"
#include "base/codepage.h"
#include "base/win_codepage.h"
#include "base/win_short_path.h"
#include "dialogs/win_about_dialog.h"
#include "dialogs/win_create_room_dialog.h"
#include "dialogs/win_login_dialog.h"
#include "dialogs/win_registration_dialog.h"
#include "dialogs/win_splash.h"
#include "journal/journal.h"
#include "journal/win_journal_files.h"
#include "log/win_log_find.h"
#include "session/connection.h"
#include "session/dispatch.h"
#include "session/protocol_log.h"
#include "session/session_state.h"
#include "session/site.h"
#include "session/win_transport.h"
#include "shell/control_ids.h"
#include "shell/win_main_window.h"
#include "shell/win_session_host.h"
#include "toolkit/win_dpi.h"
#include "toolkit/win_drawing.h"
#include "toolkit/win_fonts.h"
#include "toolkit/win_picture_sets.h"
#include "toolkit/win_text.h"

namespace {

WinCodePage conversion;
WinCodePage systemCodePage;
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
    systemCodePage.codePage = GetACP();
    setFileNameText(&systemCodePage);
    setPathShortener(shortPathOf);

    // Paths are the program's text (UTF-8) like every other; the ANSI file
    // functions get them back in the system's code page, or by their short
    // names where it cannot spell them.
    char module[3 * MAX_PATH];
    programFileName(module, sizeof module);
    WinStartupFiles files;
    chooseSettingsFile(module, files);
    profile.path = settingsPaths.settingsPath.s;
    loadSettings(profile);
    char settingsFolder[sizeof settingsPaths.settingsPath.s];
    folderOf(settingsPaths.settingsPath.s, settingsFolder, sizeof settingsFolder);
    startWinJournals(settingsFolder);
    bannerSettingsFile = settingsPaths.settingsPath.s;
    char ansi[3 * MAX_PATH];
    pathForSystem(protocolLogPath.s, ansi, sizeof ansi);
    DeleteFileA(ansi);

    // The scale of the primary display, where the splash and the main window
    // open; the main window follows its own display from then on.
    uiDpi = dpiOfWindow(nullptr);
    createFonts(uiDpi);
    InitCommonControls();

    // The command line without the program name, quoted or not.
    const char* options = skipProgramName(GetCommandLineA());
    CommandLineOptions opts = parseCommandLine(options);
    STARTUPINFOA start;
    start.cb = sizeof start;
    GetStartupInfoA(&start);
    int show = (start.dwFlags & STARTF_USESHOWWINDOW) ? start.wShowWindow : SW_SHOWDEFAULT;

    // The logo is made before the splash, which shows it too.
    logoImages = loadPictureSet(instance, IdLogoBitmap, 48, 1, uiDpi);
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
                         &bannerModel(),       &conversationJournals()};
    bannerFetcher = &winBannerFetcher();
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
