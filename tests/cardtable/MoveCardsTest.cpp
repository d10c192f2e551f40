#include "cardtable/core/CardWindow.h"
#include "cardtable/motion/Glide.h"
#include "support/CardLists.h"
#include "support/FakeSeams.h"
#include "support/TableOnScreen.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class MoveCardsTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(ShowTable(table, parent.get(), 700, 540)); }
    FakeSeams fake;
    TestWindow parent;
    CardWindow table;
};

TEST_F(MoveCardsTest, MovesTheTopCardsInTheirOrder) {
    CardStack* from = table.CreateStack(1, true, 10, 10, 0, 15);
    CardStack* to = table.CreateStack(2, true, 200, 10, 0, 15);
    from->SetCards(ListOf({1, 2, 3, 4, 5}));
    EXPECT_TRUE(from->MoveCards(to, 2, false));
    EXPECT_EQ(Values(from->GetCards()), (std::vector<Card>{1, 2, 3}));
    EXPECT_EQ(Values(to->GetCards()), (std::vector<Card>{4, 5}));
    EXPECT_EQ(from->Height(), 96 + 30);
    EXPECT_EQ(to->Height(), 96 + 15);
    EXPECT_FALSE(from->IsDragging());
}

TEST_F(MoveCardsTest, RefusesBadArgumentsAndChangesNothing) {
    CardStack* from = table.CreateStack(1, true, 10, 10, 0, 0);
    CardStack* to = table.CreateStack(2, true, 200, 10, 0, 0);
    from->SetCards(ListOf({1, 2, 3, 4, 5}));
    to->SetCards(ListOf({9}));
    EXPECT_FALSE(from->MoveCards(to, 6, true));
    EXPECT_FALSE(from->MoveCards(nullptr, 1, true));
    EXPECT_FALSE(from->MoveCards(to, -1, true));
    EXPECT_EQ(from->Count(), 5);
    EXPECT_EQ(Values(to->GetCards()), (std::vector<Card>{9}));
    EXPECT_TRUE(from->MoveCards(to, 0, false));
    EXPECT_EQ(from->Count(), 5);
    EXPECT_EQ(to->Count(), 1);
    EXPECT_EQ(fake.pauses, 0);
}

TEST_F(MoveCardsTest, RefusesAMoveOntoAFullStack) {
    CardStack* from = table.CreateStack(1, true, 10, 10, 0, 0);
    CardStack* to = table.CreateStack(2, true, 200, 10, 0, 0);
    CardList many;
    for (int i = 0; i < 126; ++i)
        many.Push(CardEntry{static_cast<Card>(i % 52), 1});
    to->SetCards(many);
    from->SetCards(ListOf({1, 2}));
    EXPECT_FALSE(from->MoveCards(to, 2, true)); // 128 cards: the list cannot hold them
    EXPECT_EQ(from->Count(), 2);
    EXPECT_EQ(to->Count(), 126);
    EXPECT_TRUE(from->MoveCards(to, 1, false)); // 127 fits
    EXPECT_EQ(to->Count(), 127);
}

TEST_F(MoveCardsTest, AskNoRuleAndCallNoCallback) {
    static int calls;
    calls = 0;
    CardStack* from = table.CreateStack(1, true, 10, 10, 0, 0);
    CardStack* to = table.CreateStack(2, true, 200, 10, 0, 0);
    from->SetDragRule(kDragNever, nullptr);
    to->SetDropRule(kDropNever, nullptr);
    from->SetOnTaken([](CardStack&, int) { ++calls; });
    to->SetOnDropped([](CardStack&, const CardList&) { ++calls; });
    from->SetCards(ListOf({1, 2}));
    EXPECT_TRUE(from->MoveCards(to, 2, true));
    EXPECT_EQ(to->Count(), 2);
    EXPECT_EQ(calls, 0);
}

// The glide starts at the lowest moving card and ends on the target's next
// card position; at speed 20 a glide of L pixels pauses about L / 20 times.
TEST_F(MoveCardsTest, AnimatedMoveGlidesFromTheCardToTheNextPlace) {
    CardStack* pile = table.CreateStack(1, true, 5, 300, 0, 0);
    CardStack* side = table.CreateStack(2, true, 100, 10, 12, 0);
    CardList ten;
    for (Card c = 0; c < 10; ++c)
        ten.Push(CardEntry{c, 1});
    pile->SetCards(ten);
    SetMoveSpeed(20);

    // (5, 300) to (100, 10): 305.2 pixels, 16 frames at 20 pixels.
    EXPECT_TRUE(pile->MoveCards(side, 1, true));
    EXPECT_EQ(fake.pauses, 15);
    EXPECT_EQ(pile->PickIndex(), 1);
    EXPECT_EQ(side->Count(), 1);
    EXPECT_EQ(side->GetCards().At(0).card, 9u);

    // (5, 300) to (112, 10): 309.1 pixels, again 16 frames.
    fake.pauses = 0;
    EXPECT_TRUE(pile->MoveCards(side, 1, true));
    EXPECT_EQ(fake.pauses, 15);
    EXPECT_EQ(side->Count(), 2);
    EXPECT_EQ(side->GetCards().At(0).card, 8u);
    EXPECT_EQ(pile->Count(), 8);
}

TEST_F(MoveCardsTest, GlideFrameCountsFollowTheSpeed) {
    CardStack* from = table.CreateStack(1, true, 0, 0, 0, 0);
    CardStack* diagonal = table.CreateStack(2, true, 30, 40, 0, 0);
    CardStack* flat = table.CreateStack(3, true, 100, 0, 0, 0);
    from->SetCards(ListOf({1, 2, 3}));
    SetMoveSpeed(20);
    from->MoveCards(diagonal, 1, true); // frames (12,16), (24,32), (30,40)
    EXPECT_EQ(fake.pauses, 2);
    fake.pauses = 0;
    from->MoveCards(flat, 1, true); // frames at x = 20, 40, 60, 80, 100
    EXPECT_EQ(fake.pauses, 4);
    fake.pauses = 0;
    SetMoveSpeed(80);
    from->MoveCards(flat, 1, true); // (0,0) to (100,0): 80, then 160 -> 100
    EXPECT_EQ(fake.pauses, 1);
    fake.pauses = 0;
    SetMoveSpeed(0); // never arrives by steps: one frame at the target
    from->MoveCards(flat, 0, true);
    EXPECT_EQ(fake.pauses, 0);
    SetMoveSpeed(20);
}

} // namespace
