// The rules of play, as the per-stack callbacks of the game's table and the
// callbacks of the timer bar and the "next level" button.
#pragma once

#include "cardtable/core/CardStack.h"
#include "cardtable/core/CardWindow.h"
#include "cardtable/core/TableButton.h"
#include "widgets/TimerBar.h"

bool SlotCanDrag(CardStack& stack, int count);
bool SlotCanDrop(CardStack& target, const CardList& dragged);
bool SideCanDrop(CardStack& target, const CardList& dragged);
void SlotOnTaken(CardStack& source, int count);
void SideOnTaken(CardStack& source, int count);
void SlotOnDropped(CardStack& target, const CardList& cards);
void SideOnDropped(CardStack& target, const CardList& cards);

CardStack* FirstFrameStack(CardWindow& window);

void OnTimeOut(TimerBar& bar, std::uint32_t timeLimit);
void OnNextLevelClicked(TableButton& button);
