// The mouse gesture: lift the cards under the pointer, carry their picture,
// and land them on the stack they are dropped on or glide them back.
#include "cardtable/core/CardSize.h"
#include "cardtable/core/CardStack.h"
#include "cardtable/core/CardWindow.h"

#include <algorithm>

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

bool CardStack::BeginDrag(int px, int py) {
    const int n = CardsFromPoint(px, py);
    pickIndex_ = n;
    if (onPress_)
        onPress_(*this, n);
    if (!MayLift(n))
        return false;
    grabX_ = px - (x_ + dx_ * (slots_ - n));
    grabY_ = py - (y_ + dy_ * (slots_ - n));
    liftedCards_ = cards_.SplitTop(n);
    BuildDragImage(n);
    imageX_ = px - grabX_;
    imageY_ = py - grabY_;
    HWND wnd = owner_.GetHandle();
    POINT jump{px - 3, py - 5};
    if (wnd && ClientToScreen(wnd, &jump))
        SetCursorPos(jump.x, jump.y);
    Update();
    if (wnd)
        SetCapture(wnd);
    dragging_ = true;
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
    CardStack* target = owner_.FindDropTarget(sx, sy, imageWidth_, imageHeight_);
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
    return true;
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
