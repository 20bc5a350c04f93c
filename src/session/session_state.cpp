#include "session/session_state.h"

#include <string.h>

#include "base/codepage.h"
#include "base/text_fold.h"
#include "session/site.h"

const char kProductName[] = "Zumbara";
const char kProductVersion[] = "1.0";

const char kRoleAdmin[] = "admin";
const char kRoleMod[] = "mod";
const char kRoleGuest[] = "guest";

SessionState session;

void resetSessionState(SessionState& s)
{
    memset(&s, 0, sizeof s);
    s.socket = kNoSocket;
    s.nickColor.set("#000080");
    s.globalRole.set(kRoleGuest);
    s.roomRole.set(kRoleGuest);
    s.chatTitle.set(kProductName);
    s.colors.bg = rgbColor(0xFF, 0xFF, 0xFF);
    s.colors.text = rgbColor(0x00, 0x00, 0x00);
    s.colors.sys = rgbColor(0x00, 0x80, 0x00);
    s.colors.pm = rgbColor(0x80, 0x00, 0x80);
    s.colors.panel = rgbColor(0x99, 0x99, 0xCC);
    s.settings.host.set(kDefaultServerHost);
    s.settings.port = kDefaultPort;
    s.settings.codePage = 1251;
    s.settings.timestamps = true;
    s.settings.sound = true;
    s.settings.journal = true;
    s.settings.reconnect = true;
    s.settings.keepAliveTimeout = 70;
}

ConnectionState connectionState(const SessionState& s)
{
    if (s.socket == kNoSocket)
        return Disconnected;
    if (!s.connected)
        return Connecting;
    return s.welcomed ? LoggedIn : AwaitingWelcome;
}

// Nicks are stored cut to their field; a longer nick from the server or
// the user matches what was stored of it.
int findUser(const SessionState& s, const char* nick)
{
    Text<64> key;
    key.set(nick);
    for (int i = 0; i < s.userCount; i++)
        if (sameText(s.users[i].nick.s, key.s))
            return i;
    return -1;
}

bool appendUser(SessionState& s, const char* nick, Color color, const char* status, const char* role)
{
    if (s.userCount >= kMaxUsers)
        return false;
    UserEntry& u = s.users[s.userCount++];
    memset(&u, 0, sizeof u);
    u.nick.set(nick);
    u.color = color;
    u.status.set(status);
    u.role.set(role);
    return true;
}

void removeUserAt(SessionState& s, int index)
{
    if (index < 0 || index >= s.userCount)
        return;
    memmove(&s.users[index], &s.users[index + 1], (size_t)(s.userCount - index - 1) * sizeof(UserEntry));
    s.userCount--;
}

void clearUsers(SessionState& s) { s.userCount = 0; }

bool appendRoom(SessionState& s, const char* name, int32_t people, const char* third, const char* fourth)
{
    if (s.roomCount >= kMaxRooms)
        return false;
    RoomEntry& r = s.rooms[s.roomCount++];
    memset(&r, 0, sizeof r);
    r.name.set(name);
    r.people = people;
    r.third.set(third);
    r.fourth.set(fourth);
    return true;
}

void clearRooms(SessionState& s) { s.roomCount = 0; }

void setCfgValue(SessionState& s, const char* key, const char* value)
{
    // Keys compare as stored, so compare against the key cut to its field.
    Text<48> k;
    k.set(key);
    for (int i = 0; i < s.cfgCount; i++) {
        if (strcmp(s.cfg[i].key.s, k.s) == 0) {
            s.cfg[i].value.set(value);
            return;
        }
    }
    if (s.cfgCount >= kMaxCfg)
        return;
    CfgEntry& e = s.cfg[s.cfgCount++];
    e.key = k;
    e.value.set(value);
}

const char* getCfgValue(const SessionState& s, const char* key)
{
    for (int i = 0; i < s.cfgCount; i++)
        if (strcmp(s.cfg[i].key.s, key) == 0)
            return s.cfg[i].value.s;
    return nullptr;
}

int findIgnored(const SessionState& s, const char* nick)
{
    Text<64> key;
    key.set(nick);
    for (int i = 0; i < s.ignoredCount; i++)
        if (sameText(s.ignored[i].s, key.s))
            return i;
    return -1;
}

bool isIgnored(const SessionState& s, const char* nick) { return findIgnored(s, nick) >= 0; }

bool addIgnored(SessionState& s, const char* nick)
{
    if (s.ignoredCount >= kMaxIgnored)
        return false;
    s.ignored[s.ignoredCount++].set(nick);
    return true;
}

void removeIgnoredAt(SessionState& s, int index)
{
    if (index < 0 || index >= s.ignoredCount)
        return;
    memmove(&s.ignored[index], &s.ignored[index + 1], (size_t)(s.ignoredCount - index - 1) * sizeof(s.ignored[0]));
    s.ignoredCount--;
}

bool appendBannerItem(SessionState& s, int32_t id, const char* url, const char* link, int32_t weight, int32_t enabled)
{
    if (s.bannerItemCount >= kMaxBannerItems)
        return false;
    BannerItem& b = s.bannerItems[s.bannerItemCount++];
    memset(&b, 0, sizeof b);
    b.id = id;
    b.url.set(url);
    b.link.set(link);
    b.weight = weight;
    b.enabled = enabled;
    return true;
}

void clearBannerItems(SessionState& s) { s.bannerItemCount = 0; }

int32_t parseDecimal(const char* text)
{
    if (!text)
        return 0;
    while (*text == ' ' || *text == '\t')
        text++;
    bool negative = false;
    if (*text == '-' || *text == '+') {
        negative = *text == '-';
        text++;
    }
    int64_t v = 0;
    while (*text >= '0' && *text <= '9') {
        if (v <= 2147483648LL)
            v = v * 10 + (*text - '0');
        text++;
    }
    if (negative)
        v = -v;
    if (v > 2147483647LL)
        v = 2147483647LL;
    if (v < -2147483647LL - 1)
        v = -2147483647LL - 1;
    return (int32_t)v;
}

StatusClass classifyStatus(const char* st)
{
    if (!st || !*st || sameText(st, "ON-LINE") || sameText(st, "online"))
        return StatusAvailable;
    if (strstr(st, "отош") || strstr(st, "away") || strstr(st, "afk"))
        return StatusAway;
    if (strstr(st, "занят") || strstr(st, "busy"))
        return StatusBusy;
    if (strstr(st, "спл") || strstr(st, "сплю") || strstr(st, "sleep"))
        return StatusSleeping;
    if (strstr(st, "куша") || strncmp(st, "ем", strlen("ем")) == 0 || strstr(st, "eat"))
        return StatusEating;
    if (strstr(st, "не беспоко") || strstr(st, "dnd"))
        return StatusDoNotDisturb;
    return StatusAway;
}

bool isGlobalAdmin(const SessionState& s) { return strcmp(s.globalRole.s, kRoleAdmin) == 0; }

const char* roleDisplayName(const SessionState& s)
{
    if (isGlobalAdmin(s))
        return "АДМИНИСТРАТОР";
    if (strcmp(s.roomRole.s, kRoleMod) == 0)
        return "модератор комнаты";
    if (strcmp(s.globalRole.s, kRoleGuest) == 0)
        return "гость";
    return "пользователь";
}

bool adminPanelAvailable(const SessionState& s)
{
    return isGlobalAdmin(s) || strcmp(s.roomRole.s, kRoleMod) == 0 || strcmp(s.roomRole.s, kRoleAdmin) == 0;
}
