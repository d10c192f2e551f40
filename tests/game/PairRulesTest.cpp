#include "support/GameTable.h"

namespace {

using PairRules = GameTable;

TEST(RowOf, SlotIdsToRows) {
    const int rows[29] = {0, 1, 2, 2, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5,
                          5, 6, 6, 6, 6, 6, 6, 7, 7, 7, 7, 7, 7, 7};
    for (std::uint32_t id = 1; id <= 28; ++id)
        EXPECT_EQ(Game::RowOf(id), rows[id]) << id;
    EXPECT_EQ(Game::RowOf(40), 7);
}

TEST_F(PairRules, CoveredSlotsCannotBeLiftedOrTakeACard) {
    // Slot 16 (row 6) is covered by 22 and 23; 22 is uncovered.
    Put(16, {CardOf(6)});
    Put(22, {CardOf(7)});
    Drag(16, 22);
    EXPECT_EQ(stack(16).Count(), 1);
    EXPECT_EQ(stack(22).Count(), 1);
    EXPECT_TRUE(Sounds().empty()); // a refused lift makes no sound

    // Onto a covered card: refused with the refusal sound.
    Drag(22, 16);
    EXPECT_EQ(stack(22).Count(), 1);
    EXPECT_EQ(stack(16).Count(), 1);
    ASSERT_EQ(Sounds().size(), 1u);
    EXPECT_EQ(Sounds()[0], std::make_pair(kRefusalSound, true));

    // With 22 and 23 gone, 16 is uncovered.
    Empty(22);
    Empty(23);
    EXPECT_TRUE(game.IsUncovered(16));
    EXPECT_FALSE(game.IsUncovered(11)); // 16 and 17 still hold cards
    Put(24, {CardOf(7)});
    Drag(24, 16);
    EXPECT_EQ(stack(16).Count(), 0);
    EXPECT_FALSE(stack(16).IsVisible());
    EXPECT_FALSE(stack(24).IsVisible());
    EXPECT_EQ(stack(35).Count(), 2);
}

TEST_F(PairRules, EqualFaceValuesNeverPair) {
    Put(22, {CardOf(12, 0)});
    Put(23, {CardOf(12, 1)});
    Drag(22, 23);
    EXPECT_EQ(stack(22).Count(), 1);
    EXPECT_EQ(stack(23).Count(), 1);
    Put(22, {CardOf(6, 2)});
    Put(23, {CardOf(6, 3)});
    Drag(22, 23);
    EXPECT_EQ(stack(35).Count(), 0);
    EXPECT_EQ(Sounds().size(), 2u);
}

TEST_F(PairRules, EverySourceAndTargetCombinationPairs) {
    Put(22, {CardOf(1)});
    Put(23, {CardOf(12)});
    Drag(22, 23); // slot to slot
    EXPECT_EQ(stack(35).Count(), 2);

    Put(29, {CardOf(3), CardOf(4), CardOf(5)});
    Put(24, {CardOf(8)});
    Drag(29, 24); // side to slot
    EXPECT_EQ(stack(35).Count(), 4);
    EXPECT_EQ(stack(29).Count(), 2);

    Put(25, {CardOf(9)});
    Put(30, {CardOf(2), CardOf(4)});
    Drag(25, 30); // slot to side
    EXPECT_EQ(stack(35).Count(), 6);
    EXPECT_EQ(stack(30).Count(), 1);
    EXPECT_FALSE(stack(25).IsVisible());
    EXPECT_TRUE(stack(30).IsVisible());

    Put(31, {CardOf(7), CardOf(10)});
    Put(32, {CardOf(11), CardOf(3)});
    Drag(31, 32); // side to side
    EXPECT_EQ(stack(35).Count(), 8);
    EXPECT_EQ(stack(31).Count(), 1);
    EXPECT_EQ(stack(32).Count(), 1);
    // The pile holds each pair with the dragged card on top.
    EXPECT_EQ(stack(35).GetCards().At(0).card, CardOf(10));
    EXPECT_EQ(stack(35).GetCards().At(1).card, CardOf(3));

    for (auto [id, yielding] : Sounds())
        EXPECT_TRUE(id == kPairSound && yielding);
    EXPECT_EQ(Sounds().size(), 4u);
}

TEST_F(PairRules, ReleaseOverItsOwnPlaceIsRefused) {
    Put(22, {CardOf(5)});
    Drag(22, 22);
    EXPECT_EQ(stack(22).Count(), 1);
    EXPECT_TRUE(stack(22).IsVisible());
    Put(29, {CardOf(1), CardOf(12)});
    Drag(29, 29); // its own side stack, other cards remaining
    EXPECT_EQ(stack(29).Count(), 2);
    EXPECT_EQ(Sounds().size(), 2u);
    for (auto s : Sounds())
        EXPECT_EQ(s.first, kRefusalSound);
    EXPECT_EQ(game.UndoTarget(), 0);
}

TEST_F(PairRules, NormalModeHidesAnEmptiedSideStack) {
    game.SetDifficulty(kNormal);
    Put(29, {CardOf(4)});
    Put(22, {CardOf(9)});
    Drag(29, 22);
    EXPECT_EQ(stack(29).Count(), 0);
    EXPECT_FALSE(stack(29).IsVisible());
    Put(23, {CardOf(2)});
    Drag(23, 29); // nowhere to land: back it goes
    EXPECT_EQ(stack(23).Count(), 1);
    EXPECT_EQ(stack(29).Count(), 0);
}

TEST_F(PairRules, EasyModeKeepsOnePlaceholder) {
    game.SetDifficulty(kEasy);
    Put(29, {CardOf(4)});
    Put(30, {CardOf(5)});
    Put(22, {CardOf(9)});
    Put(23, {CardOf(8)});
    Drag(29, 22);
    EXPECT_TRUE(stack(29).IsVisible()); // the placeholder
    Drag(30, 23);
    EXPECT_FALSE(stack(30).IsVisible()); // a second one is hidden
    EXPECT_TRUE(stack(29).IsVisible());

    // Filling the placeholder with one card is a plain move.
    Put(24, {CardOf(6)});
    Drag(24, 29);
    EXPECT_EQ(stack(29).Count(), 1);
    EXPECT_EQ(game.UndoPlainMove(), 1);
    EXPECT_EQ(stack(35).Count(), 4);

    // Now another emptied side stack becomes the placeholder.
    Put(31, {CardOf(3)});
    Put(25, {CardOf(10)});
    Drag(31, 25);
    EXPECT_TRUE(stack(31).IsVisible());
    EXPECT_EQ(stack(31).Count(), 0);
}

TEST_F(PairRules, EasyLastCardOntoThePlaceholderLeavesItsStackAsPlaceholder) {
    game.SetDifficulty(kEasy);
    Put(29, {CardOf(4)});
    Put(22, {CardOf(9)});
    Drag(29, 22); // 29 is the placeholder
    Put(30, {CardOf(7)});
    Drag(30, 29); // the last card of 30 onto the placeholder
    EXPECT_EQ(stack(29).Count(), 1);
    EXPECT_EQ(stack(30).Count(), 0);
    EXPECT_TRUE(stack(30).IsVisible());
}

TEST_F(PairRules, SwitchingModesTouchesNoStack) {
    game.SetDifficulty(kEasy);
    Put(29, {CardOf(4)});
    Put(22, {CardOf(9)});
    Drag(29, 22);
    game.SetDifficulty(kNormal);
    EXPECT_TRUE(stack(29).IsVisible()); // stays until filled and emptied
    Put(23, {CardOf(1)});
    Drag(23, 29);
    EXPECT_EQ(stack(29).Count(), 1);
}

TEST_F(PairRules, ReachingTheTargetShowsTheButtonOnce) {
    // Level 1: target 16. Put 14 cards on the pile, then remove two pairs.
    CardList pile;
    for (int i = 0; i < 14; ++i)
        pile.Push(CardEntry{static_cast<Card>(i), 1});
    stack(35).SetCards(pile);
    Put(22, {CardOf(4)});
    Put(23, {CardOf(9)});
    Put(24, {CardOf(2)});
    Put(25, {CardOf(11)});
    Drag(22, 23);
    EXPECT_EQ(stack(35).Count(), 16);
    EXPECT_TRUE(nextButton().IsVisible());
    EXPECT_EQ(window().GetCardsRemaining(), 0);
    const auto afterTarget = Sounds();
    ASSERT_EQ(afterTarget.size(), 2u);
    EXPECT_EQ(afterTarget[0], std::make_pair(kPairSound, true));
    EXPECT_EQ(afterTarget[1], std::make_pair(kLevelSound, false));

    Drag(24, 25); // passed the target: still 0, no level sound
    EXPECT_EQ(window().GetCardsRemaining(), 0);
    EXPECT_TRUE(nextButton().IsVisible());
    ASSERT_EQ(Sounds().size(), 3u);
    EXPECT_EQ(Sounds()[2].first, kPairSound);
    EXPECT_EQ(window().GetLevel(), 1);
}

TEST_F(PairRules, CardsRemainingCountsDown) {
    EXPECT_EQ(window().GetCardsRemaining(), 16);
    Put(22, {CardOf(4)});
    Put(23, {CardOf(9)});
    Drag(22, 23);
    EXPECT_EQ(window().GetCardsRemaining(), 14);
    EXPECT_FALSE(nextButton().IsVisible());
}

// The last two cards end the level at once, whatever the target: the next
// level is dealt complete, with nothing to undo.
TEST_F(PairRules, TheFortyEighthCardEndsTheLevelAtOnce) {
    CardList pile;
    for (int i = 0; i < 46; ++i)
        pile.Push(CardEntry{static_cast<Card>(i), 1});
    for (std::uint32_t id = 1; id <= 34; ++id)
        Empty(id);
    stack(35).SetCards(pile);
    Put(22, {CardOf(6)});
    Put(29, {CardOf(7)});
    Drag(29, 22);

    EXPECT_EQ(window().GetLevel(), 2);
    EXPECT_EQ(window().OverlayKind(), 2);
    EXPECT_EQ(window().GetCardsRemaining(), 18);
    EXPECT_EQ(stack(35).Count(), 0);
    int onTable = 0;
    for (std::uint32_t id = 1; id <= 34; ++id) {
        onTable += stack(id).Count();
        EXPECT_TRUE(stack(id).IsVisible()) << id;
    }
    EXPECT_EQ(onTable, 48);
    EXPECT_EQ(game.CanUndo(), 0);
    EXPECT_FALSE(nextButton().IsVisible());
    EXPECT_TRUE(window().GetTimerBar().IsRunning());
    // Pair sound, then the level sound of the won level, interrupting.
    const auto s = Sounds();
    ASSERT_GE(s.size(), 2u);
    EXPECT_EQ(s.back(), std::make_pair(kLevelSound, false));
}

} // namespace
