// A child "STATIC" window owned by a status control object.
#pragma once

#include <windows.h>

class ChildControl {
public:
    ChildControl() = default;
    ChildControl(const ChildControl&) = delete;
    ChildControl& operator=(const ChildControl&) = delete;
    ~ChildControl() { Destroy(); }

    bool CreateStatic(HWND parent, DWORD style, int x, int y, int w, int h);
    void Destroy();
    HWND Handle() const { return wnd_; }
    // Moves the control, repainting it.
    void Place(int x, int y, int w, int h) const;

private:
    HWND wnd_ = nullptr;
};
