// The real main window in a test process, made as the program's start-up
// makes it: fonts, common controls, the session's seams, and the window.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "banners/win_banners.h"
#include "session/dispatch.h"
#include "session/win_transport.h"
#include "shell/win_main_window.h"
#include "shell/win_session_host.h"
#include "toolkit/win_fonts.h"
#include "win_support.h"

struct TestMainWindow {
    HWND window = nullptr;
    WinsockTransport transport;
    WinSessionHost host;

    // A fresh session record and a shown main window; null when it could
    // not be made. The class may already exist from another suite.
    HWND open()
    {
        resetSessionState(session);
        createFonts();
        InitCommonControls();
        HINSTANCE inst = GetModuleHandleA(nullptr);
        registerMainWindowClass(inst);
        ports = SessionPorts{&transport,         &host,
                             nullptr,            &serverLineDispatcher(),
                             &mainWindowViews(), &mainWindowPanel(),
                             &bannerModel(),     nullptr};
        bannerFetcher = &winBannerFetcher();
        window = createMainWindow(inst);
        if (!window)
            return nullptr;
        transport.notifyWindow = window;
        host.window = window;
        ShowWindow(window, SW_SHOW);
        pumpFor(200);
        return window;
    }

    void close()
    {
        // Destroying the main window posts the quit message that ends the
        // program's message loop; take it off the queue, or the next modal
        // dialog of this test program would end at once.
        DestroyWindow(window);
        MSG m;
        while (PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
};
