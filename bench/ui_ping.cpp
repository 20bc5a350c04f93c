// ui_ping: measures how long the client's user-interface thread leaves a
// message unanswered. Every 50 ms it sends WM_NULL to the main window with
// SendMessageTimeout and times the answer; the longest wait is the longest
// stretch in which the window did not respond.
//
//   ui_ping.exe READY_FILE STOP_FILE RESULT_FILE
//
// Waits up to 60 s for the window of class "ZumbaraMain", writes READY_FILE
// after its first answer, pings until STOP_FILE exists or the window is gone,
// then writes RESULT_FILE: "max_ms N", "at_ms N" (when the longest wait
// began, counted from the first ping), "pings N" and "over_250 N" (how many
// waits took longer than 250 ms), one a line.

#include <windows.h>

#include <stdio.h>

#include "base/bounded.h"
#include "bench_clock.h"

namespace {

bool fileExists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

bool writeFile(const char* path, const char* text)
{
    FILE* f = fopen(path, "wb");
    if (!f)
        return false;
    fputs(text, f);
    fclose(f);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        fprintf(stderr, "usage: ui_ping READY_FILE STOP_FILE RESULT_FILE\n");
        return 1;
    }
    const char* readyFile = argv[1];
    const char* stopFile = argv[2];
    const char* resultFile = argv[3];

    HWND window = nullptr;
    for (int i = 0; i < 600 && !window; i++) {
        window = FindWindowA("ZumbaraMain", nullptr);
        if (!window)
            Sleep(100);
    }
    if (!window) {
        fprintf(stderr, "ui_ping: no ZumbaraMain window\n");
        return 2;
    }

    double first = 0, longest = 0, longestAt = 0;
    int pings = 0, over250 = 0;
    while (!fileExists(stopFile) && IsWindow(window)) {
        double t0 = nowMs();
        DWORD_PTR answer = 0;
        // A long timeout: the wait itself is the measurement.
        if (!SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 600000, &answer))
            break;
        double waited = nowMs() - t0;
        if (pings == 0) {
            first = t0;
            writeFile(readyFile, "ready\n");
        }
        pings++;
        if (waited > longest) {
            longest = waited;
            longestAt = t0 - first;
        }
        if (waited > 250)
            over250++;
        Sleep(50);
    }

    char text[256];
    formatText(text, sizeof text, "max_ms %.0f\nat_ms %.0f\npings %d\nover_250 %d\n", longest, longestAt, pings,
             over250);
    return writeFile(resultFile, text) ? 0 : 3;
}
