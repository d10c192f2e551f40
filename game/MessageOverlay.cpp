// The message overlay: for as long as it runs it takes over the game
// window's own window, plays a transition over a frozen picture of the
// table, shows its texts and runs a message loop of its own until the
// player clicks (or, after Game Over, a short pause has passed).
#include "game/GameWindow.h"

#include "widgets/OverlayDrawing.h"

namespace {

constexpr UINT_PTR kOverlayTimer = 0;
constexpr UINT kTextPhaseMs = 600;

// Alternates at every overlay tick; decides whether "click to continue..."
// is drawn or taken away at the next tick.
bool blinkState = false;

} // namespace

bool GameWindow::RunOverlay(int kind) {
    HWND wnd = GetHandle();
    // No overlay runs inside another; a kind it does not know is refused.
    if (!wnd || overlayRunning_ || kind < 1 || kind > 3)
        return false;
    BeginOverlay(kind);
    MSG quitMessage{};
    bool quit = RunOverlayLoop(quitMessage) == LoopEnd::Quit;
    overlayRunning_ = false;
    snapshotSelection_.restore();
    snapshotDc_.reset();
    const bool windowLeft = GetHandle() != nullptr;
    if (windowLeft) {
        KillTimer(wnd, kOverlayTimer);
        quit = DropStrayEndMessages(quitMessage) || quit;
        SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(tableProc_));
    }
    if (quit)
        PostQuitMessage(static_cast<int>(quitMessage.wParam)); // for the main loop
    // Closing, or the window went while the overlay ran: nothing more to draw.
    if (quit || !windowLeft)
        return false;
    if (kind != 3) {
        ShowStatusControls(true);
        InvalidateRect(wnd, nullptr, FALSE);
        Redraw();
    } else {
        // The Game Over look as every later repaint paints it: over the
        // table itself, not over the frozen picture, which still shows the
        // labels and the timer bar that are hidden now.
        InvalidateRect(wnd, nullptr, FALSE);
        UpdateWindow(wnd);
    }
    return true;
}

void GameWindow::BeginOverlay(int kind) {
    HWND wnd = GetHandle();
    // A card or button held by the mouse is let go first, and repaints still
    // pending (where a message box stood a moment ago) are done, all by the
    // table itself: once the overlay's procedure is in place a repaint
    // would paint the previous overlay, and the frozen picture must show
    // the table.
    EndGesture();
    HideFrame(); // the keyboard's frame too: the next deal or Game Over ends its use
    UpdateWindow(wnd);
    tableProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OverlayProc)));
    SetInputEnabled(kind != 3); // Game Over leaves the table deaf
    overlayKind_ = kind;
    FreezeTable();
    curtainOffset_ = wipePos_ = overlayPhase_ = 0;
    overlayRunning_ = true;
    overlayEnding_ = overlayDone_ = false;
    ShowStatusControls(false);
    InvalidateRect(wnd, nullptr, FALSE);
    UpdateWindow(wnd);
    SetTimer(wnd, kOverlayTimer, kind == 1 ? 30 : 60, nullptr);
}

// Runs until the overlay's end message, a quit message (kept in
// `quitMessage`) or the end of the window. Accelerators are not translated
// here: F2 and Ctrl+Z do nothing.
GameWindow::LoopEnd GameWindow::RunOverlayLoop(MSG& quitMessage) {
    HWND wnd = GetHandle();
    MSG msg{};
    for (;;) {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            quitMessage = msg;
            return LoopEnd::Quit;
        }
        if (got < 0)
            return LoopEnd::Ended; // nothing more can be fetched: end as if clicked
        if (msg.message == kOverlayEnd && msg.hwnd == wnd)
            return LoopEnd::Ended;
        if (!GiveKeyToDialog(msg)) {
            TakeKey(msg);
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        // A loop nested in a dispatch (a menu's) may have delivered the end
        // message; or the program closed and the window is gone.
        if (overlayDone_)
            return LoopEnd::Ended;
        if (!GetHandle())
            return LoopEnd::WindowGone;
    }
}

