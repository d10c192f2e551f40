// The table's own card pictures, drawn with plain GDI shapes: used for the
// whole card strip when no card library can be loaded, and for any single
// image a library lacks. Slots are card-strip slots: 0..51 the faces (card
// values), 52..65 card backs, 66 a cross marker and 67 a ring marker.
#pragma once

#include <windows.h>

constexpr int kDrawnSlotCross = 66;
constexpr int kDrawnSlotRing = 67;

// Draws the picture of strip slot `slot` into the w x h rectangle at (x, y).
// Everything inside the rectangle is painted; the DC's state is kept.
void DrawCardImage(HDC dc, int x, int y, int w, int h, int slot);

// The pieces, for the files that draw them.
void DrawCardFace(HDC dc, int x, int y, int w, int h, int card);
void DrawCardBack(HDC dc, int x, int y, int w, int h, int slot);

// Red for diamonds and hearts, black for clubs and spades.
COLORREF SuitColor(int suit);
// A suit symbol (0 clubs, 1 diamonds, 2 hearts, 3 spades) about `size`
// pixels high and wide centred on (cx, cy), point down for upsideDown.
void DrawSuitSymbol(HDC dc, int suit, int cx, int cy, int size, bool upsideDown);
