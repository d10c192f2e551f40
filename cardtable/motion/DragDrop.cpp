// The mouse gesture: lift the cards under the pointer, carry their picture,
// and land them on the stack they are dropped on or glide them back. The
// keyboard's lift and landing are the same gesture with the target named.
#include "cardtable/core/CardSize.h"
#include "cardtable/core/CardStack.h"
#include "cardtable/core/CardWindow.h"

#include <algorithm>

namespace {
// The lifted picture jumps this far left and up at once, so that the player
// sees the card come off the table.
constexpr int kJumpX = 3, kJumpY = 5;
} // namespace

int CardStack::CardsFromPoint(int px, int py) const {
    const int count = cards_.Count();
    if (count == 0)
        return 0;
    const int rx = px - x_, ry = py - y_;
    const int iy = (dy_ > 0 && ry < height_ - cardHeight) ? ry / dy_ : count - 1;
    const int ix = (dx_ > 0 && rx < width_ - cardWidth) ? rx / dx_ : count - 1;
    // A point left of or above the stack's first card still picks it.
    const int i = std::clamp(std::min(ix, iy), 0, count - 1);
    return count - i;
}

bool CardStack::LiftTop(int n) {
    pickIndex_ = n;
    if (onPress_)
        onPress_(*this, n);
    if (!MayLift(n))
        return false;
    // The place of the lowest lifted card, from the geometry before the lift.
    imageX_ = x_ + dx_ * (slots_ - n);
    imageY_ = y_ + dy_ * (slots_ - n);
    liftedCards_ = cards_.SplitTop(n);
    BuildDragImage(n);
    return true;
}

bool CardStack::BeginDrag(int px, int py) {
    if (!LiftTop(CardsFromPoint(px, py)))
        return false;
    grabX_ = px - imageX_;
    grabY_ = py - imageY_;
    HWND wnd = owner_.GetHandle();
    POINT jump{px - kJumpX, py - kJumpY};
    if (wnd && ClientToScreen(wnd, &jump))
        SetCursorPos(jump.x, jump.y);
    Update();
    if (wnd)
        SetCapture(wnd);
    dragging_ = true;
    return true;
}

bool CardStack::Select() {
    if (dragging_ || !LiftTop(1))
        return false;
    grabX_ = grabY_ = 0;
    Update();
    dragging_ = true;
    if (HWND wnd = owner_.GetHandle()) {
        WindowDc dc(wnd);
        MoveDragImage(dc.get(), imageX_ - kJumpX, imageY_ - kJumpY);
    }
    imageX_ -= kJumpX;
    imageY_ -= kJumpY;
    return true;
}

void CardStack::DragTo(int px, int py) {
    if (!dragging_)
        return;
    const int nx = px - grabX_, ny = py - grabY_;
    {
        WindowDc dc(owner_.GetHandle());
        MoveDragImage(dc.get(), nx, ny);
    }
    imageX_ = nx;
    imageY_ = ny;
}

bool CardStack::Drop(int px, int py) {
    if (!dragging_)
        return true;
    const int sx = px - grabX_, sy = py - grabY_;
    Land(owner_.FindDropTarget(sx, sy, imageWidth_, imageHeight_), sx, sy);
    return true;
}

void CardStack::DropOn(CardStack* target) {
    if (dragging_)
        Land(target, imageX_, imageY_);
}

void CardStack::Land(CardStack* target, int sx, int sy) {
    const bool lands = target && target->MayLand(liftedCards_);
    CardStack& destination = lands ? *target : *this;
    GlideOnWindow(sx, sy, destination);
    // The gesture is over before the callbacks run: they may deal a whole new
    // level behind a modal overlay, which must find the mouse free and this
    // stack at rest.
    EndLift();

    CardList landed = destination.GetCards();
    if (lands && landed.Append(liftedCards_)) {
        destination.SetCards(landed);
        if (onTaken_)
            onTaken_(*this, pickIndex_);
        if (destination.onDropped_)
            destination.onDropped_(destination, destination.GetCards());
    } else {
        // Refused, or a target too full to take them: the cards go home.
        PutBackLifted();
    }
    owner_.Redraw();
}

void CardStack::CancelDrag() {
    if (!dragging_)
        return;
    GlideOnWindow(imageX_, imageY_, *this);
    EndLift();
    PutBackLifted();
    owner_.Redraw();
}

void CardStack::EndLift() {
    FreeDragImage();
    dragging_ = false;
    HWND wnd = owner_.GetHandle();
    if (wnd && GetCapture() == wnd)
        ReleaseCapture();
}

void CardStack::PutBackLifted() {
    cards_.PutBack(liftedCards_);
    Update();
}

void CardStack::DoubleClick(int px, int py) {
    pickIndex_ = CardsFromPoint(px, py);
    if (onDoubleClick_)
        onDoubleClick_(*this, pickIndex_);
}
