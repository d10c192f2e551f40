// The maker's link at the bottom right of the table. For now it keeps its
// place and colour; the drawn, clickable link comes with the status displays.
#pragma once

#include "widgets/ChildControl.h"

class LinkLabel {
public:
    bool Create(HWND parent, int x, int y, int w, int h, const char* target);
    SIZE GetArtworkSize() const { return SIZE{120, 24}; }
    void SetColor(COLORREF color) { color_ = color; }
    COLORREF GetColor() const { return color_; }
    HWND Handle() const { return control_.Handle(); }
    void Place(int x, int y, int w, int h) const { control_.Place(x, y, w, h); }
    void Destroy() { control_.Destroy(); }

private:
    ChildControl control_;
    COLORREF color_ = 0;
};
