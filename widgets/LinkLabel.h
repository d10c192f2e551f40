// The maker's link at the bottom right of the table: a picture of the
// maker's name plate or web address, chosen by the table colour so that it
// stays readable, with a pointing-hand cursor over it. A click opens the
// address in the browser.
#pragma once

#include "widgets/ChildControl.h"

class LinkLabel {
public:
    // Bitmap resources of the two artworks.
    static constexpr int kNamePlate = 103;
    static constexpr int kAddress = 132;
    static constexpr int kAddressCapacity = 260;

    LinkLabel() = default;
    LinkLabel(const LinkLabel&) = delete;
    LinkLabel& operator=(const LinkLabel&) = delete;
    ~LinkLabel();

    // Makes the child window (a static control that reports clicks) with
    // `style`; `address` (may be null) is what a click opens and must be
    // shorter than kAddressCapacity.
    bool Create(HWND parent, DWORD style, int x, int y, int w, int h, const char* address);
    // Takes the table colour, which chooses the artwork; the same colour
    // only repaints. The owner gives the label its artwork's size
    // (GetArtworkSize) after each change.
    void SetColor(COLORREF color);
    COLORREF GetColor() const { return color_; }
    // 0 while no colour is set, else kNamePlate or kAddress.
    int GetArtworkId() const;
    // The current artwork's size as the bitmap gives it; 0 x 0 without one.
    SIZE GetArtworkSize() const;
    const char* GetAddress() const { return address_; }
    // The hand cursor, once the pointer has been over the label.
    HCURSOR HandCursor() const { return cursor_; }

    HWND Handle() const { return control_.Handle(); }
    void Place(int x, int y, int w, int h) const { control_.Place(x, y, w, h); }
    void Destroy();

private:
    static LRESULT CALLBACK WindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT HandleMessage(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
    void OnPaint(HWND wnd);
    void OnSetCursor();
    void OnPress(HWND wnd);

    ChildControl control_;
    WNDPROC previous_ = nullptr;
    HCURSOR cursor_ = nullptr;
    COLORREF color_ = 0;
    char address_[kAddressCapacity] = {};
};

// The colour of an artwork's field, which the label leaves transparent.
COLORREF ArtworkKeyColor(int artworkId);

// Copies w x h of `image` from (sx, sy) to (x, y) on `surface`, except the
// pixels of the `key` colour, where the surface keeps its own.
void ColorKeyedCopy(HDC surface, int x, int y, int w, int h, HBITMAP image, int sx, int sy,
                    COLORREF key);
