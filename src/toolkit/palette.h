// The program's colours: the named nick colours the colour boxes offer (the
// main window's and the login dialog's), in the order the boxes list them,
// whose value is what is stored as the nick colour and sent to the server;
// and the colours the panes derive from the chat's panel colour.
#pragma once

#include "base/color.h"

enum { kPaletteSize = 12 };

struct PaletteEntry {
    const char* name;  // shown in the colour box
    const char* rgb;   // "#RRGGBB", upper-case hex digits
};

extern const PaletteEntry kPalette[kPaletteSize];

// Index of the entry whose value equals rgb ignoring letter case (the last
// such entry); -1 when none does or rgb is null.
int paletteIndexOf(const char* rgb);

// The value of entry index; the first entry's when index is outside the
// palette (nothing selected).
const char* paletteValueAt(int index);

// Colours derived from the panel colour, each channel moved by a fixed
// amount and held within 0 to 255.
Color selectedItemColor(Color panel);      // a selected user-list item
Color topicCaptionColor(Color panel);      // the "Тема:" caption
Color sectionHeaderEndColor(Color panel);  // right end of a section header
Color sectionShadowColor(Color panel);     // shadow of a section header's text
