#include "widgets/ChildControl.h"

bool ChildControl::CreateStatic(HWND parent, DWORD style, int x, int y, int w, int h) {
    if (wnd_)
        return false;
    wnd_ = CreateWindowExA(0, "STATIC", "", WS_CHILD | style, x, y, w, h, parent, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
    return wnd_ != nullptr;
}

void ChildControl::Destroy() {
    if (wnd_ && IsWindow(wnd_))
        DestroyWindow(wnd_);
    wnd_ = nullptr;
}

void ChildControl::Place(int x, int y, int w, int h) const {
    if (wnd_)
        MoveWindow(wnd_, x, y, w, h, TRUE);
}
