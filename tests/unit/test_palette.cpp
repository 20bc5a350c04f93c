#include <gtest/gtest.h>

#include <string.h>

#include "toolkit/palette.h"

TEST(Palette, FindsAValueInAnyLetterCase)
{
    EXPECT_EQ(paletteIndexOf("#C00060"), 11);
    EXPECT_EQ(paletteIndexOf("#c00060"), 11);
    EXPECT_EQ(paletteIndexOf("#Ff8000"), 7);
    EXPECT_EQ(paletteIndexOf("#000080"), 0);
    EXPECT_STREQ(kPalette[paletteIndexOf("#ff8000")].name, "Оранжевый");
}

TEST(Palette, OnlyAWholeValueMatches)
{
    EXPECT_EQ(paletteIndexOf("#123456"), -1);
    EXPECT_EQ(paletteIndexOf(""), -1);
    EXPECT_EQ(paletteIndexOf(nullptr), -1);
    EXPECT_EQ(paletteIndexOf("#00008"), -1);     // a prefix of "#000080"
    EXPECT_EQ(paletteIndexOf("#0000800"), -1);   // "#000080" and more
    EXPECT_EQ(paletteIndexOf("000080"), -1);     // without the "#"
}

TEST(Palette, NoSelectionMeansTheFirstEntry)
{
    EXPECT_STREQ(paletteValueAt(-1), "#000080");
    EXPECT_STREQ(paletteValueAt(kPaletteSize), "#000080");
    EXPECT_STREQ(paletteValueAt(3), "#008000");
}

TEST(Palette, EveryValueIsFoundAtItsOwnIndex)
{
    // Each value is a distinct, well-formed "#RRGGBB", so a stored colour
    // always selects the entry it came from.
    for (int i = 0; i < kPaletteSize; i++) {
        ASSERT_EQ(strlen(kPalette[i].rgb), 7u) << i;
        EXPECT_EQ(paletteIndexOf(kPalette[i].rgb), i) << kPalette[i].rgb;
    }
}
