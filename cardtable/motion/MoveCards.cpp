// Moving cards between stacks on the game's order: no rule is asked and no
// callback is called; the caller has decided.
#include "cardtable/core/CardStack.h"
#include "cardtable/core/CardWindow.h"

bool CardStack::MoveCards(CardStack* target, int n, bool animate) {
    if (!target || n < 0 || n > cards_.Count())
        return false;
    // A target too full to take the cards would drop them on the floor:
    // such a move is refused like any other bad argument.
    if (n > 0 && target->Count() + n >= CardList::kCapacity)
        return false;

    // The place of the lowest moving card, from the geometry before the move.
    imageX_ = x_ + dx_ * (slots_ - n);
    imageY_ = y_ + dy_ * (slots_ - n);
    liftedCards_ = cards_.SplitTop(n);
    if (animate) {
        pickIndex_ = n;
        BuildDragImage(n);
    }
    Update();

    if (animate) {
        GlideOnWindow(imageX_, imageY_, *target);
        FreeDragImage();
    }

    CardList landed = target->GetCards();
    landed.Append(liftedCards_);
    target->SetCards(landed);
    target->RepaintStack();
    return true;
}
