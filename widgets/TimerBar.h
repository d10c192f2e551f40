// The narrow gauge at the right edge of the table that shows the level's
// time running down: a colour gradient (time left) that turns, from the top
// downwards, into a flat dark colour (time spent). It ticks every 50 ms
// against the millisecond counter, warns in the last seconds and, when the
// time is up, stops itself and calls its callback.
#pragma once

#include "cardtable/core/MemorySurface.h"
#include "widgets/SubclassedStatic.h"

#include <cstdint>

class TimerBar;
// Called with the bar and its time limit in seconds when the time is up.
using ExpiredFn = void (*)(TimerBar& bar, std::uint32_t timeLimit);

class TimerBar : private StaticHandler {
public:
    static constexpr UINT_PTR kTimerId = 10;
    static constexpr UINT kTickMs = 50;
    static constexpr int kWarningSound = 130;

    TimerBar() = default;
    TimerBar(const TimerBar&) = delete;
    TimerBar& operator=(const TimerBar&) = delete;
    // The window goes first: its last messages still reach a whole bar.
    ~TimerBar() { window_.Destroy(); }

    bool Create(HWND parent, int x, int y, int w, int h, ExpiredFn onExpired);
    void SetTimeLimit(std::uint32_t seconds) { timeLimit_ = seconds; }
    std::uint32_t GetTimeLimit() const { return timeLimit_; }
    void Start();
    void Stop();
    bool IsRunning() const { return startTick_ != 0; }
    // 0 while stopped; otherwise 1 .. the time limit.
    std::uint32_t GetSecondsLeft() const;
    // The row down to which the spent time is drawn (0 while stopped).
    std::uint32_t FillPos() const { return fillPos_; }

    // The full picture of the bar, as a paint request draws it.
    void Paint(HDC dc);

    HWND Handle() const { return window_.Handle(); }
    void Place(int x, int y, int w, int h) const { window_.Place(x, y, w, h); }
    void Destroy() { window_.Destroy(); }

private:
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    // One tick of the periodic timer.
    void Tick();
    void PaintSpent(HDC dc, int top, int bottom) const;
    void MakeGradient(HDC reference);
    void WarnIfDue();

    SubclassedStatic window_;
    int width_ = 0;
    int height_ = 0;
    ExpiredFn onExpired_ = nullptr;
    std::uint32_t startTick_ = 0;
    std::uint32_t fillPos_ = 0;
    std::uint32_t lastPos_ = 0;
    bool spentDrawn_ = false; // the last tick darkened its rows
    std::uint32_t timeLimit_ = 0;
    MemorySurface gradient_;
};

// The colour of row y of the gradient of a bar h pixels high, (r, g, b)
// reduced to their low 8 bits; rows 2 .. h - 2 carry the gradient.
COLORREF GradientRowColor(int h, int y);
