// The real main window, created once per test suite in the test process with
// the real session seams, and helpers to read where its children are.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "shell/control_ids.h"
#include "shell/layout.h"
#include "main_window_support.h"

class MainWindowTest : public ::testing::Test {
protected:
    static inline HWND window;
    static inline TestMainWindow main;

    static void SetUpTestSuite()
    {
        window = main.open();
        ASSERT_NE(window, nullptr);
    }
    static void TearDownTestSuite() { main.close(); }

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
