#include "app/MainWindow.h"

#include "app/Commands.h"
#include "app/Settings.h"
#include "cardtable/core/Seams.h"
#include "game/Game.h"
#include "resources/resource.h"

#include <windowsx.h>

HWND MainWindow::window_ = nullptr;
Game* MainWindow::game_ = nullptr;

bool MainWindow::InitInstance(HINSTANCE instance, int show, Game& game) {
    game_ = &game;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = MainWndProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_KELTRIM));
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszMenuName = MAKEINTRESOURCEA(IDM_MAIN);
    wc.lpszClassName = kClassName;
    wc.hIconSm = static_cast<HICON>(
        LoadImageA(instance, MAKEINTRESOURCEA(IDI_KELTRIM), IMAGE_ICON, 16, 16, LR_SHARED));
    RegisterClassExA(&wc);

    const int x = GetSystemMetrics(SM_CXSCREEN) / 2 - 356;
    const int y = GetSystemMetrics(SM_CYSCREEN) / 2 - 274;
    HWND wnd =
        CreateWindowExA(0, kClassName, "Vemo", WS_POPUP | WS_VISIBLE | WS_BORDER | WS_SYSMENU, x, y,
                        kWidth, kHeight, nullptr, nullptr, instance, nullptr);
    if (!wnd)
        return false;
    window_ = wnd;
    ShowWindow(wnd, show);
    UpdateWindow(wnd);
    return true;
}

LRESULT CALLBACK MainWindow::MainWndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE:
        return OnCreate(wnd);
    case WM_SIZE:
        if (HWND table = game_->GetGameWindow().GetHandle())
            MoveWindow(table, 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
        return 0;
    case WM_CLOSE:
        WriteSettings(*game_);
        DestroyWindow(wnd);
        return 0;
    case WM_DESTROY:
        window_ = nullptr;
        PostQuitMessage(0);
        return 0;
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lp);
        info->ptMinTrackSize = POINT{712, 592};
        info->ptMaxTrackSize = POINT{712, 592};
        return 0;
    }
    case WM_NCHITTEST:
        return OnHitTest(wnd, wp, lp);
    case WM_NCLBUTTONDBLCLK:
        // A click on a menu title soon after the one before (a menu chosen
        // from, then the bar clicked again) arrives as a double-click, which
        // Wine's default handling drops: it opens the menu as a click does.
        if (wp == HTMENU)
            return DefWindowProcA(wnd, WM_NCLBUTTONDOWN, wp, lp);
        return DefWindowProcA(wnd, msg, wp, lp);
    case WM_INITMENUPOPUP:
        if (!HIWORD(lp))
            PrepareMenuPopup(reinterpret_cast<HMENU>(wp), LOWORD(lp), *game_);
        return DefWindowProcA(wnd, msg, wp, lp);
    case WM_COMMAND:
        RunCommand(wnd, *game_, LOWORD(wp));
        return 0;
    default:
        return DefWindowProcA(wnd, msg, wp, lp);
    }
}

LRESULT MainWindow::OnCreate(HWND wnd) {
    Game& game = *game_;
    if (!game.CreateTable(wnd)) {
        seams::ShowMessageBox(nullptr, "Unable to initialize. Quitting...", nullptr, MB_OK);
        PostQuitMessage(0);
        return 0;
    }
    ReadSettings(game);
    PostMessageA(wnd, WM_COMMAND, IDC_NEW_GAME, 0);
    return 0;
}

// The empty part of the menu bar, right of the last menu title, moves the
// window like a caption would.
LRESULT MainWindow::OnHitTest(HWND wnd, WPARAM wp, LPARAM lp) {
    const LRESULT hit = DefWindowProcA(wnd, WM_NCHITTEST, wp, lp);
    if (hit != HTMENU)
        return hit;
    POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    ScreenToClient(wnd, &p);
    RECT bar{};
    GetMenuBarRect(wnd, GetMenu(wnd), &bar);
    return p.x > bar.right - bar.left ? HTCAPTION : hit;
}

int GetMenuBarRect(HWND wnd, HMENU menu, RECT* out) {
    SetRectEmpty(out);
    const int n = menu ? GetMenuItemCount(menu) : 0;
    for (int i = 0; i < n; ++i) {
        RECT item{};
        if (GetMenuItemRect(wnd, menu, i, &item))
            UnionRect(out, out, &item);
    }
    return 1;
}
