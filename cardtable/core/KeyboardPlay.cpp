// Keyboard play on the card window: the focus frame, and lifting, playing
// and putting back a card with the keys. The lift and the landing are the
// drag gesture's own (CardStack::Select, DropOn, CancelDrag).
#include "cardtable/core/CardSize.h"
#include "cardtable/core/CardWindow.h"
#include "cardtable/core/FrameNavigation.h"
#include "cardtable/core/TableButton.h"

namespace {

// The rectangle a stack's place of the frame encloses: the top card, its
// empty place, or the picture of a card the keyboard holds raised.
RECT PlaceOf(const CardStack& s, bool selected) {
    if (selected)
        return RECT{s.ImageX(), s.ImageY(), s.ImageX() + s.ImageWidth(),
                    s.ImageY() + s.ImageHeight()};
    const int n = s.Count() > 0 ? s.Count() - 1 : 0;
    const int x = s.X() + s.Dx() * n, y = s.Y() + s.Dy() * n;
    return RECT{x, y, x + cardWidth, y + cardHeight};
}

bool Pressable(const TableButton& b) {
    return b.IsVisible() && (b.GetStyle() & TableButton::kRaised);
}

} // namespace

CardStack* CardWindow::SelectedStack() const {
    return selectedStack_ && &selectedStack_->Owner() == this ? selectedStack_ : nullptr;
}

CardStack* CardWindow::FramedStack() const {
    return frameShown_ ? frameStack_ : nullptr;
}

TableButton* CardWindow::FramedButton() const {
    return frameShown_ ? frameButton_ : nullptr;
}

// A stack takes the frame when its top card may be lifted, when it is empty
// and takes cards, or when its card is the one lifted by the keyboard.
bool CardWindow::Frameable(CardStack& s) const {
    if (!s.IsVisible())
        return false;
    if (&s == SelectedStack())
        return true;
    if (s.IsDragging())
        return false;
    if (s.Count() == 0)
        return s.GetDropRule() != kDropNever;
    return s.MayLift(1);
}

bool CardWindow::FrameShowsNow() const {
    if (!frameShown_ || frameSuspended_)
        return false;
    if (frameButton_)
        return Pressable(*frameButton_);
    return frameStack_ && Frameable(*frameStack_);
}

RECT CardWindow::FrameRing() const {
    RECT r{};
    if (!FrameShowsNow())
        return r;
    r = frameButton_ ? frameButton_->Rect() : PlaceOf(*frameStack_, frameStack_ == SelectedStack());
    InflateRect(&r, kFrameWidth, kFrameWidth);
    return r;
}

void CardWindow::RefreshFrame() {
    const RECT ring = FrameRing();
    if (!window_ || EqualRect(&ring, &frameDrawn_))
        return;
    // The paint that follows takes the old ring away and draws the new one.
    const RECT old = frameDrawn_;
    frameDrawn_ = ring;
    if (!IsRectEmpty(&old))
        InvalidateRect(window_, &old, FALSE);
    if (!IsRectEmpty(&ring))
        InvalidateRect(window_, &ring, FALSE);
    UpdateWindow(window_);
}

void CardWindow::PaintFrame(HDC dc) {
    const RECT ring = FrameRing();
    if (!EqualRect(&ring, &frameDrawn_) && window_) {
        // The table changed under the frame since it was drawn: the old ring
        // and the whole new one are painted again by the next paint.
        if (!IsRectEmpty(&frameDrawn_))
            InvalidateRect(window_, &frameDrawn_, FALSE);
        if (!IsRectEmpty(&ring))
            InvalidateRect(window_, &ring, FALSE);
        frameDrawn_ = ring;
    }
    if (IsRectEmpty(&ring))
        return;
    UniqueBrush brush(CreateSolidBrush(GetSysColor(COLOR_HIGHLIGHT)));
    const int k = kFrameWidth;
    const RECT sides[4] = {{ring.left, ring.top, ring.right, ring.top + k},
                           {ring.left, ring.bottom - k, ring.right, ring.bottom},
                           {ring.left, ring.top + k, ring.left + k, ring.bottom - k},
                           {ring.right - k, ring.top + k, ring.right, ring.bottom - k}};
    for (const RECT& side : sides)
        FillRect(dc, &side, brush.get());
}

void CardWindow::NoteStackRepainted(const RECT& area) {
    // Painted when the window next paints: the stack may be repainted in the
    // middle of building a drag image.
    RECT common{};
    if (window_ && IntersectRect(&common, &area, &frameDrawn_))
        InvalidateRect(window_, &frameDrawn_, FALSE);
}

