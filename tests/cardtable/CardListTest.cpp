#include "cardtable/core/Card.h"
#include "cardtable/core/Random.h"
#include "support/CardLists.h"
#include "support/FakeSeams.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

TEST(CardList, FillDeckAndAtCountFromTheTop) {
    CardList deck;
    deck.FillDeck();
    ASSERT_EQ(deck.Count(), 52);
    for (int k = 0; k < 52; ++k)
        EXPECT_EQ(deck.Slot(k).card, static_cast<Card>(k));
    EXPECT_EQ(deck.At(0).card, 51u); // king of spades on top
    EXPECT_EQ(deck.At(51).card, 0u); // ace of clubs at the bottom
    EXPECT_EQ(deck.At(60).card, 0u); // beyond the count: the bottom entry
    EXPECT_EQ(deck.At(-1).card, 0u); // negative is huge when unsigned
}

TEST(CardList, RankAndSuitOfValues) {
    EXPECT_EQ(RankOf(0), 0);
    EXPECT_EQ(SuitOf(1), 1);
    EXPECT_EQ(RankOf(48), 12);
    EXPECT_EQ(SuitOf(51), 3);
}

TEST(CardList, TakeRemovesByTopIndex) {
    CardList l = ListOf({5, 9, 13});
    EXPECT_EQ(l.Take(0).card, 13u);
    EXPECT_EQ(Values(l), (std::vector<Card>{5, 9}));

    l = ListOf({5, 9, 13});
    EXPECT_EQ(l.Take(2).card, 5u);
    EXPECT_EQ(Values(l), (std::vector<Card>{9, 13}));

    l = ListOf({5, 9, 13});
    EXPECT_EQ(l.Take(3), (CardEntry{0, 1}));
    EXPECT_EQ(Values(l), (std::vector<Card>{5, 9, 13}));
    EXPECT_EQ(l.Take(-1), (CardEntry{0, 1}));
    EXPECT_EQ(l.Count(), 3);

    CardList empty;
    EXPECT_EQ(empty.Take(0), (CardEntry{0, 1}));
    EXPECT_EQ(empty.Count(), 0);
}

TEST(CardList, AppendStaysBelow128Cards) {
    CardList a, b, c;
    for (int i = 0; i < 67; ++i)
        a.Push(CardEntry{static_cast<Card>(i % 52), 1});
    for (int i = 0; i < 61; ++i)
        b.Push(CardEntry{7, 1});
    for (int i = 0; i < 60; ++i)
        c.Push(CardEntry{9, 1});

    EXPECT_FALSE(a.Append(b)); // 67 + 61 = 128: nothing at all is added
    EXPECT_EQ(a.Count(), 67);
    EXPECT_EQ(b.Count(), 61);
    EXPECT_TRUE(a.Append(c)); // 127
    EXPECT_EQ(a.Count(), 127);
    EXPECT_EQ(a.At(0).card, 9u);
    EXPECT_EQ(a.At(59).card, 9u);
    EXPECT_EQ(a.At(60).card, 66u % 52);

    CardList empty;
    CardList d = ListOf({1});
    EXPECT_FALSE(d.Append(empty));
    EXPECT_EQ(d.Count(), 1);
}

TEST(CardList, SplitTopKeepsOrder) {
    CardList l = ListOf({5, 9, 13});
    const CardList top = l.SplitTop(2);
    EXPECT_EQ(Values(top), (std::vector<Card>{9, 13}));
    EXPECT_EQ(Values(l), (std::vector<Card>{5}));

    l = ListOf({5, 9, 13});
    EXPECT_EQ(l.SplitTop(0).Count(), 0);
    EXPECT_EQ(l.Count(), 3);
    EXPECT_EQ(l.SplitTop(4).Count(), 0);
    EXPECT_EQ(l.Count(), 3);
    EXPECT_EQ(l.SplitTop(-1).Count(), 0);
    EXPECT_EQ(l.Count(), 3);

    CardList empty;
    EXPECT_EQ(empty.SplitTop(0).Count(), 0);
}

TEST(CardList, PutBackRestoresAFullList) {
    CardList full;
    for (int i = 0; i < 128; ++i)
        full.Slot(i) = CardEntry{static_cast<Card>(i % 52), 1};
    full.SetCount(128);
    CardList top = full.SplitTop(3);
    full.PutBack(top);
    EXPECT_EQ(full.Count(), 128);
    EXPECT_EQ(full.At(0).card, 127u % 52);
}

TEST(Random, SeededWithOneDrawsTheKnownSequence) {
    SeedRandom(1);
    EXPECT_EQ(NextRandom(), 41);
    EXPECT_EQ(NextRandom(), 18467);
    EXPECT_EQ(NextRandom(), 6334);
    EXPECT_EQ(NextRandom(), 26500);
    EXPECT_EQ(NextRandom(), 19169);
}

TEST(Shuffle, KeepsEveryCardOnce) {
    FakeSeams fake;
    for (DWORD tick : {0u, 1u, 777u, 0xFFFFFFFFu}) {
        fake.tick = tick;
        CardList deck;
        deck.FillDeck();
        for (int king = 0; king < 4; ++king)
            deck.Take(0);
        deck.Shuffle();
        ASSERT_EQ(deck.Count(), 48);
        std::vector<Card> v = Values(deck);
        std::sort(v.begin(), v.end());
        for (int k = 0; k < 48; ++k)
            EXPECT_EQ(v[k], static_cast<Card>(k));
    }
}

TEST(Shuffle, SameTickSamePermutationOtherTickAnother) {
    FakeSeams fake;
    fake.tick = 4242;
    CardList a, b;
    a.FillDeck();
    b.FillDeck();
    SeedRandom(99); // whatever the generator's state, the shuffle reseeds
    a.Shuffle();
    SeedRandom(7);
    b.Shuffle();
    EXPECT_EQ(a, b);
    fake.tick = 4243;
    CardList c;
    c.FillDeck();
    c.Shuffle();
    EXPECT_FALSE(a == c);
    CardList fresh;
    fresh.FillDeck();
    EXPECT_FALSE(a == fresh);
}

TEST(Shuffle, TinyListsStayAsTheyAreButReseed) {
    FakeSeams fake;
    CardList one = ListOf({17});
    one.Shuffle();
    EXPECT_EQ(Values(one), (std::vector<Card>{17}));
    CardList none;
    SeedRandom(5);
    none.Shuffle();
    EXPECT_EQ(none.Count(), 0);
    const int afterShuffle = NextRandom();
    SeedRandom(fake.tick);
    EXPECT_EQ(NextRandom(), afterShuffle);
}

} // namespace
