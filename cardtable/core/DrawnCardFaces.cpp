// The table's own card faces: rank and suit in two corners, the pips of the
// number cards, and a framed letter with a crown or cap for the court cards.
#include "cardtable/core/DrawnCards.h"

#include "cardtable/core/GdiHandle.h"

#include <cmath>

namespace {

// Pip places in fractions of the card: column 0 left, 1 centre, 2 right;
// rows run from 0.2 (top) to 0.8 (bottom) of the card's height.
struct Pip {
    signed char column;
    float row;
};

constexpr Pip kPips2[] = {{1, 0.2f}, {1, 0.8f}};
constexpr Pip kPips3[] = {{1, 0.2f}, {1, 0.5f}, {1, 0.8f}};
constexpr Pip kPips4[] = {{0, 0.2f}, {2, 0.2f}, {0, 0.8f}, {2, 0.8f}};
constexpr Pip kPips5[] = {{0, 0.2f}, {2, 0.2f}, {1, 0.5f}, {0, 0.8f}, {2, 0.8f}};
constexpr Pip kPips6[] = {{0, 0.2f}, {2, 0.2f}, {0, 0.5f}, {2, 0.5f}, {0, 0.8f}, {2, 0.8f}};
constexpr Pip kPips7[] = {{0, 0.2f}, {2, 0.2f}, {1, 0.35f}, {0, 0.5f},
                          {2, 0.5f}, {0, 0.8f}, {2, 0.8f}};
constexpr Pip kPips8[] = {{0, 0.2f}, {2, 0.2f},  {1, 0.35f}, {0, 0.5f},
                          {2, 0.5f}, {1, 0.65f}, {0, 0.8f},  {2, 0.8f}};
constexpr Pip kPips9[] = {{0, 0.2f}, {2, 0.2f}, {0, 0.4f}, {2, 0.4f}, {1, 0.5f},
                          {0, 0.6f}, {2, 0.6f}, {0, 0.8f}, {2, 0.8f}};
constexpr Pip kPips10[] = {{0, 0.2f}, {2, 0.2f}, {1, 0.3f}, {0, 0.4f}, {2, 0.4f},
                           {0, 0.6f}, {2, 0.6f}, {1, 0.7f}, {0, 0.8f}, {2, 0.8f}};

struct PipLayout {
    const Pip* pips;
    int count;
};

template <int N>
constexpr PipLayout Layout(const Pip (&pips)[N]) {
    return {pips, N};
}

// Index = rank (1 = two .. 9 = ten).
constexpr PipLayout kLayouts[] = {{},
                                  Layout(kPips2),
                                  Layout(kPips3),
                                  Layout(kPips4),
                                  Layout(kPips5),
                                  Layout(kPips6),
                                  Layout(kPips7),
                                  Layout(kPips8),
                                  Layout(kPips9),
                                  Layout(kPips10)};

const char* const kRankNames[13] = {"A", "2", "3",  "4", "5", "6", "7",
                                    "8", "9", "10", "J", "Q", "K"};

int Scaled(int length, double fraction) {
    return static_cast<int>(std::lround(length * fraction));
}

UniqueFont BoldFont(int height, int width) {
    return UniqueFont(CreateFontA(-height, width, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY,
                                  VARIABLE_PITCH | FF_SWISS, "Arial"));
}

void DrawCentredText(HDC dc, const char* text, RECT box, int height, int width) {
    UniqueFont font = BoldFont(height, width);
    SelectGuard selection(dc, font.get());
    DrawTextA(dc, text, -1, &box, DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
}

// Rank above a small suit symbol at the top left, and the same turned at
// the bottom right (the rank stays upright there; only the symbol turns).
void DrawCorners(HDC dc, int x, int y, int w, int h, int rank, int suit) {
    const int textHeight = Scaled(h, 0.135);
    // "10" is squeezed to fit the corner's width.
    const int textWidth = rank == 9 ? Scaled(textHeight, 0.3) : 0;
    const int cornerWidth = Scaled(w, 0.23);
    const int symbolSize = Scaled(h, 0.1);
    const int top = y + Scaled(h, 0.03);
    const int left = x + Scaled(w, 0.01);
    const int right = x + w - Scaled(w, 0.01);
    const int bottom = y + h - Scaled(h, 0.03);

    DrawCentredText(dc, kRankNames[rank], RECT{left, top, left + cornerWidth, top + textHeight},
                    textHeight, textWidth);
    DrawCentredText(dc, kRankNames[rank],
                    RECT{right - cornerWidth, bottom - textHeight, right, bottom}, textHeight,
                    textWidth);
    const int symbolOffset = textHeight + symbolSize / 2 + 2;
    DrawSuitSymbol(dc, suit, left + cornerWidth / 2, top + symbolOffset, symbolSize, false);
    DrawSuitSymbol(dc, suit, right - cornerWidth / 2, bottom - symbolOffset, symbolSize, true);
}

void DrawPips(HDC dc, int x, int y, int w, int h, int rank, int suit) {
    if (rank == 0) {
        DrawSuitSymbol(dc, suit, x + w / 2, y + h / 2, Scaled(h, 0.32), false);
        return;
    }
    const PipLayout& layout = kLayouts[rank];
    const int columns[3] = {x + Scaled(w, 0.31), x + w / 2, x + w - Scaled(w, 0.31)};
    const int size = Scaled(h, 0.14);
    for (int i = 0; i < layout.count; ++i) {
        const Pip& pip = layout.pips[i];
        // Pips below the middle point down, as on printed cards.
        DrawSuitSymbol(dc, suit, columns[pip.column], y + Scaled(h, pip.row), size, pip.row > 0.5f);
    }
}

// A jagged crown (king and queen) or a pointed cap (jack) above the letter.
void DrawHeadgear(HDC dc, int cx, int top, int size, int rank, COLORREF outline) {
    UniquePen pen(CreatePen(PS_SOLID, 1, outline));
    UniqueBrush gold(CreateSolidBrush(RGB(240, 200, 40)));
    SelectGuard penSelection(dc, pen.get());
    SelectGuard brushSelection(dc, gold.get());
    const int half = size / 2;
    if (rank == 10) {
        const POINT cap[] = {{cx - half, top + size}, {cx, top}, {cx + half, top + size}};
        Polygon(dc, cap, 3);
        return;
    }
    const int notch = rank == 12 ? size / 2 : size / 3;
    const POINT crown[] = {
        {cx - half, top + size},      {cx - half, top}, {cx - half / 2, top + notch}, {cx, top},
        {cx + half / 2, top + notch}, {cx + half, top}, {cx + half, top + size}};
    Polygon(dc, crown, 7);
}

void DrawCourt(HDC dc, int x, int y, int w, int h, int rank, int suit) {
    const COLORREF color = SuitColor(suit);
    const RECT frame{x + Scaled(w, 0.26), y + Scaled(h, 0.12), x + w - Scaled(w, 0.26),
                     y + h - Scaled(h, 0.12)};
    {
        UniquePen pen(CreatePen(PS_SOLID, 1, color));
        UniqueBrush paper(CreateSolidBrush(RGB(255, 248, 220)));
        SelectGuard penSelection(dc, pen.get());
        SelectGuard brushSelection(dc, paper.get());
        Rectangle(dc, frame.left, frame.top, frame.right, frame.bottom);
    }
    const int cx = (frame.left + frame.right) / 2;
    const int frameHeight = frame.bottom - frame.top;
    DrawHeadgear(dc, cx, frame.top + Scaled(frameHeight, 0.1), Scaled(frameHeight, 0.16), rank,
                 color);
    const int letterHeight = Scaled(frameHeight, 0.34);
    const int letterTop = frame.top + (frameHeight - letterHeight) / 2;
    DrawCentredText(dc, kRankNames[rank], RECT{frame.left, letterTop, frame.right, frame.bottom},
                    letterHeight, 0);
    const int symbolSize = Scaled(frameHeight, 0.14);
    DrawSuitSymbol(dc, suit, cx, frame.bottom - Scaled(frameHeight, 0.16), symbolSize, true);
}

} // namespace

void DrawCardFace(HDC dc, int x, int y, int w, int h, int card) {
    const int rank = card / 4, suit = card % 4;
    const RECT all{x, y, x + w, y + h};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, SuitColor(suit));
    DrawCorners(dc, x, y, w, h, rank, suit);
    if (rank >= 10)
        DrawCourt(dc, x, y, w, h, rank, suit);
    else
        DrawPips(dc, x, y, w, h, rank, suit);
}

void DrawCardImage(HDC dc, int x, int y, int w, int h, int slot) {
    const int saved = SaveDC(dc);
    if (slot >= 0 && slot < 52)
        DrawCardFace(dc, x, y, w, h, slot);
    else
        DrawCardBack(dc, x, y, w, h, slot);
    RestoreDC(dc, saved);
}
