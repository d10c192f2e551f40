// How a stack puts its cards on a drawing surface. For now only what the
// table needs to run: the full painting comes with the table on screen.
#include "cardtable/core/CardStack.h"
#include "cardtable/core/CardWindow.h"

void CardStack::PaintStack(HDC) { Update(); }
void CardStack::ExcludeStack(HDC) {}
void CardStack::RepaintStack() { Update(); }
