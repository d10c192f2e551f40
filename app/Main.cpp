// Entry point: start-up, the message loop and the end of the program.
#include "app/MainWindow.h"
#include "cardtable/core/Random.h"
#include "game/Game.h"
#include "resources/resource.h"

#include <commctrl.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    SeedRandom(GetTickCount());
    HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDA_MAIN));
    // The game and its table window exist before the main window.
    if (!MainWindow::InitInstance(instance, show, TheGame()))
        return 0;
    MSG msg;
    const GameWindow& table = TheGame().GetGameWindow();
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (!TranslateAcceleratorA(MainWindow::Handle(), accelerators, &msg)) {
            table.TakeKey(msg); // the table plays from the keyboard
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return static_cast<int>(msg.wParam);
}
