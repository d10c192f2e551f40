// The picture of an empty place on the table: a sunken card outline with a
// fine chequerboard inside, in shades of the table background.
#include "cardtable/core/CardImages.h"

#include <initializer_list>

namespace {

// A polyline with one pen; like every GDI line it leaves out its last point.
void DrawPolyline(HDC dc, COLORREF color, std::initializer_list<POINT> points) {
    UniquePen pen(CreatePen(PS_SOLID, 1, PaletteColor(color)));
    SelectGuard selection(dc, pen.get());
    const POINT* p = points.begin();
    MoveToEx(dc, p->x, p->y, nullptr);
    for (++p; p != points.end(); ++p)
        LineTo(dc, p->x, p->y);
}

void DrawEmptyPlace(HDC dc, COLORREF background, int w, int h) {
    const COLORREF white = RGB(255, 255, 255), black = 0;
    const COLORREF light = ShadeColor(background, white, 0.2);
    const COLORREF dark1 = ShadeColor(background, black, 0.4);
    const COLORREF dark2 = ShadeColor(background, black, 0.2);

    {
        UniqueBrush fill(CreateSolidBrush(PaletteColor(background)));
        const RECT all{0, 0, w, h};
        FillRect(dc, &all, fill.get());
    }

    // Top and left edges dark, right and bottom a lighter dark, and a light
    // inner line along the right and bottom: the place looks pressed in.
    DrawPolyline(dc, dark1, {{2, 0}, {w - 3, 0}, {w - 1, 2}});
    DrawPolyline(dc, dark2, {{w - 1, 2}, {w - 1, h - 3}, {w - 3, h - 1}, {2, h - 1}, {0, h - 3}});
    DrawPolyline(dc, dark1, {{0, h - 3}, {0, 2}, {2, 0}});
    DrawPolyline(dc, light, {{w - 2, 3}, {w - 2, h - 2}});
    DrawPolyline(dc, light, {{w - 3, h - 2}, {3, h - 2}});

    // One-pixel chequerboard. A set bit of the monochrome pattern takes the
    // DC's background colour (the light shade), a clear bit its text colour
    // (the table background). The brush is anchored at (0, 0) and rows
    // alternate 0xAA and 0x55, so the light pixels are those with x + y
    // even; (2, 2) is one of them, which the pixel set after it puts back.
    {
        static const WORD rows[8] = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
        UniqueBitmap pattern(CreateBitmap(8, 8, 1, 1, rows));
        UniqueBrush checker(CreatePatternBrush(pattern.get()));
        SelectGuard selection(dc, checker.get());
        const COLORREF oldText = SetTextColor(dc, PaletteColor(background));
        const COLORREF oldBack = SetBkColor(dc, PaletteColor(light));
        PatBlt(dc, 2, 2, w - 4, h - 4, PATCOPY);
        SetTextColor(dc, oldText);
        SetBkColor(dc, oldBack);
    }

    SetPixel(dc, 2, 2, PaletteColor(background));
}

} // namespace

UniqueBitmap BuildEmptyPlaceImage(HDC reference, COLORREF background, int w, int h) {
    const ReferenceDc ref(reference);
    UniqueBitmap image(CreateCompatibleBitmap(ref.get(), w, h));
    UniqueDc dc(CreateCompatibleDC(ref.get()));
    // Palette-relative colours reach a true-colour surface exactly only
    // through a selected palette holding them; this one holds every shade
    // drawn here.
    UniquePalette palette = BuildPalette(background);
    if (!image || !dc)
        return {};
    {
        SelectGuard imageSelection(dc.get(), image.get());
        PaletteGuard paletteSelection(dc.get(), palette.get());
        DrawEmptyPlace(dc.get(), background, w, h);
    }
    return image;
}
