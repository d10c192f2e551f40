// The picture of moving cards. For now it only keeps the picture's size:
// the save-under sprite that draws it comes with the drag gesture's painting.
#include "cardtable/core/CardSize.h"
#include "cardtable/core/CardStack.h"

#include <cstdlib>

void CardStack::BuildDragImage(int n) {
    imageWidth_ = std::abs(dx_) * (n - 1) + cardWidth;
    imageHeight_ = std::abs(dy_) * (n - 1) + cardHeight;
}

void CardStack::MoveDragImage(HDC, int, int) {}

void CardStack::FreeDragImage() {
    underImage_ = MemorySurface();
    liftedImage_ = MemorySurface();
}
