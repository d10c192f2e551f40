// Reads a DC's pixels into memory in one block copy, so that tests can look
// at whole images without a GetPixel call per pixel.
#pragma once

#include "cardtable/core/GdiHandle.h"

#include <cstdint>
#include <vector>

class CardImagePixels {
public:
    // Copies the w x h area at (x, y) of `source`.
    CardImagePixels(HDC source, int x, int y, int w, int h) : w_(w), h_(h) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = w;
        info.bmiHeader.biHeight = -h; // top-down rows
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        UniqueDc dc(CreateCompatibleDC(source));
        UniqueBitmap section(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        if (!dc || !section || !bits)
            return;
        SelectGuard selection(dc.get(), section.get());
        BitBlt(dc.get(), 0, 0, w, h, source, x, y, SRCCOPY);
        GdiFlush();
        const auto* p = static_cast<const std::uint32_t*>(bits);
        pixels_.assign(p, p + static_cast<size_t>(w) * h);
    }

    bool Valid() const { return !pixels_.empty(); }
    int Width() const { return w_; }
    int Height() const { return h_; }
    // The pixel as a COLORREF (0x00BBGGRR).
    COLORREF At(int x, int y) const {
        const std::uint32_t v = pixels_[static_cast<size_t>(y) * w_ + x];
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }

private:
    int w_, h_;
    std::vector<std::uint32_t> pixels_;
};
