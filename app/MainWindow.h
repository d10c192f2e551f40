// The main window (class "Vemo"): a captionless frame whose client area is
// the game's table, with the menu.
#pragma once

#include <windows.h>

class Game;

class MainWindow {
public:
    static constexpr const char* kClassName = "Vemo";
    static constexpr int kWidth = 712;
    static constexpr int kHeight = 553;

    // Registers the class and creates and shows the window for a game (the
    // program's one game; tests pass their own).
    static bool InitInstance(HINSTANCE instance, int show, Game& game);
    static HWND Handle() { return window_; }
    static LRESULT CALLBACK MainWndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);

private:
    static LRESULT OnCreate(HWND wnd);
    static LRESULT OnHitTest(HWND wnd, WPARAM wp, LPARAM lp);

    static HWND window_;
    static Game* game_;
};

// The union of the menu bar's item rectangles, in screen coordinates.
int GetMenuBarRect(HWND wnd, HMENU menu, RECT* out);
