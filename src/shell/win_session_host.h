// The system services the session core asks for, on the main window.
#pragma once

#include <windows.h>

#include "session/host.h"

struct WinSessionHost final : SessionHost {
    HWND window = nullptr;          // timers, message boxes and flashing
    void (*writeSettings)() = nullptr;

    void startTimer(int id, unsigned ms) override;
    void stopTimer(int id) override;
    uint32_t tickCount() override;
    void localTime(int* hour, int* minute, int* second) override;
    bool fileExists(const char* path) override;
    void openInTextViewer(const char* path) override;
    void messageBox(const char* text, const char* title, MessageIcon icon) override;
    void beep() override;
    void flashIfInBackground() override;
    void saveSettings() override;
};
