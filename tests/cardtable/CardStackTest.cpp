#include "cardtable/core/CardSize.h"
#include "cardtable/core/CardWindow.h"
#include "support/CardLists.h"
#include "support/FakeSeams.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

class CardStackTest : public testing::Test {
protected:
    CardWindow table;
};

TEST_F(CardStackTest, ExtentOfAVerticalFan) {
    CardStack* s = table.CreateStack(1, true, 100, 50, 0, 15);
    ASSERT_NE(s, nullptr);
    s->SetCards(ListOf({1, 2, 3}));
    EXPECT_EQ(s->Width(), 71);
    EXPECT_EQ(s->Height(), 126);
    EXPECT_FALSE(s->Contains(171, 60));
    EXPECT_FALSE(s->Contains(100, 176));
    EXPECT_TRUE(s->Contains(170, 175));
    EXPECT_TRUE(s->Contains(100, 50));
    EXPECT_FALSE(s->Contains(99, 50));
    s->SetVisible(false);
    EXPECT_FALSE(s->Contains(170, 175));
    EXPECT_FALSE(s->Contains(100, 50));
}

TEST_F(CardStackTest, EmptyStackHasOneCardsExtent) {
    CardStack* s = table.CreateStack(1, true, 10, 20, 12, 0);
    EXPECT_EQ(s->Width(), cardWidth);
    EXPECT_EQ(s->Height(), cardHeight);
    EXPECT_TRUE(s->Contains(10 + cardWidth - 1, 20 + cardHeight - 1));
}

TEST_F(CardStackTest, NegativeOffsetsExtendLeft) {
    CardStack* s = table.CreateStack(1, true, 200, 0, -12, 0);
    s->SetCards(ListOf({1, 2, 3, 4}));
    EXPECT_EQ(s->Extent().left, 164);
    EXPECT_EQ(s->Extent().right, 164 + 71 + 36);
    EXPECT_TRUE(s->Contains(164, 10));
    EXPECT_FALSE(s->Contains(163, 10));
}

TEST_F(CardStackTest, UpdateTurnsEveryCardFaceUp) {
    CardStack* s = table.CreateStack(1, true, 0, 0, 0, 0);
    s->SetCards(ListOf({8, 9}, 0));
    EXPECT_EQ(s->GetCards().At(0).faceUp, 1);
    EXPECT_EQ(s->GetCards().At(1).faceUp, 1);
}

TEST_F(CardStackTest, CoverageInWholePercent) {
    CardStack* s = table.CreateStack(1, true, 100, 100, 0, 0);
    EXPECT_EQ(s->Coverage(100, 100, 71, 96), 100);
    EXPECT_EQ(s->Coverage(135, 100, 71, 96), 50); // 36 of 71 columns
    EXPECT_EQ(s->Coverage(171, 100, 71, 96), 0);  // touching edges only
    EXPECT_EQ(s->Coverage(0, 0, 10, 10), 0);
    EXPECT_EQ(s->Coverage(170, 195, 71, 96), 0); // one pixel: under 1 percent
    EXPECT_EQ(s->Coverage(100, 100, 1, 96), 1);
}

TEST_F(CardStackTest, MayLiftFollowsTheDragRule) {
    CardStack* s = table.CreateStack(1, true, 0, 0, 0, 0);
    for (std::uint32_t rule : {0u, 1u, 2u})
        ASSERT_TRUE(s->SetDragRule(rule, nullptr));
    s->SetDragRule(kDragOne, nullptr);
    EXPECT_TRUE(s->MayLift(1));
    EXPECT_FALSE(s->MayLift(2));
    EXPECT_FALSE(s->MayLift(0));
    s->SetDragRule(kDragNever, nullptr);
    EXPECT_FALSE(s->MayLift(1));
    s->SetDragRule(kDragAny, nullptr);
    EXPECT_TRUE(s->MayLift(5));
    EXPECT_FALSE(s->MayLift(0));
    EXPECT_FALSE(s->MayLift(-1));

    static int asked;
    asked = 0;
    s->SetDragRule(kDragAsk, [](CardStack&, int n) {
        asked = n;
        return n == 2;
    });
    EXPECT_TRUE(s->MayLift(2));
    EXPECT_EQ(asked, 2);
    EXPECT_FALSE(s->MayLift(3));
    EXPECT_FALSE(s->MayLift(0));
    EXPECT_EQ(asked, 3); // not asked for zero cards

    s->SetDragRule(kDragAsk, nullptr);
    EXPECT_FALSE(s->MayLift(1));
}

