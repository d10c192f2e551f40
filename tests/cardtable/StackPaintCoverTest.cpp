// The cover test of a top card: a triangle card yields its lower part to the
// two cards of the next row (stacks with greater ids) that lie over it.
#include "StackPaintFixture.h"

#include "CardImagePixels.h"

namespace {

using namespace stack_paint;

// A triangle of three slots as the game lays them out: the card on top
// at (150, 50), its two neighbours one third of a card lower, half a card
// to either side.
constexpr int kTopX = 150, kTopY = 50;
constexpr int kLeftX = kTopX - 36, kRightX = kTopX + 35, kLowerY = kTopY + 32;
constexpr Card kTopCard = 21;

class StackPaintCover : public StackPaintFixture {
protected:
    // The top card's picture, kept where `keep(col, row)` allows.
    Picture TopCardWhere(const std::function<bool(int, int)>& keep) const {
        Picture want = Untouched();
        want.PutCard(kTopX, kTopY, kTopCard, keep);
        return want;
    }
    static bool TopBand(int, int row) { return row < 32; }
    static bool LeftHalf(int col, int) { return col <= 35; }

    void Hide(CardStack& s) {
        s.SetCards(CardList{});
        s.SetVisible(false);
    }
};

// The neighbours are made first, so that the top card's own stack is the
// first one a hit test meets unless it hides itself for the test.
TEST_F(StackPaintCover, BothNeighboursLeaveOnlyTheTopBand) {
    MakeStack(2, kLeftX, kLowerY, 0, 0, {30});
    MakeStack(3, kRightX, kLowerY, 0, 0, {31});
    CardStack& top = MakeStack(1, kTopX, kTopY, 0, 0, {kTopCard});
    const Painted got = PaintStacks({&top});
    EXPECT_TRUE(top.IsVisible());
    EXPECT_EQ(CountWrongPixels(TopCardWhere(TopBand), got, Sources()), 0);
}

TEST_F(StackPaintCover, GoneRightNeighbourShowsTheLowerRightPiece) {
    CardStack& top = MakeStack(1, kTopX, kTopY, 0, 0, {kTopCard});
    MakeStack(2, kLeftX, kLowerY, 0, 0, {30});
    Hide(MakeStack(3, kRightX, kLowerY, 0, 0, {31}));
    const Painted got = PaintStacks({&top});
    const Picture want =
        TopCardWhere([](int col, int row) { return TopBand(col, row) || !LeftHalf(col, row); });
    EXPECT_EQ(CountWrongPixels(want, got, Sources()), 0);
}

TEST_F(StackPaintCover, GoneLeftNeighbourShowsTheLowerLeftPiece) {
    CardStack& top = MakeStack(1, kTopX, kTopY, 0, 0, {kTopCard});
    Hide(MakeStack(2, kLeftX, kLowerY, 0, 0, {30}));
    MakeStack(3, kRightX, kLowerY, 0, 0, {31});
    const Painted got = PaintStacks({&top});
    const Picture want =
        TopCardWhere([](int col, int row) { return TopBand(col, row) || LeftHalf(col, row); });
    EXPECT_EQ(CountWrongPixels(want, got, Sources()), 0);
}

TEST_F(StackPaintCover, NoNeighboursShowTheWholeCard) {
    CardStack& top = MakeStack(1, kTopX, kTopY, 0, 0, {kTopCard});
    Hide(MakeStack(2, kLeftX, kLowerY, 0, 0, {30}));
    Hide(MakeStack(3, kRightX, kLowerY, 0, 0, {31}));
    const Painted got = PaintStacks({&top});
    EXPECT_EQ(CountWrongPixels(TopCardWhere(nullptr), got, Sources()), 0);
}

// A stack yields only to greater ids, whatever the order of creation.
TEST_F(StackPaintCover, NeighboursWithSmallerIdsDoNotCover) {
    CardStack& top = MakeStack(10, kTopX, kTopY, 0, 0, {kTopCard});
    MakeStack(2, kLeftX, kLowerY, 0, 0, {30});
    MakeStack(3, kRightX, kLowerY, 0, 0, {31});
    const Painted got = PaintStacks({&top});
    EXPECT_EQ(CountWrongPixels(TopCardWhere(nullptr), got, Sources()), 0);
}

// The test points are one third of a card below the stack's own position,
// not below its top card: a fanned stack whose top card lies lower does not
// look for neighbours there.
TEST_F(StackPaintCover, CoverIsTestedBelowTheStacksPosition) {
    CardStack& top = MakeStack(1, kTopX, kTopY, 0, 40, {5, kTopCard});
    // Under the top card's own third, but clear of the stack's.
    MakeStack(2, kLeftX, kLowerY + 40, 0, 0, {30});
    MakeStack(3, kRightX, kLowerY + 40, 0, 0, {31});
    const Painted got = PaintStacks({&top});
    Picture want = Untouched();
    want.PutCard(kTopX, kTopY, 5);
    want.PutCard(kTopX, kTopY + 40, kTopCard);
    EXPECT_EQ(CountWrongPixels(want, got, Sources()), 0);
}

// Repainting the top card in place on the window keeps the neighbours
// lying over it intact.
TEST_F(StackPaintCover, RepaintOnTheWindowSparesTheCardsOnTop) {
    CardStack& top = MakeStack(1, kTopX, kTopY, 0, 0, {kTopCard});
    CardStack& left = MakeStack(2, kLeftX, kLowerY, 0, 0, {30});
    CardStack& right = MakeStack(3, kRightX, kLowerY, 0, 0, {31});
    const stack_paint::Sources src = Sources();
    ASSERT_GT(SlotDifference(src, kTopCard, 40), 100);
    InvalidateRect(table.GetHandle(), nullptr, FALSE);
    UpdateWindow(table.GetHandle());

    CardList other;
    other.Push(CardEntry{40, 1});
    top.SetCards(other);
    const int before = LiveGdiHandles();
    top.RepaintStack();
    EXPECT_EQ(LiveGdiHandles(), before);

    WindowDc window(table.GetHandle());
    const CardImagePixels shown(window.get(), 0, 0, kWidth, kHeight);
    ASSERT_TRUE(shown.Valid());
    int wrong = 0;
    for (int row = 0; row < cardHeight; ++row) {
        for (int col = 0; col < cardWidth; ++col) {
            if (!InCardShape(col, row, cardWidth, cardHeight))
                continue;
            // The new card's band, and the neighbours' own pictures.
            if (row < 32)
                wrong += shown.At(kTopX + col, kTopY + row) != src.strip.At(40 * 71 + col, row);
            wrong += shown.At(kLeftX + col, kLowerY + row) != src.strip.At(30 * 71 + col, row);
            wrong += shown.At(kRightX + col, kLowerY + row) != src.strip.At(31 * 71 + col, row);
        }
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_TRUE(left.IsVisible() && right.IsVisible() && top.IsVisible());
}

} // namespace
