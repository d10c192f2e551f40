// A whole game on screen through real window messages: the opening
// explanation, a level against the clock, "Well Done!!!", the next level and
// "Game Over", with what each of them shows.
#include "support/GameTable.h"
#include "support/InkBox.h"

namespace {

class GameCourse : public GameTable {
protected:
    CardImagePixels Shown() {
        WindowDc dc(window().GetHandle());
        return CardImagePixels(dc.get(), 0, 0, window().ClientWidth(), window().ClientHeight());
    }
    static int Count(const CardImagePixels& p, COLORREF color, RECT area) {
        return FindInk(
                   p, [color](COLORREF c, int, int) { return c == color; }, area)
            .count;
    }
    bool Visible(HWND control) { return IsWindowVisible(control) != FALSE; }
    void Press(int x, int y) {
        SendMessageA(window().GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        SendMessageA(window().GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    }
};

TEST_F(GameCourse, AGameRunsFromTheOpeningToGameOver) {
    const int w = window().ClientWidth(), h = window().ClientHeight();

    // The opening waits for a click after its wipe and shows the rules.
    bool earlyClickIgnored = false;
    int rulesBlue = 0;
    COLORREF topBand = 0, body = 0;
    pilot.Next([&](GameWindow& gw) {
        OverlayPilot::Tick(gw);
        OverlayPilot::Click(gw);
        OverlayPilot::RunTransition(gw);
        earlyClickIgnored = gw.IsOverlayRunning();
        UpdateWindow(gw.GetHandle());
        const CardImagePixels p = Shown();
        topBand = p.At(3, 3);
        body = p.At(3, h - 3);
        rulesBlue = Count(p, RGB(27, 130, 246), RECT{0, h / 6, w, h / 2});
        OverlayPilot::Click(gw);
    });
    fake.boxAnswer = IDYES;
    game.StartLevel(false);
    EXPECT_TRUE(earlyClickIgnored);
    EXPECT_EQ(topBand, RGB(255, 255, 255));
    EXPECT_EQ(body, RGB(0, 0, 0));
    EXPECT_GT(rulesBlue, 100);

    // The deal follows and the clock runs; the status controls are back.
    EXPECT_EQ(stack(29).Count(), 4);
    EXPECT_EQ(stack(28).Count(), 1);
    EXPECT_EQ(window().GetTimerBar().GetSecondsLeft(), 160u);
    for (HWND c : {window().GetTimerBar().Handle(), window().LevelLabel().Handle(),
                   window().CardsRemainingLabel().Handle(), window().GetLinkLabel().Handle()})
        EXPECT_TRUE(Visible(c));

    // The target reached shows the button; pressing it shows "Well Done!!!"
    // with the new level's numbers, read from the labels.
    CardList fourteen;
    for (int i = 0; i < 14; ++i)
        fourteen.Push(CardEntry{static_cast<Card>(i), 1});
    stack(kRemovedPile).SetCards(fourteen);
    Put(22, {CardOf(5)});
    Put(23, {CardOf(8)});
    Drag(22, 23);
    ASSERT_TRUE(nextButton().IsVisible());
    int levelShown = 0, targetShown = 0, yellow = 0, titleBlue = 0;
    pilot.Next([&](GameWindow& gw) {
        levelShown = gw.GetLevel();
        targetShown = gw.GetCardsRemaining();
        OverlayPilot::RunTransition(gw);
        UpdateWindow(gw.GetHandle());
        const CardImagePixels p = Shown();
        yellow = Count(p, RGB(255, 255, 0), RECT{0, h / 8, w, h});
        titleBlue = Count(p, RGB(0, 64, 100), RECT{0, h / 8, w, h / 8 + 70});
        OverlayPilot::Click(gw);
    });
    const RECT button = nextButton().Rect();
    Press(button.left + 10, button.top + 10);
    EXPECT_EQ(levelShown, 2);
    EXPECT_EQ(targetShown, 18);
    EXPECT_GT(yellow, 200);    // "get ready for level 2", "remove 18 cards ..."
    EXPECT_GT(titleBlue, 200); // "Well Done!!!"
    EXPECT_EQ(window().GetLevel(), 2);
    EXPECT_EQ(window().GetTimerBar().GetSecondsLeft(), 150u);
    EXPECT_FALSE(nextButton().IsVisible());

    // Running out of time below the target: Game Over.
    RunOutOfTime();
    EXPECT_EQ(window().OverlayKind(), 3);
    EXPECT_EQ(window().GetLevel(), -1);
    EXPECT_EQ(window().GetCardsRemaining(), -1);
    EXPECT_FALSE(Visible(window().GetTimerBar().Handle()));
    EXPECT_FALSE(Visible(window().LevelLabel().Handle()));
    EXPECT_FALSE(Visible(window().CardsRemainingLabel().Handle()));
    EXPECT_TRUE(Visible(window().GetLinkLabel().Handle()));

    // Every repaint keeps the Game Over look: the chequer over the table and
    // the title in black.
    InvalidateRect(window().GetHandle(), nullptr, FALSE);
    UpdateWindow(window().GetHandle());
    const CardImagePixels p = Shown();
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    int chequered = 0;
    for (int y = 300; y < 310; ++y)
        for (int x = 10; x < 30; ++x)
            chequered += ((x + y) % 2 == 0) == (p.At(x, y) == highlight);
    EXPECT_EQ(chequered, 200);
    EXPECT_GT(Count(p, RGB(0, 0, 0), RECT{0, h / 8, w, h / 8 + 70}), 200);

    // The table is deaf until a new game.
    const int before = stack(28).Count();
    Put(27, {CardOf(12 - RankOf(top(28)))});
    Drag(28, 27);
    EXPECT_EQ(stack(28).Count(), before);
    game.StartLevel(false);
    EXPECT_EQ(window().OverlayKind(), 1);
    EXPECT_TRUE(window().IsInputEnabled());
    EXPECT_EQ(window().GetLevel(), 1);
}

} // namespace
