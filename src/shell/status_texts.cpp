#include "shell/status_texts.h"

#include "session/reconnect.h"

void statusBarTexts(const SessionState& s, char parts[kStatusBarParts][kStatusPartCap])
{
    for (int i = 0; i < kStatusBarParts; i++)
        parts[i][0] = '\0';
    if (!s.connected) {
        if (!reconnectStatusText(parts[0], kStatusPartCap))
            copyText(parts[0], kStatusPartCap, " Не подключено.  F2 - подключиться");
        return;
    }
    formatText(parts[0], kStatusPartCap, " %s @ %s:%d", s.ownNick.s, s.settings.host.s, s.settings.port);
    formatText(parts[1], kStatusPartCap, " Комната: %s", s.currentRoom.s);
    formatText(parts[2], kStatusPartCap, " Людей: %d", s.userCount);
    formatText(parts[3], kStatusPartCap, " Лаг: %d мс", (int)s.lag);
    formatText(parts[4], kStatusPartCap, " %s", roleDisplayName(s));
}

uint32_t millisecondsOnline(uint32_t now, uint32_t connectTick) { return now - connectTick; }

size_t formatTimeOnline(uint32_t ms, char* out, size_t cap)
{
    return formatText(out, cap, "%02lu:%02lu:%02lu", (unsigned long)(ms / 3600000u),
                      (unsigned long)(ms / 60000u % 60u), (unsigned long)(ms / 1000u % 60u));
}

size_t headerLagText(const SessionState& s, char* out, size_t cap)
{
    if (!s.connected)
        return copyText(out, cap, "не в сети");
    return formatText(out, cap, "Лаг %d мс", (int)s.lag);
}

size_t headerTimeText(const SessionState& s, uint32_t now, char* out, size_t cap)
{
    if (!s.connected)
        return copyText(out, cap, "--:--:--");
    return formatTimeOnline(millisecondsOnline(now, s.connectTick), out, cap);
}

size_t clockText(const SessionState& s, uint32_t now, char* out, size_t cap)
{
    return formatTimeOnline(s.connected ? millisecondsOnline(now, s.connectTick) : 0, out, cap);
}

size_t ownNickLabelText(const SessionState& s, char* out, size_t cap)
{
    return formatText(out, cap, "%s:", s.connected ? s.ownNick.s : "не в сети");
}

size_t peopleHeaderText(const SessionState& s, char* out, size_t cap)
{
    return formatText(out, cap, "Сейчас в чате: %d", s.userCount);
}
