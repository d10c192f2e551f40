// One stack of cards on a card window: its place, fan, cards, rules and the
// callbacks through which a game decides what may be lifted and where it may
// land. Made only by CardWindow::CreateStack, which owns it.
#pragma once

#include "cardtable/core/Card.h"
#include "cardtable/core/GdiHandle.h"
#include "cardtable/core/MemorySurface.h"

#include <cstdint>

class CardWindow;
class CardStack;

using CanDragFn = bool (*)(CardStack& stack, int count);
using CanDropFn = bool (*)(CardStack& target, const CardList& lifted);
// onPress, onDoubleClick and onTaken: called with the stack and its pickIndex.
using StackEventFn = void (*)(CardStack& stack, int pickIndex);
using DroppedFn = void (*)(CardStack& target, const CardList& cards);

enum DragRule : std::uint32_t { kDragNever = 0, kDragOne = 1, kDragAny = 2, kDragAsk = 3 };
enum DropRule : std::uint32_t { kDropNever = 0, kDropAlways = 1, kDropAsk = 2 };
enum EmptyLook : std::uint32_t { kEmptyBackground = 0, kEmptyPlace = 1, kEmptyNothing = 2 };

class CardStack {
public:
    // `order` is the stack's place in its window's creation order.
    CardStack(CardWindow& owner, int order, std::uint32_t id, bool visible, int x, int y, int dx,
              int dy);
    CardStack(const CardStack&) = delete;
    CardStack& operator=(const CardStack&) = delete;

