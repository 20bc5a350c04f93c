#include "app/settings.h"

#include <string.h>

#include "session/protocol_log.h"
#include "session/session_state.h"
#include "session/site.h"

const char kSettingsFileName[] = "Zumbara.ini";
const char kPortableMarker[] = "portable.txt";

SettingsPaths settingsPaths;

void folderOf(const char* path, char* out, size_t cap)
{
    const char* slash = strrchr(path, '\\');
    copyTextN(out, cap, path, slash ? (size_t)(slash - path + 1) : 0);
}

void chooseSettingsFile(const char* moduleFileName, StartupFiles& files)
{
    SettingsPaths& p = settingsPaths;
    folderOf(moduleFileName, p.programDir.s, sizeof p.programDir.s);
    p.portableMode = 0;

    char path[520];
    formatText(path, sizeof path, "%s%s", p.programDir.s, kPortableMarker);
    char folder[520];
    if (files.exists(path)) {
        p.portableMode = 1;
        formatText(path, sizeof path, "%s%s", p.programDir.s, kSettingsFileName);
    } else if (files.appDataFolder(folder, 260)) {
        appendText(folder, sizeof folder, "\\Zumbara");
        files.createFolder(folder);
        formatText(path, sizeof path, "%s\\%s", folder, kSettingsFileName);
    } else {
        formatText(path, sizeof path, "%s%s", p.programDir.s, kSettingsFileName);
    }
    // Paths past 259 characters are cut, never overrun; such a file then
    // simply cannot be written and the settings live in memory only.
    p.settingsPath.set(path);

    char logPath[520];
    folderOf(p.settingsPath.s, logPath, sizeof logPath);
    appendText(logPath, sizeof logPath, kProtocolLogName);
    protocolLogPath.set(logPath);
}

void loadSettings(ProfileStore& store)
{
    SessionState& s = session;
    ClientSettings& c = s.settings;
    store.readString("Chat", "Server", kDefaultServerHost, c.host.s, sizeof c.host.s);
    c.port = store.readInt("Chat", "Port", kDefaultPort);
    store.readString("Chat", "Nick", "", s.loginNick.s, sizeof s.loginNick.s);
    store.readString("Chat", "Color", "#000080", s.nickColor.s, sizeof s.nickColor.s);
    c.remember = store.readInt("Chat", "Remember", 0) != 0;
    if (c.remember)
        store.readString("Chat", "Pass", "", s.password.s, sizeof s.password.s);
    else
        s.password.clear();
    c.sound = store.readInt("UI", "Sound", 1) != 0;
    c.timestamps = store.readInt("UI", "Timestamps", 1) != 0;
    c.journal = store.readInt("UI", "Journal", 1) != 0;
    c.reconnect = store.readInt("UI", "Reconnect", 1) != 0;
    // Read only: tests and unusual servers set it by hand.
    c.keepAliveTimeout = store.readInt("UI", "KeepAliveTimeout", 70);
    if (c.keepAliveTimeout < 0)
        c.keepAliveTimeout = 70;

    s.ignoredCount = 0;
    for (int i = 0; i < kMaxIgnored; i++) {
        char key[8];
        formatText(key, sizeof key, "N%d", i);
        char nick[64];
        store.readString("Ignore", key, "", nick, sizeof nick);
        if (nick[0])
            addIgnored(s, nick);
    }
}

void saveSettings(ProfileStore& store)
{
    SessionState& s = session;
    ClientSettings& c = s.settings;
    char number[16];
    store.writeString("Chat", "Server", c.host.s);
    formatText(number, sizeof number, "%d", c.port);
    store.writeString("Chat", "Port", number);
    store.writeString("Chat", "Nick", s.loginNick.s);
    store.writeString("Chat", "Color", s.nickColor.s);
    formatText(number, sizeof number, "%d", c.remember ? 1 : 0);
    store.writeString("Chat", "Remember", number);
    store.writeString("Chat", "Pass", c.remember ? s.password.s : "");
    formatText(number, sizeof number, "%d", c.sound ? 1 : 0);
    store.writeString("UI", "Sound", number);
    formatText(number, sizeof number, "%d", c.timestamps ? 1 : 0);
    store.writeString("UI", "Timestamps", number);
    formatText(number, sizeof number, "%d", c.journal ? 1 : 0);
    store.writeString("UI", "Journal", number);
    formatText(number, sizeof number, "%d", c.reconnect ? 1 : 0);
    store.writeString("UI", "Reconnect", number);

    store.deleteSection("Ignore");
    for (int i = 0; i < s.ignoredCount; i++) {
        char key[8];
        formatText(key, sizeof key, "N%d", i);
        store.writeString("Ignore", key, s.ignored[i].s);
    }
}

CommandLineOptions parseCommandLine(const char* commandLine)
{
    CommandLineOptions o;
    o.noSplash = strstr(commandLine, "/nosplash") != nullptr;
    o.autoConnect = strstr(commandLine, "/auto") != nullptr;
    return o;
}

const char* skipProgramName(const char* p)
{
    if (*p == '"') {
        p++;
        while (*p && *p != '"')
            p++;
        if (*p == '"')
            p++;
    } else {
        while (*p && *p != ' ' && *p != '\t')
            p++;
    }
    while (*p == ' ' || *p == '\t')
        p++;
    return p;
}
