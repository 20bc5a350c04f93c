#include "dialogs/win_splash.h"

#include "toolkit/win_dpi.h"
#include "toolkit/win_drawing.h"
#include "toolkit/win_fonts.h"
#include "toolkit/win_text.h"

const char kSplashClass[] = "ZumbaraSplash";
int splashStep;

namespace {

const char kTagline[] = "точка входа в Zumbara  ~  версия 1.0";
const char kLoading[] = "Загрузка... Пожалуйста, подождите";
const char kNotice[] = "Бесплатная программа для Windows 98–11";

void drawLine(HDC dc, const char* text, RECT r, HFONT font, COLORREF color, UINT align)
{
    ScopedSelect selected(dc, font ? (HGDIOBJ)font : GetStockObject(DEFAULT_GUI_FONT));
    SetTextColor(dc, color);
    drawText(dc, text, &r, DT_SINGLELINE | DT_NOPREFIX | DT_TOP | align);
}

} // namespace

void drawSplash(HDC dc, const RECT& client, int step)
{
    ScopedDcState state(dc);
    const int R = client.right, B = client.bottom;
    SetBkMode(dc, TRANSPARENT);

    fillGradientV(dc, client, kHeaderTop, kHeaderBottom);
    RECT edge = client;
    DrawEdge(dc, &edge, EDGE_RAISED, BF_RECT);
    RECT rule = {px(2), B - px(4), R - px(2), B - px(2)};
    fillSolid(dc, rule, kBrandOrange);
    if (logoImages)
        ImageList_Draw(logoImages, 0, dc, px(16), px(14), ILD_TRANSPARENT);
    drawWordmark(dc, px(72), px(18), fontLogo, " Chat");

    drawLine(dc, kTagline, RECT{px(74), px(50), R, px(66)}, fontSmall, kCaptionGrey, DT_LEFT);
    drawLine(dc, kLoading, RECT{px(16), px(84), R, px(100)}, fontUi, kBrandBlue, DT_LEFT);

    RECT bar = {px(16), px(102), R - px(16), px(112)};
    fillSolid(dc, bar, RGB(0xFF, 0xFF, 0xFF));
    DrawEdge(dc, &bar, EDGE_SUNKEN, BF_RECT);
    InflateRect(&bar, -px(2), -px(2));
    if (step < 0)
        step = 0;
    if (step > kSplashFrames)
        step = kSplashFrames;
    bar.right = bar.left + (bar.right - bar.left) * step / kSplashFrames;
    fillSolid(dc, bar, kBrandOrange);

    drawLine(dc, kNotice, RECT{px(16), px(118), R - px(8), px(132)}, fontSmall, kCaptionGrey, DT_RIGHT);
}

LRESULT CALLBACK paintSplash(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_PAINT)
        return DefWindowProcA(window, message, wParam, lParam);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT client;
    GetClientRect(window, &client);
    // The frame is drawn off screen and copied in one go, so the bar
    // grows without the gradient flashing over it.
    HDC memory = CreateCompatibleDC(dc);
    GdiObject<HBITMAP> bitmap(memory ? CreateCompatibleBitmap(dc, client.right, client.bottom) : nullptr);
    if (bitmap.get()) {
        {
            ScopedSelect selected(memory, bitmap.get());
            drawSplash(memory, client, splashStep);
            BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
        }
    } else {
        drawSplash(dc, client, splashStep);
    }
    if (memory)
        DeleteDC(memory);
    EndPaint(window, &ps);
    return 0;
}

// The splash window has no text of its own (what it shows is painted through
// drawText) and is gone before any Unicode window exists, so it stays an ANSI
// window with an ANSI message pump.
void runSplash(HINSTANCE instance)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = paintSplash;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_WAIT);
    wc.lpszClassName = kSplashClass;
    RegisterClassA(&wc);  // fails harmlessly when already registered

    int width = px(kSplashWidth), height = px(kSplashHeight);
    int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    HWND window = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kSplashClass, "", WS_POPUP | WS_VISIBLE, x, y,
                                  width, height, nullptr, nullptr, instance, nullptr);
    if (!window)
        return;
    for (int k = 1; k <= kSplashFrames; k++) {
        splashStep = k;
        InvalidateRect(window, nullptr, FALSE);
        UpdateWindow(window);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(90);
    }
    DestroyWindow(window);
}
