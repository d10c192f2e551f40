// The timer bar against the millisecond counter of the seams: when it
// expires, what it says is left, when it warns, and what it shows.
#include "widgets/TimerBar.h"

#include "cardtable/CardImagePixels.h"
#include "support/FakeSeams.h"
#include "support/TestWindow.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

constexpr COLORREF kSpent = RGB(0, 64, 100);
constexpr COLORREF kOuter = RGB(165, 206, 222);
constexpr COLORREF kInner = RGB(33, 90, 123);
constexpr int kWidth = 14;

std::vector<std::uint32_t> expiries;
TimerBar* restartOnExpiry = nullptr;
void RecordExpiry(TimerBar& bar, std::uint32_t limit) {
    expiries.push_back(limit);
    if (restartOnExpiry == &bar)
        bar.Start();
}

class TimerBarTest : public testing::Test {
protected:
    void SetUp() override { expiries.clear(); }
    void TearDown() override { restartOnExpiry = nullptr; }

    void Make(int h, std::uint32_t limit) {
        ASSERT_TRUE(bar.Create(parent.get(), 20, 10, kWidth, h, RecordExpiry));
        bar.SetTimeLimit(limit);
        height = h;
    }
    // The bar's 50 ms timer, as the window gets it.
    void TickAt(DWORD elapsedMs) {
        fake.tick = start + elapsedMs;
        SendMessageA(bar.Handle(), WM_TIMER, TimerBar::kTimerId, 0);
    }
    void StartAt(DWORD tick) {
        start = fake.tick = tick;
        bar.Start();
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
TEST_F(TimerBarTest, ExpiresOnceAtTheFirstTickAfter160705Ms) {
    Make(458, 160);
    EXPECT_FALSE(bar.Create(parent.get(), 0, 0, 10, 10, RecordExpiry)); // one window only
    StartAt(1000);
    TickAt(352);
    EXPECT_EQ(bar.FillPos(), 0u); // a row about every 352 ms
    TickAt(353);
    EXPECT_EQ(bar.FillPos(), 1u);
    TickAt(160704);
    EXPECT_TRUE(bar.IsRunning());
    EXPECT_TRUE(expiries.empty());
    TickAt(160705);
    EXPECT_FALSE(bar.IsRunning());
    EXPECT_EQ(expiries, std::vector<std::uint32_t>{160});
    // A tick that was queued before the stop changes nothing.
    TickAt(170000);
    EXPECT_EQ(expiries.size(), 1u);
    EXPECT_EQ(bar.FillPos(), 0u);

    // A bar stopped by the game never expires.
    StartAt(500000);
    bar.Stop();
    TickAt(400000);
    EXPECT_EQ(expiries.size(), 1u);

    // The callback may start the next run at once.
    restartOnExpiry = &bar;
    StartAt(900000);
    TickAt(200000);
    EXPECT_EQ(expiries.size(), 2u);
    EXPECT_TRUE(bar.IsRunning());
    EXPECT_EQ(bar.GetSecondsLeft(), 160u);
}

TEST_F(TimerBarTest, SecondsLeftAtEachStage) {
    Make(458, 160);
    EXPECT_EQ(bar.GetSecondsLeft(), 0u); // never started
    StartAt(5000);
    const std::map<DWORD, std::uint32_t> expected = {{0, 160},    {999, 160},    {1000, 159},
                                                     {159999, 1}, {160000, 160}, {160704, 160}};
    for (const auto& [elapsed, left] : expected) {
        fake.tick = start + elapsed;
        EXPECT_EQ(bar.GetSecondsLeft(), left) << elapsed << " ms";
    }
    TickAt(160705);
    EXPECT_EQ(bar.GetSecondsLeft(), 0u); // expired
    StartAt(0xFFFFF000u);                // the counter wraps during the run
    fake.tick = start + 10500;
    EXPECT_EQ(bar.GetSecondsLeft(), 150u);
}

// The warning sounds at 20 seconds left and for each of the last 10, at most
// once each: only a tick in the first 50 ms of a counter second plays it.
TEST_F(TimerBarTest, WarnsAtTwentyAndInTheLastTenSecondsOnceEach) {
    Make(458, 160);
    for (DWORD period : {50u, 53u}) {
        SCOPED_TRACE(period);
        StartAt(12345);
        fake.resourceSounds.clear();
        std::map<std::uint32_t, int> warnings; // seconds left -> sounds
        for (DWORD t = period; bar.IsRunning(); t += period) {
            fake.tick = start + t;
            const std::uint32_t left = bar.GetSecondsLeft();
            const size_t before = fake.resourceSounds.size();
            TickAt(t);
            if (fake.resourceSounds.size() > before)
                warnings[left] += 1;
        }
        for (int id : fake.resourceSounds)
            EXPECT_EQ(id, 130);
        for (const auto& [left, n] : warnings) {
            EXPECT_TRUE(left == 20 || left <= 10) << left;
            EXPECT_EQ(n, 1) << left;
        }
        if (period == 50) // a 50 ms timer meets every counter second once
            EXPECT_EQ(warnings.size(), 11u);
        else // a drifting one lets some of them pass silently
            EXPECT_LT(warnings.size(), 11u);
    }
}

TEST_F(TimerBarTest, GradientRowsOfA400PixelBar) {
    const std::map<int, COLORREF> rows = {{2, RGB(0, 148, 254)},    {101, RGB(25, 167, 205)},
                                          {200, RGB(50, 186, 155)}, {299, RGB(74, 205, 106)},
                                          {372, RGB(93, 180, 69)},  {398, RGB(145, 125, 43)}};
    for (const auto& [y, color] : rows)
        EXPECT_EQ(GradientRowColor(400, y), color) << "row " << y;

    // On screen, right after the start, the inside shows the gradient.
    Make(400, 160);
    StartAt(1000);
    const CardImagePixels shown = Shown();
    ASSERT_TRUE(shown.Valid());
    for (int y : {101, 200, 299, 372})
        for (int x = 3; x <= kWidth - 4; ++x)
            ASSERT_EQ(shown.At(x, y), rows.at(y)) << x << ", " << y;
}

TEST_F(TimerBarTest, FramesTickMarksAndTheSpentPart) {
    Make(400, 100);
    UpdateWindow(bar.Handle());
    CardImagePixels p = Shown();
    ASSERT_TRUE(p.Valid());
    for (int y = 0; y < 400; ++y) {
        ASSERT_EQ(p.At(0, y), kOuter) << y;
        ASSERT_EQ(p.At(kWidth - 1, y), kOuter) << y;
        // The marks sit on the inner frame every h / 40 = 10 rows from 11.
        const bool mark = y >= 11 && y % 10 == 1;
        const COLORREF side = mark ? kOuter : kInner;
        if (y >= 1 && y <= 398) {
            ASSERT_EQ(p.At(1, y), side) << y;
            ASSERT_EQ(p.At(kWidth - 2, y), side) << y;
        }
        if (y >= 3 && y < 397) { // never started: dark inside
            for (int x = 3; x < kWidth - 3; ++x)
                ASSERT_EQ(p.At(x, y), kSpent) << x << ", " << y;
        }
    }
    for (int x = 1; x < kWidth - 1; ++x) {
        EXPECT_EQ(p.At(x, 0), kOuter);
        EXPECT_EQ(p.At(x, 399), kOuter);
        EXPECT_EQ(p.At(x, 1), kInner);
        EXPECT_EQ(p.At(x, 398), kInner);
    }

    // The spent part grows at a tick only once the previous tick had
    // reached row 3: from that row less one down to the new row.
    StartAt(1000);
    TickAt(30000); // row 118 (396 rows in 100 s)
    p = Shown();
    EXPECT_EQ(p.At(5, 60), GradientRowColor(400, 60));
    TickAt(40000); // row 158
    p = Shown();
    EXPECT_EQ(p.At(5, 116), GradientRowColor(400, 116));
    EXPECT_EQ(p.At(5, 117), kSpent);
    EXPECT_EQ(p.At(5, 157), kSpent);
    EXPECT_EQ(p.At(5, 158), GradientRowColor(400, 158));
    // A full paint shows everything above the fill row dark.
    InvalidateRect(bar.Handle(), nullptr, FALSE);
    UpdateWindow(bar.Handle());
    p = Shown();
    EXPECT_EQ(p.At(5, 60), kSpent);
    EXPECT_EQ(p.At(5, 161), GradientRowColor(400, 161));
}

} // namespace
