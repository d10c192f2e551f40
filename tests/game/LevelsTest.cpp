#include "support/GameTable.h"

#include <functional>

namespace {

void FillPile(CardStack& pile, int n) {
    CardList l;
    for (int i = 0; i < n; ++i)
        l.Push(CardEntry{static_cast<Card>(i % 48), 1});
    pile.SetCards(l);
}

class Levels : public GameTable {
protected:
    // Level 1's target: 14 cards on the pile, then a pair removed by a drag.
    void ReachTheTarget() {
        FillPile(stack(35), 14);
        Put(22, {CardOf(1)});
        Put(23, {CardOf(12)});
        Drag(22, 23);
    }
    // Presses and releases the "next level" button through the window.
    void PressTheNextButton() {
        HWND wnd = window().GetHandle();
        SendMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(600, 110));
        SendMessageA(wnd, WM_LBUTTONUP, 0, MAKELPARAM(600, 110));
    }
};

TEST_F(Levels, TimeOutWithTheTargetReachedIsASuccess) {
    FillPile(stack(35), 16);
    RunOutOfTime();
    EXPECT_EQ(window().GetLevel(), 2);
    EXPECT_EQ(window().GetTimerBar().GetTimeLimit(), 150);
    EXPECT_TRUE(window().GetTimerBar().IsRunning());
    EXPECT_EQ(window().OverlayKind(), 2);
    ASSERT_EQ(Sounds().size(), 1u);
    EXPECT_EQ(Sounds()[0], std::make_pair(kLevelSound, false));
}

TEST_F(Levels, TimeOutBelowTheTargetIsGameOver) {
    FillPile(stack(35), 14);
    const Card before = top(22);
    RunOutOfTime();
    EXPECT_EQ(window().OverlayKind(), 3);
    EXPECT_EQ(window().GetLevel(), -1);
    EXPECT_EQ(window().GetCardsRemaining(), -1);
    EXPECT_FALSE(window().GetTimerBar().IsRunning());
    EXPECT_TRUE(Sounds().empty());
    EXPECT_EQ(top(22), before); // the cards stay where they were
    EXPECT_FALSE(nextButton().IsVisible());

    // The table no longer reacts to the mouse.
    Put(23, {CardOf(13 - RankOf(before) - 1)});
    Drag(22, 23);
    EXPECT_EQ(stack(22).Count(), 1);
    EXPECT_EQ(stack(23).Count(), 1);

    // Presses handed to the table directly are ignored as well.
    window().PressAt(window().GetHandle(), stack(22).X() + 5, stack(22).Y() + 5, 0, 0);
    EXPECT_FALSE(stack(22).IsDragging());

    // A new game starts without the abort question.
    game.StartLevel(false);
    EXPECT_TRUE(fake.boxTexts.empty());
    EXPECT_EQ(window().GetLevel(), 1);
    EXPECT_EQ(window().OverlayKind(), 1);
}

// The time can run out while the player holds a card: the card goes home
// before the next level is dealt, and no card is lost or doubled.
TEST_F(Levels, TimeOutDuringADragDealsACompleteTable) {
    FillPile(stack(35), 0);
    HWND wnd = window().GetHandle();
    const int x = stack(22).X() + 5, y = stack(22).Y() + 5;
    SendMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    ASSERT_TRUE(stack(22).IsDragging());
    // The columns come down over the table, not over the opening screen.
    COLORREF frozen = CLR_INVALID;
    pilot.Next([&](GameWindow& w) {
        frozen = GetPixel(WindowDc(w.GetHandle()).get(), 300, 150);
        OverlayPilot::Dismiss(w);
    });
    RunOutOfTime(); // below the target: Game Over
    EXPECT_FALSE(stack(22).IsDragging());
    EXPECT_EQ(frozen, window().GetBackgroundColor());
    game.StartLevel(false);
    SendMessageA(wnd, WM_LBUTTONUP, 0, MAKELPARAM(x + 200, y));
    int cards = 0;
    for (std::uint32_t id = 1; id <= 35; ++id)
        cards += stack(id).Count();
    EXPECT_EQ(cards, 48);

    SendMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    ASSERT_TRUE(stack(22).IsDragging());
    game.StartLevel(true);
    SendMessageA(wnd, WM_LBUTTONUP, 0, MAKELPARAM(x + 200, y));
    cards = 0;
    for (std::uint32_t id = 1; id <= 35; ++id)
        cards += stack(id).Count();
    EXPECT_EQ(cards, 48);
}

