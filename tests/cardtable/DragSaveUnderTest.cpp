// The save-under is exact: while cards are carried over a busy table the
// window shows the table as a full paint would plus the picture, and once the
// cards are home or have landed it shows exactly the table, with no repaint
// of the table at all (the window's Redraw is switched off here).
#include "DragFixture.h"

namespace {

class DragSaveUnderTest : public DragFixture {
protected:
    void SetUp() override {
        DragFixture::SetUp();
        side = table.CreateStack(29, true, 5, 10, 12, 0);
        side->SetCards(ListOf({0, 13, 26, 39}));
        fan = table.CreateStack(3, true, 200, 60, 0, 15);
        fan->SetCards(ListOf({1, 14, 27}));
        empty = table.CreateStack(4, true, 400, 60, 0, 0); // shows the empty place
        pile = table.CreateStack(35, true, 5, 420, 8, 0);
        pile->SetCards(ListOf({2, 15, 28, 41, 3}));
        pile->SetEmptyLook(kEmptyBackground);
        Show();
    }
    // Carries the side stack's top card along a path that crosses every
    // stack, leaves the window to the left, above, right and below and jumps
    // further than the picture's size; checks the window at every step.
    void CarryAlongThePath() {
        const POINT path[] = {{60, 40},   {63, 44},   {120, 80}, {215, 110}, {230, 160}, {10, -30},
                              {-40, 20},  {-30, 500}, {420, 90}, {430, 100}, {690, 300}, {720, 550},
                              {650, 530}, {300, 200}, {40, 450}, {45, 452},  {200, 300}};
        for (POINT p : path) {
            MoveTo(p.x, p.y);
            const PixelDiff d = ScreenAgainstTableWithPicture(*side);
            EXPECT_EQ(d.count, 0) << "at (" << p.x << ", " << p.y << "): " << d.Describe();
        }
    }
    int TopX() const { return side->X() + 3 * side->Dx() + 10; }

    CardStack* side = nullptr;
    CardStack* fan = nullptr;
    CardStack* empty = nullptr;
    CardStack* pile = nullptr;
};

TEST_F(DragSaveUnderTest, CardGlidingHomeLeavesEveryPixelAsBefore) {
    const CardImagePixels before = Screen();
    const int handles = LiveGdiHandles();
    Press(TopX(), 40);
    ASSERT_TRUE(side->IsDragging());
    CarryAlongThePath();
    Release(200, 300);
    EXPECT_FALSE(side->IsDragging());
    EXPECT_EQ(side->Count(), 4);
    EXPECT_GT(fake.pauses, 5);
    const PixelDiff d = Compare(Screen(), before);
    EXPECT_EQ(d.count, 0) << d.Describe();
    EXPECT_EQ(LiveGdiHandles(), handles);
}

TEST_F(DragSaveUnderTest, LandingLeavesTheWindowAsAFreshPaintOfTheNewState) {
    const int handles = LiveGdiHandles();
    Press(TopX(), 40);
    CarryAlongThePath();
    MoveTo(410, 70); // onto the empty place
    Release(410, 70);
    ASSERT_EQ(empty->Count(), 1);
    EXPECT_EQ(side->Count(), 3);
    PixelDiff d = Compare(Screen(), FreshPaint());
    EXPECT_EQ(d.count, 0) << d.Describe();

    // And onto the fanned stack, from the stack just landed on.
    Press(420, 100);
    ASSERT_TRUE(empty->IsDragging());
    MoveTo(300, 100);
    MoveTo(230, 150);
    Release(230, 150);
    ASSERT_EQ(fan->Count(), 4);
    EXPECT_EQ(empty->Count(), 0);
    d = Compare(Screen(), FreshPaint());
    EXPECT_EQ(d.count, 0) << d.Describe();
    EXPECT_EQ(LiveGdiHandles(), handles);
}

TEST_F(DragSaveUnderTest, CardsLiftedFromTheMiddleOfAFanGlideHomeExactly) {
    const CardImagePixels before = Screen();
    Press(fan->X() + 30, fan->Y() + 20); // the second card and the one above it
    ASSERT_TRUE(fan->IsDragging());
    EXPECT_EQ(fan->Count(), 1);
    for (POINT p : {POINT{240, 100}, POINT{30, 60}, POINT{20, 440}, POINT{600, 200}}) {
        MoveTo(p.x, p.y);
        const PixelDiff d = ScreenAgainstTableWithPicture(*fan);
        EXPECT_EQ(d.count, 0) << "at (" << p.x << ", " << p.y << "): " << d.Describe();
    }
    Release(600, 200);
    EXPECT_EQ(fan->GetCards(), ListOf({1, 14, 27}));
    const PixelDiff d = Compare(Screen(), before);
    EXPECT_EQ(d.count, 0) << d.Describe();
}

} // namespace
