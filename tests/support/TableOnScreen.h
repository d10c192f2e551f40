// A card window shown in the tests' parent window, the mouse messages sent
// to it and the pixels read back from it.
#pragma once

#include "cardtable/core/CardWindow.h"
#include "support/TestWindow.h"

// Creates the table as a visible child filling w x h of the parent and lets
// it paint; false when the window cannot be created.
inline bool ShowTable(CardWindow& table, HWND parent, int w, int h) {
    if (!table.Create(parent, 0, WS_CHILD | WS_VISIBLE))
        return false;
    MoveWindow(table.GetHandle(), 0, 0, w, h, TRUE);
    PumpMessages();
    return true;
}

// Sends a left-button message at a client point, the button held for all
// but the release.
inline void SendMouse(HWND wnd, UINT msg, int x, int y) {
    SendMessageA(wnd, msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, y));
}

// What the window shows at a client point.
inline COLORREF ScreenPixel(HWND wnd, int x, int y) {
    WindowDc dc(wnd);
    return GetPixel(dc.get(), x, y);
}
