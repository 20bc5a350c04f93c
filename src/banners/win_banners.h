// The banner strip of the main window on Win32: picture downloads on
// worker threads, their results, decoding into a bitmap, painting the strip
// and its click. The session core reaches it through mainWindowBanners()
// (main_window.h).
#pragma once

#include <windows.h>

#include <stddef.h>
#include <stdint.h>

#include "host.h"

// Starts one detached worker that downloads an "http://" picture for the
// banner; its outcome arrives later as exactly one kMsgBannerResult to the
// main window. An address without a usable host reports host-not-found.
void startBannerFetch(const char* url, int32_t id);

// Waits the worker allows for a connect and for each read, in milliseconds.
const unsigned kBannerFetchTimeoutMs = 30000;

// The main window's handler of kMsgBannerResult. A success carries a
// movable global memory block with the body, which this function frees.
void onBannerResult(WPARAM wp, LPARAM lp);

// Decodes a GIF, JPEG, PNG or BMP file held in memory and makes it the
// current banner's picture. False when the bytes are no such picture. The
// caller keeps the bytes.
bool decodeBannerPicture(const void* bytes, size_t length);

// Paints the strip into dc over r: gradient, promotional panel, framed box
// with the picture or a placeholder, and the label.
void paintBannerStrip(HDC dc, const RECT& r);

// A click on the strip: opens the banner's web page, if it has one to open.
void openBannerLink();
