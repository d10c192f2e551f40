// Measures, on this machine and in one run, what the table's drawing costs:
// one frame of a dragged card, one full paint of a dealt table, the ratio of
// the two, and a whole deal, once with the glides' real 10 ms pauses and
// once with the pauses taken out to show the drawing alone; and the CPU time
// the process uses while a level's timer runs and nothing else happens; and
// the memory that the table's own pictures take.
#include "cardtable/core/CardImages.h"
#include "cardtable/core/CardWindow.h"
#include "cardtable/core/GdiHandle.h"
#include "cardtable/core/MemorySurface.h"
#include "cardtable/core/Seams.h"
#include "game/Game.h"
#include "tests/support/TestWindow.h"

#include <cstdio>

namespace {

double Seconds() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The seams of this run: the glide pause is real or empty and counted, the
// sounds are silent and the abort question of a second deal is answered yes.
bool realPauses = true;
int pauses = 0;
double firstPause = 0;
void Pause() {
    if (pauses++ == 0)
        firstPause = Seconds();
    if (realPauses)
        Sleep(10);
}
BOOL SilentMemory(const void*, UINT) {
    return TRUE;
}
BOOL SilentResource(int, HMODULE, DWORD) {
    return TRUE;
}
int AnswerYes(HWND, const char*, const char*, UINT) {
    return IDYES;
}

// The opening overlay of a deal waits for a click; while its message loop
// runs, this timer clicks on the table for it.
HWND table = nullptr;
void CALLBACK ClickTheOverlay(HWND, UINT, UINT_PTR, DWORD) {
    PostMessageA(table, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(650, 520));
    PostMessageA(table, WM_LBUTTONUP, 0, MAKELPARAM(650, 520));
}

struct DealTiming {
    double whole;      // StartLevel, from the call to its return
    double fromGlides; // from the first glide pause to the return
    int pauses;
};

DealTiming Deal(Game& game, bool withPauses) {
    realPauses = withPauses;
    pauses = 0;
    const UINT_PTR clicker = SetTimer(nullptr, 0, 100, ClickTheOverlay);
    const double start = Seconds();
    game.StartLevel(false);
    const double end = Seconds();
    KillTimer(nullptr, clicker);
    PumpMessages();
    return DealTiming{end - start, pauses ? end - firstPause : 0, pauses};
}

void Send(UINT msg, int x, int y) {
    SendMessageA(table, msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, y));
}

// One frame of a dragged card: the top card of the first side stack is
// lifted and carried in 8-pixel steps over the table, each mouse move one
// update of the save-under picture.
double DragFrame(const CardStack& side, int frames) {
    Send(WM_LBUTTONDOWN, side.X() + (side.Count() - 1) * side.Dx() + 10, side.Y() + 30);
    if (!side.IsDragging())
        return 0;
    const double start = Seconds();
    for (int i = 0; i < frames; ++i)
        Send(WM_MOUSEMOVE, 120 + (i % 60) * 8, 60 + (i % 9) * 5);
    GdiFlush();
    const double each = (Seconds() - start) / frames;
    Send(WM_MOUSEMOVE, 650, 250); // over no stack: the card glides home
    Send(WM_LBUTTONUP, 650, 250);
    return each;
}

double TablePaint(CardWindow& window, int paints) {
    const double start = Seconds();
    for (int i = 0; i < paints; ++i)
        window.CardWindow::Redraw();
    GdiFlush();
    return (Seconds() - start) / paints;
}

double CpuSeconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto seconds = [](const FILETIME& t) {
        ULARGE_INTEGER v;
        v.LowPart = t.dwLowDateTime;
        v.HighPart = t.dwHighDateTime;
        return static_cast<double>(v.QuadPart) * 1e-7;
    };
    return seconds(kernel) + seconds(user);
}

// Handles the messages of the running level (the timer bar's ticks, and
// nothing else) for a while, as the main loop would.
struct IdleCost {
    double cpuPerSecond; // CPU seconds per second of wall-clock time
    double wall;
    int ticks;
};
IdleCost IdleLevel(HWND timerBar, double seconds) {
    int ticks = 0;
    const double cpuStart = CpuSeconds(), start = Seconds();
    while (Seconds() - start < seconds) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ticks += msg.message == WM_TIMER && msg.hwnd == timerBar;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    const double wall = Seconds() - start;
    return IdleCost{(CpuSeconds() - cpuStart) / wall, wall, ticks};
}

