// Building and reading card lists in tests.
#pragma once

#include "cardtable/core/Card.h"
#include "cardtable/core/CardStack.h"

#include <initializer_list>
#include <vector>

inline CardList ListOf(std::initializer_list<Card> bottomToTop, std::uint8_t faceUp = 1) {
    CardList l;
    for (Card c : bottomToTop)
        l.Push(CardEntry{c, faceUp});
    return l;
}

// Replaces a stack's cards (bottom to top) and shows it.
inline void PutCards(CardStack& stack, std::initializer_list<Card> bottomToTop) {
    stack.SetCards(ListOf(bottomToTop));
    stack.SetVisible(true);
}

inline std::vector<Card> Values(const CardList& l) {
    std::vector<Card> v;
    for (int k = 0; k < l.Count(); ++k)
        v.push_back(l.Slot(k).card);
    return v;
}
