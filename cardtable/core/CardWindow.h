// The card-table window (class "CardWnd32"): owns up to 40 stacks and 32
// table buttons, paints them over a solid background and routes the mouse
// to them. A game derives from it and replaces the virtual operations.
#pragma once

#include "cardtable/core/CardStack.h"
#include "cardtable/core/FrameNavigation.h"

#include <cstdint>
#include <memory>

class TableButton;
class CardWindow;
using ResizeFn = void (*)(int width, int height);
// The stack the focus frame first goes to, or null for the first place the
// frame may take in creation order.
using FirstFrameFn = CardStack* (*)(CardWindow& window);

class CardWindow {
public:
    static constexpr int kMaxStacks = 40;
    static constexpr int kMaxButtons = 32;
    static constexpr const char* kClassName = "CardWnd32";

    CardWindow();
    CardWindow(const CardWindow&) = delete;
    CardWindow& operator=(const CardWindow&) = delete;
    virtual ~CardWindow();

    // Creates the window as a child of `parent`; false when it already has one.
    virtual bool Create(HWND parent, DWORD exStyle, DWORD style, int = 0, int = 0, int = 0,
                        int = 0);
    virtual void SetBackgroundColor(COLORREF color);
    virtual void Redraw();
    virtual void PressAt(HWND wnd, int x, int y, int, int);
    virtual void Resize(int width, int height);
    virtual void Paint(HDC dc);

    // Stacks, in creation order.
    CardStack* CreateStack(std::uint32_t id, bool visible, int x, int y, int dx, int dy);
    CardStack* FindStack(std::uint32_t id) const;
    int StackCount() const { return stackCount_; }
    CardStack& StackByIndex(int i) const { return *stacks_[i]; }
    void ClearAllStacks();
    void LayOutStacks();
    void SetBackNumber(int n);
    int GetBackNumber() const { return backNumber_; }

    // Table buttons, in creation order.
    TableButton* CreateButton(std::uint32_t id, const char* label, std::uint32_t style,
                              bool visible, int x, int y, int width, int height);
    TableButton* FindButton(std::uint32_t id) const;
    int ButtonCount() const { return buttonCount_; }
    TableButton& ButtonByIndex(int i) const { return *buttons_[i]; }

    // Hit tests: the most recently created match wins.
    TableButton* ButtonAt(int x, int y) const;
    CardStack* StackAt(int x, int y) const;
    // The visible stack whose own area the rectangle covers by the greatest
    // whole percentage (at least 1); the first created wins a tie.
    CardStack* FindDropTarget(int x, int y, int w, int h) const;

    COLORREF GetBackgroundColor() const { return backgroundColor_; }
    void SetInputEnabled(bool enabled);
    // Ends a press or drag under way as a release over no stack would: the
    // lifted cards glide home. For changes of the table that cannot wait
    // for the release (a new deal, an undo).
    void EndGesture() { AbandonGesture(); }
    bool IsInputEnabled() const { return inputEnabled_; }
    // Fills the rectangle with the table colour. `surfaceAt` is the window
    // point that the surface's (0, 0) stands for (an off-screen copy of part
    // of the table), so that a colour the display dithers lines up with the
    // table around it.
    void FillBackground(HDC dc, int x, int y, int w, int h, POINT surfaceAt = {0, 0}) const;
    void SetOnResize(ResizeFn fn) { onResize_ = fn; }

    // Keyboard play. The focus frame is a ring in the system highlight
    // colour round one place of the table: the top card of a stack that may
    // be lifted, an empty stack that takes cards, or a shown raised button.
    // The arrow keys move it; Space or Enter lifts the framed card (drawn
    // raised by the drag's jump), plays a lifted card onto the framed one
    // through its landing rule, or clicks the framed button; Escape puts a
    // lifted card back.
    static constexpr int kFrameWidth = 2;
    void SetFirstFrame(FirstFrameFn fn) { firstFrame_ = fn; }
    // Takes the frame off the table; the next arrow key brings it back to
    // the same place, if it may still take the frame.
    void HideFrame();
    // The framed stack or button while the frame shows, else null.
    CardStack* FramedStack() const;
    TableButton* FramedButton() const;
    // The stack whose card the keyboard has lifted, or null.
    CardStack* SelectedStack() const;
    // For message loops: a key typed in any window under this one's
    // top-level window is sent to this one, whichever of them has the focus.
    void TakeKey(MSG& msg) const;
    // Told by a stack that painted itself straight onto the window over
    // `area`: a ring lying there is drawn again.
    void NoteStackRepainted(const RECT& area);

    HWND GetHandle() const { return window_; }
    int ClientWidth() const { return clientWidth_; }
    int ClientHeight() const { return clientHeight_; }

    // Moving cards are drawn over the window's children (status controls),
    // and what they save beneath them holds a child as it was when they
    // came. So a child that paints on its own clock paints around them
    // (ExcludeMovingCards on its surface), and the children repaint what
    // the cards uncover when they move on (RepaintChildrenUncovered, from
    // the place they left and the place they now cover).
    static void ExcludeMovingCards(HWND child, HDC dc);
    void RepaintChildrenUncovered(const RECT& was, const RECT& now) const;

    // The card window object of a "CardWnd32" window, or null.
    static CardWindow* FromHandle(HWND wnd);
    // The process-wide count of live card windows.
    static int InstanceCount();

protected:
    void SetClientSize(int w, int h) {
        clientWidth_ = w;
        clientHeight_ = h;
    }
    // Paints as the card window does; derived Paint overrides call it.
    void PaintTable(HDC dc);
    // Handles one message; derived windows may add messages and call this.
    virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

private:
    static LRESULT CALLBACK WindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
    static void RegisterClassOnce();

    void OnPaint();
    void OnButtonDown(int x, int y);
    void OnMouseMove(int x, int y);
    void OnButtonUp(int x, int y);
    void OnDoubleClick(int x, int y);
    void OnCaptureLost(HWND newOwner);
    void AbandonGesture();
    bool MouseGestureUnderWay() const;

    // Keyboard play (KeyboardPlay.cpp).
    bool OnKeyDown(WPARAM key, LPARAM flags);
    void MoveFrame(FrameDirection direction);
    void ActivateFrame();
    // Ends the keyboard's lift: onto `target` through its landing rule, or
    // home when it is null or the lifted card's own stack.
    void EndSelection(CardStack* target);
    bool Frameable(CardStack& stack) const;
    bool FrameShowsNow() const;
    // The ring's outer rectangle as the frame stands now, or an empty one.
    RECT FrameRing() const;
    // Repaints where the ring was and where it is, when they differ.
    void RefreshFrame();
    // Called during a paint: draws the ring and takes note of it.
    void PaintFrame(HDC dc);

    bool inputEnabled_ = true;
    HWND window_ = nullptr;
    int clientWidth_ = 0;
    int clientHeight_ = 0;
    int backNumber_ = 53;
    std::unique_ptr<TableButton> buttons_[kMaxButtons];
    int buttonCount_ = 0;
    std::unique_ptr<CardStack> stacks_[kMaxStacks];
    int stackCount_ = 0;
    COLORREF backgroundColor_ = RGB(0, 0x50, 0);
    ResizeFn onResize_ = nullptr;
    FirstFrameFn firstFrame_ = nullptr;
    CardStack* frameStack_ = nullptr;
    TableButton* frameButton_ = nullptr;
    bool frameShown_ = false;
    // Off while a keyboard move lands, so that no glide carries the ring.
    bool frameSuspended_ = false;
    RECT frameDrawn_{}; // the ring as last painted on the window
    static CardStack* selectedStack_;
};
