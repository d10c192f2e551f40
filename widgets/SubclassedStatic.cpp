#include "widgets/SubclassedStatic.h"

namespace {
constexpr const char* kOwnerProperty = "KeltrimControl";
}

bool SubclassedStatic::Create(HWND parent, DWORD style, int x, int y, int w, int h,
                              StaticHandler& handler) {
    if (wnd_)
        return false;
    HWND wnd = CreateWindowExA(0, "STATIC", "", WS_CHILD | style, x, y, w, h, parent, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    if (!wnd)
        return false;
    wnd_ = wnd;
    handler_ = &handler;
    SetPropA(wnd, kOwnerProperty, this);
    staticProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc)));
    return true;
}

void SubclassedStatic::Destroy() {
    if (wnd_ && IsWindow(wnd_))
        DestroyWindow(wnd_);
    wnd_ = nullptr;
}

void SubclassedStatic::Place(int x, int y, int w, int h) const {
    if (wnd_)
        MoveWindow(wnd_, x, y, w, h, TRUE);
}

void SubclassedStatic::Repaint() const {
    if (!wnd_)
        return;
    InvalidateRect(wnd_, nullptr, FALSE);
    UpdateWindow(wnd_);
}

LRESULT CALLBACK SubclassedStatic::Proc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = static_cast<SubclassedStatic*>(GetPropA(wnd, kOwnerProperty));
    if (!self)
        return DefWindowProcA(wnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        // The window's last message: the static control frees what it made,
        // and the object is left without a window.
        const WNDPROC staticProc = self->staticProc_;
        RemovePropA(wnd, kOwnerProperty);
        SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(staticProc));
        self->wnd_ = nullptr;
        return CallWindowProcA(staticProc, wnd, msg, wp, lp);
    }
    LRESULT result = 0;
    if (self->handler_->OnMessage(msg, wp, lp, result))
        return result;
    return DefWindowProcA(wnd, msg, wp, lp);
}
