// Colours as the program holds them: 24-bit values 0x00BBGGRR (the layout of
// a Windows COLORREF), written as "#RRGGBB" in settings, protocol and dialogs.
#pragma once

#include <stdint.h>

typedef uint32_t Color;

inline Color rgbColor(unsigned r, unsigned g, unsigned b)
{
    return (Color)((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

// Each of red, green and blue moved by delta and held within 0 .. 255: the
// lighter and darker shades of the panel colour.
Color shadeColor(Color c, int delta);

// "#RRGGBB" (the "#" optional) to a colour; the fallback on bad input.
Color parseColor(const char* text, Color fallback);
