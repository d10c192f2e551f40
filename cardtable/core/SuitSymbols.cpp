// The four suit symbols as filled polygons and ellipses, so that they look
// the same with whatever fonts the system has.
#include "cardtable/core/DrawnCards.h"

#include "cardtable/core/GdiHandle.h"

#include <cmath>
#include <vector>

namespace {

// cos(10° k) for k = 0..9. The heart is drawn at whole multiples of 10°;
// a table instead of the C library's sin and cos gives the same outline on
// every build, whatever the library's last bit does.
constexpr double kCosTens[10] = {1.0,
                                 0.984807753012208,
                                 0.9396926207859084,
                                 0.8660254037844387,
                                 0.766044443118978,
                                 0.6427876096865394,
                                 0.5,
                                 0.3420201433256688,
                                 0.17364817766693041,
                                 0.0};

// cos(10° k) for any whole k.
double CosTens(int k) {
    k %= 36;
    if (k < 0)
        k += 36;
    if (k > 18)
        k = 36 - k;
    return k <= 9 ? kCosTens[k] : -kCosTens[18 - k];
}
double SinTens(int k) {
    return CosTens(k - 9);
}

// Maps shape coordinates (units of the symbol's size, origin at its centre,
// y downwards) to device pixels, flipping for upside-down symbols.
struct Frame {
    int cx, cy, size;
    bool flip;

    POINT At(double x, double y) const {
        if (flip)
            y = -y;
        return POINT{static_cast<LONG>(std::lround(cx + x * size)),
                     static_cast<LONG>(std::lround(cy + y * size))};
    }
    void Disc(HDC dc, double x, double y, double r) const {
        const POINT c = At(x, y);
        const int pr = static_cast<int>(std::lround(r * size));
        Ellipse(dc, c.x - pr, c.y - pr, c.x + pr + 1, c.y + pr + 1);
    }
    void Fill(HDC dc, const std::vector<POINT>& points) const {
        Polygon(dc, points.data(), static_cast<int>(points.size()));
    }
};

// The heart outline x = 16 sin^3 t, y = 13 cos t - 5 cos 2t - 2 cos 3t -
// cos 4t spans 32 x 29 units with its lobes at the top; scaled to about one
// symbol size and centred. `sign` -1 turns it into a spade's blade.
std::vector<POINT> HeartOutline(const Frame& f, double scale, double shiftY, int sign) {
    std::vector<POINT> points;
    for (int i = 0; i < 36; ++i) { // t = 10° i
        const double s = SinTens(i);
        const double x = 16 * s * s * s;
        const double y = 13 * CosTens(i) - 5 * CosTens(2 * i) - 2 * CosTens(3 * i) - CosTens(4 * i);
        // The curve's y runs up; on screen the lobes must be on top.
        const double screenY = sign * (-y - 2.5);
        points.push_back(f.At(x * scale / 31, screenY * scale / 31 + shiftY));
    }
    return points;
}

void Stem(HDC dc, const Frame& f, double halfWidth) {
    f.Fill(dc, {f.At(0, 0.05), f.At(-halfWidth, 0.5), f.At(halfWidth, 0.5)});
}

} // namespace

COLORREF SuitColor(int suit) {
    return suit == 1 || suit == 2 ? RGB(208, 0, 0) : RGB(0, 0, 0);
}

void DrawSuitSymbol(HDC dc, int suit, int cx, int cy, int size, bool upsideDown) {
    const COLORREF color = SuitColor(suit);
    UniquePen pen(CreatePen(PS_SOLID, 1, color));
    UniqueBrush brush(CreateSolidBrush(color));
    SelectGuard penSelection(dc, pen.get());
    SelectGuard brushSelection(dc, brush.get());
    const Frame f{cx, cy, size, upsideDown};
    switch (suit) {
    case 0: // clubs: three leaves and a stem
        f.Disc(dc, 0, -0.26, 0.22);
        f.Disc(dc, -0.25, 0.07, 0.22);
        f.Disc(dc, 0.25, 0.07, 0.22);
        f.Disc(dc, 0, 0, 0.12);
        Stem(dc, f, 0.15);
        break;
    case 1: // diamonds
        f.Fill(dc, {f.At(0, -0.5), f.At(0.37, 0), f.At(0, 0.5), f.At(-0.37, 0)});
        break;
    case 2: // hearts
        f.Fill(dc, HeartOutline(f, 1.0, 0, 1));
        break;
    default: // spades: an upturned heart on a stem
        f.Fill(dc, HeartOutline(f, 0.85, -0.1, -1));
        Stem(dc, f, 0.16);
        break;
    }
}
