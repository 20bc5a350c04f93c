// The administration panel's rules, apart from any window: what its fields
// show for the chat-wide configuration, which settings a save sends, the
// rows of the banner list and the values its requests carry.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "session/session_state.h"

// A chat-wide setting and its control. `missing` stands for the value while
// the configuration lacks the key; null for the current chat title.
struct PanelSetting {
    int control;
    const char* key;
    const char* missing;
};
// The eleven settings edited as text, in the order a save sends them.
enum { kPanelSettingCount = 11 };
extern const PanelSetting kPanelSettings[kPanelSettingCount];
// The two on/off settings shown as check boxes ("1" or "0").
enum { kPanelSwitchCount = 2 };
extern const PanelSetting kPanelSwitches[kPanelSwitchCount];

// What the field of a setting shows.
const char* settingShown(const SessionState& s, const PanelSetting& setting);
// Whether the check box of a switch is ticked: its value read as a number
// is not 0.
bool switchShownOn(const SessionState& s, const PanelSetting& sw);

// A save sends a text setting unless the configuration holds the key with
// exactly this text; a key the configuration lacks is always sent.
bool settingChanged(const SessionState& s, const char* key, const char* text);
// The value a save sends for a check box ("1" or "0"), or null when it
// equals the configuration's value (or the switch's `missing` value).
const char* switchToSend(const SessionState& s, const PanelSetting& sw, bool ticked);

// A digits field read as an unsigned number, as the platform reads one:
// leading blanks skipped, digits up to the first other character; 0 when
// there are none or the number does not fit in 32 bits.
uint32_t unsignedField(const char* text);

// The banner list's row of a catalogue item: "(выкл) " for a switched-off
// item, then "#id wWEIGHT URL".
void bannerRowText(const BannerItem& item, char* out, size_t cap);
// Only plain http:// picture addresses are offered to the server: the
// client cannot fetch anything else.
bool bannerPictureAccepted(const char* url);
// The weight a new banner is sent with: 10 for 0 (an empty field) or a
// number beyond the server's signed 32-bit range.
int32_t bannerWeightToSend(uint32_t typed);
// The state "Вкл/выкл" asks for: 1 for a switched-off item, else 0.
int32_t toggledState(const BannerItem& item);

// The main window's topic text without its leading "Тема: ", if any.
const char* topicWithoutLabel(const char* text);
