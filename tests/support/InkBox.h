// The bounding box of the pixels of a picture that a test counts as ink.
#pragma once

#include "cardtable/CardImagePixels.h"

#include <algorithm>

struct InkBox {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1; // inclusive
    int count = 0;
    bool Empty() const { return count == 0; }
};

template <typename IsInk>
InkBox FindInk(const CardImagePixels& p, IsInk isInk, RECT area = {0, 0, 1 << 30, 1 << 30}) {
    InkBox box;
    const int x1 = std::min<int>(area.right, p.Width()),
              y1 = std::min<int>(area.bottom, p.Height());
    for (int y = std::max<int>(area.top, 0); y < y1; ++y)
        for (int x = std::max<int>(area.left, 0); x < x1; ++x)
            if (isInk(p.At(x, y), x, y)) {
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x);
                box.top = std::min(box.top, y);
                box.bottom = std::max(box.bottom, y);
                ++box.count;
            }
    return box;
}
