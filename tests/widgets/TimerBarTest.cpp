// The timer bar against the millisecond counter of the seams: when it
// expires, what it says is left, when it warns, and what it shows.
#include "widgets/TimerBar.h"

#include "cardtable/CardImagePixels.h"
#include "cardtable/core/CardImages.h"
#include "cardtable/core/CardSize.h"
#include "support/CardLists.h"
#include "support/FakeSeams.h"
#include "support/TableOnScreen.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

constexpr COLORREF kSpent = RGB(0, 64, 100);
constexpr COLORREF kOuter = RGB(165, 206, 222);
constexpr COLORREF kInner = RGB(33, 90, 123);
constexpr int kWidth = 14;

std::vector<std::uint32_t> expiries;
void RecordExpiry(TimerBar&, std::uint32_t limit) {
    expiries.push_back(limit);
}

class TimerBarTest : public testing::Test {
protected:
    void Make(int h, std::uint32_t limit) {
        expiries.clear();
        ASSERT_TRUE(bar.Create(parent.get(), 20, 10, kWidth, h, RecordExpiry));
        bar.SetTimeLimit(limit);
        height = h;
    }
    void StartAt(DWORD tick) {
        start = fake.tick = tick;
        bar.Start();
    }
    // The bar's 50 ms timer, as the window gets it.
    void TickAt(DWORD elapsedMs) {
        fake.tick = start + elapsedMs;
        SendMessageA(bar.Handle(), WM_TIMER, TimerBar::kTimerId, 0);
    }
    CardImagePixels Shown() {
        WindowDc dc(bar.Handle());
        return CardImagePixels(dc.get(), 0, 0, kWidth, height);
    }

    FakeSeams fake;
    TestWindow parent;
    TimerBar bar;
    DWORD start = 0;
    int height = 0;
};

// 458 pixels high and 160 seconds: the rows are scaled by h - 4 but compared
// with h - 3, so the bar expires at the first tick once 160 705 ms passed.
TEST_F(TimerBarTest, ExpiryAndSecondsLeft) {
    Make(458, 160);
    EXPECT_EQ(bar.GetSecondsLeft(), 0u); // never started
    StartAt(1000);
    const std::map<DWORD, std::uint32_t> left = {{0, 160},    {999, 160},    {1000, 159},
                                                 {159999, 1}, {160000, 160}, {160704, 160}};
    for (const auto& [elapsed, seconds] : left) {
        TickAt(elapsed);
        EXPECT_EQ(bar.GetSecondsLeft(), seconds) << elapsed << " ms";
    }
    EXPECT_TRUE(expiries.empty());
    TickAt(160705);
    EXPECT_FALSE(bar.IsRunning());
    EXPECT_EQ(bar.GetSecondsLeft(), 0u);
    EXPECT_EQ(expiries, std::vector<std::uint32_t>{160});
    TickAt(170000); // a tick queued before the stop changes nothing
    EXPECT_EQ(expiries.size(), 1u);

    StartAt(500000); // a bar stopped by the game never expires
    bar.Stop();
    TickAt(400000);
    EXPECT_EQ(expiries.size(), 1u);
}

// At 20 seconds left and in the last 10, at most once each: only a tick in
// the first 50 ms of a counter second plays the warning.
TEST_F(TimerBarTest, WarnsAtTwentyAndInTheLastTenSecondsOnceEach) {
    Make(458, 160);
    for (DWORD period : {50u, 53u}) {
        SCOPED_TRACE(period);
        StartAt(12345);
        fake.resourceSounds.clear();
        std::map<std::uint32_t, int> warnings; // seconds left -> sounds
        for (DWORD t = period; bar.IsRunning(); t += period) {
            fake.tick = start + t;
            const std::uint32_t secondsLeft = bar.GetSecondsLeft();
            const size_t before = fake.resourceSounds.size();
            TickAt(t);
            if (fake.resourceSounds.size() > before)
                warnings[secondsLeft] += 1;
        }
        for (int id : fake.resourceSounds)
            EXPECT_EQ(id, 130);
        for (const auto& [secondsLeft, n] : warnings) {
            EXPECT_TRUE(secondsLeft == 20 || secondsLeft <= 10) << secondsLeft;
            EXPECT_EQ(n, 1) << secondsLeft;
        }
        // A 50 ms timer meets every counter second; a drifting one misses some.
        if (period == 50)
            EXPECT_EQ(warnings.size(), 11u);
        else
            EXPECT_LT(warnings.size(), 11u);
    }
}

