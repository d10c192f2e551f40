#include "cardtable/core/Card.h"

#include "cardtable/core/Random.h"
#include "cardtable/core/Seams.h"

#include <algorithm>
#include <utility>

CardEntry& CardList::At(int i) {
    const auto u = static_cast<std::uint32_t>(i);
    if (count_ <= 0)
        return entries_[0];
    if (u >= static_cast<std::uint32_t>(count_))
        return entries_[0];
    return entries_[count_ - 1 - i];
}

const CardEntry& CardList::At(int i) const {
    return const_cast<CardList*>(this)->At(i);
}

void CardList::FillDeck() {
    for (int k = 0; k < kDeckSize; ++k)
        entries_[k].card = static_cast<Card>(k);
    count_ = kDeckSize;
}

void CardList::Shuffle() {
    SeedRandom(seams::TickCount());
    for (int round = 0; round < 8; ++round) {
        for (int i = count_ - 1; i >= 1; --i) {
            const int q = 32767 / (i + 1) + 1;
            const int j = NextRandom() / q;
            std::swap(entries_[i], entries_[j]);
        }
    }
}

CardEntry CardList::Take(int i) {
    const auto u = static_cast<std::uint32_t>(i);
    if (count_ <= 0 || u >= static_cast<std::uint32_t>(count_))
        return CardEntry{};
    const int slot = count_ - 1 - i;
    const CardEntry taken = entries_[slot];
    for (int k = slot; k < count_ - 1; ++k)
        entries_[k] = entries_[k + 1];
    --count_;
    return taken;
}

bool CardList::Append(const CardList& other) {
    if (other.count_ < 1 || count_ + other.count_ >= kCapacity)
        return false;
    for (int k = 0; k < other.count_; ++k)
        entries_[count_ + k] = other.entries_[k];
    count_ += other.count_;
    return true;
}

CardList CardList::SplitTop(int n) {
    CardList top;
    if (n < 0 || n > count_ || count_ < 1)
        return top;
    for (int k = 0; k < n; ++k)
        top.entries_[k] = entries_[count_ - n + k];
    top.count_ = n;
    count_ -= n;
    return top;
}

void CardList::PutBack(const CardList& top) {
    const int n = std::min(top.count_, kCapacity - count_);
    for (int k = 0; k < n; ++k)
        entries_[count_ + k] = top.entries_[k];
    count_ += n;
}

bool CardList::Push(CardEntry e) {
    if (count_ + 1 >= kCapacity)
        return false;
    entries_[count_++] = e;
    return true;
}

bool operator==(const CardList& a, const CardList& b) {
    if (a.count_ != b.count_)
        return false;
    for (int k = 0; k < a.count_; ++k)
        if (!(a.entries_[k] == b.entries_[k]))
            return false;
    return true;
}
