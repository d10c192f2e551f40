// The bar at the right edge that shows the level's time running down.
// For now it keeps the time limit and whether it runs; the drawn, ticking
// bar comes with the status displays.
#pragma once

#include "widgets/ChildControl.h"

class TimerBar;
// Called with the bar and its time limit when the time is up.
using ExpiredFn = void (*)(TimerBar& bar, int timeLimit);

class TimerBar {
public:
    bool Create(HWND parent, int x, int y, int w, int h, ExpiredFn onExpired);
    void SetTimeLimit(int seconds) { timeLimit_ = seconds; }
    int GetTimeLimit() const { return timeLimit_; }
    void Start() { running_ = true; }
    void Stop() { running_ = false; }
    bool IsRunning() const { return running_; }
    // 0 while the bar is stopped.
    int GetSecondsLeft() const { return running_ ? timeLimit_ : 0; }
    // The time is up: the bar stops itself and calls its callback.
    void Expire();
    HWND Handle() const { return control_.Handle(); }
    void Place(int x, int y, int w, int h) const { control_.Place(x, y, w, h); }
    void Destroy() { control_.Destroy(); }

private:
    ChildControl control_;
    ExpiredFn onExpired_ = nullptr;
    int timeLimit_ = 0;
    bool running_ = false;
};