// The clock goes on while the abort question is up. A level that ends
// meanwhile ends first; the answer then applies to what is running.
TEST_F(Levels, TheClockCanRunOutWhileTheAbortQuestionIsUp) {
    // Below the target and answered No: Game Over stays, the cards too.
    FillPile(stack(35), 14);
    const TableState before = TableState::Of(game);
    fake.boxAnswer = IDNO;
    fake.whileBoxUp = [&] { RunOutOfTime(); };
    game.StartLevel(false);
    ASSERT_EQ(fake.boxTexts.size(), 1u);
    EXPECT_EQ(window().OverlayKind(), 3);
    EXPECT_EQ(window().GetLevel(), -1);
    EXPECT_FALSE(window().GetTimerBar().IsRunning());
    EXPECT_FALSE(window().IsInputEnabled());
    TableState after = TableState::Of(game);
    after.cardsRemaining = before.cardsRemaining;
    EXPECT_TRUE(after == before);

    // The target reached and answered Yes: the next level is dealt while
    // the question is up, and Yes then starts a new game over it.
    fake.whileBoxUp = nullptr;
    game.StartLevel(false); // after Game Over nothing asks
    ASSERT_EQ(fake.boxTexts.size(), 1u);
    FillPile(stack(35), 16);
    int levelMeanwhile = 0;
    fake.whileBoxUp = [&] {
        RunOutOfTime();
        levelMeanwhile = window().GetLevel();
    };
    fake.boxAnswer = IDYES;
    game.StartLevel(false);
    EXPECT_EQ(fake.boxTexts.size(), 2u);
    EXPECT_EQ(levelMeanwhile, 2);
    EXPECT_EQ(window().GetLevel(), 1);
    EXPECT_EQ(window().OverlayKind(), 1);
    EXPECT_EQ(window().GetTimerBar().GetSecondsLeft(), 160u);
    int cards = 0;
    for (std::uint32_t id = 1; id <= 34; ++id)
        cards += stack(id).Count();
    EXPECT_EQ(cards, 48);
    EXPECT_EQ(stack(35).Count(), 0);
}

TEST_F(Levels, NextLevelButtonJudgesTheRemovedCount) {
    ReachTheTarget();
    ASSERT_TRUE(nextButton().IsVisible());
    // "Well Done!!!" comes down over the table without the button.
    COLORREF frozen = CLR_INVALID;
    pilot.Next([&](GameWindow& w) {
        const RECT r = nextButton().Rect();
        frozen = GetPixel(WindowDc(w.GetHandle()).get(), r.left, r.top);
        OverlayPilot::Dismiss(w);
    });
    PressTheNextButton();
    EXPECT_EQ(window().GetLevel(), 2);
    EXPECT_FALSE(nextButton().IsVisible());
    EXPECT_EQ(frozen, window().GetBackgroundColor());
    EXPECT_EQ(window().GetTimerBar().GetTimeLimit(), 150);
    EXPECT_TRUE(window().GetTimerBar().IsRunning());
}

