#include "widgets/TimerBar.h"

#include "cardtable/core/CardWindow.h"
#include "cardtable/core/Seams.h"
#include "widgets/OverlayDrawing.h"

#include <algorithm>

#include <mmsystem.h>

namespace {

constexpr COLORREF kSpent = RGB(0, 64, 100);
constexpr COLORREF kOuterFrame = RGB(165, 206, 222);
constexpr COLORREF kInnerFrame = RGB(33, 90, 123);

// A closed 1-pixel outline through the four corners, starting at the top
// left and running down first.
void Outline(HDC dc, int left, int top, int right, int bottom, COLORREF color) {
    UniquePen pen(CreatePen(PS_SOLID, 1, color));
    SelectGuard selection(dc, pen.get());
    MoveToEx(dc, left, top, nullptr);
    LineTo(dc, left, bottom);
    LineTo(dc, right, bottom);
    LineTo(dc, right, top);
    LineTo(dc, left, top);
}

// The gradient's colour walk from one row to the next.
struct GradientWalk {
    int r = 0, g = 148, b = 255;

    void Step(int h, int y) {
        if (r < 93) {
            if (y % 2 == 0)
                --b;
            if (y % 4 == 0)
                ++r;
            if (y % 3 == 0)
                ++g;
        } else {
            r += 2;
            if (b > 5)
                --b;
            --g;
        }
        if (y % 7 == 0)
            --g;
        if (y > (5 * h) / 6)
            --g;
    }
    COLORREF Color() const { return RGB(r & 0xFF, g & 0xFF, b & 0xFF); }
};

} // namespace

COLORREF GradientRowColor(int h, int y) {
    GradientWalk walk;
    for (int row = 2; row <= y; ++row)
        walk.Step(h, row);
    return walk.Color();
}

bool TimerBar::Create(HWND parent, int x, int y, int w, int h, ExpiredFn onExpired) {
    if (window_.Handle() || !window_.Create(parent, WS_VISIBLE, x, y, w, h, *this))
        return false;
    width_ = w;
    height_ = h;
    onExpired_ = onExpired;
    return true;
}

bool TimerBar::OnMessage(UINT msg, WPARAM, LPARAM lp, LRESULT& result) {
    result = 0;
    switch (msg) {
    case WM_SIZE:
        width_ = LOWORD(lp);
        height_ = HIWORD(lp);
        return true;
    case WM_PAINT: {
        PaintDc paint(window_.Handle());
        CardWindow::ExcludeMovingCards(window_.Handle(), paint.get());
        Paint(paint.get());
        return true;
    }
    case WM_TIMER:
        // A tick already queued when the bar stopped is ignored, so that
        // one run calls onExpired at most once.
        if (startTick_ != 0)
            Tick();
        return true;
    default:
        return false;
    }
}

void TimerBar::Start() {
    const std::uint32_t now = seams::TickCount();
    startTick_ = now != 0 ? now : 1; // 0 would mean "stopped"
    if (HWND wnd = window_.Handle())
        SetTimer(wnd, kTimerId, kTickMs, nullptr);
    lastPos_ = 2;
    fillPos_ = 1;
    spentDrawn_ = false;
    window_.Repaint();
}

void TimerBar::Stop() {
    startTick_ = 0;
    if (HWND wnd = window_.Handle())
        KillTimer(wnd, kTimerId);
    fillPos_ = 0;
    window_.Repaint();
}

std::uint32_t TimerBar::GetSecondsLeft() const {
    if (startTick_ == 0 || timeLimit_ == 0)
        return 0;
    const std::uint32_t elapsed = seams::TickCount() - startTick_;
    return timeLimit_ - (elapsed / 1000) % timeLimit_;
}

