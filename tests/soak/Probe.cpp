// Linked into the soak's build of the game (keltrim_probed.exe) only. A
// thread hook set up before WinMain subclasses the main window as it is
// made; the subclass answers the registered message "KeltrimSoakProbe" by
// sending the caller (whose window comes in wParam) a WM_COPYDATA report:
// the game's state, the cards of every stack, the live handle counts per
// kind and the other windows of the game's thread. A sent message is
// dispatched by whatever loop the thread is in (main, overlay, menu, dialog,
// message box), so the report is taken where the game stands; while a
// glide runs the thread fetches nothing, and the caller waits.
#include "app/MainWindow.h"
#include "cardtable/core/CardSize.h"
#include "cardtable/core/GdiHandle.h"
#include "cardtable/core/TableButton.h"
#include "game/Game.h"

#include <commctrl.h>

#include <cstdio>
#include <string>

namespace {

constexpr UINT_PTR kSubclassId = 0x50524F42;
HHOOK creationHook = nullptr;

void Append(std::string& out, const char* format, auto... args) {
    char line[256];
    std::snprintf(line, sizeof line, format, args...);
    out += line;
}

void AppendRect(std::string& out, HWND wnd) {
    RECT r{};
    GetWindowRect(wnd, &r);
    Append(out, "%ld %ld %ld %ld", r.left, r.top, r.right, r.bottom);
}

void AppendStacks(std::string& out, const GameWindow& table) {
    for (int i = 0; i < table.StackCount(); ++i) {
        const CardStack& s = table.StackByIndex(i);
        Append(out, "stack %u %d %d %d %d %d %d %d", s.GetId(), s.IsVisible() ? 1 : 0,
               s.IsDragging() ? 1 : 0, s.CountWithLifted(), s.X(), s.Y(), s.Dx(), s.Dy());
        for (int k = 0; k < s.Count(); ++k)
            Append(out, " %u", s.GetCards().Slot(k).card);
        out += "\n";
    }
}

void AppendHandles(std::string& out) {
    out += "handles";
    for (int k = 0; k < static_cast<int>(HandleKind::Count); ++k)
        Append(out, " %d", LiveHandles(static_cast<HandleKind>(k)));
    out += "\n";
}

struct WindowList {
    HWND main;
    std::string* out;
};

BOOL CALLBACK AppendChild(HWND child, LPARAM lp) {
    auto& out = *reinterpret_cast<std::string*>(lp);
    char cls[64]{}, text[64]{};
    GetClassNameA(child, cls, sizeof cls);
    GetWindowTextA(child, text, sizeof text);
    if (std::string(cls) != "Button" || !IsWindowVisible(child))
        return TRUE;
    Append(out, "button %s|", text);
    AppendRect(out, child);
    out += "\n";
    return TRUE;
}

// Visible top-level windows of the thread other than the main window: the
// abort question, the Options dialog, the help viewer, an open popup menu.
BOOL CALLBACK AppendWindow(HWND wnd, LPARAM lp) {
    auto& list = *reinterpret_cast<WindowList*>(lp);
    if (wnd == list.main || !IsWindowVisible(wnd))
        return TRUE;
    char cls[64]{}, text[128]{};
    GetClassNameA(wnd, cls, sizeof cls);
    GetWindowTextA(wnd, text, sizeof text);
    // An open popup menu is named by its first item.
    if (std::string(cls) == "#32768")
        if (auto menu = reinterpret_cast<HMENU>(SendMessageA(wnd, MN_GETHMENU, 0, 0)))
            GetMenuStringA(menu, 0, text, sizeof text, MF_BYPOSITION);
    Append(*list.out, "window %s|%s|", cls, text);
    AppendRect(*list.out, wnd);
    *list.out += "\n";
    EnumChildWindows(wnd, AppendChild, reinterpret_cast<LPARAM>(list.out));
    return TRUE;
}

std::string Report(HWND main) {
    Game& game = TheGame();
    GameWindow& table = game.GetGameWindow();
    std::string out;
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    GetGUIThreadInfo(GetCurrentThreadId(), &gui);
    Append(out, "state ready=%d overlay=%d kind=%d phase=%d level=%d left=%u running=%d menu=%d\n",
           game.IsReady(), table.IsOverlayRunning() ? 1 : 0, table.OverlayKind(),
           table.OverlayPhase(), table.GetLevel(), table.GetTimerBar().GetSecondsLeft(),
           table.GetTimerBar().IsRunning() ? 1 : 0, (gui.flags & GUI_INMENUMODE) ? 1 : 0);
    if (const TableButton* next = table.FindButton(kNextLevelButton); next && next->IsVisible()) {
        POINT p{(next->Rect().left + next->Rect().right) / 2,
                (next->Rect().top + next->Rect().bottom) / 2};
        ClientToScreen(table.GetHandle(), &p);
        Append(out, "next %ld %ld\n", p.x, p.y);
    }
    POINT origin{0, 0};
    ClientToScreen(table.GetHandle(), &origin);
    Append(out, "table %ld %ld %d %d %d %d\n", origin.x, origin.y, table.ClientWidth(),
           table.ClientHeight(), cardWidth, cardHeight);
    AppendStacks(out, table);
    AppendHandles(out);
    WindowList list{main, &out};
    EnumThreadWindows(GetCurrentThreadId(), AppendWindow, reinterpret_cast<LPARAM>(&list));
    out += "end\n";
    return out;
}

LRESULT CALLBACK ProbeSubclass(HWND wnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
    static const UINT probeMessage = RegisterWindowMessageA("KeltrimSoakProbe");
    if (msg != probeMessage || msg == 0)
        return DefSubclassProc(wnd, msg, wp, lp);
    const std::string report = Report(wnd);
    COPYDATASTRUCT data{0x534F414B, static_cast<DWORD>(report.size()),
                        const_cast<char*>(report.data())};
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(reinterpret_cast<HWND>(wp), WM_COPYDATA, reinterpret_cast<WPARAM>(wnd),
                        reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 5000, &ignored);
    return 1;
}

LRESULT CALLBACK WatchCreation(int code, WPARAM wp, LPARAM lp) {
    if (code == HCBT_CREATEWND) {
        HWND wnd = reinterpret_cast<HWND>(wp);
        char cls[32]{};
        GetClassNameA(wnd, cls, sizeof cls);
        if (std::string(cls) == MainWindow::kClassName)
            SetWindowSubclass(wnd, ProbeSubclass, kSubclassId, 0);
    }
    return CallNextHookEx(creationHook, code, wp, lp);
}

// Set up during static initialisation, before WinMain makes any window.
const bool installed = [] {
    creationHook = SetWindowsHookExA(WH_CBT, WatchCreation, nullptr, GetCurrentThreadId());
    return creationHook != nullptr;
}();

} // namespace
