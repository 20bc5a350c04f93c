#include "shell/main_commands.h"

#include <string.h>

#include "base/bounded.h"
#include "base/codepage.h"
#include "base/text_fold.h"
#include "dialogs/registration.h"
#include "input/input_actions.h"
#include "input/input_history.h"
#include "journal/journal.h"
#include "people/people_view.h"
#include "session/commands.h"
#include "session/connection.h"
#include "session/host.h"
#include "session/reconnect.h"
#include "session/session_state.h"
#include "session/site.h"
#include "toolkit/palette.h"

MainWindowActions* mainWindow = nullptr;

namespace {

bool socketOpen() { return session.socket != kNoSocket; }
bool linkUp() { return socketOpen() && session.connected == 1; }

void logIn() { logError("Сначала войдите в чат."); }

void registerAccount()
{
    if (session.connected == 1) {
        logError("Сначала выйдите из чата (Чат -> Выйти), потом регистрируйтесь.");
        return;
    }
    if (mainWindow->showRegistrationDialog() == 1)
        connectWithRegistration();  // the same hand-over as the login flow's
}

void createRoom()
{
    if (!session.welcomed) {
        logIn();
        return;
    }
    if (strcmp(session.globalRole.s, kRoleGuest) == 0) {
        logError("Гости не могут создавать комнаты. Зарегистрируйтесь.");
        return;
    }
    mainWindow->showCreateRoomDialog();
}

void refreshLists()
{
    // suppressRoomLine stays as it is: the room line follows the user list.
    if (linkUp())
        sendLine("ROOMS");
    if (linkUp())
        sendLine("USERS");
}

void toMainRoom()
{
    if (linkUp())
        sendLine("JOIN Главная");
}

void clearLogView()
{
    ports.log->clearLog();
    ports.views->focusInput();
}

void flipSetting(bool& setting, int menuItem)
{
    setting = !setting;
    mainWindow->setMenuCheck(menuItem, setting);
    ports.host->saveSettings();
}

void unignoreAll()
{
    session.ignoredCount = 0;
    ports.host->saveSettings();
    ports.views->usersChanged();
    logSystem("Игнор-лист очищен.");
}

void administration()
{
    if (!session.welcomed) {
        logIn();
        return;
    }
    if (!adminPanelAvailable(session)) {
        logError("Панель доступна администраторам и модераторам комнаты.");
        return;
    }
    mainWindow->showAdminPanel();
}

// The nick of the user-list entry at index, or null when the index stands
// for no entry.
const char* userAt(int index)
{
    if (index < 0 || index >= session.userCount)
        return nullptr;
    return session.users[index].nick.s;
}

// 3009 and 3010: the selected person, or the error line.
const char* selectedPerson()
{
    const char* nick = userAt(mainWindow->selectedUser());
    if (!nick)
        logError("Выберите человека в списке справа.");
    return nick;
}

void privateToSelected()
{
    if (const char* nick = selectedPerson())
        startPrivate(nick);
}

void ignoreSelected()
{
    if (const char* nick = selectedPerson())
        toggleIgnore(nick);
}

void userListNotification(int code)
{
    if (code == kNotifySelChange) {
        addressClickedNick(userAt(mainWindow->selectedUser()));
    } else if (code == kNotifyDoubleClick) {
        privateToSelected();
    }
}

void roomBoxNotification(int code)
{
    if (code != kNotifySelChange)
        return;
    int i = mainWindow->selectedRoom();
    if (i >= 0 && i < session.roomCount && !sameText(session.rooms[i].name.s, session.currentRoom.s))
        sendFormatted("JOIN %s", session.rooms[i].name.s);
    ports.views->focusInput();
}

void colorBoxNotification(int code)
{
    if (code != kNotifySelChange)
        return;
    int i = mainWindow->selectedColor();
    if (i < 0 || i >= kPaletteSize)
        return;
    session.nickColor.set(kPalette[i].rgb);
    rememberSessionColor();
    ports.host->saveSettings();
    // Before WELCOME the colour only waits for the next LOGIN.
    if (session.welcomed)
        sendFormatted("COLOR %s", session.nickColor.s);
    mainWindow->repaintNickViews();
}

void statusBoxNotification(int code)
{
    if (code != kNotifySelChange && code != kNotifySelEndOk)
        return;
    int i = mainWindow->selectedStatus();
    if (i < 0 || i >= kStatusChoiceCount)
        return;
    const char* status = i == 0 ? "" : kStatusChoices[i];
    rememberSessionStatus(status);
    sendFormatted("STATUS %s", status);
}

} // namespace

