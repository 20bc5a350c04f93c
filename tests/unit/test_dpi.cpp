#include <gtest/gtest.h>

#include "toolkit/dpi.h"

TEST(Dpi, PixelNumbersScaleByDpiOver96RoundingHalvesAwayFromZero)
{
    struct Case {
        int pixels, at96, at120, at144, at192;
    };
    const Case cases[] = {
        {0, 0, 0, 0, 0},
        {1, 1, 1, 2, 2},          // 1.25 down, 1.5 up
        {2, 2, 3, 3, 4},          // 2.5 up
        {3, 3, 4, 5, 6},          // 3.75 up, 4.5 up
        {-1, -1, -1, -2, -2},     // the mirror of 1
        {-3, -3, -4, -5, -6},
        {-217, -217, -271, -326, -434},  // 271.25, 325.5
        {16, 16, 20, 24, 32},
        {18, 18, 23, 27, 36},     // 22.5 up
        {211, 211, 264, 317, 422},  // 263.75, 316.5
        {472, 472, 590, 708, 944},
        {61, 61, 76, 92, 122},    // 76.25, 91.5
        {880, 880, 1100, 1320, 1760},
        {620, 620, 775, 930, 1240},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(scaleToDpi(c.pixels, 96), c.at96) << c.pixels;
        EXPECT_EQ(scaleToDpi(c.pixels, 120), c.at120) << c.pixels;
        EXPECT_EQ(scaleToDpi(c.pixels, 144), c.at144) << c.pixels;
        EXPECT_EQ(scaleToDpi(c.pixels, 192), c.at192) << c.pixels;
    }
    EXPECT_EQ(scaleToDpi(62, 0), 62);  // no DPI known: 96
}

TEST(Dpi, EachDpiDrawsFromTheSmallestSetNotSmallerThanIt)
{
    struct Case {
        int dpi;
        PictureSet set;
        int toolbarResource;
    };
    const Case cases[] = {
        {72, PictureSet100, 10},  {96, PictureSet100, 10},  {97, PictureSet150, 20},
        {120, PictureSet150, 20}, {144, PictureSet150, 20}, {168, PictureSet200, 30},
        {192, PictureSet200, 30}, {288, PictureSet200, 30},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(pictureSetFor(c.dpi), c.set) << c.dpi;
        EXPECT_EQ(pictureSetResource(10, pictureSetFor(c.dpi)), c.toolbarResource) << c.dpi;
        // The set's pictures are never smaller than those the DPI asks for
        // up to 200 %, so they are only ever scaled down.
        if (c.dpi <= 192) {
            EXPECT_GE(scaleToDpi(16, pictureSetDpi(c.set)), scaleToDpi(16, c.dpi)) << c.dpi;
        }
    }
}
