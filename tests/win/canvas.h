// A memory DC over a top-down 32-bit DIB section, for the pixel checks of
// the in-process painting tests.
#pragma once

#include <windows.h>

#include <stdlib.h>

#include "toolkit/win_drawing.h"

// Is every channel of a within tolerance of b's?
inline bool colorNear(COLORREF a, COLORREF b, int tolerance)
{
    return abs((int)GetRValue(a) - (int)GetRValue(b)) <= tolerance &&
           abs((int)GetGValue(a) - (int)GetGValue(b)) <= tolerance &&
           abs((int)GetBValue(a) - (int)GetBValue(b)) <= tolerance;
}

// A top-down 32-bit DIB section selected into a memory DC.
struct Canvas {
    int w, h;
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
    DWORD* bits = nullptr;

    Canvas(int width, int height, COLORREF fill) : w(width), h(height)
    {
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        dc = CreateCompatibleDC(nullptr);
        void* p = nullptr;
        bitmap = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &p, nullptr, 0);
        bits = (DWORD*)p;
        previous = SelectObject(dc, bitmap);
        RECT all = {0, 0, w, h};
        fillSolid(dc, all, fill);
    }
    ~Canvas()
    {
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    COLORREF at(int x, int y)
    {
        GdiFlush();
        DWORD v = bits[y * w + x];
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }
    bool isNear(int x, int y, COLORREF c, int tolerance) { return colorNear(at(x, y), c, tolerance); }
    // Is there a pixel within tolerance of c in x0..x1-1, y0..y1-1?
    bool anyNear(int x0, int y0, int x1, int y1, COLORREF c, int tolerance)
    {
        for (int y = y0; y < y1 && y < h; y++)
            for (int x = x0; x < x1 && x < w; x++)
                if (isNear(x, y, c, tolerance))
                    return true;
        return false;
    }
};
