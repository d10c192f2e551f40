#include "widgets/TimerBar.h"

bool TimerBar::Create(HWND parent, int x, int y, int w, int h, ExpiredFn onExpired) {
    onExpired_ = onExpired;
    return control_.CreateStatic(parent, WS_VISIBLE, x, y, w, h);
}

void TimerBar::Expire() {
    Stop();
    if (onExpired_)
        onExpired_(*this, timeLimit_);
}
