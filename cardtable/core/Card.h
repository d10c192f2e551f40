// Card values and the fixed-capacity card list.
#pragma once

#include <cstdint>

// A card value 0..51: rank = value / 4 (0 ace .. 12 king), suit = value % 4
// (0 clubs, 1 diamonds, 2 hearts, 3 spades). Values 52..67 are never cards;
// they name the back and extra images of the card strip.
using Card = std::uint32_t;

constexpr int kDeckSize = 52;
constexpr int RankOf(Card c) {
    return static_cast<int>(c / 4);
}
constexpr int SuitOf(Card c) {
    return static_cast<int>(c % 4);
}

struct CardEntry {
    std::uint32_t card = 0;
    std::uint8_t faceUp = 1;

    friend bool operator==(const CardEntry&, const CardEntry&) = default;
};

// A value type of 128 entries and a count; entry 0 is the bottom card.
// Operations that address one card count from the top: index 0 is the top.
class CardList {
public:
    static constexpr int kCapacity = 128;

    int Count() const { return count_; }
    bool Empty() const { return count_ == 0; }

    // Entry at top-index i; an i at or beyond the count gives the bottom entry.
    CardEntry& At(int i);
    const CardEntry& At(int i) const;

    // Entry in slot k, counted from the bottom (0 .. Count()-1).
    CardEntry& Slot(int k) { return entries_[k]; }
    const CardEntry& Slot(int k) const { return entries_[k]; }

    void Clear() { count_ = 0; }
    // The 52 values in order, value 0 at the bottom; faceUp flags are left alone.
    void FillDeck();
    // Reseeds the process's generator from the tick count and shuffles.
    void Shuffle();
    // Removes and returns the entry at top-index i; out of range gives the
    // empty entry and changes nothing.
    CardEntry Take(int i);
    // Adds all of `other` on top, only if the result stays below 128 cards
    // and `other` is not empty; otherwise adds nothing. Answers whether it added.
    bool Append(const CardList& other);
    // Removes the top n cards and returns them (bottom-most first); when n is
    // above the count or the list is empty, returns an empty list.
    CardList SplitTop(int n);
    // Puts back on top cards that SplitTop took off this list. Never refused:
    // they fitted before they were split off.
    void PutBack(const CardList& top);
    // Puts an entry on top, if there is room below the append limit.
    bool Push(CardEntry e);

    // Sets the count directly (0..128); used by tests and SetCards callers.
    void SetCount(int n) { count_ = n < 0 ? 0 : (n > kCapacity ? kCapacity : n); }

    friend bool operator==(const CardList& a, const CardList& b);

private:
    CardEntry entries_[kCapacity]{};
    std::int32_t count_ = 0;
};
