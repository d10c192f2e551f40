#include "cardtable/core/GdiHandle.h"

#include <atomic>

namespace {
std::atomic<int> live[static_cast<int>(HandleKind::Count)];
}

namespace handle_detail {
void Count(HandleKind kind, int delta) {
    live[static_cast<int>(kind)] += delta;
}
} // namespace handle_detail

int LiveHandles(HandleKind kind) {
    return live[static_cast<int>(kind)];
}

int LiveGdiHandles() {
    int sum = 0;
    for (HandleKind k : {HandleKind::Dc, HandleKind::Bitmap, HandleKind::Brush, HandleKind::Pen,
                         HandleKind::Font, HandleKind::Region, HandleKind::Palette})
        sum += LiveHandles(k);
    return sum;
}

PaletteGuard::PaletteGuard(HDC dc, HPALETTE pal, bool realize) : dc_(dc) {
    if (dc_ && pal) {
        old_ = SelectPalette(dc_, pal, FALSE);
        if (realize)
            RealizePalette(dc_);
    }
}

void PaletteGuard::restore() {
    if (dc_ && old_)
        SelectPalette(dc_, old_, FALSE);
    dc_ = nullptr;
    old_ = nullptr;
}

bool ProbeLock(HANDLE mutex) {
    if (!mutex)
        return true;
    const DWORD r = WaitForSingleObject(mutex, 0);
    if (r != WAIT_OBJECT_0 && r != WAIT_ABANDONED)
        return false;
    ReleaseMutex(mutex);
    return true;
}

WindowDc::WindowDc(HWND wnd) : wnd_(wnd), dc_(GetDC(wnd)) {
    if (dc_)
        handle_detail::Count(HandleKind::Dc, +1);
}

WindowDc::~WindowDc() {
    if (dc_) {
        ReleaseDC(wnd_, dc_);
        handle_detail::Count(HandleKind::Dc, -1);
    }
}

PaintDc::PaintDc(HWND wnd) : wnd_(wnd) {
    BeginPaint(wnd_, &ps_);
    if (ps_.hdc)
        handle_detail::Count(HandleKind::Dc, +1);
}

PaintDc::~PaintDc() {
    if (ps_.hdc)
        handle_detail::Count(HandleKind::Dc, -1);
    EndPaint(wnd_, &ps_);
}
