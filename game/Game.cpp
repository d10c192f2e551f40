#include "game/Game.h"

#include "cardtable/core/CardSize.h"
#include "cardtable/core/TableButton.h"
#include "game/Rules.h"

Game& TheGame() {
    static Game game;
    return game;
}

Game::Game() : window_(*this) {}

const void* LoadWave(int resourceId) {
    HMODULE self = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(self, MAKEINTRESOURCEA(resourceId), "WAVE");
    if (!found)
        return nullptr;
    HGLOBAL loaded = LoadResource(self, found);
    if (!loaded)
        return nullptr;
    return LockResource(loaded);
}

const void* Game::Sound(int id) const {
    switch (id) {
    case kRefusalSound:
        return refusalSound_;
    case kPairSound:
        return pairSound_;
    case kLevelSound:
        return levelSound_;
    default:
        return nullptr;
    }
}

int Game::CreateTable(HWND parent) {
    if (!window_.Create(parent, WS_EX_CLIENTEDGE, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, ::OnTimeOut))
        return 0;
    CreateSideStacks();
    CreateTriangle();

    const int H = cardHeight;
    const int y0 = H / 2 + H + H / 4 + 10;
    removedPile_ = window_.CreateStack(kRemovedPile, true, 5, y0 + 7 * (H / 3) + H, 0, 0);
    if (removedPile_) {
        removedPile_->SetDragRule(kDragNever, nullptr);
        removedPile_->SetEmptyLook(kEmptyBackground);
        removedPile_->SetDropRule(kDropNever, nullptr);
    }

    window_.SetFirstFrame(::FirstFrameStack);
    window_.SetBackNumber(53);
    window_.Redraw();

    if (TableButton* next =
            window_.CreateButton(kNextLevelButton, "next level", TableButton::kRaised, false,
                                 710 - (7 * cardWidth) / 4, 100, 70, 30))
        next->SetOnClick(::OnNextLevelClicked);

    refusalSound_ = LoadWave(kRefusalSound);
    pairSound_ = LoadWave(kPairSound);
    levelSound_ = LoadWave(kLevelSound);
    return 1;
}

// Six stacks in a small triangle of 3, 2 and 1 at the top left. They are
// created in the order 29, 32, 33, 30, 34, 31 and dealt in the order 29, 30,
// 31, 32, 34, 33.
void Game::CreateSideStacks() {
    const int W = cardWidth, H = cardHeight;
    const int x1 = (7 * W) / 4 + 5, x2 = (7 * W) / 2 - 7;
    const int y1 = H + H / 4 + 10, y2 = y1 + H + H / 4;
    struct Place {
        std::uint32_t id;
        int x, y, dealIndex;
    };
    const Place places[6] = {{29, 5, 10, 0}, {32, x1, 10, 3}, {33, x2, 10, 5},
                             {30, 5, y1, 1}, {34, x1, y1, 4}, {31, 5, y2, 2}};
    for (const Place& p : places) {
        CardStack* s = window_.CreateStack(p.id, true, p.x, p.y, 12, 0);
        sideStacks_[p.dealIndex] = s;
        if (!s)
            continue;
        s->SetDragRule(kDragOne, nullptr);
        s->SetDropRule(kDropAsk, ::SideCanDrop);
        s->SetOnDropped(::SideOnDropped);
        s->SetOnTaken(::SideOnTaken);
    }
}

// Seven rows, each shifted half a card to the left of the row above and
// stepping down a third of a card, so slot k of row r lies across slots k
// and k + 1 of row r + 1.
void Game::CreateTriangle() {
    const int W = cardWidth, H = cardHeight;
    const int y0 = H / 2 + H + H / 4 + 10;
    std::uint32_t id = kFirstSlot;
    for (int r = 0; r < 7; ++r) {
        const double f = 3.0 - 0.5 * r;
        for (int k = 0; k <= r; ++k) {
            const int x = static_cast<int>(W * k + W * f + 2 * W + 5);
            CardStack* s = window_.CreateStack(id++, true, x, y0 + r * (H / 3), 0, 15);
            triangle_[r][k] = s;
            if (!s)
                continue;
            s->SetDragRule(kDragAsk, ::SlotCanDrag);
            s->SetDropRule(kDropAsk, ::SlotCanDrop);
            s->SetOnDropped(::SlotOnDropped);
            s->SetOnTaken(::SlotOnTaken);
        }
    }
}
