// Scaling a picture whose transparent pixels are one key colour (magenta in
// the program's bitmaps), for the sizes between the drawn picture sets.
#pragma once

#include <stddef.h>
#include <stdint.h>

// 24-bit pixels, three bytes each, rows stride bytes apart (a bitmap's rows
// are padded to four bytes).
struct PixelRows {
    uint8_t* bytes;
    int width, height;
    size_t stride;
};

// Scales from into to (any sizes) by area: each target pixel is the average
// of the source pixels under it, weighted by how much of it each covers.
// Key-coloured source pixels take no part in the colour; a target pixel
// whose area is at most half covered by drawn pixels becomes the key, as
// the generator decides for the drawn pictures. A drawn pixel never comes
// out as the key colour itself (it is moved one step off it). The byte order
// inside a pixel does not matter, as long as key is given in the same order.
// Pictures side by side in a strip stay apart when the strip scales by the
// same ratio as each picture.
void scaleKeyedPixels(const PixelRows& from, const PixelRows& to, const uint8_t key[3]);
