// The banner strip of the main window on Win32: picture downloads on
// worker threads, their results, decoding into a bitmap, painting the strip
// and its click. The banner rules reach it through winBannerFetcher().
#pragma once

#include <windows.h>

#include <stddef.h>
#include <stdint.h>

#include "banners/banner_http.h"
#include "banners/banner_model.h"
#include "session/host.h"

// The main window, which downloads report to and whose timer waits for a
// free download slot, and its banner strip; the main window sets them when
// it creates the strip.
struct BannerWindows {
    HWND main;
    HWND strip;
};
extern BannerWindows bannerWindows;

// The settings file [UI] BannerTimeLimit is read from at the start of each
// download; null or empty: the default limit. Set at start-up.
extern const char* bannerSettingsFile;

// The strip and its downloads as the banner rules use them.
BannerFetcher& winBannerFetcher();

// Starts a worker that downloads an "http://" picture for the banner and
// decodes it; its outcome arrives later as one kMsgBannerResult to the main
// window (a worker told to give up drops it). At most four run at once: with
// every slot held, the download waits for the next free one (see
// banner_slots.h). An address without a usable host reports host-not-found.
// The whole download's time limit is read from the settings file, [UI]
// BannerTimeLimit (seconds, at most 60), when it starts.
void startBannerFetch(const char* url, int32_t id);

// The main window's handler of kMsgBannerResult. A success carries the
// decoded picture (a DecodedBanner), which this function takes over.
void onBannerResult(WPARAM wp, LPARAM lp);

// Decodes a GIF, JPEG, PNG or BMP file held in memory into a 24-bit
// top-down DIB section of the size the strip draws it at on a display of
// dpi, at most 472 x 61 at 96 DPI (keptPictureSize), on any thread, one
// decode at a time; width and height are the picture's own. False when the
// bytes are no such picture (width and height then 0) or when it would need
// more than the decode budget (width and height then its size); true with a
// null *bitmap when the bitmap could not be made.
bool decodeBannerBitmap(const void* bytes, size_t length, int dpi, HBITMAP* bitmap, int* width, int* height);

// Makes the bitmap the current banner's picture of that size and redraws
// the strip.
void installBannerBitmap(HBITMAP bitmap, int width, int height);

// Decodes a picture file for the display's scale (uiDpi) and makes it the
// current banner's picture. False when the bytes are no such picture. The
// caller keeps the bytes.
bool decodeBannerPicture(const void* bytes, size_t length);

// Paints the strip into dc over r at the display's scale (uiDpi): gradient,
// promotional panel, framed box with the picture or a placeholder, and the
// label. A picture kept for another scale (the window has moved since it
// was decoded) is stretched into its place until the next one.
void paintBannerStrip(HDC dc, const RECT& r);

// A click on the strip: opens the banner's web page, if it has one to open.
void openBannerLink();
