// A push button that the card window draws on the table itself.
#pragma once

#include "cardtable/core/GdiHandle.h"

#include <cstdint>

class CardWindow;
class TableButton;
using ClickFn = void (*)(TableButton& button);

class TableButton {
public:
    static constexpr std::uint32_t kRaised = 1;
    static constexpr std::uint32_t kAlignLeft = 2;
    static constexpr std::uint32_t kAlignRight = 4;

    TableButton(CardWindow& owner, std::uint32_t id, const char* label, std::uint32_t style,
                bool visible, RECT rect);
    TableButton(const TableButton&) = delete;
    TableButton& operator=(const TableButton&) = delete;

    CardWindow& Owner() const { return owner_; }
    std::uint32_t GetId() const { return id_; }
    std::uint32_t GetStyle() const { return style_; }
    const RECT& Rect() const { return rect_; }
    const char* Label() const { return label_; }
    bool IsVisible() const { return visible_; }
    void SetVisible(bool visible) { visible_ = visible; }
    bool Contains(int x, int y) const;
    void SetTextColor(COLORREF c) { textColor_ = c; }
    void SetColors(COLORREF c);
    COLORREF GetBackgroundColor() const { return backgroundColor_; }
    void SetOnClick(ClickFn fn) { onClick_ = fn; }
    bool IsPressed() const { return pressed_; }
    bool IsHot() const { return hot_; }
    HANDLE Lock() const { return lock_.get(); }

    bool Press(HWND wnd, int x, int y);
    void Track(HWND wnd, int x, int y);
    void Release(HWND wnd, int x, int y);
    // Ends a press whose release will never come, delivering no click.
    void Abandon();
    // Delivers a click, as a press and release over the button do.
    void Click();
    void Repaint();
    void ExcludeFromClip(HDC dc) const;
    // Draws the button on a DC (Repaint uses the owner window's DC).
    void Draw(HDC dc) const;

private:
    void DrawFrame(HDC dc, bool raisedLook) const;

    CardWindow& owner_;
    RECT rect_;
    std::uint32_t id_;
    std::uint32_t style_;
    bool visible_;
    char label_[64]{};
    COLORREF backgroundColor_ = 0x008000;
    COLORREF textColor_ = 0xFFFFFF;
    COLORREF lightColor_ = 0;
    COLORREF shadowColor_ = 0;
    bool pressed_ = false;
    bool hot_ = false;
    UniqueMutex lock_;
    ClickFn onClick_ = nullptr;
};
