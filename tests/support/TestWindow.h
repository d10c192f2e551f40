// A plain top-level window for tests to parent card windows to.
//
// Every TestWindow of a process is the same window, sized anew for each
// user: without a window manager, Wine waits two seconds for every visible
// top-level window that is hidden or destroyed, so it is never destroyed.
// The children a test leaves in it are destroyed when the test's TestWindow
// goes.
#pragma once

#include <windows.h>

class TestWindow {
public:
    explicit TestWindow(int w = 712, int h = 553) {
        static HWND shared = CreateWindowExA(0, "STATIC", "test", WS_POPUP | WS_VISIBLE, 0, 0, w, h,
                                             nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        wnd_ = shared;
        MoveWindow(wnd_, 0, 0, w, h, TRUE);
    }
    ~TestWindow() {
        while (HWND child = GetWindow(wnd_, GW_CHILD))
            DestroyWindow(child);
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
