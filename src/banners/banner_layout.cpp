#include "banners/banner_layout.h"

#include <stdint.h>

namespace {

int minInt(int a, int b) { return a < b ? a : b; }

LayoutRect fromEdges(int left, int top, int right, int bottom)
{
    LayoutRect r = {left, top, right - left, bottom - top};
    return r;
}

} // namespace

BannerStripLayout layoutBannerStrip(int left, int top, int width, int height, int dpi)
{
    auto s96 = [dpi](int n) { return scaleToDpi(n, dpi); };
    BannerStripLayout s = {};
    int bw = minInt(width, s96(480)) - s96(8);
    int bh = minInt(height, s96(69)) - s96(8);
    int dx = width - bw;
    int dy = height - bh;
    s.box = {left + dx / 2, top + dy / 2, bw, bh};
    int boxRight = s.box.left + bw;
    int boxBottom = s.box.top + bh;

    s.hasPanel = dx > s96(341);
    if (s.hasPanel)
        s.panel = fromEdges(left + s96(6), top + s96(6), s.box.left - s96(8), top + height - s96(6));
    s.hasLabel = left + width - boxRight > s96(60);
    if (s.hasLabel)
        s.label = fromEdges(boxRight + s96(8), boxBottom - s96(12), boxRight + s96(60), boxBottom + s96(2));
    return s;
}

LayoutRect placeBannerPicture(const LayoutRect& box, int width, int height)
{
    LayoutRect r = {box.left, box.top, 0, 0};
    int bw = box.width, bh = box.height;
    if (bw <= 0 || bh <= 0 || width <= 0 || height <= 0)
        return r;
    if (width <= bw && height <= bh) {
        r = {box.left + (bw - width) / 2, box.top + (bh - height) / 2, width, height};
    } else if ((double)width / height > (double)bw / bh) {
        int h = (int)((int64_t)height * bw / width);
        r = {box.left, box.top + (bh - h) / 2, bw, h};
    } else {
        int w = (int)((int64_t)width * bh / height);
        r = {box.left + (bw - w) / 2, box.top, w, bh};
    }
    return r;
}

LayoutRect placeBannerPictureAt(const LayoutRect& box, int width, int height, int dpi)
{
    return placeBannerPicture(box, scaleToDpi(width, dpi), scaleToDpi(height, dpi));
}

void keptPictureSize(int width, int height, int* keptWidth, int* keptHeight, int dpi)
{
    BannerStripLayout widest = layoutBannerStrip(0, 0, scaleToDpi(480, dpi), scaleToDpi(69, dpi), dpi);
    LayoutRect r = placeBannerPictureAt(widest.box, width, height, dpi);
    *keptWidth = r.width > 0 ? r.width : 1;
    *keptHeight = r.height > 0 ? r.height : 1;
}
