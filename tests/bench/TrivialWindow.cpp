// The yardstick for the game's memory and start-up figures: a program that
// does nothing but show one window of the game's size, style and place,
// filled with the table's default green, and run a message loop. It is
// built with the same compiler, flags and static runtime as the game, so
// what the game uses beyond it is the game's own. Built a second time with
// TRIVIAL_WITH_COMMON_CONTROLS, it also initialises the common controls as
// the game's first step does, to show what that step alone costs.
#include <windows.h>

#ifdef TRIVIAL_WITH_COMMON_CONTROLS
#include <commctrl.h>
#endif

namespace {

constexpr int kWidth = 712, kHeight = 553; // the game's main window
constexpr COLORREF kGreen = RGB(0, 0x50, 0);

LRESULT CALLBACK WindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(wnd, &ps);
        HBRUSH green = CreateSolidBrush(kGreen);
        FillRect(dc, &ps.rcPaint, green);
        DeleteObject(green);
        EndPaint(wnd, &ps);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(wnd, msg, wp, lp);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
#ifdef TRIVIAL_WITH_COMMON_CONTROLS
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
#endif
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = "TrivialWindow";
    RegisterClassExA(&wc);
    const int x = GetSystemMetrics(SM_CXSCREEN) / 2 - 356;
    const int y = GetSystemMetrics(SM_CYSCREEN) / 2 - 274;
    HWND wnd = CreateWindowExA(0, wc.lpszClassName, "Trivial", WS_POPUP | WS_VISIBLE | WS_BORDER, x,
                               y, kWidth, kHeight, nullptr, nullptr, instance, nullptr);
    if (!wnd)
        return 1;
    ShowWindow(wnd, show);
    UpdateWindow(wnd);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
