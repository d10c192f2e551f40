// Entry point: start-up, the message loop and the end of the program.
#include "app/MainWindow.h"
#include "cardtable/core/GdiHandle.h"
#include "cardtable/core/Random.h"
#include "cardtable/core/SystemLibrary.h"
#include "game/Game.h"
#include "resources/resource.h"

#include <commctrl.h>

namespace {

// The common controls are not imported, since the loader would look for an
// imported library that is not one of Windows' known libraries in the
// program's folder first. Loaded by name, they come from the side-by-side
// assembly that the manifest asks for (version 6). They are never freed:
// the dialogs and the message box draw with them until the program ends.
void InitCommonControlsFromSystem() {
    const HMODULE controls = LoadSystemLibrary("comctl32.dll");
    using InitFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    if (auto init = LibraryProc<InitFn>(controls, "InitCommonControlsEx")) {
        INITCOMMONCONTROLSEX classes{sizeof classes, ICC_BAR_CLASSES};
        init(&classes);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    RestrictLibrarySearchToSystemFolder();
    InitCommonControlsFromSystem();
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