// The same level played from the keyboard alone: the pair, the button and
// the overlay between the levels, each with its key.
TEST_F(Levels, TheKeyboardAloneWinsTheLevelAndEntersTheNext) {
    const auto key = [this](WPARAM k) { SendMessageA(window().GetHandle(), WM_KEYDOWN, k, 1); };
    FillPile(stack(35), 14);
    Put(22, {CardOf(1)});
    Put(23, {CardOf(12)});
    for (WPARAM k : {VK_DOWN, VK_SPACE, VK_RIGHT, VK_RETURN})
        key(k); // 22 is the first card
    EXPECT_EQ(stack(35).Count(), 16);
    ASSERT_TRUE(nextButton().IsVisible());
    key(VK_RIGHT); // the first card again: the frame's card is gone
    EXPECT_EQ(window().FramedStack(), &stack(24));
    for (int i = 0; i < 5; ++i)
        key(VK_RIGHT); // along the bottom row to 28, then up to the button
    EXPECT_EQ(window().FramedButton(), &nextButton());
    pilot.Next([](GameWindow& w) {
        OverlayPilot::RunTransition(w);
        SendMessageA(w.GetHandle(), WM_KEYDOWN, VK_SPACE, 1);
    });
    key(VK_SPACE);
    EXPECT_EQ(window().GetLevel(), 2);
    EXPECT_EQ(pilot.kinds.back(), 2);
    EXPECT_FALSE(window().IsOverlayRunning());
    EXPECT_EQ(window().FramedButton(), nullptr); // the deal took the frame away
}

// A new game chosen with the target reached: No keeps the button and the
// level; Yes starts level 1 without it, so no press can judge the new table.
TEST_F(Levels, ANewGameHidesTheButtonOfTheAbandonedLevel) {
    ReachTheTarget();
    ASSERT_TRUE(nextButton().IsVisible());

    fake.boxAnswer = IDNO;
    EXPECT_EQ(game.StartLevel(false), 0);
    EXPECT_TRUE(nextButton().IsVisible());
    EXPECT_EQ(stack(35).Count(), 16);

    fake.boxAnswer = IDYES;
    EXPECT_EQ(game.StartLevel(false), 1);
    EXPECT_FALSE(nextButton().IsVisible());
    EXPECT_EQ(window().GetLevel(), 1);
    EXPECT_EQ(stack(35).Count(), 0);
    PressTheNextButton(); // where the button stood: nothing to click
    EXPECT_EQ(window().GetLevel(), 1);
    EXPECT_TRUE(window().GetTimerBar().IsRunning());
}

// However the press on "next level" is ended from outside, the mouse is free
// afterwards: the menu bar and the close box answer the next click.
TEST_F(Levels, AHeldButtonEndedFromOutsideFreesTheMouse) {
    HWND wnd = window().GetHandle();
    const std::function<void()> endings[] = {
        [&] { RunOutOfTime(); },         // the level ends
        [&] { game.StartLevel(false); }, // a new game
        [&] { game.Undo(); },            // an undo
        [&] {
            FillPile(stack(35), 14);
            RunOutOfTime();
        }, // Game Over
    };
    for (const auto& end : endings) {
        game.StartLevel(false);
        ReachTheTarget();
        SendMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(600, 110));
        ASSERT_EQ(GetCapture(), wnd);
        end();
        EXPECT_NE(GetCapture(), wnd) << &end - endings;
        SendMessageA(wnd, WM_LBUTTONUP, 0, MAKELPARAM(600, 110));
    }
}

TEST_F(Levels, NextLevelAfterAnUndoBelowTheTargetEndsTheGame) {
    ReachTheTarget();
    ASSERT_TRUE(nextButton().IsVisible());
    game.Undo();
    EXPECT_TRUE(nextButton().IsVisible()); // undo leaves the button shown
    EXPECT_EQ(window().GetCardsRemaining(), 2);
    game.OnNextLevelClicked();
    EXPECT_EQ(window().OverlayKind(), 3);
    EXPECT_EQ(window().GetLevel(), -1);
}

TEST_F(Levels, FromLevelSeventeenOnlyAClearedTableWins) {
    for (int level = 2; level <= 17; ++level)
        game.StartLevel(true);
    ASSERT_EQ(window().GetLevel(), 17);
    EXPECT_EQ(game.TargetForLevel(), 48);
    FillPile(stack(35), 46);
    Put(22, {CardOf(1)});
    Put(23, {CardOf(12)});
    Drag(22, 23); // 48 on the pile, though cards remain on the table
    EXPECT_EQ(window().GetLevel(), 18);
    FillPile(stack(35), 47);
    RunOutOfTime();
    EXPECT_EQ(window().OverlayKind(), 3);
}

} // namespace
