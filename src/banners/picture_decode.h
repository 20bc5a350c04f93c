// Decoding of banner pictures (GIF, JPEG, PNG, BMP held in memory) into
// 8-bit R, G, B triples, with every allocation of the decoder counted
// against one budget: a hostile file (a few bytes that inflate to
// gigabytes, or a header that promises a huge picture) fails instead of
// taking the process's memory.
//
// One decode at a time: the budget is a single counter, and the decoder's
// allocation hooks take no context. The caller serialises the calls of
// decodePicture and releasePicture (the Win32 side holds a critical section
// around both).
#pragma once

#include <stddef.h>

// The largest picture the strip accepts (4096 x 4096 at 4 bytes a pixel)
// plus 8 MiB for the decoder's own tables and buffers.
const size_t kPictureDecodeBudget = (size_t)4096 * 4096 * 4 + (size_t)8 * 1024 * 1024;

struct DecodedPicture {
    unsigned char* rgb;  // width x height triples, rows top to bottom, no gaps
    int width;
    int height;
    bool tooLarge;       // not decoded: a picture of width x height needs more than the budget
};

// False when the bytes are no picture the decoder takes, or decoding it
// would need more than the budget. A picture too large for the budget has
// tooLarge set and its size from its header; out is otherwise empty.
bool decodePicture(const void* bytes, size_t length, DecodedPicture* out);
void releasePicture(DecodedPicture* picture);

// What the decoder holds now, in bytes (0 between decodes).
size_t pictureBytesInUse();