TEST_F(CardStackTest, MayLandFollowsTheDropRule) {
    CardStack* s = table.CreateStack(1, true, 0, 0, 0, 0);
    EXPECT_TRUE(s->MayLand(ListOf({3}))); // initial rule: always
    s->SetDropRule(kDropNever, nullptr);
    EXPECT_FALSE(s->MayLand(ListOf({3})));
    s->SetDropRule(kDropAsk, nullptr);
    EXPECT_FALSE(s->MayLand(ListOf({3})));
    static Card seen;
    s->SetDropRule(kDropAsk, [](CardStack&, const CardList& lifted) {
        seen = lifted.At(0).card;
        return seen == 7u;
    });
    EXPECT_TRUE(s->MayLand(ListOf({2, 7})));
    EXPECT_EQ(seen, 7u);
    EXPECT_FALSE(s->MayLand(ListOf({8})));
}

TEST_F(CardStackTest, SettersRefuseUnsupportedValues) {
    CardStack* s = table.CreateStack(1, true, 0, 0, 0, 0);
    s->SetDragRule(kDragOne, nullptr);
    EXPECT_FALSE(s->SetDragRule(4, [](CardStack&, int) { return true; }));
    EXPECT_EQ(s->GetDragRule(), 1u);
    EXPECT_FALSE(s->SetDropRule(3, nullptr));
    EXPECT_EQ(s->GetDropRule(), 1u);

    s->SetEmptyLook(2);
    EXPECT_EQ(s->GetEmptyLook(), 2u);
    s->SetEmptyLook(3);
    EXPECT_EQ(s->GetEmptyLook(), 0u);

    EXPECT_EQ(s->GetBackNumber(), 53);
    s->SetBackNumber(51);
    s->SetBackNumber(68);
    EXPECT_EQ(s->GetBackNumber(), 53);
    s->SetBackNumber(60);
    EXPECT_EQ(s->GetBackNumber(), 60);
}

// A lock held by another thread refuses lifts and landings; the owner
// thread's own probe never blocks.
TEST_F(CardStackTest, LockHeldElsewhereRefuses) {
    CardStack* s = table.CreateStack(1, true, 0, 0, 0, 0);
    HANDLE held = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread holder([&] {
        WaitForSingleObject(s->Lock(), INFINITE);
        SetEvent(held);
        WaitForSingleObject(done, INFINITE);
        ReleaseMutex(s->Lock());
    });
    WaitForSingleObject(held, INFINITE);
    EXPECT_FALSE(s->MayLift(1));
    EXPECT_FALSE(s->MayLand(ListOf({1})));
    SetEvent(done);
    holder.join();
    EXPECT_TRUE(s->MayLift(1));
    EXPECT_TRUE(s->MayLand(ListOf({1})));
    CloseHandle(held);
    CloseHandle(done);
}

TEST_F(CardStackTest, RegistryHoldsFortyStacks) {
    table.SetBackNumber(60);
    for (int i = 0; i < 40; ++i)
        ASSERT_NE(table.CreateStack(i % 20, true, i, 0, 0, 0), nullptr) << i;
    EXPECT_EQ(table.CreateStack(99, true, 0, 0, 0, 0), nullptr);
    EXPECT_EQ(table.StackCount(), 40);
    EXPECT_EQ(table.FindStack(99), nullptr);
    // The first created wins for a repeated id.
    EXPECT_EQ(table.FindStack(5)->X(), 5);
    EXPECT_EQ(table.FindStack(5)->GetBackNumber(), 60);
}

TEST_F(CardStackTest, NewStacksTakeTheWindowsColourAndBack) {
    CardStack* before = table.CreateStack(1, true, 0, 0, 0, 0);
    EXPECT_EQ(before->GetBackgroundColor(), RGB(0, 0x50, 0));
    table.SetBackNumber(51); // not a back slot: ignored everywhere
    EXPECT_EQ(table.GetBackNumber(), 53);
    EXPECT_EQ(before->GetBackNumber(), 53);
    table.SetBackNumber(55);
    EXPECT_EQ(before->GetBackNumber(), 55);
    CardStack* after = table.CreateStack(2, false, 0, 0, 0, 0);
    EXPECT_EQ(after->GetBackNumber(), 55);
    EXPECT_FALSE(after->IsVisible());
    EXPECT_EQ(after->GetDragRule(), 2u);
    EXPECT_EQ(after->GetDropRule(), 1u);
    EXPECT_EQ(after->GetEmptyLook(), 1u);
}

TEST_F(CardStackTest, ClearAllStacksEmptiesEveryStack) {
    CardStack* a = table.CreateStack(1, true, 0, 0, 0, 15);
    CardStack* b = table.CreateStack(2, true, 0, 0, 12, 0);
    a->SetCards(ListOf({1, 2, 3}));
    b->SetCards(ListOf({4}));
    table.ClearAllStacks();
    EXPECT_EQ(a->Count(), 0);
    EXPECT_EQ(b->Count(), 0);
    EXPECT_EQ(a->Height(), cardHeight);
}

} // namespace
