// Pair removal: which card may be lifted, where it may land, and what happens
// to both cards afterwards, with the Easy mode's side-stack placeholders.
#include "game/Game.h"

namespace {

int FaceValue(const CardEntry& e) {
    return RankOf(e.card) + 1;
}

} // namespace

int Game::RowOf(std::uint32_t slot) {
    for (int r = 1; r < 7; ++r)
        if (slot <= static_cast<std::uint32_t>(r * (r + 1) / 2))
            return r;
    return 7;
}

bool Game::IsUncovered(std::uint32_t slot) const {
    const int r = RowOf(slot);
    if (r == 7)
        return true;
    for (std::uint32_t below : {slot + r, slot + r + 1}) {
        const CardStack* s = window_.FindStack(below);
        if (s && (s->CountWithLifted() > 0 || s->IsDragging()))
            return false;
    }
    return true;
}

bool Game::SlotCanDrag(CardStack& stack) {
    return IsUncovered(stack.GetId());
}

bool Game::SlotCanDrop(CardStack& target, const CardList& dragged) {
    // A slot without a card (its own card released over it) never accepts.
    if (target.Count() > 0 && dragged.Count() > 0 && IsUncovered(target.GetId()) &&
        FaceValue(target.GetCards().At(0)) + FaceValue(dragged.At(0)) == 13)
        return true;
    PlayYielding(kRefusalSound);
    return false;
}

bool Game::SideCanDrop(CardStack& target, const CardList& dragged) {
    if (target.Count() == 0)
        return true; // an Easy placeholder takes any one card
    if (dragged.Count() > 0 && !target.IsDragging() &&
        FaceValue(target.GetCards().At(0)) + FaceValue(dragged.At(0)) == 13)
        return true;
    PlayYielding(kRefusalSound);
    return false;
}

void Game::SlotOnTaken(CardStack& source) {
    source.SetVisible(false);
    undoSource_ = static_cast<int>(source.GetId());
}

void Game::SideOnTaken(CardStack& source) {
    HideEmptySideStack(source);
    undoSource_ = static_cast<int>(source.GetId());
}

void Game::SlotOnDropped(CardStack& target) {
    if (RemovePair(target))
        return;
    target.SetVisible(false);
    undoTarget_ = static_cast<int>(target.GetId());
    undoPlainMove_ = 0;
}

void Game::SideOnDropped(CardStack& target) {
    undoPlainMove_ = target.Count() == 1 ? 1 : 0;
    if (!undoPlainMove_) {
        if (RemovePair(target))
            return;
        HideEmptySideStack(target);
    }
    undoTarget_ = static_cast<int>(target.GetId());
}

bool Game::RemovePair(CardStack& stack) {
    PlayYielding(kPairSound);
    stack.MoveCards(removedPile_, 2, true);
    const int removed = RemovedCount();
    if (removed >= 48) {
        EndLevel(true);
        return true;
    }
    const int target = TargetForLevel();
    if (removed > target)
        return false;
    if (removed == target) {
        ShowNextLevelButton(true);
        PlayInterrupting(kLevelSound);
    }
    window_.SetCardsRemaining(target - removed);
    return false;
}

void Game::HideEmptySideStack(CardStack& stack) {
    if (stack.Count() > 0)
        return;
    bool otherPlaceholder = false;
    for (std::uint32_t id = kFirstSide; id <= kLastSide; ++id) {
        const CardStack* s = window_.FindStack(id);
        if (s && s != &stack && s->Count() == 0 && s->IsVisible())
            otherPlaceholder = true;
    }
    if (otherPlaceholder || difficulty_ != kEasy)
        stack.SetVisible(false);
}

CardStack* Game::FirstFrameStack() const {
    for (std::uint32_t id = 22; id <= kLastSlot; ++id) {
        CardStack* s = window_.FindStack(id);
        if (s && s->IsVisible() && s->Count() > 0)
            return s;
    }
    // The side stacks in reading order: the top row left to right, then the
    // rows below.
    for (std::uint32_t id : {29u, 32u, 33u, 30u, 34u, 31u}) {
        CardStack* s = window_.FindStack(id);
        if (s && s->IsVisible() && s->Count() > 0)
            return s;
    }
    return nullptr;
}