void TimerBar::Tick() {
    if (startTick_ == 0 || timeLimit_ == 0)
        return;
    const std::uint32_t elapsed = seams::TickCount() - startTick_;
    const std::uint32_t rows = static_cast<std::uint32_t>(height_ - 4);
    // At least row 1 while running: a full paint takes row 0 for a stopped
    // bar, and the first ticks of a run would paint it all dark.
    fillPos_ = std::max<std::uint32_t>(elapsed * rows / (timeLimit_ * 1000), 1);
    // Once a tick has darkened its rows, those down to lastPos - 1 are dark:
    // a later tick that reaches no new row (most of them, a row lasting
    // several ticks) draws nothing. The first darkening starts at row 2, as
    // a full paint does, even when a late tick has skipped row 3.
    const bool grows = lastPos_ >= 3 && (fillPos_ != lastPos_ || !spentDrawn_);
    const int top = spentDrawn_ ? static_cast<int>(lastPos_) - 1 : 2;
    spentDrawn_ = lastPos_ >= 3;
    if (grows) {
        WindowDc dc(window_.Handle());
        CardWindow::ExcludeMovingCards(window_.Handle(), dc.get());
        if (dc)
            PaintSpent(dc.get(), top, static_cast<int>(fillPos_));
    }
    if (fillPos_ > static_cast<std::uint32_t>(height_ - 3)) {
        Stop();
        if (onExpired_)
            onExpired_(*this, timeLimit_);
    }
    lastPos_ = fillPos_; // 0 after the stop, 1 when the callback started a new run
    WarnIfDue();
}

void TimerBar::WarnIfDue() {
    const std::uint32_t left = GetSecondsLeft();
    if (left == 0 || (left != 20 && left > 10))
        return; // stopped (the time is up), or no warning due
    // One tick in twenty falls into the first 50 ms of a second: that one
    // plays, so each second is heard at most once.
    if (seams::TickCount() % 1000 < 50)
        seams::PlaySoundResource(kWarningSound, GetModuleHandleA(nullptr),
                                 SND_RESOURCE | SND_ASYNC);
}

// Columns 3 to w - 3, those the gradient shows: the ticks and a full paint
// darken the same pixels.
void TimerBar::PaintSpent(HDC dc, int top, int bottom) const {
    overlay::FillSolid(dc, 3, top, width_ - 2, bottom, kSpent);
}

void TimerBar::Paint(HDC dc) {
    const int w = width_, h = height_;
    // From row 2, which the first growing tick darkens.
    PaintSpent(dc, 2, fillPos_ != 0 ? static_cast<int>(fillPos_) : h - 3);
    if (!gradient_)
        MakeGradient(dc);
    if (fillPos_ != 0 && gradient_) {
        const int top = static_cast<int>(fillPos_) + 2;
        BitBlt(dc, 3, top, w - 3, h - 2, gradient_.dc(), 3, top, SRCCOPY);
    }
    Outline(dc, 0, 0, w - 1, h - 1, kOuterFrame);
    Outline(dc, 1, 1, w - 2, h - 2, kInnerFrame);
    const int step = h / 40;
    if (step <= 0)
        return;
    for (int y = step + 1; y < h; y += step) {
        SetPixel(dc, 1, y, kOuterFrame);
        SetPixel(dc, w - 2, y, kOuterFrame);
    }
}

// Made once, at the size of the first full paint, and kept.
void TimerBar::MakeGradient(HDC reference) {
    const int w = width_, h = height_;
    if (w <= 0 || h <= 0)
        return;
    gradient_ = MemorySurface(reference, w, h);
    if (!gradient_)
        return;
    HDC dc = gradient_.dc();
    overlay::FillSolid(dc, 0, 0, w, h, kSpent);
    GradientWalk walk;
    for (int y = 2; y <= h - 2; ++y) {
        walk.Step(h, y);
        const COLORREF color = walk.Color();
        for (int x = 3; x <= w - 4; ++x)
            SetPixel(dc, x, y, color);
    }
    // Column w - 3 shows in the copy of a full paint: it repeats the last
    // gradient column, so the gradient reaches the inner frame.
    if (w >= 7)
        BitBlt(dc, w - 3, 0, 1, h, dc, w - 4, 0, SRCCOPY);
}
