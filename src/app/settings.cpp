#include "app/settings.h"

#include <string.h>

#include "base/codepage.h"
#include "base/utf8.h"

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

    // A path of 259 characters in UTF-8, and a file name after it.
    enum { kPathCap = 3 * 259 + 32 };
    char path[kPathCap];
    formatText(path, sizeof path, "%s%s", p.programDir.s, kPortableMarker);
    char folder[kPathCap];
    if (files.exists(path)) {
        p.portableMode = 1;
        formatText(path, sizeof path, "%s%s", p.programDir.s, kSettingsFileName);
    } else if (files.appDataFolder(folder, 3 * 259 + 1)) {
        appendText(folder, sizeof folder, "\\Zumbara");
        files.createFolder(folder);
        formatText(path, sizeof path, "%s\\%s", folder, kSettingsFileName);
    } else {
        formatText(path, sizeof path, "%s%s", p.programDir.s, kSettingsFileName);
    }
    // Paths past 259 characters are cut, never overrun; such a file then
    // simply cannot be written and the settings live in memory only.
    p.settingsPath.set(path);

    char logPath[kPathCap];
    folderOf(p.settingsPath.s, logPath, sizeof logPath);
    appendText(logPath, sizeof logPath, kProtocolLogName);
    protocolLogPath.set(logPath);
}

namespace {

const char kByteOrderMark[] = "\xEF\xBB\xBF";
enum { kValueCap = 3 * 260 + 4 };  // the longest field's value in the file, with a mark

// A text value read into its field, cut to the field.
template <size_t N>
void readText(ProfileStore& store, const char* section, const char* key, const char* fallback, Text<N>& field)
{
    char raw[kValueCap], text[kValueCap];
    store.readString(section, key, fallback, raw, sizeof raw);
    settingFromFile(raw, text, sizeof text);
    field.set(text);
}

void writeText(ProfileStore& store, const char* section, const char* key, const char* text)
{
    char value[kValueCap];
    settingToFile(text, value, sizeof value);
    store.writeString(section, key, value);
}

} // namespace

size_t settingToFile(const char* text, char* out, size_t cap)
{
    if (cap == 0)
        return 0;
    size_t n = text ? strlen(text) : 0;
    bool fits = true;
    for (size_t i = 0; i < n && fits;) {
        size_t length;
        fits = cp1251Byte(utf8Char(text + i, n - i, &length)) >= 0;
        i += length;
    }
    if (fits) {
        Cp1251Text cp1251;
        size_t k = utf8ToCodePage(cp1251, text, n, out, cap - 1);
        out[k] = '\0';
        return k;
    }
    size_t k = copyText(out, cap, kByteOrderMark);
    return k + copyText(out + k, cap - k, text);
}

size_t settingFromFile(const char* value, char* out, size_t cap)
{
    if (cap == 0)
        return 0;
    size_t n = value ? strlen(value) : 0;
    if (n >= 3 && memcmp(value, kByteOrderMark, 3) == 0) {
        size_t k = copyText(out, cap, value + 3);
        repairUtf8(out, k);
        return k;
    }
    Cp1251Text cp1251;
    size_t k = codePageToUtf8(cp1251, value, n, out, cap - 1);
    out[k] = '\0';
    return k;
}

void loadSettings(ProfileStore& store)
{
    SessionState& s = session;
    ClientSettings& c = s.settings;
    readText(store, "Chat", "Server", kDefaultServerHost, c.host);
    c.port = store.readInt("Chat", "Port", kDefaultPort);
    readText(store, "Chat", "Nick", "", s.loginNick);
    readText(store, "Chat", "Color", "#000080", s.nickColor);
    c.remember = store.readInt("Chat", "Remember", 0) != 0;
    if (c.remember)
        readText(store, "Chat", "Pass", "", s.password);
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
        Text<64> nick;
        readText(store, "Ignore", key, "", nick);
        if (!nick.empty())
            addIgnored(s, nick.s);
    }
}

void saveSettings(ProfileStore& store)
{
    SessionState& s = session;
    ClientSettings& c = s.settings;
    char number[16];
    writeText(store, "Chat", "Server", c.host.s);
    formatText(number, sizeof number, "%d", c.port);
    store.writeString("Chat", "Port", number);
    writeText(store, "Chat", "Nick", s.loginNick.s);
    writeText(store, "Chat", "Color", s.nickColor.s);
    formatText(number, sizeof number, "%d", c.remember ? 1 : 0);
    store.writeString("Chat", "Remember", number);
    writeText(store, "Chat", "Pass", c.remember ? s.password.s : "");
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
        writeText(store, "Ignore", key, s.ignored[i].s);
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
