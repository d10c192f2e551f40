// Copying card pictures with their cut corners. A card covers its w x h
// rectangle minus three pixels at each corner: the outermost column on each
// side leaves out the two pixels nearest each corner, the second column the
// one nearest. Each copy is a handful of opaque rectangle copies.
#pragma once

#include <windows.h>

// Pieces of a card that the cover test of a triangle card paints.
enum class CardPiece { TopBand, LowerLeft, LowerRight };

// The card shape of strip slot `slot` at (x, y).
void CopyCard(HDC dc, int x, int y, int slot);
// One piece of strip slot `slot`, at its own place inside the card at (x, y).
void CopyCardPart(HDC dc, int x, int y, CardPiece piece, int slot);
// The rounded w x h shape of the picture at (0, 0) of `source`, at (x, y).
void CopyRounded(HDC dc, int x, int y, HDC source, int w, int h);
// Removes the rounded w x h shape at (x, y) from the DC's clip region.
void ExcludeCardShape(HDC dc, int x, int y, int w, int h);
// The part of the card at (x, y) that the next card of a vertical fan
// (offset dy) leaves showing.
void PaintTopStrip(HDC dc, int x, int y, int slot, int dy, bool fillCorners);
// The same for a horizontal fan (offset dx).
void PaintLeftStrip(HDC dc, int x, int y, int slot, int dx, bool fillCorners);
