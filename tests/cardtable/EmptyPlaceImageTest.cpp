// The empty-place image, read back pixel by pixel.
#include "CardImagePixels.h"

#include "cardtable/core/CardImages.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255), kBlack = 0;

struct Shades {
    COLORREF background, light, dark1, dark2;
    explicit Shades(COLORREF bg)
        : background(bg), light(ShadeColor(bg, kWhite, 0.2)), dark1(ShadeColor(bg, kBlack, 0.4)),
          dark2(ShadeColor(bg, kBlack, 0.2)) {}
};

// The expected picture, from the design: the sunken outline (each segment
// without its end point), the light inner lines, and the chequerboard.
std::vector<COLORREF> Expected(const Shades& s, int w, int h) {
    std::vector<COLORREF> img(static_cast<size_t>(w) * h, s.background);
    auto segment = [&](COLORREF c, int x0, int y0, int x1, int y1) {
        const int dx = (x1 > x0) - (x1 < x0), dy = (y1 > y0) - (y1 < y0);
        for (int x = x0, y = y0; x != x1 || y != y1; x += dx, y += dy)
            img[static_cast<size_t>(y) * w + x] = c;
    };
    segment(s.dark1, 2, 0, w - 3, 0);
    segment(s.dark1, w - 3, 0, w - 1, 2);
    segment(s.dark2, w - 1, 2, w - 1, h - 3);
    segment(s.dark2, w - 1, h - 3, w - 3, h - 1);
    segment(s.dark2, w - 3, h - 1, 2, h - 1);
    segment(s.dark2, 2, h - 1, 0, h - 3);
    segment(s.dark1, 0, h - 3, 0, 2);
    segment(s.dark1, 0, 2, 2, 0);
    segment(s.light, w - 2, 3, w - 2, h - 2);
    segment(s.light, w - 3, h - 2, 3, h - 2);
    for (int y = 2; y < h - 2; ++y)
        for (int x = 2; x < w - 2; ++x)
            img[static_cast<size_t>(y) * w + x] = (x - 2 + y - 2) % 2 == 0 ? s.light : s.background;
    img[2 * static_cast<size_t>(w) + 2] = s.background;
    return img;
}

CardImagePixels Render(COLORREF background, int w, int h) {
    UniqueBitmap image = BuildEmptyPlaceImage(nullptr, background, w, h);
    EXPECT_TRUE(image);
    UniqueDc dc(CreateCompatibleDC(nullptr));
    // Handed back unselected: it can go straight into another DC.
    SelectGuard selection(dc.get(), image.get());
    EXPECT_NE(GetCurrentObject(dc.get(), OBJ_BITMAP), nullptr);
    return CardImagePixels(dc.get(), 0, 0, w, h);
}

void ExpectImage(COLORREF background, int w, int h) {
    const Shades s(background);
    const CardImagePixels got = Render(background, w, h);
    ASSERT_TRUE(got.Valid());
    const std::vector<COLORREF> want = Expected(s, w, h);
    int wrong = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const COLORREF c = got.At(x, y), e = want[static_cast<size_t>(y) * w + x];
            if (c != e && ++wrong <= 10)
                ADD_FAILURE() << std::hex << "(" << std::dec << x << ", " << y << ") is 0x"
                              << std::hex << c << ", wanted 0x" << e;
        }
    }
    EXPECT_EQ(wrong, 0);
}

TEST(CardImagesEmptyPlace, UsualSizeOnTheDefaultGreen) {
    ExpectImage(0x005000, 71, 96);
}

TEST(CardImagesEmptyPlace, OtherColourAndSize) {
    ExpectImage(RGB(40, 60, 140), 20, 28);
}

TEST(CardImagesEmptyPlace, KeyPixels) {
    const Shades s(0x005000);
    const CardImagePixels img = Render(0x005000, 71, 96);
    ASSERT_TRUE(img.Valid());
    // Corners outside the card shape keep the background.
    EXPECT_EQ(img.At(0, 0), s.background);
    EXPECT_EQ(img.At(1, 0), s.background);
    EXPECT_EQ(img.At(70, 95), s.background);
    // The outline: dark at the top and left, the lighter dark at the right
    // and bottom; each segment leaves its end point to the next one.
    EXPECT_EQ(img.At(2, 0), s.dark1);
    EXPECT_EQ(img.At(68, 0), s.dark1);
    EXPECT_EQ(img.At(69, 1), s.dark1);
    EXPECT_EQ(img.At(70, 2), s.dark2);
    EXPECT_EQ(img.At(69, 94), s.dark2);
    EXPECT_EQ(img.At(2, 95), s.dark2);
    EXPECT_EQ(img.At(1, 94), s.dark2);
    EXPECT_EQ(img.At(0, 93), s.dark1);
    EXPECT_EQ(img.At(1, 1), s.dark1);
    // The light inner lines stop short of their end points.
    EXPECT_EQ(img.At(69, 3), s.light);
    EXPECT_EQ(img.At(69, 93), s.light);
    EXPECT_EQ(img.At(69, 2), s.background);
    EXPECT_EQ(img.At(68, 94), s.light);
    EXPECT_EQ(img.At(4, 94), s.light);
    EXPECT_EQ(img.At(3, 94), s.background);
    // The chequerboard, with (2, 2) put back to the background.
    EXPECT_EQ(img.At(2, 2), s.background);
    EXPECT_EQ(img.At(3, 2), s.background);
    EXPECT_EQ(img.At(4, 2), s.light);
    EXPECT_EQ(img.At(3, 3), s.light);
    EXPECT_EQ(img.At(68, 93), s.background);
    EXPECT_EQ(img.At(67, 93), s.light);
}

TEST(CardImagesEmptyPlace, ReleasesEverythingButTheImage) {
    const int before = LiveGdiHandles();
    {
        UniqueBitmap image = BuildEmptyPlaceImage(nullptr, 0x005000, 71, 96);
        EXPECT_EQ(LiveGdiHandles(), before + 1);
    }
    EXPECT_EQ(LiveGdiHandles(), before);
}

} // namespace
