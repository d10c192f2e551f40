// The derived table shades and the table palette.
#include "cardtable/core/CardImages.h"

#include <gtest/gtest.h>

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255), kBlack = 0, kGreen = 0x005000;

// A value the compiler cannot see through, so that the arithmetic under
// test runs in the built code rather than being folded at compile time.
template <class T>
T AtRunTime(T value) {
    volatile T hidden = value;
    return hidden;
}

TEST(CardImagesShade, MovesEachChannelWithItsOwnWeight) {
    const COLORREF green = AtRunTime(kGreen), white = AtRunTime(kWhite);
    EXPECT_EQ(ShadeColor(green, white, AtRunTime(0.1)), 0x26621Fu);
    // Blue: 255 * (0.25 + 0.05) + 0.5 is 77 in double precision; extended
    // precision lands just below and truncates to 76.
    EXPECT_EQ(ShadeColor(green, white, AtRunTime(0.25)), 0x4D7C45u);
    EXPECT_EQ(ShadeColor(green, AtRunTime(kBlack), AtRunTime(0.4)), 0x003000u);
    // Towards black the channels truncate: 0x80 * (1 - 0.25 - 0.05) + 0.5.
    EXPECT_EQ(GetBValue(ShadeColor(AtRunTime(RGB(0, 0, 0x80)), kBlack, AtRunTime(0.25))), 90);
}

TEST(CardImagesShade, EndsGiveTheColoursUnchanged) {
    EXPECT_EQ(ShadeColor(0x12345678, kWhite, 0), 0x12345678u);
    EXPECT_EQ(ShadeColor(0x12345678, kWhite, -0.5), 0x12345678u);
    EXPECT_EQ(ShadeColor(kGreen, 0x02ABCDEF, 1.0), 0x02ABCDEFu);
    EXPECT_EQ(ShadeColor(kGreen, 0x02ABCDEF, 3.0), 0x02ABCDEFu);
    // Just inside the ends the top byte is dropped.
    EXPECT_EQ(ShadeColor(0x12005000, kBlack, 0.0001) >> 24, 0u);
}

TEST(CardImagesPalette, HoldsTheTableShades) {
    UniquePalette palette = BuildPalette(kGreen);
    ASSERT_TRUE(palette);
    PALETTEENTRY e[11]{};
    ASSERT_EQ(GetPaletteEntries(palette.get(), 0, 11, e), 10u);
    auto rgb = [&](int i) { return RGB(e[i].peRed, e[i].peGreen, e[i].peBlue); };
    EXPECT_EQ(rgb(0), kBlack);
    EXPECT_EQ(rgb(1), kGreen);
    EXPECT_EQ(rgb(3), 0x4D7C45u);
    EXPECT_EQ(rgb(4), 0x003C00u); // green 80 * 0.75 + 0.5
    EXPECT_EQ(rgb(5), 0x26621Fu);
    EXPECT_EQ(rgb(6), 0x407338u); // 255 * 0.22, 80 + 175 * 0.2, 255 * 0.25
    EXPECT_EQ(rgb(7), kGreen);
    EXPECT_EQ(rgb(8), 0x003000u);
    EXPECT_EQ(rgb(9), 0x004000u); // green 80 * 0.8 + 0.5
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(e[i].peFlags, 0) << i;
}

TEST(CardImagesPalette, MarksColoursPaletteRelative) {
    EXPECT_EQ(PaletteColor(0x00123456), 0x02123456u);
    EXPECT_EQ(PaletteColor(0x01123456), 0x02123456u);
}

} // namespace
