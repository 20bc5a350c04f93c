// Decoding a banner picture into a 24-bit top-down DIB section of the size
// it is drawn at (on the download's worker or the window's thread, one
// decode at a time), the painting of the strip, and its click.
#include "banners/win_banners.h"

#include <string.h>

#include "banners/banner_layout.h"
#include "banners/banner_model.h"
#include "banners/picture_decode.h"
#include "session/session_state.h"
#include "session/site.h"
#include "toolkit/win_dpi.h"
#include "toolkit/win_drawing.h"
#include "toolkit/win_fonts.h"
#include "toolkit/win_text.h"
#include "toolkit/win_web_open.h"

namespace {

const COLORREF kBoxWhite = RGB(0xFF, 0xFF, 0xFF);
const COLORREF kPlaceholderGrey = RGB(0x96, 0x96, 0xAA);


RECT toRect(const LayoutRect& r)
{
    RECT out = {r.left, r.top, r.left + r.width, r.top + r.height};
    return out;
}

void drawTextIn(HDC dc, RECT r, const char* text, HFONT font, COLORREF color, UINT format)
{
    ScopedSelect selectFont(dc, font ? (HGDIOBJ)font : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, color);
    drawText(dc, text, &r, format);
}

void drawPicture(HDC dc, const BannerPicture& p, const LayoutRect& box)
{
    LayoutRect to = placeBannerPictureAt(box, p.width, p.height, uiDpi);
    BITMAP kept;
    if (to.width <= 0 || to.height <= 0 || !GetObjectA((HBITMAP)p.bitmap, sizeof kept, &kept))
        return;
    HDC mem = CreateCompatibleDC(dc);
    if (!mem)
        return;
    {
        ScopedSelect selectBitmap(mem, (HGDIOBJ)p.bitmap);
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, to.left, to.top, to.width, to.height, mem, 0, 0, kept.bmWidth, kept.bmHeight, SRCCOPY);
    }
    DeleteDC(mem);
}

// One decode at a time: the decoder's budget is one counter, and four
// large decodes at once would exhaust the 32-bit address space.
struct DecodeLock {
    CRITICAL_SECTION section;
    DecodeLock() { InitializeCriticalSection(&section); }
};
DecodeLock decodeLock;

// The decoder's R, G, B rows into a new 24-bit top-down DIB section, whose
// rows hold B, G, R and are padded to 4 bytes, at the size the picture is
// kept at on a display of dpi (keptPictureSize): a picture of another size
// is scaled by taking the nearest pixel, as the blit's COLORONCOLOR mode
// does. Null when it cannot be made.
HBITMAP makeBitmap(const DecodedPicture& p, int dpi)
{
    int width = 0, height = 0;
    keptPictureSize(p.width, p.height, &width, &height, dpi);
    BITMAPINFO info;
    memset(&info, 0, sizeof info);
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // rows run top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    if (!bitmap || !bits) {
        if (bitmap)
            DeleteObject(bitmap);
        return nullptr;
    }
    size_t stride = ((size_t)width * 3 + 3) & ~(size_t)3;
    for (int y = 0; y < height; y++) {
        const unsigned char* row = p.rgb + (size_t)((int64_t)y * p.height / height) * p.width * 3;
        unsigned char* to = (unsigned char*)bits + (size_t)y * stride;
        for (int x = 0; x < width; x++, to += 3) {
            const unsigned char* from = row + (size_t)((int64_t)x * p.width / width) * 3;
            to[0] = from[2];
            to[1] = from[1];
            to[2] = from[0];
        }
    }
    return bitmap;
}

} // namespace

bool decodeBannerBitmap(const void* bytes, size_t length, int dpi, HBITMAP* bitmap, int* width, int* height)
{
    *bitmap = nullptr;
    EnterCriticalSection(&decodeLock.section);
    DecodedPicture p;
    bool decoded = decodePicture(bytes, length, &p);
    if (decoded) {
        // A bitmap that cannot be made leaves the strip as it was, silently.
        *bitmap = makeBitmap(p, dpi);
        *width = p.width;
        *height = p.height;
        releasePicture(&p);
    } else {
        *width = p.tooLarge ? p.width : 0;
        *height = p.tooLarge ? p.height : 0;
    }
    LeaveCriticalSection(&decodeLock.section);
    return decoded;
}

void installBannerBitmap(HBITMAP bitmap, int width, int height)
{
    BannerPicture& p = session.banner.picture;
    if (p.bitmap)
        DeleteObject((HBITMAP)p.bitmap);
    p.bitmap = bitmap;
    p.width = width;
    p.height = height;
    session.banner.shown = true;
    winBannerFetcher().stripChanged();
}

bool decodeBannerPicture(const void* bytes, size_t length)
{
    HBITMAP bitmap = nullptr;
    int width = 0, height = 0;
    if (!decodeBannerBitmap(bytes, length, uiDpi, &bitmap, &width, &height))
        return false;
    if (bitmap)
        installBannerBitmap(bitmap, width, height);
    return true;
}

void paintBannerStrip(HDC dc, const RECT& r)
{
    ScopedDcState keep(dc);
    Color panel = session.colors.panel;
    fillGradientV(dc, r, panel, shadeColor(panel, 40));

    BannerStripLayout s = layoutBannerStrip(r.left, r.top, r.right - r.left, r.bottom - r.top, uiDpi);
    if (s.hasPanel) {
        RECT p = toRect(s.panel);
        fillSolid(dc, p, shadeColor(panel, 60));
        DrawEdge(dc, &p, EDGE_SUNKEN, BF_RECT);
        InflateRect(&p, -px(6), -px(4));
        char promo[3 * 256];
        formatText(promo, sizeof promo,
                   "Сделано командой %s.\r\nБесплатный клиент для Windows 98-11.\r\n"
                   "Единый аккаунт с порталом.",
                   kProductName);
        drawTextIn(dc, p, promo, fontSmall, shadeColor(panel, -120), DT_WORDBREAK | DT_NOPREFIX);
    }

    RECT box = toRect(s.box);
    RECT frame = box;
    InflateRect(&frame, px(3), px(3));
    fillSolid(dc, frame, kBoxWhite);
    DrawEdge(dc, &frame, EDGE_SUNKEN, BF_RECT);

    const CurrentBanner& b = session.banner;
    if (b.picture.bitmap && b.shown) {
        drawPicture(dc, b.picture, s.box);
    } else {
        char placeholder[3 * 160];
        if (session.connected)
            copyText(placeholder, sizeof placeholder, "здесь будет баннер 472x61");
        else
            formatText(placeholder, sizeof placeholder, "%s  ~  чат Zumbara", kDefaultServerHost);
        drawTextIn(dc, box, placeholder, fontUiBold, kPlaceholderGrey,
                   DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
    }

    if (s.hasLabel)
        drawTextIn(dc, toRect(s.label), "реклама", fontSmall, shadeColor(panel, -110),
                   DT_SINGLELINE | DT_LEFT | DT_NOPREFIX);
}

void openBannerLink()
{
    if (const char* link = bannerLinkToOpen())
        openWebAddress(link);
}
