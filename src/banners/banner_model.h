// The current banner and the banner catalogue, as the server's BANNER and
// BANNERLIST ... BANNEREND lines set them.
#pragma once

#include <stdint.h>

enum { kFetchNotHttp = 6 };

void showBanner(const char* idField, const char* urlField, const char* linkField);
void resetBannerCatalogue();
void appendBannerCatalogueItem(const char* id, const char* url, const char* link, const char* weight,
                               const char* enabled);
void endBannerCatalogue();
