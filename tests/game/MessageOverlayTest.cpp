// The message overlay through the game window's own messages, on a 706 x 530
// client: the transitions' ticks, clicks, the Game Over pause, a quit, and
// commands that must do nothing while an overlay is up.
#include "support/GameTable.h"

#include <array>

namespace {

class MessageOverlay : public GameTable {
protected:
    void SetUp() override {
        GameTable::SetUp();
        HWND wnd = window().GetHandle();
        RECT outer{}, client{};
        GetWindowRect(wnd, &outer);
        GetClientRect(wnd, &client);
        MoveWindow(wnd, 0, 0, 706 + (outer.right - outer.left) - client.right,
                   530 + (outer.bottom - outer.top) - client.bottom, TRUE);
        PumpMessages();
        ASSERT_EQ(window().ClientWidth(), 706);
        ASSERT_EQ(window().ClientHeight(), 530);
    }
    void FillPile(int n) {
        CardList l;
        for (int i = 0; i < n; ++i)
            l.Push(CardEntry{static_cast<Card>(i), 1});
        stack(kRemovedPile).SetCards(l);
    }
    bool EndPosted() {
        MSG m;
        return PeekMessageA(&m, window().GetHandle(), GameWindow::kOverlayEnd,
                            GameWindow::kOverlayEnd, PM_NOREMOVE) != 0;
    }
};

// The wipe of a new game takes 48 ticks, the curtains between levels 18 and
// the Game Over columns 36; a click or double-click before the end of a
// transition does nothing, the first one after it ends the overlay (a quick
// second click arrives as a double-click).
TEST_F(MessageOverlay, TransitionsTakeTheirTicksAndIgnoreEarlyClicks) {
    struct Seen {
        int kind = 0, ticks = 0;
        bool earlyClickEnded = true, runningAfterIt = false, doubleClickEnded = false;
    };
    auto doubleClick = [](GameWindow& w) {
        SendMessageA(w.GetHandle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(300, 300));
    };
    auto play = [&](Seen& seen) {
        pilot.Next([&seen, doubleClick, this](GameWindow& w) {
            seen.kind = w.OverlayKind();
            for (int i = 0; i < 5; ++i)
                OverlayPilot::Tick(w);
            OverlayPilot::Click(w);
            doubleClick(w);
            seen.earlyClickEnded = EndPosted();
            seen.ticks = 5 + OverlayPilot::RunTransition(w);
            doubleClick(w); // ends Game Over too
            seen.doubleClickEnded = EndPosted();
            seen.runningAfterIt = w.IsOverlayRunning();
        });
    };
    Seen opening, between, over;
    play(opening);
    game.StartLevel(false);
    play(between);
    game.StartLevel(true);
    FillPile(10);
    play(over);
    RunOutOfTime();
    for (const Seen* s : {&opening, &between, &over}) {
        EXPECT_FALSE(s->earlyClickEnded) << s->kind;
        EXPECT_TRUE(s->doubleClickEnded) << s->kind;
        EXPECT_TRUE(s->runningAfterIt) << s->kind; // ended by its loop, afterwards
    }
    EXPECT_EQ(opening.kind, 1);
    EXPECT_EQ(opening.ticks, 48);
    EXPECT_EQ(between.kind, 2);
    EXPECT_EQ(between.ticks, 18);
    EXPECT_EQ(over.kind, 3);
    EXPECT_EQ(over.ticks, 36);
    EXPECT_FALSE(window().IsOverlayRunning());
    EXPECT_EQ(window().OverlayKind(), 3);
}

// Game Over ends by itself on the first tick after its columns, which the
// overlay sets to 600 ms; "click to continue..." is never drawn in it.
TEST_F(MessageOverlay, GameOverEndsItself600MsAfterItsColumns) {
    DWORD columnsDone = 0;
    pilot.autoDismiss = false;
    pilot.Next([&](GameWindow& w) {
        OverlayPilot::RunTransition(w);
        columnsDone = GetTickCount();
    });
    FillPile(0);
    RunOutOfTime();
    const DWORD pause = GetTickCount() - columnsDone;
    EXPECT_FALSE(window().IsOverlayRunning());
    EXPECT_EQ(window().OverlayKind(), 3);
    EXPECT_GE(pause, 550u);
    EXPECT_EQ(window().GetLevel(), -1);
    // The look a repaint gives: no trace of the hidden timer bar (an odd
    // pixel of the chequer shows the table).
    EXPECT_EQ(GetPixel(WindowDc(window().GetHandle()).get(), 676, 101),
              window().GetBackgroundColor());
}

// A quit during an overlay ends it, puts the table's own procedure back and
// is posted again for the main loop; nothing is dealt afterwards.
TEST_F(MessageOverlay, QuitDuringAnOverlayEndsItAndDealsNothing) {
    HWND wnd = window().GetHandle();
    const LONG_PTR tableProc = GetWindowLongPtrA(wnd, GWLP_WNDPROC);
    pilot.Next([](GameWindow&) { PostQuitMessage(0); });
    fake.pauses = 0;
    EXPECT_EQ(game.StartLevel(false), 0);
    EXPECT_FALSE(window().IsOverlayRunning());
    EXPECT_EQ(GetWindowLongPtrA(wnd, GWLP_WNDPROC), tableProc);
    EXPECT_EQ(fake.pauses, 0); // no glide
    for (std::uint32_t id = 1; id <= 35; ++id)
        EXPECT_EQ(stack(id).Count(), 0) << id;
    EXPECT_FALSE(window().GetTimerBar().IsRunning());
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 0u);
    EXPECT_FALSE(EndPosted()); // nothing left to end the next overlay early
}

