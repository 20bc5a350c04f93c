/*
 * harness_selftest: a Win32 console program that checks the environment
 * tests/harness/wine-run gives a program.
 *
 * Always: the ANSI code page is 1251 (or the one given with --acp); a visible
 * top-level window of a plain
 * window class can be created and is painted; a file next to the exe
 * (harness_selftest.out) can be written, holding the current directory.
 *
 * Options (checked in this order, the first failure decides the exit code):
 *   --acp N               the ANSI code page expected instead of 1251
 *   --screen WxH          the primary screen has this size
 *   --expect-cwd UNIXDIR  the current directory is UNIXDIR seen through
 *                         wine's Z: drive (Z:\ is the Unix root)
 *   --russian-arg TEXT    TEXT arrived as the CP1251 bytes of the word
 *                         "Privet" in Cyrillic
 *   --sleep MS            keep the window up, pumping messages, this long
 *   --exit N              exit with N once everything passed
 *   --crash               then write through a null pointer instead
 *
 * Exit codes: 0 (or N) success; 2 code page; 3 window; 4 file; 5 screen;
 * 6 cwd; 7 argument; 8 usage.
 */
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define FILL_COLOR RGB(255, 0, 0) /* the client area, found in screenshots */

static int g_painted;

static LRESULT CALLBACK wnd_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        RECT rc;
        HDC dc = BeginPaint(hwnd, &ps);
        HBRUSH brush = CreateSolidBrush(FILL_COLOR);
        GetClientRect(hwnd, &rc);
        FillRect(dc, &rc, brush);
        DeleteObject(brush);
        EndPaint(hwnd, &ps);
        g_painted = 1;
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

