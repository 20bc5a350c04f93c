// The settings file written and read back through the real profile API.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "app/win_settings.h"
#include "session/session_state.h"

namespace {

std::string readFile(const char* path)
{
    HANDLE f = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return "";
    std::string s;
    char buf[4096];
    DWORD n;
    while (ReadFile(f, buf, sizeof buf, &n, nullptr) && n > 0)
        s.append(buf, n);
    CloseHandle(f);
    return s;
}

class WinSettingsTest : public ::testing::Test {
protected:
    char path[MAX_PATH];
    WinProfileStore store;

    void SetUp() override
    {
        char dir[MAX_PATH];
        GetTempPathA(sizeof dir, dir);
        formatText(path, sizeof path, "%szb-settings-%lu.ini", dir, (unsigned long)GetCurrentProcessId());
        DeleteFileA(path);
        store.path = path;
        resetSessionState(session);
    }
    void TearDown() override { DeleteFileA(path); }
};

} // namespace

TEST_F(WinSettingsTest, ANewFileHoldsEveryKeyInOrder)
{
    session.loginNick.set("Вася");
    session.settings.remember = false;
    session.password.set("not stored");
    addIgnored(session, "Петя");
    addIgnored(session, "Zoë 😀");
    saveSettings(store);
    std::string text = readFile(path);
    // Code page 1251 where it holds the text; else UTF-8 behind its mark.
    EXPECT_EQ(text,
              "[Chat]\r\nServer=chat.zumbara.example\r\nPort=4225\r\nNick=\xC2\xE0\xF1\xFF\r\nColor=#000080\r\n"
              "Remember=0\r\nPass=\r\n[UI]\r\nSound=1\r\nTimestamps=1\r\nJournal=1\r\nReconnect=1\r\n"
              "[Ignore]\r\nN0=\xCF\xE5\xF2\xFF\r\nN1=\xEF\xBB\xBFZoë 😀\r\n");
    resetSessionState(session);
    loadSettings(store);
    EXPECT_STREQ(session.loginNick.s, "Вася");
    ASSERT_EQ(session.ignoredCount, 2);
    EXPECT_STREQ(session.ignored[1].s, "Zoë 😀");
}

TEST_F(WinSettingsTest, ReadBackWithGapsClosedAndOtherKeysKept)
{
    WritePrivateProfileStringA("Ignore", "N0", "a", path);
    WritePrivateProfileStringA("Ignore", "N2", "b", path);
    WritePrivateProfileStringA("Ignore", "N5", "c", path);
    WritePrivateProfileStringA("Chat", "Remember", "1", path);
    WritePrivateProfileStringA("Chat", "Pass", "pw", path);
    WritePrivateProfileStringA("Chat", "Port", "junk", path);
    WritePrivateProfileStringA("Extra", "Keep", "me", path);
    loadSettings(store);
    EXPECT_EQ(session.ignoredCount, 3);
    EXPECT_STREQ(session.password.s, "pw");
    EXPECT_EQ(session.settings.port, 0);

    saveSettings(store);
    char v[64];
    GetPrivateProfileStringA("Ignore", "N2", "", v, sizeof v, path);
    EXPECT_STREQ(v, "c");
    GetPrivateProfileStringA("Ignore", "N5", "gone", v, sizeof v, path);
    EXPECT_STREQ(v, "gone");
    GetPrivateProfileStringA("Extra", "Keep", "", v, sizeof v, path);
    EXPECT_STREQ(v, "me");
}

TEST(WinStartup, AppDataFolderIsFoundAtRunTime)
{
    WinStartupFiles files;
    char folder[MAX_PATH] = "";
    ASSERT_TRUE(files.appDataFolder(folder, sizeof folder));
    EXPECT_NE(GetFileAttributesA(folder), INVALID_FILE_ATTRIBUTES);
}
