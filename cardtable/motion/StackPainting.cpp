// How a stack puts its cards on a drawing surface. The table keeps no
// off-screen copy of itself, so a stack paints only what of each card shows:
// the exposed strip of a fanned card, and of a top card that later stacks
// lie over, only the parts those stacks leave free. That lets one stack be
// repainted in place without clearing its area or painting over its
// neighbours.
#include "cardtable/core/CardSize.h"
#include "cardtable/core/CardStack.h"
#include "cardtable/core/CardWindow.h"
#include "cardtable/core/SharedResources.h"
#include "cardtable/motion/CardCopy.h"

namespace {

// The strips of inner cards reach under the cut corners of the card on top,
// except in a diagonal fan wider than one pixel each way, where those corner
// pixels lie over neither card.
bool FillsCorners(int dx, int dy) {
    const bool diagonal = dx != 0 && dy != 0;
    const bool unitStep = dx == 1 || dx == -1 || dy == 1 || dy == -1;
    return !diagonal || unitStep;
}

} // namespace

void CardStack::PaintStack(HDC dc) {
    Paint(dc, false);
}

void CardStack::PaintStackInTable(HDC dc) {
    Paint(dc, true);
}

void CardStack::Paint(HDC dc, bool wholeTable) {
    Update();
    if (!visible_)
        return;
    const int W = cardWidth, H = cardHeight;
    const int count = cards_.Count();
    if (count == 0) {
        if (emptyLook_ == kEmptyPlace)
            CopyRounded(dc, x_, y_, shared_resources::EmptyPlaceDc(), W, H);
        else if (emptyLook_ == kEmptyBackground)
            owner_.FillBackground(dc, x_, y_, W, H);
        return;
    }
    const bool fillCorners = FillsCorners(dx_, dy_);
    for (int k = 0; k < count - 1; ++k) {
        const int cx = x_ + k * dx_, cy = y_ + k * dy_;
        const int image = ImageOf(cards_.Slot(k));
        if (dy_ != 0)
            PaintTopStrip(dc, cx, cy, image, dy_, fillCorners);
        if (dx_ != 0)
            PaintLeftStrip(dc, cx, cy, image, dx_, fillCorners);
    }
    const int top = count - 1;
    PaintTopCard(dc, x_ + top * dx_, y_ + top * dy_, ImageOf(cards_.Slot(top)), wholeTable);
}

// Stacks with a greater id that lie over the lower part of this stack (the
// next row of a triangle) must not be painted over: the top card then shows
// its top band and only the lower pieces no such stack covers.
void CardStack::PaintTopCard(HDC dc, int cx, int cy, int image, bool wholeTable) {
    const int W = cardWidth, H = cardHeight;
    const bool wasVisible = visible_;
    visible_ = false; // the hit tests must not find this stack itself
    const bool coveredLeft = CoveredAt(x_, y_ + H / 3, wholeTable);
    const bool coveredRight = CoveredAt(x_ + W - 1, y_ + H / 3, wholeTable);
    visible_ = wasVisible;
    if (!coveredLeft && !coveredRight) {
        CopyCard(dc, cx, cy, image);
        return;
    }
    CopyCardPart(dc, cx, cy, CardPiece::TopBand, image);
    if (!coveredRight)
        CopyCardPart(dc, cx, cy, CardPiece::LowerRight, image);
    if (!coveredLeft)
        CopyCardPart(dc, cx, cy, CardPiece::LowerLeft, image);
}

// By id, not by creation order: a stack only ever yields to greater ids.
// When the whole table is painted, a covering stack that is painted after
// this one will lie over the card anyway, so the card is painted whole: the
// cut corners of the covering cards then show it, as they do on screen,
// instead of pixels that nothing paints.
bool CardStack::CoveredAt(int px, int py, bool wholeTable) const {
    const CardStack* other = owner_.StackAt(px, py);
    if (!other || other->GetId() <= id_)
        return false;
    return !(wholeTable && other->order_ > order_);
}

void CardStack::ExcludeStack(HDC dc) {
    if (!visible_)
        return;
    Update();
    const int W = cardWidth, H = cardHeight;
    const int count = cards_.Count();
    if (dx_ != 0 && dy_ != 0 && count > 0) {
        // A diagonal fan leaves the table showing between its cards.
        for (int k = 0; k < count; ++k)
            ExcludeCardShape(dc, x_ + k * dx_, y_ + k * dy_, W, H);
        return;
    }
    // Only the four outer corners of a straight fan are cut; the inner
    // cards' corners are painted by their strips.
    const RECT extent = Extent();
    ExcludeCardShape(dc, extent.left, extent.top, width_, height_);
}

// Straight onto the window, without clip region, background or palette: the
// stack's own painting covers exactly what it shows.
void CardStack::RepaintStack() {
    Update();
    HWND wnd = owner_.GetHandle();
    if (!wnd)
        return;
    {
        WindowDc dc(wnd);
        if (dc)
            PaintStack(dc.get());
    }
    owner_.NoteStackRepainted(Extent());
}