void runMainCommand(int id, int notification)
{
    switch (id) {
    case CmdConnect:
        // The countdown of a reconnect stands while the dialog is open; a
        // login replaces the reconnect, a cancel lets it go on.
        pauseReconnect(true);
        mainWindow->runLoginFlow();
        pauseReconnect(false);
        break;
    case CmdDisconnect:
        disconnectCommand();
        break;
    case CmdRegister:
        registerAccount();
        break;
    case CmdExit:
        mainWindow->destroyWindow();
        break;
    case CmdCreateRoom:
    case IdCreateRoomButton:
        createRoom();
        break;
    case CmdRefresh:
        refreshLists();
        break;
    case CmdMainRoom:
        toMainRoom();
        break;
    case CmdClearLog:
        clearLogView();
        break;
    case CmdSound:
        flipSetting(session.settings.sound, CmdSound);
        break;
    case CmdTimestamps:
        flipSetting(session.settings.timestamps, CmdTimestamps);
        break;
    case CmdJournals:
        flipSetting(session.settings.journal, CmdJournals);
        break;
    case CmdJournalFolder:
        openJournalFolder();
        break;
    case CmdReconnect:
        flipSetting(session.settings.reconnect, CmdReconnect);
        if (!session.settings.reconnect)
            cancelReconnect("Переподключение отменено.");
        break;
    case CmdUnignoreAll:
        unignoreAll();
        break;
    case CmdAdminPanel:
        administration();
        break;
    case CmdAbout:
        mainWindow->showAboutDialog();
        break;
    case CmdWebSite:
        mainWindow->openUrl(kHomePageUrl);
        break;
    case CmdProtocolLog:
        showProtocolLog();
        break;
    case CmdForgotPassword:
        mainWindow->openUrl(kPasswordRecoveryUrl);
        break;
    case IdSend:
        submitAndRemember();
        break;
    case IdPrivate:
        privateToSelected();
        break;
    case IdIgnore:
        ignoreSelected();
        break;
    case IdUserList:
        userListNotification(notification);
        break;
    case IdRoomBox:
        roomBoxNotification(notification);
        break;
    case IdColorBox:
        colorBoxNotification(notification);
        break;
    case IdBanner:
        if (notification == kNotifyClicked)
            mainWindow->openBannerLink();
        break;
    case IdStatusBox:
        statusBoxNotification(notification);
        break;
    default:
        break;
    }
}

const char* tooltipText(int id)
{
    static char registerTip[192];
    static char siteTip[128];
    static bool built;
    if (!built) {
        formatText(registerTip, sizeof registerTip, "Регистрация: единый логин портала %s (почта, чат и всё остальное)",
                   kPortalDomain);
        copyText(siteTip, sizeof siteTip, kHomePageUrl);
        built = true;
    }
    switch (id) {
    case CmdConnect: return "Подключиться к чату (F2)";
    case CmdDisconnect: return "Выйти из чата";
    case CmdRegister: return registerTip;
    case CmdCreateRoom: return "Создать свою комнату";
    case CmdRefresh: return "Обновить списки (F5)";
    case CmdClearLog: return "Очистить окно";
    case CmdAdminPanel: return "Панель администратора";
    case CmdAbout: return "О программе";
    case CmdWebSite: return siteTip;
    case IdPrivate: return "Приват выбранному человеку";
    case IdIgnore: return "Игнорировать / снять игнор";
    default: return nullptr;
    }
}
