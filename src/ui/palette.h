// The named nick colours the colour boxes offer (the main window's and the
// login dialog's), in the order the boxes list them. The value is what is
// stored as the nick colour and sent to the server.
#pragma once

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
