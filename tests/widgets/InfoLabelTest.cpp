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
constexpr int kMargin = 60; // room around the label for a number's ink

// The ink of a painted picture against the same picture without it.
InkBox Difference(const CardImagePixels& a, const CardImagePixels& b) {
    return FindInk(a, [&](COLORREF c, int x, int y) { return c != b.At(x, y); });
}

class InfoLabelTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(label.Create(parent.get(), 10, 10, 54, 65)); }
    // The label painted into memory at (kMargin, 0).
    CardImagePixels Painted() {
        MemorySurface s(nullptr, 54 + 2 * kMargin, 110);
        SetViewportOrgEx(s.dc(), kMargin, 0, nullptr);
        label.Paint(s.dc());
        SetViewportOrgEx(s.dc(), 0, 0, nullptr);
        return CardImagePixels(s.dc(), 0, 0, 54 + 2 * kMargin, 110);
    }
    InkBox NumberInk(int value) {
        label.SetValue(InfoLabel::kNoNumber);
        const CardImagePixels plain = Painted();
        label.SetValue(value);
        return Difference(Painted(), plain);
    }
    // The label's window painted over a magenta "beneath".
    CardImagePixels Shown() {
        HWND wnd = label.Handle();
        {
            WindowDc dc(wnd);
            UniqueBrush brush(CreateSolidBrush(kBeneath));
            const RECT all{0, 0, 54, 65};
            FillRect(dc.get(), &all, brush.get());
        }
        InvalidateRect(wnd, nullptr, FALSE);
        UpdateWindow(wnd);
        WindowDc dc(wnd);
        return CardImagePixels(dc.get(), 0, 0, 54, 65);
    }

    TestWindow parent;
    InfoLabel label;
};

// One digit stands 2 pixels left of the middle computed from the default
// font's width, two digits 2 pixels right of theirs, both at y = 43; a
// number too wide for the picture is centred on it.
TEST_F(InfoLabelTest, NumbersStandWhereTheirWidthsPutThem) {
    MemorySurface s(nullptr, 200, 60);
    UniqueFont font(CreateFontA(22, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                DEFAULT_PITCH | FF_SWISS, "Verdana"));
    for (const char* text : {"7", "42"}) {
        SCOPED_TRACE(text);
        const int n = static_cast<int>(std::strlen(text));
        SIZE plain{};
        GetTextExtentPoint32A(s.dc(), text, n, &plain); // in the default font
        const int middle = (54 - n * plain.cx) / 2;
        // The same text alone at (0, 0) in the number font.
        PatBlt(s.dc(), 0, 0, 200, 60, BLACKNESS);
        const CardImagePixels black(s.dc(), 0, 0, 200, 60);
        {
            SelectGuard selection(s.dc(), font.get());
            SetBkMode(s.dc(), TRANSPARENT);
            SetTextColor(s.dc(), RGB(20, 20, 254));
            TextOutA(s.dc(), 0, 0, text, n);
        }
        const InkBox alone = Difference(CardImagePixels(s.dc(), 0, 0, 200, 60), black);
        const InkBox ink = NumberInk(std::atoi(text));
        ASSERT_FALSE(ink.Empty());
        EXPECT_EQ(ink.left - kMargin - alone.left, n == 1 ? middle - 2 : middle + 2);
        EXPECT_EQ(ink.top - alone.top, 43);
        EXPECT_EQ(ink.right - ink.left, alone.right - alone.left);
    }
    EXPECT_TRUE(NumberInk(InfoLabel::kNoNumber).Empty());
    const InkBox wide = NumberInk(-12345); // not thrown off by an unsigned wrap
    ASSERT_FALSE(wide.Empty());
    EXPECT_NEAR((wide.left + wide.right + 1) / 2 - kMargin, 27, 3);
}

