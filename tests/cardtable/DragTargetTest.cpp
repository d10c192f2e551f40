// Which stack a released picture is offered to: the one whose own area it
// covers by the greatest whole percentage, the first created on a tie, and
// none below one percent.
#include "DragFixture.h"

#include <vector>

namespace {

std::vector<std::uint32_t> asked;
std::vector<std::uint32_t> dropped;

bool Accept(CardStack& s, const CardList&) {
    asked.push_back(s.GetId());
    return true;
}
void Dropped(CardStack& s, const CardList&) {
    dropped.push_back(s.GetId());
}

class DragTargetTest : public DragFixture {
protected:
    void SetUp() override {
        DragFixture::SetUp();
        asked.clear();
        dropped.clear();
        source = table.CreateStack(1, true, 20, 400, 0, 0);
        source->SetCards(ListOf({5}));
        source->SetDropRule(kDropAsk, Accept);
        source->SetOnDropped(Dropped);
    }
    CardStack* Target(std::uint32_t id, int x, int y, int dx, std::initializer_list<Card> cards) {
        CardStack* s = table.CreateStack(id, true, x, y, dx, 0);
        s->SetCards(ListOf(cards));
        s->SetDropRule(kDropAsk, Accept);
        s->SetOnDropped(Dropped);
        return s;
    }
    // Lifts the source's card (held 10 pixels into it) and releases it with
    // the picture's top-left corner at (x, y).
    void DropPictureAt(int x, int y) {
        Show();
        Press(source->X() + 10, source->Y() + 10);
        ASSERT_TRUE(source->IsDragging());
        MoveTo(x + 10, y + 10);
        Release(x + 10, y + 10);
        ASSERT_FALSE(source->IsDragging());
    }

    CardStack* source = nullptr;
};

// The picture at x = 250 shares 21 columns with a card ending at 271 and
// with one starting at 300: 29 percent of each. The stack made first wins,
// although it lies to the right.
TEST_F(DragTargetTest, EqualSharesGoToTheStackCreatedFirst) {
    CardStack* right = Target(2, 300, 100, 0, {7});
    CardStack* left = Target(3, 200, 100, 0, {8});
    ASSERT_EQ(right->Coverage(250, 100, cardWidth, cardHeight),
              left->Coverage(250, 100, cardWidth, cardHeight));
    DropPictureAt(250, 100);
    EXPECT_EQ(asked, (std::vector<std::uint32_t>{2}));
    EXPECT_EQ(dropped, (std::vector<std::uint32_t>{2}));
    EXPECT_EQ(right->Count(), 2);
    EXPECT_EQ(left->Count(), 1);
    EXPECT_EQ(source->Count(), 0);
}

// The same 21 columns are 29 percent of a single card but only 22 percent
// of a fan of three cards 95 pixels wide, made first: the single card wins.
TEST_F(DragTargetTest, EqualPixelsGoToTheSmallerStack) {
    CardStack* fan = Target(2, 300, 100, 12, {7, 11, 15});
    CardStack* single = Target(3, 200, 100, 0, {8});
    ASSERT_EQ(fan->Width(), cardWidth + 24);
    DropPictureAt(250, 100);
    EXPECT_EQ(asked, (std::vector<std::uint32_t>{3}));
    EXPECT_EQ(dropped, (std::vector<std::uint32_t>{3}));
    EXPECT_EQ(single->Count(), 2);
    EXPECT_EQ(fan->Count(), 3);
}

// One column by 50 rows is 0.7 percent of a card: nobody is asked and the
// card glides home.
TEST_F(DragTargetTest, UnderOnePercentIsNoTarget) {
    CardStack* corner = Target(2, 200, 100, 0, {7});
    DropPictureAt(corner->X() + cardWidth - 1, corner->Y() + cardHeight - 50);
    EXPECT_TRUE(asked.empty());
    EXPECT_TRUE(dropped.empty());
    EXPECT_GT(fake.pauses, 0);
    EXPECT_EQ(source->GetCards(), ListOf({5}));
    EXPECT_EQ(corner->Count(), 1);
}

// One column by all 96 rows is 1.4 percent: just enough.
TEST_F(DragTargetTest, OnePercentIsATarget) {
    CardStack* corner = Target(2, 200, 100, 0, {7});
    DropPictureAt(corner->X() + cardWidth - 1, corner->Y());
    EXPECT_EQ(asked, (std::vector<std::uint32_t>{2}));
    EXPECT_EQ(corner->Count(), 2);
}

// Released on its own place, the emptied stack is its own target.
TEST_F(DragTargetTest, AnEmptiedStackReceivesItsOwnCardBack) {
    Target(2, 300, 100, 0, {7});
    DropPictureAt(source->X() + 4, source->Y() + 3);
    EXPECT_EQ(asked, (std::vector<std::uint32_t>{1}));
    EXPECT_EQ(dropped, (std::vector<std::uint32_t>{1}));
    EXPECT_EQ(source->GetCards(), ListOf({5}));
}

// A hidden stack is never a target, however much of it is covered.
TEST_F(DragTargetTest, HiddenStacksAreNoTarget) {
    CardStack* hidden = Target(2, 200, 100, 0, {7});
    CardStack* partly = Target(3, 240, 100, 0, {8});
    Show();
    hidden->SetVisible(false);
    DropPictureAt(200, 100);
    EXPECT_EQ(asked, (std::vector<std::uint32_t>{3}));
    EXPECT_EQ(partly->Count(), 2);
    EXPECT_EQ(hidden->Count(), 1);
}

} // namespace
