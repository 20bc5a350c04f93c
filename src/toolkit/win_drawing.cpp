#include "toolkit/win_drawing.h"

#include "toolkit/palette.h"
#include "toolkit/win_dpi.h"
#include "toolkit/win_text.h"

HIMAGELIST logoImages = nullptr;

namespace {

const char kBrandWord[] = "Zumbara";

HGDIOBJ fontOrDefault(HFONT font) { return font ? (HGDIOBJ)font : GetStockObject(DEFAULT_GUI_FONT); }

int channel(COLORREF start, COLORREF end, int shift, int i, int n)
{
    int a = (int)((start >> shift) & 0xFF);
    int b = (int)((end >> shift) & 0xFF);
    return a + (b - a) * i / n;
}

} // namespace

COLORREF gradientColor(COLORREF start, COLORREF end, int i, int n)
{
    if (n <= 0)
        return start;
    return RGB(channel(start, end, 0, i, n), channel(start, end, 8, i, n), channel(start, end, 16, i, n));
}

void fillSolid(HDC dc, const RECT& r, COLORREF color)
{
    GdiObject<HBRUSH> brush(CreateSolidBrush(color));
    if (brush.get())
        FillRect(dc, &r, brush.get());
}

void repaintLater(HWND window, bool erase, const RECT* part)
{
    if (window)
        InvalidateRect(window, part, erase ? TRUE : FALSE);
}

void fillGradient(HDC dc, const RECT& r, COLORREF start, COLORREF end, bool vertical)
{
    int n = vertical ? r.bottom - r.top : r.right - r.left;
    for (int i = 0; i < n; i++) {
        RECT line = r;
        if (vertical) {
            line.top = r.top + i;
            line.bottom = line.top + 1;
        } else {
            line.left = r.left + i;
            line.right = line.left + 1;
        }
        fillSolid(dc, line, gradientColor(start, end, i, n));
    }
}

void drawShadowText(HDC dc, int x, int y, const char* text, COLORREF color, COLORREF shadow)
{
    if (!text)
        return;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, shadow);
    textOut(dc, x + px(1), y + px(1), text);
    SetTextColor(dc, color);
    textOut(dc, x, y, text);
}

void drawShadowTextRect(HDC dc, const char* text, const RECT& r, UINT format, COLORREF color, COLORREF shadow)
{
    if (!text)
        return;
    SetBkMode(dc, TRANSPARENT);
    RECT moved = r;
    OffsetRect(&moved, px(1), px(1));
    SetTextColor(dc, shadow);
    drawText(dc, text, &moved, format);
    RECT at = r;
    SetTextColor(dc, color);
    drawText(dc, text, &at, format);
}

int drawWordmark(HDC dc, int x, int y, HFONT font, const char* suffix)
{
    if (!suffix)
        suffix = "";
    ScopedSelect selected(dc, fontOrDefault(font));
    SetBkMode(dc, TRANSPARENT);

    SIZE word = textExtent(dc, kBrandWord);
    SIZE tail = textExtent(dc, suffix);
    int c1 = (int)word.cx, c2 = (int)tail.cx, h = (int)word.cy;

    const UINT format = DT_SINGLELINE | DT_NOPREFIX | DT_LEFT | DT_TOP;
    RECT first = {x, y, x + c1 + px(2), y + h};
    drawShadowTextRect(dc, kBrandWord, first, format, kBrandBlue, kBrandShadow);
    RECT second = {x + c1, y, x + c1 + c2 + px(2), y + h};
    drawShadowTextRect(dc, suffix, second, format, kBrandOrange, kBrandShadow);
    return c1 + c2;
}

void fillBrandBand(HDC dc, const RECT& r)
{
    fillGradientV(dc, r, kHeaderTop, kHeaderBottom);
    RECT bar = {r.left, r.bottom - px(2), r.right, r.bottom};
    fillSolid(dc, bar, kBrandOrange);
}

void drawSectionHeader(HDC dc, const RECT& r, const char* text, HIMAGELIST images, int image, COLORREF panel)
{
    ScopedDcState state(dc);
    fillGradient(dc, r, panel, sectionHeaderEndColor(panel), false);
    RECT edge = r;
    DrawEdge(dc, &edge, EDGE_RAISED, BF_RECT);
    RECT line = r;
    line.left += px(6);
    if (images) {
        ImageList_Draw(images, image, dc, r.left + px(4), r.top + (r.bottom - r.top - px(16)) / 2, ILD_TRANSPARENT);
        line.left = r.left + px(22);
    }
    SelectObject(dc, fontOrDefault(fontUiBold));
    drawShadowTextRect(dc, text, line, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_LEFT, RGB(0xFF, 0xFF, 0xFF),
                       sectionShadowColor(panel));
}

void drawDialogHeader(const DRAWITEMSTRUCT* item, const char* suffix, const char* tagline, HIMAGELIST logo,
                      HFONT logoFont, HFONT smallFont)
{
    if (!item)
        return;
    HDC dc = item->hDC;
    const RECT& r = item->rcItem;
    ScopedDcState state(dc);

    fillBrandBand(dc, r);
    if (logo)
        ImageList_Draw(logo, 0, dc, r.left + px(8), r.top + (r.bottom - r.top - px(48)) / 2, ILD_TRANSPARENT);
    drawWordmark(dc, r.left + px(64), r.top + px(8), logoFont, suffix);

    if (tagline) {
        ScopedSelect selected(dc, fontOrDefault(smallFont));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, kCaptionGrey);
        RECT line = {r.left + px(66), r.top + px(40), r.right, r.top + px(54)};
        drawText(dc, tagline, &line, DT_SINGLELINE | DT_NOPREFIX | DT_LEFT | DT_TOP);
    }
}
