#include "admin/admin_rules.h"

#include <string.h>

#include "admin/admin_ids.h"
#include "base/bounded.h"

const PanelSetting kPanelSettings[kPanelSettingCount] = {
    {IDC_PANEL_TITLE, "chat_title", nullptr},
    {IDC_PANEL_MOTD, "motd", ""},
    {IDC_PANEL_COLOR_BG, "color_bg", "#FFFFFF"},
    {IDC_PANEL_COLOR_TEXT, "color_text", "#000000"},
    {IDC_PANEL_COLOR_SYS, "color_sys", "#008000"},
    {IDC_PANEL_COLOR_PM, "color_pm", "#800080"},
    {IDC_PANEL_COLOR_PANEL, "color_panel", "#9999CC"},
    {IDC_PANEL_ROTATE_SEC, "banner_rotate_sec", "60"},
    {IDC_PANEL_ROOM_TTL, "room_ttl_days", "7"},
    {IDC_PANEL_MAX_LEN, "max_msg_len", "500"},
    {IDC_PANEL_FLOOD_SEC, "flood_sec", "2"},
};

const PanelSetting kPanelSwitches[kPanelSwitchCount] = {
    {IDC_PANEL_GUESTS, "guest_allowed", "1"},
    {IDC_PANEL_CLOSED, "chat_closed", "0"},
};

const char* settingShown(const SessionState& s, const PanelSetting& setting)
{
    if (const char* value = getCfgValue(s, setting.key))
        return value;
    return setting.missing ? setting.missing : s.chatTitle.s;
}

namespace {

const char* switchValue(const SessionState& s, const PanelSetting& sw)
{
    const char* value = getCfgValue(s, sw.key);
    return value ? value : sw.missing;
}

} // namespace

bool switchShownOn(const SessionState& s, const PanelSetting& sw) { return parseDecimal(switchValue(s, sw)) != 0; }

bool settingChanged(const SessionState& s, const char* key, const char* text)
{
    const char* value = getCfgValue(s, key);
    return !value || strcmp(value, text) != 0;
}

const char* switchToSend(const SessionState& s, const PanelSetting& sw, bool ticked)
{
    const char* wanted = ticked ? "1" : "0";
    return strcmp(switchValue(s, sw), wanted) == 0 ? nullptr : wanted;
}

uint32_t unsignedField(const char* text)
{
    while (*text == ' ')
        text++;
    uint64_t n = 0;
    const char* c = text;
    for (; *c >= '0' && *c <= '9'; c++) {
        n = n * 10 + (uint64_t)(*c - '0');
        if (n > 0xFFFFFFFFull)
            return 0;
    }
    return (uint32_t)n;
}

void bannerRowText(const BannerItem& item, char* out, size_t cap)
{
    formatText(out, cap, "%s#%d w%d %s", item.enabled == 0 ? "(выкл) " : "", (int)item.id, (int)item.weight,
               item.url.s);
}

bool bannerPictureAccepted(const char* url) { return strncmp(url, "http://", 7) == 0; }

int32_t bannerWeightToSend(uint32_t typed)
{
    if (typed == 0 || typed > 2147483647u)
        return 10;
    return (int32_t)typed;
}

int32_t toggledState(const BannerItem& item) { return item.enabled == 0 ? 1 : 0; }

const char* topicWithoutLabel(const char* text)
{
    static const char kLabel[] = "Тема: ";
    size_t n = sizeof kLabel - 1;
    return strncmp(text, kLabel, n) == 0 ? text + n : text;
}
