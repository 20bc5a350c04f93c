// libFuzzer target of the banner picture decoder with its memory budget in
// place: every input is a picture file as a download hands it over.
//
// A picture that decodes has sides of 1 to 32,768 pixels and all its pixels
// (AddressSanitizer sees a short buffer); whatever the input, the decoder
// holds nothing once the picture is released, so the budget's count stays
// true from one decode to the next.

#include <stddef.h>
#include <stdint.h>

#include "banners/picture_decode.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    DecodedPicture p;
    if (decodePicture(data, size, &p)) {
        CHECK(p.rgb && p.width >= 1 && p.width <= 32768 && p.height >= 1 && p.height <= 32768);
        volatile unsigned char last = p.rgb[(size_t)p.width * (size_t)p.height * 3 - 1];
        (void)last;
    }
    releasePicture(&p);
    CHECK(pictureBytesInUse() == 0);
    return 0;
}
