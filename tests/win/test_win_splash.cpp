// The splash: each frame painted into a memory DC, and the real window as
// start-up shows it, watched at every paint it is sent.
#include <gtest/gtest.h>

#include <windows.h>

#include <set>

#include "dialogs/win_splash.h"
#include "toolkit/win_drawing.h"
#include "toolkit/win_fonts.h"
#include "canvas.h"

namespace {

const COLORREF kWhite = RGB(0xFF, 0xFF, 0xFF);
const RECT kClient = {0, 0, kSplashWidth, kSplashHeight};

} // namespace

TEST(Splash, FrameKFillsKTenthsOfTheBar)
{
    createFonts();
    // Inside the bar's sunken edge: 18 to 302 across, 104 to 110 down.
    const int left = 18, right = kSplashWidth - 18, y = 107;
    for (int k = 1; k <= kSplashFrames; k++) {
        Canvas c(kSplashWidth, kSplashHeight, RGB(0xFF, 0x00, 0xFF));
        drawSplash(c.dc, kClient, k);
        int end = left + (right - left) * k / 10;
        for (int x = left; x < right; x++)
            ASSERT_EQ(c.at(x, y), x < end ? kBrandOrange : kWhite) << "frame " << k << ", x " << x;
        // The orange rule inside the bottom edge, the brand and the loading line.
        EXPECT_EQ(c.at(kSplashWidth / 2, kSplashHeight - 3), kBrandOrange);
        EXPECT_TRUE(c.anyNear(72, 18, kSplashWidth, 48, kBrandBlue, 16));
        EXPECT_TRUE(c.anyNear(16, 84, kSplashWidth, 100, kBrandBlue, 16));
        EXPECT_TRUE(c.anyNear(16, 118, kSplashWidth - 8, 132, kCaptionGrey, 24));
    }
}

namespace {

struct Watch {
    std::set<int> steps;
    int frames = 0;
    RECT rect = {};
    LONG_PTR style = 0, exStyle = 0;
};
Watch* watch;

// Every message sent to a window of this thread passes here first: each
// frame's paint of the splash is seen, however fast the machine is.
LRESULT CALLBACK look(int code, WPARAM wp, LPARAM lp)
{
    const CWPSTRUCT* m = (const CWPSTRUCT*)lp;
    HWND w = FindWindowA(kSplashClass, nullptr);
    if (code == HC_ACTION && w && m->hwnd == w && m->message == WM_PAINT) {
        watch->frames++;
        watch->steps.insert(splashStep);
        GetWindowRect(w, &watch->rect);
        watch->style = GetWindowLongPtrA(w, GWL_STYLE);
        watch->exStyle = GetWindowLongPtrA(w, GWL_EXSTYLE);
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

} // namespace

TEST(Splash, TenFramesInACentredTopMostToolWindow)
{
    createFonts();
    Watch seen;
    watch = &seen;
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, look, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    runSplash(GetModuleHandleA(nullptr));
    UnhookWindowsHookEx(hook);
    watch = nullptr;

    EXPECT_EQ(FindWindowA(kSplashClass, nullptr), nullptr);  // gone afterwards
    ASSERT_GT(seen.frames, 0);
    EXPECT_EQ(seen.steps, (std::set<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    int x = (GetSystemMetrics(SM_CXSCREEN) - 320) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - 140) / 2;
    EXPECT_EQ(seen.rect.left, x);
    EXPECT_EQ(seen.rect.top, y);
    EXPECT_EQ(seen.rect.right - seen.rect.left, 320);
    EXPECT_EQ(seen.rect.bottom - seen.rect.top, 140);
    EXPECT_EQ(seen.style & (WS_POPUP | WS_VISIBLE | WS_CAPTION), (LONG_PTR)(WS_POPUP | WS_VISIBLE));
    EXPECT_EQ(seen.exStyle & (WS_EX_TOPMOST | WS_EX_TOOLWINDOW), (LONG_PTR)(WS_EX_TOPMOST | WS_EX_TOOLWINDOW));
}