void CardWindow::HideFrame() {
    frameShown_ = false;
    RefreshFrame();
}

void CardWindow::TakeKey(MSG& msg) const {
    if (!window_ || !msg.hwnd || msg.hwnd == window_ ||
        (msg.message != WM_KEYDOWN && msg.message != WM_KEYUP))
        return;
    HWND top = GetAncestor(window_, GA_ROOT);
    if (msg.hwnd == top || IsChild(top, msg.hwnd))
        msg.hwnd = window_;
}

bool CardWindow::OnKeyDown(WPARAM key, LPARAM flags) {
    FrameDirection direction;
    const bool arrow = DirectionOfKey(key, direction);
    const bool action = key == VK_SPACE || key == VK_RETURN;
    if (!arrow && !action && key != VK_ESCAPE)
        return false;
    // A held key repeats arrows only: a held Space must not lift and put
    // back by turns.
    const bool repeated = (flags & (1 << 30)) != 0;
    if (!inputEnabled_ || MouseGestureUnderWay() || (repeated && !arrow))
        return true;
    if (arrow)
        MoveFrame(direction);
    else if (action)
        ActivateFrame();
    else
        EndSelection(nullptr); // Escape: the lifted card goes back, no sound
    return true;
}

void CardWindow::MoveFrame(FrameDirection direction) {
    // The places that may take the frame, stacks first, then buttons.
    constexpr int kMost = kMaxStacks + kMaxButtons;
    RECT places[kMost];
    CardStack* stackAt[kMost] = {};
    TableButton* buttonAt[kMost] = {};
    int count = 0;
    CardStack* firstStack = nullptr;
    for (int i = 0; i < stackCount_; ++i) {
        CardStack& s = *stacks_[i];
        if (!Frameable(s))
            continue;
        if (!firstStack)
            firstStack = &s;
        stackAt[count] = &s;
        places[count++] = PlaceOf(s, &s == SelectedStack());
    }
    for (int i = 0; i < buttonCount_; ++i)
        if (Pressable(*buttons_[i])) {
            buttonAt[count] = buttons_[i].get();
            places[count++] = buttons_[i]->Rect();
        }

    if (FrameShowsNow()) {
        RECT from = FrameRing();
        InflateRect(&from, -kFrameWidth, -kFrameWidth);
        // Where nothing lies that way, the frame stays.
        int next = NearestInDirection(from, places, count, direction);
        if (direction == FrameDirection::Next || direction == FrameDirection::Previous) {
            int at = 0;
            while (at < count && (stackAt[at] != frameStack_ || buttonAt[at] != frameButton_))
                ++at;
            const int step = direction == FrameDirection::Next ? 1 : count - 1;
            next = count > 0 ? (at + step) % count : -1;
        }
        if (next >= 0) {
            frameStack_ = stackAt[next];
            frameButton_ = buttonAt[next];
        }
    } else {
        // Shown again where it was, or on the first card when that place
        // can take it no more.
        frameShown_ = true;
        if (!FrameShowsNow()) {
            frameButton_ = nullptr;
            frameStack_ = firstFrame_ ? firstFrame_(*this) : nullptr;
            if (!frameStack_ || !Frameable(*frameStack_))
                frameStack_ = firstStack;
        }
    }
    RefreshFrame();
}

void CardWindow::ActivateFrame() {
    if (!FrameShowsNow())
        return;
    if (TableButton* button = frameButton_) {
        EndSelection(nullptr); // as a mouse press on the button would
        button->Click();
        return;
    }
    CardStack* framed = frameStack_;
    if (SelectedStack()) {
        EndSelection(framed);
        return;
    }
    if (framed->Count() == 0)
        return;
    // The ring comes off first: the raised picture must not save it.
    frameSuspended_ = true;
    RefreshFrame();
    if (framed->Select())
        selectedStack_ = framed;
    frameSuspended_ = false;
    RefreshFrame();
}

void CardWindow::EndSelection(CardStack* target) {
    CardStack* selected = SelectedStack();
    if (!selected)
        return;
    // No glide may carry the ring: it comes off while the card moves.
    frameSuspended_ = true;
    RefreshFrame();
    selectedStack_ = nullptr;
    // The card itself as target puts it back: no landing rule, no sound.
    selected->DropOn(target == selected ? nullptr : target);
    frameSuspended_ = false;
    RefreshFrame();
}
