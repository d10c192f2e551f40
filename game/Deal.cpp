// Starting a game or a level: the level's numbers, the overlay, the deal.
#include "game/Game.h"

#include "cardtable/core/Seams.h"
#include "cardtable/motion/Glide.h"

#include <algorithm>

int TargetForLevelNumber(int level) {
    return std::min(2 * level + 14, 48);
}

int TimeLimitForLevel(int level) {
    int t = (18 - level) * 10;
    if (t > 140)
        t -= 10;
    return std::max(t, 90);
}

int Game::StartLevel(bool nextLevel) {
    // Chosen while an overlay is up (a Game Over still in its transition or
    // pause), a new game is refused: no overlay runs inside another.
    if (window_.IsOverlayRunning())
        return 0;
    // A card held by the mouse (the time ran out during a drag) goes home
    // first: the abort question and the overlay need the mouse free, before
    // ClearAllStacks would end the gesture too.
    window_.EndGesture();
    TimerBar& timer = window_.GetTimerBar();
    if (!nextLevel && timer.GetSecondsLeft() != 0) {
        const int answer =
            seams::ShowMessageBox(window_.GetHandle(), "Do you want to abort the current game?",
                                  "Keltrim Solitaire", MB_YESNO | MB_ICONQUESTION);
        if (answer != IDYES)
            return 0;
    }
    timer.Stop();
    // A target reached in the game being abandoned must not carry its button
    // into the new one, where a press would judge a fresh table.
    ShowNextLevelButton(false);

    const int level = nextLevel ? window_.GetLevel() + 1 : 1;
    window_.SetLevel(level);
    timer.SetTimeLimit(static_cast<std::uint32_t>(TimeLimitForLevel(level)));
    window_.SetCardsRemaining(TargetForLevelNumber(level));

    for (CardStack* side : sideStacks_)
        if (side)
            side->SetVisible(true);
    for (int r = 0; r < 7; ++r)
        for (int k = 0; k <= r; ++k)
            if (CardStack* slot = triangle_[r][k]) {
                slot->SetVisible(true);
                slot->SetEmptyLook(kEmptyPlace);
            }

    ready_ = 0;
    bool ended = false;
    if (!nextLevel) {
        window_.ClearAllStacks();
        ended = window_.RunOverlay(1);
    } else {
        ended = window_.RunOverlay(2);
        if (ended)
            window_.ClearAllStacks();
    }
    // The program is closing (or the window went) during the overlay:
    // nothing is dealt on a window that is no more.
    if (!ended)
        return 0;
    ready_ = 1;

    DealDeck();
    return 1;
}

void Game::DealDeck() {
    if (!removedPile_)
        return;
    CardList deck;
    deck.FillDeck();
    for (int king = 0; king < 4; ++king)
        deck.Take(0);
    for (int i = 0; i < 4; ++i)
        deck.Shuffle();

    removedPile_->SetOffsets(0, 0);
    removedPile_->SetCards(deck);
    SetMoveSpeed(80);
    SetCursor(LoadCursor(nullptr, IDC_WAIT));

    // Three rounds over the side stacks, then one more card each to 29 and 30.
    for (int round = 0; round < 3; ++round)
        for (CardStack* side : sideStacks_)
            removedPile_->MoveCards(side, 1, true);
    removedPile_->MoveCards(sideStacks_[0], 1, true);
    removedPile_->MoveCards(sideStacks_[1], 1, true);

    for (int r = 0; r < 7; ++r)
        for (int k = 0; k <= r; ++k)
            if (CardStack* slot = triangle_[r][k]) {
                removedPile_->MoveCards(slot, 1, true);
                slot->SetEmptyLook(kEmptyNothing);
            }

    SetMoveSpeed(20);
    removedPile_->SetOffsets(8, 0);
    ClearUndo();
    window_.GetTimerBar().Start();
}
