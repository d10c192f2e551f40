// Whole games of random play through the card window's mouse messages:
// drops legal and refused, undos, mode switches and time-outs. After every
// step no card may be lost or duplicated and the table must be consistent.
#include "support/GameTable.h"

#include <cstdio>
#include <random>

namespace {

class RandomPlay : public GameTable {
protected:
    void CheckTable(const char* step) {
        SCOPED_TRACE(step);
        int seen[52] = {};
        for (std::uint32_t id = 1; id <= 35; ++id) {
            const CardList& cards = stack(id).GetCards();
            for (int k = 0; k < cards.Count(); ++k)
                ++seen[cards.Slot(k).card % 52];
            ASSERT_LT(cards.Count() > 0 ? cards.Slot(cards.Count() - 1).card : 0u, 48u);
        }
        for (int c = 0; c < 48; ++c)
            ASSERT_EQ(seen[c], 1) << "card " << c;
        for (int c = 48; c < 52; ++c)
            ASSERT_EQ(seen[c], 0) << "king " << c;

        const bool over = window().OverlayKind() == 3;
        if (over) {
            ASSERT_EQ(window().GetCardsRemaining(), -1);
            ASSERT_EQ(window().GetLevel(), -1);
        } else {
            const int remaining = game.TargetForLevel() - stack(35).Count();
            ASSERT_EQ(window().GetCardsRemaining(), remaining > 0 ? remaining : 0);
        }
        for (std::uint32_t id = 1; id <= 28; ++id)
            ASSERT_EQ(stack(id).IsVisible(), stack(id).Count() > 0) << "slot " << id;
        int placeholders = 0;
        for (std::uint32_t id = 29; id <= 34; ++id)
            placeholders += stack(id).IsVisible() && stack(id).Count() == 0;
        ASSERT_LE(placeholders, 1);
        for (std::uint32_t id = 1; id <= 35; ++id)
            ASSERT_FALSE(stack(id).IsDragging());
    }

    // A random card that can be seen, and a random place to drop it.
    bool RandomDrag(std::mt19937& rng) {
        std::vector<std::uint32_t> sources;
        for (std::uint32_t id = 1; id <= 34; ++id)
            if (stack(id).IsVisible() && stack(id).Count() > 0)
                sources.push_back(id);
        if (sources.empty())
            return false;
        const std::uint32_t from = sources[rng() % sources.size()];
        const int value = RankOf(top(from)) + 1;
        // Often a card that would complete a pair (covered or not), else a
        // visible stack, sometimes any stack at all.
        std::vector<std::uint32_t> targets;
        const bool aim = rng() % 3 != 0;
        for (std::uint32_t id = 1; id <= 34; ++id) {
            const bool complements = stack(id).Count() > 0 && RankOf(top(id)) + 1 + value == 13;
            if (aim ? complements : (stack(id).IsVisible() || rng() % 4 == 0))
                targets.push_back(id);
        }
        if (targets.empty())
            targets.push_back(static_cast<std::uint32_t>(1 + rng() % 34));
        const std::uint32_t to = targets[rng() % targets.size()];
        Drag(from, to);
        return true;
    }
};

TEST_F(RandomPlay, NoCardIsEverLostOrDuplicated) {
    const unsigned seeds[] = {1, 2, 3};
    int levelsWon = 0, gamesLost = 0, pairs = 0, undone = 0;
    for (unsigned seed : seeds) {
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        std::mt19937 rng(seed);
        fake.tick = seed * 7919;
        game.SetDifficulty(seed % 2 ? kEasy : kNormal);
        game.StartLevel(false);
        bool modeChangedSinceDrop = false;
        TableState beforeDrop;
        int lastLevel = window().GetLevel();
        for (int step = 0; step < 400; ++step) {
            CheckTable("before the step");
            if (window().OverlayKind() == 3) {
                ++gamesLost;
                fake.tick += 17;
                game.StartLevel(false);
                continue;
            }
            const unsigned roll = rng() % 100;
            if (roll < 80) {
                const TableState before = TableState::Of(game);
                const int pileBefore = stack(35).Count();
                const int record[3] = {game.UndoTarget(), game.UndoSource(), game.UndoPlainMove()};
                if (!RandomDrag(rng))
                    continue;
                // A card put back on its own emptied placeholder (Easy mode)
                // lands without changing the table, but is the move to undo.
                const bool recorded = game.UndoTarget() != record[0] ||
                                      game.UndoSource() != record[1] ||
                                      game.UndoPlainMove() != record[2];
                const bool landed = !(TableState::Of(game) == before) || recorded;
                if (landed && game.CanUndo()) {
                    beforeDrop = before;
                    modeChangedSinceDrop = false;
                    pairs += stack(35).Count() > pileBefore;
                }
            } else if (roll < 90) {
                const bool couldUndo = game.CanUndo();
                const int level = window().GetLevel();
                game.Undo();
                if (couldUndo && !modeChangedSinceDrop && window().GetLevel() == level) {
                    ++undone;
                    ASSERT_TRUE(TableState::Of(game) == beforeDrop) << "undo at step " << step;
                }
                ASSERT_EQ(game.CanUndo(), 0);
            } else if (roll < 95) {
                game.SetDifficulty(game.GetDifficulty() == kEasy ? kNormal : kEasy);
                modeChangedSinceDrop = true;
            } else {
                RunOutOfTime();
            }
            if (window().GetLevel() > lastLevel)
                ++levelsWon;
            lastLevel = window().GetLevel();
            CheckTable("after the step");
        }
    }
    // The walk must have exercised the interesting paths.
    EXPECT_GT(pairs, 10);
    EXPECT_GT(undone, 3);
    EXPECT_GT(levelsWon + gamesLost, 2);
    std::printf("random play: %d pairs, %d undos checked, %d levels won, %d games lost\n", pairs,
                undone, levelsWon, gamesLost);
}

} // namespace
