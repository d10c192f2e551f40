// The save-under picture of lifted cards: what the saved background and the
// lifted picture hold when cards leave their stack, and how moving the
// picture updates the saved background.
#include "DragFixture.h"

#include <vector>

namespace {

struct Placed {
    int card;
    int x, y; // the card's corner relative to the picture
};

class DragImageTest : public DragFixture {
protected:
    // A w x h picture of the table colour with the cards (later ones on top)
    // copied in their card shape.
    CardImagePixels Expected(int w, int h, const std::vector<Placed>& cards) {
        MemorySurface s(nullptr, w, h, shared_resources::Palette());
        table.FillBackground(s.dc(), 0, 0, w, h);
        CardImagePixels table_(s.dc(), 0, 0, w, h);
        std::vector<COLORREF> pixels(static_cast<size_t>(w) * h);
        for (int v = 0; v < h; ++v)
            for (int u = 0; u < w; ++u)
                pixels[static_cast<size_t>(v) * w + u] = table_.At(u, v);
        for (const Placed& p : cards) {
            const CardImagePixels face = CardFace(p.card);
            for (int v = 0; v < h; ++v)
                for (int u = 0; u < w; ++u)
                    if (InCardShape(u - p.x, v - p.y, cardWidth, cardHeight))
                        pixels[static_cast<size_t>(v) * w + u] = face.At(u - p.x, v - p.y);
        }
        for (int v = 0; v < h; ++v)
            for (int u = 0; u < w; ++u)
                SetPixelV(s.dc(), u, v, pixels[static_cast<size_t>(v) * w + u]);
        return CardImagePixels(s.dc(), 0, 0, w, h);
    }
    CardImagePixels Under(const CardStack& s) {
        return Picture(s.UnderImage(), s.ImageWidth(), s.ImageHeight());
    }
    void Fill(int x, int y, int w, int h, COLORREF color) {
        WindowDc dc(wnd());
        UniqueBrush brush(CreateSolidBrush(color));
        const RECT r{x, y, x + w, y + h};
        FillRect(dc.get(), &r, brush.get());
    }
    // A side stack of three cards fanned 12 pixels right at (x, y).
    CardStack* Side(int x, int y) {
        CardStack* s = table.CreateStack(29, true, x, y, 12, 0);
        s->SetCards(ListOf({4, 17, 30}));
        return s;
    }
};

// Rows of slots as the triangle lays them out, each row half a card
// further left and a third of a card further down, later rows on top.
TEST_F(DragImageTest, TriangleCardShowsItsUpperNeighboursBeneath) {
    const int W = cardWidth, H = cardHeight;
    const int y0 = H / 2 + H + H / 4 + 10;
    CardStack* slot[7] = {};
    std::uint32_t id = 1;
    for (int r = 0; r < 3; ++r)
        for (int k = 0; k <= r; ++k, ++id) {
            const int x = static_cast<int>(W * k + W * (3.0 - 0.5 * r) + 2 * W + 5);
            slot[id] = table.CreateStack(id, true, x, y0 + r * (H / 3), 0, 15);
            slot[id]->SetCards(ListOf({static_cast<Card>(id * 7)}));
            slot[id]->SetEmptyLook(kEmptyNothing); // an emptied slot shows what lies beneath
        }
    // The slot's own card alone, then with a card dropped on it: the pair
    // leaves the slot in one picture, and the neighbours' notch is cleared
    // all the same.
    for (int n : {1, 2}) {
        SCOPED_TRACE(n);
        slot[5]->SetCards(n == 1 ? ListOf({35}) : ListOf({35, 9}));
        Show();
        const CardImagePixels before = Screen();
        CardStack& lifted = *slot[5];
        Press(lifted.X() + 20, lifted.Y() + 5);
        ASSERT_TRUE(lifted.IsDragging());

        // Upper left (slot 2) and upper right (slot 3) whole, table below them.
        const int px = lifted.X(), py = lifted.Y(), h = lifted.ImageHeight();
        const CardImagePixels want = Expected(W, h,
                                              {{2 * 7, slot[2]->X() - px, slot[2]->Y() - py},
                                               {3 * 7, slot[3]->X() - px, slot[3]->Y() - py}});
        const CardImagePixels under = Under(lifted);
        PixelDiff d = Compare(under, want);
        EXPECT_EQ(d.count, 0) << d.Describe();
        const COLORREF background = Shown(table.GetBackgroundColor());
        EXPECT_EQ(under.At(W / 2, (2 * H) / 3), background);
        EXPECT_NE(under.At(W / 2, (2 * H) / 3 - 11), background);

        // The window was cleared and repainted there the same way; nothing
        // else on it changed.
        const CardImagePixels screen = Screen();
        d = PixelDiff{};
        PixelDiff outside;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const int u = x - px, v = y - py;
                if (u >= 0 && v >= 0 && u < W && v < h)
                    Note(d, u, v, screen.At(x, y), want.At(u, v));
                else
                    Note(outside, x, y, screen.At(x, y), before.At(x, y));
            }
        EXPECT_EQ(d.count, 0) << d.Describe();
        EXPECT_EQ(outside.count, 0) << outside.Describe();
        Release(lifted.X() + 20, lifted.Y() + 5);
    }
}

