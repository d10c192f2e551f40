#include "cardtable/core/CardWindow.h"

#include "cardtable/core/CardImages.h"
#include "cardtable/core/SharedResources.h"
#include "cardtable/core/TableButton.h"

#include <windowsx.h>

namespace {

LONG instanceCount = 0;
bool classRegistered = false;

// The mouse routing state, shared by all card windows: the button that took
// the last press and the stack whose drag is under way.
TableButton* capturedButton = nullptr;
CardStack* activeStack = nullptr;

} // namespace

// The keyboard's lifted card: a gesture like the two above, but one that
// mouse moves do not carry.
CardStack* CardWindow::selectedStack_ = nullptr;

int CardWindow::InstanceCount() {
    return instanceCount;
}

CardWindow* CardWindow::FromHandle(HWND wnd) {
    char name[16] = {};
    if (!wnd || !GetClassNameA(wnd, name, sizeof name) || lstrcmpiA(name, kClassName) != 0)
        return nullptr;
    return reinterpret_cast<CardWindow*>(GetWindowLongPtrA(wnd, 0));
}

void CardWindow::ExcludeMovingCards(HWND child, HDC dc) {
    const CardWindow* owner = FromHandle(GetParent(child));
    if (!owner || !dc)
        return;
    POINT origin{0, 0};
    MapWindowPoints(child, owner->window_, &origin, 1);
    for (int i = 0; i < owner->stackCount_; ++i)
        owner->stacks_[i]->ExcludeShownImage(dc, origin);
}

void CardWindow::RepaintChildrenUncovered(const RECT& was, const RECT& now) const {
    if (!window_)
        return;
    for (HWND child = GetWindow(window_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT area{};
        GetClientRect(child, &area);
        MapWindowPoints(child, window_, reinterpret_cast<POINT*>(&area), 2);
        RECT hit{};
        if (!IsWindowVisible(child) || !IntersectRect(&hit, &area, &was))
            continue;
        // Only what the cards left: where they lie now stays theirs.
        UniqueRegion uncovered(CreateRectRgnIndirect(&hit));
        UniqueRegion covered(CreateRectRgnIndirect(&now));
        if (!uncovered || !covered ||
            CombineRgn(uncovered.get(), uncovered.get(), covered.get(), RGN_DIFF) == NULLREGION)
            continue;
        OffsetRgn(uncovered.get(), -area.left, -area.top);
        RedrawWindow(child, nullptr, uncovered.get(), RDW_INVALIDATE | RDW_UPDATENOW);
    }
}

CardWindow::CardWindow() {
    if (InterlockedIncrement(&instanceCount) == 1)
        shared_resources::Build(backgroundColor_);
    RegisterClassOnce();
}

CardWindow::~CardWindow() {
    if (activeStack && &activeStack->Owner() == this)
        activeStack = nullptr;
    if (capturedButton && &capturedButton->Owner() == this)
        capturedButton = nullptr;
    if (selectedStack_ && &selectedStack_->Owner() == this)
        selectedStack_ = nullptr;
    if (window_) {
        // The window procedure must not reach this object while it goes.
        SetWindowLongPtrA(window_, 0, 0);
        DestroyWindow(window_);
        window_ = nullptr;
    }
    for (auto& s : stacks_)
        s.reset();
    for (auto& b : buttons_)
        b.reset();
    stackCount_ = buttonCount_ = 0;
    if (InterlockedDecrement(&instanceCount) == 0)
        shared_resources::Release();
}

void CardWindow::RegisterClassOnce() {
    if (classRegistered)
        return;
    WNDCLASSA wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = WindowProc;
    wc.cbWndExtra = sizeof(LONG_PTR);
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    classRegistered = RegisterClassA(&wc) != 0;
}

bool CardWindow::Create(HWND parent, DWORD exStyle, DWORD style, int, int, int, int) {
    if (window_)
        return false;
    window_ = CreateWindowExA(exStyle, kClassName, nullptr, style, 0, 0, 100, 100, parent, nullptr,
                              GetModuleHandleA(nullptr), this);
    return window_ != nullptr;
}

LRESULT CALLBACK CardWindow::WindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
        auto* self = static_cast<CardWindow*>(cs->lpCreateParams);
        SetWindowLongPtrA(wnd, 0, reinterpret_cast<LONG_PTR>(self));
        if (self)
            self->window_ = wnd;
        return TRUE;
    }
    auto* self = reinterpret_cast<CardWindow*>(GetWindowLongPtrA(wnd, 0));
    if (!self)
        return DefWindowProcA(wnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        // The last message of the window: the object outlives it, windowless.
        SetWindowLongPtrA(wnd, 0, 0);
        self->window_ = nullptr;
        return DefWindowProcA(wnd, msg, wp, lp);
    }
    return self->HandleMessage(msg, wp, lp);
}

