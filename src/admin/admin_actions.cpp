#include "admin/admin_actions.h"

#include <string.h>

#include "admin/admin_ids.h"
#include "admin/admin_rules.h"
#include "base/bounded.h"
#include "session/connection.h"
#include "session/protocol.h"
#include "session/session_state.h"
#include "toolkit/control_notify.h"

const char kPanelSentText[] = "Отправлено на сервер...";
const char kPanelModeratorText[] = "Вы модератор комнаты: доступна только модерация.";
const char kPanelBadUrlText[] = "URL картинки должен начинаться с http:// (не https) и быть GIF/JPG/BMP.";
const char kPanelNotConnectedText[] = "Нет соединения с сервером — ничего не отправлено.";

namespace {

// The characters each field keeps, with the NUL: its Text<N>.
enum {
    kNickCap = 64,
    kReasonCap = 128,
    kSettingCap = 256,
    kBannerTextCap = 256,
    kTopicCap = 500,
    kMainTopicCap = 300,
    kNumberCap = 32,
};

bool linkUp() { return session.socket != kNoSocket && session.connected == 1; }

// Every request goes out only over a live connection; without one the
// status line says that nothing was sent.
bool canSend(PanelForm& form)
{
    if (linkUp())
        return true;
    form.setText(IDC_PANEL_STATUS, kPanelNotConnectedText);
    return false;
}

// A text field as one protocol field: cut to its field, TABs and line
// breaks made blanks.
template <size_t N>
void readFlat(PanelForm& form, int id, Text<N>& field)
{
    char text[sizeof field.s];
    text[0] = '\0';
    form.getText(id, text, sizeof text);
    field.set(text);
    flattenText(field.s);
}

// The same without leading blanks and trailing blanks; the result points
// into the field.
template <size_t N>
const char* readTrimmed(PanelForm& form, int id, Text<N>& field)
{
    readFlat(form, id, field);
    return trimLine(field.s);
}

uint32_t readUnsigned(PanelForm& form, int id)
{
    Text<kNumberCap> text;
    readFlat(form, id, text);
    return unsignedField(text.s);
}

// The catalogue item of the list's selection, or null without a valid one.
const BannerItem* selectedItem(PanelForm& form)
{
    int row = form.selectedRow();
    if (row < 0 || row >= session.bannerItemCount)
        return nullptr;
    return &session.bannerItems[row];
}

void saveSettings(PanelForm& form)
{
    if (!canSend(form))
        return;
    const SessionState& s = session;
    for (const PanelSetting& setting : kPanelSettings) {
        Text<kSettingCap> text;
        readFlat(form, setting.control, text);
        if (settingChanged(s, setting.key, text.s))
            sendFormatted("SETCFG %s\t%s", setting.key, text.s);
    }
    for (const PanelSetting& sw : kPanelSwitches)
        if (const char* value = switchToSend(s, sw, form.isChecked(sw.control)))
            sendFormatted("SETCFG %s\t%s", sw.key, value);
    form.setText(IDC_PANEL_STATUS, kPanelSentText);
}

void showSelectedBanner(PanelForm& form)
{
    const BannerItem* item = selectedItem(form);
    if (!item)
        return;
    form.setText(IDC_PANEL_URL, item->url.s);
    form.setText(IDC_PANEL_LINK, item->link.s);
    char weight[kNumberCap];
    formatText(weight, sizeof weight, "%u", (unsigned)item->weight);
    form.setText(IDC_PANEL_WEIGHT, weight);
}

void addBanner(PanelForm& form)
{
    uint32_t weight = readUnsigned(form, IDC_PANEL_WEIGHT);
    Text<kBannerTextCap> urlText, linkText;
    const char* url = readTrimmed(form, IDC_PANEL_URL, urlText);
    const char* link = readTrimmed(form, IDC_PANEL_LINK, linkText);
    if (!bannerPictureAccepted(url)) {
        form.setText(IDC_PANEL_STATUS, kPanelBadUrlText);
        return;
    }
    if (canSend(form))
        sendFormatted("BANNERADD %s\t%s\t%d", url, link, (int)bannerWeightToSend(weight));
}

void deleteBanner(PanelForm& form)
{
    const BannerItem* item = selectedItem(form);
    if (item && canSend(form))
        sendFormatted("BANNERDEL %d", (int)item->id);
}

void toggleBanner(PanelForm& form)
{
    const BannerItem* item = selectedItem(form);
    if (item && canSend(form))
        sendFormatted("BANNERTOGGLE %d\t%d", (int)item->id, (int)toggledState(*item));
}

// The five moderation buttons: each sends one request about the nick.
void moderate(PanelForm& form, int id, const char* nick, const char* reason)
{
    if (!*nick || !canSend(form))
        return;
    switch (id) {
    case IDC_PANEL_KICK:
        sendFormatted("KICK %s\t%s", nick, reason);
        break;
    case IDC_PANEL_BAN:
        sendFormatted("BAN %s\t%u\t%s", nick, (unsigned)readUnsigned(form, IDC_PANEL_MINUTES), reason);
        break;
    case IDC_PANEL_UNBAN:
        sendFormatted("UNBAN %s", nick);
        break;
    case IDC_PANEL_MOD:
        sendFormatted("MOD %s", nick);
        break;
    case IDC_PANEL_UNMOD:
        sendFormatted("UNMOD %s", nick);
        break;
    }
}

void setTopic(PanelForm& form)
{
    Text<kTopicCap> topic;
    readFlat(form, IDC_PANEL_TOPIC, topic);
    if (canSend(form))
        sendFormatted("TOPIC %s", topic.s);  // an empty topic clears it
}

void deleteRoom(PanelForm& form)
{
    if (!canSend(form))
        return;
    char question[3 * 256];
    formatText(question, sizeof question, "Удалить комнату «%s»? Все будут переведены в Главную.",
               session.currentRoom.s);
    // The room may change while the question is up: the request names the
    // room the user was asked about.
    Text<64> room;
    room.set(session.currentRoom.s);
    if (form.askYesNo(question) && canSend(form))
        sendFormatted("ROOMDEL %s", room.s);
}

} // namespace

