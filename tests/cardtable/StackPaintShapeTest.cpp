// The shape a stack paints: single cards with their cut corners, fanned
// stacks showing the exposed strips of their covered cards.
#include "StackPaintFixture.h"

#include "cardtable/motion/CardCopy.h"

namespace {

using namespace stack_paint;

using StackPaintShape = StackPaintFixture;

TEST_F(StackPaintShape, SingleCardLeavesThreePixelsAtEachCorner) {
    CardStack& s = MakeStack(1, 100, 50, 0, 0, {17});
    const Painted got = PaintStacks({&s});
    const stack_paint::Sources src = Sources();

    for (POINT p : {POINT{100, 50}, POINT{101, 50}, POINT{100, 51}, POINT{170, 50}, POINT{169, 50},
                    POINT{170, 51}, POINT{100, 145}, POINT{101, 145}, POINT{100, 144},
                    POINT{170, 145}, POINT{169, 145}, POINT{170, 144}})
        EXPECT_TRUE(LeftAlone(got, p.x, p.y)) << p.x << ", " << p.y;
    EXPECT_TRUE(ShowsStrip(got, src, 102, 50, 17, 2, 0));
    EXPECT_TRUE(ShowsStrip(got, src, 100, 52, 17, 0, 2));
    EXPECT_TRUE(ShowsStrip(got, src, 101, 51, 17, 1, 1));
    EXPECT_TRUE(ShowsStrip(got, src, 170, 143, 17, 70, 93));

    Picture want = Untouched();
    want.PutCard(100, 50, 17);
    EXPECT_EQ(CountWrongPixels(want, got, src), 0);
}

TEST_F(StackPaintShape, CopyCardTakesTheSlotsOwnColumns) {
    const stack_paint::Sources src = Sources();
    ASSERT_GT(SlotDifference(src, 0, 51), 100) << "the strip holds no distinct card faces";
    const Painted got = PaintTwice(kWidth, kHeight, [](HDC dc) { CopyCard(dc, 10, 20, 51); });
    Picture want = Untouched();
    want.PutCard(10, 20, 51);
    EXPECT_EQ(CountWrongPixels(want, got, src), 0);
}

// Side stacks fan to the right by 12 pixels: the two covered cards show 12
// columns each, and their top and bottom rows reach two columns further,
// under the cut corners of the card on top, so the table never shows there.
TEST_F(StackPaintShape, SideFanShowsTwoLeftStripsAndTheTopCard) {
    CardStack& s = MakeStack(29, 40, 30, 12, 0, {4, 25, 46});
    const stack_paint::Sources src = Sources();
    ASSERT_GT(SlotDifference(src, 4, 25), 100);
    ASSERT_GT(SlotDifference(src, 25, 46), 100);
    const Painted got = PaintStacks({&s});

    for (int card = 0; card < 2; ++card) {
        const int x = 40 + 12 * card;
        const int slot = card == 0 ? 4 : 25;
        for (int col : {12, 13}) {
            EXPECT_TRUE(ShowsStrip(got, src, x + col, 30, slot, col, 0)) << card << " " << col;
            EXPECT_TRUE(ShowsStrip(got, src, x + col, 30 + 95, slot, col, 95))
                << card << " " << col;
        }
        EXPECT_TRUE(ShowsStrip(got, src, x + 12, 31, slot, 12, 1)) << card;
        EXPECT_TRUE(ShowsStrip(got, src, x + 11, 60, slot, 11, 30)) << card;
    }
    // Only the stack's four outer corners stay open.
    for (POINT p : {POINT{40, 30}, POINT{41, 30}, POINT{40, 31}, POINT{134, 30}, POINT{133, 30},
                    POINT{134, 31}, POINT{40, 125}, POINT{134, 125}})
        EXPECT_TRUE(LeftAlone(got, p.x, p.y)) << p.x << ", " << p.y;

    Picture want = Untouched();
    want.PutCard(40, 30, 4);
    want.PutCard(52, 30, 25);
    want.PutCard(64, 30, 46);
    EXPECT_EQ(CountWrongPixels(want, got, src), 0);
}

TEST_F(StackPaintShape, DownwardFanShowsTheTopRowsOfCoveredCards) {
    CardStack& s = MakeStack(1, 150, 20, 0, 15, {0, 13, 26, 39});
    const Painted got = PaintStacks({&s});
    Picture want = Untouched();
    for (int k = 0; k < 4; ++k)
        want.PutCard(150, 20 + 15 * k, static_cast<int>(s.GetCards().Slot(k).card));
    EXPECT_EQ(CountWrongPixels(want, got, Sources()), 0);
}

// A one-pixel fan: each covered card shows only its edge row, and the cut
// corners of the card above still show the card below.
TEST_F(StackPaintShape, OnePixelFanFillsTheCornersOfTheCardAbove) {
    CardStack& s = MakeStack(1, 150, 20, 0, 1, {8, 9, 10});
    const Painted got = PaintStacks({&s});
    Picture want = Untouched();
    for (int k = 0; k < 3; ++k)
        want.PutCard(150, 20 + k, 8 + k);
    EXPECT_EQ(CountWrongPixels(want, got, Sources()), 0);
}

// In a diagonal fan the strips reach no further than the offsets: the three
// pixels where the next card's cut corner meets them are left alone.
TEST_F(StackPaintShape, DiagonalFanLeavesTheMeetingCornersOpen) {
    CardStack& s = MakeStack(1, 60, 40, 4, 4, {2, 3, 5});
    const Painted got = PaintStacks({&s});
    Picture want = Untouched();
    for (int k = 0; k < 3; ++k)
        want.PutCard(60 + 4 * k, 40 + 4 * k, static_cast<int>(s.GetCards().Slot(k).card));
    for (int k = 1; k < 3; ++k) {
        const int x = 60 + 4 * k, y = 40 + 4 * k;
        want.Set(x, y, Source{});
        want.Set(x + 1, y, Source{});
        want.Set(x, y + 1, Source{});
    }
    EXPECT_EQ(CountWrongPixels(want, got, Sources()), 0);
}

TEST_F(StackPaintShape, PaintingTurnsFaceDownCardsUp) {
    CardStack& s = MakeStack(1, 100, 50, 0, 0, {17});
    s.SetBackNumber(60);
    s.GetCards().Slot(0).faceUp = 0;
    const Painted got = PaintStacks({&s});
    // Painting updates the stack first, which turns every card face up: the
    // face shows, not back 60.
    Picture want = Untouched();
    want.PutCard(100, 50, 17);
    EXPECT_EQ(CountWrongPixels(want, got, Sources()), 0);
}

} // namespace
