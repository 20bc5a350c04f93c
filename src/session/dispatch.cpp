#include "session/dispatch.h"

#include <string.h>

#include "base/codepage.h"
#include "base/text_fold.h"
#include "session/call_user.h"
#include "session/connection.h"
#include "session/mention.h"
#include "session/reconnect.h"
#include "session/session_state.h"
#include "session/site.h"

namespace {

// Field n (1 to 8) of the line; empty when the line does not carry it.
inline const char* field(const ParsedLine& p, int n) { return p.field[n - 1]; }

bool panelOpen() { return ports.panel->isOpen(); }

void journalLine(JournalLineKind kind, const char* who, const char* text)
{
    if (ports.journal)
        ports.journal->line(kind, who, text);
}

// ---- Chat traffic ------------------------------------------------------

void onMsg(const ParsedLine& p)
{
    if (isIgnored(session, field(p, 2)))
        return;
    Color text = session.colors.text;
    bool mention = isMention(field(p, 2), field(p, 4), session.ownNick.s);
    ports.log->logMarkedLine(field(p, 1), nullptr, field(p, 2), parseColor(field(p, 3), text), field(p, 4), text,
                             kLineLinks | (mention ? kLineMention : 0));
    journalLine(JournalChat, field(p, 2), field(p, 4));
    if (mention)
        callUser();
}

void onSys(const ParsedLine& p)
{
    ports.log->logMarkedLine(field(p, 1), "* ", nullptr, 0, field(p, 2), session.colors.sys, kLineLinks);
    journalLine(JournalSystem, nullptr, field(p, 2));
}

void onPm(const ParsedLine& p)
{
    if (isIgnored(session, field(p, 2)))
        return;
    char prefix[3 * 128];
    formatText(prefix, sizeof prefix, "[приват от %s] ", field(p, 2));
    ports.log->logMarkedLine(field(p, 1), prefix, nullptr, 0, field(p, 4), session.colors.pm, kLineLinks);
    journalLine(JournalPrivateFrom, field(p, 2), field(p, 4));
    callUser();
}

void onPmSent(const ParsedLine& p)
{
    char prefix[3 * 128];
    formatText(prefix, sizeof prefix, "[приват для %s] ", field(p, 2));
    ports.log->logMarkedLine(field(p, 1), prefix, nullptr, 0, field(p, 3), session.colors.pm, kLineLinks);
    journalLine(JournalPrivateTo, field(p, 2), field(p, 3));
}

void onNotice(const ParsedLine& p)
{
    ports.log->logMarkedLine(nullptr, "ОБЪЯВЛЕНИЕ: ", nullptr, 0, field(p, 1), kColorNotice, kLineLinks);
    journalLine(JournalNotice, nullptr, field(p, 1));
}

// ---- Users -------------------------------------------------------------

void onUserList(const ParsedLine& p)
{
    clearUsers(session);
    session.currentRoom.set(field(p, 1));
    reconnectRoomListed(field(p, 1));
}

void onUser(const ParsedLine& p)
{
    appendUser(session, field(p, 1), parseColor(field(p, 2), session.colors.text), field(p, 3), field(p, 4));
    if (sameText(field(p, 1), session.ownNick.s))
        session.roomRole.set(field(p, 4));
}

void onUserEnd(const ParsedLine&)
{
    ports.views->usersChanged();
    ports.views->roomsChanged();
    if (session.welcomed == 1 && session.suppressRoomLine == 0) {
        char line[3 * 400];
        formatText(line, sizeof line, "Вы в комнате «%s». Людей: %d", session.currentRoom.s, session.userCount);
        logSystem(line);
        journalLine(JournalSystem, nullptr, line);
    }
    session.suppressRoomLine = 0;
}

void onJoin(const ParsedLine& p)
{
    if (findUser(session, field(p, 1)) < 0)
        appendUser(session, field(p, 1), parseColor(field(p, 2), session.colors.text), "", field(p, 3));
    ports.views->usersChanged();
}

void onPart(const ParsedLine& p)
{
    removeUserAt(session, findUser(session, field(p, 1)));
    ports.views->usersChanged();
}

void onStatus(const ParsedLine& p)
{
    int i = findUser(session, field(p, 1));
    if (i < 0)
        return;
    session.users[i].status.set(field(p, 2));
    ports.views->usersChanged();
}

// ---- Rooms and topic ---------------------------------------------------

void onRoomList(const ParsedLine&) { clearRooms(session); }

void onRoom(const ParsedLine& p)
{
    appendRoom(session, field(p, 1), parseDecimal(field(p, 2)), field(p, 3), field(p, 4));
}

void onRoomEnd(const ParsedLine&) { ports.views->roomsChanged(); }

void onTopic(const ParsedLine& p)
{
    ports.views->showTopic(field(p, 1));
    if (*field(p, 2)) {
        // Only the topic is searched for web links: the nick goes in the
        // prefix, so a nick that looks like an address is never one.
        char prefix[3 * 400];
        formatText(prefix, sizeof prefix, "* Топик изменил %s: ", field(p, 2));
        ports.log->logMarkedLine(nullptr, prefix, nullptr, 0, field(p, 1), session.colors.sys, kLineLinks);
        // The received line held both fields: its bound and the words.
        static char line[kDecodedLineCap + 64];
        formatText(line, sizeof line, "Топик изменил %s: %s", field(p, 2), field(p, 1));
        journalLine(JournalSystem, nullptr, line);
    }
    if (panelOpen())
        ports.panel->setTopic(field(p, 1));
}

// ---- Login -------------------------------------------------------------

void onHello(const ParsedLine& p)
{
    if (!reconnectQuiet())
        logSystemF("Сервер: %s (%s)", field(p, 2), field(p, 1));
}

void onWelcome(const ParsedLine& p)
{
    SessionState& s = session;
    s.welcomed = 1;
    s.ownNick.set(field(p, 1));
    s.globalRole.set(field(p, 2));
    s.chatTitle.set(field(p, 3));
    char greeting[3 * 1024];
    formatText(greeting, sizeof greeting, "* * * %s * * *", field(p, 4));
    ports.log->logMarkedLine(nullptr, nullptr, nullptr, 0, greeting, kColorGreeting, kLineLinks);
    logSystemF("Вы вошли как %s (%s)", s.ownNick.s, s.globalRole.s);
    ports.host->stopTimer(kTimerWelcomeWait);
    ports.host->startTimer(kTimerKeepAlive, 20000);
    ports.host->startTimer(kTimerRefresh, 30000);
    ports.views->focusInput();
    ports.views->statusChanged();
    reconnectWelcomed();
}

void onPong(const ParsedLine&)
{
    session.lag = (int32_t)(ports.host->tickCount() - session.pingTick);
    ports.views->statusChanged();
}

// ---- Acknowledgements and errors ---------------------------------------

void onOk(const ParsedLine& p)
{
    const char* what = field(p, 1);
    if (strcmp(what, "REG") == 0) {
        session.registrationPending = 0;
        const char* nick = session.loginNick.s;
        char title[3 * 256];
        formatText(title, sizeof title, "Добро пожаловать на портал %s!", kPortalDomain);
        char text[3 * 2048];
        formatText(text, sizeof text,
                   "Регистрация прошла успешно!\r\n\r\nВы получили единый логин на %s: %s\r\n\r\n"
                   "Это ваш почтовый ящик %s@%s на %s, вход в этот чат, в веб-чат на сайте и во все "
                   "остальные продукты портала %s — один логин и пароль на всё.\r\n\r\n"
                   "Секретный вопрос и ответ запомните: только по ним можно восстановить пароль.",
                   kPortalDomain, nick, nick, kPortalDomain, kPortalMailSite, kPortalDomain);
        ports.host->messageBox(text, title, IconInformation);
        logSystemF("Вы зарегистрированы на портале %s. Сейчас войдём в чат с новым логином...", kPortalDomain);
    } else if (strcmp(what, "SETCFG") == 0) {
        if (panelOpen())
            ports.panel->setStatusText("Сохранено.");
    } else if (strcmp(what, "BANNERADD") == 0 || strcmp(what, "BANNERDEL") == 0 ||
               strcmp(what, "BANNERTOGGLE") == 0) {
        if (panelOpen())
            ports.panel->setStatusText("Сохранено.");
        sendIfConnected("BANNERS");
    } else if (*field(p, 2)) {
        logSystem(field(p, 2));
    }
}

bool isLoginRefusal(const char* code)
{
    return strcmp(code, "401") == 0 || strcmp(code, "409") == 0 || strcmp(code, "423") == 0 ||
           strcmp(code, "503") == 0;
}

void onErr(const ParsedLine& p)
{
    char text[3 * 1024];
    formatText(text, sizeof text, "Ошибка %s: %s", field(p, 1), field(p, 2));
    if (!reconnectQuietRefusal(field(p, 1)))
        logError(text);
    if (panelOpen())
        ports.panel->setStatusText(text);
    if (session.registrationPending == 1) {
        session.registrationPending = 0;
        ports.host->messageBox(field(p, 2), "Регистрация не удалась", IconWarning);
        disconnect(nullptr);
    } else if (session.welcomed == 0 && reconnectRefused(field(p, 1))) {
        // A try of the reconnect was refused for now: it goes on by itself.
    } else if (session.welcomed == 0 && isLoginRefusal(field(p, 1))) {
        ports.host->messageBox(field(p, 2), "Вход не удался", IconWarning);
    } else if (session.welcomed == 1) {
        reconnectRefusedAfterWelcome();
    }
}

void onKicked(const ParsedLine& p)
{
    logErrorF("Вас выкинули из чата: %s", field(p, 1));
    reconnectForbid();
}

void onBanned(const ParsedLine& p)
{
    logErrorF("Вы забанены до %s: %s", field(p, 1), field(p, 2));
    reconnectForbid();
}

// ---- Server configuration ----------------------------------------------

void onCfg(const ParsedLine& p) { setCfgValue(session, field(p, 1), field(p, 2)); }

void applyColor(const char* key, Color& color) { color = parseColor(getCfgValue(session, key), color); }

void onCfgEnd(const ParsedLine&)
{
    SessionState& s = session;
    if (const char* title = getCfgValue(s, "chat_title"))
        s.chatTitle.set(title);
    applyColor("color_bg", s.colors.bg);
    applyColor("color_text", s.colors.text);
    applyColor("color_sys", s.colors.sys);
    applyColor("color_pm", s.colors.pm);
    applyColor("color_panel", s.colors.panel);
    ports.views->colorsChanged();
    ports.views->statusChanged();
    if (panelOpen())
        ports.panel->postRefresh(1);
}

// ---- Banners -----------------------------------------------------------

void onBanner(const ParsedLine& p) { ports.banners->show(field(p, 1), field(p, 2), field(p, 3)); }
void onBannerList(const ParsedLine&) { ports.banners->catalogueBegin(); }
void onBannerItem(const ParsedLine& p)
{
    ports.banners->catalogueItem(field(p, 1), field(p, 2), field(p, 3), field(p, 4), field(p, 5));
}
void onBannerEnd(const ParsedLine&) { ports.banners->catalogueEnd(); }

// ---- Anything else -----------------------------------------------------

void onUnknown(const ParsedLine& p)
{
    char command[3 * 40 + 1], first[3 * 240 + 1], text[sizeof command + sizeof first + 1];
    copyUnits(command, sizeof command, p.command, (size_t)-1, 40);
    copyUnits(first, sizeof first, field(p, 1), (size_t)-1, 240);
    formatText(text, sizeof text, "%s %s", command, first);
    for (char* c = text; *c; c++)
        if (*c == '\t')
            *c = '|';
    ports.log->logLine(nullptr, "?? неизвестная команда сервера: ", nullptr, 0, text, kColorUnknown);
}

struct LineRule {
    const char* command;
    void (*handle)(const ParsedLine&);
};

const LineRule kRules[] = {
    {"MSG", onMsg},           {"SYS", onSys},
    {"PM", onPm},             {"PMSENT", onPmSent},
    {"NOTICE", onNotice},     {"USERLIST", onUserList},
    {"USER", onUser},         {"USEREND", onUserEnd},
    {"JOIN", onJoin},         {"PART", onPart},
    {"STATUS", onStatus},     {"ROOMLIST", onRoomList},
    {"ROOM", onRoom},         {"ROOMEND", onRoomEnd},
    {"TOPIC", onTopic},       {"HELLO", onHello},
    {"WELCOME", onWelcome},   {"PONG", onPong},
    {"OK", onOk},             {"ERR", onErr},
    {"KICKED", onKicked},     {"BANNED", onBanned},
    {"CFG", onCfg},           {"CFGEND", onCfgEnd},
    {"BANNER", onBanner},     {"BANNERLIST", onBannerList},
    {"BANNERITEM", onBannerItem}, {"BANNEREND", onBannerEnd},
};

struct SessionDispatcher final : LineHandler {
    void dispatchServerLine(const ParsedLine& line) override { ::dispatchServerLine(line); }
};

SessionDispatcher dispatcher;

} // namespace

void dispatchServerLine(const ParsedLine& line)
{
    for (const LineRule& rule : kRules) {
        if (strcmp(line.command, rule.command) == 0) {
            rule.handle(line);
            return;
        }
    }
    onUnknown(line);
}

LineHandler& serverLineDispatcher() { return dispatcher; }
