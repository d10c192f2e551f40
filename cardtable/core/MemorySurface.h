// An off-screen drawing surface: a memory DC compatible with the screen (or
// with a given DC) with its own bitmap selected and, optionally, a palette.
// The members are declared so that destruction selects the palette and the
// bitmap back out before the bitmap and then the DC are deleted.
#pragma once

#include "cardtable/core/GdiHandle.h"

class MemorySurface {
public:
    MemorySurface() = default;
    // A w x h surface compatible with `reference` (the screen when null).
    MemorySurface(HDC reference, int w, int h, HPALETTE palette = nullptr);
    MemorySurface(MemorySurface&&) = default;
    MemorySurface& operator=(MemorySurface&& other) noexcept;
    ~MemorySurface() = default;

    HDC dc() const { return dc_.get(); }
    HBITMAP bitmap() const { return bitmap_.get(); }
    int width() const { return width_; }
    int height() const { return height_; }
    explicit operator bool() const { return dc_ && bitmap_; }

private:
    UniqueDc dc_;
    UniqueBitmap bitmap_;
    SelectGuard bitmapSelection_;
    PaletteGuard paletteSelection_;
    int width_ = 0;
    int height_ = 0;
};
