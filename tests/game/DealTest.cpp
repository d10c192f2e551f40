#include "cardtable/core/TableButton.h"
#include "cardtable/motion/Glide.h"
#include "game/Game.h"
#include "support/FakeSeams.h"
#include "support/OverlayPilot.h"
#include "support/TestWindow.h"

#include <gtest/gtest.h>

#include <set>

namespace {

class DealTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(game.CreateTable(parent.get()), 1);
        MoveWindow(table().GetHandle(), 0, 0, 706, 547, TRUE);
    }
    GameWindow& table() { return game.GetGameWindow(); }
    CardStack& stack(std::uint32_t id) { return *table().FindStack(id); }

    FakeSeams fake;
    TestWindow parent;
    Game game;
    OverlayPilot pilot{game.GetGameWindow()};
};

TEST_F(DealTest, TableStacksStandInCreationOrderAndPlace) {
    GameWindow& t = table();
    ASSERT_EQ(t.StackCount(), 35);
    const std::uint32_t order[6] = {29, 32, 33, 30, 34, 31};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(t.StackByIndex(i).GetId(), order[i]);
    for (int i = 6; i < 34; ++i)
        EXPECT_EQ(t.StackByIndex(i).GetId(), static_cast<std::uint32_t>(i - 5));
    EXPECT_EQ(t.StackByIndex(34).GetId(), 35u);

    struct Place {
        std::uint32_t id;
        int x, y;
    };
    for (Place p :
         {Place{29, 5, 10}, Place{32, 129, 10}, Place{33, 241, 10}, Place{30, 5, 130},
          Place{34, 129, 130}, Place{31, 5, 250}, Place{1, 360, 178}, Place{2, 324, 210},
          Place{3, 395, 210}, Place{22, 147, 370}, Place{28, 573, 370}, Place{35, 5, 498}}) {
        EXPECT_EQ(stack(p.id).X(), p.x) << p.id;
        EXPECT_EQ(stack(p.id).Y(), p.y) << p.id;
    }
    for (std::uint32_t id = 22; id < 28; ++id)
        EXPECT_EQ(stack(id + 1).X() - stack(id).X(), 71);

    TableButton* next = t.FindButton(36);
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->Rect().left, 586);
    EXPECT_EQ(next->Rect().top, 100);
    EXPECT_EQ(next->Rect().right - next->Rect().left, 70);
    EXPECT_EQ(next->Rect().bottom - next->Rect().top, 30);
    EXPECT_FALSE(next->IsVisible());
    EXPECT_STREQ(next->Label(), "next level");
    EXPECT_EQ(next->GetStyle(), TableButton::kRaised);
}

TEST_F(DealTest, StacksCarryTheirRules) {
    for (std::uint32_t id = 29; id <= 34; ++id) {
        EXPECT_EQ(stack(id).GetDragRule(), 1u);
        EXPECT_EQ(stack(id).GetDropRule(), 2u);
        EXPECT_EQ(stack(id).Dx(), 12);
        EXPECT_EQ(stack(id).Dy(), 0);
        EXPECT_EQ(stack(id).GetEmptyLook(), 1u);
    }
    for (std::uint32_t id = 1; id <= 28; ++id) {
        EXPECT_EQ(stack(id).GetDragRule(), 3u);
        EXPECT_EQ(stack(id).GetDropRule(), 2u);
        EXPECT_EQ(stack(id).Dy(), 15);
        EXPECT_EQ(stack(id).GetBackNumber(), 53);
    }
    EXPECT_EQ(stack(35).GetDragRule(), 0u);
    EXPECT_EQ(stack(35).GetDropRule(), 0u);
    EXPECT_EQ(stack(35).GetEmptyLook(), 0u);
    EXPECT_NE(game.Sound(kRefusalSound), nullptr);
    EXPECT_NE(game.Sound(kPairSound), nullptr);
    EXPECT_NE(game.Sound(kLevelSound), nullptr);
    EXPECT_EQ(game.IsReady(), 0);
}

TEST_F(DealTest, DealsFortyEightCardsWithoutKings) {
    game.StartLevel(false);
    const int expected[6] = {4, 4, 3, 3, 3, 3}; // 29, 30, 31, 32, 34, 33
    const std::uint32_t sides[6] = {29, 30, 31, 32, 34, 33};
    std::multiset<Card> seen;
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(stack(sides[i]).Count(), expected[i]) << sides[i];
        for (int k = 0; k < stack(sides[i]).Count(); ++k)
            seen.insert(stack(sides[i]).GetCards().Slot(k).card);
    }
    for (std::uint32_t id = 1; id <= 28; ++id) {
        ASSERT_EQ(stack(id).Count(), 1) << id;
        seen.insert(stack(id).GetCards().At(0).card);
        EXPECT_EQ(stack(id).GetEmptyLook(), 2u);
        EXPECT_TRUE(stack(id).IsVisible());
    }
    EXPECT_EQ(stack(35).Count(), 0);
    ASSERT_EQ(seen.size(), 48u);
    for (Card c = 0; c < 48; ++c)
        EXPECT_EQ(seen.count(c), 1u) << c;

    EXPECT_EQ(stack(35).Dx(), 8);
    EXPECT_EQ(stack(35).Dy(), 0);
    EXPECT_EQ(GetMoveSpeed(), 20.0);
    EXPECT_EQ(game.UndoTarget(), 0);
    EXPECT_EQ(game.IsReady(), 1);
    EXPECT_TRUE(table().GetTimerBar().IsRunning());
    EXPECT_EQ(table().OverlayKind(), 1);
}

