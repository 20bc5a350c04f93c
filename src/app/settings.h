// The settings file: where it lies, what it holds, and reading and writing
// it through the profile-file functions.
#pragma once

#include <stddef.h>

#include "base/bounded.h"

// The profile-file functions ("[Section]" and "Key=value" lines).
struct ProfileStore {
    virtual void readString(const char* section, const char* key, const char* fallback, char* out, size_t cap) = 0;
    // A number as the platform reads it; 0 when the value is not a number.
    virtual int readInt(const char* section, const char* key, int fallback) = 0;
    virtual void writeString(const char* section, const char* key, const char* value) = 0;
    virtual void deleteSection(const char* section) = 0;

protected:
    ~ProfileStore() = default;
};

// What start-up needs to find the settings file.
struct StartupFiles {
    // Does a file or folder of that name exist?
    virtual bool exists(const char* path) = 0;
    // The per-user application-data folder (created if missing); false when
    // the system cannot say.
    virtual bool appDataFolder(char* out, size_t cap) = 0;
    virtual void createFolder(const char* path) = 0;

protected:
    ~StartupFiles() = default;
};

extern const char kSettingsFileName[];  // "Zumbara.ini"
extern const char kPortableMarker[];    // "portable.txt"

// Paths are the program's text (UTF-8), as everything else.
struct SettingsPaths {
    Text<260> programDir;    // ends with a backslash
    Text<260> settingsPath;
    int portableMode;
};
extern SettingsPaths settingsPaths;

// The folder of a module file name, up to and including its last backslash.
void folderOf(const char* path, char* out, size_t cap);

// Chooses the settings file (portable beside the program, else the user's
// application-data folder, else beside the program) and the protocol log
// beside it.
void chooseSettingsFile(const char* moduleFileName, StartupFiles& files);

// Reads every value into the session record, defaults for missing keys.
void loadSettings(ProfileStore& store);
// Writes every value; the ignore list is rewritten from N0 on.
void saveSettings(ProfileStore& store);

// A text value as the settings file holds it. A text that code page 1251
// holds whole goes as its 1251 bytes, as the file has always held its values,
// so that every copy of the program reads it the same; any other text goes as
// UTF-8 behind a UTF-8 byte-order mark ("\xEF\xBB\xBF"), which this program
// reads back whole (an older copy reads the mark and the bytes as letters of
// 1251, never more than its field holds). Both terminate out (cap > 0) and
// return the length; settingFromFile repairs bytes that are no UTF-8.
size_t settingToFile(const char* text, char* out, size_t cap);
size_t settingFromFile(const char* value, char* out, size_t cap);

// Command-line options, each a case-sensitive substring test.
struct CommandLineOptions {
    bool noSplash;
    bool autoConnect;
};
CommandLineOptions parseCommandLine(const char* commandLine);
// The command line after the program name (quoted or not) and blanks.
const char* skipProgramName(const char* commandLine);
