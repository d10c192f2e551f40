// Placeholder callbacks: the rules of play come next.
#include "game/Rules.h"

bool SlotCanDrag(CardStack&, int) { return false; }
bool SlotCanDrop(CardStack&, const CardList&) { return false; }
bool SideCanDrop(CardStack&, const CardList&) { return false; }
void SlotOnTaken(CardStack&, int) {}
void SideOnTaken(CardStack&, int) {}
void SlotOnDropped(CardStack&, const CardList&) {}
void SideOnDropped(CardStack&, const CardList&) {}
void OnTimeOut(int) {}
void OnNextLevelClicked(TableButton&) {}
