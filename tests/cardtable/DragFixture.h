// A card window on a test parent for the drag gesture's tests: gestures are
// played as real mouse messages to the window, and what the window shows is
// read back and compared with a fresh paint of the table.
#pragma once

#include "CardImagePixels.h"
#include "cardtable/core/CardImages.h"
#include "cardtable/core/CardSize.h"
#include "cardtable/core/CardWindow.h"
#include "cardtable/core/MemorySurface.h"
#include "cardtable/core/SharedResources.h"
#include "cardtable/motion/Glide.h"
#include "support/CardLists.h"
#include "support/FakeSeams.h"
#include "support/TableOnScreen.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

// A card window whose Redraw only counts: whatever the window shows after a
// gesture was put there by the drag image and the glide alone.
class QuietCardWindow : public CardWindow {
public:
    void Redraw() override { ++redraws; }
    // The real redraw: invalidate and paint at once.
    void PaintNow() { CardWindow::Redraw(); }
    int redraws = 0;
};

// Whether pixel (u, v) of a w x h picture lies inside its card shape (the
// four corners cut: two pixels in the outer columns, one in the next ones).
inline bool InCardShape(int u, int v, int w, int h) {
    if (u < 0 || v < 0 || u >= w || v >= h)
        return false;
    if ((u == 0 || u == w - 1) && (v < 2 || v >= h - 2))
        return false;
    if ((u == 1 || u == w - 2) && (v < 1 || v >= h - 1))
        return false;
    return true;
}

// The number of pixels where two same-sized pictures differ, and the first.
struct PixelDiff {
    int count = 0;
    int x = -1, y = -1;
    COLORREF a = 0, b = 0;
    std::string Describe() const {
        char text[96];
        wsprintfA(text, "%d pixels differ, first at (%d, %d): %06lx vs %06lx", count, x, y,
                  static_cast<unsigned long>(a), static_cast<unsigned long>(b));
        return text;
    }
};

class DragFixture : public testing::Test {
protected:
    static constexpr int kWidth = 700;
    static constexpr int kHeight = 540;

    void SetUp() override {
        ASSERT_TRUE(ShowTable(table, parent.get(), kWidth, kHeight));
        savedSpeed_ = static_cast<int>(GetMoveSpeed());
        SetMoveSpeed(20);
    }
    void TearDown() override { SetMoveSpeed(savedSpeed_); }

    HWND wnd() const { return table.GetHandle(); }
    void Press(int x, int y) { SendMouse(wnd(), WM_LBUTTONDOWN, x, y); }
    void MoveTo(int x, int y) { SendMouse(wnd(), WM_MOUSEMOVE, x, y); }
    void Release(int x, int y) { SendMouse(wnd(), WM_LBUTTONUP, x, y); }
    void DoubleClick(int x, int y) { SendMouse(wnd(), WM_LBUTTONDBLCLK, x, y); }

    // Paints the whole table on the window and handles what is waiting.
    void Show() {
        table.PaintNow();
        PumpMessages();
    }
    CardImagePixels Screen() const {
        WindowDc dc(wnd());
        return CardImagePixels(dc.get(), 0, 0, kWidth, kHeight);
    }
    // The table as a full paint of its present state shows it.
    CardImagePixels FreshPaint() {
        MemorySurface surface(nullptr, kWidth, kHeight, shared_resources::Palette());
        table.Paint(surface.dc());
        return CardImagePixels(surface.dc(), 0, 0, kWidth, kHeight);
    }
    static CardImagePixels Picture(HDC dc, int w, int h) { return CardImagePixels(dc, 0, 0, w, h); }
    // Strip slot `card` as the card library drew it.
    static CardImagePixels CardFace(int card) {
        return CardImagePixels(CardStripDc(), card * cardWidth, 0, cardWidth, cardHeight);
    }

    // Whether the window shows card `card` at (x, y), cut corners aside.
    bool CardShownAt(int card, int x, int y) const {
        WindowDc dc(wnd());
        const CardImagePixels shown(dc.get(), x, y, cardWidth, cardHeight);
        const CardImagePixels face = CardFace(card);
        for (int v = 0; v < cardHeight; ++v)
            for (int u = 0; u < cardWidth; ++u)
                if (InCardShape(u, v, cardWidth, cardHeight) && shown.At(u, v) != face.At(u, v))
                    return false;
        return true;
    }

    static PixelDiff Compare(const CardImagePixels& a, const CardImagePixels& b) {
        PixelDiff d;
        for (int y = 0; y < a.Height(); ++y)
            for (int x = 0; x < a.Width(); ++x)
                Note(d, x, y, a.At(x, y), b.At(x, y));
        return d;
    }
    static void Note(PixelDiff& d, int x, int y, COLORREF a, COLORREF b) {
        if (a == b)
            return;
        if (d.count++ == 0) {
            d.x = x;
            d.y = y;
            d.a = a;
            d.b = b;
        }
    }

    // While cards are lifted: outside the picture the window shows the
    // table as a fresh paint would, inside the picture's card shape the
    // lifted picture, and the shape's cut corners show the table too.
    PixelDiff ScreenAgainstTableWithPicture(const CardStack& s) {
        const CardImagePixels screen = Screen();
        const CardImagePixels fresh = FreshPaint();
        const CardImagePixels lifted = Picture(s.LiftedImage(), s.ImageWidth(), s.ImageHeight());
        PixelDiff d;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const int u = x - s.ImageX(), v = y - s.ImageY();
                const COLORREF want = InCardShape(u, v, s.ImageWidth(), s.ImageHeight())
                                          ? lifted.At(u, v)
                                          : fresh.At(x, y);
                Note(d, x, y, screen.At(x, y), want);
            }
        return d;
    }
    // The saved background is the table without the moving cards at the
    // picture's place (as far as that place lies on the window).
    PixelDiff UnderImageAgainstTable(const CardStack& s) {
        const CardImagePixels fresh = FreshPaint();
        const CardImagePixels under = Picture(s.UnderImage(), s.ImageWidth(), s.ImageHeight());
        PixelDiff d;
        for (int v = 0; v < s.ImageHeight(); ++v)
            for (int u = 0; u < s.ImageWidth(); ++u) {
                const int x = s.ImageX() + u, y = s.ImageY() + v;
                if (x >= 0 && y >= 0 && x < kWidth && y < kHeight)
                    Note(d, u, v, under.At(u, v), fresh.At(x, y));
            }
        return d;
    }

    // A colour as the window shows it (the display may round colours).
    COLORREF Shown(COLORREF c) {
        MemorySurface s(nullptr, 1, 1, shared_resources::Palette());
        SetPixelV(s.dc(), 0, 0, PaletteColor(c));
        return CardImagePixels(s.dc(), 0, 0, 1, 1).At(0, 0);
    }

    FakeSeams fake;
    TestWindow parent;
    QuietCardWindow table;

private:
    int savedSpeed_ = 20;
};
