// The real main window, created once per test suite in the test process with
// the real session seams, and helpers to read where its children are.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "control_ids.h"
#include "dispatch.h"
#include "fonts.h"
#include "layout.h"
#include "main_window.h"
#include "win_session_host.h"
#include "win_support.h"
#include "win_transport.h"

class MainWindowTest : public ::testing::Test {
protected:
    static inline HWND window;
    static inline WinsockTransport transport;
    static inline WinSessionHost host;

    static void SetUpTestSuite()
    {
        resetSessionState(session);
        createFonts();
        InitCommonControls();
        HINSTANCE inst = GetModuleHandleA(nullptr);
        WNDCLASSA existing;
        if (!GetClassInfoA(inst, kMainWindowClass, &existing)) {
            ASSERT_TRUE(registerMainWindowClass(inst));
        }
        ports = SessionPorts{&transport,         &host,
                             nullptr,            &serverLineDispatcher(),
                             &mainWindowViews(), &mainWindowPanel(),
                             &mainWindowBanners()};
        window = createMainWindow(inst);
        ASSERT_NE(window, nullptr);
        transport.notifyWindow = window;
        host.window = window;
        ShowWindow(window, SW_SHOW);
        pumpFor(200);
    }
    static void TearDownTestSuite()
    {
        // Destroying the main window posts the quit message that ends the
        // program's message loop; take it off the queue, or the next modal
        // dialog of this test program would end at once.
        DestroyWindow(window);
        MSG m;
        while (PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }

    RECT childRect(int id)
    {
        HWND c = GetDlgItem(window, id);
        RECT r = {0, 0, 0, 0};
        if (!c)
            return r;
        GetWindowRect(c, &r);
        MapWindowPoints(nullptr, window, (POINT*)&r, 2);
        return r;
    }
    void expectAt(int id, const LayoutRect& want)
    {
        RECT r = childRect(id);
        EXPECT_EQ(r.left, want.left) << "control " << id;
        EXPECT_EQ(r.top, want.top) << "control " << id;
        EXPECT_EQ(r.right - r.left, want.width) << "control " << id;
        if (id != IdRoomBox && id != IdStatusBox && id != IdColorBox) {  // combo heights are the closed box
            EXPECT_EQ(r.bottom - r.top, want.height) << "control " << id;
        }
    }
};
