#include "toolkit/picture_scale.h"

namespace {

// One target column's (or row's) share of the source: the source pixels
// first .. last and how much of the first and the last it covers. Lengths
// are counted in units of 1 / (source size x target size), so that both a
// source and a target pixel are a whole number of units long.
struct Span {
    int first, last;
    int64_t firstShare, lastShare, whole;
};

Span spanOf(int i, int sourceSize, int targetSize)
{
    // Target pixel i runs from i * sourceSize to (i + 1) * sourceSize in
    // units where a source pixel is targetSize long.
    int64_t begin = (int64_t)i * sourceSize;
    int64_t end = begin + sourceSize;
    Span s;
    s.first = (int)(begin / targetSize);
    s.last = (int)((end - 1) / targetSize);
    s.firstShare = (int64_t)(s.first + 1) * targetSize - begin;
    s.lastShare = end - (int64_t)s.last * targetSize;
    if (s.first == s.last)
        s.firstShare = s.lastShare = sourceSize;
    s.whole = targetSize;
    return s;
}

int64_t shareOf(const Span& s, int k)
{
    if (k == s.first)
        return s.firstShare;
    if (k == s.last)
        return s.lastShare;
    return s.whole;
}

} // namespace

void scaleKeyedPixels(const PixelRows& from, const PixelRows& to, const uint8_t key[3])
{
    if (from.width <= 0 || from.height <= 0 || to.width <= 0 || to.height <= 0)
        return;
    const int64_t area = (int64_t)from.width * from.height;  // of one target pixel, in units
    for (int y = 0; y < to.height; y++) {
        Span row = spanOf(y, from.height, to.height);
        uint8_t* out = to.bytes + (size_t)y * to.stride;
        for (int x = 0; x < to.width; x++, out += 3) {
            Span column = spanOf(x, from.width, to.width);
            int64_t sum[3] = {0, 0, 0};
            int64_t drawn = 0;
            for (int sy = row.first; sy <= row.last; sy++) {
                int64_t h = shareOf(row, sy);
                const uint8_t* line = from.bytes + (size_t)sy * from.stride;
                for (int sx = column.first; sx <= column.last; sx++) {
                    const uint8_t* p = line + (size_t)sx * 3;
                    if (p[0] == key[0] && p[1] == key[1] && p[2] == key[2])
                        continue;
                    int64_t weight = h * shareOf(column, sx);
                    for (int c = 0; c < 3; c++)
                        sum[c] += weight * p[c];
                    drawn += weight;
                }
            }
            if (drawn * 2 <= area) {
                for (int c = 0; c < 3; c++)
                    out[c] = key[c];
                continue;
            }
            for (int c = 0; c < 3; c++)
                out[c] = (uint8_t)((sum[c] + drawn / 2) / drawn);
            if (out[0] == key[0] && out[1] == key[1] && out[2] == key[2])
                out[0] = (uint8_t)(key[0] > 0 ? key[0] - 1 : 1);
        }
    }
}