// Bytes of pixels of the bitmap selected into `dc`.
double BitmapBytes(HDC dc) {
    BITMAP info{};
    if (!dc || !GetObjectA(GetCurrentObject(dc, OBJ_BITMAP), sizeof info, &info))
        return 0;
    return static_cast<double>(info.bmWidthBytes) * info.bmHeight;
}

// The frozen table of the overlay is a bitmap compatible with the window,
// of the client area's size.
double SnapshotBytes(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    const WindowDc dc(window);
    MemorySurface probe(dc.get(), 1, 1);
    BITMAP info{};
    if (!probe || !GetObjectA(probe.bitmap(), sizeof info, &info))
        return 0;
    return static_cast<double>(client.right) * client.bottom * info.bmBitsPixel / 8;
}

} // namespace

int main() {
    seams::Hooks hooks = seams::Platform();
    hooks.pause10ms = Pause;
    hooks.playSoundMemory = SilentMemory;
    hooks.playSoundResource = SilentResource;
    hooks.messageBox = AnswerYes;
    seams::Install(hooks);

    TestWindow parent;
    Game game;
    if (!game.CreateTable(parent.get())) {
        std::printf("the table could not be created\n");
        return 1;
    }
    table = game.GetGameWindow().GetHandle();
    MoveWindow(table, 0, 0, 706, 547, TRUE);
    PumpMessages();

    Deal(game, false); // warms up the card strip and the caches
    const DealTiming quick = Deal(game, false);
    const DealTiming paced = Deal(game, true);

    realPauses = false;
    const int gdiBefore = LiveGdiHandles();
    const int frames = 600, paints = 200;
    const CardStack& side = *game.GetGameWindow().FindStack(kFirstSide);
    DragFrame(side, 50);
    const double frame = DragFrame(side, frames);
    if (frame == 0) {
        std::printf("the side stack's top card could not be lifted\n");
        return 1;
    }
    const double paint = TablePaint(game.GetGameWindow(), paints);

    std::printf("drag frame (one MoveDragImage): %.4f ms, mean of %d\n", frame * 1e3, frames);
    std::printf("full table paint: %.4f ms, mean of %d\n", paint * 1e3, paints);
    std::printf("full table paint / drag frame: %.1f\n", frame > 0 ? paint / frame : 0.0);
    std::printf("deal with 10 ms pauses: %.1f ms (%.1f ms from the first glide), %d pauses\n",
                paced.whole * 1e3, paced.fromGlides * 1e3, paced.pauses);
    std::printf("deal without pauses: %.1f ms (%.1f ms from the first glide), drawing only\n",
                quick.whole * 1e3, quick.fromGlides * 1e3);
    std::printf("pauses alone: %.1f ms at 10 ms each\n", paced.pauses * 10.0);
    std::printf("drawing handles left by the drags: %d\n", LiveGdiHandles() - gdiBefore);
    const double strip = BitmapBytes(CardStripDc()), snapshot = SnapshotBytes(table);
    std::printf("pictures: card strip %.2f MB, overlay's frozen table %.2f MB, together %.2f MB\n",
                strip / 1048576, snapshot / 1048576, (strip + snapshot) / 1048576);

    // A fresh level, its timer running against the real millisecond counter.
    Deal(game, false);
    TimerBar& bar = game.GetGameWindow().GetTimerBar();
    const IdleCost idle = IdleLevel(bar.Handle(), 10.0);
    std::printf("running level, nothing else happening: %.2f ms CPU per second (%.3f %%), "
                "%d bar ticks in %.1f s, %u s left\n",
                idle.cpuPerSecond * 1e3, idle.cpuPerSecond * 100, idle.ticks, idle.wall,
                static_cast<unsigned>(bar.GetSecondsLeft()));
    // The platform's share: a bare 50 ms timer of a window that does nothing
    // with its ticks, the bar stopped.
    bar.Stop();
    SetTimer(parent.get(), 1, 50, nullptr);
    const IdleCost bare = IdleLevel(bar.Handle(), 10.0);
    KillTimer(parent.get(), 1);
    std::printf("a bare 50 ms window timer instead: %.2f ms CPU per second (%.3f %%)\n",
                bare.cpuPerSecond * 1e3, bare.cpuPerSecond * 100);
    seams::Reset();
    return 0;
}
