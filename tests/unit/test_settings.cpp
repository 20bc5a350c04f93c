#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/settings.h"
#include "base/codepage.h"
#include "base/text_fold.h"
#include "session/protocol_log.h"
#include "session/session_state.h"

namespace {

// A profile file in memory: sections and keys in file order, names matched
// without regard to case, as the platform's profile functions do.
struct MemoryProfile : ProfileStore {
    struct Section {
        std::string name;
        std::vector<std::pair<std::string, std::string>> keys;
    };
    std::vector<Section> sections;

    Section* find(const char* name)
    {
        for (auto& s : sections)
            if (sameText(s.name.c_str(), name))
                return &s;
        return nullptr;
    }
    const std::string* value(const char* section, const char* key)
    {
        Section* s = find(section);
        if (!s)
            return nullptr;
        for (auto& k : s->keys)
            if (sameText(k.first.c_str(), key))
                return &k.second;
        return nullptr;
    }
    void readString(const char* section, const char* key, const char* fallback, char* out, size_t cap) override
    {
        const std::string* v = value(section, key);
        copyText(out, cap, v ? v->c_str() : fallback);
    }
    int readInt(const char* section, const char* key, int fallback) override
    {
        const std::string* v = value(section, key);
        return v ? parseDecimal(v->c_str()) : fallback;
    }
    void writeString(const char* section, const char* key, const char* val) override
    {
        Section* s = find(section);
        if (!s) {
            sections.push_back({section, {}});
            s = &sections.back();
        }
        for (auto& k : s->keys)
            if (sameText(k.first.c_str(), key)) {
                k.second = val;
                return;
            }
        s->keys.push_back({key, val});
    }
    void deleteSection(const char* section) override
    {
        for (size_t i = 0; i < sections.size(); i++)
            if (sameText(sections[i].name.c_str(), section)) {
                sections.erase(sections.begin() + (long)i);
                return;
            }
    }
    std::string text() const
    {
        std::string t;
        for (auto& s : sections) {
            t += "[" + s.name + "]\n";
            for (auto& k : s.keys)
                t += k.first + "=" + k.second + "\n";
        }
        return t;
    }
};

struct FakeFiles : StartupFiles {
    std::vector<std::string> present;
    std::string appData;
    std::vector<std::string> created;
    bool exists(const char* path) override
    {
        for (auto& p : present)
            if (p == path)
                return true;
        return false;
    }
    bool appDataFolder(char* out, size_t cap) override
    {
        if (appData.empty())
            return false;
        copyText(out, cap, appData.c_str());
        return true;
    }
    void createFolder(const char* path) override { created.push_back(path); }
};

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override { resetSessionState(session); }
    MemoryProfile file;
};

} // namespace

TEST_F(SettingsTest, MissingFileGivesTheDefaults)
{
    session.password.set("left over");
    loadSettings(file);
    EXPECT_STREQ(session.settings.host.s, "chat.zumbara.example");
    EXPECT_EQ(session.settings.port, 4225);
    EXPECT_STREQ(session.loginNick.s, "");
    EXPECT_STREQ(session.nickColor.s, "#000080");
    EXPECT_FALSE(session.settings.remember);
    EXPECT_STREQ(session.password.s, "");
    EXPECT_TRUE(session.settings.sound);
    EXPECT_TRUE(session.settings.timestamps);
    EXPECT_EQ(session.ignoredCount, 0);
}

TEST_F(SettingsTest, ANewFileHasChatUiIgnoreInOrder)
{
    session.loginNick.set("Вася");
    session.settings.remember = true;
    session.password.set("pw");
    addIgnored(session, "Петя");
    saveSettings(file);
    EXPECT_EQ(file.text(),
              "[Chat]\nServer=chat.zumbara.example\nPort=4225\nNick=\xC2\xE0\xF1\xFF\nColor=#000080\nRemember=1\n"
              "Pass=pw\n[UI]\nSound=1\nTimestamps=1\nJournal=1\nReconnect=1\n"
              "[Ignore]\nN0=\xCF\xE5\xF2\xFF\n");  // code page 1251, as the file always held
}

TEST_F(SettingsTest, IgnoreGapsCloseUpAndTheNextSaveRenumbers)
{
    file.writeString("Ignore", "N0", "a");
    file.writeString("Ignore", "N2", "b");
    file.writeString("Ignore", "N5", "c");
    file.writeString("Ignore", "N64", "beyond");
    loadSettings(file);
    ASSERT_EQ(session.ignoredCount, 3);
    EXPECT_STREQ(session.ignored[2].s, "c");
    saveSettings(file);
    EXPECT_EQ(*file.value("Ignore", "N1"), "b");
    EXPECT_EQ(*file.value("Ignore", "N2"), "c");
    EXPECT_EQ(file.value("Ignore", "N5"), nullptr);

    session.ignoredCount = 0;
    saveSettings(file);
    EXPECT_EQ(file.find("Ignore"), nullptr);  // an empty list: the section is gone
}

