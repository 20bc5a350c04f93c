// Image lists from the program's picture sets, at the size a DPI asks for.
#pragma once

#include <windows.h>
#include <commctrl.h>

// An image list of count square pictures of size100 pixels at 96 DPI, for
// a window shown at dpi: built from the bitmap resource of the set that dpi
// draws from (pictureSetFor; resource pictureSetResource(bitmap100, set)),
// a strip of count pictures side by side. At 100 %, 150 % and 200 % the
// set's pictures are used as drawn; in between, the set's pictures are
// scaled down smoothly to scaleToDpi(size100, dpi). Magenta (#FF00FF) is
// transparent. A missing set falls back to the 100 % one, scaled; a missing
// bitmap gives an empty list; null when the list cannot be made.
HIMAGELIST loadPictureSet(HINSTANCE instance, int bitmap100, int size100, int count, int dpi);