TEST_F(DragImageTest, FannedTopCardShowsTheSecondCardOnItsLeft) {
    CardStack* side = Side(20, 20);
    Show();
    Press(side->X() + 24 + 30, side->Y() + 30);
    ASSERT_TRUE(side->IsDragging());
    const int W = cardWidth, H = cardHeight;
    const CardImagePixels under = Under(*side);
    const PixelDiff d = Compare(under, Expected(W, H, {{4, -24, 0}, {17, -12, 0}}));
    EXPECT_EQ(d.count, 0) << d.Describe();
    const CardImagePixels second = CardFace(17);
    const COLORREF background = Shown(table.GetBackgroundColor());
    EXPECT_EQ(under.At(0, H / 2), second.At(12, H / 2));
    EXPECT_EQ(under.At(W - 13, H / 2), second.At(W - 1, H / 2));
    EXPECT_EQ(under.At(W - 12, H / 2), background);
    Release(side->X() + 24 + 30, side->Y() + 30);
}

TEST_F(DragImageTest, LiftedPictureIsTheCardOnTheTableColour) {
    table.SetBackgroundColor(RGB(0x80, 0x20, 0x40));
    CardStack* side = Side(20, 20);
    Show();
    Press(side->X() + 24 + 30, side->Y() + 30);
    const CardImagePixels lifted = Picture(side->LiftedImage(), cardWidth, cardHeight);
    const PixelDiff d = Compare(lifted, Expected(cardWidth, cardHeight, {{30, 0, 0}}));
    EXPECT_EQ(d.count, 0) << d.Describe();
    EXPECT_EQ(lifted.At(0, 0), Shown(RGB(0x80, 0x20, 0x40)));
    Release(side->X() + 24 + 30, side->Y() + 30);
}

TEST_F(DragImageTest, LiftedFanHoldsEveryLiftedCard) {
    CardStack* fan = table.CreateStack(3, true, 50, 50, 0, 20);
    fan->SetCards(ListOf({1, 2, 3, 5}));
    Show();
    Press(fan->X() + 5, fan->Y() + 20 + 5); // the second card: three are lifted
    ASSERT_TRUE(fan->IsDragging());
    EXPECT_EQ(fan->ImageHeight(), cardHeight + 40);
    const CardImagePixels lifted = Picture(fan->LiftedImage(), cardWidth, cardHeight + 40);
    PixelDiff d =
        Compare(lifted, Expected(cardWidth, cardHeight + 40, {{2, 0, 0}, {3, 0, 20}, {5, 0, 40}}));
    EXPECT_EQ(d.count, 0) << d.Describe();
    d = Compare(Under(*fan), Expected(cardWidth, cardHeight + 40, {{1, 0, -20}}));
    EXPECT_EQ(d.count, 0) << d.Describe();
    Release(fan->X() + 5, fan->Y() + 25);
}

TEST_F(DragImageTest, EmptiedStackShowsItsEmptyLook) {
    CardStack* place = table.CreateStack(1, true, 100, 100, 0, 0);
    CardStack* plain = table.CreateStack(2, true, 300, 100, 0, 0);
    place->SetCards(ListOf({8}));
    plain->SetCards(ListOf({9}));
    plain->SetEmptyLook(kEmptyBackground);
    Show();
    Press(110, 110);
    const CardImagePixels emptyPlace(shared_resources::EmptyPlaceDc(), 0, 0, cardWidth, cardHeight);
    const CardImagePixels under = Under(*place);
    const CardImagePixels background = Expected(cardWidth, cardHeight, {});
    PixelDiff d;
    for (int v = 0; v < cardHeight; ++v)
        for (int u = 0; u < cardWidth; ++u)
            Note(d, u, v, under.At(u, v),
                 InCardShape(u, v, cardWidth, cardHeight) ? emptyPlace.At(u, v)
                                                          : background.At(u, v));
    EXPECT_EQ(d.count, 0) << d.Describe();
    Release(110, 110);

    Press(310, 110);
    d = Compare(Under(*plain), background);
    EXPECT_EQ(d.count, 0) << d.Describe();
    Release(310, 110);
}