    // --- cards, rules and geometry ---
    std::uint32_t GetId() const { return id_; }
    CardWindow& Owner() const { return owner_; }
    CardList& GetCards() { return cards_; }
    const CardList& GetCards() const { return cards_; }
    void SetCards(const CardList& cards);
    int Count() const { return cards_.Count(); }
    int CountWithLifted() const;
    bool IsDragging() const { return dragging_; }
    void SetOffsets(int dx, int dy);
    int X() const { return x_; }
    int Y() const { return y_; }
    int Dx() const { return dx_; }
    int Dy() const { return dy_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    int Slots() const { return slots_; }
    int PickIndex() const { return pickIndex_; }
    void SetVisible(bool visible) { visible_ = visible; }
    bool IsVisible() const { return visible_; }
    void SetEmptyLook(std::uint32_t look);
    std::uint32_t GetEmptyLook() const { return emptyLook_; }
    void SetBackNumber(int n);
    int GetBackNumber() const { return backNumber_; }
    void SetBackgroundColor(COLORREF color) { backgroundColor_ = color; }
    COLORREF GetBackgroundColor() const { return backgroundColor_; }
    bool SetDragRule(std::uint32_t rule, CanDragFn canDrag);
    bool SetDropRule(std::uint32_t rule, CanDropFn canDrop);
    std::uint32_t GetDragRule() const { return dragRule_; }
    std::uint32_t GetDropRule() const { return dropRule_; }
    void SetOnDropped(DroppedFn fn) { onDropped_ = fn; }
    void SetOnTaken(StackEventFn fn) { onTaken_ = fn; }
    void SetOnPress(StackEventFn fn) { onPress_ = fn; }
    void SetOnDoubleClick(StackEventFn fn) { onDoubleClick_ = fn; }
    void Update();
    // The fanned extent: left, top, right and bottom (exclusive) edges.
    RECT Extent() const;
    bool Contains(int px, int py) const;
    int Coverage(int rx, int ry, int rw, int rh) const;
    bool MayLift(int n);
    bool MayLand(const CardList& lifted);
    // The lock probed before a lift or landing; exposed so that tests can
    // hold it from another thread.
    HANDLE Lock() const { return lock_.get(); }

    // --- painting (stack painting) ---
    void PaintStack(HDC dc);
    // PaintStack as one step of painting the whole table in creation order.
    void PaintStackInTable(HDC dc);
    void ExcludeStack(HDC dc);
    void RepaintStack();

    // --- moving cards ---
    bool MoveCards(CardStack* target, int n, bool animate);

    // --- drag and drop ---
    int CardsFromPoint(int px, int py) const;
    bool BeginDrag(int px, int py);
    void DragTo(int px, int py);
    bool Drop(int px, int py);
    // Ends a gesture whose release will never come (capture lost, input
    // switched off) the way a release over no stack ends it.
    void CancelDrag();
    // The keyboard's lift: the top card, as a press on it would lift it,
    // shown raised by the drag's jump; no pointer move, no capture.
    bool Select();
    // Offers the lifted cards to `target` as a release over it would: they
    // land there through its landing rule, or glide home.
    void DropOn(CardStack* target);
    void DoubleClick(int px, int py);

    // --- glide and drag image ---
    void AnimateImage(HDC dc, int sx, int sy, CardStack& destination);
    void BuildDragImage(int n);
    void MoveDragImage(HDC dc, int nx, int ny);
    void FreeDragImage();
    // The lifted picture where it was last drawn, as part of a paint.
    void PaintLifted(HDC dc) const;
    int ImageX() const { return imageX_; }
    int ImageY() const { return imageY_; }
    int ImageWidth() const { return imageWidth_; }
    int ImageHeight() const { return imageHeight_; }
    int GrabX() const { return grabX_; }
    int GrabY() const { return grabY_; }
    HDC UnderImage() const { return underImage_.dc(); }
    HDC LiftedImage() const { return liftedImage_.dc(); }
    // Where the picture is drawn on the window; empty while none is.
    RECT ShownImage() const { return shownImage_; }
    // Removes the drawn picture's shape from the clip region of a surface
    // whose (0, 0) lies at `origin` of the window.
    void ExcludeShownImage(HDC dc, POINT origin) const;

private:
    // Where the next card would lie: the end of a glide onto this stack.
    POINT NextCardPosition() const;
    int ImageOf(const CardEntry& e) const;
    // AnimateImage on the owner window's surface.
    void GlideOnWindow(int sx, int sy, CardStack& destination);
    // Asks the rule and splits off the top n cards with their picture, which
    // lies where they lay.
    bool LiftTop(int n);
    // Glides the picture from (sx, sy) onto a target that takes the cards,
    // or home, and ends the lift.
    void Land(CardStack* target, int sx, int sy);
    // Ends a lift: the drag image goes, the capture is released.
    void EndLift();
    // The lifted cards lie on this stack again.
    void PutBackLifted();
    // wholeTable: painted as one step of the table's paint in creation order.
    void Paint(HDC dc, bool wholeTable);
    void PaintTopCard(HDC dc, int cx, int cy, int image, bool wholeTable);
    bool CoveredAt(int px, int py, bool wholeTable) const;

    std::uint32_t id_;
    CardWindow& owner_;
    CardList cards_;
    CardList liftedCards_;
    bool dragging_ = false;
    const int order_;
    int dx_, dy_;
    int x_, y_;
    int width_ = 0, height_ = 0;
    int pickIndex_ = 0;
    int grabX_ = 0, grabY_ = 0;
    int imageX_ = 0, imageY_ = 0;
    int imageWidth_ = 0, imageHeight_ = 0;
    MemorySurface underImage_;
    MemorySurface liftedImage_;
    RECT shownImage_{};
    int slots_ = 0;
    bool visible_;
    COLORREF backgroundColor_ = 0x644000;
    std::uint32_t emptyLook_ = kEmptyPlace;
    int backNumber_ = 53;
    std::uint32_t dragRule_ = kDragAny;
    std::uint32_t dropRule_ = kDropAlways;
    CanDragFn canDrag_ = nullptr;
    CanDropFn canDrop_ = nullptr;
    StackEventFn onPress_ = nullptr;
    StackEventFn onDoubleClick_ = nullptr;
    DroppedFn onDropped_ = nullptr;
    StackEventFn onTaken_ = nullptr;
    UniqueMutex lock_;
};
