/* The one translation unit that compiles stb_image: only the GIF, JPEG, PNG
 * and BMP decoders, from memory only. Decoding runs on the user-interface
 * thread alone, so the library's per-thread state is plain static data
 * (the shipping exe has no thread-local storage). A side longer than 4096
 * pixels is refused: banner artwork is 472 x 61, and a tiny compressed file
 * must not make the client allocate gigabytes. */
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_GIF
#define STBI_ONLY_JPEG
#define STBI_ONLY_PNG
#define STBI_ONLY_BMP
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_NO_THREAD_LOCALS
#define STBI_MAX_DIMENSIONS 4096
#include "stb_image.h"
