// The pictures the card table draws: the card strip (the 68 card-library
// images side by side in one off-screen bitmap), the empty-place image, the
// derived table shades and the table palette.
#pragma once

#include "cardtable/core/GdiHandle.h"

// Fills the card strip from the system card library "cards.dll" (falling
// back to the table's own drawn faces when no library can be loaded) and
// publishes cardWidth and cardHeight. Answers false, after the error message
// and a posted quit, when no card images at all can be had.
bool LoadCardImages();
// The same from a named library (tests load libraries of their own). A null
// or unloadable name takes the drawn faces.
bool LoadCardImagesFrom(const char* libraryName);
// The same with the strip compatible with `reference` instead of the screen
// (the screen when null).
bool LoadCardImagesCompatibleWith(const char* libraryName, HDC reference);
void FreeCardImages();
// The strip's memory DC (null while no strip is loaded); slot i occupies the
// columns i * cardWidth .. (i + 1) * cardWidth - 1.
HDC CardStripDc();

// Moves colour a toward colour b by the fraction t (0x00BBGGRR colours).
COLORREF ShadeColor(COLORREF a, COLORREF b, double t);
// A colour marked palette-relative, for brushes and pens.
inline COLORREF PaletteColor(COLORREF c) {
    return 0x02000000 | (c & 0x00FFFFFF);
}
// The 10-entry table palette derived from the background colour.
UniquePalette BuildPalette(COLORREF background);
// A w x h empty-place image compatible with `reference`, drawn through a
// memory DC of its own and returned unselected, for the caller to select
// (compatible with the screen when `reference` is null).
UniqueBitmap BuildEmptyPlaceImage(HDC reference, COLORREF background, int w, int h);
