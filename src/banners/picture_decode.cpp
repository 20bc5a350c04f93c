#include "banners/picture_decode.h"

#include <limits.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "banners/picture_alloc.h"
#include <stb_image.h>

namespace {

// Each block carries its size in a header, so a reallocation or a release
// knows what it gives back. 16 bytes keep the block as aligned as malloc's.
const size_t kHeader = 16;

size_t bytesInUse;
bool refused;  // the budget refused a block during this decode

size_t& sizeOf(void* header) { return *(size_t*)header; }

bool fitsBudget(size_t oldSize, size_t newSize)
{
    size_t others = bytesInUse - oldSize;
    bool fits = newSize <= kPictureDecodeBudget - others;
    refused |= !fits;
    return fits;
}

// A decode the budget stopped was for a picture too large when its header
// promises at least a quarter of the budget in pixels of 4 bytes: an honest
// file smaller than that never needs the whole budget, so its refusal means
// data that inflates far past what the header says, which is no picture.
bool tooLargeForBudget(const void* bytes, size_t length, DecodedPicture* out)
{
    int width = 0, height = 0, channels = 0;
    if (!refused || !stbi_info_from_memory((const stbi_uc*)bytes, (int)length, &width, &height, &channels))
        return false;
    if (width < 1 || height < 1 || (uint64_t)width * (uint64_t)height * 4u < kPictureDecodeBudget / 4)
        return false;
    out->width = width;
    out->height = height;
    out->tooLarge = true;
    return true;
}

} // namespace

extern "C" void* pictureAlloc(size_t size)
{
    if (!fitsBudget(0, size))
        return nullptr;
    // Zeroed: the JPEG decoder uses a Huffman table that a scan names even
    // when the file never defined it, and what an earlier decode left in that
    // memory can walk its code search past the table's end; a zeroed table
    // reads as a code of length zero and stays inside it.
    void* header = calloc(1, size + kHeader);
    if (!header)
        return nullptr;
    sizeOf(header) = size;
    bytesInUse += size;
    return (char*)header + kHeader;
}

extern "C" void* pictureRealloc(void* block, size_t size)
{
    if (!block)
        return pictureAlloc(size);
    void* header = (char*)block - kHeader;
    size_t oldSize = sizeOf(header);
    if (!fitsBudget(oldSize, size))
        return nullptr;  // the old block stays, as with realloc
    void* moved = realloc(header, size + kHeader);
    if (!moved)
        return nullptr;
    sizeOf(moved) = size;
    bytesInUse = bytesInUse - oldSize + size;
    return (char*)moved + kHeader;
}

extern "C" void pictureFree(void* block)
{
    if (!block)
        return;
    void* header = (char*)block - kHeader;
    bytesInUse -= sizeOf(header);
    free(header);
}

bool decodePicture(const void* bytes, size_t length, DecodedPicture* out)
{
    memset(out, 0, sizeof *out);
    if (!bytes || length == 0 || length > INT_MAX)
        return false;
    int width = 0, height = 0, channels = 0;
    refused = false;
    stbi_uc* rgb = stbi_load_from_memory((const stbi_uc*)bytes, (int)length, &width, &height, &channels, 3);
    if (!rgb) {
        tooLargeForBudget(bytes, length, out);
        return false;
    }
    if (width < 1 || height < 1) {
        stbi_image_free(rgb);  // a GIF may declare a side of 0 and still "decode"
        return false;
    }
    out->rgb = rgb;
    out->width = width;
    out->height = height;
    return true;
}

void releasePicture(DecodedPicture* picture)
{
    if (picture->rgb)
        stbi_image_free(picture->rgb);
    memset(picture, 0, sizeof *picture);
}

size_t pictureBytesInUse() { return bytesInUse; }
