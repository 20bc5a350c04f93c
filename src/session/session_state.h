// The one record of what the client knows about its chat session, and the
// operations on its tables. A single process-wide instance, used only on the
// user-interface thread.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "base/bounded.h"
#include "base/color.h"

// Socket handle as the platform gives it; kNoSocket when there is none.
typedef uintptr_t SocketHandle;
const SocketHandle kNoSocket = ~(SocketHandle)0;

enum {
    kMaxUsers = 512,
    kMaxRooms = 128,
    kMaxIgnored = 64,
    kMaxCfg = 48,
    kMaxBannerItems = 64,
    kRecvBufferSize = 65536,
    kDefaultPort = 4225,
};

extern const char kProductName[];      // "Zumbara"
extern const char kProductVersion[];   // "1.0"

// Role words the server sends; compared exactly.
extern const char kRoleAdmin[];
extern const char kRoleMod[];
extern const char kRoleGuest[];

struct UserEntry {
    Text<64> nick;
    Color color;
    Text<64> status;
    Text<16> role;
};

struct RoomEntry {
    Text<64> name;
    int32_t people;
    Text<64> third;
    Text<128> fourth;
};

struct CfgEntry {
    Text<48> key;
    Text<256> value;
};

struct ChatColors {
    Color bg;
    Color text;
    Color sys;
    Color pm;
    Color panel;
};

// The last decoded banner picture: the platform's bitmap handle (null while
// there is none) and its size in pixels.
struct BannerPicture {
    void* bitmap;
    int32_t width;
    int32_t height;
};

struct CurrentBanner {
    int32_t id;
    Text<512> url;
    Text<256> link;
    bool shown;            // the picture is to be drawn
    BannerPicture picture; // kept when shown drops; replaced by the next decode
};

struct BannerItem {
    int32_t id;
    Text<256> url;
    Text<256> link;
    int32_t weight;
    int32_t enabled;
};

struct RegistrationRequest {
    Text<64> login;
    Text<64> password;
    Text<128> question;
    Text<128> answer;
};

// Client settings the session core reads; the settings file fills them.
struct ClientSettings {
    Text<128> host;
    int port;
    unsigned codePage;
    bool timestamps;
    bool sound;
    bool remember;
    bool journal;  // conversation journals (UI / Journal)
    bool reconnect;        // come back by itself after a dropped connection
    int keepAliveTimeout;  // seconds of silence before a connection counts as dead; 0: never
};

enum ConnectionState {
    Disconnected,
    Connecting,
    AwaitingWelcome,
    LoggedIn,
};

struct SessionState {
    // Connection.
    SocketHandle socket;
    int connected;
    int welcomed;
    int registrationPending;
    uint32_t connectTick;
    uint32_t pingTick;
    int32_t lag;
    int suppressRoomLine;
    char recvBuffer[kRecvBufferSize];
    size_t recvFill;

    // Identity.
    Text<64> loginNick;
    Text<64> password;
    Text<16> nickColor;
    Text<64> ownNick;
    Text<16> globalRole;
    Text<16> roomRole;
    Text<128> chatTitle;

    // Room and people.
    Text<64> currentRoom;
    UserEntry users[kMaxUsers];
    int userCount;
    RoomEntry rooms[kMaxRooms];
    int roomCount;
    Text<64> ignored[kMaxIgnored];
    int ignoredCount;

    // Chat-wide configuration.
    CfgEntry cfg[kMaxCfg];
    int cfgCount;
    ChatColors colors;

    // Banners.
    CurrentBanner banner;
    BannerItem bannerItems[kMaxBannerItems];
    int bannerItemCount;

    RegistrationRequest registration;
    ClientSettings settings;
};

extern SessionState session;

// Puts every field back to its initial value (the state at program start,
// before the settings are read).
void resetSessionState(SessionState& s);

ConnectionState connectionState(const SessionState& s);

// User table.
int findUser(const SessionState& s, const char* nick);  // -1 when absent
bool appendUser(SessionState& s, const char* nick, Color color, const char* status, const char* role);
void removeUserAt(SessionState& s, int index);
void clearUsers(SessionState& s);

// Room table.
bool appendRoom(SessionState& s, const char* name, int32_t people, const char* third, const char* fourth);
void clearRooms(SessionState& s);

// Configuration table.
void setCfgValue(SessionState& s, const char* key, const char* value);
const char* getCfgValue(const SessionState& s, const char* key);  // null when absent

// Ignore list.
bool isIgnored(const SessionState& s, const char* nick);
int findIgnored(const SessionState& s, const char* nick);  // -1 when absent
bool addIgnored(SessionState& s, const char* nick);
void removeIgnoredAt(SessionState& s, int index);

// Banner catalogue.
bool appendBannerItem(SessionState& s, int32_t id, const char* url, const char* link, int32_t weight, int32_t enabled);
void clearBannerItems(SessionState& s);

// Decimal number as the protocol's number fields are read: optional sign,
// leading digits; no digits reads as 0. Never overflows.
int32_t parseDecimal(const char* text);

// Classes of the free status text, in the order of their icons.
enum StatusClass {
    StatusAvailable = 0,
    StatusAway = 1,
    StatusBusy = 2,
    StatusSleeping = 3,
    StatusEating = 4,
    StatusDoNotDisturb = 5,
};
StatusClass classifyStatus(const char* status);

// The role as the status bar names it.
const char* roleDisplayName(const SessionState& s);
// The administration panel is offered to global admins and room moderators.
bool adminPanelAvailable(const SessionState& s);
bool isGlobalAdmin(const SessionState& s);
