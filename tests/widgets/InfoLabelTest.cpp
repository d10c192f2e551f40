// The info label's picture: where its number stands, the oval clip of the
// bubble and the caption band.
#include "widgets/InfoLabel.h"

#include "cardtable/core/MemorySurface.h"
#include "support/InkBox.h"
#include "support/TestWindow.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

constexpr COLORREF kBeneath = RGB(250, 0, 250);
constexpr COLORREF kNumberColor = RGB(20, 20, 254);
// Room around the label so that nothing it draws is cut off.
constexpr int kMargin = 60, kSurfaceW = 54 + 2 * kMargin, kSurfaceH = 110;

class InfoLabelTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(label.Create(parent.get(), 10, 10, 54, 65));
        label.SetCaption("level");
    }
    // The label painted over the magenta "beneath", at (kMargin, 0).
    CardImagePixels Painted() {
        MemorySurface s(nullptr, kSurfaceW, kSurfaceH);
        const RECT all{0, 0, kSurfaceW, kSurfaceH};
        UniqueBrush brush(CreateSolidBrush(kBeneath));
        FillRect(s.dc(), &all, brush.get());
        SetViewportOrgEx(s.dc(), kMargin, 0, nullptr);
        label.Paint(s.dc());
        SetViewportOrgEx(s.dc(), 0, 0, nullptr);
        return CardImagePixels(s.dc(), 0, 0, kSurfaceW, kSurfaceH);
    }
    // The label's window, painted over the magenta "beneath".
    CardImagePixels Shown() {
        HWND wnd = label.Handle();
        {
            WindowDc dc(wnd);
            const RECT all{0, 0, 54, 65};
            UniqueBrush brush(CreateSolidBrush(kBeneath));
            FillRect(dc.get(), &all, brush.get());
        }
        InvalidateRect(wnd, nullptr, FALSE);
        UpdateWindow(wnd);
        WindowDc dc(wnd);
        return CardImagePixels(dc.get(), 0, 0, 54, 65);
    }
    // The ink of a number: the pixels that differ from the label without it.
    InkBox NumberInk(int value) {
        label.SetValue(InfoLabel::kNoNumber);
        const CardImagePixels plain = Painted();
        label.SetValue(value);
        const CardImagePixels with = Painted();
        return FindInk(with, [&](COLORREF c, int x, int y) { return c != plain.At(x, y); });
    }
    // The ink of a text drawn at (0, 0) in the label's number font.
    static InkBox TextInk(const char* text) {
        MemorySurface s(nullptr, 200, 60);
        const RECT all{0, 0, 200, 60};
        FillRect(s.dc(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        UniqueFont font(CreateFontA(22, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                    DEFAULT_PITCH | FF_SWISS, "Verdana"));
        SelectGuard selection(s.dc(), font.get());
        SetBkMode(s.dc(), TRANSPARENT);
        SetTextColor(s.dc(), kNumberColor);
        TextOutA(s.dc(), 0, 0, text, static_cast<int>(std::strlen(text)));
        return FindInk(CardImagePixels(s.dc(), 0, 0, 200, 60),
                       [](COLORREF c, int, int) { return c != 0; });
    }
    // A text's width in a fresh surface's default font.
    static int DefaultFontWidth(const char* text) {
        MemorySurface s(nullptr, 10, 10);
        SIZE size{};
        GetTextExtentPoint32A(s.dc(), text, static_cast<int>(std::strlen(text)), &size);
        return size.cx;
    }

    TestWindow parent;
    InfoLabel label;
};

// One digit stands 2 pixels left of the middle computed from the default
// font's width, two digits 2 pixels right of theirs, both at y = 43.
TEST_F(InfoLabelTest, NumbersStandWhereTheirWidthsPutThem) {
    for (const char* text : {"7", "42"}) {
        SCOPED_TRACE(text);
        const int n = static_cast<int>(std::strlen(text));
        const int middle = (54 - n * DefaultFontWidth(text)) / 2;
        const int expectedX = n == 1 ? middle - 2 : middle + 2;
        const InkBox ink = NumberInk(std::atoi(text));
        const InkBox alone = TextInk(text);
        ASSERT_FALSE(ink.Empty());
        EXPECT_EQ(ink.left - kMargin - alone.left, expectedX);
        EXPECT_EQ(ink.top - alone.top, 43);
        EXPECT_EQ(ink.right - ink.left, alone.right - alone.left);
    }
    // -1 shows no number at all.
    EXPECT_TRUE(NumberInk(InfoLabel::kNoNumber).Empty());
}

// A number too wide for the picture is centred on it, not thrown off the
// label by an unsigned wrap of the placement.
TEST_F(InfoLabelTest, ATooWideNumberIsCentred) {
    const InkBox ink = NumberInk(-12345);
    ASSERT_FALSE(ink.Empty());
    const int centre = (ink.left + ink.right + 1) / 2 - kMargin;
    EXPECT_NEAR(centre, 27, 3);
}

TEST_F(InfoLabelTest, BubbleIsClippedToItsOvalExceptOnItsOwnField) {
    label.SetValue(InfoLabel::kNoNumber);
    CardImagePixels p = Shown();
    // The oval from (6, 36) to (49, 73), right and bottom edges left out
    // (the platform rounds the oval's last column): its widest row is 54.
    EXPECT_EQ(p.At(5, 54), kBeneath);
    EXPECT_NE(p.At(6, 54), kBeneath);
    EXPECT_NE(p.At(47, 54), kBeneath);
    EXPECT_EQ(p.At(49, 54), kBeneath);
    EXPECT_EQ(p.At(27, 35), kBeneath);
    EXPECT_NE(p.At(27, 36), kBeneath);
    EXPECT_EQ(p.At(1, 31), kBeneath); // a corner of the square picture
    EXPECT_EQ(p.At(52, 64), kBeneath);

    label.SetBackgroundColor(InfoLabel::kPictureField);
    p = Shown();
    EXPECT_EQ(p.At(1, 31), InfoLabel::kPictureField); // the picture's own field
    EXPECT_EQ(p.At(52, 64), InfoLabel::kPictureField);
    EXPECT_EQ(p.At(5, 54), InfoLabel::kPictureField);
}

// The caption stands white on a band of the table colour; a caption wider
// than the label is centred and cut off at both sides.
TEST_F(InfoLabelTest, CaptionBandAndAWideCaption) {
    label.SetBackgroundColor(RGB(10, 120, 30));
    label.SetCaption("cards remaining");
    EXPECT_STREQ(label.GetCaption(), "cards remaining");
    label.SetCaption("a caption of thirty-two letters!");
    EXPECT_STREQ(label.GetCaption(), "cards remaining"); // 32: ignored
    const CardImagePixels p = Shown();
    for (int x = 0; x < 54; ++x)
        EXPECT_EQ(p.At(x, 0), RGB(10, 120, 30)) << x;
    const InkBox ink = FindInk(
        p, [](COLORREF c, int, int) { return c != RGB(10, 120, 30); }, RECT{0, 0, 54, 30});
    ASSERT_FALSE(ink.Empty());
    EXPECT_LE(ink.left, 1); // letters run into both edges
    EXPECT_GE(ink.right, 52);
    EXPECT_TRUE(
        FindInk(
            p, [](COLORREF c, int, int) { return c == RGB(255, 255, 255); }, RECT{0, 0, 54, 30})
            .count > 20); // white letters
}

} // namespace