// The shuffled deck's top 20 cards go round the side stacks, the rest to the
// slots in id order, so the deck's bottom card lands on slot 28.
TEST_F(DealTest, DealOrderFollowsTheShuffledDeck) {
    fake.tick = 90210;
    CardList deck;
    deck.FillDeck();
    for (int king = 0; king < 4; ++king)
        deck.Take(0);
    for (int i = 0; i < 4; ++i)
        deck.Shuffle();

    game.StartLevel(false);
    const std::uint32_t sides[6] = {29, 30, 31, 32, 34, 33};
    int dealt[35] = {};
    auto expectNext = [&](std::uint32_t id, int drawn) {
        const Card want = deck.At(drawn).card;
        EXPECT_EQ(stack(id).GetCards().Slot(dealt[id]++).card, want) << "stack " << id;
    };
    int drawn = 0;
    for (int round = 0; round < 3; ++round)
        for (std::uint32_t id : sides)
            expectNext(id, drawn++);
    expectNext(29, drawn++);
    expectNext(30, drawn++);
    for (std::uint32_t id = 1; id <= 28; ++id)
        expectNext(id, drawn++);
    EXPECT_EQ(stack(28).GetCards().At(0).card, deck.Slot(0).card);
}

TEST_F(DealTest, LevelsSetTimeLimitAndTarget) {
    const int limits[20] = {160, 150, 140, 140, 130, 120, 110, 100, 90, 90,
                            90,  90,  90,  90,  90,  90,  90,  90,  90, 90};
    game.StartLevel(false);
    for (int level = 1; level <= 20; ++level) {
        if (level > 1)
            game.StartLevel(true);
        EXPECT_EQ(table().GetLevel(), level);
        EXPECT_EQ(table().GetTimerBar().GetTimeLimit(), limits[level - 1]) << level;
        const int target = level >= 17 ? 48 : 2 * level + 14;
        EXPECT_EQ(table().GetCardsRemaining(), target) << level;
        EXPECT_EQ(table().OverlayKind(), level == 1 ? 1 : 2);
    }
    EXPECT_TRUE(fake.boxTexts.empty()); // the next level never asks
}

TEST_F(DealTest, NewGameAsksOnlyWhileALevelRuns) {
    game.StartLevel(false); // the timer was stopped: no question
    EXPECT_TRUE(fake.boxTexts.empty());
    game.StartLevel(true);
    ASSERT_EQ(table().GetLevel(), 2);
    const Card top = stack(1).GetCards().At(0).card;

    fake.boxAnswer = IDNO;
    game.StartLevel(false);
    ASSERT_EQ(fake.boxTexts.size(), 1u);
    EXPECT_EQ(fake.boxTexts[0], "Do you want to abort the current game?");
    EXPECT_EQ(fake.boxCaptions[0], "Keltrim Solitaire");
    EXPECT_EQ(fake.boxTypes[0], static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(table().GetLevel(), 2);
    EXPECT_EQ(stack(1).GetCards().At(0).card, top);
    EXPECT_TRUE(table().GetTimerBar().IsRunning());

    fake.boxAnswer = IDYES;
    game.StartLevel(false);
    EXPECT_EQ(fake.boxTexts.size(), 2u);
    EXPECT_EQ(table().GetLevel(), 1);

    table().GetTimerBar().Stop(); // as after a Game Over
    game.StartLevel(false);
    EXPECT_EQ(fake.boxTexts.size(), 2u);
}

TEST_F(DealTest, AStartedLevelShowsEveryStackAgain) {
    game.StartLevel(false);
    stack(29).SetVisible(false);
    stack(5).SetVisible(false);
    stack(5).SetEmptyLook(kEmptyNothing);
    game.StartLevel(true);
    EXPECT_TRUE(stack(29).IsVisible());
    EXPECT_TRUE(stack(5).IsVisible());
    EXPECT_EQ(stack(5).Count(), 1);
}

} // namespace

TEST(LevelNumbers, TargetsAndTimeLimits) {
    EXPECT_EQ(TargetForLevelNumber(1), 16);
    EXPECT_EQ(TargetForLevelNumber(16), 46);
    EXPECT_EQ(TargetForLevelNumber(17), 48);
    EXPECT_EQ(TargetForLevelNumber(40), 48);
    EXPECT_EQ(TimeLimitForLevel(3), 140);
    EXPECT_EQ(TimeLimitForLevel(4), 140);
    EXPECT_EQ(TimeLimitForLevel(9), 90);
    EXPECT_EQ(TimeLimitForLevel(10), 90);
}
