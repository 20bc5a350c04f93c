// Visual styles (Windows XP to 11): whether the program's controls draw in
// the system's theme, and the themed face of the owner-drawn push buttons so
// that they match the system's own. The theme functions are looked up at run
// time: Windows 95 to 2000 lack them, and without common controls version 6
// (an exe without its manifest) the controls stay classic, so do ours.
#pragma once

#include <windows.h>

// True when common controls version 6 serve this process and a theme is
// active for it. Asked anew each time: the user may switch themes.
bool visualStylesActive();

// Paints the background and frame of a push button over r in the theme, in
// the state given by the owner-draw item state (pressed, disabled). False,
// painting nothing, when visual styles are off or the theme has no push
// button: the caller draws the classic one.
bool drawThemedPushButton(HWND button, HDC dc, const RECT& r, UINT itemState);
