// Linked into the soak's build of the game (keltrim_probed.exe) only. A
// thread hook set up before WinMain subclasses the main window as it is
// made; the subclass answers the registered message "KeltrimSoakProbe" by
// sending the caller (whose window comes in wParam) a WM_COPYDATA report:
// the game's state, the cards of every stack, the live handle counts per
// kind, the table's controls and the other windows of the game's thread.
// lParam asks for more before the report (see Request): paint what waits
// to be painted; lay the table out again and repaint every window of it,
// naming each control the new layout moved; run the game's clock at
// another speed (through the tick-count seam); or paint a wrong block onto
// the table behind the game's back, which the repaint oracle must see. A sent message is
// dispatched by whatever loop the thread is in (main, overlay, menu, dialog,
// message box), so the report is taken where the game stands; while a
// glide runs the thread fetches nothing, and the caller waits.
#include "app/MainWindow.h"
#include "cardtable/core/CardSize.h"
#include "cardtable/core/GdiHandle.h"
#include "cardtable/core/Seams.h"
#include "cardtable/core/TableButton.h"
#include "game/Game.h"

#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr UINT_PTR kSubclassId = 0x50524F42;
HHOOK creationHook = nullptr;

// What the caller asks for, in the low byte of lParam; the clock's speed
// comes in the bits above it.
enum Request { kReport = 0, kPaintPending = 1, kRepaint = 2, kClock = 3, kBlot = 4 };

// The wrong block: magenta, 24 pixels square, at this table point.
constexpr RECT kBlotRect{300, 200, 324, 224};

// The game's clock: the platform's millisecond counter, run `speed` times
// as fast from the moment of the last change of speed.
struct Clock {
    DWORD realBase = 0;
    DWORD gameBase = 0;
    DWORD speed = 1;
} clock;

DWORD GameTicks() {
    return clock.gameBase + (seams::Platform().tickCount() - clock.realBase) * clock.speed;
}

void SetClockSpeed(DWORD speed) {
    const DWORD now = GameTicks();
    clock.realBase = seams::Platform().tickCount();
    clock.gameBase = now;
    clock.speed = speed ? speed : 1;
}

void InstallClock() {
    clock.realBase = clock.gameBase = seams::Platform().tickCount();
    seams::Hooks hooks = seams::Platform();
    hooks.tickCount = GameTicks;
    seams::Install(hooks);
}

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

std::uint32_t IdOf(const CardStack* s) {
    return s ? s->GetId() : 0;
}

// The keyboard's frame: a stack's id, the button's, or 0 when it is hidden.
// Keys reach the thread that owns the foreground window.
bool OwnsForeground() {
    HWND fg = GetForegroundWindow();
    return fg && GetWindowThreadProcessId(fg, nullptr) == GetCurrentThreadId();
}

// The modifier keys that the game's thread sees held: 1 Shift, 2 Ctrl, 4 Alt.
int HeldKeys() {
    return (GetKeyState(VK_SHIFT) < 0 ? 1 : 0) | (GetKeyState(VK_CONTROL) < 0 ? 2 : 0) |
           (GetKeyState(VK_MENU) < 0 ? 4 : 0);
}

std::uint32_t FramedId(const GameWindow& table) {
    const TableButton* button = table.FramedButton();
    return button ? button->GetId() : IdOf(table.FramedStack());
}

void AppendHandles(std::string& out) {
    out += "handles";
    for (int k = 0; k < static_cast<int>(HandleKind::Count); ++k)
        Append(out, " %d", LiveHandles(static_cast<HandleKind>(k)));
    out += "\n";
}

// The table's child windows with their screen rectangles.
struct Placed {
    HWND wnd;
    RECT rect;
    bool visible;
};

BOOL CALLBACK CollectChild(HWND child, LPARAM lp) {
    Placed p{child, {}, IsWindowVisible(child) != FALSE};
    GetWindowRect(child, &p.rect);
    reinterpret_cast<std::vector<Placed>*>(lp)->push_back(p);
    return TRUE;
}

std::vector<Placed> Children(HWND table) {
    std::vector<Placed> out;
    EnumChildWindows(table, CollectChild, reinterpret_cast<LPARAM>(&out));
    return out;
}

const char* ControlName(GameWindow& table, HWND wnd) {
    return wnd == table.GetTimerBar().Handle()           ? "bar"
           : wnd == table.LevelLabel().Handle()          ? "level"
           : wnd == table.CardsRemainingLabel().Handle() ? "remaining"
           : wnd == table.GetLinkLabel().Handle()        ? "link"
                                                         : "other";
}

