/* The one translation unit that compiles stb_image: only the GIF, JPEG, PNG
 * and BMP decoders, from memory only. Every allocation goes through the
 * decode budget (picture_alloc.h), so a tiny compressed file cannot make the
 * client allocate gigabytes: the inflate buffer grows by doubling whatever
 * the header declares, and the side limit alone does not bound it. The
 * budget decides which pictures are too large; the side limit only keeps
 * absurd headers out (banner artwork is 472 x 61).
 * No thread-local storage (the shipping exe has none) and no failure
 * strings, which would be the library's one written global; decodes run
 * one at a time anyway. */
#include "banners/picture_alloc.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_GIF
#define STBI_ONLY_JPEG
#define STBI_ONLY_PNG
#define STBI_ONLY_BMP
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_NO_THREAD_LOCALS
#define STBI_NO_FAILURE_STRINGS
#define STBI_MAX_DIMENSIONS 32768
#define STBI_MALLOC(size) pictureAlloc(size)
#define STBI_REALLOC(block, size) pictureRealloc(block, size)
#define STBI_FREE(block) pictureFree(block)
#include <stb_image.h>
