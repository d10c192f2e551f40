// The drawing resources shared by every card window of the process: the
// table palette and a memory surface, compatible with the screen, with that
// palette realised and the empty-place image selected. The card strip is
// loaded alongside (CardImages.h). Built by the first card window, released
// by the last one.
#pragma once

#include <windows.h>

namespace shared_resources {

// Loads the card images and builds the palette and empty-place image.
void Build(COLORREF background);
// Rebuilds the palette and the empty-place image for a new background.
void Recolor(COLORREF background, HDC reference);
void Release();

HPALETTE Palette();
// The memory surface holding the empty-place image at (0, 0).
HDC EmptyPlaceDc();

} // namespace shared_resources
