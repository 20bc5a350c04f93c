#include "toolkit/win_picture_sets.h"

#include <string.h>

#include "toolkit/dpi.h"
#include "toolkit/picture_scale.h"

namespace {

const COLORREF kMagenta = RGB(0xFF, 0x00, 0xFF);

HBITMAP loadBitmap(HINSTANCE instance, int resource)
{
    return (HBITMAP)LoadImageA(instance, MAKEINTRESOURCEA(resource), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
}

// A 24-bit strip of count pictures of size x size, scaled from bitmap's
// pictures; null when bitmap is no 24-bit DIB section or the new one cannot
// be made. Both keep their rows bottom-up, so they scale row for row.
HBITMAP scaledStrip(HBITMAP bitmap, int count, int size)
{
    DIBSECTION from;
    if (GetObjectA(bitmap, sizeof from, &from) != (int)sizeof from || from.dsBm.bmBitsPixel != 24 ||
        !from.dsBm.bmBits)
        return nullptr;
    BITMAPINFO info;
    memset(&info, 0, sizeof info);
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = count * size;
    info.bmiHeader.biHeight = size;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP to = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!to || !bits) {
        if (to)
            DeleteObject(to);
        return nullptr;
    }
    GdiFlush();
    PixelRows source = {(uint8_t*)from.dsBm.bmBits, (int)from.dsBm.bmWidth, (int)from.dsBm.bmHeight,
                        (size_t)from.dsBm.bmWidthBytes};
    PixelRows target = {(uint8_t*)bits, count * size, size, ((size_t)(count * size) * 3 + 3) & ~(size_t)3};
    const uint8_t key[3] = {0xFF, 0x00, 0xFF};
    scaleKeyedPixels(source, target, key);
    return to;
}

} // namespace

HIMAGELIST loadPictureSet(HINSTANCE instance, int bitmap100, int size100, int count, int dpi)
{
    int size = scaleToDpi(size100, dpi);
    if (size < 1)
        size = 1;
    HIMAGELIST list = ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, count, 0);
    if (!list)
        return nullptr;
    PictureSet set = pictureSetFor(dpi);
    HBITMAP bitmap = loadBitmap(instance, pictureSetResource(bitmap100, set));
    int drawn = scaleToDpi(size100, pictureSetDpi(set));
    if (!bitmap && set != PictureSet100) {
        bitmap = loadBitmap(instance, bitmap100);
        drawn = size100;
    }
    if (bitmap && drawn != size) {
        HBITMAP scaled = scaledStrip(bitmap, count, size);
        DeleteObject(bitmap);
        bitmap = scaled;
    }
    if (bitmap) {
        ImageList_AddMasked(list, bitmap, kMagenta);
        DeleteObject(bitmap);
    }
    return list;
}
