#include "cardtable/core/MemorySurface.h"

MemorySurface::MemorySurface(HDC reference, int w, int h, HPALETTE palette)
    : width_(w), height_(h) {
    const ReferenceDc ref(reference);
    dc_.reset(CreateCompatibleDC(ref.get()));
    bitmap_.reset(CreateCompatibleBitmap(ref.get(), w > 0 ? w : 1, h > 0 ? h : 1));
    if (dc_ && bitmap_) {
        bitmapSelection_ = SelectGuard(dc_.get(), bitmap_.get());
        if (palette)
            paletteSelection_ = PaletteGuard(dc_.get(), palette);
    }
}

MemorySurface& MemorySurface::operator=(MemorySurface&& other) noexcept {
    if (this != &other) {
        // Undo our selections before the handles they refer to go.
        paletteSelection_.restore();
        bitmapSelection_.restore();
        bitmap_ = std::move(other.bitmap_);
        dc_ = std::move(other.dc_);
        bitmapSelection_ = std::move(other.bitmapSelection_);
        paletteSelection_ = std::move(other.paletteSelection_);
        width_ = other.width_;
        height_ = other.height_;
    }
    return *this;
}
