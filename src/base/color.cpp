#include "base/color.h"

#include <string.h>

namespace {

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

Color shadeColor(Color c, int delta)
{
    unsigned channel[3];
    for (int i = 0; i < 3; i++) {
        int v = (int)((c >> (8 * i)) & 0xFF) + delta;
        channel[i] = (unsigned)(v < 0 ? 0 : v > 255 ? 255 : v);
    }
    return rgbColor(channel[0], channel[1], channel[2]);
}

Color parseColor(const char* text, Color fallback)
{
    if (!text)
        return fallback;
    if (*text == '#')
        text++;
    if (strlen(text) < 6)
        return fallback;
    unsigned part[3];
    for (int i = 0; i < 3; i++) {
        int d = hexDigit(*text);
        if (d < 0)
            return fallback;
        unsigned v = (unsigned)d;
        text++;
        d = hexDigit(*text);
        if (d >= 0) {
            v = v * 16 + (unsigned)d;
            text++;
        }
        part[i] = v;
    }
    return rgbColor(part[0], part[1], part[2]);
}
