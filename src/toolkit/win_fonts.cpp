#include "toolkit/win_fonts.h"

HFONT fontUi, fontUiBold, fontSmall, fontTitle, fontLogo, fontMono;

namespace {

enum { kFontCount = 6 };
HFONT* const kFonts[kFontCount] = {&fontUi, &fontUiBold, &fontSmall, &fontTitle, &fontLogo, &fontMono};
HFONT earlier[kFontCount];  // made before the current ones, not yet deleted

HFONT makeFont(const char* face, int height, int weight, DWORD quality, DWORD pitchAndFamily, int dpi)
{
    return CreateFontA(-scaleToDpi(height, dpi), 0, 0, 0, weight, FALSE, FALSE, FALSE, RUSSIAN_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, quality, pitchAndFamily, face);
}

} // namespace

void createFonts(int dpi)
{
    // Fonts still waiting to be deleted are windows' fonts yet: they are
    // kept for good rather than deleted under a window.
    bool waiting = false;
    for (HFONT f : earlier)
        waiting = waiting || f != nullptr;
    if (!waiting)
        for (int i = 0; i < kFontCount; i++)
            earlier[i] = *kFonts[i];
    fontUi = makeFont("Tahoma", 11, FW_NORMAL, DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS, dpi);
    fontUiBold = makeFont("Tahoma", 11, FW_BOLD, DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS, dpi);
    fontSmall = makeFont("Tahoma", 10, FW_NORMAL, DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS, dpi);
    fontTitle = makeFont("Verdana", 17, FW_BOLD, ANTIALIASED_QUALITY, VARIABLE_PITCH | FF_SWISS, dpi);
    fontLogo = makeFont("Verdana", 24, FW_BOLD, ANTIALIASED_QUALITY, VARIABLE_PITCH | FF_SWISS, dpi);
    fontMono = makeFont("Courier New", 12, FW_BOLD, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, dpi);
}

void deleteEarlierFonts()
{
    for (HFONT& f : earlier) {
        if (f)
            DeleteObject(f);
        f = nullptr;
    }
}
