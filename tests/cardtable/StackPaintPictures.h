// Expected pictures for stack painting tests, and the means to check a paint
// against one. An expected picture says, pixel by pixel, where the pixel must
// come from: left alone, the table background, a pixel of the card strip or
// of the empty-place image. Cards are put into it the way a painter would
// lay real cards, bottom first, each with its three cut pixels per corner, so
// the expectation does not follow the painting code's own decomposition.
//
// A paint is checked by running it twice on surfaces prefilled with two
// different colours: a pixel left alone shows the prefill both times, any
// other pixel must be the same both times and equal to its source, so no
// card picture can pass for untouched ground by chance.
#pragma once

#include "CardImagePixels.h"

#include "cardtable/core/CardImages.h"
#include "cardtable/core/CardSize.h"
#include "cardtable/core/GdiHandle.h"
#include "cardtable/core/MemorySurface.h"
#include "cardtable/core/SharedResources.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace stack_paint {

constexpr COLORREF kGroundA = RGB(255, 0, 255);
constexpr COLORREF kGroundB = RGB(0, 0, 160);

// True for the pixels of a w x h card: everything but the three pixels
// nearest each corner (their distances to the two corner edges add up to
// less than two).
inline bool InCardShape(int col, int row, int w, int h) {
    if (col < 0 || row < 0 || col >= w || row >= h)
        return false;
    return std::min(col, w - 1 - col) + std::min(row, h - 1 - row) >= 2;
}

enum class From { Ground, Background, Strip, EmptyPlace };

struct Source {
    From from = From::Ground;
    int sx = 0, sy = 0;
};

class Picture {
public:
    Picture(int w, int h) : w_(w), h_(h), px_(static_cast<size_t>(w) * h) {}
    int Width() const { return w_; }
    int Height() const { return h_; }
    Source& At(int x, int y) { return px_[static_cast<size_t>(y) * w_ + x]; }
    const Source& At(int x, int y) const { return px_[static_cast<size_t>(y) * w_ + x]; }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < w_ && y < h_; }

    void Set(int x, int y, Source s) {
        if (Inside(x, y))
            At(x, y) = s;
    }
    // Lays the picture of strip slot `slot` at (x, y), where `keep(col, row)`
    // allows (all of the card shape when no filter is given).
    void PutCard(int x, int y, int slot, const std::function<bool(int, int)>& keep = nullptr) {
        for (int row = 0; row < cardHeight; ++row)
            for (int col = 0; col < cardWidth; ++col)
                if (InCardShape(col, row, cardWidth, cardHeight) && (!keep || keep(col, row)))
                    Set(x + col, y + row, Source{From::Strip, slot * cardWidth + col, row});
    }
    void PutEmptyPlace(int x, int y) {
        for (int row = 0; row < cardHeight; ++row)
            for (int col = 0; col < cardWidth; ++col)
                if (InCardShape(col, row, cardWidth, cardHeight))
                    Set(x + col, y + row, Source{From::EmptyPlace, col, row});
    }
    void Fill(int x, int y, int w, int h, From from) {
        for (int row = y; row < y + h; ++row)
            for (int col = x; col < x + w; ++col)
                Set(col, row, Source{from});
    }

private:
    int w_, h_;
    std::vector<Source> px_;
};

// What a paint produced on both prefills.
struct Painted {
    CardImagePixels onA;
    CardImagePixels onB;
};

inline void FillSolid(HDC dc, int w, int h, COLORREF color) {
    UniqueBrush brush(CreateSolidBrush(PaletteColor(color)));
    const RECT all{0, 0, w, h};
    FillRect(dc, &all, brush.get());
}

// Runs `paint` on two w x h surfaces with the table palette, prefilled with
// the two ground colours, and reads them back.
inline Painted PaintTwice(int w, int h, const std::function<void(HDC)>& paint) {
    auto once = [&](COLORREF ground) {
        MemorySurface surface(nullptr, w, h, shared_resources::Palette());
        FillSolid(surface.dc(), w, h, ground);
        paint(surface.dc());
        SelectClipRgn(surface.dc(), nullptr);
        return CardImagePixels(surface.dc(), 0, 0, w, h);
    };
    CardImagePixels a = once(kGroundA);
    CardImagePixels b = once(kGroundB);
    return Painted{std::move(a), std::move(b)};
}

// The pictures a paint draws from, read once per check.
struct Sources {
    CardImagePixels strip;
    CardImagePixels emptyPlace;
    COLORREF background;

    explicit Sources(COLORREF tableBackground)
        : strip(CardStripDc(), 0, 0, 68 * cardWidth, cardHeight),
          emptyPlace(shared_resources::EmptyPlaceDc(), 0, 0, cardWidth, cardHeight),
          background(tableBackground) {}
};

inline const char* Name(From f) {
    switch (f) {
    case From::Ground:
        return "left alone";
    case From::Background:
        return "background";
    case From::Strip:
        return "strip";
    case From::EmptyPlace:
        return "empty place";
    }
    return "?";
}

// Compares a paint with the expected picture; reports the first few wrong
// pixels and answers how many there were.
inline int CountWrongPixels(const Picture& expected, const Painted& got, const Sources& src) {
    int wrong = 0;
    for (int y = 0; y < expected.Height(); ++y) {
        for (int x = 0; x < expected.Width(); ++x) {
            const Source& s = expected.At(x, y);
            const COLORREF a = got.onA.At(x, y), b = got.onB.At(x, y);
            bool ok = false;
            COLORREF want = 0;
            switch (s.from) {
            case From::Ground:
                ok = a == kGroundA && b == kGroundB;
                want = kGroundA;
                break;
            case From::Background:
                want = src.background;
                ok = a == want && b == want;
                break;
            case From::Strip:
                want = src.strip.At(s.sx, s.sy);
                ok = a == want && b == want;
                break;
            case From::EmptyPlace:
                want = src.emptyPlace.At(s.sx, s.sy);
                ok = a == want && b == want;
                break;
            }
            if (!ok && ++wrong <= 8)
                ADD_FAILURE() << "pixel (" << x << ", " << y << ") should be " << Name(s.from)
                              << " " << std::hex << want << " but is " << a << " / " << b
                              << std::dec;
        }
    }
    return wrong;
}

// Whether a paint left the pixel alone.
inline bool LeftAlone(const Painted& got, int x, int y) {
    return got.onA.At(x, y) == kGroundA && got.onB.At(x, y) == kGroundB;
}
// Whether the pixel shows (slot's col, row) of the strip on both surfaces.
inline bool ShowsStrip(const Painted& got, const Sources& src, int x, int y, int slot, int col,
                       int row) {
    const COLORREF want = src.strip.At(slot * cardWidth + col, row);
    return got.onA.At(x, y) == want && got.onB.At(x, y) == want;
}

// How many pixels of two strip slots' pictures differ: tests that tell
// cards apart by their pixels make sure first that they can.
inline int SlotDifference(const Sources& src, int a, int b) {
    int n = 0;
    for (int row = 0; row < cardHeight; ++row)
        for (int col = 0; col < cardWidth; ++col)
            n += src.strip.At(a * cardWidth + col, row) != src.strip.At(b * cardWidth + col, row);
    return n;
}

} // namespace stack_paint
