// A small round display with a caption and a number over a bubble picture
// ("level", "cards remaining"). The caption stands white on a band of the
// table colour; the number sits on the bubble, which is clipped to its oval
// unless the table has the picture's own dark blue.
#pragma once

#include "cardtable/core/GdiHandle.h"
#include "widgets/SubclassedStatic.h"

class InfoLabel : private StaticHandler {
public:
    static constexpr int kPicture = 120;
    static constexpr int kNoNumber = -1;
    static constexpr COLORREF kPictureField = RGB(0, 64, 100);

    InfoLabel() = default;
    InfoLabel(const InfoLabel&) = delete;
    InfoLabel& operator=(const InfoLabel&) = delete;
    ~InfoLabel();

    bool Create(HWND parent, int x, int y, int w, int h);
    // Texts of 32 characters or more are ignored; repaints either way.
    void SetCaption(const char* caption);
    const char* GetCaption() const { return caption_; }
    // -1 shows no number.
    void SetValue(int value);
    int GetValue() const { return value_; }
    void SetBackgroundColor(COLORREF color) { color_ = color; }
    COLORREF GetBackgroundColor() const { return color_; }

    // The label's picture, as a paint request draws it.
    void Paint(HDC dc) const;
    // Where the number's text starts, for a text of n characters measured
    // tw wide in the default font and drawnWidth wide in the number font.
    static int NumberX(int pictureWidth, int n, int tw, int drawnWidth);

    HWND Handle() const { return window_.Handle(); }
    void Place(int x, int y, int w, int h) const { window_.Place(x, y, w, h); }
    void Destroy() { window_.Destroy(); }

private:
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    // Where the bubble starts: centred when the label is wider than it.
    int PictureLeft() const;
    void PaintPicture(HDC dc) const;
    void PaintNumber(HDC dc) const;
    void PaintCaption(HDC dc) const;
    HFONT FontOr(const UniqueFont& font) const;

    SubclassedStatic window_;
    int width_ = 0;
    int height_ = 0;
    // The picture lives selected into its own memory DC: the guard is
    // declared last so that it selects the picture out before either goes.
    UniqueBitmap picture_;
    UniqueDc pictureDc_;
    SelectGuard pictureSelection_;
    int pw_ = 0;
    int ph_ = 0;
    UniqueFont captionFont_;
    UniqueFont numberFont_;
    char caption_[32] = {};
    int value_ = kNoNumber;
    COLORREF color_ = RGB(255, 191, 155);
};