/* Dispatches messages for ms milliseconds, or until `until` becomes nonzero. */
static void pump(DWORD ms, const int *until)
{
    DWORD start = GetTickCount();
    MSG m;
    while (GetTickCount() - start < ms) {
        while (PeekMessageA(&m, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
        if (until && *until)
            return;
        MsgWaitForMultipleObjects(0, NULL, FALSE, 20, QS_ALLINPUT);
    }
}

/* Path of the exe with its file name replaced by `name`. */
static int beside_exe(const char *name, char *out, DWORD size)
{
    DWORD n = GetModuleFileNameA(NULL, out, size);
    char *slash;
    if (n == 0 || n >= size)
        return 0;
    slash = strrchr(out, '\\');
    if (!slash)
        return 0;
    slash[1] = '\0';
    if (strlen(out) + strlen(name) + 1 > size)
        return 0;
    strcat(out, name);
    return 1;
}

static int usage(const char *why)
{
    fprintf(stderr, "harness_selftest: %s\n", why);
    return 8;
}

int main(int argc, char **argv)
{
    /* "Privet" in Cyrillic, as code page 1251 bytes */
    static const char russian[] = "\xCF\xF0\xE8\xE2\xE5\xF2";
    const char *screen = NULL, *expect_cwd = NULL, *russian_arg = NULL;
    DWORD sleep_ms = 0;
    int exit_code = 0, crash = 0;
    UINT acp, expect_acp = 1251;
    WNDCLASSA wc;
    HWND hwnd;
    char cwd[MAX_PATH], path[MAX_PATH];
    FILE *f;
    int i;

    for (i = 1; i < argc; i++) {
        if (strcmp(argv[i], "--crash") == 0) {
            crash = 1;
            continue;
        }
        if (i + 1 >= argc)
            return usage("missing option value");
        if (strcmp(argv[i], "--acp") == 0)
            expect_acp = (UINT)strtoul(argv[++i], NULL, 10);
        else if (strcmp(argv[i], "--screen") == 0)
            screen = argv[++i];
        else if (strcmp(argv[i], "--expect-cwd") == 0)
            expect_cwd = argv[++i];
        else if (strcmp(argv[i], "--russian-arg") == 0)
            russian_arg = argv[++i];
        else if (strcmp(argv[i], "--sleep") == 0)
            sleep_ms = (DWORD)strtoul(argv[++i], NULL, 10);
        else if (strcmp(argv[i], "--exit") == 0)
            exit_code = atoi(argv[++i]);
        else
            return usage("unknown option");
    }

    acp = GetACP();
    printf("ACP=%u\n", acp);
    fflush(stdout);
    if (acp != expect_acp) {
        fprintf(stderr, "harness_selftest: ANSI code page is %u, not %u\n", acp, expect_acp);
        return 2;
    }

    memset(&wc, 0, sizeof wc);
    wc.lpfnWndProc = wnd_proc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.hCursor = LoadCursor(NULL, IDC_ARROW);
    wc.lpszClassName = "ZbHarnessSelftest";
    if (!RegisterClassA(&wc)) {
        fprintf(stderr, "harness_selftest: RegisterClassA failed (%lu)\n", GetLastError());
        return 3;
    }
    hwnd = CreateWindowExA(0, wc.lpszClassName, "harness_selftest",
                           WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                           100, 100, 300, 200, NULL, NULL, wc.hInstance, NULL);
    if (!hwnd) {
        fprintf(stderr, "harness_selftest: CreateWindowExA failed (%lu)\n", GetLastError());
        return 3;
    }
    UpdateWindow(hwnd);
    pump(5000, &g_painted);
    if (!IsWindowVisible(hwnd) || !g_painted) {
        fprintf(stderr, "harness_selftest: window not visible or never painted\n");
        return 3;
    }
    printf("window ok\n");

    if (!GetCurrentDirectoryA(sizeof cwd, cwd)) {
        fprintf(stderr, "harness_selftest: GetCurrentDirectoryA failed\n");
        return 4;
    }
    printf("cwd=%s\n", cwd);
    /* Only the run that checks the directory writes the file: the other
       harness tests run the same program and must not replace it before
       its reader has seen it. */
    if (expect_cwd) {
        if (!beside_exe("harness_selftest.out", path, sizeof path) || !(f = fopen(path, "w"))) {
            fprintf(stderr, "harness_selftest: cannot create the file beside the exe\n");
            return 4;
        }
        fprintf(f, "acp=%u\ncwd=%s\n", acp, cwd);
        if (fclose(f) != 0) {
            fprintf(stderr, "harness_selftest: cannot write %s\n", path);
            return 4;
        }
        printf("wrote %s\n", path);
    }

    if (screen) {
        char want[64];
        snprintf(want, sizeof want, "%dx%d",
                 GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
        printf("screen=%s\n", want);
        if (strcmp(want, screen) != 0) {
            fprintf(stderr, "harness_selftest: screen is %s, expected %s\n", want, screen);
            return 5;
        }
    }

    if (expect_cwd) {
        char want[MAX_PATH];
        size_t k;
        if (expect_cwd[0] != '/' || strlen(expect_cwd) + 3 > sizeof want)
            return usage("--expect-cwd wants an absolute Unix path");
        snprintf(want, sizeof want, "Z:%s", expect_cwd);
        for (k = 0; want[k]; k++)
            if (want[k] == '/')
                want[k] = '\\';
        k = strlen(want);
        if (k > 3 && want[k - 1] == '\\')
            want[k - 1] = '\0';
        if (lstrcmpiA(want, cwd) != 0) {
            fprintf(stderr, "harness_selftest: cwd is %s, expected %s\n", cwd, want);
            return 6;
        }
    }

    if (russian_arg && strcmp(russian_arg, russian) != 0) {
        fprintf(stderr, "harness_selftest: the Cyrillic argument arrived garbled\n");
        return 7;
    }

    if (sleep_ms)
        pump(sleep_ms, NULL);
    DestroyWindow(hwnd);
    if (crash) {
        volatile int *volatile null_ptr = NULL;
        printf("crashing\n");
        fflush(stdout);
        *null_ptr = 1;
    }
    printf("done\n");
    return exit_code;
}
