/* The allocation functions the picture decoder's library is compiled with
 * (picture_decode.cpp): every block is counted against the decode budget,
 * and one that would pass it is refused. C linkage, for the library's C
 * translation unit. */
#ifndef ZB_PICTURE_ALLOC_H
#define ZB_PICTURE_ALLOC_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

void* pictureAlloc(size_t size);
void* pictureRealloc(void* block, size_t size);
void pictureFree(void* block);

#ifdef __cplusplus
}
#endif

#endif
