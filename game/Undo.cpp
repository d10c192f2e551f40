// Taking back the last move: a pair, or a card put on a placeholder.
#include "game/Game.h"

#include <algorithm>

void Game::Undo() {
    // While an overlay is up the table is not in play (between two levels
    // the record still names the last level's move).
    if (undoTarget_ == 0 || window_.IsOverlayRunning())
        return;
    window_.EndGesture();
    CardStack* target = window_.FindStack(static_cast<std::uint32_t>(undoTarget_));
    CardStack* source = window_.FindStack(static_cast<std::uint32_t>(undoSource_));
    if (!target || !source || !removedPile_) {
        ClearUndo();
        return;
    }
    PlayYielding(kRefusalSound);
    target->SetVisible(true);
    source->SetVisible(true);
    if (undoPlainMove_) {
        target->MoveCards(source, 1, true);
        HideEmptySideStack(*target);
        HideEmptySideStack(*source);
    } else if (removedPile_->Count() >= 2) {
        // The pair went to the pile with the dragged card on top.
        removedPile_->MoveCards(source, 1, true);
        removedPile_->MoveCards(target, 1, true);
    }
    ClearUndo();
    window_.SetCardsRemaining(std::max(0, TargetForLevel() - RemovedCount()));
    // As after a drop, the card areas are redrawn: a side stack hidden above
    // (in Normal mode) still shows the empty place the glide uncovered.
    window_.Redraw();
}
