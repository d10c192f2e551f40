// Levels and the time limit: how a level ends, in success or Game Over.
#include "game/Game.h"

#include "cardtable/core/TableButton.h"

int Game::TargetForLevel() const {
    return TargetForLevelNumber(window_.GetLevel());
}

void Game::OnTimeOut() {
    EndLevel(RemovedCount() >= TargetForLevel());
}

void Game::OnNextLevelClicked() {
    window_.GetTimerBar().Stop();
    OnTimeOut();
}

void Game::ShowNextLevelButton(bool shown) {
    TableButton* next = window_.FindButton(kNextLevelButton);
    if (!next || next->IsVisible() == shown)
        return;
    next->SetVisible(shown);
    // The table's next paint draws the button, or the table where it stood:
    // an overlay paints what is pending before it freezes the table, and
    // must not keep a button that is gone.
    if (HWND table = window_.GetHandle())
        InvalidateRect(table, &next->Rect(), FALSE);
}

void Game::EndLevel(bool success) {
    ShowNextLevelButton(false);
    if (success) {
        PlayInterrupting(kLevelSound);
        StartLevel(true);
        return;
    }
    if (!window_.RunOverlay(3))
        return; // closing: the labels and the bar are gone
    window_.SetCardsRemaining(-1);
    window_.SetLevel(-1);
    window_.GetTimerBar().Stop();
}
