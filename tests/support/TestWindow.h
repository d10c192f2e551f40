// A plain top-level window for tests to parent card windows to.
#pragma once

#include <windows.h>

class TestWindow {
public:
    explicit TestWindow(int w = 712, int h = 553) {
        wnd_ = CreateWindowExA(0, "STATIC", "test", WS_POPUP | WS_VISIBLE, 0, 0, w, h, nullptr,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    ~TestWindow() {
        if (wnd_)
            DestroyWindow(wnd_);
    }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    HWND get() const { return wnd_; }

private:
    HWND wnd_ = nullptr;
};

// Handles the messages waiting for this thread.
inline void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}
