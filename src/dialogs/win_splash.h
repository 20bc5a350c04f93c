// The splash window shown while the program starts: the brand, a loading
// line and a progress bar that fills a tenth per frame.
#pragma once

#include <windows.h>

extern const char kSplashClass[];  // "ZumbaraSplash"
enum { kSplashWidth = 320, kSplashHeight = 140, kSplashFrames = 10 };  // pixels at 96 DPI

// The frame being shown, 1 to 10; the bar is that many tenths full.
extern int splashStep;

// Paints the splash over client (0, 0, R, B) for frame step: the gradient,
// a raised edge, the orange rule, the logo when logoImages exists, the
// wordmark, the tagline, the loading line, the progress bar step tenths full
// and the notice, its places scaled to uiDpi. The DC's state is the same
// afterwards.
void drawSplash(HDC dc, const RECT& client, int step);

// The window procedure of the splash class: it paints on WM_PAINT and
// leaves every other message to the default procedure.
LRESULT CALLBACK paintSplash(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Shows the splash centred on the primary screen, top-most and without a
// taskbar button, for ten frames of 90 ms, handling pending messages
// between them, and destroys it.
void runSplash(HINSTANCE instance);