TEST_F(SettingsTest, PasswordOnlyWithRemember)
{
    file.writeString("Chat", "Remember", "0");
    file.writeString("Chat", "Pass", "secret");
    loadSettings(file);
    EXPECT_STREQ(session.password.s, "");
    session.password.set("typed this run");
    saveSettings(file);
    EXPECT_EQ(*file.value("Chat", "Pass"), "");

    file.writeString("Chat", "Remember", "1");
    file.writeString("Chat", "Pass", "secret");
    loadSettings(file);
    EXPECT_STREQ(session.password.s, "secret");
}

TEST_F(SettingsTest, ValuesAreCutAndBadNumbersReadAsZero)
{
    file.writeString("chat", "nick", std::string(100, 'n').c_str());  // names match in any case
    file.writeString("Chat", "Port", "abc");
    file.writeString("Chat", "Server", std::string(200, 's').c_str());
    loadSettings(file);
    EXPECT_EQ(std::string(session.loginNick.s), std::string(63, 'n'));
    EXPECT_EQ(std::string(session.settings.host.s), std::string(127, 's'));
    EXPECT_EQ(session.settings.port, 0);
}

TEST(CommandLine, OptionsAreCaseSensitiveSubstrings)
{
    CommandLineOptions o = parseCommandLine("/auto /nosplash");
    EXPECT_TRUE(o.autoConnect);
    EXPECT_TRUE(o.noSplash);
    o = parseCommandLine("/NOSPLASH /Auto");
    EXPECT_FALSE(o.autoConnect);
    EXPECT_FALSE(o.noSplash);
    o = parseCommandLine("x/autoy");
    EXPECT_TRUE(o.autoConnect);

    EXPECT_STREQ(skipProgramName("\"C:\\Program Files\\Z\\zumbara.exe\"  /auto"), "/auto");
    EXPECT_STREQ(skipProgramName("zumbara.exe /nosplash"), "/nosplash");
    EXPECT_STREQ(skipProgramName("zumbara.exe"), "");
    EXPECT_STREQ(skipProgramName("\"unterminated"), "");
}

TEST(SettingsFile, PortableAppDataAndFallback)
{
    FakeFiles files;
    files.present.push_back("C:\\Apps\\Z\\portable.txt");
    files.appData = "C:\\Users\\u\\AppData\\Roaming";
    chooseSettingsFile("C:\\Apps\\Z\\zumbara.exe", files);
    EXPECT_STREQ(settingsPaths.programDir.s, "C:\\Apps\\Z\\");
    EXPECT_EQ(settingsPaths.portableMode, 1);
    EXPECT_STREQ(settingsPaths.settingsPath.s, "C:\\Apps\\Z\\Zumbara.ini");
    EXPECT_STREQ(protocolLogPath.s, "C:\\Apps\\Z\\Zumbara-protocol.log");
    EXPECT_TRUE(files.created.empty());

    files.present.clear();
    chooseSettingsFile("C:\\Apps\\Z\\zumbara.exe", files);
    EXPECT_EQ(settingsPaths.portableMode, 0);
    EXPECT_STREQ(settingsPaths.settingsPath.s, "C:\\Users\\u\\AppData\\Roaming\\Zumbara\\Zumbara.ini");
    ASSERT_EQ(files.created.size(), 1u);
    EXPECT_EQ(files.created[0], "C:\\Users\\u\\AppData\\Roaming\\Zumbara");
    EXPECT_STREQ(protocolLogPath.s, "C:\\Users\\u\\AppData\\Roaming\\Zumbara\\Zumbara-protocol.log");

    files.appData.clear();
    chooseSettingsFile("C:\\Apps\\Z\\zumbara.exe", files);
    EXPECT_EQ(settingsPaths.portableMode, 0);
    EXPECT_STREQ(settingsPaths.settingsPath.s, "C:\\Apps\\Z\\Zumbara.ini");

    // A folder deeper than the path fields are long is cut, never overrun.
    std::string deep = "C:\\" + std::string(300, 'd') + "\\zumbara.exe";
    chooseSettingsFile(deep.c_str(), files);
    EXPECT_EQ(strlen(settingsPaths.settingsPath.s), 259u);
    EXPECT_LE(strlen(protocolLogPath.s), 259u);
    protocolLogPath.clear();
}
