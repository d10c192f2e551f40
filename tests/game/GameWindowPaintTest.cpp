// The game window on screen: where the status controls stand, which areas
// a redraw repaints, and that the window shows what painting the table into
// memory gives.
#include "cardtable/StackPaintPictures.h"

#include "cardtable/core/CardSize.h"
#include "cardtable/core/TableButton.h"
#include "game/Game.h"
#include "support/FakeSeams.h"
#include "support/OverlayPilot.h"
#include "support/TestWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

using namespace stack_paint;

constexpr int kClientWidth = 706, kClientHeight = 547;
constexpr COLORREF kStale = RGB(250, 0, 250);

class GameWindowPaint : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(game.CreateTable(parent.get()), 1);
        HWND wnd = window().GetHandle();
        RECT outer{}, client{};
        GetWindowRect(wnd, &outer);
        GetClientRect(wnd, &client);
        const int frameW = (outer.right - outer.left) - client.right;
        const int frameH = (outer.bottom - outer.top) - client.bottom;
        MoveWindow(wnd, 0, 0, kClientWidth + frameW, kClientHeight + frameH, TRUE);
        PumpMessages();
        gdiBefore_ = LiveGdiHandles();
    }
    // The overlay keeps its frozen picture of the table from one overlay to
    // the next; nothing else is left.
    void TearDown() override {
        const int kept = window().OverlayKind() != 0 ? 1 : 0;
        EXPECT_EQ(LiveGdiHandles(), gdiBefore_ + kept);
    }

    GameWindow& window() { return game.GetGameWindow(); }

    // A child control's rectangle in the game window's client coordinates.
    RECT ChildRect(HWND child) {
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, window().GetHandle(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    bool OnAControl(int x, int y) {
        for (HWND c : {window().GetTimerBar().Handle(), window().GetLinkLabel().Handle(),
                       window().LevelLabel().Handle(), window().CardsRemainingLabel().Handle()}) {
            const RECT r = ChildRect(c);
            if (x >= r.left && x < r.right && y >= r.top && y < r.bottom)
                return true;
        }
        return false;
    }

    CardImagePixels Shown() {
        WindowDc dc(window().GetHandle());
        return CardImagePixels(dc.get(), 0, 0, kClientWidth, kClientHeight);
    }
    Painted PaintedIntoMemory() {
        return PaintTwice(kClientWidth, kClientHeight, [&](HDC dc) { window().Paint(dc); });
    }
    // Compares the window with the paint into memory outside the controls;
    // the paint must leave no pixel alone. Answers how many pixels differ.
    int CompareWithMemory(const CardImagePixels& shown, const Painted& memory) {
        int wrong = 0;
        for (int y = 0; y < kClientHeight; ++y)
            for (int x = 0; x < kClientWidth; ++x) {
                if (OnAControl(x, y))
                    continue;
                const COLORREF a = memory.onA.At(x, y);
                const bool ok = a == memory.onB.At(x, y) && shown.At(x, y) == a;
                if (!ok && ++wrong <= 8)
                    ADD_FAILURE() << "pixel (" << x << ", " << y << ") shows " << std::hex
                                  << shown.At(x, y) << ", memory " << a << " / "
                                  << memory.onB.At(x, y) << std::dec;
            }
        return wrong;
    }

    FakeSeams fake;
    TestWindow parent;
    Game game;
    OverlayPilot pilot{game.GetGameWindow()};

private:
    int gdiBefore_ = 0;
};

TEST_F(GameWindowPaint, ControlsStandAtTheirPlacesForA706PixelTable) {
    EXPECT_EQ(window().ClientWidth(), kClientWidth);
    EXPECT_EQ(window().ClientHeight(), kClientHeight);
    const RECT remaining = ChildRect(window().CardsRemainingLabel().Handle());
    const RECT level = ChildRect(window().LevelLabel().Handle());
    const RECT timer = ChildRect(window().GetTimerBar().Handle());
    const RECT link = ChildRect(window().GetLinkLabel().Handle());
    // The bubbles at 428 and 593; the wide caption's label reaches out 40
    // pixels each side of its bubble.
    EXPECT_EQ(remaining.left, 428 - 40);
    EXPECT_EQ(remaining.right - remaining.left, 54 + 80);
    EXPECT_EQ(level.left, 593);
    EXPECT_EQ(timer.left, 671);
    EXPECT_EQ(level.right - level.left, 54);
    for (const RECT& label : {remaining, level}) {
        EXPECT_EQ(label.top, 10);
        EXPECT_EQ(label.bottom - label.top, 65);
    }
    EXPECT_EQ(timer.top, 10);
    EXPECT_EQ(timer.right - timer.left, 14);
    EXPECT_EQ(timer.bottom, 10 + kClientHeight - 64 - 8);
    const SIZE art = window().GetLinkLabel().GetArtworkSize();
    EXPECT_EQ(link.left, kClientWidth - art.cx - 25);
    EXPECT_EQ(link.top, kClientHeight - 46);
    EXPECT_EQ(link.right - link.left, art.cx);
    // The "next level" button lies just below the level label.
    const RECT next = window().FindButton(kNextLevelButton)->Rect();
    EXPECT_GE(next.top, level.bottom);
    EXPECT_LT(next.left, level.right);
    EXPECT_GT(next.right, level.left);
}

TEST_F(GameWindowPaint, WindowShowsWhatAPaintIntoMemoryGives) {
    game.StartLevel(false);
    InvalidateRect(window().GetHandle(), nullptr, FALSE);
    UpdateWindow(window().GetHandle());
    const CardImagePixels shown = Shown();
    ASSERT_TRUE(shown.Valid());
    EXPECT_EQ(CompareWithMemory(shown, PaintedIntoMemory()), 0);
}

// The glides of the deal put the cards on the window one by one, with no
// paint of the table pending afterwards; the table they leave behind is the
// one a full paint gives.
TEST_F(GameWindowPaint, DealLeavesTheTableAsAFullPaintWould) {
    game.StartLevel(false);
    EXPECT_FALSE(GetUpdateRect(window().GetHandle(), nullptr, FALSE));
    UpdateWindow(window().GetHandle());
    const CardImagePixels shown = Shown();
    ASSERT_TRUE(shown.Valid());
    EXPECT_EQ(CompareWithMemory(shown, PaintedIntoMemory()), 0);
}

// A redraw repaints the three card areas (the upper side stacks, the lower
// side stacks with the triangle, the removed-cards pile to the bottom-right
// corner) and nothing else: stale pixels outside them stay.
TEST_F(GameWindowPaint, RedrawRepaintsOnlyTheCardAreas) {
    game.StartLevel(false);
    UpdateWindow(window().GetHandle());
    {
        WindowDc dc(window().GetHandle());
        FillSolid(dc.get(), kClientWidth, kClientHeight, kStale);
    }
    window().Redraw();
    const CardImagePixels shown = Shown();
    ASSERT_TRUE(shown.Valid());
    const Painted memory = PaintedIntoMemory();

    const int W = cardWidth, H = cardHeight;
    const CardStack& slot28 = *window().FindStack(28);
    const CardStack& pile = *window().FindStack(kRemovedPile);
    const RECT areas[3] = {{0, 0, 5 * W, H},
                           {0, H, slot28.X() + W, slot28.Y() + H},
                           {pile.X(), pile.Y(), kClientWidth, kClientHeight}};
    int wrong = 0, repainted = 0, stale = 0;
    for (int y = 0; y < kClientHeight; ++y)
        for (int x = 0; x < kClientWidth; ++x) {
            if (OnAControl(x, y))
                continue;
            bool inArea = false;
            for (const RECT& r : areas)
                inArea = inArea || (x >= r.left && x < r.right && y >= r.top && y < r.bottom);
            const COLORREF a = memory.onA.At(x, y);
            const bool paintedByTable = a == memory.onB.At(x, y);
            const COLORREF want = inArea && paintedByTable ? a : kStale;
            (want == kStale ? stale : repainted) += 1;
            if (shown.At(x, y) != want && ++wrong <= 8)
                ADD_FAILURE() << "pixel (" << x << ", " << y << ") shows " << std::hex
                              << shown.At(x, y) << " instead of " << want << std::dec
                              << (inArea ? " inside" : " outside") << " the card areas";
        }
    EXPECT_EQ(wrong, 0);
    // Both kinds are there in numbers: the check is not empty either way.
    EXPECT_GT(repainted, 100000);
    EXPECT_GT(stale, 20000);
}

} // namespace
