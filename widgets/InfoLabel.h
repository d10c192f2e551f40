// A round label with a caption and a number ("level", "cards remaining").
// For now it keeps its caption and number; the drawn label comes with the
// status displays.
#pragma once

#include "widgets/ChildControl.h"

#include <string>

class InfoLabel {
public:
    bool Create(HWND parent, int x, int y, int w, int h);
    void SetCaption(const char* caption) { caption_ = caption ? caption : ""; }
    const std::string& GetCaption() const { return caption_; }
    // -1 shows no number.
    void SetValue(int value) { value_ = value; }
    int GetValue() const { return value_; }
    void SetBackgroundColor(COLORREF color) { color_ = color; }
    COLORREF GetBackgroundColor() const { return color_; }
    HWND Handle() const { return control_.Handle(); }
    void Place(int x, int y, int w, int h) const { control_.Place(x, y, w, h); }
    void Destroy() { control_.Destroy(); }

private:
    ChildControl control_;
    std::string caption_;
    int value_ = -1;
    COLORREF color_ = 0;
};
