#include "toolkit/win_fonts.h"

HFONT fontUi, fontUiBold, fontSmall, fontTitle, fontLogo, fontMono;

static HFONT makeFont(const char* face, int height, int weight, DWORD quality, DWORD pitchAndFamily)
{
    return CreateFontA(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, RUSSIAN_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, quality, pitchAndFamily, face);
}

void createFonts()
{
    fontUi = makeFont("Tahoma", 11, FW_NORMAL, DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS);
    fontUiBold = makeFont("Tahoma", 11, FW_BOLD, DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS);
    fontSmall = makeFont("Tahoma", 10, FW_NORMAL, DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS);
    fontTitle = makeFont("Verdana", 17, FW_BOLD, ANTIALIASED_QUALITY, VARIABLE_PITCH | FF_SWISS);
    fontLogo = makeFont("Verdana", 24, FW_BOLD, ANTIALIASED_QUALITY, VARIABLE_PITCH | FF_SWISS);
    fontMono = makeFont("Courier New", 12, FW_BOLD, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN);
}
