#include "widgets/InfoLabel.h"

#include <cstdio>
#include <cstring>

namespace {
constexpr COLORREF kNumberColor = RGB(20, 20, 254);

UniqueFont Verdana(int height, int weight) {
    return UniqueFont(CreateFontA(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_SWISS, "Verdana"));
}
} // namespace

InfoLabel::~InfoLabel() {
    // The window goes first: its last messages still reach a whole label,
    // with the picture and fonts its paint uses.
    window_.Destroy();
}

bool InfoLabel::Create(HWND parent, int x, int y, int w, int h) {
    if (window_.Handle() || !window_.Create(parent, WS_VISIBLE, x, y, w, h, *this))
        return false;
    width_ = w;
    height_ = h;
    HINSTANCE self = GetModuleHandleA(nullptr);
    picture_.reset(static_cast<HBITMAP>(
        LoadImageA(self, MAKEINTRESOURCEA(kPicture), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (picture_) {
        BITMAP info{};
        GetObjectA(picture_.get(), sizeof info, &info);
        pw_ = info.bmWidth;
        ph_ = info.bmHeight;
        pictureDc_.reset(CreateCompatibleDC(nullptr));
        if (pictureDc_)
            pictureSelection_ = SelectGuard(pictureDc_.get(), picture_.get());
    }
    captionFont_ = Verdana(16, FW_NORMAL);
    numberFont_ = Verdana(22, FW_BOLD);
    return true;
}

void InfoLabel::SetCaption(const char* caption) {
    if (caption && std::strlen(caption) < sizeof caption_)
        std::memcpy(caption_, caption, std::strlen(caption) + 1);
    window_.Repaint();
}

void InfoLabel::SetValue(int value) {
    value_ = value;
    window_.Repaint();
}

bool InfoLabel::OnMessage(UINT msg, WPARAM, LPARAM lp, LRESULT& result) {
    result = 0;
    switch (msg) {
    case WM_SIZE:
        width_ = LOWORD(lp);
        height_ = HIWORD(lp);
        return true;
    case WM_PAINT: {
        PaintDc paint(window_.Handle());
        Paint(paint.get());
        return true;
    }
    default:
        return false;
    }
}

void InfoLabel::Paint(HDC dc) const {
    PaintPicture(dc);
    if (value_ != kNoNumber)
        PaintNumber(dc);
    PaintCaption(dc);
}

HFONT InfoLabel::FontOr(const UniqueFont& font) const {
    return font ? font.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

int InfoLabel::PictureLeft() const {
    return width_ > pw_ ? (width_ - pw_) / 2 : 0;
}

// The bubble at (0, 30), or centred in a label wider than it; on any table
// colour but the picture's own field it is limited to its oval, so the table
// shows around it.
void InfoLabel::PaintPicture(HDC dc) const {
    if (!pictureDc_)
        return;
    const int left = PictureLeft();
    UniqueRegion oval;
    if (color_ != kPictureField) {
        oval.reset(CreateRoundRectRgn(left + pw_ / 9, ph_ / 6 + 29, left + (9 * pw_) / 10 + 1,
                                      ph_ + 28, pw_, ph_));
        SelectClipRgn(dc, oval.get());
    }
    BitBlt(dc, left, 30, pw_, ph_, pictureDc_.get(), 0, 0, SRCCOPY);
    if (oval)
        SelectClipRgn(dc, nullptr);
}

int InfoLabel::NumberX(int pictureWidth, int n, int tw, int drawnWidth) {
    const int measured = n * tw;
    if (measured > pictureWidth)
        return (pictureWidth - drawnWidth) / 2; // too wide: centred, cut at both sides
    int x = (pictureWidth - measured) / 2;
    return n > 1 ? x + 2 : x - 2;
}

void InfoLabel::PaintNumber(HDC dc) const {
    char text[16];
    const int n = std::snprintf(text, sizeof text, "%d", value_);
    SIZE plain{};
    GetTextExtentPoint32A(dc, text, n, &plain);
    SelectGuard font(dc, FontOr(numberFont_));
    SIZE drawn{};
    GetTextExtentPoint32A(dc, text, n, &drawn);
    const int x = PictureLeft() + NumberX(pw_, n, plain.cx, drawn.cx);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kNumberColor);
    TextOutA(dc, x, ph_ - 2, text, n);
    SetBkMode(dc, OPAQUE);
}

void InfoLabel::PaintCaption(HDC dc) const {
    SelectGuard font(dc, FontOr(captionFont_));
    const int len = static_cast<int>(std::strlen(caption_));
    SIZE size{};
    GetTextExtentPoint32A(dc, caption_, len, &size);
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, color_);
    SetTextColor(dc, RGB(255, 255, 255));
    const RECT band{0, 0, width_, size.cy};
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &band, "", 0, nullptr);
    TextOutA(dc, width_ / 2 - size.cx / 2, size.cy / 2, caption_, len);
}