// Moved by (5, 3), the picture's saved background keeps its shared block,
// moved inside it, and reads only the new column and row from the window.
// The window under the old place is painted over first: none of that may
// come back into the saved background.
TEST_F(DragImageTest, SmallMoveShiftsTheSavedBlockAndReadsOnlyTheNewEdges) {
    CardStack* side = Side(200, 200);
    Show();
    Press(234, 210);
    MoveTo(254, 230);
    const int ox = side->ImageX(), oy = side->ImageY(), w = side->ImageWidth(),
              h = side->ImageHeight();
    ASSERT_EQ(ox, 244);
    PixelDiff d = UnderImageAgainstTable(*side);
    EXPECT_EQ(d.count, 0) << d.Describe();
    const CardImagePixels before = Under(*side);
    const COLORREF magenta = Shown(RGB(255, 0, 255)), cyan = Shown(RGB(0, 255, 255));
    Fill(ox, oy, w, h, magenta);
    Fill(ox + w, oy, 5, h + 3, cyan);
    Fill(ox, oy + h, w + 5, 3, cyan);

    MoveTo(259, 233);
    const CardImagePixels after = Under(*side);
    d = PixelDiff{};
    for (int v = 0; v < h; ++v)
        for (int u = 0; u < w; ++u)
            Note(d, u, v, after.At(u, v),
                 (u < w - 5 && v < h - 3) ? before.At(u + 5, v + 3) : cyan);
    EXPECT_EQ(d.count, 0) << d.Describe();

    // The uncovered strips of the old place show the saved table again.
    const CardImagePixels screen = Screen();
    d = PixelDiff{};
    for (int v = 0; v < h; ++v)
        for (int u = 0; u < w; ++u)
            if (u < 5 || v < 3)
                Note(d, u, v, screen.At(ox + u, oy + v), before.At(u, v));
    EXPECT_EQ(d.count, 0) << d.Describe();
    EXPECT_TRUE(CardShownAt(30, ox + 5, oy + 3));
    Release(259, 233);
}

// Moved further than its width, nothing is shared: the whole new place is
// read from the window and the whole old place is restored.
TEST_F(DragImageTest, LongMoveReadsTheWholeNewPlace) {
    CardStack* side = Side(200, 200);
    Show();
    Press(234, 210);
    MoveTo(254, 230);
    const int ox = side->ImageX(), oy = side->ImageY(), w = side->ImageWidth(),
              h = side->ImageHeight();
    const CardImagePixels before = Under(*side);
    const COLORREF cyan = Shown(RGB(0, 255, 255));
    Fill(ox + w + 10, oy, w, h, cyan);
    MoveTo(254 + w + 10, 230);
    const CardImagePixels after = Under(*side);
    PixelDiff d;
    for (int v = 0; v < h; ++v)
        for (int u = 0; u < w; ++u)
            Note(d, u, v, after.At(u, v), cyan);
    EXPECT_EQ(d.count, 0) << d.Describe();
    d = Compare(CardImagePixels(WindowDc(wnd()).get(), ox, oy, w, h), before);
    EXPECT_EQ(d.count, 0) << d.Describe();
    Release(254 + w + 10, 230);
}

// Partly left of the window and back: the saved background stays true to
// the table wherever it lies on the window, and no trace is left behind.
TEST_F(DragImageTest, MoveOffTheLeftEdgeAndBackLeavesTheTableIntact) {
    CardStack* side = Side(10, 200);
    CardStack* other = table.CreateStack(2, true, 5, 330, 0, 0);
    other->SetCards(ListOf({40}));
    Show();
    const CardImagePixels table0 = Screen();
    Press(44, 210); // grab (10, 10) on the top card at x = 34
    MoveTo(20, 213);
    ASSERT_EQ(side->ImageX(), 10);
    MoveTo(-10, 213);
    ASSERT_EQ(side->ImageX(), -20);
    PixelDiff d = UnderImageAgainstTable(*side);
    EXPECT_EQ(d.count, 0) << d.Describe();
    d = ScreenAgainstTableWithPicture(*side);
    EXPECT_EQ(d.count, 0) << d.Describe();
    MoveTo(-25, 190); // up and further off
    MoveTo(15, 300);  // back, over the other stack
    d = UnderImageAgainstTable(*side);
    EXPECT_EQ(d.count, 0) << d.Describe();
    d = ScreenAgainstTableWithPicture(*side);
    EXPECT_EQ(d.count, 0) << d.Describe();
    MoveTo(300, 150);
    Release(300, 150);
    d = Compare(Screen(), table0);
    EXPECT_EQ(d.count, 0) << d.Describe();
}

} // namespace