// A dialog that was up when the level ended (the abort question, Options)
// runs its own loop under this one, which would otherwise take its keys:
// Tab, Escape, Enter and its letters go to the dialog, as its loop does.
bool GameWindow::GiveKeyToDialog(MSG& msg) const {
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST || !msg.hwnd)
        return false;
    HWND top = GetAncestor(msg.hwnd, GA_ROOT);
    char name[8] = {};
    if (!top || top == GetAncestor(GetHandle(), GA_ROOT) ||
        !GetClassNameA(top, name, sizeof name) || lstrcmpA(name, "#32770") != 0)
        return false;
    return IsDialogMessageA(top, &msg) != 0;
}

// An end message still queued must not end the next overlay. The peek takes
// a waiting quit message as well: that one is kept, and true answered.
bool GameWindow::DropStrayEndMessages(MSG& quitMessage) {
    MSG stray;
    while (PeekMessageA(&stray, GetHandle(), kOverlayEnd, kOverlayEnd, PM_REMOVE))
        if (stray.message == WM_QUIT) {
            quitMessage = stray;
            return true;
        }
    return false;
}

// The window's pixels as they stand, kept for the overlay to paint over.
// The image is made once and kept; it is made anew only if the client
// area's size has changed since.
void GameWindow::FreezeTable() {
    const int w = ClientWidth(), h = ClientHeight();
    WindowDc screen(GetHandle());
    if (!overlaySnapshot_ || snapshotSize_.cx != w || snapshotSize_.cy != h) {
        overlaySnapshot_.reset(CreateCompatibleBitmap(screen.get(), w > 0 ? w : 1, h > 0 ? h : 1));
        snapshotSize_ = SIZE{w, h};
    }
    snapshotDc_.reset(CreateCompatibleDC(screen.get()));
    if (!snapshotDc_ || !overlaySnapshot_)
        return;
    snapshotSelection_ = SelectGuard(snapshotDc_.get(), overlaySnapshot_.get());
    BitBlt(snapshotDc_.get(), 0, 0, w, h, screen.get(), 0, 0, SRCCOPY);
}

// Hidden in this order: the link label, the level label, the "cards
// remaining" label, the timer bar.
void GameWindow::ShowStatusControls(bool show) {
    for (HWND control : {linkLabel_.Handle(), levelLabel_.Handle(), cardsRemainingLabel_.Handle(),
                         timerBar_.Handle()})
        if (control)
            ShowWindow(control, show ? SW_SHOW : SW_HIDE);
}

LRESULT CALLBACK GameWindow::OverlayProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    // Only a game window puts this procedure in place.
    auto* self = static_cast<GameWindow*>(CardWindow::FromHandle(wnd));
    if (!self)
        return DefWindowProcA(wnd, msg, wp, lp);
    return self->OverlayMessage(msg, wp, lp);
}

LRESULT GameWindow::OverlayMessage(UINT msg, WPARAM wp, LPARAM lp) {
    HWND wnd = GetHandle();
    switch (msg) {
    case WM_TIMER:
        OverlayTick();
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: // a quick second click (the class has CS_DBLCLKS)
        if (overlayPhase_ != 0) {
            KillTimer(wnd, kOverlayTimer);
            EndOverlay();
        }
        return 0;
    case WM_KEYDOWN:
        // Space or Enter ends the overlay as a click does; Game Over's, which
        // ends by itself, takes no key.
        if ((wp == VK_SPACE || wp == VK_RETURN) && overlayPhase_ != 0 && overlayKind_ != 3) {
            KillTimer(wnd, kOverlayTimer);
            EndOverlay();
        }
        return 0;
    case kOverlayEnd:
        overlayDone_ = true;
        return 0;
    case WM_PAINT: {
        PaintDc paint(wnd);
        PaintOverlay(paint.get());
        return 0;
    }
    case WM_DESTROY:
        return 0;
    case WM_NCDESTROY:
        // The card window lets go of its window.
        return CallWindowProcA(tableProc_, wnd, msg, wp, lp);
    default:
        return DefWindowProcA(wnd, msg, wp, lp);
    }
}