LRESULT CardWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    const bool mouse = msg == WM_LBUTTONDOWN || msg == WM_MOUSEMOVE || msg == WM_LBUTTONUP ||
                       msg == WM_LBUTTONDBLCLK;
    if (mouse && !inputEnabled_)
        return 0;
    const int x = GET_X_LPARAM(lp), y = GET_Y_LPARAM(lp);
    switch (msg) {
    case WM_SIZE:
        Resize(LOWORD(lp), HIWORD(lp));
        return 0;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_LBUTTONDOWN:
        OnButtonDown(x, y);
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(x, y);
        return 0;
    case WM_LBUTTONUP:
        OnButtonUp(x, y);
        return 0;
    case WM_LBUTTONDBLCLK:
        OnDoubleClick(x, y);
        return 0;
    case WM_CAPTURECHANGED:
        OnCaptureLost(reinterpret_cast<HWND>(lp));
        return 0;
    case WM_KEYDOWN:
        if (OnKeyDown(wp, lp))
            return 0;
        return DefWindowProcA(window_, msg, wp, lp);
    default:
        return DefWindowProcA(window_, msg, wp, lp);
    }
}

void CardWindow::OnPaint() {
    PaintDc paint(window_);
    Paint(paint.get());
}

void CardWindow::OnButtonDown(int x, int y) {
    // The mouse takes over from the keyboard: the frame goes first, so that
    // no picture of the gesture saves its ring.
    HideFrame();
    // A press while a gesture is still under way (its release never came,
    // or a card lifted by the keyboard) ends that gesture first, so that no
    // lifted card is left in the air.
    AbandonGesture();
    capturedButton = ButtonAt(x, y);
    if (capturedButton && !capturedButton->Press(window_, x, y))
        capturedButton = nullptr;
    activeStack = StackAt(x, y);
    if (activeStack && !activeStack->BeginDrag(x, y))
        activeStack = nullptr;
}

void CardWindow::OnMouseMove(int x, int y) {
    if (capturedButton)
        capturedButton->Track(window_, x, y);
    else if (activeStack)
        activeStack->DragTo(x, y);
}

void CardWindow::OnButtonUp(int x, int y) {
    if (capturedButton) {
        TableButton* button = capturedButton;
        capturedButton = nullptr;
        button->Release(window_, x, y);
    } else if (activeStack) {
        CardStack* stack = activeStack;
        activeStack = nullptr;
        stack->Drop(x, y);
    }
}

void CardWindow::OnDoubleClick(int x, int y) {
    HideFrame();
    AbandonGesture();
    capturedButton = ButtonAt(x, y);
    if (capturedButton) {
        if (!capturedButton->Press(window_, x, y))
            capturedButton = nullptr;
        return;
    }
    if (CardStack* stack = StackAt(x, y))
        stack->DoubleClick(x, y);
    activeStack = nullptr;
}

