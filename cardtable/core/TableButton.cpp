#include "cardtable/core/TableButton.h"

#include "cardtable/core/CardImages.h"
#include "cardtable/core/CardWindow.h"
#include "cardtable/core/SharedResources.h"

#include <cstring>

TableButton::TableButton(CardWindow& owner, std::uint32_t id, const char* label,
                         std::uint32_t style, bool visible, RECT rect)
    : owner_(owner), rect_(rect), id_(id), style_(style), visible_(visible),
      lock_(CreateMutexA(nullptr, FALSE, nullptr)) {
    if (label)
        strncpy(label_, label, sizeof label_ - 1);
}

bool TableButton::Contains(int x, int y) const {
    return x >= rect_.left && x < rect_.right && y >= rect_.top && y < rect_.bottom;
}

void TableButton::SetColors(COLORREF c) {
    backgroundColor_ = c;
    lightColor_ = ShadeColor(c, RGB(255, 255, 255), 0.25);
    shadowColor_ = ShadeColor(c, RGB(0, 0, 0), 0.25);
}

bool TableButton::Press(HWND wnd, int, int) {
    if (!(style_ & kRaised) || !ProbeLock(lock_.get()))
        return false;
    pressed_ = hot_ = true;
    Repaint();
    SetCapture(wnd);
    return true;
}

void TableButton::Track(HWND, int x, int y) {
    if (!pressed_)
        return;
    const bool inside = Contains(x, y);
    if (inside != hot_) {
        hot_ = inside;
        Repaint();
    }
}

void TableButton::Release(HWND, int x, int y) {
    if (!pressed_)
        return;
    pressed_ = hot_ = false;
    if (style_ & kRaised) {
        Repaint();
        ReleaseCapture();
    }
    if (owner_.ButtonAt(x, y) == this)
        Click();
}

void TableButton::Abandon() {
    if (!pressed_)
        return;
    pressed_ = hot_ = false;
    Repaint();
}

void TableButton::Click() {
    if (onClick_) {
        onClick_(*this);
        return;
    }
    HWND table = owner_.GetHandle();
    if (HWND parent = table ? GetParent(table) : nullptr)
        SendMessageA(parent, WM_COMMAND, MAKEWPARAM(id_ & 0xFFFF, 0),
                     reinterpret_cast<LPARAM>(table));
}

void TableButton::ExcludeFromClip(HDC dc) const {
    if (visible_)
        ExcludeClipRect(dc, rect_.left, rect_.top, rect_.right, rect_.bottom);
}

void TableButton::Repaint() {
    if (!visible_ || !owner_.GetHandle())
        return;
    WindowDc dc(owner_.GetHandle());
    PaletteGuard palette(dc.get(), shared_resources::Palette());
    Draw(dc.get());
}

void TableButton::Draw(HDC dc) const {
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    SelectGuard fontSelection(dc, font);
    SIZE text{};
    const int len = static_cast<int>(strlen(label_));
    GetTextExtentPoint32A(dc, label_, len, &text);
    const int w = rect_.right - rect_.left, h = rect_.bottom - rect_.top;
    int tx = rect_.left + (w - text.cx) / 2;
    if (style_ & kAlignLeft)
        tx = rect_.left;
    else if (style_ & kAlignRight)
        tx = rect_.right - text.cx;
    int ty = rect_.top + (h - text.cy) / 2;
    const bool sunken = pressed_ && hot_;
    if (sunken) {
        ++tx;
        ++ty;
    }
    ::SetTextColor(dc, PaletteColor(textColor_));
    SetBkColor(dc, PaletteColor(backgroundColor_));
    if (style_ & kRaised) {
        ExcludeClipRect(dc, tx, ty, tx + text.cx, ty + text.cy);
        DrawFrame(dc, !sunken);
        SelectClipRgn(dc, nullptr);
        RECT label{tx, ty, tx + text.cx, ty + text.cy};
        ExtTextOutA(dc, tx, ty, ETO_OPAQUE, &label, label_, len, nullptr);
    } else {
        ExtTextOutA(dc, tx, ty, ETO_OPAQUE, &rect_, label_, len, nullptr);
    }
}

void TableButton::DrawFrame(HDC dc, bool raisedLook) const {
    int W = rect_.right - rect_.left - 1, H = rect_.bottom - rect_.top - 1;
    int X = rect_.left, Y = rect_.top, s = 1;
    RECT face{rect_.left + 1, rect_.top + 1, rect_.left + W - 1, rect_.top + H - 1};
    if (!raisedLook) {
        X = rect_.left + W;
        Y = rect_.top + H;
        W = -W;
        H = -H;
        s = -1;
        OffsetRect(&face, 1, 1);
    }
    {
        UniquePen pen(CreatePen(PS_SOLID, 1, PaletteColor(lightColor_)));
        SelectGuard sel(dc, pen.get());
        MoveToEx(dc, X, Y + H, nullptr);
        LineTo(dc, X, Y);
        LineTo(dc, X + W, Y);
    }
    {
        UniquePen pen(CreatePen(PS_SOLID, 1, PaletteColor(0)));
        SelectGuard sel(dc, pen.get());
        LineTo(dc, X + W, Y + H);
        LineTo(dc, X - s, Y + H);
    }
    {
        UniquePen pen(CreatePen(PS_SOLID, 1, PaletteColor(shadowColor_)));
        SelectGuard sel(dc, pen.get());
        MoveToEx(dc, X + s, Y + H - s, nullptr);
        LineTo(dc, X + W - s, Y + H - s);
        LineTo(dc, X + W - s, Y);
    }
    UniqueBrush brush(CreateSolidBrush(PaletteColor(backgroundColor_)));
    FillRect(dc, &face, brush.get());
}