TEST_F(TimerBarTest, GradientFramesTickMarksAndTheSpentPart) {
    const std::map<int, COLORREF> rows = {{2, RGB(0, 148, 254)},    {101, RGB(25, 167, 205)},
                                          {200, RGB(50, 186, 155)}, {299, RGB(74, 205, 106)},
                                          {372, RGB(93, 180, 69)},  {398, RGB(145, 125, 43)}};
    for (const auto& [y, color] : rows)
        EXPECT_EQ(GradientRowColor(400, y), color) << "row " << y;

    Make(400, 100);
    UpdateWindow(bar.Handle()); // never started: dark inside its frames
    CardImagePixels p = Shown();
    ASSERT_TRUE(p.Valid());
    for (int y = 1; y <= 398; ++y) {
        ASSERT_EQ(p.At(0, y), kOuter) << y;
        // The marks sit on the inner frame every h / 40 = 10 rows from 11.
        const COLORREF side = y >= 11 && y % 10 == 1 ? kOuter : kInner;
        ASSERT_EQ(p.At(1, y), side) << y;
        ASSERT_EQ(p.At(kWidth - 2, y), side) << y;
        if (y >= 3 && y < 397) {
            ASSERT_EQ(p.At(7, y), kSpent) << y;
        }
    }
    for (int y : {0, 399})
        EXPECT_EQ(p.At(7, y), kOuter);
    for (int y : {1, 398})
        EXPECT_EQ(p.At(7, y), kInner);

    // Started, the inside shows the gradient; the spent part grows at a
    // tick only once the previous tick had reached row 3, the first time
    // from row 2 (even when that tick came late and skipped rows), later
    // from the previous row less one, down to the new row.
    StartAt(1000);
    TickAt(50); // still row 0: a full paint shows the gradient all the same
    InvalidateRect(bar.Handle(), nullptr, FALSE);
    UpdateWindow(bar.Handle());
    p = Shown();
    for (int y : {101, 200, 299, 372})
        for (int x = 3; x <= kWidth - 4; ++x)
            ASSERT_EQ(p.At(x, y), rows.at(y)) << x << ", " << y;
    TickAt(30000); // row 118 of 396 rows in 100 s
    TickAt(40000); // row 158
    p = Shown();
    EXPECT_EQ(p.At(5, 2), kSpent);
    EXPECT_EQ(p.At(5, 116), kSpent);
    EXPECT_EQ(p.At(5, 157), kSpent);
    EXPECT_EQ(p.At(5, 158), GradientRowColor(400, 158));
    const RECT whole{0, 0, kWidth, 400}; // a parent's paint over the bar
    FillRect(WindowDc(bar.Handle()).get(), &whole,
             static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    InvalidateRect(bar.Handle(), nullptr, FALSE); // a full paint: all dark above
    UpdateWindow(bar.Handle());
    p = Shown();
    EXPECT_EQ(p.At(5, 60), kSpent);
    EXPECT_EQ(p.At(5, 2), kSpent); // as the ticks drew them
    EXPECT_EQ(p.At(kWidth - 3, 60), kSpent);
    EXPECT_EQ(p.At(5, 161), GradientRowColor(400, 161));
}

// The first growth: row 3 is reached at the 800 ms tick (396 rows in 100 s),
// so the 850 ms tick darkens row 2 alone, and row 3 waits for row 4 (1050 ms).
TEST_F(TimerBarTest, TheFirstTickPastRowThreeDarkensRowTwo) {
    Make(400, 100);
    StartAt(5000);
    TickAt(800);
    TickAt(850);
    CardImagePixels p = Shown();
    EXPECT_EQ(p.At(5, 2), kSpent);
    EXPECT_EQ(p.At(5, 3), GradientRowColor(400, 3));
    TickAt(1000);
    EXPECT_EQ(Shown().At(5, 3), GradientRowColor(400, 3));
    TickAt(1050);
    p = Shown();
    EXPECT_EQ(p.At(5, 3), kSpent);
    EXPECT_EQ(p.At(5, 4), GradientRowColor(400, 4));
}

// A card held on the bar across the edge of its spent part, on the card
// window that carries the bar: the ticks leave the card's face alone, and
// once the card moves on, the rows spent beneath it show dark.
TEST_F(TimerBarTest, ACardRestingOnTheBarKeepsItsFaceAndItsSpentRows) {
    CardWindow table;
    ASSERT_TRUE(ShowTable(table, parent.get(), 300, 440));
    table.CreateStack(1, true, 10, 10, 0, 0)->SetCards(ListOf({8}));
    ASSERT_TRUE(bar.Create(table.GetHandle(), 200, 10, kWidth, 400, RecordExpiry));
    bar.SetTimeLimit(100);
    height = 400;
    table.Redraw();
    StartAt(1000);
    TickAt(1000);
    TickAt(20000); // spent down to row 79
    HWND wnd = table.GetHandle();
    SendMouse(wnd, WM_LBUTTONDOWN, 20, 20);
    SendMouse(wnd, WM_MOUSEMOVE, 200, 60); // the card on rows 40 to 135 of the bar
    TickAt(30000);
    TickAt(40000); // row 158
    const CardImagePixels card(WindowDc(wnd).get(), 190, 50, cardWidth, cardHeight);
    const CardImagePixels face(CardStripDc(), 8 * cardWidth, 0, cardWidth, cardHeight);
    int darkened = 0;
    for (int v = 2; v < cardHeight - 2; ++v)
        for (int u = 10; u < 10 + kWidth; ++u)
            darkened += card.At(u, v) != face.At(u, v);
    EXPECT_EQ(darkened, 0);
    SendMouse(wnd, WM_MOUSEMOVE, 60, 60);
    const CardImagePixels p = Shown();
    for (int y = 3; y < 158; ++y)
        ASSERT_EQ(p.At(5, y), kSpent) << y;
    SendMouse(wnd, WM_LBUTTONUP, 60, 60);
}

// Made 400 high and then shrunk to 300: the frames and marks follow the new
// size (marks every 300 / 40 = 7 rows from 8), the gradient keeps the rows
// of its first size (its last sixth darkens green from row 334, not 251).
TEST_F(TimerBarTest, ASizeChangeKeepsTheFirstGradient) {
    ASSERT_NE(GradientRowColor(400, 260), GradientRowColor(300, 260));
    Make(400, 100);
    StartAt(1000);
    MoveWindow(bar.Handle(), 20, 10, kWidth, 300, TRUE);
    height = 300;
    InvalidateRect(bar.Handle(), nullptr, FALSE);
    UpdateWindow(bar.Handle());
    CardImagePixels p = Shown();
    ASSERT_TRUE(p.Valid());
    EXPECT_EQ(p.At(7, 299), kOuter);
    EXPECT_EQ(p.At(7, 298), kInner);
    EXPECT_EQ(p.At(1, 8), kOuter);
    EXPECT_EQ(p.At(1, 11), kInner);
    EXPECT_EQ(p.At(kWidth - 2, 295), kOuter);
    EXPECT_EQ(p.At(7, 260), GradientRowColor(400, 260));
}

} // namespace
