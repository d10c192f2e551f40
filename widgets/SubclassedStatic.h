// A child "STATIC" window whose messages go to the control object that owns
// it. The object picks the messages it handles; every other message gets
// the platform's default handling.
#pragma once

#include <windows.h>

class StaticHandler {
public:
    // Handles a message of the window; false leaves it to the default.
    virtual bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) = 0;

protected:
    ~StaticHandler() = default;
};

class SubclassedStatic {
public:
    SubclassedStatic() = default;
    SubclassedStatic(const SubclassedStatic&) = delete;
    SubclassedStatic& operator=(const SubclassedStatic&) = delete;
    ~SubclassedStatic() { Destroy(); }

    // Makes the window and routes its messages to `handler`; false when a
    // window exists already or cannot be made.
    bool Create(HWND parent, DWORD style, int x, int y, int w, int h, StaticHandler& handler);
    void Destroy();
    HWND Handle() const { return wnd_; }
    // Moves the window, repainting it.
    void Place(int x, int y, int w, int h) const;
    // Invalidates the whole window without erasing and paints it at once.
    void Repaint() const;

private:
    static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);

    HWND wnd_ = nullptr;
    WNDPROC staticProc_ = nullptr;
    StaticHandler* handler_ = nullptr;
};
