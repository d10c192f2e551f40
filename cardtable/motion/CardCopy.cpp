// Card pictures copied with their cut corners. Every copy is a plain opaque
// rectangle copy; a corner is cut by leaving its pixels out of the rectangles,
// so whatever lay beneath keeps showing there.
#include "cardtable/motion/CardCopy.h"

#include "cardtable/core/CardImages.h"
#include "cardtable/core/CardSize.h"

#include <algorithm>

namespace {

// Copies rows top .. bottom (inclusive) of columns left .. right (inclusive),
// relative to the card: from (sx, sy) of the source picture to (x, y) of the
// destination. An empty range copies nothing.
void CopyBlock(HDC dc, int x, int y, HDC source, int sx, int sy, int left, int top, int right,
               int bottom) {
    if (right < left || bottom < top)
        return;
    BitBlt(dc, x + left, y + top, right - left + 1, bottom - top + 1, source, sx + left, sy + top,
           SRCCOPY);
}

// The five rectangles of a w x h card shape.
void CopyShape(HDC dc, int x, int y, HDC source, int sx, int sy, int w, int h) {
    CopyBlock(dc, x, y, source, sx, sy, 2, 0, w - 3, h - 1);
    CopyBlock(dc, x, y, source, sx, sy, 0, 2, 0, h - 3);
    CopyBlock(dc, x, y, source, sx, sy, 1, 1, 1, h - 2);
    CopyBlock(dc, x, y, source, sx, sy, w - 2, 1, w - 2, h - 2);
    CopyBlock(dc, x, y, source, sx, sy, w - 1, 2, w - 1, h - 3);
}

void Exclude(HDC dc, int x, int y, int left, int top, int right, int bottom) {
    if (right < left || bottom < top)
        return;
    ExcludeClipRect(dc, x + left, y + top, x + right + 1, y + bottom + 1);
}

int SlotLeft(int slot) {
    return slot * cardWidth;
}

} // namespace

void CopyCard(HDC dc, int x, int y, int slot) {
    CopyShape(dc, x, y, CardStripDc(), SlotLeft(slot), 0, cardWidth, cardHeight);
}

void CopyCardPart(HDC dc, int x, int y, CardPiece piece, int slot) {
    const int W = cardWidth, H = cardHeight;
    HDC strip = CardStripDc();
    const int sx = SlotLeft(slot);
    const int band = H / 3;
    // The lower pieces start under the band; their last row is the card's
    // last one whenever H divides by three.
    const int last = band + (2 * H) / 3 - 1;
    switch (piece) {
    case CardPiece::TopBand:
        CopyBlock(dc, x, y, strip, sx, 0, 2, 0, W - 3, band - 1);
        CopyBlock(dc, x, y, strip, sx, 0, 0, 2, 0, band - 1);
        CopyBlock(dc, x, y, strip, sx, 0, 1, 1, 1, band - 1);
        CopyBlock(dc, x, y, strip, sx, 0, W - 2, 1, W - 2, band - 1);
        CopyBlock(dc, x, y, strip, sx, 0, W - 1, 2, W - 1, band - 1);
        break;
    case CardPiece::LowerLeft:
        CopyBlock(dc, x, y, strip, sx, 0, 2, band, W / 2, last);
        CopyBlock(dc, x, y, strip, sx, 0, 0, band, 0, last - 2);
        CopyBlock(dc, x, y, strip, sx, 0, 1, band, 1, last - 1);
        break;
    case CardPiece::LowerRight:
        CopyBlock(dc, x, y, strip, sx, 0, W / 2 + 1, band, W - 3, last);
        CopyBlock(dc, x, y, strip, sx, 0, W - 1, band, W - 1, last - 2);
        CopyBlock(dc, x, y, strip, sx, 0, W - 2, band, W - 2, last - 1);
        break;
    }
}

void CopyRounded(HDC dc, int x, int y, HDC source, int w, int h) {
    CopyShape(dc, x, y, source, 0, 0, w, h);
}

void ExcludeCardShape(HDC dc, int x, int y, int w, int h) {
    Exclude(dc, x, y, 2, 0, w - 3, h - 1);
    Exclude(dc, x, y, 0, 2, 0, h - 3);
    Exclude(dc, x, y, 1, 1, 1, h - 2);
    Exclude(dc, x, y, w - 2, 1, w - 2, h - 2);
    Exclude(dc, x, y, w - 1, 2, w - 1, h - 3);
}

// With fillCorners the edge columns reach one (second column) or two
// (outermost column) rows further, under the cut corners of the card on top.
// Each range also stops where the card shape itself stops, so an offset as
// large as the card copies no more than the whole card. Fans run right and
// down only: an offset of zero or less shows no strip.
void PaintTopStrip(HDC dc, int x, int y, int slot, int dy, bool fillCorners) {
    if (dy <= 0)
        return;
    const int W = cardWidth, H = cardHeight;
    HDC strip = CardStripDc();
    const int sx = SlotLeft(slot);
    const int extra = fillCorners ? 1 : 0;
    CopyBlock(dc, x, y, strip, sx, 0, 2, 0, W - 3, std::min(dy - 1, H - 1));
    const int inner = std::min(dy - 1 + extra, H - 2);
    CopyBlock(dc, x, y, strip, sx, 0, 1, 1, 1, inner);
    CopyBlock(dc, x, y, strip, sx, 0, W - 2, 1, W - 2, inner);
    const int outer = std::min(dy - 1 + 2 * extra, H - 3);
    CopyBlock(dc, x, y, strip, sx, 0, 0, 2, 0, outer);
    CopyBlock(dc, x, y, strip, sx, 0, W - 1, 2, W - 1, outer);
}

void PaintLeftStrip(HDC dc, int x, int y, int slot, int dx, bool fillCorners) {
    if (dx <= 0)
        return;
    const int W = cardWidth, H = cardHeight;
    HDC strip = CardStripDc();
    const int sx = SlotLeft(slot);
    const int extra = fillCorners ? 1 : 0;
    CopyBlock(dc, x, y, strip, sx, 0, 0, 2, std::min(dx - 1, W - 1), H - 3);
    const int inner = std::min(dx - 1 + extra, W - 2);
    CopyBlock(dc, x, y, strip, sx, 0, 1, 1, inner, 1);
    CopyBlock(dc, x, y, strip, sx, 0, 1, H - 2, inner, H - 2);
    const int outer = std::min(dx - 1 + 2 * extra, W - 3);
    CopyBlock(dc, x, y, strip, sx, 0, 2, 0, outer, 0);
    CopyBlock(dc, x, y, strip, sx, 0, 2, H - 1, outer, H - 1);
}
