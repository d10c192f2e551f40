// Empty stacks, hidden stacks, the exclusion of cards from the background
// fill and the order in which the card window paints its stacks.
#include "StackPaintFixture.h"

namespace {

using namespace stack_paint;

using StackPaintTable = StackPaintFixture;

TEST_F(StackPaintTable, EmptyPlaceLookShowsTheImageWithCutCorners) {
    CardStack& s = MakeStack(1, 100, 50, 0, 0, {});
    s.SetEmptyLook(kEmptyPlace);
    const Painted got = PaintStacks({&s});
    Picture want = Untouched();
    want.PutEmptyPlace(100, 50);
    EXPECT_EQ(CountWrongPixels(want, got, Sources()), 0);
    EXPECT_TRUE(LeftAlone(got, 100, 50));
    EXPECT_TRUE(LeftAlone(got, 170, 145));
}

TEST_F(StackPaintTable, EmptyBackgroundLookFillsTheWholeCardRectangle) {
    table.SetBackgroundColor(RGB(0x30, 0x20, 0x90));
    CardStack& s = MakeStack(1, 100, 50, 0, 0, {});
    s.SetEmptyLook(kEmptyBackground);
    const Painted got = PaintStacks({&s});
    Picture want = Untouched();
    want.Fill(100, 50, 71, 96, From::Background);
    EXPECT_EQ(CountWrongPixels(want, got, Sources()), 0);
}

TEST_F(StackPaintTable, EmptyNothingLookPaintsNothing) {
    CardStack& s = MakeStack(1, 100, 50, 12, 0, {});
    s.SetEmptyLook(kEmptyNothing);
    EXPECT_EQ(CountWrongPixels(Untouched(), PaintStacks({&s}), Sources()), 0);
}

// The stack's cards survive a fill of the whole surface after the stack
// has been excluded; every pixel outside the cards, the outer cut corners
// included, gets the background.
TEST_F(StackPaintTable, ExcludedStackKeepsItsCardsUnderTheFill) {
    CardStack& fan = MakeStack(29, 40, 30, 12, 0, {4, 25, 46});
    CardStack& single = MakeStack(1, 200, 150, 0, 0, {7});
    CardStack& empty = MakeStack(2, 300, 20, 0, 0, {});
    const Painted got = PaintTwice(kWidth, kHeight, [&](HDC dc) {
        for (CardStack* s : {&fan, &single, &empty})
            s->PaintStack(dc);
        for (CardStack* s : {&fan, &single, &empty})
            s->ExcludeStack(dc);
        table.FillBackground(dc, 0, 0, kWidth, kHeight);
    });
    Picture want = Background();
    want.PutCard(40, 30, 4);
    want.PutCard(52, 30, 25);
    want.PutCard(64, 30, 46);
    want.PutCard(200, 150, 7);
    want.PutEmptyPlace(300, 20);
    EXPECT_EQ(CountWrongPixels(want, got, Sources()), 0);
}

// A diagonal fan is excluded card by card: the table between its cards is
// filled.
TEST_F(StackPaintTable, DiagonalFanIsExcludedCardByCard) {
    CardStack& s = MakeStack(1, 100, 50, 30, 30, {3, 4});
    const Painted got = PaintTwice(kWidth, kHeight, [&](HDC dc) {
        s.ExcludeStack(dc);
        table.FillBackground(dc, 0, 0, kWidth, kHeight);
    });
    Picture want = Background();
    for (int k = 0; k < 2; ++k)
        for (int row = 0; row < 96; ++row)
            for (int col = 0; col < 71; ++col)
                if (InCardShape(col, row, 71, 96))
                    want.Set(100 + 30 * k + col, 50 + 30 * k + row, Source{});
    EXPECT_EQ(CountWrongPixels(want, got, Sources()), 0);
}

TEST_F(StackPaintTable, HiddenStackIsNeitherPaintedNorExcluded) {
    CardStack& s = MakeStack(1, 100, 50, 0, 0, {7});
    s.SetVisible(false);
    EXPECT_EQ(CountWrongPixels(Untouched(), PaintStacks({&s}), Sources()), 0);
    EXPECT_EQ(CountWrongPixels(Background(), PaintTable(), Sources()), 0);
}

// The whole table: background around the cards and in their outer cut
// corners, and a stack made later lying over an earlier one.
TEST_F(StackPaintTable, LaterStacksLieOverEarlierOnes) {
    MakeStack(1, 100, 50, 0, 0, {7});
    MakeStack(2, 130, 90, 0, 0, {33});
    MakeStack(3, 20, 140, 0, 20, {12, 13});
    const Painted got = PaintTable();
    Picture want = Background();
    want.PutCard(100, 50, 7);
    want.PutCard(130, 90, 33);
    want.PutCard(20, 140, 12);
    want.PutCard(20, 160, 13);
    EXPECT_EQ(CountWrongPixels(want, got, Sources()), 0);
}

// A stack with a greater id lying over an earlier one: in a whole-table
// paint the earlier card is painted whole and the later one over it, so the
// later card's cut corners show the earlier card and no pixel is left out.
TEST_F(StackPaintTable, LaterStackWithGreaterIdCoversTheLowerPart) {
    MakeStack(1, 100, 50, 0, 0, {7});
    MakeStack(5, 100, 82, 0, 0, {33});
    const Painted got = PaintTable();
    Picture want = Background();
    want.PutCard(100, 50, 7);
    want.PutCard(100, 82, 33);
    EXPECT_EQ(CountWrongPixels(want, got, Sources()), 0);
}

// A stack painted after one with a greater id that lies over its lower part
// still yields to it: it paints its top band only.
TEST_F(StackPaintTable, AGreaterIdPaintedEarlierIsSpared) {
    MakeStack(5, 100, 82, 0, 0, {33});
    MakeStack(1, 100, 50, 0, 0, {7});
    const Painted got = PaintTable();
    Picture want = Background();
    want.PutCard(100, 82, 33);
    want.PutCard(100, 50, 7, [](int, int row) { return row < 96 / 3; });
    // Under the later card's cut upper corners nothing is painted: the
    // earlier card yielded and the fill left its extent out.
    for (POINT p : {POINT{100, 82}, POINT{101, 82}, POINT{100, 83}, POINT{170, 82}, POINT{169, 82},
                    POINT{170, 83}})
        want.Set(p.x, p.y, Source{});
    EXPECT_EQ(CountWrongPixels(want, got, Sources()), 0);
}

} // namespace