TEST_F(InfoLabelTest, BubbleIsClippedToItsOvalExceptOnItsOwnField) {
    CardImagePixels p = Shown();
    // The oval from (6, 36) to (49, 73), right and bottom edges left out
    // (the platform rounds the oval's last column): its widest row is 54.
    EXPECT_EQ(p.At(5, 54), kBeneath);
    EXPECT_NE(p.At(6, 54), kBeneath);
    EXPECT_NE(p.At(47, 54), kBeneath);
    EXPECT_EQ(p.At(49, 54), kBeneath);
    EXPECT_EQ(p.At(27, 35), kBeneath);
    EXPECT_NE(p.At(27, 36), kBeneath);
    EXPECT_EQ(p.At(1, 31), kBeneath); // corners of the square picture
    EXPECT_EQ(p.At(52, 64), kBeneath);

    label.SetBackgroundColor(InfoLabel::kPictureField);
    p = Shown();
    for (POINT c : {POINT{1, 31}, POINT{52, 64}, POINT{5, 54}})
        EXPECT_EQ(p.At(c.x, c.y), InfoLabel::kPictureField); // the picture's own field
}

// White on a band of the table colour; a caption wider than the label is
// centred and cut off at both sides; 32 characters or more are ignored.
TEST_F(InfoLabelTest, CaptionBandAndAWideCaption) {
    label.SetBackgroundColor(RGB(10, 120, 30));
    label.SetCaption("cards remaining");
    label.SetCaption("a caption of thirty-two letters!");
    EXPECT_STREQ(label.GetCaption(), "cards remaining");
    const CardImagePixels p = Shown();
    for (int x = 0; x < 54; ++x)
        EXPECT_EQ(p.At(x, 0), RGB(10, 120, 30)) << x;
    const RECT band{0, 0, 54, 30};
    const InkBox ink = FindInk(
        p, [](COLORREF c, int, int) { return c != RGB(10, 120, 30); }, band);
    EXPECT_LE(ink.left, 1); // letters run into both edges
    EXPECT_GE(ink.right, 52);
    EXPECT_GT(FindInk(
                  p, [](COLORREF c, int, int) { return c == RGB(255, 255, 255); }, band)
                  .count,
              20);
}

// A label wider than its bubble centres the bubble and number in itself and
// has room for a long caption: "cards remaining" shows whole.
TEST_F(InfoLabelTest, AWideLabelCentresItsBubbleAndShowsItsCaptionWhole) {
    InfoLabel wide;
    ASSERT_TRUE(wide.Create(parent.get(), 10, 100, 134, 65));
    const COLORREF table = RGB(10, 120, 30);
    for (InfoLabel* l : {&label, &wide}) {
        l->SetBackgroundColor(table);
        l->SetCaption("cards remaining");
        l->SetValue(16);
    }
    MemorySurface narrowSurface(nullptr, 54, 110), wideSurface(nullptr, 134, 110);
    PatBlt(narrowSurface.dc(), 0, 0, 54, 110, BLACKNESS);
    PatBlt(wideSurface.dc(), 0, 0, 134, 110, BLACKNESS);
    label.Paint(narrowSurface.dc());
    wide.Paint(wideSurface.dc());
    const CardImagePixels narrow(narrowSurface.dc(), 0, 0, 54, 110);
    const CardImagePixels shown(wideSurface.dc(), 0, 0, 134, 110);
    int differing = 0;
    for (int y = 30; y < 110; ++y)
        for (int x = 0; x < 54; ++x)
            differing += shown.At(x + 40, y) != narrow.At(x, y);
    EXPECT_EQ(differing, 0);
    const RECT band{0, 0, 134, 30};
    const InkBox caption = FindInk(
        shown, [](COLORREF c, int, int) { return c == RGB(255, 255, 255); }, band);
    EXPECT_GE(caption.left, 2) << caption.right - caption.left + 1;
    EXPECT_LE(caption.right, 131);
    EXPECT_NEAR((caption.left + caption.right) / 2, 67, 2);
}

} // namespace
