// A dealt game table for tests, with helpers that play it through the card
// window's real mouse messages.
#pragma once

#include "cardtable/core/TableButton.h"
#include "game/Game.h"
#include "support/CardLists.h"
#include "support/FakeSeams.h"
#include "support/OverlayPilot.h"
#include "support/TestWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <vector>

// Card values of a face value (1 ace .. 12 queen) in a suit.
constexpr Card CardOf(int faceValue, int suit = 0) {
    return static_cast<Card>((faceValue - 1) * 4 + suit);
}

class GameTable : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(game.CreateTable(parent.get()), 1);
        MoveWindow(window().GetHandle(), 0, 0, 706, 547, TRUE);
        game.StartLevel(false);
        fake.sounds.clear();
    }

    GameWindow& window() { return game.GetGameWindow(); }
    CardStack& stack(std::uint32_t id) { return *window().FindStack(id); }
    TableButton& nextButton() { return *window().FindButton(kNextLevelButton); }
    Card top(std::uint32_t id) { return stack(id).GetCards().At(0).card; }

    // Replaces a stack's cards (bottom to top) and shows it.
    void Put(std::uint32_t id, std::initializer_list<Card> cards) { PutCards(stack(id), cards); }
    // Empties a stack the way play would: a triangle slot or side stack hides.
    void Empty(std::uint32_t id) {
        stack(id).SetCards(CardList{});
        stack(id).SetVisible(false);
    }

    // Presses on the top card of `from`, then releases so that the card's
    // picture lies exactly on the top card of `to` (or its empty place).
    void Drag(std::uint32_t from, std::uint32_t to) {
        CardStack& s = stack(from);
        const int n = std::max(s.Count(), 1);
        const int px = s.X() + s.Dx() * (n - 1) + 5, py = s.Y() + s.Dy() * (n - 1) + 5;
        CardStack& t = stack(to);
        int m = t.Count();
        if (&t == &s)
            m -= 1; // the dragged card will have left it
        m = std::max(m, 1);
        const int rx = t.X() + t.Dx() * (m - 1) + 5, ry = t.Y() + t.Dy() * (m - 1) + 5;
        HWND wnd = window().GetHandle();
        SendMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(px, py));
        SendMessageA(wnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(rx, ry));
        SendMessageA(wnd, WM_LBUTTONUP, 0, MAKELPARAM(rx, ry));
    }

    // Every sound request so far, as (resource id, yielding) pairs.
    std::vector<std::pair<int, bool>> Sounds() const {
        std::vector<std::pair<int, bool>> out;
        for (const SoundCall& c : fake.sounds) {
            int id = 0;
            for (int candidate : {kRefusalSound, kPairSound, kLevelSound})
                if (c.wave == game.Sound(candidate))
                    id = candidate;
            out.emplace_back(id, (c.flags & 0x0010 /* SND_NOSTOP */) != 0);
        }
        return out;
    }

    // Ends the level's time: the millisecond counter moves past the
    // expiry and the bar's timer ticks once.
    void RunOutOfTime() {
        TimerBar& bar = window().GetTimerBar();
        fake.tick += 2 * bar.GetTimeLimit() * 1000;
        SendMessageA(bar.Handle(), WM_TIMER, TimerBar::kTimerId, 0);
    }

    FakeSeams fake;
    TestWindow parent;
    Game game;
    OverlayPilot pilot{game.GetGameWindow()};
};

// What the table holds and shows, for before-and-after comparisons.
struct TableState {
    CardList cards[36];
    bool visible[36] = {};
    int cardsRemaining = 0;

    static TableState Of(Game& game) {
        TableState s;
        for (std::uint32_t id = 1; id <= 35; ++id) {
            const CardStack* st = game.GetGameWindow().FindStack(id);
            s.cards[id] = st->GetCards();
            s.visible[id] = st->IsVisible();
        }
        s.cardsRemaining = game.GetGameWindow().GetCardsRemaining();
        return s;
    }
    friend bool operator==(const TableState& a, const TableState& b) {
        for (int id = 1; id <= 35; ++id)
            if (!(a.cards[id] == b.cards[id]) || a.visible[id] != b.visible[id])
                return false;
        return a.cardsRemaining == b.cardsRemaining;
    }
};
