// The picture of moving cards: a sprite with save-under. underImage keeps
// what the table shows beneath the picture at its current place, liftedImage
// the picture itself; moving the sprite puts the saved table back and saves
// the new place without repainting any stack.
#include "cardtable/core/CardImages.h"
#include "cardtable/core/CardSize.h"
#include "cardtable/core/CardStack.h"
#include "cardtable/core/CardWindow.h"
#include "cardtable/core/SharedResources.h"
#include "cardtable/motion/CardCopy.h"

#include <algorithm>
#include <cstdlib>

namespace {

// Fills the whole surface with one colour: an opaque empty text output, the
// cheapest opaque fill that needs no brush.
void FillOpaque(HDC dc, int w, int h, COLORREF color) {
    const COLORREF oldBk = SetBkColor(dc, PaletteColor(color));
    const RECT all{0, 0, w, h};
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &all, "", 0, nullptr);
    SetBkColor(dc, oldBk);
}

} // namespace

void CardStack::BuildDragImage(int n) {
    const int W = cardWidth, H = cardHeight;
    imageWidth_ = std::abs(dx_) * (n - 1) + W;
    imageHeight_ = std::abs(dy_) * (n - 1) + H;
    const HPALETTE palette = shared_resources::Palette();
    underImage_ = MemorySurface(nullptr, imageWidth_, imageHeight_, palette);
    liftedImage_ = MemorySurface(nullptr, imageWidth_, imageHeight_, palette);

    // The remaining cards relative to the picture, whose corner is the place
    // of the lowest moving card.
    const int r = cards_.Count();
    const int offX = -dx_ * r, offY = -dy_ * r;
    const int px = x_ - offX, py = y_ - offY;

    // The table beneath the picture. Hidden, the stack neither finds nor
    // paints itself; stacks under the picture's top corners are painted
    // complete, as if this stack were gone, and read back from the window.
    visible_ = false;
    CardStack* left = owner_.StackAt(px, py);
    CardStack* right = owner_.StackAt(px + W - 1, py);
    if (!left && !right) {
        owner_.FillBackground(underImage_.dc(), 0, 0, imageWidth_, imageHeight_, POINT{px, py});
    } else {
        // Two neighbours above (a card of the triangle's lower rows) cover the
        // upper two thirds of one card between them; only the part below them
        // needs clearing. The margin of 10 rows takes in their cut lower
        // corners. Measured on one card, not on the picture: a fan of moving
        // cards reaches further down, the neighbours do not.
        const int cut = (left && right) ? (2 * H) / 3 - 10 : 0;
        WindowDc window(owner_.GetHandle());
        {
            PaletteGuard tablePalette(window.get(), palette);
            owner_.FillBackground(window.get(), px, py + cut, imageWidth_, imageHeight_ - cut);
        }
        if (left)
            left->RepaintStack();
        if (right)
            right->RepaintStack();
        if (CardStack* before = owner_.StackAt(px - 1, py))
            before->RepaintStack();
        if (CardStack* after = owner_.StackAt(px + W, py))
            after->RepaintStack();
        BitBlt(underImage_.dc(), 0, 0, imageWidth_, imageHeight_, window.get(), px, py, SRCCOPY);
    }
    visible_ = true;

    // The cards left on the stack, clipped to the picture's rectangle: only
    // their parts under the moving cards end up in it.
    for (int k = 0; k < r; ++k)
        CopyCard(underImage_.dc(), offX + dx_ * k, offY + dy_ * k, ImageOf(cards_.Slot(k)));
    if (r == 0 && emptyLook_ == kEmptyPlace)
        CopyRounded(underImage_.dc(), 0, 0, shared_resources::EmptyPlaceDc(), W, H);

    FillOpaque(liftedImage_.dc(), imageWidth_, imageHeight_, backgroundColor_);
    for (int i = 0; i < liftedCards_.Count(); ++i)
        CopyCard(liftedImage_.dc(), dx_ * i, dy_ * i, ImageOf(liftedCards_.Slot(i)));
}

void CardStack::MoveDragImage(HDC dc, int nx, int ny) {
    const int ox = imageX_, oy = imageY_;
    const int w = imageWidth_, h = imageHeight_;
    HDC under = underImage_.dc();

    // The old place shows the table again, except where the picture is about
    // to be drawn: nothing flickers.
    ExcludeCardShape(dc, nx, ny, w, h);
    BitBlt(dc, ox, oy, w, h, under, 0, 0, SRCCOPY);
    SelectClipRgn(dc, nullptr);

    // Where the old and the new place overlap, the window still shows the
    // old picture: the table there comes from the saved background, moved to
    // its new position inside underImage, and only the rest is read back.
    const int iw = std::min(ox, nx) + w - std::max(ox, nx);
    const int ih = std::min(oy, ny) + h - std::max(oy, ny);
    const bool overlap = iw > 0 && ih > 0;
    if (overlap) {
        const int oldCol = nx <= ox ? 0 : w - iw, newCol = nx <= ox ? w - iw : 0;
        const int oldRow = ny <= oy ? 0 : h - ih, newRow = ny <= oy ? h - ih : 0;
        BitBlt(under, newCol, newRow, iw, ih, under, oldCol, oldRow, SRCCOPY);
        ExcludeClipRect(under, newCol, newRow, newCol + iw, newRow + ih);
    }
    // Nothing left of or above the window is read.
    const int skipX = nx < 0 ? -nx : 0, skipY = ny < 0 ? -ny : 0;
    BitBlt(under, skipX, skipY, w - skipX, h - skipY, dc, nx + skipX, ny + skipY, SRCCOPY);
    if (overlap)
        SelectClipRgn(under, nullptr);

    CopyRounded(dc, nx, ny, liftedImage_.dc(), w, h);
    shownImage_ = RECT{nx, ny, nx + w, ny + h};
    owner_.RepaintChildrenUncovered(RECT{ox, oy, ox + w, oy + h}, shownImage_);
}

void CardStack::ExcludeShownImage(HDC dc, POINT origin) const {
    if (!IsRectEmpty(&shownImage_))
        ExcludeCardShape(dc, shownImage_.left - origin.x, shownImage_.top - origin.y,
                         shownImage_.right - shownImage_.left,
                         shownImage_.bottom - shownImage_.top);
}

void CardStack::PaintLifted(HDC dc) const {
    if (dragging_ && liftedImage_.dc())
        CopyRounded(dc, imageX_, imageY_, liftedImage_.dc(), imageWidth_, imageHeight_);
}

void CardStack::FreeDragImage() {
    underImage_ = MemorySurface();
    liftedImage_ = MemorySurface();
    shownImage_ = RECT{};
}
