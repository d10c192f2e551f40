// The card strip: the 68 card pictures side by side in one off-screen
// bitmap, filled once from the card library (or drawn by the table itself
// when there is none) and drawn from for every card on the table.
#include "cardtable/core/CardImages.h"

#include "cardtable/core/CardLibrary.h"
#include "cardtable/core/CardSize.h"
#include "cardtable/core/DrawnCards.h"
#include "cardtable/core/MemorySurface.h"
#include "cardtable/core/Seams.h"

#include <optional>

int cardWidth = kUsualCardWidth;
int cardHeight = kUsualCardHeight;

namespace {

constexpr int kSlots = 68;
// A library whose first card claims more than this is not a card library.
constexpr int kLargestCard = 1024;

std::optional<MemorySurface> strip;

// The one-pixel black outline on the border of the card shape (corners cut
// by two pixels), drawn with the DC's current pen, which is the default
// black one on the strip.
void DrawOutline(HDC dc, int x, int w, int h) {
    const POINT shape[] = {{2, 0},     {w - 3, 0}, {w - 1, 2}, {w - 1, h - 3}, {w - 3, h - 1},
                           {2, h - 1}, {0, h - 3}, {0, 2},     {2, 0}};
    MoveToEx(dc, x + shape[0].x, shape[0].y, nullptr);
    for (int i = 1; i < 9; ++i)
        LineTo(dc, x + shape[i].x, shape[i].y);
}

// Copies the library's pictures into a new strip sized by the first card.
// A picture the library lacks is replaced by the table's own drawing of that
// slot, and a picture of another size is stretched to the slot, so that a
// damaged library still gives one complete strip of equal cards.
std::optional<MemorySurface> StripFromLibrary(const CardLibrary& library, HDC reference, int& w,
                                              int& h) {
    UniqueBitmap first = library.LoadSlot(0);
    BITMAP info{};
    if (!first || !GetObjectA(first.get(), sizeof info, &info))
        return std::nullopt;
    if (info.bmWidth < 1 || info.bmHeight < 1 || info.bmWidth > kLargestCard ||
        info.bmHeight > kLargestCard)
        return std::nullopt;
    w = info.bmWidth;
    h = info.bmHeight;

    MemorySurface surface(reference, kSlots * w, h);
    UniqueDc source(CreateCompatibleDC(surface.dc()));
    if (!surface || !source)
        return std::nullopt;
    SetStretchBltMode(surface.dc(), COLORONCOLOR);
    for (int i = 0; i < kSlots; ++i) {
        UniqueBitmap picture = i == 0 ? std::move(first) : library.LoadSlot(i);
        BITMAP size{};
        if (!picture || !GetObjectA(picture.get(), sizeof size, &size)) {
            DrawCardImage(surface.dc(), i * w, 0, w, h, i);
        } else {
            SelectGuard selection(source.get(), picture.get());
            if (size.bmWidth == w && size.bmHeight == h)
                BitBlt(surface.dc(), i * w, 0, w, h, source.get(), 0, 0, SRCCOPY);
            else
                StretchBlt(surface.dc(), i * w, 0, w, h, source.get(), 0, 0, size.bmWidth,
                           size.bmHeight, SRCCOPY);
        }
        DrawOutline(surface.dc(), i * w, w, h);
    }
    return surface;
}

std::optional<MemorySurface> DrawnStrip(HDC reference, int& w, int& h) {
    w = kUsualCardWidth;
    h = kUsualCardHeight;
    MemorySurface surface(reference, kSlots * w, h);
    if (!surface)
        return std::nullopt;
    for (int i = 0; i < kSlots; ++i) {
        DrawCardImage(surface.dc(), i * w, 0, w, h, i);
        DrawOutline(surface.dc(), i * w, w, h);
    }
    return surface;
}

} // namespace

bool LoadCardImages() {
    return LoadCardImagesFrom("cards.dll");
}

bool LoadCardImagesFrom(const char* libraryName) {
    return LoadCardImagesCompatibleWith(libraryName, nullptr);
}

bool LoadCardImagesCompatibleWith(const char* libraryName, HDC reference) {
    FreeCardImages();
    int w = 0, h = 0;
    std::optional<MemorySurface> filled;
    {
        // The library is freed at the end of this block: everything later
        // draws from the strip.
        CardLibrary library(libraryName);
        if (library)
            filled = StripFromLibrary(library, reference, w, h);
    }
    if (!filled)
        filled = DrawnStrip(reference, w, h);
    if (!filled) {
        seams::ShowMessageBox(nullptr, CardLibraryErrorText(IsWindows95Family()), "Drel",
                              MB_ICONEXCLAMATION | MB_OK);
        PostQuitMessage(0);
        return false;
    }
    strip = std::move(filled);
    cardWidth = w;
    cardHeight = h;
    return true;
}

void FreeCardImages() {
    strip.reset();
}

HDC CardStripDc() {
    return strip ? strip->dc() : nullptr;
}
