// The display-scale rule. Every pixel number of the user interface is
// written as it is at 96 DPI (100 %) and scaled here to the DPI the window
// is shown at; the pictures come in three sets, drawn for 100 %, 150 % and
// 200 %, and the set for a DPI is chosen here too.
#pragma once

enum { kBaseDpi = 96 };

// n pixels at 96 DPI, at dpi: n * dpi / 96 rounded half away from zero, as
// MulDiv rounds (1 at 144 is 2, -1 is -2, 1 at 120 is 1). Rounding a
// negative number the same way as its positive twin keeps an edge measured
// from the right (W - n) the mirror of one measured from the left. A dpi of
// 0 or less reads as 96.
int scaleToDpi(int n, int dpi);

// The picture sets, by the scale they are drawn for.
enum PictureSet { PictureSet100, PictureSet150, PictureSet200, PictureSetCount };

// The set a dpi draws from: the smallest set drawn for at least that DPI,
// so that a picture is scaled down, never up (a 16-pixel icon is never
// stretched to 20 at 120 DPI; the 24-pixel one is shrunk); above 200 % the
// largest set.
PictureSet pictureSetFor(int dpi);

// The DPI a set is drawn for: 96, 144 or 192.
int pictureSetDpi(PictureSet set);

// The resource number of a picture in a set, given its number in the 100 %
// set: the 150 % pictures are numbered 10 above, the 200 % ones 20 above
// (bitmap 10 is the toolbar at 100 %, 20 at 150 %, 30 at 200 %).
int pictureSetResource(int resource100, PictureSet set);
