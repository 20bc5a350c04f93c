// The six fonts of the user interface, made at start-up for the display's
// DPI and made again when the main window moves to a display of another.
#pragma once

#include <windows.h>

#include "toolkit/dpi.h"

extern HFONT fontUi, fontUiBold, fontSmall, fontTitle, fontLogo, fontMono;

// Makes the six fonts for dpi; their heights are given in pixels at 96 DPI
// and scaled with the rest. The fonts of an earlier call stay alive until
// deleteEarlierFonts, so that the windows holding them can be given the new
// ones first (fonts of a call before that are never deleted).
void createFonts(int dpi = kBaseDpi);
void deleteEarlierFonts();
