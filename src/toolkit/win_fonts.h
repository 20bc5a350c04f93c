// The six fonts of the user interface, created once at start-up and kept
// for the life of the process.
#pragma once

#include <windows.h>

extern HFONT fontUi, fontUiBold, fontSmall, fontTitle, fontLogo, fontMono;

void createFonts();
