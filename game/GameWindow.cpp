#include "game/GameWindow.h"

#include "cardtable/core/CardSize.h"
#include "game/Game.h"

namespace {
// The maker's address, opened by the link label, with the product code the
// site counts visits by. The one place to change it.
constexpr const char* kMakerLink = "https://www.darnwick.example/?src=ks";
// Room each side of the "cards remaining" bubble for its caption.
constexpr int kCaptionRoom = 40;
} // namespace

GameWindow::GameWindow(Game& game) : game_(game) {}

GameWindow::~GameWindow() {
    snapshotSelection_.restore();
    snapshotDc_.reset();
    overlaySnapshot_.reset();
    cardsRemainingLabel_.Destroy();
    levelLabel_.Destroy();
    linkLabel_.Destroy();
    timerBar_.Destroy();
}

Game& GameOf(const CardStack& stack) {
    return static_cast<GameWindow&>(stack.Owner()).GetGame();
}

int GameWindow::Create(HWND parent, DWORD exStyle, DWORD style, int x, int y, int w, int h,
                       ExpiredFn onExpired) {
    if (!CardWindow::Create(parent, exStyle, style, x, y, w, h))
        return 0;
    HWND self = GetHandle();
    if (!timerBar_.Create(self, 0, 0, 0, 0, onExpired))
        return 0;
    linkLabel_.Create(self, WS_VISIBLE, 0, 0, 0, 0, kMakerLink);
    if (levelLabel_.Create(self, 0, 0, 0, 0))
        levelLabel_.SetCaption("level");
    if (cardsRemainingLabel_.Create(self, 0, 0, 0, 0))
        cardsRemainingLabel_.SetCaption("cards remaining");
    return 1;
}

void GameWindow::SetBackgroundColor(COLORREF color) {
    CardWindow::SetBackgroundColor(color);
    levelLabel_.SetBackgroundColor(color);
    cardsRemainingLabel_.SetBackgroundColor(color);
    linkLabel_.SetColor(color);
    // The artwork, and with it the label's size, may have changed. Laid out
    // here and now rather than on a posted request, it does not depend on
    // which procedure the window has when a message would arrive (an
    // overlay's takes none of the table's).
    PlaceLinkLabel();
    CardWindow::Redraw(); // the whole window, labels included
}

// Only the areas where cards can lie are repainted: the upper side stacks,
// the lower side stacks with the whole triangle, and the removed-cards pile.
void GameWindow::Redraw() {
    HWND wnd = GetHandle();
    if (!wnd)
        return;
    const int W = cardWidth, H = cardHeight;
    CardStack* slot28 = FindStack(28);
    CardStack* pile = FindStack(35);
    if (!slot28 && !pile) {
        InvalidateRect(wnd, nullptr, FALSE);
    } else {
        const RECT upper{0, 0, 5 * W, H};
        InvalidateRect(wnd, &upper, FALSE);
        if (slot28) {
            const RECT triangle{0, H, slot28->X() + W, slot28->Y() + H};
            InvalidateRect(wnd, &triangle, FALSE);
        }
        if (pile) {
            const RECT removed{pile->X(), pile->Y(), ClientWidth(), ClientHeight()};
            InvalidateRect(wnd, &removed, FALSE);
        }
    }
    UpdateWindow(wnd);
}

void GameWindow::PressAt(HWND wnd, int x, int y, int a, int b) {
    if (overlayKind_ == 3)
        return;
    CardWindow::PressAt(wnd, x, y, a, b);
}

void GameWindow::Resize(int w, int h) {
    SetClientSize(w, h);
    const int W = cardWidth, H = cardHeight;
    timerBar_.Place(w - W / 2, 10, 14, h - (2 * H) / 3 - 8);
    PlaceLinkLabel();
    // "cards remaining" is far wider than its bubble: that label's window
    // reaches out on both sides so that the caption shows whole, while the
    // bubble and its number stay where a bubble-wide label puts them.
    cardsRemainingLabel_.Place(w - (7 * W) / 4 - 154 - kCaptionRoom, 10, 54 + 2 * kCaptionRoom, 65);
    levelLabel_.Place(w - (7 * W) / 4 + 11, 10, 54, 65);
    if (HWND wnd = GetHandle())
        InvalidateRect(wnd, nullptr, FALSE);
}

// The label has its artwork's size, 25 pixels from the right edge.
void GameWindow::PlaceLinkLabel() {
    const SIZE art = linkLabel_.GetArtworkSize();
    linkLabel_.Place(ClientWidth() - art.cx - 25, ClientHeight() - 46, art.cx, art.cy);
}

void GameWindow::Paint(HDC dc) {
    PaintTable(dc);
    if (overlayKind_ == 3)
        PaintOverlay(dc);
}
