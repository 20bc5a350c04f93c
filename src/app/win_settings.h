// The settings file through the Windows profile-file functions, and the
// file-system questions start-up asks.
#pragma once

#include "app/settings.h"

struct WinProfileStore final : ProfileStore {
    const char* path = nullptr;  // the settings file

    void readString(const char* section, const char* key, const char* fallback, char* out, size_t cap) override;
    int readInt(const char* section, const char* key, int fallback) override;
    void writeString(const char* section, const char* key, const char* value) override;
    void deleteSection(const char* section) override;
};

struct WinStartupFiles final : StartupFiles {
    bool exists(const char* path) override;
    // Looks SHGetSpecialFolderPath up at run time, so a system without it
    // still starts (the settings then go beside the program). On NT the
    // folder comes whole, whatever characters the user's name has.
    bool appDataFolder(char* out, size_t cap) override;
    void createFolder(const char* path) override;
};

// The program's own file name as the program's text: on NT whole, whatever
// characters its folders have.
void programFileName(char* out, size_t cap);