// Another window took the mouse (or the capture was released) before the
// button came up: no release will reach us, so the gesture is ended here, the
// way a release over no stack ends it.
void CardWindow::OnCaptureLost(HWND newOwner) {
    if (newOwner == window_)
        return;
    AbandonGesture();
}

void CardWindow::AbandonGesture() {
    EndSelection(nullptr); // takes no capture
    bool ended = false;
    if (activeStack && &activeStack->Owner() == this && activeStack->IsDragging()) {
        CardStack* stack = activeStack;
        activeStack = nullptr;
        stack->CancelDrag();
        ended = true;
    }
    if (capturedButton && &capturedButton->Owner() == this) {
        TableButton* button = capturedButton;
        capturedButton = nullptr;
        button->Abandon();
        ended = true;
    }
    // The gesture took the mouse; with no release to come, nothing else
    // would give it back, and the menu bar and close box would stay deaf.
    if (ended && window_ && GetCapture() == window_)
        ReleaseCapture();
}

bool CardWindow::MouseGestureUnderWay() const {
    return (capturedButton && &capturedButton->Owner() == this) ||
           (activeStack && &activeStack->Owner() == this && activeStack->IsDragging());
}

void CardWindow::SetInputEnabled(bool enabled) {
    inputEnabled_ = enabled;
    if (!enabled) {
        AbandonGesture();
        HideFrame();
    }
}

void CardWindow::SetBackgroundColor(COLORREF color) {
    // A card lifted by the keys keeps a picture of the table in the old
    // colour beneath it, which its glide would put back: it goes home first.
    EndSelection(nullptr);
    backgroundColor_ = color;
    {
        WindowDc dc(window_);
        shared_resources::Recolor(color, dc.get());
    }
    for (int i = 0; i < buttonCount_; ++i) {
        TableButton& b = *buttons_[i];
        b.SetColors((b.GetStyle() & TableButton::kRaised)
                        ? ShadeColor(color, RGB(255, 255, 255), 0.1)
                        : color);
    }
    for (int i = 0; i < stackCount_; ++i)
        stacks_[i]->SetBackgroundColor(color);
}

void CardWindow::Redraw() {
    if (!window_)
        return;
    InvalidateRect(window_, nullptr, FALSE);
    UpdateWindow(window_);
}

void CardWindow::PressAt(HWND wnd, int x, int y, int, int) {
    if (TableButton* b = ButtonAt(x, y))
        b->Press(wnd, x, y);
    if (CardStack* s = StackAt(x, y))
        s->BeginDrag(x, y);
}

void CardWindow::Resize(int width, int height) {
    LayOutStacks();
    if (onResize_)
        onResize_(width, height);
}

void CardWindow::Paint(HDC dc) {
    PaintTable(dc);
}

void CardWindow::PaintTable(HDC dc) {
    PaletteGuard palette(dc, shared_resources::Palette());
    for (int i = 0; i < stackCount_; ++i)
        stacks_[i]->ExcludeStack(dc);
    for (int i = 0; i < buttonCount_; ++i)
        buttons_[i]->ExcludeFromClip(dc);
    RECT client{};
    if (window_)
        GetClientRect(window_, &client);
    else
        client = RECT{0, 0, clientWidth_, clientHeight_};
    FillBackground(dc, 0, 0, client.right, client.bottom);
    SelectClipRgn(dc, nullptr);
    for (int i = 0; i < buttonCount_; ++i)
        buttons_[i]->ExcludeFromClip(dc);
    for (int i = 0; i < stackCount_; ++i)
        stacks_[i]->PaintStackInTable(dc);
    SelectClipRgn(dc, nullptr);
    for (int i = 0; i < buttonCount_; ++i)
        buttons_[i]->Repaint();
    // The card the keyboard holds raised and the focus frame lie over
    // everything else. (A card carried by the mouse is the drag image's
    // alone: it moves with the next mouse move.)
    if (selectedStack_ && &selectedStack_->Owner() == this)
        selectedStack_->PaintLifted(dc);
    PaintFrame(dc);
}