// While an overlay is up, a new game and an undo (what F2 and Ctrl+Z ask
// for) do nothing: no overlay runs inside another, no card moves.
TEST_F(MessageOverlay, NewGameAndUndoDoNothingWhileAnOverlayRuns) {
    FillPile(14);
    Put(22, {CardOf(1)});
    Put(23, {CardOf(12)});
    Drag(22, 23);
    ASSERT_EQ(game.CanUndo(), 1);
    ASSERT_EQ(stack(kRemovedPile).Count(), 16);
    pilot.kinds.clear();
    int refused = -1, pileDuringUndo = 0;
    auto tryCommands = [&](GameWindow& w) {
        for (int i = 0; i < 3; ++i)
            OverlayPilot::Tick(w);
        refused = game.StartLevel(false);
        game.Undo();
        pileDuringUndo = stack(kRemovedPile).Count();
        SendMessageA(w.GetHandle(), WM_KEYDOWN, VK_F2, 0);
        OverlayPilot::Dismiss(w);
    };
    pilot.Next(tryCommands); // between two levels: the record is the last level's
    game.OnNextLevelClicked();
    EXPECT_EQ(refused, 0);
    EXPECT_EQ(pileDuringUndo, 16);
    EXPECT_EQ(window().GetLevel(), 2);

    FillPile(0); // Game Over, still in its columns
    pilot.Next(tryCommands);
    RunOutOfTime();
    EXPECT_EQ(refused, 0);
    EXPECT_EQ(pilot.kinds, (std::vector<int>{2, 3}));
    EXPECT_EQ(window().OverlayKind(), 3);
    EXPECT_EQ(window().GetLevel(), -1);
}

// A new colour lays the link label out for its artwork at once: after a
// black table (no artwork at all), and while an overlay has the window.
TEST_F(MessageOverlay, ANewColourLaysTheLinkLabelOutAtOnce) {
    using Place = std::array<long, 4>; // left, top, width, height
    auto linkPlace = [this] {
        RECT r{};
        GetWindowRect(window().GetLinkLabel().Handle(), &r);
        MapWindowPoints(nullptr, window().GetHandle(), reinterpret_cast<POINT*>(&r), 2);
        return Place{r.left, r.top, r.right - r.left, r.bottom - r.top};
    };
    window().SetBackgroundColor(RGB(0, 0, 0));
    EXPECT_EQ(linkPlace()[2], 0);
    window().SetBackgroundColor(RGB(0, 64, 100)); // the name plate
    EXPECT_EQ(linkPlace(), (Place{706 - 220 - 25, 530 - 46, 220, 25}));
    pilot.Next([](GameWindow& w) {
        OverlayPilot::Tick(w);
        w.SetBackgroundColor(RGB(255, 191, 155)); // the web address
        OverlayPilot::Dismiss(w);
    });
    game.StartLevel(true);
    EXPECT_EQ(linkPlace(), (Place{706 - 266 - 25, 530 - 46, 266, 30}));
}

// The overlay's frozen table is the table as painted: a part of the window
// whose repaint is still pending (where a closed message box stood) is
// painted before the copy, not copied with the stale pixels it shows.
TEST_F(MessageOverlay, FrozenTableHasNoPendingHoles) {
    HWND wnd = window().GetHandle();
    UpdateWindow(wnd);
    const RECT hole{345, 20, 420, 120}; // table background between the labels
    {
        WindowDc dc(wnd);
        UniqueBrush stale(CreateSolidBrush(RGB(255, 0, 255)));
        FillRect(dc.get(), &hole, stale.get());
    }
    InvalidateRect(wnd, &hole, FALSE);
    COLORREF frozen = CLR_INVALID;
    pilot.Next([&](GameWindow& w) {
        WindowDc screen(w.GetHandle());
        UniqueDc memory(CreateCompatibleDC(screen.get()));
        UniqueBitmap picture(CreateCompatibleBitmap(screen.get(), 706, 530));
        SelectGuard selection(memory.get(), picture.get());
        w.PaintOverlay(memory.get()); // the transition's first frame: the frozen table
        frozen = GetPixel(memory.get(), 380, 70);
        OverlayPilot::Dismiss(w);
    });
    game.StartLevel(true);
    EXPECT_EQ(frozen, window().GetBackgroundColor());
}

} // namespace