void GameWindow::EndOverlay() {
    if (overlayEnding_)
        return;
    overlayEnding_ = true;
    PostMessageA(GetHandle(), kOverlayEnd, 0, 0);
}

void GameWindow::OverlayTick() {
    HWND wnd = GetHandle();
    if (overlayPhase_ == 0) {
        WindowDc dc(wnd);
        TransitionTick(dc.get());
    } else if (overlayKind_ == 3) {
        KillTimer(wnd, kOverlayTimer);
        EndOverlay(); // the Game Over look stays on the window
    } else {
        BlinkTick();
    }
}

// Draws the new band or columns only, straight on the window.
void GameWindow::TransitionTick(HDC dc) {
    const int w = ClientWidth(), h = ClientHeight();
    bool over = false;
    switch (overlayKind_) {
    case 1:
        wipePos_ += overlay::kStep;
        over = overlay::WipeStep(dc, w, h, wipePos_);
        break;
    case 3:
        curtainOffset_ += overlay::kStep;
        over = overlay::ColumnStep(dc, w, h, curtainOffset_);
        if (HWND link = linkLabel_.Handle())
            ShowWindow(link, SW_SHOW);
        break;
    default:
        curtainOffset_ += overlay::kStep;
        over = overlay::CurtainStep(dc, w, h, curtainOffset_);
        break;
    }
    if (over) {
        blinkState = false;
        overlayPhase_ = 1;
        InvalidateRect(GetHandle(), nullptr, FALSE);
        SetTimer(GetHandle(), kOverlayTimer, kTextPhaseMs, nullptr);
    }
    blinkState = !blinkState;
}

// "click to continue..." shows for 0.6 s out of every 1.2 s.
void GameWindow::BlinkTick() {
    HWND wnd = GetHandle();
    const int w = ClientWidth(), h = ClientHeight();
    WindowDc dc(wnd);
    const SIZE text = overlay::Measure(dc.get(), overlay::kClickText);
    const POINT at = overlay::ClickTextPlace(w, h);
    if (blinkState) {
        RECT r{w / 2 - text.cx, at.y, w / 2 + text.cx, at.y + text.cy + 5};
        if (overlayKind_ == 1) {
            overlay::FillSolid(dc.get(), r.left, r.top, r.right, r.bottom, RGB(0, 0, 0));
        } else {
            InvalidateRect(wnd, &r, TRUE);
            UpdateWindow(wnd);
        }
    } else {
        UniqueFont font = overlay::Georgia(20, 800);
        SelectGuard selection(dc.get(), font.get());
        overlay::DrawCentered(dc.get(), at.x, at.y, overlay::kClickText, RGB(255, 255, 255));
    }
    blinkState = !blinkState;
}

void GameWindow::PaintOverlay(HDC dc) {
    const int w = ClientWidth(), h = ClientHeight();
    const bool frozen = static_cast<bool>(snapshotDc_);
    if (overlayPhase_ == 0) {
        if (frozen)
            BitBlt(dc, 0, 0, w, h, snapshotDc_.get(), 0, 0, SRCCOPY);
        return;
    }
    if (overlayKind_ == 1) {
        overlay::PaintRules(dc, w, h);
        return;
    }
    // After a Game Over the table's own paint calls this with no snapshot:
    // the table it has just painted stays underneath.
    if (frozen)
        BitBlt(dc, 0, 0, w, h, snapshotDc_.get(), 0, 0, SRCCOPY);
    if (overlayKind_ == 3)
        overlay::PaintGameOver(dc, w, h);
    else
        overlay::PaintLevelDone(dc, w, h, GetLevel(), cardsRemainingLabel_.GetValue());
}