void CardWindow::FillBackground(HDC dc, int x, int y, int w, int h, POINT surfaceAt) const {
    UniqueBrush brush(CreateSolidBrush(PaletteColor(backgroundColor_)));
    RECT r{x, y, x + w, y + h};
    // Brush patterns repeat every 8 pixels; a dithered colour is one.
    POINT old{};
    SetBrushOrgEx(dc, (8 - surfaceAt.x % 8) % 8, (8 - surfaceAt.y % 8) % 8, &old);
    FillRect(dc, &r, brush.get());
    SetBrushOrgEx(dc, old.x, old.y, nullptr);
}

CardStack* CardWindow::CreateStack(std::uint32_t id, bool visible, int x, int y, int dx, int dy) {
    if (stackCount_ >= kMaxStacks)
        return nullptr;
    auto stack = std::make_unique<CardStack>(*this, stackCount_, id, visible, x, y, dx, dy);
    stack->SetBackgroundColor(backgroundColor_);
    stack->SetBackNumber(backNumber_);
    stacks_[stackCount_] = std::move(stack);
    return stacks_[stackCount_++].get();
}

CardStack* CardWindow::FindStack(std::uint32_t id) const {
    for (int i = 0; i < stackCount_; ++i)
        if (stacks_[i]->GetId() == id)
            return stacks_[i].get();
    return nullptr;
}

void CardWindow::ClearAllStacks() {
    AbandonGesture();
    HideFrame();
    for (int i = 0; i < stackCount_; ++i) {
        stacks_[i]->GetCards().Clear();
        stacks_[i]->Update();
    }
    Redraw();
}

void CardWindow::LayOutStacks() {
    for (int i = 0; i < stackCount_; ++i)
        stacks_[i]->Update();
}

void CardWindow::SetBackNumber(int n) {
    if (n >= 52 && n <= 67)
        backNumber_ = n;
    for (int i = 0; i < stackCount_; ++i)
        stacks_[i]->SetBackNumber(n);
}

TableButton* CardWindow::CreateButton(std::uint32_t id, const char* label, std::uint32_t style,
                                      bool visible, int x, int y, int width, int height) {
    if (buttonCount_ >= kMaxButtons)
        return nullptr;
    auto button = std::make_unique<TableButton>(*this, id, label, style, visible,
                                                RECT{x, y, x + width, y + height});
    button->SetColors((style & TableButton::kRaised)
                          ? ShadeColor(backgroundColor_, RGB(255, 255, 255), 0.1)
                          : backgroundColor_);
    buttons_[buttonCount_] = std::move(button);
    return buttons_[buttonCount_++].get();
}

TableButton* CardWindow::FindButton(std::uint32_t id) const {
    for (int i = 0; i < buttonCount_; ++i)
        if (buttons_[i]->GetId() == id)
            return buttons_[i].get();
    return nullptr;
}

TableButton* CardWindow::ButtonAt(int x, int y) const {
    for (int i = buttonCount_ - 1; i >= 0; --i)
        if (buttons_[i]->IsVisible() && buttons_[i]->Contains(x, y))
            return buttons_[i].get();
    return nullptr;
}

CardStack* CardWindow::StackAt(int x, int y) const {
    for (int i = stackCount_ - 1; i >= 0; --i)
        if (stacks_[i]->Contains(x, y))
            return stacks_[i].get();
    return nullptr;
}

CardStack* CardWindow::FindDropTarget(int x, int y, int w, int h) const {
    int best = 0;
    CardStack* chosen = nullptr;
    for (int i = 0; i < stackCount_; ++i) {
        const int c = stacks_[i]->Coverage(x, y, w, h);
        if (c > best && stacks_[i]->IsVisible()) {
            best = c;
            chosen = stacks_[i].get();
        }
    }
    return chosen;
}
