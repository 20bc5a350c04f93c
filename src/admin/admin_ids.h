// Identifiers of the administration panel: its dialog template and controls.
// Plain #defines, so the resource compiler reads this file as well as the
// code.
#pragma once

#define IDD_ADMIN_PANEL 103

// Chat-wide settings (global administrators only).
#define IDC_PANEL_TITLE 1100
#define IDC_PANEL_MOTD 1101
#define IDC_PANEL_COLOR_BG 1102
#define IDC_PANEL_COLOR_TEXT 1103
#define IDC_PANEL_COLOR_SYS 1104
#define IDC_PANEL_COLOR_PM 1105
#define IDC_PANEL_COLOR_PANEL 1106
#define IDC_PANEL_ROTATE_SEC 1107
#define IDC_PANEL_ROOM_TTL 1108
#define IDC_PANEL_MAX_LEN 1109
#define IDC_PANEL_FLOOD_SEC 1110
#define IDC_PANEL_GUESTS 1111
#define IDC_PANEL_CLOSED 1112
#define IDC_PANEL_SAVE 1113

// Banner catalogue (global administrators only).
#define IDC_PANEL_BANNERS 1114
#define IDC_PANEL_URL 1115
#define IDC_PANEL_LINK 1116
#define IDC_PANEL_WEIGHT 1117
#define IDC_PANEL_ADD 1118
#define IDC_PANEL_DELETE 1119
#define IDC_PANEL_TOGGLE 1120

// Moderation of the current room.
#define IDC_PANEL_NICK 1121
#define IDC_PANEL_REASON 1122
#define IDC_PANEL_KICK 1123
#define IDC_PANEL_BAN 1124
#define IDC_PANEL_MINUTES 1125
#define IDC_PANEL_UNBAN 1126
#define IDC_PANEL_MOD 1127
#define IDC_PANEL_UNMOD 1128
#define IDC_PANEL_TOPIC 1129
#define IDC_PANEL_SET_TOPIC 1130
#define IDC_PANEL_DELETE_ROOM 1131
#define IDC_PANEL_STATUS 1132

// The first and last control of the two areas only a global admin may use.
#define IDC_PANEL_ADMIN_FIRST IDC_PANEL_TITLE
#define IDC_PANEL_ADMIN_LAST IDC_PANEL_TOGGLE
