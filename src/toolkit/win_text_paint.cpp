// Text painted into a device context.
#include "toolkit/win_text.h"

#include <string.h>

#include "toolkit/win_text_wide.h"

using namespace widetext;

int drawText(HDC dc, const char* text, RECT* r, UINT format)
{
    if (!useWide())
        return DrawTextA(dc, Ansi(text).s, -1, r, format);
    Wide w(text);
    return wide.drawText(dc, w.s, -1, r, format);
}

void textOut(HDC dc, int x, int y, const char* text)
{
    if (!useWide()) {
        Ansi a(text);
        TextOutA(dc, x, y, a.s, a.length);
        return;
    }
    Wide w(text);
    wide.textOut(dc, x, y, w.s, w.length);
}

SIZE textExtent(HDC dc, const char* text)
{
    SIZE size = {0, 0};
    if (!useWide()) {
        Ansi a(text);
        GetTextExtentPoint32A(dc, a.s, a.length, &size);
        return size;
    }
    Wide w(text);
    wide.getTextExtentPoint32(dc, w.s, w.length, &size);
    return size;
}
