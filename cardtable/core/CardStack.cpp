#include "cardtable/core/CardStack.h"

#include "cardtable/core/CardSize.h"

#include <algorithm>
#include <cstdlib>

CardStack::CardStack(CardWindow& owner, int order, std::uint32_t id, bool visible, int x, int y,
                     int dx, int dy)
    : id_(id), owner_(owner), order_(order), dx_(dx), dy_(dy), x_(x), y_(y), visible_(visible),
      lock_(CreateMutexA(nullptr, FALSE, nullptr)) {
    Update();
}

void CardStack::SetCards(const CardList& cards) {
    cards_ = cards;
    Update();
}

int CardStack::CountWithLifted() const {
    return cards_.Count() + (dragging_ ? liftedCards_.Count() : 0);
}

void CardStack::SetOffsets(int dx, int dy) {
    dx_ = dx;
    dy_ = dy;
}

void CardStack::SetEmptyLook(std::uint32_t look) {
    emptyLook_ = look > 2 ? 0 : look;
}

void CardStack::SetBackNumber(int n) {
    if (n >= 52 && n <= 67)
        backNumber_ = n;
}

bool CardStack::SetDragRule(std::uint32_t rule, CanDragFn canDrag) {
    if (rule <= kDragAny) {
        dragRule_ = rule;
        return true;
    }
    if (rule == kDragAsk) {
        dragRule_ = rule;
        canDrag_ = canDrag;
        return true;
    }
    return false;
}

bool CardStack::SetDropRule(std::uint32_t rule, CanDropFn canDrop) {
    if (rule <= kDropAlways) {
        dropRule_ = rule;
        return true;
    }
    if (rule == kDropAsk) {
        dropRule_ = rule;
        canDrop_ = canDrop;
        return true;
    }
    return false;
}

void CardStack::Update() {
    slots_ = cards_.Count();
    if (slots_ == 0) {
        width_ = cardWidth;
        height_ = cardHeight;
    } else {
        width_ = cardWidth + std::abs(dx_) * (slots_ - 1);
        height_ = cardHeight + std::abs(dy_) * (slots_ - 1);
    }
    for (int k = 0; k < cards_.Count(); ++k)
        cards_.Slot(k).faceUp = 1;
}

RECT CardStack::Extent() const {
    const int fan = slots_ > 0 ? slots_ - 1 : 0;
    RECT r;
    r.left = dx_ < 0 ? x_ + fan * dx_ : x_;
    r.top = dy_ < 0 ? y_ + fan * dy_ : y_;
    r.right = r.left + width_;
    r.bottom = r.top + height_;
    return r;
}

bool CardStack::Contains(int px, int py) const {
    if (!visible_)
        return false;
    const RECT r = Extent();
    return px >= r.left && px < r.right && py >= r.top && py < r.bottom;
}

int CardStack::Coverage(int rx, int ry, int rw, int rh) const {
    const int left = std::max(rx, x_);
    const int top = std::max(ry, y_);
    const int right = std::min(rx + rw, x_ + width_);
    const int bottom = std::min(ry + rh, y_ + height_);
    if (right <= left || bottom <= top || width_ <= 0 || height_ <= 0)
        return 0;
    // 32-bit fixed point as the table has always computed it; the product is
    // done in 64 bits so that a large stack cannot overflow it.
    const long long a = static_cast<long long>(right - left) * (bottom - top);
    const long long q = (a * 65536) / (static_cast<long long>(width_) * height_);
    return static_cast<int>((q * 100) >> 16);
}

bool CardStack::MayLift(int n) {
    if (n < 1 || !ProbeLock(lock_.get()))
        return false;
    switch (dragRule_) {
    case kDragNever:
        return false;
    case kDragOne:
        return n == 1;
    case kDragAny:
        return true;
    case kDragAsk:
        return canDrag_ && canDrag_(*this, n);
    default:
        return false;
    }
}

bool CardStack::MayLand(const CardList& lifted) {
    if (!ProbeLock(lock_.get()))
        return false;
    switch (dropRule_) {
    case kDropNever:
        return false;
    case kDropAlways:
        return true;
    case kDropAsk:
        return canDrop_ && canDrop_(*this, lifted);
    default:
        return false;
    }
}

POINT CardStack::NextCardPosition() const {
    const int c = cards_.Count();
    return POINT{x_ + dx_ * c, y_ + dy_ * c};
}

int CardStack::ImageOf(const CardEntry& e) const {
    return e.faceUp ? static_cast<int>(e.card) : backNumber_;
}
