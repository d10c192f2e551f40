// The stack callbacks of the game's table, and the callbacks of the timer
// bar and the "next level" button. Each finds its game and hands over.
#include "game/Rules.h"

#include "game/Game.h"

bool SlotCanDrag(CardStack& stack, int) {
    return GameOf(stack).SlotCanDrag(stack);
}
bool SlotCanDrop(CardStack& target, const CardList& dragged) {
    return GameOf(target).SlotCanDrop(target, dragged);
}
bool SideCanDrop(CardStack& target, const CardList& dragged) {
    return GameOf(target).SideCanDrop(target, dragged);
}
void SlotOnTaken(CardStack& source, int) {
    GameOf(source).SlotOnTaken(source);
}
void SideOnTaken(CardStack& source, int) {
    GameOf(source).SideOnTaken(source);
}
void SlotOnDropped(CardStack& target, const CardList&) {
    GameOf(target).SlotOnDropped(target);
}
void SideOnDropped(CardStack& target, const CardList&) {
    GameOf(target).SideOnDropped(target);
}

CardStack* FirstFrameStack(CardWindow& window) {
    return static_cast<GameWindow&>(window).GetGame().FirstFrameStack();
}

void OnTimeOut(TimerBar& bar, std::uint32_t) {
    HWND table = bar.Handle() ? GetParent(bar.Handle()) : nullptr;
    if (auto* window = static_cast<GameWindow*>(CardWindow::FromHandle(table)))
        window->GetGame().OnTimeOut();
}

void OnNextLevelClicked(TableButton& button) {
    static_cast<GameWindow&>(button.Owner()).GetGame().OnNextLevelClicked();
}
