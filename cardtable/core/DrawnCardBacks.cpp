// The table's own card backs (fourteen patterns, blue and red in turn) and
// the two marker images that close the card strip: a red cross and a green
// ring on a green field.
#include "cardtable/core/DrawnCards.h"

#include "cardtable/core/GdiHandle.h"

#include <algorithm>

namespace {

constexpr COLORREF kBlue = RGB(0, 40, 160);
constexpr COLORREF kRed = RGB(190, 20, 20);
constexpr COLORREF kFelt = RGB(0, 110, 0);

// A small diamond lattice, for the one back no hatch style gives.
UniqueBrush DiamondBrush(HDC dc, COLORREF ink, UniqueBitmap& pattern) {
    static const WORD rows[8] = {0x10, 0x28, 0x44, 0x82, 0x01, 0x82, 0x44, 0x28};
    pattern.reset(CreateBitmap(8, 8, 1, 1, rows));
    // Set bits take the background colour: white, clear bits the ink.
    SetTextColor(dc, ink);
    return UniqueBrush(CreatePatternBrush(pattern.get()));
}

void DrawPatternedBack(HDC dc, int x, int y, int w, int h, int variant) {
    const COLORREF ink = variant % 2 ? kRed : kBlue;
    const RECT all{x, y, x + w, y + h};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));

    static const int hatches[] = {HS_DIAGCROSS,  -1,         HS_CROSS, HS_FDIAGONAL, HS_BDIAGONAL,
                                  HS_HORIZONTAL, HS_VERTICAL};
    const int style = hatches[(variant / 2) % 7];
    UniqueBitmap pattern; // must outlive the brush made from it
    UniqueBrush brush =
        style < 0 ? DiamondBrush(dc, ink, pattern) : UniqueBrush(CreateHatchBrush(style, ink));
    UniquePen pen(CreatePen(PS_SOLID, 1, ink));
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, RGB(255, 255, 255));
    // The hatch starts at the card's corner wherever the card sits.
    SetBrushOrgEx(dc, x % 8, y % 8, nullptr);
    const int margin = std::max(2, w / 14);
    SelectGuard penSelection(dc, pen.get());
    SelectGuard brushSelection(dc, brush.get());
    Rectangle(dc, x + margin, y + margin, x + w - margin, y + h - margin);
}

void DrawMarker(HDC dc, int x, int y, int w, int h, bool cross) {
    UniqueBrush felt(CreateSolidBrush(kFelt));
    const RECT all{x, y, x + w, y + h};
    FillRect(dc, &all, felt.get());
    const int size = std::min(w, h) * 3 / 5;
    const int cx = x + w / 2, cy = y + h / 2, half = size / 2;
    const int thickness = std::max(2, size / 6);
    if (cross) {
        UniquePen pen(CreatePen(PS_SOLID, thickness, RGB(230, 20, 20)));
        SelectGuard penSelection(dc, pen.get());
        MoveToEx(dc, cx - half, cy - half, nullptr);
        LineTo(dc, cx + half, cy + half);
        MoveToEx(dc, cx + half, cy - half, nullptr);
        LineTo(dc, cx - half, cy + half);
    } else {
        UniquePen pen(CreatePen(PS_SOLID, thickness, RGB(40, 240, 40)));
        SelectGuard penSelection(dc, pen.get());
        SelectGuard brushSelection(dc, GetStockObject(NULL_BRUSH));
        Ellipse(dc, cx - half, cy - half, cx + half, cy + half);
    }
}

} // namespace

void DrawCardBack(HDC dc, int x, int y, int w, int h, int slot) {
    if (slot == kDrawnSlotCross || slot == kDrawnSlotRing)
        DrawMarker(dc, x, y, w, h, slot == kDrawnSlotCross);
    else
        DrawPatternedBack(dc, x, y, w, h, slot - 52);
}
