#include "support/GameTable.h"

#include "cardtable/CardImagePixels.h"
#include "cardtable/core/CardSize.h"

namespace {

class UndoRules : public GameTable {
protected:
    // In Easy, side stack 29's card paired away: 29 is left as a placeholder.
    void PairAwaySideStack29InEasy() {
        game.SetDifficulty(kEasy);
        Put(29, {CardOf(4)});
        Put(22, {CardOf(9)});
        Drag(29, 22);
    }
};

TEST_F(UndoRules, NothingToUndoAfterADealOrTwice) {
    EXPECT_EQ(game.CanUndo(), 0);
    const TableState dealt = TableState::Of(game);
    game.Undo();
    EXPECT_TRUE(Sounds().empty());
    EXPECT_TRUE(TableState::Of(game) == dealt);

    Put(22, {CardOf(3)});
    Put(23, {CardOf(10)});
    Drag(22, 23);
    EXPECT_EQ(game.CanUndo(), 1);
    game.Undo();
    EXPECT_EQ(game.CanUndo(), 0);
    const TableState once = TableState::Of(game);
    fake.sounds.clear();
    game.Undo();
    EXPECT_TRUE(Sounds().empty());
    EXPECT_TRUE(TableState::Of(game) == once);
}

TEST_F(UndoRules, UndoingAPairRestoresBothPlaces) {
    Put(29, {CardOf(2), CardOf(5)});
    Put(22, {CardOf(8)});
    const TableState before = TableState::Of(game);
    Drag(29, 22);
    ASSERT_EQ(stack(35).Count(), 2);
    ASSERT_FALSE(stack(22).IsVisible());
    fake.sounds.clear();
    game.Undo();
    EXPECT_TRUE(TableState::Of(game) == before);
    EXPECT_EQ(top(29), CardOf(5)); // the dragged card on top of its fan
    EXPECT_EQ(top(22), CardOf(8));
    ASSERT_EQ(Sounds().size(), 1u);
    EXPECT_EQ(Sounds()[0], std::make_pair(kRefusalSound, true));
}

TEST_F(UndoRules, UndoingAPairThatHidBothSlotsShowsThemAgain) {
    Put(22, {CardOf(6)});
    Put(23, {CardOf(7)});
    const TableState before = TableState::Of(game);
    Drag(23, 22);
    game.Undo();
    EXPECT_TRUE(TableState::Of(game) == before);
}

TEST_F(UndoRules, UndoBelowTheTargetKeepsTheButton) {
    CardList pile;
    for (int i = 0; i < 14; ++i)
        pile.Push(CardEntry{static_cast<Card>(i), 1});
    stack(35).SetCards(pile);
    window().SetCardsRemaining(2);
    Put(22, {CardOf(6)});
    Put(23, {CardOf(7)});
    Drag(23, 22);
    ASSERT_EQ(window().GetCardsRemaining(), 0);
    game.Undo();
    EXPECT_EQ(window().GetCardsRemaining(), 2);
    EXPECT_TRUE(nextButton().IsVisible());
}

TEST_F(UndoRules, CardsRemainingNeverGoesNegative) {
    CardList pile;
    for (int i = 0; i < 20; ++i)
        pile.Push(CardEntry{static_cast<Card>(i), 1});
    stack(35).SetCards(pile);
    Put(22, {CardOf(6)});
    Put(23, {CardOf(7)});
    Drag(23, 22);
    game.Undo();
    EXPECT_EQ(window().GetCardsRemaining(), 0);
}

TEST_F(UndoRules, UndoingAPlainMoveRestoresThePlaceholder) {
    PairAwaySideStack29InEasy();
    Put(30, {CardOf(2), CardOf(7)});
    const TableState before = TableState::Of(game);
    Drag(30, 29); // plain move onto the placeholder
    ASSERT_EQ(game.UndoPlainMove(), 1);
    game.Undo();
    EXPECT_TRUE(TableState::Of(game) == before);
    EXPECT_TRUE(stack(29).IsVisible());
    EXPECT_EQ(stack(29).Count(), 0);
}

TEST_F(UndoRules, UndoingAPlainMoveThatEmptiedItsStack) {
    PairAwaySideStack29InEasy();
    Put(30, {CardOf(7)});
    Drag(30, 29); // 30 is emptied and becomes the placeholder
    ASSERT_TRUE(stack(30).IsVisible());
    game.Undo();
    EXPECT_EQ(stack(30).Count(), 1);
    EXPECT_TRUE(stack(30).IsVisible());
    EXPECT_EQ(stack(29).Count(), 0);
    EXPECT_TRUE(stack(29).IsVisible()); // the placeholder again
}

// Switched to Normal before the undo: the emptied side stack hides, and its
// place shows the bare table, not the empty place the glide uncovered.
TEST_F(UndoRules, UndoingAPlainMoveInNormalModeLeavesNoPlaceholderShown) {
    PairAwaySideStack29InEasy();
    Put(23, {CardOf(7)});
    Drag(23, 29);
    game.SetDifficulty(kNormal);
    game.Undo();
    EXPECT_FALSE(stack(29).IsVisible());
    const WindowDc dc(window().GetHandle());
    const CardImagePixels place(dc.get(), stack(29).X(), stack(29).Y(), cardWidth, cardHeight);
    int drawn = 0; // pixels other than the table's, whose colour the cut corner shows
    for (int v = 0; v < cardHeight; ++v)
        for (int u = 0; u < cardWidth; ++u)
            drawn += place.At(u, v) != place.At(0, 0);
    EXPECT_EQ(drawn, 0);
}

TEST_F(UndoRules, ARefusedDropLeavesTheRecord) {
    Put(22, {CardOf(6)});
    Put(23, {CardOf(7)});
    Drag(23, 22);
    ASSERT_EQ(game.CanUndo(), 1);
    Put(24, {CardOf(1)});
    Put(25, {CardOf(1)});
    Drag(24, 25);
    EXPECT_EQ(game.CanUndo(), 1);
    EXPECT_EQ(game.UndoTarget(), 22);
}

} // namespace