// control NAME VISIBLE LEFT TOP RIGHT BOTTOM (screen); the bar adds the row
// down to which its spent time is drawn.
void AppendControls(std::string& out, GameWindow& table) {
    for (const Placed& p : Children(table.GetHandle())) {
        Append(out, "control %s %d %ld %ld %ld %ld", ControlName(table, p.wnd), p.visible ? 1 : 0,
               p.rect.left, p.rect.top, p.rect.right, p.rect.bottom);
        if (p.wnd == table.GetTimerBar().Handle())
            Append(out, " %u", table.GetTimerBar().FillPos());
        out += "\n";
    }
}

// Lays the table out again as a size notification does, and names every
// control that this moved, resized, showed or hid.
void AppendMoved(std::string& out, GameWindow& table) {
    HWND wnd = table.GetHandle();
    const std::vector<Placed> before = Children(wnd);
    RECT client{};
    GetClientRect(wnd, &client);
    SendMessageA(wnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    const std::vector<Placed> after = Children(wnd);
    for (const Placed& b : before)
        for (const Placed& a : after)
            if (a.wnd == b.wnd && (!EqualRect(&a.rect, &b.rect) || a.visible != b.visible))
                Append(out, "moved %s %ld %ld %ld %ld -> %ld %ld %ld %ld\n",
                       ControlName(table, a.wnd), b.rect.left, b.rect.top, b.rect.right,
                       b.rect.bottom, a.rect.left, a.rect.top, a.rect.right, a.rect.bottom);
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
    const std::string kind = cls;
    if ((kind != "Button" && kind != "ListBox") || !IsWindowVisible(child))
        return TRUE;
    Append(out, "%s %s|", kind == "Button" ? "button" : "list", text);
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

// Paints straight onto the table's window with no invalidation, so that
// nothing the game does would repaint it.
void PaintBlot(HWND table) {
    HDC dc = GetDC(table);
    if (!dc)
        return;
    UniqueBrush magenta(CreateSolidBrush(RGB(255, 0, 255)));
    FillRect(dc, &kBlotRect, magenta.get());
    ReleaseDC(table, dc);
}

std::string Report(HWND main, LPARAM request) {
    Game& game = TheGame();
    GameWindow& table = game.GetGameWindow();
    std::string out;
    switch (request & 0xFF) {
    case kPaintPending:
        RedrawWindow(main, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        break;
    case kRepaint:
        AppendMoved(out, table);
        // Repainted as the game repaints: invalidated without erasing.
        RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        break;
    case kBlot:
        PaintBlot(table.GetHandle());
        break;
    case kClock:
        SetClockSpeed(static_cast<DWORD>(request >> 8));
        break;
    default:
        break;
    }
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    GetGUIThreadInfo(GetCurrentThreadId(), &gui);
    Append(out,
           "state ready=%d overlay=%d kind=%d phase=%d level=%d left=%u running=%d menu=%d "
           "capture=%d speed=%lu selected=%u framed=%u active=%d focus=%d foreground=%d "
           "modifiers=%d\n",
           game.IsReady(), table.IsOverlayRunning() ? 1 : 0, table.OverlayKind(),
           table.OverlayPhase(), table.GetLevel(), table.GetTimerBar().GetSecondsLeft(),
           table.GetTimerBar().IsRunning() ? 1 : 0, (gui.flags & GUI_INMENUMODE) ? 1 : 0,
           GetCapture() ? 1 : 0, clock.speed, IdOf(table.SelectedStack()), FramedId(table),
           gui.hwndActive ? 1 : 0, gui.hwndFocus ? 1 : 0, OwnsForeground() ? 1 : 0, HeldKeys());
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
    AppendControls(out, table);
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
    const std::string report = Report(wnd, lp);
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
        if (std::string(cls) == MainWindow::kClassName) {
            SetWindowSubclass(wnd, ProbeSubclass, kSubclassId, 0);
            InstallClock();
        }
    }
    return CallNextHookEx(creationHook, code, wp, lp);
}

// Set up during static initialisation, before WinMain makes any window.
const bool installed = [] {
    creationHook = SetWindowsHookExA(WH_CBT, WatchCreation, nullptr, GetCurrentThreadId());
    return creationHook != nullptr;
}();

} // namespace