void fillAdminPanel(PanelForm& form)
{
    const SessionState& s = session;
    bool admin = isGlobalAdmin(s);
    for (int id = IDC_PANEL_ADMIN_FIRST; id <= IDC_PANEL_ADMIN_LAST; id++)
        form.enable(id, admin);
    for (const PanelSetting& setting : kPanelSettings)
        form.setText(setting.control, settingShown(s, setting));
    for (const PanelSetting& sw : kPanelSwitches)
        form.setChecked(sw.control, switchShownOn(s, sw));

    char read[3 * kMainTopicCap] = "";
    form.mainTopic(read, sizeof read);
    Text<kMainTopicCap> topic;
    topic.set(read);
    form.setText(IDC_PANEL_TOPIC, topicWithoutLabel(topic.s));
    if (!admin)
        form.setText(IDC_PANEL_STATUS, kPanelModeratorText);
}

void initAdminPanel(PanelForm& form)
{
    fillAdminPanel(form);
    form.setText(IDC_PANEL_WEIGHT, "10");
    form.setText(IDC_PANEL_MINUTES, "60");
    if (linkUp()) {
        sendLine("CFG");
        if (isGlobalAdmin(session))
            sendLine("BANNERS");
    }
    int user = form.selectedUser();
    if (user >= 0 && user < session.userCount)
        form.setText(IDC_PANEL_NICK, session.users[user].nick.s);
}

void rebuildBannerList(PanelForm& form)
{
    form.clearRows();
    for (int i = 0; i < session.bannerItemCount; i++) {
        char row[3 * 320];
        bannerRowText(session.bannerItems[i], row, sizeof row);
        form.addRow(row);
    }
}

void runPanelCommand(PanelForm& form, int id, int notification)
{
    if (id == IDC_PANEL_BANNERS) {
        if (notification == kNotifySelChange)
            showSelectedBanner(form);
        return;
    }
    if (notification != kNotifyClicked)
        return;

    // Read before any command is looked at, as every button of the panel
    // works on the same nick and reason.
    Text<kNickCap> nickText;
    Text<kReasonCap> reason;
    const char* nick = readTrimmed(form, IDC_PANEL_NICK, nickText);
    readFlat(form, IDC_PANEL_REASON, reason);

    switch (id) {
    case IDC_PANEL_SAVE:
        saveSettings(form);
        break;
    case IDC_PANEL_ADD:
        addBanner(form);
        break;
    case IDC_PANEL_DELETE:
        deleteBanner(form);
        break;
    case IDC_PANEL_TOGGLE:
        toggleBanner(form);
        break;
    case IDC_PANEL_KICK:
    case IDC_PANEL_BAN:
    case IDC_PANEL_UNBAN:
    case IDC_PANEL_MOD:
    case IDC_PANEL_UNMOD:
        moderate(form, id, nick, reason.s);
        break;
    case IDC_PANEL_SET_TOPIC:
        setTopic(form);
        break;
    case IDC_PANEL_DELETE_ROOM:
        deleteRoom(form);
        break;
    }
}
