// GDI drawing shared by the header strips of the main window, the dialogs and
// the splash: the gradient fill, shadowed text, the wordmark, the brand band,
// the dialog header and the section header, and small scoped holders that
// pair every select and create with its release within one paint. Pixel
// numbers below are those at 96 DPI; the drawing scales them to uiDpi
// (toolkit/win_dpi.h), as it does the fonts and pictures it is given.
#pragma once

#include <windows.h>
#include <commctrl.h>

// The fonts of the user interface (created at start-up with the others) and
// the 48 by 48 logo image list; null until they exist. Text drawn with a
// null font uses the stock DEFAULT_GUI_FONT instead; a null list draws no
// logo.
extern HFONT fontLogo, fontSmall, fontUiBold;
extern HIMAGELIST logoImages;

// Colours of the brand.
const COLORREF kBrandBlue = RGB(0x16, 0x52, 0xAD);
const COLORREF kBrandOrange = RGB(0xEC, 0x78, 0x1E);
const COLORREF kBrandShadow = RGB(0xBE, 0xC6, 0xD4);
const COLORREF kCaptionGrey = RGB(0x60, 0x60, 0x60);
const COLORREF kHeaderTop = RGB(0xFF, 0xFF, 0xFF);
const COLORREF kHeaderBottom = RGB(0xDE, 0xE4, 0xEE);

// Selects obj into dc for the life of the holder and selects the previous
// object back at the end. Selecting a null object does nothing.
class ScopedSelect {
public:
    ScopedSelect(HDC dc, HGDIOBJ obj) : dc_(dc), previous_(obj ? SelectObject(dc, obj) : nullptr) {}
    ~ScopedSelect()
    {
        if (previous_ && previous_ != HGDI_ERROR)
            SelectObject(dc_, previous_);
    }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Owns a GDI object made for one paint and deletes it at the end (after any
// ScopedSelect declared later has put the previous object back).
template <class Handle>
class GdiObject {
public:
    explicit GdiObject(Handle h) : handle_(h) {}
    ~GdiObject()
    {
        if (handle_)
            DeleteObject(handle_);
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    Handle get() const { return handle_; }

private:
    Handle handle_;
};

// Saves the whole state of dc (selected objects, colours, modes) and
// restores it at the end.
class ScopedDcState {
public:
    explicit ScopedDcState(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
    ~ScopedDcState()
    {
        if (saved_)
            RestoreDC(dc_, saved_);
    }
    ScopedDcState(const ScopedDcState&) = delete;
    ScopedDcState& operator=(const ScopedDcState&) = delete;

private:
    HDC dc_;
    int saved_;
};

// The colour of line i of n in a gradient: per channel
// start + (end - start) * i / n, the division truncating toward zero.
COLORREF gradientColor(COLORREF start, COLORREF end, int i, int n);

// Fills r with one-pixel lines of solid colour from start to end: rows top
// to bottom when vertical, else columns left to right. Line i gets
// gradientColor(start, end, i, n), so the last line falls just short of end.
// An empty or inverted rectangle draws nothing.
void fillGradient(HDC dc, const RECT& r, COLORREF start, COLORREF end, bool vertical);
inline void fillGradientV(HDC dc, const RECT& r, COLORREF top, COLORREF bottom)
{
    fillGradient(dc, r, top, bottom, true);
}

// Fills r with one solid colour.
void fillSolid(HDC dc, const RECT& r, COLORREF color);

// Asks window to repaint part (all of it when null), erasing first when
// erase is set. A window that was never made (null) is left alone: the
// system reads a null window as the whole desktop.
void repaintLater(HWND window, bool erase, const RECT* part = nullptr);

// Text at (x, y) with a transparent background: first in shadow one pixel
// right and down, then in color at the position itself.
void drawShadowText(HDC dc, int x, int y, const char* text, COLORREF color, COLORREF shadow);
// The same with DrawText in a rectangle and a DT_ format.
void drawShadowTextRect(HDC dc, const char* text, const RECT& r, UINT format, COLORREF color, COLORREF shadow);

// The brand word "Zumbara" in brand blue followed by suffix in brand orange,
// both shadowed in #BEC6D4, in font (the stock GUI font when null), with the
// top left corner at (x, y). Returns the width of word and suffix together.
// The DC's font is the same afterwards.
int drawWordmark(HDC dc, int x, int y, HFONT font, const char* suffix);

// The background of every header strip: the vertical gradient #FFFFFF to
// #DEE4EE over r and a 2-pixel brand-orange bar along its bottom.
void fillBrandBand(HDC dc, const RECT& r);

// A section header over r: the horizontal gradient from panel to panel
// darkened by 40 per channel, a raised edge, image of images (when not
// null) at (left + 4, vertically centred) with the text from left + 22,
// else the text from left + 6; the text in fontUiBold, white, shadowed in
// panel darkened by 90, on one vertically centred line. The DC's state is
// the same afterwards.
void drawSectionHeader(HDC dc, const RECT& r, const char* text, HIMAGELIST images, int image, COLORREF panel);

// Paints the owner-drawn header of a dialog over the item rectangle
// L, T, R, B: the gradient #FFFFFF to #DEE4EE, a 2-pixel orange bar along
// the bottom, image 0 of logo (when not null) at (L + 8, T + (B - T - 48) / 2),
// the wordmark with suffix at (L + 64, T + 8) in logoFont, and the tagline in
// smallFont, #606060, in the rectangle L + 66, T + 40, R, T + 54 on one line.
// The DC's state is the same afterwards.
void drawDialogHeader(const DRAWITEMSTRUCT* item, const char* suffix, const char* tagline, HIMAGELIST logo,
                      HFONT logoFont, HFONT smallFont);
