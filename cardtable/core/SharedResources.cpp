#include "cardtable/core/SharedResources.h"

#include "cardtable/core/CardImages.h"
#include "cardtable/core/CardSize.h"
#include "cardtable/core/GdiHandle.h"

#include <optional>

namespace shared_resources {
namespace {

// Declared so that destruction takes the empty-place image and the palette
// out of the memory surface before either is deleted, and the surface last.
struct Resources {
    UniqueDc memory;
    UniquePalette palette;
    PaletteGuard paletteSelection;
    UniqueBitmap emptyPlace;
    SelectGuard emptyPlaceSelection;
};

std::optional<Resources> res;

void BuildColored(Resources& r, COLORREF background, HDC reference) {
    r.emptyPlaceSelection.restore();
    r.paletteSelection.restore();
    r.emptyPlace.reset();
    r.palette = BuildPalette(background);
    r.paletteSelection = PaletteGuard(r.memory.get(), r.palette.get());
    r.emptyPlace = BuildEmptyPlaceImage(reference, background, cardWidth, cardHeight);
    r.emptyPlaceSelection = SelectGuard(r.memory.get(), r.emptyPlace.get());
}

} // namespace

void Build(COLORREF background) {
    LoadCardImages();
    res.emplace();
    const WindowDc screen(nullptr);
    res->memory.reset(CreateCompatibleDC(screen.get()));
    BuildColored(*res, background, screen.get());
}

void Recolor(COLORREF background, HDC reference) {
    if (!res)
        return;
    BuildColored(*res, background, ReferenceDc(reference).get());
}

void Release() {
    res.reset();
    FreeCardImages();
}

HPALETTE Palette() {
    return res ? res->palette.get() : nullptr;
}
HDC EmptyPlaceDc() {
    return res ? res->memory.get() : nullptr;
}

} // namespace shared_resources
