// Drawing pieces of the message overlay: the chequer over the table, the
// title artwork, the texts, and one step of each transition. Coordinates
// are client pixels of a w x h window; rectangles leave out their right and
// bottom edges.
#pragma once

#include "cardtable/core/GdiHandle.h"

namespace overlay {

constexpr int kStep = 15;
constexpr const char* kFace = "Georgia";
constexpr const char* kClickText = "click to continue...";

// A 50 % chequer of the highlight colour over what the rectangle holds:
// every pixel whose x + y is even becomes the highlight colour.
void FillDither(HDC dc, const RECT& r);
// Copies a bitmap resource of the program opaquely, centred on (x, y).
void DrawBitmapCentered(HDC dc, int x, int y, int resource);
void FillSolid(HDC dc, int left, int top, int right, int bottom, COLORREF color);
UniqueFont Georgia(int height, int weight);
// Draws text centred on x with its top at y, over a transparent background.
void DrawCentered(HDC dc, int x, int y, const char* text, COLORREF color);
SIZE Measure(HDC dc, const char* text);

// One step of each transition, drawn straight on the window; each answers
// whether the transition is over.
bool WipeStep(HDC dc, int w, int h, int wipePos);
bool CurtainStep(HDC dc, int w, int h, int curtainOffset);
bool ColumnStep(HDC dc, int w, int h, int curtainOffset);

// The full screens after the transitions.
void PaintRules(HDC dc, int w, int h);
// The chequer with the title (and, for a level, its two lines) on top.
void PaintLevelDone(HDC dc, int w, int h, int level, int target);
void PaintGameOver(HDC dc, int w, int h);

// Where "click to continue..." stands: its top centre.
POINT ClickTextPlace(int w, int h);

} // namespace overlay
