#include "toolkit/dpi.h"

#include <stdint.h>

int scaleToDpi(int n, int dpi)
{
    if (dpi <= 0)
        dpi = kBaseDpi;
    int64_t product = (int64_t)n * dpi;
    // Division truncates toward zero, so half the divisor added away from
    // zero rounds halves away from zero.
    int64_t half = kBaseDpi / 2;
    return (int)((product >= 0 ? product + half : product - half) / kBaseDpi);
}

PictureSet pictureSetFor(int dpi)
{
    if (dpi <= 96)
        return PictureSet100;
    if (dpi <= 144)
        return PictureSet150;
    return PictureSet200;
}

int pictureSetDpi(PictureSet set)
{
    static const int kDpi[PictureSetCount] = {96, 144, 192};
    return set >= 0 && set < PictureSetCount ? kDpi[set] : kBaseDpi;
}

int pictureSetResource(int resource100, PictureSet set) { return resource100 + 10 * (int)set; }
